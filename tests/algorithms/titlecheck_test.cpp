#include "algorithms/conversions.h"
#include "algorithms/eialgorithm.h"
#include "algorithms/titlecheck.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

namespace {

// Pages at 200 dpi.
const QSize a4Portrait(1654, 2339);
const QSize a3Landscape(3307, 2339);

const QString titleText = QStringLiteral("2023—2024学年第一学期期末考试 数学答题卡");

QFont printFont(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// The bounding box of the pixels darker than paper.
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

// A white page with some questions printed under the title's row, so the
// matcher always has other print around to confuse it with.
class PrintedPage
{
public:
    explicit PrintedPage(QSize size) : image(size, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setPen(Qt::black);
        painter.setFont(printFont(34));
        const int columns = size.width() > size.height() ? 2 : 1;
        const int columnWidth = size.width() / columns;
        for (int column = 0; column < columns; ++column) {
            const int left = column * columnWidth + 120;
            for (int line = 0; line < 12; ++line)
                painter.drawText(left, 700 + line * 110,
                                 QStringLiteral("%1. 已知函数 f(x) = x² − %2x + 3，求它在区间上的最小值。")
                                     .arg(column * 12 + line + 1)
                                     .arg(line + 2));
            painter.drawRect(left, 2050, columnWidth - 240, 200);
        }
    }

    // Prints `text` with its top-left corner near `at`; returns the ink box.
    QRect print(const QString& text, QPoint at, int pixelSize = 64)
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setPen(Qt::black);
        painter.setFont(printFont(pixelSize, true));
        const QRect box = painter.boundingRect(QRect(at, QSize(4000, 400)), Qt::AlignLeft | Qt::AlignTop, text);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
        painter.end();
        return inkBox(image, box.adjusted(-2, -2, 2, 2).intersected(image.rect()));
    }

    QRect rule(QRect box)
    {
        QPainter painter(&image);
        painter.fillRect(box, Qt::black);
        return box;
    }

    QPixmap pixmap() const { return QPixmap::fromImage(image); }

    QImage image;
};

void expectNear(const QRectF& found, const QRect& ink, double tolerance)
{
    EXPECT_NEAR(found.left(), ink.left(), tolerance);
    EXPECT_NEAR(found.top(), ink.top(), tolerance);
    EXPECT_NEAR(found.left() + found.width(), ink.left() + ink.width(), tolerance);
    EXPECT_NEAR(found.top() + found.height(), ink.top() + ink.height(), tolerance);
}

QRectF around(const QRect& ink, int margin) { return QRectF(ink.adjusted(-margin, -margin, margin, margin)); }

} // namespace

class TitleOnPage : public ::testing::TestWithParam<QSize>
{
};

TEST_P(TitleOnPage, printedTitleIsAcceptedAndTightened)
{
    PrintedPage page(GetParam());
    const QRect ink = page.print(titleText, QPoint(180, 260));
    ASSERT_GT(ink.width(), 900);

    QRectF title = around(ink, 40);
    EXPECT_EQ(checkTitle(page.pixmap(), around(ink, 40), &title, true), TitleCheck::Accepted);
    expectNear(title, ink, 3.0);
}

INSTANTIATE_TEST_SUITE_P(A4AndA3, TitleOnPage, ::testing::Values(a4Portrait, a3Landscape));

TEST(TitleCheck, framesWithoutATitleAreRefused)
{
    PrintedPage page(a4Portrait);
    const QRect rule = page.rule(QRect(300, 300, 900, 3));
    const QRect word = page.print(QStringLiteral("数学"), QPoint(700, 450), 48);

    // A blank frame leaves the rectangle as it was.
    const QRectF blankFrame(300, 150, 800, 100);
    QRectF title = blankFrame;
    EXPECT_EQ(checkTitle(page.pixmap(), blankFrame, &title, true), TitleCheck::Blank);
    EXPECT_EQ(title, blankFrame);

    // A rule is wide enough but has nothing to recognise it by; the outline
    // is still handed back.
    title = QRectF();
    EXPECT_EQ(checkTitle(page.pixmap(), around(rule, 30), &title, true), TitleCheck::Failed);
    expectNear(title, rule, 3.0);

    title = QRectF();
    EXPECT_EQ(checkTitle(page.pixmap(), around(word, 30), &title, true), TitleCheck::TooShort);
    expectNear(title, word, 3.0);

    // A back face only tightens the frame.
    title = QRectF();
    EXPECT_EQ(checkTitle(page.pixmap(), around(rule, 30), &title, false), TitleCheck::Accepted);
    expectNear(title, rule, 3.0);
}

TEST(TitleCheck, widthLimitIs140PixelsOrAShareOfThePage)
{
    // A solid bar is outlined one pixel wider on each side. Past the width
    // test it has no features, so it fails verification instead.
    PrintedPage page(QSize(2480, 3508));
    const QRect narrow = page.rule(QRect(400, 300, 137, 40));
    const QRect wide = page.rule(QRect(400, 500, 138, 40));
    QRectF title;
    EXPECT_EQ(checkTitle(page.pixmap(), around(narrow, 20), &title, true), TitleCheck::TooShort);
    EXPECT_DOUBLE_EQ(title.width(), 139.0);
    EXPECT_EQ(checkTitle(page.pixmap(), around(wide, 20), &title, true), TitleCheck::Failed);
    EXPECT_DOUBLE_EQ(title.width(), 140.0);

    // On a narrow page a tenth and a third of the width is enough.
    PrintedPage small(QSize(1000, 1400));
    const QRect bar = small.rule(QRect(400, 300, 133, 40));
    EXPECT_EQ(checkTitle(small.pixmap(), around(bar, 20), &title, true), TitleCheck::Failed);
}

TEST(TitleCheck, titleNearTheRightEdgeIsSearchedWhereItIs)
{
    // Twice the title's width would pass the page's right edge; a different
    // line of print sits at the left at the same height.
    PrintedPage page(a3Landscape);
    page.print(QStringLiteral("姓名：＿＿＿＿ 班级：＿＿＿＿ 考号：＿＿＿＿"), QPoint(120, 260), 48);
    const QRect ink = page.print(QStringLiteral("期末考试数学答题卡"), QPoint(2480, 250));
    ASSERT_GT(ink.right() + ink.width(), a3Landscape.width());
    ASSERT_LT(ink.right(), a3Landscape.width() - 40);

    QRectF title;
    EXPECT_EQ(checkTitle(page.pixmap(), around(ink, 30), &title, true), TitleCheck::Accepted);
    expectNear(title, ink, 3.0);
}

TEST(TitleCheck, titleTooCloseToTheTopCannotBeVerified)
{
    // The search band reaches one title height above the title.
    PrintedPage page(a4Portrait);
    const QRect ink = page.print(titleText, QPoint(180, 30));
    QRectF title;
    EXPECT_EQ(checkTitle(page.pixmap(), around(ink, 10), &title, true), TitleCheck::Failed);
    expectNear(title, ink, 3.0);
}

TEST(TitleOrientation, upsideDownTitleIsFoundInTheTurnedPage)
{
    // The title as framed on a scan turned by 180 degrees sits, upside down,
    // where the upright page has nothing: only the turned band holds it.
    PrintedPage upright(a4Portrait);
    const QRect ink = upright.print(titleText, QPoint(150, 250), 56);
    const cv::Mat page = QImageToCvMat(upright.image, true);
    const cv::Rect printed(ink.x(), ink.y(), ink.width(), ink.height());
    cv::Mat turnedTitle;
    cv::flip(page(printed), turnedTitle, -1);
    const cv::Rect framed(page.cols - printed.x - printed.width, page.rows - printed.y - printed.height,
                          printed.width, printed.height);

    EIAlgorithm algorithm;
    EXPECT_TRUE(algorithm.correctTitle4Positive({page}, turnedTitle, framed));

    const cv::Mat untitled = QImageToCvMat(PrintedPage(a4Portrait).image, true);
    EXPECT_FALSE(algorithm.correctTitle4Positive({untitled}, turnedTitle, framed));
}

TEST(TitleOrientation, matchMustKeepTheTitlesSize)
{
    PrintedPage page(a4Portrait);
    const QRect ink = page.print(titleText, QPoint(150, 250), 56);
    const cv::Mat image = QImageToCvMat(page.image, true);
    const cv::Mat title = image(cv::Rect(ink.x(), ink.y(), ink.width(), ink.height())).clone();

    // A scene holding the title at 1.3 times its size (1.69 times its area)
    // still matches; at 3 times (9 times the area) it does not.
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
