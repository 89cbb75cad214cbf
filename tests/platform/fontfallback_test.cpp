#include "platform/fontfallback.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>

TEST(CjkFamily, simplifiedChineseSansComesFirst)
{
    EXPECT_EQ(platform::chooseCjkFamily({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK JP"),
                                         QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")}),
              QStringLiteral("Noto Sans CJK SC"));
    EXPECT_EQ(platform::chooseCjkFamily({QStringLiteral("wenquanyi micro hei")}),
              QStringLiteral("WenQuanYi Micro Hei"));
}

TEST(CjkFamily, anyCjkSansBeforeMonoOrSerifCuts)
{
    EXPECT_EQ(platform::chooseCjkFamily({QStringLiteral("Noto Sans Mono CJK KR"), QStringLiteral("Noto Serif CJK TC"),
                                         QStringLiteral("Noto Sans CJK KR")}),
              QStringLiteral("Noto Sans CJK KR"));
    EXPECT_EQ(platform::chooseCjkFamily({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Serif CJK TC")}),
              QStringLiteral("Noto Serif CJK TC"));
}

TEST(CjkFamily, noneWithoutACjkFont)
{
    EXPECT_TRUE(platform::chooseCjkFamily({}).isEmpty());
    EXPECT_TRUE(platform::chooseCjkFamily({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Serif")})
                    .isEmpty());
}

// Needs the CJK font the program depends on (fonts-noto-cjk).
TEST(WindowsUiFont, resolvesToAnInstalledFontWithChineseGlyphs)
{
    const QString family = platform::substituteWindowsUiFont();
    ASSERT_FALSE(family.isEmpty()) << "no CJK font installed";

    const QFont requested(platform::windowsUiFamily, 14);
    EXPECT_EQ(QFontInfo(requested).family(), family);
    const QFontMetrics metrics(requested);
    for (const QChar c : QStringLiteral("请通过左上角按钮新建或导入第三方答题卡"))
        EXPECT_TRUE(metrics.inFont(c)) << QString(c).toStdString();
}
