#include "algorithms/gridhelpers.h"

#include <algorithm>
#include <cmath>

namespace {

// A bucket index over more buckets than this gains nothing: the points
// of a page are far fewer.
constexpr double maxBuckets = 1 << 16;

// The largest distance of a point from the line of `slope` through the
// middle of their spread, and that line's offset.
double spreadAt(const std::vector<cv::Point2d>& points, double slope, double& offset)
{
    double low = points.front().y - slope * points.front().x;
    double high = low;
    for (const cv::Point2d& p : points) {
        const double rest = p.y - slope * p.x;
        low = std::min(low, rest);
        high = std::max(high, rest);
    }
    offset = (low + high) / 2.0;
    return (high - low) / 2.0;
}

} // namespace

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

int greyPercentile(const cv::Mat& grey, double share)
{
    CV_Assert(grey.type() == CV_8UC1);
    long long histogram[256] = {};
    for (int y = 0; y < grey.rows; ++y) {
        const uchar* row = grey.ptr<uchar>(y);
        for (int x = 0; x < grey.cols; ++x)
            ++histogram[row[x]];
    }
    const double wanted = share * static_cast<double>(grey.total());
    double seen = 0.0;
    for (int level = 0; level < 256; ++level) {
        seen += static_cast<double>(histogram[level]);
        if (seen >= wanted)
            return level;
    }
    return 255;
}

LineFit leastSquaresLine(const std::vector<cv::Point2d>& points)
{
    double meanT = 0.0;
    double meanValue = 0.0;
    for (const cv::Point2d& p : points) {
        meanT += p.x;
        meanValue += p.y;
    }
    const double n = static_cast<double>(std::max<size_t>(points.size(), 1));
    meanT /= n;
    meanValue /= n;
    double covariance = 0.0;
    double variance = 0.0;
    for (const cv::Point2d& p : points) {
        covariance += (p.x - meanT) * (p.y - meanValue);
        variance += (p.x - meanT) * (p.x - meanT);
    }
    LineFit fit;
    fit.slope = variance > 0.0 ? covariance / variance : 0.0;
    fit.offset = meanValue - fit.slope * meanT;
    return fit;
}

LineFit minimaxLine(const std::vector<cv::Point2d>& points, const LineFit& guess, double slopeReach)
{
    // The spread is convex in the slope: a golden-section search finds its
    // lowest point to well under a thousandth of a pixel per step.
    constexpr double golden = 0.6180339887498949;
    double low = guess.slope - slopeReach;
    double high = guess.slope + slopeReach;
    double offset = 0.0;
    double a = high - golden * (high - low);
    double b = low + golden * (high - low);
    double spreadA = spreadAt(points, a, offset);
    double spreadB = spreadAt(points, b, offset);
    for (int step = 0; step < 60 && high - low > 1e-7; ++step) {
        if (spreadA <= spreadB) {
            high = b;
            b = a;
            spreadB = spreadA;
            a = high - golden * (high - low);
            spreadA = spreadAt(points, a, offset);
        } else {
            low = a;
            a = b;
            spreadA = spreadB;
            b = low + golden * (high - low);
            spreadB = spreadAt(points, b, offset);
        }
    }
    LineFit fit;
    fit.slope = (low + high) / 2.0;
    spreadAt(points, fit.slope, fit.offset);
    return fit;
}

PointBuckets::PointBuckets(const std::vector<cv::Point2d>& points, double bucketSize)
    : m_size(std::max(bucketSize, 1.0))
{
    if (points.empty()) {
        m_starts.assign(2, 0);
        return;
    }
    cv::Point2d high = points.front();
    m_origin = points.front();
    for (const cv::Point2d& p : points) {
        m_origin.x = std::min(m_origin.x, p.x);
        m_origin.y = std::min(m_origin.y, p.y);
        high.x = std::max(high.x, p.x);
        high.y = std::max(high.y, p.y);
    }
    // Points spread far wider than their buckets: larger buckets.
    const double spanX = high.x - m_origin.x;
    const double spanY = high.y - m_origin.y;
    while ((spanX / m_size + 1.0) * (spanY / m_size + 1.0) > maxBuckets)
        m_size *= 2.0;
    m_columns = static_cast<int>(spanX / m_size) + 1;
    m_rows = static_cast<int>(spanY / m_size) + 1;
    std::vector<int> bucket(points.size());
    m_starts.assign(static_cast<size_t>(m_columns) * static_cast<size_t>(m_rows) + 1, 0);
    for (size_t i = 0; i < points.size(); ++i) {
        const int x = bucketOf(points[i].x, m_columns);
        const int y = bucketOf(points[i].y, m_rows, true);
        bucket[i] = y * m_columns + x;
        ++m_starts[static_cast<size_t>(bucket[i]) + 1];
    }
    for (size_t b = 1; b < m_starts.size(); ++b)
        m_starts[b] += m_starts[b - 1];
    m_order.resize(points.size());
    std::vector<int> filled(m_starts.begin(), m_starts.end() - 1);
    for (size_t i = 0; i < points.size(); ++i)
        m_order[static_cast<size_t>(filled[static_cast<size_t>(bucket[i])]++)] = static_cast<int>(i);
}

int PointBuckets::bucketOf(double value, int count, bool vertical) const
{
    const double from = vertical ? m_origin.y : m_origin.x;
    const double index = std::floor((value - from) / m_size);
    if (!(index > 0.0))
        return 0;
    return static_cast<int>(std::min(index, static_cast<double>(count - 1)));
}
