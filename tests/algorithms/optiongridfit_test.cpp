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

OptionGridParams unset()
{
    return OptionGridParams();
}

} // namespace

TEST(FitOptionGrid, derivesUnsetValuesFromTheArea)
{
    OptionGridParams grid = unset();
    fitOptionGrid(10, 4, grid, cv::Rect(0, 0, 400, 800));
    EXPECT_DOUBLE_EQ(grid.boxWidth, 11.0);
    EXPECT_DOUBLE_EQ(grid.boxHeight, 7.0);
    EXPECT_DOUBLE_EQ(grid.rowPitch, 79.5);     // (800 - 8 - 7) / 10 + 1
    EXPECT_DOUBLE_EQ(grid.columnPitch, 96.25); // (400 - 8 - 11) / 4 + 1
    EXPECT_DOUBLE_EQ(grid.x, 0.0);
    EXPECT_DOUBLE_EQ(grid.y, 0.0);
}

TEST(FitOptionGrid, shrinksAGridThatDoesNotFitInStepsOfTwo)
{
    OptionGridParams grid = unset();
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

    // Columns too far apart come closer; an origin left of the region
    // moves onto it.
    OptionGridParams wide = unset();
    wide.x = -10;
    wide.columnPitch = 150;
    fitOptionGrid(1, 4, wide, cv::Rect(0, 0, 400, 100));
    EXPECT_DOUBLE_EQ(wide.columnPitch, 130.0); // 3 x 130 + 8 <= 400
    EXPECT_DOUBLE_EQ(wide.x, 0.0);
}

TEST(FitOptionGrid, endsForOneRowOrColumnInATinyArea)
{
    testsupport::Watchdog watchdog(20);

    OptionGridParams row = unset();
    row.rowPitch = 30;
    row.columnPitch = 20;
    fitOptionGrid(1, 3, row, cv::Rect(0, 0, 100, 5));
    EXPECT_DOUBLE_EQ(row.rowPitch, 30.0); // nothing to gain by lowering it
    EXPECT_TRUE(std::isfinite(row.boxHeight));

    OptionGridParams column = unset();
    fitOptionGrid(4, 1, column, cv::Rect(0, 0, 6, 100));
    EXPECT_TRUE(std::isfinite(column.columnPitch));
    EXPECT_GE(column.x, 0.0);

    OptionGridParams single = unset();
    fitOptionGrid(1, 1, single, cv::Rect(0, 0, 3, 3));
    EXPECT_DOUBLE_EQ(single.x, 0.0);
    EXPECT_DOUBLE_EQ(single.y, 0.0);

    // Counts under one and values that are not numbers end as well.
    OptionGridParams broken = unset();
    broken.x = INFINITY;
    broken.columnPitch = NAN;
    fitOptionGrid(0, 0, broken, cv::Rect(0, 0, 50, 50));
    EXPECT_TRUE(std::isfinite(broken.x));
    EXPECT_TRUE(std::isfinite(broken.columnPitch));
    EXPECT_TRUE(std::isfinite(broken.rowPitch));
}

TEST(ScaleOptionGrid, dividesEveryField)
{
    OptionGridParams grid;
    grid.x = 10;
    grid.y = 21;
    grid.boxWidth = 68;
    grid.boxHeight = 48;
    grid.columnPitch = 109.656;
    grid.rowPitch = 80.5;
    const OptionGridParams half = scaleOptionGrid(grid, 2.0f);
    EXPECT_DOUBLE_EQ(half.x, 5.0);
    EXPECT_DOUBLE_EQ(half.y, 10.5);
    EXPECT_DOUBLE_EQ(half.boxWidth, 34.0);
    EXPECT_DOUBLE_EQ(half.boxHeight, 24.0);
    EXPECT_DOUBLE_EQ(half.columnPitch, 54.828);
    EXPECT_DOUBLE_EQ(half.rowPitch, 40.25);
    EXPECT_DOUBLE_EQ(grid.x, 10.0); // the original stays
}

TEST(MeasureBoxRows, keepsTheLowestRowsAndAveragesThem)
{
    // A heading band above three box rows of heights 20, 22 and 24.
    const cv::Mat image = bands(100, 200, {{2, 12}, {40, 60}, {90, 112}, {140, 164}});
    float height = -1, pitch = -1, top = -1;
    ASSERT_TRUE(measureBoxRows(image, 3, 2, height, pitch, top));
    EXPECT_FLOAT_EQ(height, 22.0f);
    EXPECT_FLOAT_EQ(pitch, 50.0f); // (140 - 40) / 2
    EXPECT_FLOAT_EQ(top, 40.0f);
}

TEST(MeasureBoxRows, ignoresThinRowsAndClosesARowAtTheBottomEdge)
{
    // Rows need more than 12 ink pixels per box column: 24 is not enough
    // for two columns, 25 is.
    cv::Mat image = bands(100, 120, {{10, 30}, {100, 120}});
    image(cv::Rect(0, 50, 24, 10)).setTo(255);
    float height = 0, pitch = 0, top = 0;
    ASSERT_TRUE(measureBoxRows(image, 2, 2, height, pitch, top));
    EXPECT_FLOAT_EQ(height, 20.0f); // the lower row ends at the image's height
    EXPECT_FLOAT_EQ(pitch, 90.0f);
    EXPECT_FLOAT_EQ(top, 10.0f);
    image(cv::Rect(0, 50, 25, 10)).setTo(255);
    ASSERT_TRUE(measureBoxRows(image, 2, 2, height, pitch, top));
    EXPECT_FLOAT_EQ(top, 50.0f);
}

TEST(MeasureBoxRows, refusesTooFewRowsWithoutTouchingTheOutputs)
{
    const cv::Mat image = bands(100, 200, {{10, 30}, {60, 80}});
    float height = 7, pitch = 8, top = 9;
    EXPECT_FALSE(measureBoxRows(image, 3, 1, height, pitch, top));
    EXPECT_FALSE(measureBoxRows(image, 0, 1, height, pitch, top));
    EXPECT_FALSE(measureBoxRows(cv::Mat(), 1, 1, height, pitch, top));
    EXPECT_FLOAT_EQ(height, 7.0f);
    EXPECT_FLOAT_EQ(pitch, 8.0f);
    EXPECT_FLOAT_EQ(top, 9.0f);
}

TEST(MeasureBoxRows, oneRowLeavesThePitchForTheFitToDerive)
{
    const cv::Mat image = bands(100, 80, {{20, 44}});
    float height = 0, pitch = -1, top = 0;
    ASSERT_TRUE(measureBoxRows(image, 1, 2, height, pitch, top));
    EXPECT_FLOAT_EQ(height, 24.0f);
    EXPECT_FLOAT_EQ(pitch, 0.0f);
    EXPECT_FLOAT_EQ(top, 20.0f);

    OptionGridParams grid;
    grid.y = top;
    grid.boxHeight = height;
    grid.rowPitch = pitch;
    grid.boxWidth = 30;
    grid.columnPitch = 40;
    fitOptionGrid(1, 2, grid, cv::Rect(0, 0, 100, 80));
    EXPECT_DOUBLE_EQ(grid.rowPitch, 49.0); // (80 - 8 - 24) / 1 + 1: positive, so a grid can be laid out
    EXPECT_DOUBLE_EQ(grid.y, 20.0);
}
