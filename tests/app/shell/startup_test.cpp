#include "tests/support/testsupport.h"

#include "app/shell/appfont.h"
#include "app/shell/startup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>

TEST(CentredPosition, halvesTheSpareRoomAndALargerWindowOverhangsEquallyRoundedTowardZero)
{
    EXPECT_EQ(centredPosition(QSize(1920, 1080), QSize(1309, 710)), QPoint(305, 185));
    EXPECT_EQ(centredPosition(QSize(1309, 710), QSize(1309, 710)), QPoint(0, 0));
    EXPECT_EQ(centredPosition(QSize(1366, 768), QSize(1309, 710)), QPoint(28, 29));
    // (800 - 1309) / 2 = -254.5 and (600 - 710) / 2 = -55.
    EXPECT_EQ(centredPosition(QSize(800, 600), QSize(1309, 710)), QPoint(-254, -55));
}

namespace {

// Runs setupAppFont in a scratch working directory, leaving the process's
// directory and application font as they were.
class AppFontTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previousDir = QDir::currentPath();
        previousFont = QApplication::font();
        ASSERT_TRUE(QDir::setCurrent(scratch.path()));
    }

    void TearDown() override
    {
        QDir::setCurrent(previousDir);
        QApplication::setFont(previousFont);
    }

    void makeFontFolder(const QString& fontSource)
    {
        ASSERT_TRUE(QDir().mkpath(QString::fromUtf8(appFontFolder)));
        if (!fontSource.isEmpty()) {
            ASSERT_TRUE(QFile::copy(fontSource, QString::fromUtf8(appFontFolder) + QStringLiteral("msyh.ttf")));
        }
    }

    testsupport::ScratchDir scratch;
    QString previousDir;
    QFont previousFont;
};

const QString latinFont = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf");

} // namespace

TEST_F(AppFontTest, withoutTheFontFolderTheDefaultFontStays)
{
    setupAppFont();
    EXPECT_EQ(QApplication::font(), previousFont);
}

TEST_F(AppFontTest, theProgramsOwnFontBecomesTheApplicationFontAtTenPoints)
{
    if (!QFile::exists(latinFont))
        GTEST_SKIP() << "needs " << latinFont.toStdString();
    makeFontFolder(latinFont);
    setupAppFont();
    EXPECT_EQ(QApplication::font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(QApplication::font().pointSize(), 10);
    EXPECT_FALSE(QApplication::font().bold());
    EXPECT_FALSE(QApplication::font().italic());
}

TEST_F(AppFontTest, anUnusableFontFileKeepsTheDefaultFont)
{
    makeFontFolder(QString());
    setupAppFont();
    EXPECT_EQ(QApplication::font(), previousFont);

    ASSERT_TRUE(testsupport::writeFile(QString::fromUtf8(appFontFolder) + QStringLiteral("msyh.ttf"),
                                       QByteArray("not a font")));
    setupAppFont();
    EXPECT_EQ(QApplication::font(), previousFont);
}

TEST_F(AppFontTest, theStyleSheetsFontFamilyDrawsChinese)
{
    setupAppFont();
    const QFont styled(QStringLiteral("Microsoft YaHei"), 12);
    EXPECT_TRUE(QFontInfo(styled).family().contains(QLatin1String("CJK"))) << QFontInfo(styled).family().toStdString();
    EXPECT_TRUE(QFontMetrics(styled).inFont(QChar(0x7B54))); // 答
}
