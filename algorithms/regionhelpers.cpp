#include "algorithms/regionhelpers.h"

#include "algorithms/blend.h"
#include "algorithms/imagebasics.h"
#include "algorithms/localthreshold.h"
#include "algorithms/projection.h"
#include "algorithms/regionfill.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>

namespace {

// The printed answer box of the sheets at 200 dots per inch.
constexpr float standardBoxWidth = 68.0f;
constexpr float standardBoxHeight = 48.0f;
constexpr float standardColumnPitch = 109.656f;
constexpr float standardRowPitch = 80.583f;

} // namespace

void estimateOptionGrid(OptionGridParams& grid, cv::Mat& image, int rows, int columns)
{
    convertToGray(image, image);
    cv::blur(image, image, cv::Size(3, 3));
    overlayBlend(cv::Mat::zeros(image.size(), image.type()), image, image);
    localThreshold(image, image, 60, 0.1, 128.0, 400);
    cv::bitwise_not(image, image);
    cv::threshold(image, image, 200, 255, cv::THRESH_BINARY);
    regionFill(image, image, 20, 1, 0);
    maskByProjectionRuns(image, image, 4, false);
    const cv::Rect content = cv::boundingRect(image);

    grid.boxWidth = standardBoxWidth;
    grid.boxHeight = standardBoxHeight;
    grid.columnPitch = standardColumnPitch;
    grid.rowPitch = standardRowPitch;
    const float right = static_cast<float>(content.x + content.width);
    const float bottom = static_cast<float>(content.y + content.height);
    const float gridWidth = static_cast<float>(columns) * standardColumnPitch - (standardColumnPitch - standardBoxWidth);
    const float gridHeight = static_cast<float>(rows) * standardRowPitch - (standardRowPitch - standardBoxHeight);
    grid.x = std::max(0, static_cast<int>(right - gridWidth));
    grid.y = std::max(0, static_cast<int>(bottom - gridHeight));
}

void eraseDenseRows(const cv::Mat& image, cv::Mat& target, const cv::Mat& projection, double ratio)
{
    if (image.empty())
        return;
    CV_Assert(projection.type() == CV_32FC1 && projection.isContinuous()
              && projection.total() >= static_cast<size_t>(image.rows));
    const float* counts = projection.ptr<float>(0);
    const int level = static_cast<int>(image.cols * ratio);
    const int last = image.rows - 1;
    bool inBand = false;
    int start = 0;
    for (int i = 0; i <= last; ++i) {
        const int value = static_cast<int>(counts[i]);
        if (!inBand && value >= level) {
            inBand = true;
            start = i;
        }
        if (inBand && (value < level || i == last)) {
            inBand = false;
            // The row above the band and the row that ends it go too.
            for (int row = std::max(0, start - 1); row <= std::min(i, target.rows - 1); ++row)
                target.row(row).setTo(0);
        }
    }
}
