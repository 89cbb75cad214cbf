#include "algorithms/projection.h"

#include "tests/algorithms/synthetic.h"

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

namespace {

std::vector<float> entries(const cv::Mat& projection)
{
    return std::vector<float>(projection.ptr<float>(0), projection.ptr<float>(0) + projection.total());
}

std::vector<int> runsOf(std::initializer_list<float> values, int level)
{
    const std::vector<float> data(values);
    const cv::Mat projection(1, static_cast<int>(data.size()), CV_32FC1, const_cast<float*>(data.data()));
    std::vector<int> runs;
    findProjectionRuns(projection, runs, level);
    return runs;
}

bool sameImage(const cv::Mat& a, const cv::Mat& b)
{
    return a.size() == b.size() && cv::countNonZero(a != b) == 0;
}

} // namespace

TEST(WhiteProjection, countsOnlyFullWhitePixels)
{
    const cv::Mat image = synthetic::greyMat({
        {255, 0, 255, 254},
        {0, 0, 0, 0},
        {255, 255, 255, 255},
    });
    cv::Mat rows = cv::Mat::zeros(1, 3, CV_32FC1);
    cv::Mat columns;                         // made at the right size
    cv::Mat stale(1, 9, CV_32FC1, cv::Scalar(7)); // wrong size and not zero
    rowWhiteProjection(image, rows);
    columnWhiteProjection(image, columns);
    columnWhiteProjection(image, stale);
    EXPECT_EQ(entries(rows), (std::vector<float>{2, 0, 4}));
    EXPECT_EQ(entries(columns), (std::vector<float>{2, 1, 2, 1}));
    EXPECT_EQ(entries(stale), entries(columns));

    cv::Mat projection;
    EXPECT_THROW(rowWhiteProjection(cv::Mat(3, 3, CV_8UC3), projection), cv::Exception);
}

TEST(FindProjectionRuns, pairsStartsWithEnds)
{
    EXPECT_EQ(runsOf({0, 2, 3, 0, 0, 5, 1}, 0), (std::vector<int>{1, 3, 5, 6}));
    EXPECT_EQ(runsOf({5, 0, 0}, 0), (std::vector<int>{0, 1}));   // a run from the first entry
    EXPECT_EQ(runsOf({0, 0, 4}, 0), (std::vector<int>{2}));      // opens at the last entry
    EXPECT_EQ(runsOf({3, 3, 3, 3}, 0), (std::vector<int>{0, 3})); // closed at N - 1
    EXPECT_EQ(runsOf({1, 1.9f, 2, 2.5f, 1}, 1), (std::vector<int>{2, 4})); // values truncated
    EXPECT_TRUE(runsOf({0, 0, 0}, 0).empty());

    std::vector<int> runs{42};
    findProjectionRuns(cv::Mat(), runs, 0);
    EXPECT_EQ(runs, std::vector<int>{42}); // appends only
}

TEST(MaskByProjectionRuns, blanksThinBandsAndKeepsContent)
{
    cv::Mat image(12, 16, CV_8UC1, cv::Scalar(0));
    image(cv::Rect(2, 2, 8, 2)).setTo(255);  // two rows high: goes
    image(cv::Rect(4, 6, 8, 4)).setTo(255);  // four rows high: stays
    image(cv::Rect(14, 6, 1, 4)).setTo(255); // one column wide: goes

    cv::Mat expected(12, 16, CV_8UC1, cv::Scalar(0));
    expected(cv::Rect(4, 6, 8, 4)).setTo(255);

    const cv::Mat source = image.clone();
    cv::Mat out;
    maskByProjectionRuns(image, out, 3, false);
    EXPECT_TRUE(sameImage(out, expected));
    EXPECT_TRUE(sameImage(image, source));

    maskByProjectionRuns(image, image, 3, false); // in place, as the checks call it
    EXPECT_TRUE(sameImage(image, expected));

    // A length limit of 1 blanks nothing.
    maskByProjectionRuns(source, out, 1, false);
    EXPECT_TRUE(sameImage(out, source));
}

TEST(MaskByProjectionRuns, runsAtTheBordersAndEmptyImages)
{
    // A band touching the bottom ends at the last row, which is not counted
    // in its length and so is kept.
    cv::Mat bottom(10, 10, CV_8UC1, cv::Scalar(0));
    bottom(cv::Rect(0, 8, 10, 2)).setTo(255);
    maskByProjectionRuns(bottom, bottom, 2, false);
    EXPECT_EQ(cv::countNonZero(bottom.row(8)), 0);
    EXPECT_EQ(cv::countNonZero(bottom.row(9)), 10);

    // White in every row: one run of rows - 1, blanked only below the limit.
    cv::Mat full(4, 30, CV_8UC1, cv::Scalar(255));
    cv::Mat out;
    maskByProjectionRuns(full, out, 3, false);
    EXPECT_EQ(cv::countNonZero(out), 30 * 4);
    maskByProjectionRuns(full, out, 4, false);
    EXPECT_EQ(cv::countNonZero(out), 30); // rows 0..2 blanked, the last row kept

    const cv::Mat black(8, 8, CV_8UC1, cv::Scalar(0));
    maskByProjectionRuns(black, out, 3, true);
    EXPECT_TRUE(sameImage(out, black));
    maskByProjectionRuns(cv::Mat(), out, 3, true);
    EXPECT_TRUE(out.empty());
}

TEST(MaskByProjectionRuns, erasesLongLinesAcrossTheImage)
{
    cv::Mat image(60, 80, CV_8UC1, cv::Scalar(0));
    image(cv::Rect(5, 29, 70, 4)).setTo(255); // a ruling too thick for the run mask
    cv::rectangle(image, cv::Rect(10, 5, 10, 10), cv::Scalar(255), 1);
    cv::rectangle(image, cv::Rect(50, 40, 10, 10), cv::Scalar(255), 1);
    const cv::Mat source = image.clone();
    maskByProjectionRuns(image, image, 3, true);
    EXPECT_EQ(cv::countNonZero(image.rowRange(27, 34)), 0);
    EXPECT_EQ(cv::countNonZero(image.rowRange(0, 27) != source.rowRange(0, 27)), 0);
    EXPECT_EQ(cv::countNonZero(image.rowRange(34, 60) != source.rowRange(34, 60)), 0);

    cv::Mat kept = source.clone();
    maskByProjectionRuns(source, kept, 3, false);
    EXPECT_EQ(cv::countNonZero(kept.rowRange(29, 33)), 4 * 70);
}

TEST(DrawLineToBorders, extendsSegmentsWithIntegerSlopes)
{
    // 30 degrees has integer slope 0: drawn level through the first point.
    cv::Mat flat(50, 60, CV_8UC1, cv::Scalar(0));
    drawLineToBorders(flat, cv::Vec4i(10, 20, 40, 37), cv::Scalar(255), 1);
    EXPECT_EQ(cv::countNonZero(flat.row(20)), 60);
    EXPECT_EQ(cv::countNonZero(flat.row(37)), 0);

    // 45 degrees, slope 1: along the diagonal, to the image's corners.
    cv::Mat diagonal(50, 50, CV_8UC1, cv::Scalar(0));
    drawLineToBorders(diagonal, cv::Vec4i(10, 10, 20, 20), cv::Scalar(255), 1);
    EXPECT_GT(diagonal.at<uchar>(2, 2), 0);
    EXPECT_GT(diagonal.at<uchar>(45, 45), 0);
    EXPECT_EQ(diagonal.at<uchar>(45, 5), 0);

    cv::Mat vertical(20, 20, CV_8UC1, cv::Scalar(0));
    drawLineToBorders(vertical, cv::Vec4i(7, 5, 7, 9), cv::Scalar(255), 1);
    EXPECT_EQ(cv::countNonZero(vertical.col(7)), 20);

    cv::Mat untouched(20, 20, CV_8UC1, cv::Scalar(0));
    drawLineToBorders(untouched, cv::Vec4i(2, 5, 18, 9), cv::Scalar(255), 0);
    EXPECT_EQ(cv::countNonZero(untouched), 0);
}

TEST(LineCrossing, usesTruncatedIntegerSlopes)
{
    cv::Point point(-1, -1);
    // Slopes 2 and -1 are whole: the true crossing.
    ASSERT_TRUE(lineCrossing(cv::Vec4i(0, 0, 10, 20), cv::Vec4i(0, 30, 10, 20), point));
    EXPECT_EQ(point, cv::Point(10, 20));

    // A slope of 1.5 is taken as 1: the crossing with y = 20 lands at x 20,
    // not at the true 13.3.
    ASSERT_TRUE(lineCrossing(cv::Vec4i(0, 0, 10, 15), cv::Vec4i(0, 20, 10, 20), point));
    EXPECT_EQ(point, cv::Point(20, 20));

    // One vertical: x from it, y from the other's integer slope.
    ASSERT_TRUE(lineCrossing(cv::Vec4i(5, 0, 5, 10), cv::Vec4i(0, 3, 4, 11), point));
    EXPECT_EQ(point, cv::Point(5, 13));
    ASSERT_TRUE(lineCrossing(cv::Vec4i(0, 3, 4, 11), cv::Vec4i(5, 0, 5, 10), point));
    EXPECT_EQ(point, cv::Point(5, 13));

    // No crossing: both vertical, or slopes 0.5 and 0.3 that both truncate
    // to 0 although the lines meet.
    point = cv::Point(-1, -1);
    EXPECT_FALSE(lineCrossing(cv::Vec4i(1, 0, 1, 9), cv::Vec4i(4, 0, 4, 9), point));
    EXPECT_FALSE(lineCrossing(cv::Vec4i(0, 0, 10, 5), cv::Vec4i(0, 2, 10, 5), point));
    EXPECT_EQ(point, cv::Point(-1, -1));
}
