#pragma once

#include <QString>

class QWidget;

// The style sheet that the kit's styled controls carry themselves.
inline const QString kitStyleSheetPath = QStringLiteral(":/Resources/Quindle/style.css");

// The kit style sheet as UTF-8 text; false (and `text` untouched) when the
// resource cannot be read, in which case a control keeps its inherited look.
bool readKitStyleSheet(QString& text);

// Adds rules to a widget's own style sheet. A form that extends the sheet
// its base class set must use this: Qt keeps the parsed sheet of a widget
// that is not yet polished, so a plain setStyleSheet(styleSheet() + rules)
// in a constructor can leave the new rules unapplied to the children.
void appendStyleSheet(QWidget* widget, const QString& rules);
