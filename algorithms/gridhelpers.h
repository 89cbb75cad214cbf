#pragma once

// Small helpers the grid measurement shares: middle values, grey-level
// percentiles, straight-line fits and a bucket index of points.

#include <opencv2/core.hpp>

#include <vector>

// The middle of the values (the upper one of two); 0 for none.
double median(std::vector<double> values);

// The grey level below which `share` of the pixels of an 8-bit image lie.
int greyPercentile(const cv::Mat& grey, double share);

// value = offset + slope * t.
struct LineFit
{
    double offset = 0.0;
    double slope = 0.0;
    double at(double t) const { return offset + slope * t; }
};

// Least squares through (t, value) points; the mean value with slope 0
// when all share one t. At least one point.
LineFit leastSquaresLine(const std::vector<cv::Point2d>& points);

// The line whose largest distance from any point is smallest (a
// Chebyshev fit), its slope within `slopeReach` of `guess`'s: an
// axis-aligned grid laid over rows that turn a little is placed so that
// its worst box is as close as can be. At least one point.
LineFit minimaxLine(const std::vector<cv::Point2d>& points, const LineFit& guess, double slopeReach);

// Points sorted into square buckets, so that the neighbours of a point are
// found among a few buckets rather than all points.
class PointBuckets
{
public:
    PointBuckets(const std::vector<cv::Point2d>& points, double bucketSize);

    // Calls visit(index) for every point within `reach` of `at` on either
    // axis (and some up to a bucket further).
    template <typename Visit>
    void near(const cv::Point2d& at, double reach, Visit&& visit) const
    {
        const int x0 = bucketOf(at.x - reach, m_columns);
        const int x1 = bucketOf(at.x + reach, m_columns);
        const int y0 = bucketOf(at.y - reach, m_rows, true);
        const int y1 = bucketOf(at.y + reach, m_rows, true);
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const size_t bucket = static_cast<size_t>(y) * static_cast<size_t>(m_columns) + static_cast<size_t>(x);
                for (int i = m_starts[bucket]; i < m_starts[bucket + 1]; ++i)
                    visit(static_cast<size_t>(m_order[static_cast<size_t>(i)]));
            }
        }
    }

private:
    int bucketOf(double value, int count, bool vertical = false) const;

    double m_size;
    cv::Point2d m_origin;
    int m_columns = 1;
    int m_rows = 1;
    std::vector<int> m_starts; // per bucket, into m_order; one more at the end
    std::vector<int> m_order;  // point indices, bucket by bucket
};
