#include "algorithms/boxprofile.h"

#include <gtest/gtest.h>

namespace {

// A crop 10 columns wide whose rows are fully white where `pattern` says 1.
cv::Mat rowsOf(const std::vector<int>& pattern)
{
    cv::Mat image(static_cast<int>(pattern.size()), 10, CV_8UC1, cv::Scalar(0));
    for (size_t r = 0; r < pattern.size(); ++r) {
        if (pattern[r])
            image.row(static_cast<int>(r)).setTo(255);
    }
    return image;
}

} // namespace

TEST(RowProfile, measuresBoxesAndGapsBetweenMargins)
{
    // margin 2, box 4, gap 2, box 4, gap 3, box 3, margin 2
    const cv::Mat image = rowsOf({0, 0, 1, 1, 1, 1, 0, 0, 1, 1, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0});
    int content = -1, leading = -1;
    float blank = -1;
    std::vector<int> low{99};
    ASSERT_EQ(rowProfile(image, 0.5f, false, content, blank, leading, low), 0);
    EXPECT_EQ(content, 4); // (4 + 4 + 3) / 3 rounded
    EXPECT_FLOAT_EQ(blank, 2.5f);
    EXPECT_EQ(leading, 2);
    EXPECT_EQ(low, (std::vector<int>{0, 1, 6, 7, 12, 13, 14, 18, 19}));
}

TEST(RowProfile, contentFromTheFirstRow)
{
    const cv::Mat image = rowsOf({1, 1, 1, 0, 0, 1, 1, 1, 0});
    int content = -1, leading = -1;
    float blank = -1;
    std::vector<int> low;
    // Outside content at the start, a high first row opens with a margin of 0.
    ASSERT_EQ(rowProfile(image, 0.5f, false, content, blank, leading, low), 0);
    EXPECT_EQ(content, 3);
    EXPECT_EQ(leading, 0);
    EXPECT_FLOAT_EQ(blank, 0.0f); // both blank stretches count as margins

    ASSERT_EQ(rowProfile(image, 0.5f, true, content, blank, leading, low), 0);
    EXPECT_EQ(content, 3);
    EXPECT_FLOAT_EQ(blank, 2.0f);
    EXPECT_EQ(leading, 0);
}

TEST(RowProfile, splintersBesideBoxRowsAreLeftOut)
{
    // margin 2, box 6, splinter of 1 row, box 6, box 6, margin 2
    const cv::Mat image = rowsOf({0, 0, 1, 1, 1, 1, 1, 1, 0, 1, 0, 0, 1, 1, 1, 1, 1, 1, 0, 0, 0,
                                  1, 1, 1, 1, 1, 1, 0, 0});
    int content = -1, leading = -1;
    float blank = -1;
    std::vector<int> low;
    ASSERT_EQ(rowProfile(image, 0.5f, false, content, blank, leading, low), 0);
    EXPECT_EQ(content, 6);
    EXPECT_FLOAT_EQ(blank, 3.5f); // (12 - 8 + 21 - 18) / 2: the pitch stays 9.5
    EXPECT_EQ(leading, 2);
    EXPECT_EQ(low.size(), 10u); // the splinter's row is not low
}

TEST(RowProfile, refusesBadInputAndSurvivesEmptyCrops)
{
    int content = 7, leading = 7;
    float blank = 7;
    std::vector<int> low{5};
    const cv::Mat image = rowsOf({0, 1, 1, 0});
    EXPECT_EQ(rowProfile(image, 0.000001f, false, content, blank, leading, low), 1);
    EXPECT_EQ(rowProfile(image, 1.5f, false, content, blank, leading, low), 1);
    EXPECT_EQ(rowProfile(cv::Mat(), 0.5f, false, content, blank, leading, low), 1);
    EXPECT_EQ(content, 7);
    EXPECT_EQ(low, std::vector<int>{5});

    // No content at all: a height of 0, not a division by zero.
    ASSERT_EQ(rowProfile(rowsOf({0, 0, 0}), 0.5f, false, content, blank, leading, low), 0);
    EXPECT_EQ(content, 0);
    EXPECT_FLOAT_EQ(blank, 0.0f);
    EXPECT_EQ(leading, 3);
}

TEST(SplitProjection, marksLowEntriesAndTheEndsOfHighStretches)
{
    const std::vector<float> data{0, 5, 5, 0, 3, 2, 6};
    const cv::Mat projection(1, 7, CV_32FC1, const_cast<float*>(data.data()));
    std::vector<int> ends{1}, low{1};
    splitProjection(projection, 2.0f / 7.0f, ends, low); // level 2: 2 itself is low
    EXPECT_EQ(ends, (std::vector<int>{3, 5})); // the stretch reaching the end has none
    EXPECT_EQ(low, (std::vector<int>{0, 3, 5}));
}

TEST(ColumnProfile, measuresTheFirstBoxAndTheGap)
{
    // Three boxes 8 wide, 5 apart, and a speck column below the level.
    cv::Mat image(10, 40, CV_8UC1, cv::Scalar(0));
    for (int x : {2, 15, 28})
        image(cv::Rect(x, 0, 8, 10)).setTo(255);
    image(cv::Rect(38, 4, 1, 2)).setTo(255);

    int width = -1, x = -1;
    float gap = -1;
    columnProfile(image, 3.0f / 40.0f, 3, width, gap, x);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(x, 2);
    EXPECT_FLOAT_EQ(gap, 5.0f);
    EXPECT_EQ(cv::countNonZero(image.col(38)), 0); // low columns are cleared

    columnProfile(image, 3.0f / 40.0f, 1, width, gap, x);
    EXPECT_FLOAT_EQ(gap, 0.0f);
}

TEST(ColumnProfile, noTransitionMeansOneBoxAcross)
{
    cv::Mat full(6, 30, CV_8UC1, cv::Scalar(255));
    int width = -1, x = -1;
    float gap = -1;
    columnProfile(full, 2.0f / 30.0f, 2, width, gap, x);
    EXPECT_EQ(width, 30);
    EXPECT_EQ(x, 0);
    EXPECT_FLOAT_EQ(gap, 0.0f);

    cv::Mat boxes(6, 30, CV_8UC1, cv::Scalar(0));
    boxes(cv::Rect(3, 0, 5, 6)).setTo(255);
    columnProfile(boxes, 0.1f, 0, width, gap, x); // no boxes expected: no pitch to divide by
    EXPECT_EQ(width, 30);
    EXPECT_FLOAT_EQ(gap, 0.0f);
}
