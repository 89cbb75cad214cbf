#include "app/steps/framingstep.h"

#include <gtest/gtest.h>

namespace {

// Every pixel differs from its neighbours: a window from the wrong place
// cannot pass for the right one.
QImage numbered(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * 7 + y * 13) % 256));
    return image;
}

} // namespace

TEST(SearchWindows, windowsStayOnThePictureAndTurnedOnesMatchTurnedPages)
{
    const QImage picture = numbered(600, 400);
    QVector<QImage> windows;
    cutSearchWindows({picture}, QRectF(200, 150, 40, 20), windows);
    EXPECT_EQ(windows.value(0), picture.copy(140, 120, 160, 80)) << "four times the frame, around it";
    cutSearchWindows({picture}, QRectF(570, 390, 20, 8), windows);
    EXPECT_EQ(windows.value(0), picture.copy(520, 368, 80, 32)) << "moved back to end at the edges";
    cutSearchWindows({picture}, QRectF(50, 20, 200, 150), windows);
    EXPECT_EQ(windows.value(0), picture) << "no larger than the picture";

    // Cutting first and turning after gives what turning whole pages would.
    const QVector<QImage> pages{picture, numbered(501, 419)};
    QVector<QImage> turnedPages;
    rotateImages180(pages, turnedPages);
    for (const QRectF& frame : {QRectF(200, 150, 40, 20), QRectF(5, 3, 31, 17), QRectF(570, 390, 20, 8)}) {
        QVector<QImage> expected;
        cutSearchWindows(turnedPages, frame, expected);
        cutTurnedSearchWindows(pages, frame, windows);
        EXPECT_EQ(windows, expected) << frame.x();
    }
}
