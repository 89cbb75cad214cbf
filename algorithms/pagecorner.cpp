#include "algorithms/pagecorner.h"

#include "algorithms/blend.h"
#include "algorithms/conversions.h"
#include "algorithms/errorguard.h"
#include "algorithms/imagebasics.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

using Contours = std::vector<std::vector<cv::Point>>;

// The black frame around the page makes a sheet that is white up to the
// image's edges still give a closed outline.
constexpr int pageBorder = 5;
// Paper is brighter than this, the scanner's background darker.
constexpr double paperLevel = 50.0;
// How far, in pixels of a 200-dpi page, the sheet's outline may stray from
// its corners' polygon: a folded corner of about 3 mm strays further.
constexpr double outlineTolerance = 20.0;

// minAreaRect reports angles in (0, 90]: the sheet's tilt is the one of
// least size, so an upright sheet (0 or 90) is not turned on its side.
double sheetTilt(const cv::RotatedRect& box)
{
    double angle = box.angle;
    while (angle >= 45.0)
        angle -= 90.0;
    while (angle < -45.0)
        angle += 90.0;
    return angle;
}

// Rules printed across the whole sheet (or red ones, blackened by the
// colour filter) would cut its outline into panels, and the page would be
// cut to the largest of them. Dark strokes up to this width with paper on
// both sides are bridged.
constexpr double bridgedStrokeMillimetres = 1.5;

// Closes the paper mask across thin dark strokes. The mask is widened by
// black first, so paper that reaches the picture's edge keeps its edge.
void bridgeThinStrokes(cv::Mat& mask, double dotsPerInch)
{
    const int radius = std::max(1, static_cast<int>(std::lround(bridgedStrokeMillimetres * dotsPerInch / 25.4 / 2)));
    cv::Mat padded;
    cv::copyMakeBorder(mask, padded, radius, radius, radius, radius, cv::BORDER_CONSTANT, cv::Scalar(0));
    const cv::Mat square = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(2 * radius + 1, 2 * radius + 1));
    cv::morphologyEx(padded, padded, cv::MORPH_CLOSE, square);
    padded(cv::Rect(radius, radius, mask.cols, mask.rows)).copyTo(mask);
}

Contours outerContours(const cv::Mat& binary)
{
    Contours contours;
    cv::findContours(binary, contours, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_NONE);
    return contours;
}

// The outlines of the paper in `mask` and the index of the sheet's, -1
// without any. Where the largest leaves much of the paper outside, rules
// have cut the sheet into panels: the mask is bridged across them and
// looked at again (only then, since most pages need no bridging).
int sheetOutline(cv::Mat& mask, double dotsPerInch, Contours& contours)
{
    contours = outerContours(mask);
    int sheet = largestContourIndex(contours);
    if (sheet < 0)
        return sheet;
    double paper = 0.0;
    for (const auto& contour : contours)
        paper += std::fabs(cv::contourArea(contour));
    constexpr double sheetShare = 0.9;
    if (std::fabs(cv::contourArea(contours[sheet])) < sheetShare * paper) {
        bridgeThinStrokes(mask, dotsPerInch);
        contours = outerContours(mask);
        sheet = largestContourIndex(contours);
    }
    return sheet;
}

} // namespace

bool checkPageCorner(QPixmap* page, int width, int height, bool colourFilter, bool fourCornersRequired)
{
    if (!page)
        return false;
    return guardStandard("预处理出错： ", LogFatal, false, [&] {
        const QImage image = page->toImage();
        // Read in place; a page of the reference size needs no resizing.
        const cv::Mat colour = viewOfImage(image);
        if (colour.empty())
            return false;
        cv::Mat src;
        if (colour.size() == cv::Size(width, height)) {
            convertToGray(colour, src);
        } else {
            cv::resize(colour, src, cv::Size(width, height), 0, 0, cv::INTER_LINEAR);
            convertToGray(src, src);
        }
        if (colourFilter)
            overlayBlend(cv::Mat::zeros(src.size(), src.type()), src, src);

        cv::Mat bordered;
        cv::copyMakeBorder(src, bordered, pageBorder, pageBorder, pageBorder, pageBorder, cv::BORDER_CONSTANT,
                           cv::Scalar(0));

        cv::Mat mask = bordered.clone();
        whitenBrightPixels(mask);
        cv::threshold(mask, mask, paperLevel, 255, cv::THRESH_BINARY);
        cv::medianBlur(mask, mask, 3);
        const double dotsPerInch = pageDpi(QSize(width, height));
        Contours contours;
        const int sheet = sheetOutline(mask, dotsPerInch, contours);
        if (sheet < 0)
            return false;

        std::vector<cv::Point> corners;
        // The fold is judged by its size on paper, at any resolution.
        const double tolerance = outlineTolerance * dotsPerInch / 200.0;
        cv::approxPolyDP(contours[sheet], corners, tolerance, true);
        if (fourCornersRequired && corners.size() != 4)
            return false;

        const cv::RotatedRect box = cv::minAreaRect(contours[sheet]);
        const cv::Mat rotation = cv::getRotationMatrix2D(box.center, sheetTilt(box), 1.0);
        cv::Mat straight;
        cv::warpAffine(bordered, straight, rotation, bordered.size(), cv::INTER_LINEAR, cv::BORDER_CONSTANT,
                       cv::Scalar(0));

        cv::Mat probe;
        cv::medianBlur(straight, probe, 5);
        cv::threshold(probe, probe, paperLevel, 255, cv::THRESH_BINARY);
        Contours straightContours;
        const int straightSheet = sheetOutline(probe, dotsPerInch, straightContours);
        if (straightSheet < 0)
            return false;

        const cv::Mat part = straight(cv::boundingRect(straightContours[straightSheet]));
        const float partWidth = static_cast<float>(part.cols);
        const float partHeight = static_cast<float>(part.rows);
        const cv::Point2f from[] = {{0, 0}, {partWidth, 0}, {partWidth, partHeight}, {0, partHeight}};
        const cv::Point2f to[] = {{0, 0},
                                  {static_cast<float>(width), 0},
                                  {static_cast<float>(width), static_cast<float>(height)},
                                  {0, static_cast<float>(height)}};
        cv::Mat rectified;
        cv::warpPerspective(part, rectified, cv::getPerspectiveTransform(from, to), cv::Size(width, height),
                            cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar(255, 255, 255, 0));
        *page = cvMatToQPixmap(rectified);
        return true;
    });
}

int largestContourIndex(const std::vector<std::vector<cv::Point>>& contours)
{
    if (contours.empty())
        return -1;
    double bestArea = 0.0;
    int bestIndex = 0;
    const int count = static_cast<int>(contours.size());
#pragma omp parallel for schedule(static)
    for (int i = 0; i < count; ++i) {
        const double area = std::fabs(cv::contourArea(contours[i], false));
#pragma omp critical
        {
            // Ties go to the lowest index, whatever thread comes first.
            if (area > bestArea || (area == bestArea && i < bestIndex)) {
                bestArea = area;
                bestIndex = i;
            }
        }
    }
    return bestIndex;
}

void whitenBrightPixels(cv::Mat& image)
{
    CV_Assert(image.type() == CV_8UC1);
    const double mean = cv::mean(image)[0];
    if (mean > 240.0)
        return;
    const int level = static_cast<int>(mean * 0.95);
    const int rows = image.rows;
    const int cols = image.cols;
    // The halves either side of the middle row and column; an odd size
    // leaves the middle line itself out.
    const int halfRows = rows / 2;
    const int halfCols = cols / 2;
    // Each pixel is judged by its own value alone, so the image is changed
    // in place, rows side by side.
#pragma omp parallel for schedule(static)
    for (int i = 0; i < 2 * halfRows; ++i) {
        uchar* row = image.ptr<uchar>(i < halfRows ? i : rows - 2 * halfRows + i);
        for (int j = 0; j < halfCols; ++j)
            row[j] = row[j] > level ? 255 : row[j];
        for (int j = cols - halfCols; j < cols; ++j)
            row[j] = row[j] > level ? 255 : row[j];
    }
}
