#include "algorithms/slantedprojection.h"

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <vector>

namespace {

std::vector<cv::Point> inkPoints(const cv::Mat& image)
{
    CV_Assert(image.type() == CV_8UC1);
    cv::Mat ink;
    cv::compare(image, 255, ink, cv::CMP_EQ);
    std::vector<cv::Point> points;
    cv::findNonZero(ink, points);
    return points;
}

// The shift of each row that stands a line leaning by `drift` upright.
std::vector<int> rowShifts(int rows, int drift)
{
    std::vector<int> shifts(static_cast<size_t>(rows), 0);
    const double slope = rows > 1 ? static_cast<double>(drift) / (rows - 1) : 0.0;
    for (int r = 0; r < rows; ++r)
        shifts[static_cast<size_t>(r)] = static_cast<int>(std::lround(slope * r));
    return shifts;
}

std::vector<int> countAlong(const std::vector<cv::Point>& points, int rows, int cols, int drift, int padding)
{
    const std::vector<int> shifts = rowShifts(rows, drift);
    std::vector<int> counts(static_cast<size_t>(cols + 2 * padding), 0);
    for (const cv::Point& p : points)
        ++counts[static_cast<size_t>(p.x - shifts[static_cast<size_t>(p.y)] + padding)];
    return counts;
}

} // namespace

void slantedColumnProjection(const cv::Mat& image, int drift, int padding, cv::Mat& projection)
{
    CV_Assert(padding >= std::abs(drift));
    const std::vector<int> counts = countAlong(inkPoints(image), image.rows, image.cols, drift, padding);
    projection.create(1, static_cast<int>(counts.size()), CV_32FC1);
    float* entries = projection.ptr<float>(0);
    for (size_t i = 0; i < counts.size(); ++i)
        entries[i] = static_cast<float>(counts[i]);
}

int steepestColumnDrift(const cv::Mat& image, int maxDrift)
{
    const std::vector<cv::Point> points = inkPoints(image);
    // Ink gathered into few columns scores high: the sum of the squared
    // counts. Searched outward from level, so a tie keeps the smaller lean.
    int best = 0;
    double bestScore = -1.0;
    for (int step = 0; step <= 2 * maxDrift; ++step) {
        const int drift = step % 2 == 0 ? step / 2 : -(step + 1) / 2;
        double score = 0.0;
        for (const int count : countAlong(points, image.rows, image.cols, drift, maxDrift))
            score += static_cast<double>(count) * count;
        if (score > bestScore) {
            bestScore = score;
            best = drift;
        }
    }
    return best;
}
