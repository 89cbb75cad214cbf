#include "platform/compositor.h"
#include "platform/windowdrag.h"
#include "platform/windowsversion.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

using platform::frameEdgesAt;
using platform::resizedGeometry;

// The cursors over each zone and the fallback drag are covered through
// real pointer events by the frameless window's tests; these pin the zone
// and clamp arithmetic at its boundaries.
TEST(FrameEdges, zonesAreBorderWideAndOnlyOnResizableAxes)
{
    const QSize size(800, 500);
    EXPECT_EQ(frameEdgesAt(size, QPoint(4, 250), 5, true, true), Qt::LeftEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(5, 250), 5, true, true), Qt::Edges());
    EXPECT_EQ(frameEdgesAt(size, QPoint(794, 250), 5, true, true), Qt::Edges());
    EXPECT_EQ(frameEdgesAt(size, QPoint(795, 250), 5, true, true), Qt::RightEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(799, 0), 5, true, true), Qt::RightEdge | Qt::TopEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(0, 499), 5, true, true), Qt::LeftEdge | Qt::BottomEdge);
    // Outside the window, or no border at all: no zone.
    EXPECT_EQ(frameEdgesAt(size, QPoint(800, 250), 5, true, true), Qt::Edges());
    EXPECT_EQ(frameEdgesAt(size, QPoint(-1, 250), 5, true, true), Qt::Edges());
    EXPECT_EQ(frameEdgesAt(size, QPoint(0, 250), 0, true, true), Qt::Edges());
    // A fixed axis has no zones; corners then act as the other axis' edge.
    EXPECT_EQ(frameEdgesAt(size, QPoint(0, 0), 5, false, true), Qt::TopEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(0, 0), 5, true, false), Qt::LeftEdge);
    EXPECT_EQ(frameEdgesAt(size, QPoint(0, 0), 5, false, false), Qt::Edges());
}

TEST(ResizedGeometry, draggedEdgesMoveWithinTheLimitsAndOppositeEdgesStay)
{
    const QRect start(100, 100, 800, 500);
    const QSize minimum(400, 300);
    const QSize maximum(2000, 1500);
    EXPECT_EQ(resizedGeometry(start, Qt::LeftEdge | Qt::TopEdge, QPoint(-30, -20), minimum, maximum),
              QRect(70, 80, 830, 520));
    // The pointer's movement along the other axis does not count.
    EXPECT_EQ(resizedGeometry(start, Qt::TopEdge, QPoint(999, 10), minimum, maximum), QRect(100, 110, 800, 490));
    EXPECT_EQ(resizedGeometry(start, Qt::BottomEdge, QPoint(0, 5000), minimum, maximum), QRect(100, 100, 800, 1500));
    // A zero minimum still leaves a window of one pixel.
    EXPECT_EQ(resizedGeometry(start, Qt::RightEdge, QPoint(-5000, 0), QSize(0, 0), maximum).width(), 1);
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
