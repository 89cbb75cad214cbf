#include "algorithms/imagebasics.h"

#include "tests/algorithms/synthetic.h"

#include <gtest/gtest.h>

TEST(ConvertToGray, handlesEveryChannelCountInPlace)
{
    cv::Mat bgr(2, 2, CV_8UC3, cv::Scalar(255, 0, 0)); // pure blue
    convertToGray(bgr, bgr);
    ASSERT_EQ(bgr.type(), CV_8UC1);
    EXPECT_NEAR(bgr.at<uchar>(0, 0), 29, 1); // 0.114 x 255

    cv::Mat bgra(2, 2, CV_8UC4, cv::Scalar(0, 0, 255, 0)); // pure red, alpha ignored
    cv::Mat grey;
    convertToGray(bgra, grey);
    ASSERT_EQ(grey.type(), CV_8UC1);
    EXPECT_NEAR(grey.at<uchar>(1, 1), 76, 1); // 0.299 x 255

    cv::Mat single = synthetic::greyMat({{1, 2}, {3, 4}});
    cv::Mat copy;
    convertToGray(single, copy);
    EXPECT_EQ(cv::countNonZero(copy != single), 0);
    copy.at<uchar>(0, 0) = 99;
    EXPECT_EQ(single.at<uchar>(0, 0), 1); // a copy, not a view
}

// Red cards are scanned in colour: their light print is measured in the
// channel where it is darkest, while black print keeps the plain grey.
TEST(GreyOfImage, lightRedPrintIsTakenInItsDarkestChannelBlackPrintAsIs)
{
    for (const QColor& ink : {QColor(240, 140, 120), QColor(40, 40, 40)}) {
        QImage page = synthetic::blankPage(200, 100);
        synthetic::fillBox(page, QRect(20, 20, 100, 40), ink);
        const cv::Mat grey = greyOfImage(page);
        ASSERT_EQ(grey.type(), CV_8UC1);
        cv::Mat plain;
        convertToGray(synthetic::toGrey(page), plain);
        if (ink.red() > 200) {
            EXPECT_NEAR(grey.at<uchar>(30, 30), 120, 1); // the blue channel
            EXPECT_EQ(grey.at<uchar>(90, 190), 255);
        } else {
            EXPECT_EQ(cv::countNonZero(grey != plain), 0);
        }
    }
}

TEST(IsBlankRegion, countsInkPixelsAgainstTheThresholdOfTwenty)
{
    cv::Mat page(40, 60, CV_8UC3, cv::Scalar(255, 255, 255));
    EXPECT_TRUE(isBlankRegion(page));
    for (int i = 0; i < 19; ++i)
        page.at<cv::Vec3b>(5 + i, 10) = cv::Vec3b(0, 0, 0);
    EXPECT_TRUE(isBlankRegion(page));
    page.at<cv::Vec3b>(30, 40) = cv::Vec3b(0, 0, 0);
    EXPECT_FALSE(isBlankRegion(page));

    // Printed text on a scanned page is content.
    QImage text = synthetic::blankPage(200, 60);
    synthetic::drawText(text, QRect(5, 5, 190, 50), QStringLiteral("第一题"), 30);
    EXPECT_FALSE(isBlankRegion(synthetic::toGrey(text)));
    EXPECT_TRUE(isBlankRegion(cv::Mat()));
}

TEST(Crop, partlyOutsideFramesAreClippedToThePage)
{
    QImage image = synthetic::blankPage(100, 80);
    synthetic::fillBox(image, QRect(90, 70, 10, 10), QColor(10, 120, 230));
    const QPixmap page = QPixmap::fromImage(image);

    const cv::Mat corner = cropPage(page, QRectF(85.2, 64.6, 40, 40));
    ASSERT_EQ(corner.type(), CV_8UC3);
    EXPECT_EQ(corner.cols, 15); // 85 .. 99
    EXPECT_EQ(corner.rows, 15); // 65 .. 79
    EXPECT_EQ(corner.at<cv::Vec3b>(14, 14), cv::Vec3b(230, 120, 10));
    EXPECT_EQ(corner.at<cv::Vec3b>(0, 0), cv::Vec3b(255, 255, 255));

    const cv::Mat left = cropPage(page, QRectF(-20, -20, 30, 25));
    EXPECT_EQ(left.cols, 10);
    EXPECT_EQ(left.rows, 5);
    EXPECT_EQ(cropPixmap(page, QRectF(-5, 10, 200, 3)).size(), QSize(100, 3));

    EXPECT_EQ(clipToImage(QRectF(10.4, 10.6, 20.5, 5.2), QSize(100, 80)), QRect(10, 11, 21, 5));
    EXPECT_EQ(clipToImage(cv::Rect(-3, 70, 10, 30), cv::Size(100, 80)), cv::Rect(0, 70, 7, 10));
}

TEST(Crop, emptyOrOffPageFramesAreErrorsNotTheWholePage)
{
    const QPixmap page = QPixmap::fromImage(synthetic::blankPage(100, 80));
    EXPECT_THROW(cropPage(page, QRectF()), cv::Exception);
    EXPECT_THROW(cropPage(page, QRectF(10, 10, 0, 30)), cv::Exception);
    EXPECT_THROW(cropPage(page, QRectF(10, 10, 0.3, 30)), cv::Exception); // rounds to nothing
    EXPECT_THROW(cropPage(page, QRectF(150, 10, 20, 20)), cv::Exception);
    EXPECT_THROW(cropPixmap(page, QRectF(-40, -40, 30, 30)), cv::Exception);
    EXPECT_THROW(cropPage(QPixmap(), QRectF(0, 0, 10, 10)), cv::Exception);
    // Coordinates past the int range (a hand-edited template) saturate
    // instead of wrapping round onto the page.
    EXPECT_THROW(cropPage(page, QRectF(3e9, 3e9, 20, 20)), cv::Exception);
    EXPECT_THROW(cropPage(page, QRectF(-5e9, 10, 20, 20)), cv::Exception);
    EXPECT_EQ(clipToImage(QRectF(-3e9, -3e9, 6e9, 6e9), QSize(100, 80)), QRect(0, 0, 100, 80));
    EXPECT_EQ(clipToImage(QRectF(qQNaN(), 0, 10, 10), QSize(100, 80)), QRect());
    EXPECT_EQ(saturatedInt(-3e9), -(1 << 29));
    EXPECT_EQ(saturatedInt(2.9), 2);

    const cv::Mat mat(80, 100, CV_8UC1, cv::Scalar(0));
    EXPECT_THROW(cropView(mat, cv::Rect(100, 0, 5, 5)), cv::Exception);
    EXPECT_THROW(cropView(mat, cv::Rect(10, 10, 0, 5)), cv::Exception);
    EXPECT_THROW(cropView(mat, cv::Rect(10, 10, -5, 5)), cv::Exception);

    // A view shares the page's pixels.
    cv::Mat view = cropView(mat, cv::Rect(95, 75, 10, 10));
    EXPECT_EQ(view.size(), cv::Size(5, 5));
    view.setTo(7);
    EXPECT_EQ(mat.at<uchar>(79, 99), 7);
}
