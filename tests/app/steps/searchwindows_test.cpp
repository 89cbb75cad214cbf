#include "app/steps/framingstep.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A picture whose every pixel differs from its neighbours, so a window
// taken from the wrong place cannot pass for the right one.
QImage numberedPicture(int width, int height)
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
    const QImage picture = numberedPicture(600, 400);
    QVector<QImage> windows;

    // In the middle: four times the frame, the frame in its centre.
    cutSearchWindows({picture}, QRectF(200, 150, 40, 20), windows);
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0], picture.copy(140, 120, 160, 80));

    // Near the right and bottom edges: moved back to end at them.
    cutSearchWindows({picture}, QRectF(570, 390, 20, 8), windows);
    EXPECT_EQ(windows[0], picture.copy(520, 368, 80, 32));

    // Larger than the picture: from 0 and no further than the picture.
    cutSearchWindows({picture}, QRectF(50, 20, 200, 150), windows);
    EXPECT_EQ(windows[0], picture);

    // Cutting first and turning after gives what turning whole pages would.
    const QVector<QImage> pages{picture, numberedPicture(500, 420)};
    for (const QRectF& frame : {QRectF(200, 150, 40, 20), QRectF(5, 3, 31, 17), QRectF(570, 390, 20, 8),
                                QRectF(10, 10, 300, 300)}) {
        QVector<QImage> turnedPages;
        rotateImages180(pages, turnedPages);
        QVector<QImage> expected;
        cutSearchWindows(turnedPages, frame, expected);
        cutTurnedSearchWindows(pages, frame, windows);
        ASSERT_EQ(windows.size(), 2);
        EXPECT_EQ(windows[0], expected[0]) << frame.x() << "," << frame.y();
        EXPECT_EQ(windows[1], expected[1]) << frame.x() << "," << frame.y();
    }
}
