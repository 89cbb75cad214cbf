#include "algorithms/linefinder.h"

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

TEST(LineCoefficients, axisParallelLinesHaveSlopeZero)
{
    float k = -1, b = -1;
    lineCoefficients(k, b, {7.0f, 2.0f}, {7.0f, 40.0f});
    EXPECT_EQ(k, 0.0f);
    EXPECT_EQ(b, 7.0f); // x = 7
    lineCoefficients(k, b, {3.0f, 9.0f}, {50.0f, 9.0f});
    EXPECT_EQ(k, 0.0f);
    EXPECT_EQ(b, 9.0f); // y = 9
    lineCoefficients(k, b, {1.0f, 5.0f}, {3.0f, 9.0f});
    EXPECT_FLOAT_EQ(k, 2.0f);
    EXPECT_FLOAT_EQ(b, 3.0f);
}

TEST(LineIntersection, readsSlopeZeroByTheLinesRole)
{
    cv::Point2f point;
    ASSERT_TRUE(lineIntersection(0.0f, 9.0f, 0.0f, 7.0f, point)); // y = 9 and x = 7
    EXPECT_EQ(point, cv::Point2f(7.0f, 9.0f));
    ASSERT_TRUE(lineIntersection(0.5f, 1.0f, 0.0f, 4.0f, point)); // x = 4
    EXPECT_EQ(point, cv::Point2f(4.0f, 3.0f));
    ASSERT_TRUE(lineIntersection(0.0f, 10.0f, 2.0f, 4.0f, point)); // y = 10
    EXPECT_EQ(point, cv::Point2f(3.0f, 10.0f));
    ASSERT_TRUE(lineIntersection(0.1f, 2.0f, 10.0f, -97.0f, point));
    EXPECT_NEAR(point.x, 10.0f, 1e-4);
    EXPECT_NEAR(point.y, 3.0f, 1e-4);

    // Parallel sloped lines never meet: no value, not an infinity.
    point = cv::Point2f(-1.0f, -1.0f);
    EXPECT_FALSE(lineIntersection(1.0f, 2.0f, 1.0f, 5.0f, point));
    EXPECT_EQ(point, cv::Point2f(-1.0f, -1.0f));
}

TEST(FindLineFrame, findsTheRuledFrame)
{
    cv::Mat image(150, 200, CV_8UC1, cv::Scalar(0));
    cv::rectangle(image, cv::Rect(20, 15, 160, 120), cv::Scalar(255), 2);
    // Bubbles inside the frame and a ruling hugging the left border.
    for (int c = 0; c < 5; ++c)
        cv::circle(image, cv::Point(45 + c * 30, 70), 8, cv::Scalar(255), 1);
    cv::line(image, cv::Point(3, 10), cv::Point(3, 140), cv::Scalar(255), 2);

    cv::Rect frame;
    ASSERT_EQ(findLineFrame(image, frame), 0);
    EXPECT_NEAR(frame.x, 20, 2);
    EXPECT_NEAR(frame.y, 15, 2);
    EXPECT_NEAR(frame.x + frame.width, 180, 3);
    EXPECT_NEAR(frame.y + frame.height, 135, 3);
}

TEST(FindLineFrame, refusesCropsWithoutAFrame)
{
    cv::Mat lineOnly(150, 200, CV_8UC1, cv::Scalar(0));
    cv::line(lineOnly, cv::Point(30, 10), cv::Point(30, 140), cv::Scalar(255), 1);
    cv::Rect frame;
    EXPECT_EQ(findLineFrame(lineOnly, frame), 1);
    EXPECT_EQ(frame, cv::Rect(1, 1, 199, 149));

    EXPECT_EQ(findLineFrame(cv::Mat(150, 200, CV_8UC1, cv::Scalar(0)), frame), 1);
    EXPECT_EQ(frame, cv::Rect(1, 1, 199, 149));

    // Plenty of horizontal lines, but every vertical one lies at the border.
    cv::Mat rulings(150, 200, CV_8UC1, cv::Scalar(0));
    for (int y = 20; y < 140; y += 30)
        cv::line(rulings, cv::Point(2, y), cv::Point(197, y), cv::Scalar(255), 2);
    cv::line(rulings, cv::Point(2, 10), cv::Point(2, 140), cv::Scalar(255), 2);
    cv::line(rulings, cv::Point(197, 10), cv::Point(197, 140), cv::Scalar(255), 2);
    EXPECT_EQ(findLineFrame(rulings, frame), 1);
}
