#include "algorithms/boxoutlines.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// How far from a measured side its stroke is looked for.
constexpr int sideSearch = 2;

// The ink run that starts within sideSearch pixels of `x` on `row` and
// runs in direction `step` (+1 rightwards, -1 leftwards), at most `limit`
// long; 0 when none starts there.
int strokeRun(const uchar* row, int width, int x, int step, int limit)
{
    int first = -1;
    for (int d = -sideSearch; d <= sideSearch && first < 0; ++d) {
        const int at = x + d * step;
        if (at >= 0 && at < width && row[at] == 255)
            first = at;
    }
    if (first < 0)
        return 0;
    int length = 0;
    for (int at = first; at >= 0 && at < width && row[at] == 255 && length < limit; at += step)
        ++length;
    return length;
}

} // namespace

void fillSmallOutlines(cv::Mat& image, const cv::Size& cell)
{
    std::vector<std::vector<cv::Point>> contours;
    std::vector<cv::Vec4i> hierarchy;
    cv::findContours(image, contours, hierarchy, cv::RETR_CCOMP, cv::CHAIN_APPROX_SIMPLE);
    for (size_t i = 0; i < contours.size(); ++i) {
        if (hierarchy[i][3] < 0) // an outline, not a hole in one
            continue;
        const cv::Rect hole = cv::boundingRect(contours[i]);
        if (hole.width < cell.width && hole.height < cell.height)
            cv::drawContours(image, contours, static_cast<int>(i), cv::Scalar(255), cv::FILLED);
    }
}

void fillOpenBoxes(cv::Mat& image, const cv::Size& cell)
{
    fillSmallOutlines(image, cell);
    // Brackets are open to each other at the top and bottom: the rows
    // between their ends hold too little ink to pass for a box row.
    cv::Mat labels;
    cv::Mat stats;
    cv::Mat centroids;
    const int count = cv::connectedComponentsWithStats(image, labels, stats, centroids, 8, CV_32S);
    for (int i = 1; i < count; ++i) {
        const cv::Rect mark(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                            stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
        // A row or column of boxes joined by a ruling is larger than a
        // cell and stays as it is.
        if (mark.width <= cell.width && mark.height <= cell.height)
            image(mark).setTo(255);
    }
}

float outlineInset(const cv::Mat& ink, const OptionGridParams& grid, int rows, int cols)
{
    const int width = static_cast<int>(std::lround(grid.boxWidth));
    if (ink.empty() || width < 2 || grid.boxHeight <= 0.0)
        return 0.0f;
    // Across the middle of each box, where a letter inside stays clear of
    // the sides.
    std::vector<int> strokes;
    for (int r = 0; r < rows; ++r) {
        const int y = static_cast<int>(std::lround(grid.y + r * grid.rowPitch + grid.boxHeight / 2));
        if (y < 0 || y >= ink.rows)
            continue;
        const uchar* row = ink.ptr<uchar>(y);
        for (int c = 0; c < cols; ++c) {
            const int left = static_cast<int>(std::lround(grid.x + c * grid.columnPitch));
            for (const int stroke : {strokeRun(row, ink.cols, left, 1, width),
                                     strokeRun(row, ink.cols, left + width - 1, -1, width)}) {
                if (stroke > 0)
                    strokes.push_back(stroke);
            }
        }
    }
    if (strokes.empty())
        return 0.0f;
    // The median, so that a box filled in or a letter touching a side does
    // not move the rest.
    const auto middle = strokes.begin() + static_cast<std::ptrdiff_t>(strokes.size() / 2);
    std::nth_element(strokes.begin(), middle, strokes.end());
    // A filled box is ink from side to side, or up to a letter knocked
    // out of it; a printed stroke is a small part of the box.
    if (4 * *middle >= width)
        return 0.0f;
    return static_cast<float>(*middle) / 2.0f;
}
