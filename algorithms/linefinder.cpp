#include "algorithms/linefinder.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <vector>

namespace {

// Edges of black-and-white input are hard, so only strong gradients count.
constexpr double cannyLow = 220;
constexpr double cannyHigh = 255;
constexpr int houghVotes = 50;
constexpr double minLengthShare = 0.1; // of the image's height or width
constexpr double maxGapShare = 0.7;
// Vertical segments this close to the left or right border are the crop's
// edge, not the frame.
constexpr int borderMargin = 5;
// Fewer segments than this in a pass is no frame.
constexpr size_t minSegments = 4;

struct FloatSegment {
    cv::Point2f p{0.0f, 0.0f};
    cv::Point2f q{0.0f, 0.0f};
};

FloatSegment toFloat(const cv::Vec4i& s)
{
    return {cv::Point2f(static_cast<float>(s[0]), static_cast<float>(s[1])),
            cv::Point2f(static_cast<float>(s[2]), static_cast<float>(s[3]))};
}

// Far enough from every real frame that truncating to int stays defined.
bool usable(const cv::Point2f& point)
{
    constexpr float limit = 1e7f;
    return std::isfinite(point.x) && std::isfinite(point.y) && std::abs(point.x) < limit
        && std::abs(point.y) < limit;
}

} // namespace

bool lineCoefficients(float& k, float& b, const cv::Point2f& p, const cv::Point2f& q)
{
    if (std::abs(p.x - q.x) < 1e-6f) {
        k = 0.0f;
        b = p.x;
    } else if (std::abs(p.y - q.y) < 1e-5f) {
        k = 0.0f;
        b = p.y;
    } else {
        k = (p.y - q.y) / (p.x - q.x);
        b = p.y - k * p.x;
    }
    return true;
}

bool lineIntersection(float k1, float b1, float k2, float b2, cv::Point2f& point)
{
    if (k1 == 0.0f && k2 == 0.0f) {
        point = cv::Point2f(b2, b1);
    } else if (k2 == 0.0f) {
        point = cv::Point2f(b2, k1 * b2 + b1);
    } else if (k1 == 0.0f) {
        point = cv::Point2f((b1 - b2) / (k2 - k1), b1);
    } else {
        if (k1 == k2)
            return false;
        const float x = (b1 - b2) / (k2 - k1);
        point = cv::Point2f(x, k1 * x + b1);
    }
    return true;
}

int findLineFrame(const cv::Mat& image, cv::Rect& frame)
{
    const int rows = image.rows;
    const int cols = image.cols;
    const cv::Rect noFrame(1, 1, cols - 1, rows - 1);

    cv::Mat edges;
    cv::Canny(image, edges, cannyLow, cannyHigh, 3, false);

    // The two passes read the same edges and nothing else: side by side.
    std::vector<cv::Vec4i> segments;
    std::vector<cv::Vec4i> crossSegments;
    std::exception_ptr verticalError, horizontalError;
#pragma omp parallel sections
    {
#pragma omp section
        {
            try {
                cv::HoughLinesP(edges, segments, 1, CV_PI / 180, houghVotes, rows * minLengthShare,
                                rows * maxGapShare);
            } catch (...) {
                verticalError = std::current_exception();
            }
        }
#pragma omp section
        {
            try {
                cv::HoughLinesP(edges, crossSegments, 1, CV_PI / 180, houghVotes, cols * minLengthShare,
                                cols * maxGapShare);
            } catch (...) {
                horizontalError = std::current_exception();
            }
        }
    }
    // An exception must not leave an OpenMP block: raised again here.
    if (verticalError)
        std::rethrow_exception(verticalError);
    if (horizontalError)
        std::rethrow_exception(horizontalError);

    if (segments.size() < minSegments) {
        frame = noFrame;
        return 1;
    }
    FloatSegment left, right;
    int leftMost = cols;
    int rightMost = 0;
    for (const cv::Vec4i& s : segments) {
        if (std::abs(s[0] - s[2]) > std::abs(s[1] - s[3]))
            continue;
        const int maxX = std::max(s[0], s[2]);
        const int minX = std::min(s[0], s[2]);
        if (maxX >= cols - borderMargin || minX <= borderMargin)
            continue;
        // The later of equal segments wins.
        if (maxX <= leftMost) {
            leftMost = maxX;
            left = toFloat(s);
        }
        if (minX >= rightMost) {
            rightMost = minX;
            right = toFloat(s);
        }
    }

    segments.swap(crossSegments);
    if (segments.size() < minSegments) {
        frame = noFrame;
        return 1;
    }
    FloatSegment top, bottom;
    int topMost = rows;
    int bottomMost = 0;
    for (const cv::Vec4i& s : segments) {
        const FloatSegment f = toFloat(s);
        if (std::abs(f.p.x - f.q.x) < std::abs(f.p.y - f.q.y))
            continue;
        const float maxY = std::max(f.p.y, f.q.y);
        const float minY = std::min(f.p.y, f.q.y);
        if (maxY <= static_cast<float>(topMost)) {
            topMost = static_cast<int>(maxY);
            top = f;
        }
        if (minY >= static_cast<float>(bottomMost)) {
            bottomMost = static_cast<int>(minY);
            bottom = f;
        }
    }

    float kTop, bTop, kBottom, bBottom, kLeft, bLeft, kRight, bRight;
    lineCoefficients(kTop, bTop, top.p, top.q);
    lineCoefficients(kBottom, bBottom, bottom.p, bottom.q);
    lineCoefficients(kLeft, bLeft, left.p, left.q);
    lineCoefficients(kRight, bRight, right.p, right.q);

    cv::Point2f topLeft, topRight, bottomLeft, bottomRight;
    const bool crossed = lineIntersection(kTop, bTop, kLeft, bLeft, topLeft)
        && lineIntersection(kTop, bTop, kRight, bRight, topRight)
        && lineIntersection(kBottom, bBottom, kLeft, bLeft, bottomLeft)
        && lineIntersection(kBottom, bBottom, kRight, bRight, bottomRight);
    if (!crossed || !usable(topLeft) || !usable(topRight) || !usable(bottomLeft) || !usable(bottomRight)) {
        frame = noFrame;
        return 1;
    }

    const int x = static_cast<int>(std::min(topLeft.x, bottomLeft.x));
    const int y = static_cast<int>(std::min(topLeft.y, topRight.y));
    const int width = std::max(static_cast<int>(std::abs(x - topRight.x)), static_cast<int>(std::abs(x - bottomRight.x)));
    const int height = std::max(static_cast<int>(std::abs(y - bottomLeft.y)), static_cast<int>(std::abs(y - bottomRight.y)));
    frame = cv::Rect(x, y, width, height);
    return (x <= 0 || y <= 0 || width < 1 || height < 1) ? 1 : 0;
}
