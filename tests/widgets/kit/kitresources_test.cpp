#include "tests/widgets/kittest.h"

#include "platform/fontfallback.h"
#include "widgets/kit/eibutton.h"
#include "widgets/kit/eilabel.h"
#include "widgets/kit/eispainbox.h"
#include "widgets/kit/kitstyle.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPixmap>
#include <QRegularExpression>
#include <QTranslator>

namespace {

// Every image the program's forms and style sheets name.
const char* const namedImages[] = {
    "Quindle/images/arrow_down.png", "Quindle/images/btn_rotate.png", "Quindle/images/btn_setfront.png",
    "Quindle/images/button_hover.png", "Quindle/images/button_normal.png", "Quindle/images/button_pressed.png",
    "Quindle/images/check_checked.png", "Quindle/images/check_checked_disabled.png", "Quindle/images/check_hover.png",
    "Quindle/images/check_normal.png", "Quindle/images/down_hover.png", "Quindle/images/down_normal.png",
    "Quindle/images/edit_add.png", "Quindle/images/edit_add_hover.png", "Quindle/images/edit_button_hover.png",
    "Quindle/images/edit_button_normal.png", "Quindle/images/edit_min.png", "Quindle/images/edit_min_hover.png",
    "Quindle/images/getTemplate.png", "Quindle/images/hchecked.png", "Quindle/images/hhover.png",
    "Quindle/images/huncheck.png", "Quindle/images/importImage.png", "Quindle/images/left_hover.png",
    "Quindle/images/left_normal.png", "Quindle/images/lineClose.png", "Quindle/images/line_close_press.png",
    "Quindle/images/nextBtnDefault.png", "Quindle/images/next_disabled.png", "Quindle/images/next_hover.png",
    "Quindle/images/previousBtnDefault.png", "Quindle/images/previous_disabled.png",
    "Quindle/images/previous_hover.png", "Quindle/images/right_hover.png", "Quindle/images/right_normal.png",
    "Quindle/images/scanImage.png", "Quindle/images/spin_down.png", "Quindle/images/spin_down_hover.png",
    "Quindle/images/spin_up.png", "Quindle/images/spin_up_hover.png", "Quindle/images/titleBtnDefault.png",
    "Quindle/images/titleBtnPassed.png", "Quindle/images/titleBtnSelected.png", "Quindle/images/up_hover.png",
    "Quindle/images/up_normal.png", "Quindle/images/vchecked.png", "Quindle/images/vhover.png",
    "Quindle/images/vuncheck.png", "titlebar/close1.png", "titlebar/close_round.png", "titlebar/logo.png",
    "titlebar/maintitle.png", "titlebar/max.png", "titlebar/menu.png", "titlebar/min.png", "titlebar/restore.png",
    "EIMessageBox/information.png", "EIMessageBox/question.png", "EIMessageBox/warnning.png",
};

QString resource(const char* name)
{
    return QStringLiteral(":/Resources/") + QLatin1String(name);
}

} // namespace

TEST(KitResources, everyNamedImageIsInTheBundles)
{
    for (const char* name : namedImages)
        EXPECT_FALSE(QPixmap(resource(name)).isNull()) << name;
}

TEST(KitResources, everyImageTheKitStyleSheetUsesLoads)
{
    QString sheet;
    ASSERT_TRUE(readKitStyleSheet(sheet));
    const QRegularExpression url(QStringLiteral("url\\((:[^)]+)\\)"));
    int found = 0;
    for (auto match = url.globalMatch(sheet); match.hasNext(); ++found) {
        const QString path = match.next().captured(1);
        EXPECT_FALSE(QPixmap(path).isNull()) << path.toStdString();
    }
    EXPECT_GE(found, 20);
}

TEST(KitResources, titleBarSpritesHoldFourCellsThatDiffer)
{
    for (const char* name : {"close1", "close_round", "max", "menu", "min", "restore"}) {
        const QImage strip(QStringLiteral(":/Resources/titlebar/%1.png").arg(QLatin1String(name)));
        ASSERT_EQ(strip.size(), QSize(108, 27)) << name;
        // The hovered and pressed cells must look different from the normal one.
        EXPECT_NE(strip.copy(0, 0, 27, 27), strip.copy(27, 0, 27, 27)) << name;
        EXPECT_NE(strip.copy(0, 0, 27, 27), strip.copy(54, 0, 27, 27)) << name;
    }
}

TEST(KitResources, chineseQtTranslationLoadsFromTheBundle)
{
    QTranslator translator;
    ASSERT_TRUE(translator.load(QStringLiteral(":/Resources/Quindle/translations/qt_zh_CN.qm")));
    EXPECT_EQ(translator.translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
}

TEST(KitStyledControls, stepButtonTogglesBetweenDefaultAndPassedLook)
{
    EIButton button;
    button.resize(132, 54);
    const QColor normal = button.grab().toImage().pixelColor(60, 20);

    button.setPassedStyle();
    button.setPassedStyle();
    const QColor passed = button.grab().toImage().pixelColor(60, 20);
    EXPECT_NE(passed, normal);
    EXPECT_GT(passed.green(), passed.red()) << "the passed look is green";

    button.setDefaultStyle();
    EXPECT_EQ(button.grab().toImage().pixelColor(60, 20), normal);
}

TEST(KitStyledControls, passedStepButtonKeepsItsLongestTextClearOfTheTick)
{
    // The font the program puts in place of the Windows UI font at start.
    platform::substituteWindowsUiFont();
    auto look = [](const QString& text, bool hovered) {
        EIButton button;
        button.resize(132, 54);
        button.setPassedStyle();
        button.setText(text);
        button.setAttribute(Qt::WA_UnderMouse, hovered);  // hovered text is a pixel larger
        return button.grab().toImage();
    };
    const QImage bare = look(QString(), false);
    int tickLeft = bare.width();
    for (int x = 60; x < bare.width(); ++x)
        for (int y = 0; y < bare.height(); ++y)
            if (bare.pixelColor(x, y).green() - bare.pixelColor(x, y).red() > 60)
                tickLeft = std::min(tickLeft, x);
    ASSERT_LT(tickLeft, bare.width()) << "no tick on the passed look";

    for (const bool hovered : {false, true}) {
        const QImage plain = look(QString(), hovered);
        const QImage titled = look(QStringLiteral("3 - 框选文字标题"), hovered);
        int textRight = 0;
        for (int x = 0; x < titled.width(); ++x)
            for (int y = 0; y < titled.height(); ++y)
                if (titled.pixel(x, y) != plain.pixel(x, y))
                    textRight = std::max(textRight, x);
        EXPECT_LT(textRight + 1, tickLeft) << (hovered ? "hovered" : "at rest");
    }
    QFont::removeSubstitutions(platform::windowsUiFamily);
}

TEST(KitStyledControls, labelTurnsRedAsADialogTipLine)
{
    QWidget window;
    auto* label = new EILabel(QStringLiteral("请输入答题卡名称"), &window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(102, 102, 102));

    label->setMessageStyle();
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST(KitStyledControls, spinBoxWearsTheKitBorder)
{
    EISpainBox spin;
    spin.resize(120, 30);
    // The kit draws a 1px #999999 border where Qt's own style has none so grey.
    EXPECT_EQ(spin.grab().toImage().pixelColor(60, 0), QColor(0x99, 0x99, 0x99));
}
