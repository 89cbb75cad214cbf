#include "algorithms/optiongrid.h"

#include "algorithms/conversions.h"

#include "algorithms/imagebasics.h"
#include "tests/algorithms/synthetic.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <cmath>
#include <tuple>

namespace {

struct DrawnGrid
{
    QPoint origin;
    QSizeF box;
    QSizeF pitch;
};

// Solid boxes as a filled-in sheet shows them; each box starts on the
// pixel its fractional position rounds to.
void fillBoxGrid(QImage& image, const DrawnGrid& grid, int rows, int cols)
{
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const QPoint corner(grid.origin.x() + qRound(c * grid.pitch.width()),
                                grid.origin.y() + qRound(r * grid.pitch.height()));
            synthetic::fillBox(image, QRect(corner, grid.box.toSize()));
        }
    }
}

// A frame `margin` pixels around the drawn grid.
QRectF frameAround(const DrawnGrid& grid, int rows, int cols, int margin)
{
    const double width = (cols - 1) * grid.pitch.width() + grid.box.width();
    const double height = (rows - 1) * grid.pitch.height() + grid.box.height();
    return QRectF(grid.origin.x() - margin, grid.origin.y() - margin, width + 2 * margin, height + 2 * margin);
}

// Values no check writes: a refused check must leave them as they are.
const OptionGridParams untouched{1, 2, 3, 4, 5, 6};

bool sameGrid(const OptionGridParams& a, const OptionGridParams& b)
{
    return std::tie(a.x, a.y, a.boxWidth, a.boxHeight, a.columnPitch, a.rowPitch)
        == std::tie(b.x, b.y, b.boxWidth, b.boxHeight, b.columnPitch, b.rowPitch);
}

// The standard grid's size and pitches, brought back from 200 dpi by the
// factor `f`.
void expectStandardGrid(const OptionGridParams& grid, float f)
{
    EXPECT_DOUBLE_EQ(grid.boxWidth, 68.0 / double(f));
    EXPECT_DOUBLE_EQ(grid.boxHeight, 48.0 / double(f));
    EXPECT_DOUBLE_EQ(grid.columnPitch, standardColumnPitch / double(f));
    EXPECT_DOUBLE_EQ(grid.rowPitch, standardRowPitch / double(f));
}

// The factor by which getObjectPos brings a page to 200 dpi.
float factorTo200Dpi(const QPixmap& page)
{
    return scaleTo200Dpi(QPixmap(1, 1), page.size()).second;
}

// A row of option boxes with their letters, as printed on a sheet.
void drawQuestionRow(QImage& image, QPoint origin, int options)
{
    static const char* letters[] = {"A", "B", "C", "D"};
    for (int i = 0; i < options; ++i) {
        const QRect box(origin.x() + i * 60, origin.y(), 40, 20);
        synthetic::drawBox(image, box, 2);
        synthetic::drawText(image, box.adjusted(13, 1, 0, 0), QString::fromLatin1(letters[i % 4]), 16);
    }
}

// How a sheet prints its option boxes when it does not fill them: as
// outlines, outlines with the option's letter inside, or the letter
// between square brackets; or filled with the letter left white.
enum class BoxStyle { Outlined, Lettered, Bracketed, KnockedOut };

// A box of the given style on `rect`, strokes `pen` pixels wide centred on
// the box's edges.
void drawOptionBox(QImage& image, const QRect& rect, BoxStyle style, int pen, int option)
{
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    if (style == BoxStyle::Bracketed) {
        // On the box's edges as drawRect draws them.
        const int left = rect.x();
        const int top = rect.y();
        const int right = rect.x() + rect.width();
        const int bottom = rect.y() + rect.height();
        const int serif = rect.height() / 4;
        painter.drawPolyline(QPolygon({{left + serif, top}, {left, top}, {left, bottom}, {left + serif, bottom}}));
        painter.drawPolyline(
            QPolygon({{right - serif, top}, {right, top}, {right, bottom}, {right - serif, bottom}}));
    } else if (style == BoxStyle::KnockedOut) {
        painter.fillRect(rect, Qt::black);
        painter.setPen(Qt::white);
    } else {
        painter.drawRect(rect);
    }
    if (style == BoxStyle::Outlined)
        return;
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(rect.height() * 3 / 4);
    painter.setFont(font);
    painter.drawText(rect, Qt::AlignCenter, QString(QChar('A' + option % 4)));
}

// The standard 68 x 48 boxes on the standard pitches, the first one 20
// pixels into the region.
void expectStandardGridAt20(const OptionGridParams& grid)
{
    EXPECT_DOUBLE_EQ(grid.boxWidth, 68.0);
    EXPECT_DOUBLE_EQ(grid.boxHeight, 48.0);
    EXPECT_DOUBLE_EQ(grid.columnPitch, standardColumnPitch);
    EXPECT_DOUBLE_EQ(grid.rowPitch, standardRowPitch);
    EXPECT_NEAR(grid.x, 20, 1);
    EXPECT_NEAR(grid.y, 20, 1);
}

} // namespace

TEST(GetObjectSelectPosition, filledStandardBoxesSnapOntoTheStandardGrid)
{
    QImage image = synthetic::blankPage(1000, 900);
    const DrawnGrid drawn{QPoint(200, 150), QSizeF(68, 48), QSizeF(109.656, 80.583)};
    fillBoxGrid(image, drawn, 5, 4);
    const QRectF frame = frameAround(drawn, 5, 4, 20);
    cv::Mat region = cropPage(QPixmap::fromImage(image), frame);

    OptionGridParams grid;
    ASSERT_EQ(getObjectSelectPosition(region, 5, 4, grid), 0);
    expectStandardGridAt20(grid);

    // Outlined with their letters, measured on the middle of their
    // strokes, the same boxes snap just the same; filled with a white
    // letter, the ink beside the letter is no stroke to measure from.
    for (const BoxStyle style : {BoxStyle::Lettered, BoxStyle::KnockedOut}) {
        SCOPED_TRACE(int(style));
        QImage printed = synthetic::blankPage(1000, 900);
        for (int r = 0; r < 5; ++r) {
            for (int c = 0; c < 4; ++c) {
                const QPoint step(qRound(c * drawn.pitch.width()), qRound(r * drawn.pitch.height()));
                drawOptionBox(printed, QRect(drawn.origin + step, drawn.box.toSize()), style, 2, c);
            }
        }
        region = cropPage(QPixmap::fromImage(printed), frame);
        ASSERT_EQ(getObjectSelectPosition(region, 5, 4, grid), 0);
        expectStandardGridAt20(grid);
    }

    // Wider boxes at the standard pitch: the rows snap, the columns are
    // measured as they are.
    QImage wide = synthetic::blankPage(900, 700);
    const DrawnGrid broad{QPoint(60, 60), QSizeF(74, 48), QSizeF(109.656, 80.583)};
    fillBoxGrid(wide, broad, 4, 4);
    region = cropPage(QPixmap::fromImage(wide), frameAround(broad, 4, 4, 12));
    ASSERT_EQ(getObjectSelectPosition(region, 4, 4, grid), 0);
    EXPECT_DOUBLE_EQ(grid.rowPitch, standardRowPitch);
    EXPECT_DOUBLE_EQ(grid.boxHeight, 48.0);
    EXPECT_NEAR(grid.boxWidth, 74, 2);
    EXPECT_NE(grid.columnPitch, standardColumnPitch);
    EXPECT_NEAR(grid.columnPitch, 109.656, 2);
}

TEST(GetObjectSelectPosition, rowsThatCannotBeMeasuredAreDerivedFromTheRegion)
{
    QImage image = synthetic::blankPage(800, 600);
    const DrawnGrid drawn{QPoint(100, 100), QSizeF(68, 48), QSizeF(109.656, 80.583)};
    fillBoxGrid(image, drawn, 2, 4);
    const QPixmap page = QPixmap::fromImage(image);

    // Five rows asked for, two printed: no row height or pitch measured.
    cv::Mat region = cropPage(page, frameAround(drawn, 2, 4, 20));
    const int height = region.rows;
    OptionGridParams grid;
    ASSERT_EQ(getObjectSelectPosition(region, 5, 4, grid), 0);
    EXPECT_DOUBLE_EQ(grid.boxHeight, 7.0);
    EXPECT_DOUBLE_EQ(grid.rowPitch, ((height - 8) - 7.0) / 5 + 1);
    EXPECT_DOUBLE_EQ(grid.boxWidth, 68.0); // the columns are still measured
    EXPECT_NEAR(grid.y, 20, 1);

    // A single row has no pitch to measure; the grid still gets a usable one.
    region = cropPage(page, frameAround(drawn, 1, 4, 20));
    ASSERT_EQ(getObjectSelectPosition(region, 1, 4, grid), 0);
    EXPECT_TRUE(std::isfinite(grid.rowPitch));
    EXPECT_GT(grid.rowPitch, 0.0);
    EXPECT_NEAR(grid.boxHeight, 48, 2);
    EXPECT_NEAR(grid.y, 20, 1);
}

TEST(GetObjectPos, measuresAt200DpiAndReturnsPagePixels)
{
    // A 150-dpi A4 page, drawn at its own resolution: the measurement,
    // which always runs at 200 dpi, sees standard boxes.
    QImage image = synthetic::blankPage(1240, 1754);
    const QPixmap probe = QPixmap::fromImage(image);
    const float f = factorTo200Dpi(probe);
    ASSERT_NEAR(f, 4.0f / 3.0f, 1e-3);
    const DrawnGrid drawn{QPoint(qRound(120 / f), qRound(100 / f)), QSizeF(68 / f, 48 / f),
                          QSizeF(109.656 / f, 80.583 / f)};
    fillBoxGrid(image, drawn, 5, 4);
    const QPixmap page = QPixmap::fromImage(image);
    const QRectF frame = frameAround(drawn, 5, 4, 15);

    OptionGridParams grid;
    ASSERT_EQ(getObjectPos(page, frame, 5, 4, grid), 0);
    expectStandardGrid(grid, f);
    EXPECT_NEAR(grid.x, 15, 1);
    EXPECT_NEAR(grid.y, 15, 1);
}

TEST(GetObjectPos, boxesOnA200DpiPageLieWithinTwoPixels)
{
    // 200-dpi scans, A4 portrait and A3 landscape: measured as they lie,
    // so standard boxes snap onto the standard grid.
    for (const QSize size : {QSize(1654, 2339), QSize(3307, 2339)}) {
        SCOPED_TRACE(size.width());
        QImage image = synthetic::blankPage(size.width(), size.height());
        const DrawnGrid standard{QPoint(150, 120), QSizeF(68, 48), QSizeF(109.656, 80.583)};
        const DrawnGrid other{QPoint(800, 200), QSizeF(44, 30), QSizeF(70.5, 52.25)};
        fillBoxGrid(image, standard, 6, 4);
        fillBoxGrid(image, other, 8, 5);
        const QPixmap page = QPixmap::fromImage(image);

        OptionGridParams grid;
        ASSERT_EQ(getObjectPos(page, frameAround(standard, 6, 4, 20), 6, 4, grid), 0);
        expectStandardGrid(grid, 1.0f);
        EXPECT_NEAR(grid.x, 20, 2);
        EXPECT_NEAR(grid.y, 20, 2);

        ASSERT_EQ(getObjectPos(page, frameAround(other, 8, 5, 20), 8, 5, grid), 0);
        EXPECT_NEAR(grid.x, 20, 2);
        EXPECT_NEAR(grid.y, 20, 2);
        EXPECT_NEAR(grid.boxWidth, other.box.width(), 2);
        EXPECT_NEAR(grid.boxHeight, other.box.height(), 2);
        EXPECT_NEAR(grid.columnPitch, other.pitch.width(), 2);
        EXPECT_NEAR(grid.rowPitch, other.pitch.height(), 2);
    }
}

// The objective step lays out every box from the first and the two
// pitches. On a block of twenty questions of four options whose pitches
// are no whole number of pixels, on 200- and 300-dpi pages framed loosely
// or tightly, the first box lies within 3 pixels of the drawn one, and
// the last keeps to its drawn place from the first within 2: the pitches
// do not add up an error over the columns and rows.
TEST(GetObjectPos, theBoxesOfATwentyByFourBlockDoNotDriftFromTheFirst)
{
    constexpr int rows = 20;
    constexpr int cols = 4;
    for (const double dpi : {200.0, 300.0}) {
        const double s = dpi / 200;
        QImage image = synthetic::blankPage(qRound(210 * dpi / 25.4), qRound(297 * dpi / 25.4)); // A4
        const DrawnGrid drawn{QPoint(qRound(150 * s), qRound(120 * s)), QSizeF(44 * s, 25 * s),
                              QSizeF(70.9 * s, 40.6 * s)};
        fillBoxGrid(image, drawn, rows, cols);
        const QPixmap page = QPixmap::fromImage(image);
        const auto drawnBox = [&](int r, int c) {
            return QRectF(drawn.origin + QPoint(qRound(c * drawn.pitch.width()), qRound(r * drawn.pitch.height())),
                          drawn.box.toSize());
        };
        for (const int margin : {5, 15, 25}) {
            SCOPED_TRACE(QStringLiteral("%1 dpi, framed %2 px out").arg(dpi).arg(margin).toStdString());
            const QRectF frame = frameAround(drawn, rows, cols, margin);
            OptionGridParams grid;
            ASSERT_EQ(getObjectPos(page, frame, rows, cols, grid), 0);

            const QRectF first(frame.toRect().topLeft() + QPointF(grid.x, grid.y), QSizeF(grid.boxWidth, grid.boxHeight));
            EXPECT_NEAR(first.left(), drawnBox(0, 0).left(), 3);
            EXPECT_NEAR(first.top(), drawnBox(0, 0).top(), 3);
            EXPECT_NEAR(first.right(), drawnBox(0, 0).right(), 3);
            EXPECT_NEAR(first.bottom(), drawnBox(0, 0).bottom(), 3);

            // The drift grows with the column and row: the last box shows it.
            const QPointF drawnDrift = drawnBox(rows - 1, cols - 1).topLeft() - drawnBox(0, 0).topLeft();
            EXPECT_NEAR((cols - 1) * grid.columnPitch, drawnDrift.x(), 2);
            EXPECT_NEAR((rows - 1) * grid.rowPitch, drawnDrift.y(), 2);
        }
    }
}

// Sheets print their option boxes as outlines far more often than filled.
// Blocks of 5 and of 20 questions, empty outlines, outlines with their
// letter and bracketed letters, on 200- and 300-dpi pages framed 5 to 25
// pixels out: every box of the laid-out grid lies within 3 pixels of the
// drawn one. Measured as separate rows, the top and bottom edges of an
// outline put the grid over two rows of boxes.
TEST(GetObjectPos, outlinedBoxesAreLaidOutOnTheirDrawnPlaces)
{
    struct Block
    {
        int rows;
        QSizeF box;
        QSizeF pitch;
    };
    // The operator's block of 60 x 30 boxes, and a long one whose pitches
    // are no whole number of pixels.
    const Block blocks[] = {{5, QSizeF(60, 30), QSizeF(90, 60)}, {20, QSizeF(50, 26), QSizeF(76.3, 41.7)}};
    constexpr int cols = 4;
    for (const double dpi : {200.0, 300.0}) {
        const double s = dpi / 200;
        for (const BoxStyle style : {BoxStyle::Outlined, BoxStyle::Lettered, BoxStyle::Bracketed}) {
            const int width = qRound(210 * dpi / 25.4); // A4
            QImage image = synthetic::blankPage(width, width);
            QVector<QRect> drawn[2];
            for (int b = 0; b < 2; ++b) {
                const QPoint origin(qRound((150 + 500 * b) * s), qRound(150 * s));
                for (int r = 0; r < blocks[b].rows; ++r) {
                    for (int c = 0; c < cols; ++c) {
                        const QPoint step(qRound(c * blocks[b].pitch.width() * s),
                                          qRound(r * blocks[b].pitch.height() * s));
                        drawn[b].append(QRect(origin + step, (blocks[b].box * s).toSize()));
                        drawOptionBox(image, drawn[b].back(), style, qRound(2 * s), c);
                    }
                }
            }
            const QPixmap page = QPixmap::fromImage(image);
            for (int b = 0; b < 2; ++b) {
                const int rows = blocks[b].rows;
                const QRect extent = drawn[b].front().united(drawn[b].back());
                for (const int margin : {5, 15, 25}) {
                    SCOPED_TRACE(QStringLiteral("%1 dpi, style %2, %3 rows, framed %4 px out")
                                     .arg(dpi)
                                     .arg(int(style))
                                     .arg(rows)
                                     .arg(margin)
                                     .toStdString());
                    const QRectF frame = QRectF(extent).adjusted(-margin, -margin, margin, margin);
                    OptionGridParams grid;
                    ASSERT_EQ(getObjectPos(page, frame, rows, cols, grid), 0);
                    const QPointF origin = frame.toRect().topLeft() + QPointF(grid.x, grid.y);
                    double worst = 0;
                    for (int r = 0; r < rows; ++r) {
                        for (int c = 0; c < cols; ++c) {
                            const QRectF laid(origin + QPointF(c * grid.columnPitch, r * grid.rowPitch),
                                              QSizeF(grid.boxWidth, grid.boxHeight));
                            const QRectF box = drawn[b][r * cols + c];
                            for (const double off : {laid.left() - box.left(), laid.top() - box.top(),
                                                     laid.right() - box.right(), laid.bottom() - box.bottom()})
                                worst = std::max(worst, std::abs(off));
                        }
                    }
                    EXPECT_LE(worst, 3.0);
                }
            }
        }
    }
}

// A frame is refused only where the print says so, each time for its
// reason, and the grid is left as it was.
TEST(GetObjectPos, framesThePrintSaysNoToAreRefusedForTheirReason)
{
    // A pale tint is content for the blank test but no box.
    QImage image = synthetic::blankPage(1654, 1200);
    synthetic::fillBox(image, QRect(150, 150, 200, 150), QColor(250, 250, 250));
    const DrawnGrid standard{QPoint(700, 200), QSizeF(68, 48), QSizeF(109.656, 80.583)};
    fillBoxGrid(image, standard, 6, 4);
    const QPixmap page = QPixmap::fromImage(image);
    const QRectF block = frameAround(standard, 6, 4, 20);
    struct Refusal
    {
        QRectF frame;
        int rows;
        int cols;
        int code;
    } const refusals[] = {
        {QRectF(100, 100, 300, 300), 2, 2, unmeasurableGrid},
        {block, 6, 3, gridCountDiffers}, // the print holds a fourth column
        {block, 5, 4, gridCountDiffers},
        {block.adjusted(0, 0, 0, 100), 7, 4, gridOffPrint}, // a seventh row on paper
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(r.rows).arg(r.cols).toStdString());
        OptionGridParams grid = untouched;
        EXPECT_EQ(getObjectPos(page, r.frame, r.rows, r.cols, grid), r.code);
        EXPECT_TRUE(sameGrid(grid, untouched));
    }
}

TEST(CheckObjectiveArea, countsQuestionRowsAndOptionsByTheFramesShape)
{
    QImage image = synthetic::blankPage(900, 700);
    for (int q = 0; q < 6; ++q)
        drawQuestionRow(image, QPoint(60, 60 + 40 * q), 4);
    const QPixmap page = QPixmap::fromImage(image);

    // Six rows of four options in a frame 1.5 times as wide as high.
    int questions = 0;
    int options = 0;
    ASSERT_EQ(checkObjectiveArea(page, QRectF(40, 40, 390, 260), questions, options), 0);
    EXPECT_EQ(questions, 6);
    EXPECT_EQ(options, 4);

    // Tall frames hold the options under each other: half or a third of
    // the bands.
    ASSERT_EQ(checkObjectiveArea(page, QRectF(40, 40, 130, 260), questions, options), 0);
    EXPECT_EQ(questions, 6);
    EXPECT_EQ(options, 3);
    ASSERT_EQ(checkObjectiveArea(page, QRectF(40, 40, 208, 260), questions, options), 0);
    EXPECT_EQ(options, 2);
}

TEST(OptionGridChecks, blankFramesAndEmptyImagesWriteNothing)
{
    QImage image = synthetic::blankPage(600, 500);
    fillBoxGrid(image, DrawnGrid{QPoint(300, 300), QSizeF(40, 30), QSizeF(60, 45)}, 2, 2);
    const QPixmap page = QPixmap::fromImage(image);
    const QRectF blank(20, 20, 200, 150);

    OptionGridParams grid = untouched;
    EXPECT_EQ(getObjectPos(page, blank, 2, 2, grid), 1);
    int questions = -7;
    int options = -8;
    EXPECT_EQ(checkObjectiveArea(page, blank, questions, options), 1);
    EXPECT_EQ(questions, -7);
    EXPECT_EQ(options, -8);

    cv::Mat empty;
    EXPECT_EQ(getObjectSelectPosition(empty, 3, 4, grid), 1);
    EXPECT_TRUE(sameGrid(grid, untouched));
}
