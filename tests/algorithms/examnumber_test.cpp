#include "algorithms/examnumber.h"

#include "tests/algorithms/synthetic.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>

namespace {

// An exam-number grid at 200 dpi: a ruled frame of `columns` digit columns
// 5.8 mm wide, each holding the bubbles of the digits 0 to 9 under each
// other, 3.3 x 2 mm with the digit printed inside.
struct ExamGrid
{
    static constexpr int cellWidth = 46;
    static constexpr int rows = 10;
    static constexpr double rowPitch = 31;
    static constexpr int topMargin = 14;
    static constexpr int bubbleWidth = 26;
    static constexpr int bubbleHeight = 16;

    QPoint origin; // top-left corner of the frame
    int columns = 10;

    int width() const { return columns * cellWidth; }
    int height() const { return topMargin * 2 + qRound((rows - 1) * rowPitch) + bubbleHeight; }
    // The ink extent of the first bubble.
    QRect firstBubble() const
    {
        return QRect(origin.x() + (cellWidth - bubbleWidth) / 2, origin.y() + topMargin, bubbleWidth, bubbleHeight);
    }
    QRectF frame(int margin) const
    {
        return QRectF(origin.x() - margin, origin.y() - margin, width() + 2 * margin, height() + 2 * margin);
    }
};

void drawBubbles(QImage& image, const ExamGrid& grid, int rows = ExamGrid::rows)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(ExamGrid::bubbleHeight - 5);
    painter.setFont(font);
    const QRect first = grid.firstBubble();
    for (int c = 0; c < grid.columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            // The pen straddles the outline: inset by half of it so the ink
            // covers exactly the bubble's rectangle.
            const QRectF bubble(first.x() + c * ExamGrid::cellWidth + 1, first.y() + qRound(r * ExamGrid::rowPitch) + 1,
                                ExamGrid::bubbleWidth - 2, ExamGrid::bubbleHeight - 2);
            painter.drawEllipse(bubble);
            painter.drawText(bubble, Qt::AlignCenter, QString::number(r));
        }
    }
}

void drawExamGrid(QImage& image, const ExamGrid& grid)
{
    synthetic::drawBox(image, QRect(grid.origin, QSize(grid.width(), grid.height())), 3);
    for (int c = 1; c < grid.columns; ++c) {
        const int x = grid.origin.x() + c * ExamGrid::cellWidth;
        synthetic::drawLine(image, QPointF(x, grid.origin.y()), QPointF(x, grid.origin.y() + grid.height()), 2);
    }
    drawBubbles(image, grid);
}

} // namespace

class ExamNumberColumns : public testing::TestWithParam<int>
{
};

TEST_P(ExamNumberColumns, aRuledGridIsCountedAndItsBubblesMeasured)
{
    const ExamGrid grid{QPoint(120, 90), GetParam()};
    QImage image = synthetic::blankPage(1200, 700);
    drawExamGrid(image, grid);
    const QPixmap page = QPixmap::fromImage(image);
    const QRectF frame = grid.frame(15);

    int count = 0;
    ASSERT_EQ(countDigitColumns(page, frame, count), 0);
    EXPECT_EQ(count, grid.columns);

    OptionGridParams measured;
    ASSERT_EQ(getStuNoPos(page, frame, ExamGrid::rows, grid.columns, false, measured), 0);
    const QRect first = grid.firstBubble().translated(-frame.topLeft().toPoint());
    EXPECT_NEAR(measured.x, first.x(), 3);
    EXPECT_NEAR(measured.y, first.y(), 3);
    EXPECT_NEAR(measured.boxWidth, ExamGrid::bubbleWidth, 2);
    EXPECT_NEAR(measured.boxHeight, ExamGrid::bubbleHeight, 2);
    EXPECT_NEAR(measured.columnPitch, ExamGrid::cellWidth, 2);
    EXPECT_NEAR(measured.rowPitch, ExamGrid::rowPitch, 2);
}

INSTANTIATE_TEST_SUITE_P(SixToFourteen, ExamNumberColumns, testing::Range(6, 15));

TEST(CountDigitColumns, bubblesWithoutRulingLinesGiveNoCount)
{
    QImage image = synthetic::blankPage(800, 500);
    const ExamGrid grid{QPoint(100, 60), 8};
    drawBubbles(image, grid);
    int count = 99;
    ASSERT_EQ(countDigitColumns(QPixmap::fromImage(image), grid.frame(10), count), 0);
    EXPECT_EQ(count, -1);
}

TEST(GetStuNoPos, bubblesWithoutFrameLinesGetTheStandardGridFitted)
{
    // One row of bubbles has no long vertical lines to take for a frame.
    const ExamGrid grid{QPoint(100, 60), 4};
    QImage image = synthetic::blankPage(600, 500);
    drawBubbles(image, grid, 1);
    const QPixmap page = QPixmap::fromImage(image);
    const QRectF frame = grid.frame(10).adjusted(-70, 0, 70, 0); // room for four standard columns

    OptionGridParams ticket;
    EXPECT_EQ(getTicketNoPosition(synthetic::toGrey(image.copy(frame.toRect())), ExamGrid::rows, 4, ticket), 1);

    OptionGridParams measured;
    ASSERT_EQ(getStuNoPos(page, frame, ExamGrid::rows, 4, false, measured), 0);
    EXPECT_DOUBLE_EQ(measured.boxWidth, 68.0);
    EXPECT_DOUBLE_EQ(measured.columnPitch, double(109.656f));
    // Ten standard rows do not fit: the rows come closer until they do.
    EXPECT_LT(measured.rowPitch, 80.583);
    EXPECT_GE(measured.x, 0.0);
    EXPECT_GE(measured.y, 0.0);
    EXPECT_LE(measured.x + 3 * measured.columnPitch, frame.width());
    EXPECT_LE(measured.y + 9 * measured.rowPitch, frame.height());
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
