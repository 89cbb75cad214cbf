#include "algorithms/printink.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// However small the cells, marks of this size may be the dots of a line.
constexpr int smallestDotLimit = 3;

int oddAtLeast3(int value)
{
    value = std::max(value, 3);
    return value | 1;
}

// The grey level below which the given share of the pixels lies.
int percentile(const cv::Mat& grey, double share)
{
    int histogram[256] = {};
    for (int y = 0; y < grey.rows; ++y) {
        const uchar* row = grey.ptr<uchar>(y);
        for (int x = 0; x < grey.cols; ++x)
            ++histogram[row[x]];
    }
    const double wanted = share * static_cast<double>(grey.total());
    double seen = 0.0;
    for (int level = 0; level < 256; ++level) {
        seen += histogram[level];
        if (seen >= wanted)
            return level;
    }
    return 255;
}

// How far apart the dots of dotted lines lie: the median distance from
// each small mark to its nearest small neighbour. 0 when there are too
// few small marks for a dotted line.
double dotPeriod(const std::vector<cv::Point2d>& dots)
{
    constexpr size_t minDots = 8;
    if (dots.size() < minDots)
        return 0.0;
    std::vector<double> nearest;
    nearest.reserve(dots.size());
    for (size_t i = 0; i < dots.size(); ++i) {
        double best = -1.0;
        // Sorted by x: the scan stops once x alone is further than the best.
        for (size_t j = i + 1; j < dots.size() && (best < 0 || dots[j].x - dots[i].x < best); ++j) {
            const double d = std::hypot(dots[j].x - dots[i].x, dots[j].y - dots[i].y);
            best = best < 0 ? d : std::min(best, d);
        }
        for (size_t j = i; j-- > 0 && (best < 0 || dots[i].x - dots[j].x < best);) {
            const double d = std::hypot(dots[j].x - dots[i].x, dots[j].y - dots[i].y);
            best = best < 0 ? d : std::min(best, d);
        }
        if (best >= 0)
            nearest.push_back(best);
    }
    const auto middle = nearest.begin() + static_cast<std::ptrdiff_t>(nearest.size() / 2);
    std::nth_element(nearest.begin(), middle, nearest.end());
    return *middle;
}

// The dots of dotted outlines joined into lines, across the gap between
// neighbouring dots and no further, so neighbouring boxes stay apart. Only
// thin marks are stretched along rows and columns, so bubbles and letters
// keep their shape.
void joinDottedLines(cv::Mat& ink, const cv::Size& cell)
{
    const int small = std::max(smallestDotLimit, std::min(cell.width, cell.height) / 6);
    cv::Mat labels;
    cv::Mat stats;
    cv::Mat centroids;
    const int count = cv::connectedComponentsWithStats(ink, labels, stats, centroids, 8, CV_32S);
    std::vector<cv::Point2d> dots;
    std::vector<uchar> thin(static_cast<size_t>(count), 0);
    for (int i = 1; i < count; ++i) {
        const int width = stats.at<int>(i, cv::CC_STAT_WIDTH);
        const int height = stats.at<int>(i, cv::CC_STAT_HEIGHT);
        if (width <= small && height <= small)
            dots.emplace_back(centroids.at<double>(i, 0), centroids.at<double>(i, 1));
        // A dot, a dash, or a run of them already joined: thin either way.
        if (std::min(width, height) <= small)
            thin[static_cast<size_t>(i)] = 1;
    }
    std::sort(dots.begin(), dots.end(), [](const cv::Point2d& a, const cv::Point2d& b) { return a.x < b.x; });
    const double period = dotPeriod(dots);
    if (period <= 0.0 || period > 2.0 * small)
        return;
    cv::Mat lines(ink.size(), CV_8UC1);
    for (int y = 0; y < ink.rows; ++y) {
        const int* label = labels.ptr<int>(y);
        uchar* out = lines.ptr<uchar>(y);
        for (int x = 0; x < ink.cols; ++x)
            out[x] = thin[static_cast<size_t>(label[x])] ? 255 : 0;
    }
    const int reach = oddAtLeast3(static_cast<int>(std::ceil(period)) + 1);
    cv::Mat across;
    cv::morphologyEx(lines, across, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(reach, 1)));
    cv::morphologyEx(lines, lines, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(1, reach)));
    lines |= across;
    // Where a row of dots meets a column of them, neither line may have
    // the corner dot: closed across as well.
    cv::morphologyEx(lines, lines, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(reach, reach)));
    ink |= lines;
}

} // namespace

cv::Mat printInk(const cv::Mat& grey, const cv::Size& cell)
{
    // A closing with a kernel wider than a stroke takes the stroke away;
    // what it took is the stroke, on paper or on shading alike.
    const int kernel = oddAtLeast3(std::min(std::min(cell.width, cell.height) / 4, 15));
    cv::Mat strokes;
    cv::morphologyEx(grey, strokes, cv::MORPH_BLACKHAT,
                     cv::getStructuringElement(cv::MORPH_RECT, cv::Size(kernel, kernel)));
    // Light print stands some twenty grey levels off the paper; scanner
    // noise stays well below that, and below a third of the strongest strokes.
    const int strongest = percentile(strokes, 0.99);
    const double strokeLevel = std::max(16.0, 0.35 * strongest);
    cv::Mat ink = strokes > strokeLevel;

    // Filled boxes and pencil are dark, wide and no stroke: taken by level,
    // halfway between paper and the darkest ink.
    const int paper = percentile(grey, 0.9);
    const int darkest = percentile(grey, 0.01);
    if (paper - darkest > 80)
        ink |= grey < (paper + darkest) / 2;

    // Joins rims the scanner broke by a pixel.
    cv::morphologyEx(ink, ink, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    joinDottedLines(ink, cell);
    return ink;
}
