#include "algorithms/conversions.h"
#include "algorithms/eialgorithm.h"
#include "algorithms/titlecheck.h"
#include "tests/algorithms/synthetic.h"

#include <QPixmap>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <climits>

namespace {

// Pages at 200 dpi.
const QSize a4Portrait(1654, 2339);
const QSize a3Landscape(3307, 2339);

const QString titleText = QStringLiteral("2023—2024学年第一学期期末考试 数学答题卡");

// The bounding box of the pixels darker than paper inside `area`.
QRect inkBox(const QImage& page, const QRect& area)
{
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(page.pixel(x, y)) < 200) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// A white page with questions printed below the title's row, so there is
// always other print about to be confused with the title.
QImage questionPage(QSize size)
{
    QImage page = synthetic::blankPage(size.width(), size.height());
    const int columns = size.width() > size.height() ? 2 : 1;
    for (int column = 0; column < columns; ++column)
        for (int line = 0; line < 12; ++line)
            synthetic::drawText(page, QRect(column * size.width() / 2 + 120, 670 + line * 110, 1500, 60),
                                QStringLiteral("%1. 已知函数 f(x) = x² − %2x + 3，求它在区间上的最小值。")
                                    .arg(column * 12 + line + 1)
                                    .arg(line + 2),
                                34);
    return page;
}

// Prints `text` from `at` and returns its ink box.
QRect print(QImage& page, const QString& text, QPoint at, int pixelSize = 64)
{
    const QRect area(at, QSize(2200, pixelSize * 2));
    synthetic::drawText(page, area, text, pixelSize);
    return inkBox(page, area.intersected(page.rect()));
}

QRect rule(QImage& page, const QRect& box)
{
    synthetic::fillBox(page, box);
    return box;
}

QRectF around(const QRect& ink, int margin) { return QRectF(ink.adjusted(-margin, -margin, margin, margin)); }

void expectNear(const QRectF& found, const QRect& ink)
{
    EXPECT_NEAR(found.left(), ink.left(), 3.0);
    EXPECT_NEAR(found.top(), ink.top(), 3.0);
    EXPECT_NEAR(found.left() + found.width(), ink.left() + ink.width(), 3.0);
    EXPECT_NEAR(found.top() + found.height(), ink.top() + ink.height(), 3.0);
}

cv::Mat toMat(const QImage& image) { return QImageToCvMat(image, true); }

} // namespace

class TitleOnPage : public ::testing::TestWithParam<QSize>
{
};

TEST_P(TitleOnPage, printedTitleIsAcceptedAndTightened)
{
    QImage page = questionPage(GetParam());
    const QRect ink = print(page, titleText, QPoint(180, 260));
    ASSERT_GT(ink.width(), 900);

    QRectF title = around(ink, 40);
    EXPECT_EQ(checkTitle(QPixmap::fromImage(page), around(ink, 40), &title, true), TitleCheck::Accepted);
    expectNear(title, ink);
}

INSTANTIATE_TEST_SUITE_P(A4AndA3, TitleOnPage, ::testing::Values(a4Portrait, a3Landscape));

TEST(TitleCheck, framesWithoutATitleAreRefused)
{
    QImage image = questionPage(a4Portrait);
    const QRect line = rule(image, QRect(300, 300, 900, 3));
    const QRect word = print(image, QStringLiteral("数学"), QPoint(700, 450), 48);
    const QPixmap page = QPixmap::fromImage(image);

    // A blank frame leaves the rectangle as it was.
    const QRectF blankFrame(300, 150, 800, 100);
    QRectF title = blankFrame;
    EXPECT_EQ(checkTitle(page, blankFrame, &title, true), TitleCheck::Blank);
    EXPECT_EQ(title, blankFrame);

    // A rule is wide enough but has nothing to be recognised by; its
    // outline is handed back all the same.
    title = QRectF();
    EXPECT_EQ(checkTitle(page, around(line, 30), &title, true), TitleCheck::Failed);
    expectNear(title, line);

    title = QRectF();
    EXPECT_EQ(checkTitle(page, around(word, 30), &title, true), TitleCheck::TooShort);
    expectNear(title, word);

    // A back face only tightens the frame.
    title = QRectF();
    EXPECT_EQ(checkTitle(page, around(line, 30), &title, false), TitleCheck::Accepted);
    expectNear(title, line);
}

TEST(TitleCheck, titleOf140PixelsIsLongEnoughOnAnyPage)
{
    // A solid bar is outlined one pixel wider on each side. Past the width
    // test it has no features, so it fails verification instead.
    QImage page = synthetic::blankPage(2480, 3508);
    const QRect narrow = rule(page, QRect(400, 300, 137, 40));
    const QRect wide = rule(page, QRect(400, 500, 138, 40));
    QRectF title;
    EXPECT_EQ(checkTitle(QPixmap::fromImage(page), around(narrow, 20), &title, true), TitleCheck::TooShort);
    EXPECT_DOUBLE_EQ(title.width(), 139.0);
    EXPECT_EQ(checkTitle(QPixmap::fromImage(page), around(wide, 20), &title, true), TitleCheck::Failed);
    EXPECT_DOUBLE_EQ(title.width(), 140.0);
}

TEST(TitleCheck, titleNearTheRightEdgeIsSearchedWhereItIs)
{
    // Twice the title's width would pass the page's right edge; other print
    // sits at the left at the same height.
    QImage page = questionPage(a3Landscape);
    print(page, QStringLiteral("姓名：＿＿＿＿ 班级：＿＿＿＿ 考号：＿＿＿＿"), QPoint(120, 260), 48);
    const QRect ink = print(page, QStringLiteral("期末考试数学答题卡"), QPoint(2480, 250));
    ASSERT_GT(ink.right() + ink.width(), a3Landscape.width());
    ASSERT_LT(ink.right(), a3Landscape.width() - 40);

    QRectF title;
    EXPECT_EQ(checkTitle(QPixmap::fromImage(page), around(ink, 30), &title, true), TitleCheck::Accepted);
    expectNear(title, ink);

    // A frame drawn past the page's edge is tightened on the page.
    QRectF pastTheEdge = around(ink, 30);
    pastTheEdge.setRight(a3Landscape.width() + 50);
    title = QRectF();
    EXPECT_EQ(checkTitle(QPixmap::fromImage(page), pastTheEdge, &title, true), TitleCheck::Accepted);
    expectNear(title, ink);
}

TEST(TitleOrientation, upsideDownTitleIsFoundInTheTurnedPage)
{
    // The title as framed on a scan turned by 180 degrees sits, upside down,
    // where the upright page has nothing: only the turned band holds it.
    QImage upright = questionPage(a4Portrait);
    const QRect ink = print(upright, titleText, QPoint(150, 250), 56);
    const cv::Mat page = toMat(upright);
    const cv::Rect printed(ink.x(), ink.y(), ink.width(), ink.height());
    cv::Mat turnedTitle;
    cv::flip(page(printed), turnedTitle, -1);
    const cv::Rect framed(page.cols - printed.x - printed.width, page.rows - printed.y - printed.height,
                          printed.width, printed.height);

    EIAlgorithm algorithm;
    EXPECT_TRUE(algorithm.correctTitle4Positive({page}, turnedTitle, framed));
    EXPECT_FALSE(algorithm.correctTitle4Positive({toMat(questionPage(a4Portrait))}, turnedTitle, framed));
}

TEST(TitleOrientation, matchMustKeepTheTitlesSize)
{
    QImage page = questionPage(a4Portrait);
    const QRect ink = print(page, titleText, QPoint(150, 250), 56);
    const cv::Mat title = toMat(page)(cv::Rect(ink.x(), ink.y(), ink.width(), ink.height())).clone();

    // The title at 1.3 times its size (1.69 times its area) still matches;
    // at 3 times (9 times the area) it does not.
    auto sceneAt = [&](double scale) {
        cv::Mat scaled;
        cv::resize(title, scaled, cv::Size(), scale, scale, cv::INTER_AREA);
        cv::Mat scene(scaled.rows + 200, scaled.cols + 200, CV_8UC3, cv::Scalar::all(255));
        scaled.copyTo(scene(cv::Rect(100, 100, scaled.cols, scaled.rows)));
        return scene;
    };
    EIAlgorithm algorithm;
    EXPECT_TRUE(algorithm.matchTitle(sceneAt(1.3), title, 15));
    EXPECT_FALSE(algorithm.matchTitle(sceneAt(3.0), title, 15));
    EXPECT_FALSE(algorithm.matchTitle(cv::Mat(), title, 15));
}
