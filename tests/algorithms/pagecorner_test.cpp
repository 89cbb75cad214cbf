#include "algorithms/pagecorner.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A4 at 200 dpi, the project's reference size in these tests.
const QSize reference(1654, 2339);

struct Scan
{
    QSize sheet = reference;
    double tilt = 0.0;   // degrees, clockwise on screen
    int background = 20; // the scanner lid, darker than paper
    int cutCorner = 0;   // length of the cut at the sheet's top-right corner
    int paper = 255;
    QSize picture = reference; // the scan's own size
};

// A sheet with a horizontal rule at row 400 and a vertical one at column
// 300 (6 px thick), turned by the tilt about the middle of the picture.
QImage scan(const Scan& s)
{
    QImage image(s.picture, QImage::Format_RGB32);
    image.fill(QColor(s.background, s.background, s.background));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(s.picture.width() / 2.0, s.picture.height() / 2.0);
    painter.rotate(s.tilt);
    painter.translate(-s.sheet.width() / 2.0, -s.sheet.height() / 2.0);

    const double w = s.sheet.width(), h = s.sheet.height(), c = s.cutCorner;
    QPolygonF outline;
    outline << QPointF(0, 0) << QPointF(w - c, 0) << QPointF(w, c) << QPointF(w, h) << QPointF(0, h);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(s.paper, s.paper, s.paper));
    painter.drawPolygon(outline);
    painter.setBrush(Qt::black);
    painter.drawRect(QRectF(100, 400, w - 200, 6));
    painter.drawRect(QRectF(300, 600, 6, h - 800));
    return image;
}

// Centre of the dark run crossed between `from` and `to`: down the column
// `at`, or along the row `at`.
enum Direction { Down, Across };

double darkCentre(const QImage& page, Direction direction, int at, int from, int to)
{
    double sum = 0, count = 0;
    for (int i = from; i < to; ++i)
        if (qGray(direction == Down ? page.pixel(at, i) : page.pixel(i, at)) < 128) {
            sum += i;
            ++count;
        }
    return count > 0 ? sum / count : -1;
}

// Tilts in degrees of the horizontal and the vertical rule.
std::pair<double, double> ruleTilts(const QImage& page)
{
    const int left = page.width() / 5, right = page.width() * 4 / 5;
    const int top = page.height() / 3, bottom = page.height() * 4 / 5;
    const double yLeft = darkCentre(page, Down, left, 200, 800), yRight = darkCentre(page, Down, right, 200, 800);
    const double xTop = darkCentre(page, Across, top, 100, 700), xBottom = darkCentre(page, Across, bottom, 100, 700);
    EXPECT_TRUE(yLeft > 0 && yRight > 0 && xTop > 0 && xBottom > 0) << "a rule is missing";
    const double degrees = 180.0 / M_PI;
    return {std::atan2(yRight - yLeft, right - left) * degrees, std::atan2(xBottom - xTop, bottom - top) * degrees};
}

bool samePixels(const QPixmap& a, const QPixmap& b)
{
    return a.toImage().convertToFormat(QImage::Format_RGB32) == b.toImage().convertToFormat(QImage::Format_RGB32);
}

bool check(QPixmap* page, bool colourFilter, bool fourCorners)
{
    return checkPageCorner(page, reference.width(), reference.height(), colourFilter, fourCorners);
}

} // namespace

TEST(PageCorner, sheetWhiteToTheEdgesKeepsItsPrint)
{
    // A scan at half the size; red print reads as mid grey.
    QImage image = scan(Scan{});
    QPainter(&image).fillRect(QRect(400, 1200, 300, 100), QColor(120, 120, 120));
    QPixmap plain = QPixmap::fromImage(image.scaled(reference / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QPixmap filtered = QPixmap::fromImage(image);
    ASSERT_TRUE(check(&plain, false, true));
    ASSERT_TRUE(check(&filtered, true, true));
    ASSERT_EQ(plain.size(), reference);
    const QImage result = plain.toImage();
    EXPECT_NEAR(darkCentre(result, Down, 800, 200, 800), 402.5, 1.5);
    EXPECT_NEAR(darkCentre(result, Across, 1200, 100, 700), 302.5, 1.5);
    EXPECT_NEAR(qGray(result.pixel(550, 1250)), 120, 3);
    EXPECT_EQ(qGray(result.pixel(3, 3)), 255);

    // The colour filter blackens what is at most mid grey, keeps paper white.
    EXPECT_EQ(qGray(filtered.toImage().pixel(550, 1250)), 0);
    EXPECT_EQ(qGray(filtered.toImage().pixel(550, 1000)), 255);
}

// A rule printed from one edge of the sheet to the other, black or red
// (blackened by the colour filter), does not cut the page to one panel.
TEST(PageCorner, aRuleAcrossTheWholeSheetKeepsBothPanels)
{
    for (const bool colourFilter : {false, true}) {
        SCOPED_TRACE(colourFilter ? "red rule, colour filter" : "black rule");
        QImage image = scan({QSize(1480, 2100)});
        const QPointF sheetTop((reference.width() - 1480) / 2.0, (reference.height() - 2100) / 2.0);
        QPainter(&image).fillRect(QRectF(sheetTop + QPointF(0, 1200), QSizeF(1480, 8)),
                                  colourFilter ? QColor(110, 110, 110) : QColor(Qt::black));
        QPixmap page = QPixmap::fromImage(image);
        ASSERT_TRUE(check(&page, colourFilter, true));
        const QImage result = page.toImage();
        // The top panel's rule and the one across the sheet, where the whole sheet puts them.
        const double scale = reference.height() / 2100.0;
        EXPECT_NEAR(darkCentre(result, Down, 800, 200, 800), 403 * scale, 3);
        EXPECT_NEAR(darkCentre(result, Down, 100, 1100, 1600), 1204 * scale, 3);
    }
}

class TiltedScan : public ::testing::TestWithParam<double>
{
};

TEST_P(TiltedScan, comesOutStraightAndAtTheReferenceSize)
{
    QPixmap page = QPixmap::fromImage(scan({QSize(1480, 2100), GetParam()}));
    ASSERT_NEAR(ruleTilts(page.toImage()).first, GetParam(), 0.3);

    ASSERT_TRUE(check(&page, false, true));
    ASSERT_EQ(page.size(), reference);
    const QImage result = page.toImage();
    const auto tilts = ruleTilts(result);
    EXPECT_NEAR(tilts.first, 0.0, 0.2);
    EXPECT_NEAR(tilts.second, 0.0, 0.2);

    // Cut to the paper: no scanner lid is left along the edges.
    int dark = 0;
    for (int x = 0; x < result.width(); x += 7)
        dark += (qGray(result.pixel(x, 2)) < 128) + (qGray(result.pixel(x, result.height() - 3)) < 128);
    for (int y = 0; y < result.height(); y += 7)
        dark += (qGray(result.pixel(2, y)) < 128) + (qGray(result.pixel(result.width() - 3, y)) < 128);
    EXPECT_LT(dark, 25) << "background left at the edges";
}

INSTANTIATE_TEST_SUITE_P(Degrees, TiltedScan, ::testing::Values(-3.0, 0.0, 3.0));

TEST(PageCorner, cutCornerIsRefusedOnlyWhenFourCornersAreRequired)
{
    const QPixmap original = QPixmap::fromImage(scan({QSize(1480, 2100), 2.0, 20, 220}));
    QPixmap page = original;
    EXPECT_FALSE(check(&page, false, true));
    EXPECT_TRUE(samePixels(page, original));

    ASSERT_TRUE(check(&page, false, false));
    EXPECT_EQ(page.size(), reference);
    EXPECT_NEAR(ruleTilts(page.toImage()).first, 0.0, 0.2);
}

// A folded corner is told by its size on paper, whatever the resolution
// the sheet was scanned at: one of 3 mm or more is refused, a smaller one
// (a rough edge) is let through.
TEST(PageCorner, aSmallFoldIsFoundAtEveryResolution)
{
    for (const double dpi : {100.0, 150.0, 200.0, 300.0}) {
        SCOPED_TRACE(dpi);
        const auto px = [dpi](double mm) { return mm * dpi / 25.4; };
        const QSize size(qRound(px(210)), qRound(px(297)));
        for (const double fold : {0.0, 2.0, 3.0, 6.0}) {
            QPixmap page = QPixmap::fromImage(
                scan({QSize(qRound(px(200)), qRound(px(285))), 1.0, 20, qRound(px(fold)), 255, size}));
            EXPECT_EQ(checkPageCorner(&page, size.width(), size.height(), false, true), fold < 3.0) << fold << " mm";
        }
    }
}

TEST(PageCorner, pageWithoutPaperIsRefused)
{
    const QPixmap original = QPixmap::fromImage(scan({reference, 0.0, 20, 0, 20}));
    QPixmap page = original;
    EXPECT_FALSE(check(&page, false, false));
    EXPECT_TRUE(samePixels(page, original));

    QPixmap none;
    EXPECT_FALSE(check(&none, false, false));
    EXPECT_TRUE(none.isNull());
}

TEST(PageCorner, pagesCheckedSideBySideMatchThoseCheckedAlone)
{
    std::vector<QPixmap> alone;
    for (int i = 0; i < 8; ++i)
        alone.push_back(QPixmap::fromImage(scan({QSize(1480, 2100), -3.0 + i * 0.8, 20, i == 5 ? 220 : 0})));
    std::vector<QPixmap> together = alone;
    std::vector<int> aloneResult(8), togetherResult(8);
    for (int i = 0; i < 8; ++i)
        aloneResult[i] = check(&alone[i], true, true);
#pragma omp parallel for
    for (int i = 0; i < 8; ++i)
        togetherResult[i] = check(&together[i], true, true);

    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(togetherResult[i], i != 5) << "page " << i;
        EXPECT_EQ(togetherResult[i], aloneResult[i]) << "page " << i;
        EXPECT_TRUE(samePixels(together[i], alone[i])) << "page " << i;
    }
}

TEST(PageCorner, largestContourTakesTheLowestIndexOnATie)
{
    auto square = [](int side) { return std::vector<cv::Point>{{0, 0}, {side, 0}, {side, side}, {0, side}}; };
    EXPECT_EQ(largestContourIndex({}), -1);
    EXPECT_EQ(largestContourIndex({square(3), square(5), square(5)}), 1);
    std::vector<std::vector<cv::Point>> many(200, square(4));
    many[150] = square(9);
    many[170] = square(9);
    EXPECT_EQ(largestContourIndex(many), 150);
}

TEST(WhitenBrightPixels, whitensAboveTheLevelButNotTheMiddleLines)
{
    // 5 x 5 of 100 with one dark pixel: mean 96.4, level 91. The middle
    // row and column of an odd size keep their values.
    cv::Mat image(5, 5, CV_8UC1, cv::Scalar(100));
    image.at<uchar>(0, 0) = 10;
    whitenBrightPixels(image);
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 5; ++c) {
            const int expected = (r == 0 && c == 0) ? 10 : (r == 2 || c == 2) ? 100 : 255;
            EXPECT_EQ(image.at<uchar>(r, c), expected) << r << ", " << c;
        }
    }

    // Already bright on average: left as it is.
    cv::Mat bright(4, 4, CV_8UC1, cv::Scalar(241));
    whitenBrightPixels(bright);
    EXPECT_EQ(cv::countNonZero(bright != 241), 0);
}
