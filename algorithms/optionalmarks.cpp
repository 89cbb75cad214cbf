#include "algorithms/optionalmarks.h"

#include "algorithms/conversions.h"
#include "algorithms/errorguard.h"
#include "algorithms/imagebasics.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// White border around the crop, so shapes touching the frame still close.
constexpr int pad = 2;
// Boxes found smaller than this are still framed at a size the operator
// can grab.
constexpr int minBoxWidth = 22;
constexpr int minBoxHeight = 17;
// Score of a box placed by splitting the frame, where nothing was measured.
constexpr double splitBoxScore = 80.0;

// The frame cut into `count` boxes side by side, when it holds too few
// shapes to find them.
void splitFrame(const QRectF& frame, int count, QVector<OptionalMarkArea>& areas)
{
    const double width = frame.width() / count - 10;
    const double height = frame.height() - 5;
    if (width < 1.0 || height < 1.0)
        throw std::invalid_argument(" frame too small for the number of marks");
    for (int i = 0; i < count; ++i)
        areas.append({QRectF(frame.x() + i * width + 5, frame.y() + 2, width, height), splitBoxScore});
}

} // namespace

double darknessScore(const cv::Mat& patch)
{
    return std::max(0.0, 255.0 - cv::mean(patch)[0]);
}

bool compareContourArea(std::vector<cv::Point> a, std::vector<cv::Point> b)
{
    return cv::contourArea(a) > cv::contourArea(b);
}

int getOptQuesAreas(const QPixmap& page, const QRectF& frame, int count, QVector<OptionalMarkArea>& areas)
{
    return guardStandard("getOptQuesAreas", LogFatal, -1, [&] {
        if (count < 1)
            throw std::invalid_argument(" no marks expected");
        cv::Mat grey = cropPage(page, frame);
        convertToGray(grey, grey);
        if (isBlankRegion(grey))
            return 1;
        // Boxes are placed from where the crop really lies, which differs
        // from the frame when it reaches past the page.
        const QRectF onPage = QRectF(clipToImage(frame, page.size()));
        const cv::Size pageSize(page.width(), page.height());

        cv::Mat padded(grey.rows + 2 * pad, grey.cols + 2 * pad, grey.type(), cv::Scalar(255));
        grey.copyTo(padded(cv::Rect(pad, pad, grey.cols, grey.rows)));
        cv::threshold(padded, padded, 100, 255, cv::THRESH_BINARY_INV | cv::THRESH_OTSU);
        const cv::Mat kernel = cv::Mat::ones(2, 5, CV_8U);
        cv::dilate(padded, padded, kernel, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT,
                   cv::morphologyDefaultBorderValue());

        std::vector<std::vector<cv::Point>> contours;
        std::vector<cv::Vec4i> hierarchy;
        cv::findContours(padded, contours, hierarchy, cv::RETR_TREE, cv::CHAIN_APPROX_SIMPLE);

        if (static_cast<int>(contours.size()) < count) {
            splitFrame(onPage, count, areas);
            return 0;
        }
        std::stable_sort(contours.begin(), contours.end(), compareContourArea);
        for (int i = 0; i < count; ++i) {
            cv::Rect box = cv::boundingRect(contours[static_cast<size_t>(i)]);
            box.x += 1;
            box.width -= 1;
            // Dilation can reach into the white border: score only what
            // lies on the crop.
            const cv::Rect patch(box.x - pad, box.y - pad, box.width, box.height);
            const double score = darknessScore(cropView(grey, patch));
            box.width = std::max(box.width, minBoxWidth);
            box.height = std::max(box.height, minBoxHeight);
            const cv::Rect rect(static_cast<int>(onPage.x() + box.x - pad),
                                static_cast<int>(onPage.y() + box.y - pad), box.width, box.height);
            // A mark at the page's edge grows past it by the dilation.
            areas.append({cvRectToQRectF(clipToImage(rect, pageSize)), score});
        }
        return 0;
    });
}

int getChooseScore(const QPixmap& page, QList<QRectF> rects, QList<int>& scores, int dx, int dy)
{
    return guardStandard("getChooseScore", LogFatal, -1, [&] {
        for (QRectF& rect : rects) {
            rect.moveTo(rect.x() + dx, rect.y() + dy);
            scores.append(static_cast<int>(darknessScore(cropPage(page, rect))));
        }
        return 0;
    });
}
