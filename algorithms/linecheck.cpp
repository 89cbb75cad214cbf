#include "algorithms/linecheck.h"

#include "algorithms/conversions.h"
#include "algorithms/errorguard.h"
#include "algorithms/imagebasics.h"
#include "algorithms/linetrace.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// Tilts beyond this are a frame around something else, not a skewed page.
constexpr double maxTilt = 5.0;
// A reference line must reach further than this horizontally.
constexpr float minLineExtent = 100.0f;

} // namespace

bool checkLine(const QPixmap& page, QPixmap* rotatedPage, QRectF* frame, QVector<QRectF>* lines)
{
    return guardStandardSilently(false, [&] {
        cv::Rect frameRect = qRectFToCvRect(*frame);
        // Read in place, colour and all: a page turned in the picture's own
        // four-byte pixels goes back to a pixmap without the two whole-page
        // conversions a three-channel copy costs. The image stays alive
        // while the matrix is read.
        const QImage image = page.toImage();
        const cv::Mat pageMat = viewOfImage(image);
        std::vector<cv::Rect> rects = qRectFsToCvRects(*lines);
        if (isBlankRegion(cropView(pageMat, frameRect)))
            return false;
        cv::Mat rotated;
        if (!correctLineSkew(pageMat, rotated, &frameRect, &rects))
            return false;
        *frame = cvRectToQRectF(frameRect);
        *rotatedPage = cvMatToQPixmap(rotated);
        *lines = cvRectsToQRectFs(rects);
        return true;
    });
}

bool correctLineSkew(const cv::Mat& page, cv::Mat& rotated, cv::Rect* frame, std::vector<cv::Rect>* rects)
{
    // A frame that reaches past the page edge is measured on its part that
    // lies on the page; the frame itself turns as drawn.
    const cv::Mat region = cropView(page, *frame);
    double angle = 0.0;
    if (!getLineAngle(region, &angle))
        return false;
    cv::Mat result;
    rotateImage(page, &result, angle);
    rotated = result;
    const cv::Point2f centre(page.cols / 2.0f, page.rows / 2.0f);
    rotateRect(frame, angle, centre);
    for (cv::Rect& rect : *rects)
        rotateRect(&rect, angle, centre);
    return true;
}

bool getLineAngle(const cv::Mat& region, double* angle)
{
    std::vector<cv::Vec4f> segments;
    cv::Mat work = region.clone();
    if (!detectLines(work, segments))
        return false;
    const float minSpan = static_cast<float>(region.cols / 4);
    float sum = 0.0f;
    int count = 0;
    for (const cv::Vec4f& s : segments) {
        if (std::abs(s[0] - s[2]) < minSpan)
            continue;
        sum += static_cast<float>(std::atan((s[1] - s[3]) / (s[0] - s[2] + 0.000001)) * 180.0 / 3.1415926);
        ++count;
    }
    if (count == 0)
        return false;
    *angle = sum / count;
    return *angle <= maxTilt && *angle >= -maxTilt;
}

bool detectLines(cv::Mat& region, std::vector<cv::Vec4f>& segments)
{
    convertToGray(region, region);
    cv::Mat edges;
    cv::Canny(region, edges, 50.0, 200.0, 3, false);
    segments.clear();
    // Shorter minimum lengths find the pieces of a line that the longer
    // passes miss; each piece is then traced along its ink.
    for (int minLength = 100; minLength > 10; minLength -= 20) {
        std::vector<cv::Vec4i> candidates;
        cv::HoughLinesP(edges, candidates, 1.0, CV_PI / 180, 10, minLength, 100.0);
        segments = traceInkLines(region, candidates);
        const bool found = std::any_of(segments.begin(), segments.end(),
                                       [](const cv::Vec4f& s) { return std::abs(s[0] - s[2]) > minLineExtent; });
        if (found)
            return true;
    }
    return false;
}

void rotateImage(cv::Mat source, cv::Mat* destination, double angle)
{
    const cv::Point2f centre(source.cols / 2.0f, source.rows / 2.0f);
    const cv::Mat turn = cv::getRotationMatrix2D(centre, angle, 1.0);
    // White paper comes in at the corners, opaque where there is a fourth
    // channel.
    cv::warpAffine(source, *destination, turn, source.size(), cv::INTER_LINEAR, cv::BORDER_CONSTANT,
                   cv::Scalar(255, 255, 255, 255));
}

bool rotateRect(cv::Rect* rect, double angle, cv::Point2f centre)
{
    const cv::Point topLeft(rect->x, rect->y);
    const cv::Point bottomRight(rect->x + rect->width, rect->y + rect->height);
    const cv::Point c(cvRound(centre.x), cvRound(centre.y));
    const double radians = angle * 3.141592653589793 / 180;
    const cv::Point a = rotatePoint(topLeft, c, radians);
    const cv::Point b = rotatePoint(bottomRight, c, radians);
    // Only two corners turn: the rectangle keeps following the line it
    // frames instead of growing with each rotation.
    rect->x = std::min(a.x, b.x);
    rect->y = std::min(a.y, b.y);
    rect->width = std::max(a.x, b.x) - rect->x;
    rect->height = std::max(a.y, b.y) - rect->y;
    return true;
}

cv::Point rotatePoint(const cv::Point& p, cv::Point centre, double angleInRadians)
{
    const int dx = p.x - centre.x;
    const int dy = p.y - centre.y;
    const double c = std::cos(angleInRadians);
    const double s = std::sin(angleInRadians);
    return cv::Point(cvRound(dx * c + dy * s + centre.x), cvRound(-dx * s + dy * c + centre.y));
}
