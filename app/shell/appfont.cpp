#include "app/shell/appfont.h"

#include "platform/fontfallback.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>

void setupAppFont()
{
    platform::substituteWindowsUiFont();

    const QString folder = QString::fromUtf8(appFontFolder);
    if (!QDir(folder).exists())
        return;
    // No copy into a system font folder: the program's own font is loaded
    // for this process only, which needs no rights.
    const int id = QFontDatabase::addApplicationFont(folder + QStringLiteral("msyh.ttf"));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        return;
    QApplication::setFont(QFont(families.first(), 10));
}
