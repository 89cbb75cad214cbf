#include "algorithms/examnumber.h"

#include "tests/algorithms/synthetic.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>

#include <cmath>
#include <tuple>

namespace {

// An exam-number grid at `dpi`: a ruled frame of `columns` digit columns
// 5.8 mm wide, each holding the bubbles of the digits 0 to 9 under each
// other 4 mm apart, 3.3 x 2 mm with the digit printed inside. Neither pitch
// is a whole number of pixels, as on a scanned sheet.
struct ExamGrid
{
    static constexpr int rows = 10;

    QPoint origin; // top-left corner of the frame
    int columns = 10;
    double dpi = 200;

    double px(double mm) const { return mm * dpi / 25.4; }
    double cellWidth() const { return px(5.8); }
    double rowPitch() const { return px(4.0); }
    double topMargin() const { return px(1.8); }
    double bubbleWidth() const { return px(3.3); }
    double bubbleHeight() const { return px(2.0); }

    int width() const { return qRound(columns * cellWidth()); }
    int height() const { return qRound(2 * topMargin() + (rows - 1) * rowPitch() + bubbleHeight()); }
    // The ink extent of bubble (row, column).
    QRectF bubble(int row, int column) const
    {
        return QRectF(origin.x() + column * cellWidth() + (cellWidth() - bubbleWidth()) / 2,
                      origin.y() + topMargin() + row * rowPitch(), bubbleWidth(), bubbleHeight());
    }
    QRectF frame(double margin) const
    {
        return QRectF(origin.x() - margin, origin.y() - margin, width() + 2 * margin, height() + 2 * margin);
    }
};

void drawBubbles(QImage& image, const ExamGrid& grid, int rows = ExamGrid::rows)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double pen = grid.px(0.25);
    painter.setPen(QPen(Qt::black, pen));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(qRound(grid.bubbleHeight() * 0.7));
    painter.setFont(font);
    for (int c = 0; c < grid.columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            // The pen straddles the outline: inset by half of it so the ink
            // covers exactly the bubble's rectangle.
            const QRectF bubble = grid.bubble(r, c).adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
            painter.drawEllipse(bubble);
            painter.drawText(bubble, Qt::AlignCenter, QString::number(r));
        }
    }
}

void drawExamGrid(QImage& image, const ExamGrid& grid)
{
    synthetic::drawBox(image, QRect(grid.origin, QSize(grid.width(), grid.height())), qRound(grid.px(0.4)));
    for (int c = 1; c < grid.columns; ++c) {
        const double x = grid.origin.x() + c * grid.cellWidth();
        synthetic::drawLine(image, QPointF(x, grid.origin.y()), QPointF(x, grid.origin.y() + grid.height()),
                            qRound(grid.px(0.25)));
    }
    drawBubbles(image, grid);
}

// An exam-number table as printed sheets carry it, drawn at `dpi`: a ruled
// frame with a row of write-in boxes, and under it ten rows of light
// outlined bubbles with their digits printed inside, one column per
// digit. Sizes in millimetres.
struct PrintedTable
{
    double dpi = 200;
    int columns = 7;
    QPointF origin{80, 80};
    double shade = 255; // grey of every other column's background
    bool columnRules = true; // ruled lines between the write-in boxes

    static constexpr double columnPitchMm = 6.0;
    static constexpr double rowPitchMm = 4.3;
    static constexpr double bubbleWidthMm = 4.2;
    static constexpr double bubbleHeightMm = 3.4;
    static constexpr double headerMm = 7.0;

    double px(double mm) const { return mm * dpi / 25.4; }
    QRectF table() const
    {
        return QRectF(origin, QSizeF(columns * px(columnPitchMm), px(headerMm) + 10 * px(rowPitchMm) + px(1.5)));
    }
    // The ink extent of bubble (row, column).
    QRectF bubble(int row, int column) const
    {
        return QRectF(origin.x() + column * px(columnPitchMm) + px(columnPitchMm - bubbleWidthMm) / 2,
                      origin.y() + px(headerMm) + px(0.75) + row * px(rowPitchMm), px(bubbleWidthMm),
                      px(bubbleHeightMm));
    }
    QImage page(const QSize& size) const
    {
        QImage image = synthetic::blankPage(size.width(), size.height());
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF outline = table();
        const double header = px(headerMm);
        for (int c = 0; c < columns; c += 2) {
            painter.fillRect(QRectF(outline.left() + c * px(columnPitchMm), outline.top() + header, px(columnPitchMm),
                                    outline.height() - header),
                             QColor::fromRgbF(shade / 255, shade / 255, shade / 255));
        }
        painter.setPen(QPen(Qt::black, px(0.25)));
        painter.drawRect(outline);
        painter.drawLine(QPointF(outline.left(), outline.top() + header), QPointF(outline.right(), outline.top() + header));
        for (int c = 1; columnRules && c < columns; ++c) {
            const double x = outline.left() + c * px(columnPitchMm);
            painter.drawLine(QPointF(x, outline.top()), QPointF(x, outline.top() + header));
        }
        // Print in a light red, as many sheets are printed.
        const double pen = px(0.2);
        painter.setPen(QPen(QColor(230, 110, 130), pen));
        QFont font(QStringLiteral("Noto Sans CJK SC"));
        font.setPixelSize(qRound(px(bubbleHeightMm) * 0.75));
        painter.setFont(font);
        for (int c = 0; c < columns; ++c) {
            for (int r = 0; r < 10; ++r) {
                // Inset by half the pen, so the ink covers the bubble exactly.
                const QRectF inside = bubble(r, c).adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
                painter.drawEllipse(inside);
                painter.drawText(inside, Qt::AlignCenter, QString::number(r));
            }
        }
        return image;
    }
    // The measured grid, moved to page pixels, against the drawn one.
    // The measured grid, moved to page pixels, against the drawn one: sizes
    // and pitches within 2 pixels, the position within 3 (the light edges
    // of the print may fall either side of the threshold).
    void expectGrid(const OptionGridParams& grid, const QRectF& frame) const
    {
        const QRectF first = bubble(0, 0);
        const QPoint origin = frame.toRect().topLeft();
        EXPECT_NEAR(grid.x + origin.x(), first.x(), 3);
        EXPECT_NEAR(grid.y + origin.y(), first.y(), 3);
        EXPECT_NEAR(grid.boxWidth, first.width(), 2);
        EXPECT_NEAR(grid.boxHeight, first.height(), 2);
        EXPECT_NEAR(grid.columnPitch, px(columnPitchMm), 2);
        EXPECT_NEAR(grid.rowPitch, px(rowPitchMm), 2);
    }
};

} // namespace

class OutlinedBubbles : public testing::TestWithParam<std::tuple<double, int>>
{
};

// Between their arcs outlined bubbles hold little ink besides the digit,
// so a bubble row can show as a long stretch of rows and splinters beside
// it; the rows must still measure as the bubbles are.
TEST_P(OutlinedBubbles, measureAsPrinted)
{
    PrintedTable printed;
    std::tie(printed.dpi, printed.columns) = GetParam();
    printed.origin = QPointF(printed.px(10), printed.px(10));
    const QImage image = printed.page(QSize(qRound(printed.px(80)), qRound(printed.px(90))));
    const QRectF frame = printed.table().adjusted(-printed.px(2), -printed.px(2), printed.px(2), printed.px(2));

    OptionGridParams grid;
    ASSERT_EQ(getStuNoPos(QPixmap::fromImage(image), frame, 10, printed.columns, false, grid), 0);
    printed.expectGrid(grid, frame);
}

INSTANTIATE_TEST_SUITE_P(At200And300Dpi, OutlinedBubbles,
                         testing::Combine(testing::Values(200.0, 300.0), testing::Values(6, 7, 9)));

// An operator frames to about a millimetre. On a 200-dpi A4 page whose
// seven digit columns are told apart by shading, ruled only round the
// outside, every frame whose sides lie up to 8 pixels inside or outside
// the rules gives the same grid.
TEST(GetStuNoPos, theGridDoesNotMoveWithTheFramesEdges)
{
    PrintedTable printed;
    printed.origin = QPointF(900, 400);
    printed.shade = 232;
    printed.columnRules = false;
    const QPixmap page = QPixmap::fromImage(printed.page(QSize(1654, 2339)));
    const QRectF table = printed.table();

    // A frame 4 pixels round the rules measures the grid as printed ...
    const QRectF loose = table.adjusted(-4, -4, 4, 4);
    OptionGridParams reference;
    ASSERT_EQ(getStuNoPos(page, loose, 10, printed.columns, false, reference), 0);
    printed.expectGrid(reference, loose);
    const QPointF referenceOrigin = QPointF(loose.toRect().topLeft()) + QPointF(reference.x, reference.y);

    // ... and every frame with one side moved gives the same grid.
    for (int side = 0; side < 4; ++side) {
        for (int offset = -8; offset <= 8; offset += side < 2 ? 1 : 2) {
            SCOPED_TRACE(QStringLiteral("side %1, %2 px outward").arg(side).arg(offset).toStdString());
            QRectF frame = loose;
            switch (side) {
            case 0: frame.setLeft(table.left() - offset); break;
            case 1: frame.setRight(table.right() + offset); break;
            case 2: frame.setTop(table.top() - offset); break;
            default: frame.setBottom(table.bottom() + offset); break;
            }
            OptionGridParams grid;
            ASSERT_EQ(getStuNoPos(page, frame, 10, printed.columns, false, grid), 0);
            const QPointF origin = QPointF(frame.toRect().topLeft()) + QPointF(grid.x, grid.y);
            EXPECT_NEAR(origin.x(), referenceOrigin.x(), 2);
            EXPECT_NEAR(origin.y(), referenceOrigin.y(), 2);
            EXPECT_NEAR(grid.boxWidth, reference.boxWidth, 2);
            EXPECT_NEAR(grid.boxHeight, reference.boxHeight, 2);
            EXPECT_NEAR(grid.columnPitch, reference.columnPitch, 2);
            EXPECT_NEAR(grid.rowPitch, reference.rowPitch, 2);
        }
    }
}

// Digit columns, dots per inch, and how far outside the grid the operator
// framed it, in pixels.
class ExamNumberColumns : public testing::TestWithParam<std::tuple<int, double, int>>
{
};

// The step lays out every box from the first box and the two pitches, so
// a pitch off by a fraction of a pixel moves the last column by that
// fraction times the columns: every side of every laid-out box must lie
// within 3 pixels of its bubble's.
TEST_P(ExamNumberColumns, aRuledGridIsCountedAndEveryBubbleLaidOut)
{
    ExamGrid grid;
    int margin = 0;
    std::tie(grid.columns, grid.dpi, margin) = GetParam();
    grid.origin = QPoint(qRound(grid.px(15)), qRound(grid.px(11)));
    QImage image = synthetic::blankPage(qRound(grid.px(150)), qRound(grid.px(90)));
    drawExamGrid(image, grid);
    const QPixmap page = QPixmap::fromImage(image);
    const QRectF frame = grid.frame(margin);

    int count = 0;
    ASSERT_EQ(countDigitColumns(page, frame, count), 0);
    EXPECT_EQ(count, grid.columns);

    OptionGridParams measured;
    ASSERT_EQ(getStuNoPos(page, frame, ExamGrid::rows, grid.columns, false, measured), 0);
    const QPointF origin = frame.toRect().topLeft();
    double worst = 0;
    QString where;
    for (int r = 0; r < ExamGrid::rows; ++r) {
        for (int c = 0; c < grid.columns; ++c) {
            const QRectF laid(origin + QPointF(measured.x + c * measured.columnPitch, measured.y + r * measured.rowPitch),
                              QSizeF(measured.boxWidth, measured.boxHeight));
            const QRectF drawn = grid.bubble(r, c);
            for (const double miss : {laid.left() - drawn.left(), laid.top() - drawn.top(),
                                      laid.right() - drawn.right(), laid.bottom() - drawn.bottom()}) {
                if (std::abs(miss) > worst) {
                    worst = std::abs(miss);
                    where = QStringLiteral("row %1, column %2 off by %3").arg(r).arg(c).arg(miss);
                }
            }
        }
    }

    EXPECT_LE(worst, 3.0) << where.toStdString();
}

INSTANTIATE_TEST_SUITE_P(SixToFourteen, ExamNumberColumns,
                         testing::Combine(testing::Range(6, 15), testing::Values(200.0), testing::Values(15)));
INSTANTIATE_TEST_SUITE_P(FramedLooseOrTightAt200And300Dpi, ExamNumberColumns,
                         testing::Combine(testing::Values(9, 12), testing::Values(200.0, 300.0),
                                          testing::Values(5, 12, 25)));

// A scanned sheet lies a little askew: its ruling lines are nearly, not
// exactly, vertical, and drift by a few pixels over the grid's height.
TEST(CountDigitColumns, aTiltedPageIsCounted)
{
    for (const double dpi : {100.0, 200.0, 300.0}) {
        for (const double degrees : {-1.0, -0.8, -0.5, 0.5, 0.8, 1.0}) {
            SCOPED_TRACE(QStringLiteral("%1 dpi, %2 degrees").arg(dpi).arg(degrees).toStdString());
            ExamGrid grid;
            grid.dpi = dpi;
            grid.origin = QPoint(qRound(grid.px(15)), qRound(grid.px(11)));
            QImage level = synthetic::blankPage(qRound(grid.px(150)), qRound(grid.px(90)));
            drawExamGrid(level, grid);
            QImage image = synthetic::blankPage(level.width(), level.height());
            QPainter painter(&image);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            const QPointF centre = grid.frame(0).center();
            painter.translate(centre);
            painter.rotate(degrees);
            painter.translate(-centre);
            painter.drawImage(0, 0, level);
            painter.end();

            int count = 0;
            ASSERT_EQ(countDigitColumns(QPixmap::fromImage(image), grid.frame(grid.px(2)), count), 0);
            EXPECT_EQ(count, grid.columns);
        }
    }
}

// Bubbles without ruling lines are counted by their own columns, not by
// the rules a table does not print.
TEST(CountDigitColumns, bubblesWithoutRulingLinesAreCountedByTheirColumns)
{
    QImage image = synthetic::blankPage(800, 500);
    const ExamGrid grid{QPoint(100, 60), 8};
    drawBubbles(image, grid);
    int count = 99;
    ASSERT_EQ(countDigitColumns(QPixmap::fromImage(image), grid.frame(10), count), 0);
    EXPECT_EQ(count, 8);
}

TEST(GetStuNoPos, bubblesWithoutFrameLinesThatHoldNoGridAreRefused)
{
    // One row of bubbles has no long vertical lines to take for a frame,
    // and the standard grid fitted instead would lay nine rows on paper.
    const ExamGrid grid{QPoint(100, 60), 4};
    QImage image = synthetic::blankPage(600, 500);
    drawBubbles(image, grid, 1);
    const QPixmap page = QPixmap::fromImage(image);
    const QRectF frame = grid.frame(10).adjusted(-70, 0, 70, 0); // room for four standard columns

    OptionGridParams ticket;
    EXPECT_EQ(getTicketNoPosition(synthetic::toGrey(image.copy(frame.toRect())), ExamGrid::rows, 4, ticket), 1);

    OptionGridParams measured;
    measured.x = 5;
    EXPECT_EQ(getStuNoPos(page, frame, ExamGrid::rows, 4, false, measured), unmeasurableGrid);
    EXPECT_DOUBLE_EQ(measured.x, 5.0);
}

TEST(ExamNumberChecks, blankFramesWriteNothing)
{
    const QPixmap page = QPixmap::fromImage(synthetic::blankPage(400, 300));
    int count = 42;
    EXPECT_EQ(countDigitColumns(page, QRectF(10, 10, 200, 200), count), 1);
    EXPECT_EQ(count, 42);

    OptionGridParams grid;
    grid.x = 5;
    EXPECT_EQ(getStuNoPos(page, QRectF(20, 20, 200, 200), 10, 6, false, grid), 1);
    EXPECT_DOUBLE_EQ(grid.x, 5.0);
}
