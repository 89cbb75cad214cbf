#include "algorithms/blend.h"

#include "tests/algorithms/synthetic.h"

#include <gtest/gtest.h>

TEST(OverlayBlend, zeroFirstOperandIsAContrastCurve)
{
    cv::Mat image = synthetic::greyMat({{0, 100, 128, 129}, {150, 200, 230, 255}});
    overlayBlend(cv::Mat::zeros(image.size(), image.type()), image, image);
    const cv::Mat expected = synthetic::greyMat({{0, 0, 0, 3}, {45, 145, 205, 255}});
    EXPECT_EQ(cv::countNonZero(image != expected), 0);

    cv::Mat twice = synthetic::greyMat({{192, 230}});
    for (int i = 0; i < 2; ++i)
        overlayBlend(cv::Mat::zeros(twice.size(), twice.type()), twice, twice);
    EXPECT_EQ(twice.at<uchar>(0, 0), 3);
    EXPECT_EQ(twice.at<uchar>(0, 1), 155);
}

TEST(OverlayBlend, blendsEveryByteOfViewsAndColourImages)
{
    cv::Mat page(6, 8, CV_8UC3, cv::Scalar(100, 200, 50));
    cv::Mat view = page(cv::Rect(2, 1, 3, 4)); // not continuous
    const cv::Mat a(view.size(), view.type(), cv::Scalar(100, 100, 100));
    overlayBlend(a, view, view);
    EXPECT_EQ(view.at<cv::Vec3b>(3, 2), cv::Vec3b(39, 188, 19));
    EXPECT_EQ(page.at<cv::Vec3b>(0, 0), cv::Vec3b(100, 200, 50)); // outside the view
}

TEST(OverlayBlend, mismatchedImagesAreLeftAlone)
{
    const cv::Mat a(4, 4, CV_8UC1, cv::Scalar(0));
    const cv::Mat b(4, 4, CV_8UC1, cv::Scalar(200));
    cv::Mat smaller(3, 4, CV_8UC1, cv::Scalar(7));
    overlayBlend(a, b, smaller);
    EXPECT_EQ(cv::countNonZero(smaller != 7), 0);

    cv::Mat colour(4, 4, CV_8UC3, cv::Scalar(7, 7, 7));
    overlayBlend(a, b, colour);
    EXPECT_EQ(colour.at<cv::Vec3b>(3, 3), cv::Vec3b(7, 7, 7));
}
