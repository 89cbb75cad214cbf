#include "algorithms/regionfill.h"

#include <stdexcept>
#include <vector>

namespace {

enum Label : uchar {
    Unvisited = 0,
    Growing = 1,
    Small = 2, // to be filled
    Kept = 3,  // not examined, or part of a large region
};

// Grows the region of unvisited pixels that holds `seed` and labels it
// Small or Kept by its size.
void growRegion(cv::Mat& labels, cv::Point seed, const std::vector<cv::Point>& offsets, unsigned areaLimit,
                std::vector<cv::Point>& region)
{
    region.clear();
    region.push_back(seed);
    labels.at<uchar>(seed) = Growing;
    for (size_t i = 0; i < region.size(); ++i) {
        const cv::Point point = region[i];
        for (const cv::Point& offset : offsets) {
            const cv::Point next = point + offset;
            if (next.x < 0 || next.y < 0 || next.x >= labels.cols || next.y >= labels.rows)
                continue;
            uchar& label = labels.at<uchar>(next);
            if (label == Unvisited) {
                label = Growing;
                region.push_back(next);
            }
        }
    }
    const uchar outcome = region.size() > areaLimit ? Kept : Small;
    for (const cv::Point& point : region)
        labels.at<uchar>(point) = outcome;
}

} // namespace

bool regionFill(const cv::Mat& src, cv::Mat& dst, unsigned areaLimit, int checkMode, int neighbourMode)
{
    CV_Assert(src.type() == CV_8UC1);
    if (checkMode != 0 && checkMode != 1)
        throw std::invalid_argument("regionFill: checkMode should be 0 or 1.");
    if (neighbourMode != 0 && neighbourMode != 1)
        throw std::invalid_argument("regionFill: neighbourMode should be 0 or 1.");

    // A pixel of exactly 10 is examined in both modes.
    constexpr uchar level = 10;
    const bool examineBright = checkMode == 1;
    cv::Mat labels = cv::Mat::zeros(src.size(), CV_8UC1);
    const int rows = src.rows;
    const int cols = src.cols;
#pragma omp parallel for schedule(static)
    for (int y = 0; y < rows; ++y) {
        const uchar* in = src.ptr<uchar>(y);
        uchar* label = labels.ptr<uchar>(y);
        for (int x = 0; x < cols; ++x) {
            if (examineBright ? in[x] < level : in[x] > level)
                label[x] = Kept;
        }
    }

    std::vector<cv::Point> offsets{{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    if (neighbourMode == 1)
        offsets.insert(offsets.end(), {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}});
    std::vector<cv::Point> region;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < cols; ++x) {
            if (labels.at<uchar>(y, x) == Unvisited)
                growRegion(labels, cv::Point(x, y), offsets, areaLimit, region);
        }
    }

    const uchar fill = examineBright ? 0 : 255;
    dst.create(src.size(), src.type());
#pragma omp parallel for schedule(static)
    for (int y = 0; y < rows; ++y) {
        const uchar* in = src.ptr<uchar>(y);
        const uchar* label = labels.ptr<uchar>(y);
        uchar* out = dst.ptr<uchar>(y);
        for (int x = 0; x < cols; ++x)
            out[x] = label[x] == Small ? fill : in[x];
    }
    return true;
}
