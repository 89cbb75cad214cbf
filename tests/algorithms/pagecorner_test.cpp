#include "algorithms/pagecorner.h"

#include "tests/algorithms/logwatch.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QTransform>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A4 at 200 dpi, the project's reference size in these tests.
const QSize reference(1654, 2339);

// Where the sheet's printed rules lie, in sheet coordinates.
constexpr int ruleRow = 400;
constexpr int ruleColumn = 300;
constexpr int ruleThickness = 6;

struct Scan
{
    QSize sheet = reference;
    double tilt = 0.0;   // degrees, clockwise as seen on screen
    int background = 20; // the scanner lid, darker than paper
    int cutCorner = 0;   // length of the cut at the sheet's top-right corner
    int fill = 255;      // paper
};

// A sheet with a long horizontal and a long vertical rule, turned by the
// tilt about the middle of a picture of the reference size.
QImage scan(const Scan& s)
{
    QImage image(reference, QImage::Format_RGB32);
    image.fill(QColor(s.background, s.background, s.background));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QTransform place;
    place.translate(reference.width() / 2.0, reference.height() / 2.0);
    place.rotate(s.tilt);
    place.translate(-s.sheet.width() / 2.0, -s.sheet.height() / 2.0);
    painter.setTransform(place);

    const double w = s.sheet.width(), h = s.sheet.height(), c = s.cutCorner;
    QPolygonF outline;
    outline << QPointF(0, 0) << QPointF(w - c, 0);
    if (c > 0)
        outline << QPointF(w, c);
    outline << QPointF(w, h) << QPointF(0, h);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(s.fill, s.fill, s.fill));
    painter.drawPolygon(outline);
    painter.setBrush(Qt::black);
    painter.drawRect(QRectF(100, ruleRow, w - 200, ruleThickness));
    painter.drawRect(QRectF(ruleColumn, 600, ruleThickness, h - 800));
    return image;
}

// Centre row of the dark run in `column` between rows `from` and `to`.
double darkRowCentre(const QImage& page, int column, int from, int to)
{
    double sum = 0, count = 0;
    for (int y = from; y < to; ++y)
        if (qGray(page.pixel(column, y)) < 128) {
            sum += y;
            ++count;
        }
    return count > 0 ? sum / count : -1;
}

double darkColumnCentre(const QImage& page, int row, int from, int to)
{
    double sum = 0, count = 0;
    for (int x = from; x < to; ++x)
        if (qGray(page.pixel(x, row)) < 128) {
            sum += x;
            ++count;
        }
    return count > 0 ? sum / count : -1;
}

// Tilt in degrees of the printed horizontal and vertical rules.
struct Tilts
{
    double horizontal;
    double vertical;
};

Tilts measureTilts(const QImage& page)
{
    const int left = page.width() / 5, right = page.width() * 4 / 5;
    const double yLeft = darkRowCentre(page, left, 200, 800);
    const double yRight = darkRowCentre(page, right, 200, 800);
    const int top = page.height() / 3, bottom = page.height() * 4 / 5;
    const double xTop = darkColumnCentre(page, top, 100, 700);
    const double xBottom = darkColumnCentre(page, bottom, 100, 700);
    EXPECT_GT(yLeft, 0);
    EXPECT_GT(yRight, 0);
    EXPECT_GT(xTop, 0);
    EXPECT_GT(xBottom, 0);
    const double degrees = 180.0 / M_PI;
    return {std::atan2(yRight - yLeft, right - left) * degrees,
            std::atan2(xBottom - xTop, bottom - top) * degrees};
}

bool samePixels(const QPixmap& a, const QPixmap& b)
{
    return a.toImage().convertToFormat(QImage::Format_RGB32) == b.toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(PageCorner, sheetWhiteToTheEdgesKeepsItsPrint)
{
    QPixmap page = QPixmap::fromImage(scan(Scan{}));
    ASSERT_TRUE(checkPageCorner(&page, reference.width(), reference.height(), false, true));
    ASSERT_EQ(page.size(), reference);
    const QImage result = page.toImage();
    EXPECT_NEAR(darkRowCentre(result, 800, 200, 800), ruleRow + ruleThickness / 2.0 - 0.5, 1.5);
    EXPECT_NEAR(darkColumnCentre(result, 1200, 100, 700), ruleColumn + ruleThickness / 2.0 - 0.5, 1.5);
    EXPECT_EQ(qGray(result.pixel(3, 3)), 255);
}

TEST(PageCorner, scanIsStretchedToTheReferenceSize)
{
    // A smaller picture of the sheet comes out at the reference size.
    const QImage small = scan(Scan{}).scaled(reference / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap page = QPixmap::fromImage(small);
    ASSERT_TRUE(checkPageCorner(&page, reference.width(), reference.height(), false, true));
    EXPECT_EQ(page.size(), reference);
}

class TiltedScan : public ::testing::TestWithParam<double>
{
};

TEST_P(TiltedScan, comesOutStraightAndAtTheReferenceSize)
{
    Scan s;
    s.sheet = QSize(1480, 2100);
    s.tilt = GetParam();
    QPixmap page = QPixmap::fromImage(scan(s));
    const Tilts before = measureTilts(page.toImage());
    ASSERT_NEAR(before.horizontal, s.tilt, 0.3);

    ASSERT_TRUE(checkPageCorner(&page, reference.width(), reference.height(), false, true));
    ASSERT_EQ(page.size(), reference);
    const QImage result = page.toImage();
    const Tilts after = measureTilts(result);
    EXPECT_NEAR(after.horizontal, 0.0, 0.2);
    EXPECT_NEAR(after.vertical, 0.0, 0.2);

    // Cut to the paper: no scanner background is left along the edges.
    int dark = 0;
    for (int x = 0; x < result.width(); x += 7)
        for (int y : {2, result.height() - 3})
            dark += qGray(result.pixel(x, y)) < 128;
    for (int y = 0; y < result.height(); y += 7)
        for (int x : {2, result.width() - 3})
            dark += qGray(result.pixel(x, y)) < 128;
    EXPECT_LT(dark, 25) << "background left at the edges";
}

INSTANTIATE_TEST_SUITE_P(Degrees, TiltedScan, ::testing::Values(-3.0, 0.0, 3.0));

TEST(PageCorner, cutCornerIsRefusedOnlyWhenFourCornersAreRequired)
{
    Scan s;
    s.sheet = QSize(1480, 2100);
    s.tilt = 2.0;
    s.cutCorner = 220;
    const QPixmap original = QPixmap::fromImage(scan(s));

    QPixmap page = original;
    EXPECT_FALSE(checkPageCorner(&page, reference.width(), reference.height(), false, true));
    EXPECT_TRUE(samePixels(page, original));

    page = original;
    ASSERT_TRUE(checkPageCorner(&page, reference.width(), reference.height(), false, false));
    EXPECT_EQ(page.size(), reference);
    EXPECT_NEAR(measureTilts(page.toImage()).horizontal, 0.0, 0.2);
}

TEST(PageCorner, pageWithoutPaperIsRefused)
{
    Scan s;
    s.fill = s.background;
    const QPixmap original = QPixmap::fromImage(scan(s));
    QPixmap page = original;
    EXPECT_FALSE(checkPageCorner(&page, reference.width(), reference.height(), false, false));
    EXPECT_TRUE(samePixels(page, original));

    QPixmap none;
    EXPECT_FALSE(checkPageCorner(&none, reference.width(), reference.height(), false, false));
    EXPECT_TRUE(none.isNull());
}

TEST(PageCorner, libraryErrorRefusesThePageAndIsLogged)
{
    const QPixmap original = QPixmap::fromImage(scan(Scan{}));
    QPixmap page = original;
    const logwatch::LogWatch log;
    // OpenCV refuses to resize to nothing.
    EXPECT_FALSE(checkPageCorner(&page, 0, 0, false, false));
    EXPECT_TRUE(samePixels(page, original));
    EXPECT_EQ(log.newRecords(QStringLiteral("Fatal"), QStringLiteral("预处理出错： ")).size(), 1);
}

TEST(PageCorner, colourFilterDropsLightPrint)
{
    // Red print reads as mid grey; the filter turns it black and keeps
    // the paper white.
    QImage image = scan(Scan{});
    QPainter(&image).fillRect(QRect(400, 1200, 300, 100), QColor(120, 120, 120));
    QPixmap plain = QPixmap::fromImage(image);
    QPixmap filtered = plain;
    ASSERT_TRUE(checkPageCorner(&plain, reference.width(), reference.height(), false, true));
    ASSERT_TRUE(checkPageCorner(&filtered, reference.width(), reference.height(), true, true));
    EXPECT_NEAR(qGray(plain.toImage().pixel(550, 1250)), 120, 2);
    EXPECT_EQ(qGray(filtered.toImage().pixel(550, 1250)), 0);
    EXPECT_EQ(qGray(filtered.toImage().pixel(550, 1000)), 255);
}

TEST(PageCorner, pagesCheckedSideBySideMatchThoseCheckedAlone)
{
    std::vector<QPixmap> alone, together;
    for (int i = 0; i < 8; ++i) {
        Scan s;
        s.sheet = QSize(1480, 2100);
        s.tilt = -3.0 + i * 0.8;
        s.cutCorner = i == 5 ? 220 : 0;
        alone.push_back(QPixmap::fromImage(scan(s)));
    }
    together = alone;
    std::vector<int> aloneResult(8), togetherResult(8);
    for (int i = 0; i < 8; ++i)
        aloneResult[i] = checkPageCorner(&alone[i], reference.width(), reference.height(), true, true);
#pragma omp parallel for
    for (int i = 0; i < 8; ++i)
        togetherResult[i] = checkPageCorner(&together[i], reference.width(), reference.height(), true, true);

    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(togetherResult[i], aloneResult[i]) << "page " << i;
        EXPECT_EQ(togetherResult[i], i != 5) << "page " << i;
        EXPECT_TRUE(samePixels(together[i], alone[i])) << "page " << i;
    }
}

TEST(PageCornerHelpers, largestContourTakesTheLowestIndexOnATie)
{
    auto square = [](int side) {
        return std::vector<cv::Point>{{0, 0}, {side, 0}, {side, side}, {0, side}};
    };
    EXPECT_EQ(largestContourIndex({}), -1);
    EXPECT_EQ(largestContourIndex({square(3), square(5), square(5)}), 1);
    EXPECT_EQ(largestContourIndex({square(2), square(1), square(7), square(4)}), 2);
    std::vector<std::vector<cv::Point>> many(200, square(4));
    many[150] = square(9);
    many[170] = square(9);
    EXPECT_EQ(largestContourIndex(many), 150);
}

TEST(PageCornerHelpers, brightPixelsAreWhitenedOutsideTheMiddleLines)
{
    // Mean 200: the level is 190.
    cv::Mat image(5, 5, CV_8UC1, cv::Scalar(200));
    image.at<uchar>(0, 0) = 190;
    image.at<uchar>(4, 1) = 210;
    image.at<uchar>(2, 2) = 200; // the middle row and column are not visited
    cv::Mat expected(5, 5, CV_8UC1, cv::Scalar(255));
    expected.row(2).setTo(200);
    expected.col(2).setTo(200);
    expected.at<uchar>(0, 0) = 190;
    const double mean = cv::mean(image)[0];
    ASSERT_NEAR(mean, 200.0, 0.5);
    whitenBrightPixels(image);
    EXPECT_EQ(cv::countNonZero(image != expected), 0);

    // Already bright on average: left alone.
    cv::Mat bright(4, 4, CV_8UC1, cv::Scalar(241));
    bright.at<uchar>(1, 1) = 235;
    const cv::Mat before = bright.clone();
    whitenBrightPixels(bright);
    EXPECT_EQ(cv::countNonZero(bright != before), 0);
}
