#include "platform/fontfallback.h"

#include <QFont>
#include <QFontDatabase>

namespace platform {

QString chooseCjkFamily(const QStringList& installed)
{
    // Simplified Chinese first: the program's texts are simplified, and the
    // other regional cuts draw some shared code points differently.
    static const QStringList preferred = {
        QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
        QStringLiteral("Noto Sans SC"),     QStringLiteral("WenQuanYi Micro Hei"),
        QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Droid Sans Fallback"),
    };
    for (const QString& family : preferred)
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    QString serif;
    for (const QString& family : installed) {
        if (!family.contains(QLatin1String("CJK"), Qt::CaseInsensitive))
            continue;
        // Mono and serif cuts only when nothing else is there.
        if (family.contains(QLatin1String("Mono"), Qt::CaseInsensitive) ||
            family.contains(QLatin1String("Serif"), Qt::CaseInsensitive)) {
            if (serif.isEmpty())
                serif = family;
            continue;
        }
        return family;
    }
    return serif;
}

QString substituteWindowsUiFont()
{
    const QString family = chooseCjkFamily(QFontDatabase().families());
    if (!family.isEmpty())
        QFont::insertSubstitution(windowsUiFamily, family);
    return family;
}

} // namespace platform
