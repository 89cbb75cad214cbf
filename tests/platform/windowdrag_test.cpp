#include "platform/compositor.h"
#include "platform/windowdrag.h"
#include "platform/windowsversion.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTest>
#include <QWindow>

using platform::frameEdgesAt;
using platform::resizedGeometry;

TEST(FrameEdges, bordersAndCornersOfAResizableWindow)
{
    const QSize size(800, 500);
    const int border = 5;
    EXPECT_EQ(frameEdgesAt(size, QPoint(0, 250), border, true, true), Qt::LeftEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(4, 250), border, true, true), Qt::LeftEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(5, 250), border, true, true), Qt::Edges());
    EXPECT_EQ(frameEdgesAt(size, QPoint(795, 250), border, true, true), Qt::RightEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(799, 250), border, true, true), Qt::RightEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(400, 0), border, true, true), Qt::TopEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(400, 499), border, true, true), Qt::BottomEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(0, 0), border, true, true), Qt::LeftEdge | Qt::TopEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(799, 499), border, true, true), Qt::RightEdge | Qt::BottomEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(799, 0), border, true, true), Qt::RightEdge | Qt::TopEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(0, 499), border, true, true), Qt::LeftEdge | Qt::BottomEdge);
    // Outside the window, or no border at all: no zone.
    EXPECT_EQ(frameEdgesAt(size, QPoint(800, 250), border, true, true), Qt::Edges());
    EXPECT_EQ(frameEdgesAt(size, QPoint(-1, 250), border, true, true), Qt::Edges());
    EXPECT_EQ(frameEdgesAt(size, QPoint(0, 250), 0, true, true), Qt::Edges());
}

TEST(FrameEdges, aFixedAxisHasNoZones)
{
    const QSize size(800, 500);
    EXPECT_EQ(frameEdgesAt(size, QPoint(0, 250), 5, false, true), Qt::Edges());
    EXPECT_EQ(frameEdgesAt(size, QPoint(0, 0), 5, false, true), Qt::TopEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(799, 499), 5, false, true), Qt::BottomEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(0, 0), 5, true, false), Qt::LeftEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(0, 0), 5, false, false), Qt::Edges());
}

TEST(FrameEdges, cursorNamesTheDirectionOfTheResize)
{
    EXPECT_EQ(platform::resizeCursor(Qt::LeftEdge), Qt::SizeHorCursor);
    EXPECT_EQ(platform::resizeCursor(Qt::RightEdge), Qt::SizeHorCursor);
    EXPECT_EQ(platform::resizeCursor(Qt::TopEdge), Qt::SizeVerCursor);
    EXPECT_EQ(platform::resizeCursor(Qt::BottomEdge), Qt::SizeVerCursor);
    EXPECT_EQ(platform::resizeCursor(Qt::LeftEdge | Qt::TopEdge), Qt::SizeFDiagCursor);
    EXPECT_EQ(platform::resizeCursor(Qt::RightEdge | Qt::BottomEdge), Qt::SizeFDiagCursor);
    EXPECT_EQ(platform::resizeCursor(Qt::RightEdge | Qt::TopEdge), Qt::SizeBDiagCursor);
    EXPECT_EQ(platform::resizeCursor(Qt::LeftEdge | Qt::BottomEdge), Qt::SizeBDiagCursor);
    EXPECT_EQ(platform::resizeCursor(Qt::Edges()), Qt::ArrowCursor);
}

TEST(ResizedGeometry, draggedEdgesMoveAndOppositeEdgesStay)
{
    const QRect start(100, 100, 800, 500);
    const QSize minimum(400, 300);
    const QSize maximum(2000, 1500);
    EXPECT_EQ(resizedGeometry(start, Qt::RightEdge | Qt::BottomEdge, QPoint(50, 40), minimum, maximum),
              QRect(100, 100, 850, 540));
    EXPECT_EQ(resizedGeometry(start, Qt::LeftEdge | Qt::TopEdge, QPoint(-30, -20), minimum, maximum),
              QRect(70, 80, 830, 520));
    EXPECT_EQ(resizedGeometry(start, Qt::TopEdge, QPoint(999, 10), minimum, maximum), QRect(100, 110, 800, 490));

    // Clamped to the limits with the opposite edge still in place.
    const QRect narrow = resizedGeometry(start, Qt::LeftEdge, QPoint(700, 0), minimum, maximum);
    EXPECT_EQ(narrow.width(), 400);
    EXPECT_EQ(narrow.right(), start.right());
    const QRect tall = resizedGeometry(start, Qt::BottomEdge, QPoint(0, 5000), minimum, maximum);
    EXPECT_EQ(tall, QRect(100, 100, 800, 1500));
    // A zero minimum still leaves a window of one pixel.
    EXPECT_EQ(resizedGeometry(start, Qt::RightEdge, QPoint(-5000, 0), QSize(0, 0), maximum).width(), 1);
}

TEST(WindowDrag, followsThePointerWhereTheSystemWillNotMoveTheWindow)
{
    QWindow window;
    window.setGeometry(100, 100, 400, 300);
    window.setMinimumSize(QSize(200, 150));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    platform::WindowDrag drag;
    ASSERT_TRUE(drag.begin(&window, Qt::Edges(), QPoint(300, 110)));
    ASSERT_TRUE(drag.following()) << "the offscreen platform has no system move";
    EXPECT_TRUE(drag.follow(QPoint(340, 90)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.position() == QPoint(140, 80); }, 1000));
    EXPECT_EQ(window.position(), QPoint(140, 80));
    drag.end();
    EXPECT_FALSE(drag.follow(QPoint(500, 500)));

    ASSERT_TRUE(drag.begin(&window, Qt::RightEdge | Qt::BottomEdge, QPoint(539, 379)));
    drag.follow(QPoint(339, 379));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.geometry() == QRect(140, 80, 200, 300); }, 1000));
    EXPECT_EQ(window.geometry(), QRect(140, 80, 200, 300));
    drag.end();

    EXPECT_FALSE(drag.begin(nullptr, Qt::Edges(), QPoint()));
}

TEST(WindowsVersion, reportsWindows10UnlessATestAsksForAnother)
{
    EXPECT_EQ(platform::windowsVersion(), platform::WindowsVersion10);
    platform::overrideWindowsVersion(0x80);
    EXPECT_EQ(platform::windowsVersion(), 0x80);
    platform::overrideWindowsVersion(std::nullopt);
    EXPECT_EQ(platform::windowsVersion(), 0xC0);
}

TEST(Compositor, offscreenWindowsAreCompositedAndTestsCanSayOtherwise)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    EXPECT_TRUE(platform::translucentWindowsSupported());
    platform::overrideTranslucentWindowsSupported(false);
    EXPECT_FALSE(platform::translucentWindowsSupported());
    platform::overrideTranslucentWindowsSupported(std::nullopt);
    EXPECT_TRUE(platform::translucentWindowsSupported());
}
