#include "algorithms/localthreshold.h"

#include "tests/algorithms/synthetic.h"

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A page of printed text lit unevenly: the light falls from 250 on the
// right to 120 on the left, and ink reflects 55% of it. The darkest paper
// (120) is then darker than the brightest ink (137), so no single level
// separates them. `ink` receives the text's coverage (255 fully inked).
cv::Mat unevenlyLitText(cv::Mat& ink)
{
    QImage text = synthetic::blankPage(800, 400, Qt::black);
    for (int line = 0; line < 8; ++line) {
        synthetic::drawText(text, QRect(20, 15 + line * 48, 780, 44),
                            QStringLiteral("答题卡 Answer sheet 1234567890 第%1行 ABCDEFG").arg(line + 1), 30,
                            Qt::white);
    }
    ink = synthetic::toGrey(text);
    cv::Mat page(ink.size(), CV_8UC1);
    for (int y = 0; y < page.rows; ++y) {
        for (int x = 0; x < page.cols; ++x) {
            const double light = 120.0 + 130.0 * x / (page.cols - 1);
            const double coverage = ink.at<uchar>(y, x) / 255.0;
            page.at<uchar>(y, x) = cv::saturate_cast<uchar>(light * (1.0 - 0.45 * coverage));
        }
    }
    return page;
}

struct Separation {
    double backgroundWhite; // share of clear paper that stays white
    double inkBlack;        // share of solid ink that turns black
};

Separation measure(const cv::Mat& binary, const cv::Mat& ink)
{
    // Paper counts when no ink lies within 3 pixels; ink when fully covered.
    // Scaling back from the working width leaves grey along strokes, so
    // read the result at mid-grey.
    cv::Mat nearInk;
    cv::dilate(ink > 0, nearInk, cv::Mat::ones(7, 7, CV_8U));
    const cv::Mat paper = nearInk == 0;
    const cv::Mat solid = ink >= 250;
    return {cv::countNonZero(paper & (binary >= 128)) / double(cv::countNonZero(paper)),
            cv::countNonZero(solid & (binary < 128)) / double(cv::countNonZero(solid))};
}

} // namespace

TEST(LocalThreshold, separatesTextFromPaperUnderALightingGradient)
{
    cv::Mat ink;
    const cv::Mat page = unevenlyLitText(ink);
    ASSERT_GT(cv::countNonZero(ink >= 250), 5000);

    cv::Mat binary = page.clone();
    ASSERT_TRUE(localThreshold(binary, binary, 60, 0.1, 128.0, 400)); // in place, as the checks call it
    ASSERT_EQ(binary.size(), page.size());
    const Separation local = measure(binary, ink);
    EXPECT_GE(local.backgroundWhite, 0.95);
    EXPECT_GE(local.inkBlack, 0.90);

    cv::Mat global;
    cv::threshold(page, global, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    const Separation otsu = measure(global, ink);
    EXPECT_TRUE(otsu.backgroundWhite < 0.95 || otsu.inkBlack < 0.5)
        << otsu.backgroundWhite << " " << otsu.inkBlack;
}

TEST(LocalThreshold, flatSourcesAndOddShapes)
{
    cv::Mat flat(37, 1234, CV_8UC1, cv::Scalar(90));
    cv::Mat out;
    ASSERT_TRUE(localThreshold(flat, out, 61, 0.1, 128.0, 400));
    EXPECT_EQ(out.size(), flat.size());
    EXPECT_EQ(cv::countNonZero(out == 255), out.rows * out.cols); // 90 > 0.9 x 90

    cv::Mat black(50, 20, CV_8UC1, cv::Scalar(0));
    ASSERT_TRUE(localThreshold(black, out, 3, 0.1, 64.0, 400));
    EXPECT_EQ(out.size(), black.size());
    EXPECT_EQ(cv::countNonZero(out), 0);

    // 400 x 2 / 3000 would round to no working rows.
    cv::Mat wide(2, 3000, CV_8UC1, cv::Scalar(200));
    wide(cv::Rect(1000, 0, 100, 2)).setTo(20);
    ASSERT_TRUE(localThreshold(wide, wide, 60, 0.1, 128.0, 400));
    EXPECT_EQ(wide.size(), cv::Size(3000, 2));
    EXPECT_EQ(wide.at<uchar>(1, 1050), 0);
    EXPECT_EQ(wide.at<uchar>(0, 2500), 255);
}

TEST(LocalThreshold, refusesBadArgumentsInOrder)
{
    const cv::Mat grey(10, 10, CV_8UC1, cv::Scalar(128));
    const cv::Mat colour(10, 10, CV_8UC3, cv::Scalar(128, 128, 128));
    cv::Mat out;
    const auto message = [&](const cv::Mat& src, int kernelSize, double r) -> std::string {
        try {
            localThreshold(src, out, kernelSize, 0.1, r, 400);
        } catch (const std::invalid_argument& e) {
            return e.what();
        }
        return "accepted";
    };
    EXPECT_EQ(message(grey, 2, 128.0), "kernelSize should be >= 3.");
    EXPECT_EQ(message(colour, 2, 128.0), "kernelSize should be >= 3.");
    EXPECT_EQ(message(colour, 3, 128.0), "src type should be CV_8UC1.");
    EXPECT_EQ(message(grey, 3, 0.0), "r should be > 0.0.");
    EXPECT_EQ(message(grey, 3, 128.0), "accepted");

    // Errors of the image library come back as false.
    EXPECT_FALSE(localThreshold(cv::Mat(0, 0, CV_8UC1), out, 60, 0.1, 128.0, 400));
    EXPECT_FALSE(localThreshold(grey, out, 60, 0.1, 128.0, 0));
}
