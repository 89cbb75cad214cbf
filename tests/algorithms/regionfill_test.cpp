#include "algorithms/regionfill.h"

#include "tests/algorithms/synthetic.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(RegionFill, brightSpecksUpToTheLimitVanish)
{
    cv::Mat image(20, 20, CV_8UC1, cv::Scalar(0));
    image(cv::Rect(2, 2, 2, 2)).setTo(255);   // 4 pixels
    image(cv::Rect(10, 2, 5, 1)).setTo(200);  // 5 pixels
    image(cv::Rect(0, 15, 1, 3)).setTo(255);  // 3 pixels on the border
    image.at<uchar>(10, 10) = 10;             // exactly 10 is examined
    const cv::Mat source = image.clone();

    cv::Mat out;
    ASSERT_TRUE(regionFill(image, out, 4, 1, 0));
    EXPECT_EQ(cv::countNonZero(out(cv::Rect(2, 2, 2, 2))), 0);
    EXPECT_EQ(cv::countNonZero(out(cv::Rect(10, 2, 5, 1)) == 200), 5);
    EXPECT_EQ(cv::countNonZero(out(cv::Rect(0, 15, 1, 3))), 0);
    EXPECT_EQ(out.at<uchar>(10, 10), 0);
    EXPECT_EQ(cv::countNonZero(image != source), 0); // the source is left alone

    ASSERT_TRUE(regionFill(image, image, 4, 1, 0)); // in place
    EXPECT_EQ(cv::countNonZero(image != out), 0);
}

TEST(RegionFill, cornerContactJoinsOnlyWithEightNeighbours)
{
    // Two diagonal pairs of bright pixels: each pixel alone is 1, a pair 2.
    const cv::Mat image = synthetic::greyMat({
        {255, 0, 0, 0},
        {0, 255, 0, 0},
        {0, 0, 0, 255},
        {0, 0, 255, 0},
    });
    cv::Mat four, eight;
    regionFill(image, four, 1, 1, 0);
    regionFill(image, eight, 1, 1, 1);
    EXPECT_EQ(cv::countNonZero(four), 0);
    EXPECT_EQ(cv::countNonZero(eight), 4);
}

TEST(RegionFill, darkModeFillsSmallHolesWithWhite)
{
    cv::Mat image(12, 12, CV_8UC1, cv::Scalar(255));
    image(cv::Rect(3, 3, 2, 2)).setTo(0);     // a hole of 4
    image(cv::Rect(0, 8, 12, 1)).setTo(5);    // a dark line of 12
    image.at<uchar>(0, 0) = 10;
    cv::Mat out;
    ASSERT_TRUE(regionFill(image, out, 4, 0, 0));
    EXPECT_EQ(cv::countNonZero(out(cv::Rect(3, 3, 2, 2)) == 255), 4);
    EXPECT_EQ(cv::countNonZero(out.row(8) == 5), 12);
    EXPECT_EQ(out.at<uchar>(0, 0), 255);
    EXPECT_EQ(out.at<uchar>(6, 6), 255);
}

TEST(RegionFill, refusesWhatItCannotRead)
{
    cv::Mat out;
    EXPECT_THROW(regionFill(cv::Mat(4, 4, CV_8UC3), out, 4, 1, 0), cv::Exception);
    EXPECT_THROW(regionFill(cv::Mat(4, 4, CV_8UC1, cv::Scalar(0)), out, 4, 2, 0), std::invalid_argument);
    EXPECT_THROW(regionFill(cv::Mat(4, 4, CV_8UC1, cv::Scalar(0)), out, 4, 1, 4), std::invalid_argument);
}
