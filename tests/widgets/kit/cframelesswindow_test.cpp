#include "tests/support/testsupport.h"
#include "tests/widgets/kittest.h"

#include "platform/windowsversion.h"
#include "widgets/kit/cframelesswindow.h"
#include "widgets/kit/eititlebar.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QVBoxLayout>

namespace {

// The shape of the main window: a title bar on top of a content area.
class FramelessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* central = new QWidget(&window);
        auto* layout = new QVBoxLayout(central);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        bar = new EITitleBar(central);
        bar->setFixedHeight(45);
        layout->addWidget(bar);
        content = new QWidget(central);
        layout->addWidget(content, 1);
        window.setCentralWidget(central);
        window.setMinimumSize(400, 300);
        window.setTitleBar(bar);
        window.addIgnoreWidget(bar->titleLabel());
        window.setGeometry(100, 100, 800, 500);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void TearDown() override { platform::overrideWindowsVersion(std::nullopt); }

    // Presses at `from` (window coordinates), moves by `delta` in steps, releases.
    void drag(QPoint from, QPoint delta)
    {
        QWindow* handle = window.windowHandle();
        QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, from);
        // Positions are window-relative; the window may move under the pointer.
        const QPoint globalStart = handle->mapToGlobal(from);
        for (int step = 1; step <= 4; ++step) {
            const QPoint global = globalStart + delta * step / 4;
            QTest::mouseMove(handle, handle->mapFromGlobal(global));
        }
        QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, handle->mapFromGlobal(globalStart + delta));
    }

    QPoint emptyPartOfBar() const { return bar->mapTo(&window, QPoint(bar->width() / 2, 10)); }

    CFramelessWindow window;
    EITitleBar* bar = nullptr;
    QWidget* content = nullptr;
};

} // namespace

TEST_F(FramelessTest, draggingTheTitleBarOrItsTextMovesTheWindow)
{
    const QPoint start = window.pos();
    drag(emptyPartOfBar(), QPoint(30, 20));
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));

    QLabel* title = bar->titleLabel();
    drag(title->mapTo(&window, title->rect().center()), QPoint(-10, 5));
    EXPECT_EQ(window.pos(), start + QPoint(20, 25));
    EXPECT_EQ(window.size(), QSize(800, 500));
}

TEST_F(FramelessTest, titleBarButtonsTheContentAndPlainClicksDoNotDrag)
{
    QSignalSpy closeClicked(bar, &EITitleBar::onClose);
    auto* close = bar->findChild<QPushButton*>(QStringLiteral("btnClose"));
    const QPoint start = window.pos();

    drag(close->mapTo(&window, close->rect().center()), QPoint(40, 0));
    drag(content->mapTo(&window, content->rect().center()), QPoint(40, 30));
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, emptyPartOfBar());
    EXPECT_EQ(window.pos(), start);

    kittest::click(close);
    EXPECT_EQ(closeClicked.count(), 1);
}

TEST_F(FramelessTest, noDragWhileTheTitleBarIsUnregistered)
{
    const QPoint start = window.pos();
    window.setTitleBar(nullptr);
    drag(emptyPartOfBar(), QPoint(30, 20));
    EXPECT_EQ(window.pos(), start);

    window.setTitleBar(bar);
    drag(emptyPartOfBar(), QPoint(30, 20));
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));
}

TEST_F(FramelessTest, bordersResizeWithinTheMinimumSize)
{
    const QRect start = window.geometry();
    drag(QPoint(799, 499), QPoint(50, 40));
    EXPECT_EQ(window.geometry(), QRect(start.topLeft(), QSize(850, 540)));

    // The left edge keeps the right edge in place and stops at the minimum.
    const QRect before = window.geometry();
    drag(QPoint(1, 250), QPoint(600, 0));
    EXPECT_EQ(window.width(), 400);
    EXPECT_EQ(window.geometry().right(), before.right());
    EXPECT_EQ(window.height(), before.height());
}

TEST_F(FramelessTest, pointerShowsTheResizeShapeOverTheBorders)
{
    QWindow* handle = window.windowHandle();
    struct Spot
    {
        QPoint at;
        Qt::CursorShape shape;
    };
    const QList<Spot> spots = {
        {QPoint(2, 250), Qt::SizeHorCursor},      {QPoint(797, 250), Qt::SizeHorCursor},
        {QPoint(400, 1), Qt::SizeVerCursor},      {QPoint(400, 498), Qt::SizeVerCursor},
        {QPoint(1, 1), Qt::SizeFDiagCursor},      {QPoint(798, 498), Qt::SizeFDiagCursor},
        {QPoint(798, 1), Qt::SizeBDiagCursor},    {QPoint(1, 498), Qt::SizeBDiagCursor},
        {QPoint(400, 250), Qt::ArrowCursor},
    };
    for (const Spot& spot : spots) {
        QTest::mouseMove(handle, spot.at);
        EXPECT_EQ(window.cursor().shape(), spot.shape) << spot.at.x() << "," << spot.at.y();
    }
}

TEST_F(FramelessTest, aFixedWidthHasNoSideOrCornerZones)
{
    window.setFixedWidth(800);
    QTest::mouseMove(window.windowHandle(), QPoint(1, 250));
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(window.windowHandle(), QPoint(1, 498));
    EXPECT_EQ(window.cursor().shape(), Qt::SizeVerCursor);

    const QRect start = window.geometry();
    drag(QPoint(1, 250), QPoint(-50, 0));
    EXPECT_EQ(window.geometry(), start);
}

TEST_F(FramelessTest, doubleClickOnTheCaptionMaximisesAndRestoresOnWindows10)
{
    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, emptyPartOfBar());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isMaximized(); }, 1000));
    // No resize zones on a maximised window.
    QTest::mouseMove(window.windowHandle(), QPoint(1, 200));
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);

    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, emptyPartOfBar());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isMaximized(); }, 1000));
}

TEST_F(FramelessTest, doubleClickDoesNothingWhereThereIsNoMaximiseBox)
{
    platform::overrideWindowsVersion(0x80);
    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, emptyPartOfBar());
    QTest::qWait(20);
    EXPECT_FALSE(window.isMaximized());
    EXPECT_FALSE(window.isFullScreen());
}
