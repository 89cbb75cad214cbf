#include "algorithms/optiongridfit.h"

#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Black image with white horizontal bands [start, end) across its width.
cv::Mat bands(int width, int height, std::initializer_list<std::pair<int, int>> rows)
{
    cv::Mat image(height, width, CV_8UC1, cv::Scalar(0));
    for (const auto& band : rows)
        image.rowRange(band.first, band.second).setTo(255);
    return image;
}

} // namespace

TEST(FitOptionGrid, derivesUnsetValuesAndShrinksInStepsOfTwo)
{
    OptionGridParams unset;
    fitOptionGrid(10, 4, unset, cv::Rect(0, 0, 400, 800));
    EXPECT_DOUBLE_EQ(unset.boxWidth, 11.0);
    EXPECT_DOUBLE_EQ(unset.boxHeight, 7.0);
    EXPECT_DOUBLE_EQ(unset.rowPitch, 79.5);     // (800 - 8 - 7) / 10 + 1
    EXPECT_DOUBLE_EQ(unset.columnPitch, 96.25); // (400 - 8 - 11) / 4 + 1

    OptionGridParams grid;
    grid.x = 150;
    grid.y = 30;
    grid.boxWidth = 60;
    grid.boxHeight = 40;
    grid.columnPitch = 100;
    grid.rowPitch = 50;
    fitOptionGrid(3, 4, grid, cv::Rect(0, 0, 400, 100));
    EXPECT_DOUBLE_EQ(grid.rowPitch, 46.0); // (3 - 1) x 46 + 8 = 100
    EXPECT_DOUBLE_EQ(grid.columnPitch, 100.0);
    EXPECT_DOUBLE_EQ(grid.boxHeight, 30.0); // 3 x (30 + 2) <= 100
    EXPECT_DOUBLE_EQ(grid.boxWidth, 60.0);
    EXPECT_DOUBLE_EQ(grid.x, 100.0); // the last column ends inside 400
    EXPECT_DOUBLE_EQ(grid.y, 8.0);   // 2 x 46 + 8 <= 100
}

TEST(FitOptionGrid, endsForOneRowOrColumnInATinyArea)
{
    testsupport::Watchdog watchdog(20);

    OptionGridParams row;
    row.rowPitch = 30;
    fitOptionGrid(1, 3, row, cv::Rect(0, 0, 100, 5));
    EXPECT_DOUBLE_EQ(row.rowPitch, 30.0); // nothing to gain by lowering it

    OptionGridParams column;
    fitOptionGrid(4, 1, column, cv::Rect(0, 0, 6, 100));
    EXPECT_TRUE(std::isfinite(column.columnPitch));
    EXPECT_DOUBLE_EQ(column.x, 0.0);

    // Counts under one and values that are not numbers end as well.
    OptionGridParams broken;
    broken.x = INFINITY;
    broken.columnPitch = NAN;
    fitOptionGrid(0, 0, broken, cv::Rect(0, 0, 50, 50));
    EXPECT_TRUE(std::isfinite(broken.x));
    EXPECT_TRUE(std::isfinite(broken.columnPitch));
    EXPECT_TRUE(std::isfinite(broken.rowPitch));
}

TEST(MeasureBoxRows, keepsTheLowestRowsAndClosesOneAtTheBottomEdge)
{
    // A heading band above three box rows of heights 20, 22 and 24, the
    // last one ending at the image's edge.
    cv::Mat image = bands(100, 164, {{2, 12}, {40, 60}, {90, 112}, {140, 164}});
    // 24 ink pixels in a row are not a box row of two columns (needs more
    // than 12 per column).
    image(cv::Rect(0, 120, 24, 10)).setTo(255);
    float height = -1, pitch = -1, top = -1;
    ASSERT_TRUE(measureBoxRows(image, 3, 2, height, pitch, top));
    EXPECT_FLOAT_EQ(height, 22.0f);
    EXPECT_FLOAT_EQ(pitch, 50.0f); // (140 - 40) / 2
    EXPECT_FLOAT_EQ(top, 40.0f);
}

TEST(MeasureBoxRows, refusesTooFewRowsAndLeavesTheFitAPitchForOneRow)
{
    const cv::Mat image = bands(100, 80, {{20, 44}});
    float height = 7, pitch = 8, top = 9;
    EXPECT_FALSE(measureBoxRows(image, 2, 1, height, pitch, top));
    EXPECT_FALSE(measureBoxRows(image, 0, 1, height, pitch, top));
    EXPECT_FALSE(measureBoxRows(cv::Mat(), 1, 1, height, pitch, top));
    EXPECT_FLOAT_EQ(height, 7.0f);
    EXPECT_FLOAT_EQ(pitch, 8.0f);
    EXPECT_FLOAT_EQ(top, 9.0f);

    ASSERT_TRUE(measureBoxRows(image, 1, 2, height, pitch, top));
    EXPECT_FLOAT_EQ(height, 24.0f);
    EXPECT_FLOAT_EQ(pitch, 0.0f); // no second row to measure from
    OptionGridParams grid;
    grid.y = top;
    grid.boxHeight = height;
    grid.rowPitch = pitch;
    fitOptionGrid(1, 2, grid, cv::Rect(0, 0, 100, 80));
    EXPECT_DOUBLE_EQ(grid.rowPitch, 49.0); // (80 - 8 - 24) / 1 + 1: a grid can be laid out
    EXPECT_DOUBLE_EQ(grid.y, 20.0);
}
