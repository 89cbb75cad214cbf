#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The family the program's style sheets name. It ships with Windows only;
// elsewhere Qt would fall back to a Latin font and draw Chinese as boxes.
inline const QString windowsUiFamily = QStringLiteral("Microsoft YaHei");

// The installed family that best stands in for the Windows UI font: a
// simplified-Chinese sans serif first, then any CJK family; empty when
// `installed` holds none.
QString chooseCjkFamily(const QStringList& installed);

// Makes the Windows UI family resolve to the installed CJK family (a font
// substitution, so a real copy of the Windows font still wins when the
// program adds one). Returns the family chosen, empty when none is installed.
QString substituteWindowsUiFont();

} // namespace platform
