#include "tests/support/testsupport.h"
#include "tests/widgets/kittest.h"

#include "widgets/kit/eititlebar.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QSignalSpy>

using testsupport::later;
using testsupport::Watchdog;

namespace {

struct BarHost
{
    QWidget window;
    EITitleBar* bar;
    BarHost() : bar(new EITitleBar(&window))
    {
        window.resize(640, 45);
        bar->setGeometry(0, 0, 640, 45);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QPushButton* button(const char* name) const { return bar->findChild<QPushButton*>(QLatin1String(name)); }
    bool shown(const char* name) const { return bar->findChild<QWidget*>(QLatin1String(name))->isVisible(); }
};

} // namespace

TEST(EITitleBar, freshBarShowsLogoTitleAndWindowButtonsButNoMenu)
{
    BarHost host;
    EXPECT_EQ(host.bar->titleLabel()->text(), QStringLiteral("标题"));
    EXPECT_TRUE(host.shown("labelTitleLogo"));
    for (const char* name : {"btnMin", "btnMax", "btnRestore", "btnClose"})
        EXPECT_TRUE(host.shown(name)) << name;
    EXPECT_FALSE(host.shown("btnMenu"));
    EXPECT_FALSE(host.shown("vSpacer"));

    host.bar->setMenuVisible(true);
    EXPECT_TRUE(host.shown("btnMenu"));
    EXPECT_TRUE(host.shown("vSpacer"));
    host.bar->setLogoVisible(false);
    EXPECT_FALSE(host.shown("labelTitleLogo"));
}

TEST(EITitleBar, eachWindowButtonEmitsItsOwnSignal)
{
    BarHost host;
    QSignalSpy min(host.bar, &EITitleBar::onMin);
    QSignalSpy max(host.bar, &EITitleBar::onMax);
    QSignalSpy restore(host.bar, &EITitleBar::onRestore);
    QSignalSpy close(host.bar, &EITitleBar::onClose);
    const QList<QSignalSpy*> spies = {&min, &max, &restore, &close};
    const char* const names[] = {"btnMin", "btnMax", "btnRestore", "btnClose"};

    for (int pressed = 0; pressed < 4; ++pressed) {
        kittest::click(host.button(names[pressed]));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(spies[i]->count(), i <= pressed ? 1 : 0) << names[pressed] << " then " << names[i];
    }
}

TEST(EITitleBar, windowButtonKindsOnlyEverHide)
{
    BarHost host;
    host.bar->setWindowButtons(1);
    EXPECT_TRUE(host.shown("btnMin"));
    EXPECT_FALSE(host.shown("btnMax"));
    EXPECT_FALSE(host.shown("btnRestore"));

    host.bar->setWindowButtons(0);
    host.bar->setWindowButtons(1);
    host.bar->setWindowButtons(5);
    EXPECT_FALSE(host.shown("btnMin"));
    EXPECT_TRUE(host.shown("btnClose"));

    host.bar->setMaxVisible(true);
    EXPECT_TRUE(host.shown("btnMax"));
    host.bar->setRestoreVisible(true);
    host.bar->setMaxVisible(false);
    EXPECT_TRUE(host.shown("btnRestore"));
    EXPECT_FALSE(host.shown("btnMax"));
}

TEST(EITitleBar, dialogLookRoundsOnlyTheTopCorners)
{
    EITitleBar bar;
    bar.resize(300, 45);
    const QRgb dark = qRgb(56, 58, 66);

    QImage square = bar.grab().toImage();
    EXPECT_EQ(square.pixel(0, 0), dark);
    EXPECT_EQ(square.pixel(299, 0), dark);

    bar.setRoundClose(true);
    QImage round = bar.grab().toImage();
    EXPECT_EQ(qAlpha(round.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(round.pixel(299, 0)), 0);
    EXPECT_EQ(round.pixel(0, 44), dark);
    EXPECT_EQ(round.pixel(299, 44), dark);
    EXPECT_EQ(round.pixel(150, 2), dark);
}

TEST(EITitleBar, menuButtonDropsTheOwnersMenuBelowIt)
{
    Watchdog watchdog;
    BarHost host;
    host.bar->setMenuVisible(true);
    host.bar->menu()->addAction(QStringLiteral("版本信息"));
    QPushButton* menuButton = host.button("btnMenu");

    bool shown = false;
    QPoint menuTop;
    later(50, [&] {
        shown = host.bar->menu()->isVisible();
        menuTop = host.bar->menu()->geometry().topLeft();
        host.bar->menu()->close();
    });
    kittest::click(menuButton);
    EXPECT_TRUE(shown);
    EXPECT_GE(menuTop.y(), menuButton->mapToGlobal(QPoint(0, menuButton->height())).y() - 1);
}

TEST(EITitleBar, menuButtonShowsOnlyItsImageAndRestsWhileTheChosenItemRuns)
{
    Watchdog watchdog;
    BarHost host;
    host.bar->setMenuVisible(true);
    QAction* item = host.bar->menu()->addAction(QStringLiteral("折角检测"));
    QPushButton* menuButton = host.button("btnMenu");

    // The same sprite on a button without a menu: no drop-down arrow drawn.
    QPushButton plain(host.bar);
    plain.setObjectName(QStringLiteral("btnMenu"));
    plain.setStyleSheet(menuButton->styleSheet());
    plain.resize(menuButton->size());
    const QImage atRest = menuButton->grab().toImage();
    EXPECT_EQ(atRest, plain.grab().toImage());

    // An item that opens a dialog runs inside the button's menu loop.
    QImage whileItemRuns;
    QObject::connect(item, &QAction::triggered, [&] { whileItemRuns = menuButton->grab().toImage(); });
    later(50, [&] {
        host.bar->menu()->setActiveAction(item);
        QTest::keyClick(host.bar->menu(), Qt::Key_Return);
    });
    kittest::click(menuButton);
    ASSERT_FALSE(whileItemRuns.isNull());
    EXPECT_EQ(whileItemRuns, atRest) << "drawn pressed behind the item's dialog";
}
