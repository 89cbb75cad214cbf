#include "algorithms/regionhelpers.h"

#include "algorithms/blend.h"
#include "algorithms/imagebasics.h"
#include "algorithms/localthreshold.h"
#include "algorithms/projection.h"
#include "algorithms/regionfill.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>

void stretchBoxContrast(cv::Mat& image, int blendPasses)
{
    convertToGray(image, image);
    cv::blur(image, image, cv::Size(3, 3));
    for (int pass = 0; pass < blendPasses; ++pass)
        overlayBlend(cv::Mat::zeros(image.size(), image.type()), image, image);
}

void extractBoxes(cv::Mat& image, int blendPasses, unsigned speckLimit)
{
    stretchBoxContrast(image, blendPasses);
    localThreshold(image, image, 60, 0.1, 128.0, 400);
    cv::bitwise_not(image, image);
    // Only the core of the boxes: the edges that resizing back from the
    // threshold's working width left grey are dropped.
    cv::threshold(image, image, 200, 255, cv::THRESH_BINARY);
    regionFill(image, image, speckLimit, 1, 0);
    maskByProjectionRuns(image, image, 4, false);
}

void estimateOptionGrid(OptionGridParams& grid, cv::Mat& image, int rows, int columns)
{
    extractBoxes(image, 1, 20);
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
