#pragma once

#include <QString>

// The style sheet that the kit's styled controls carry themselves.
inline const QString kitStyleSheetPath = QStringLiteral(":/Resources/Quindle/style.css");

// The kit style sheet as UTF-8 text; false (and `text` untouched) when the
// resource cannot be read, in which case a control keeps its inherited look.
bool readKitStyleSheet(QString& text);
