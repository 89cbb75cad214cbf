#include "algorithms/imagebasics.h"

#include "algorithms/conversions.h"

#include <opencv2/imgproc.hpp>

#include <QtGlobal>

#include <vector>

namespace {

// A pixel count below this is specks or scanner noise, not content.
constexpr int minInkPixels = 20;

// A pixel is coloured when its channels differ by this much: well above
// the colour noise of a scanner on black print and white paper.
constexpr int colouredChannelGap = 48;
// A page is in colour when this share of its pixels is coloured.
constexpr double colouredShare = 0.01;

bool hasColouredPrint(const cv::Mat& colour)
{
    std::vector<cv::Mat> channels;
    cv::split(colour, channels);
    cv::Mat highest = cv::max(cv::max(channels[0], channels[1]), channels[2]);
    cv::Mat lowest = cv::min(cv::min(channels[0], channels[1]), channels[2]);
    const int coloured = cv::countNonZero(highest - lowest > colouredChannelGap);
    return coloured > colouredShare * static_cast<double>(colour.total());
}

// Far past any picture, and small enough that the width of a QRect
// spanning twice this still fits an int.
constexpr double coordinateLimit = 1 << 29;

double held(double value)
{
    if (qIsNaN(value))
        return 0.0;
    return qBound(-coordinateLimit, value, coordinateLimit);
}

[[noreturn]] void refuseCrop(const char* function)
{
    throw cv::Exception(cv::Error::StsOutOfRange,
                        "the framed region is empty or lies outside the image", function, __FILE__,
                        __LINE__);
}

} // namespace

void convertToGray(const cv::Mat& src, cv::Mat& dst)
{
    switch (src.channels()) {
    case 3:
        cv::cvtColor(src, dst, cv::COLOR_BGR2GRAY);
        break;
    case 4:
        cv::cvtColor(src, dst, cv::COLOR_BGRA2GRAY);
        break;
    default:
        src.copyTo(dst);
        break;
    }
}

cv::Mat viewOfImage(const QImage& image)
{
    if (image.format() != QImage::Format_RGB32)
        return QImageToCvMat(image, false);
    // A read-only image over the same pixels: nothing is copied.
    const QImage argb(image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                      QImage::Format_ARGB32);
    return QImageToCvMat(argb, false);
}

cv::Mat greyOfImage(const QImage& image)
{
    return greyOfColour(viewOfImage(image));
}

cv::Mat greyOfColour(const cv::Mat& colour)
{
    cv::Mat grey;
    convertToGray(colour, grey);
    if (colour.channels() < 3 || colour.depth() != CV_8U || !hasColouredPrint(colour))
        return grey;
    // Light print of any colour is darkest in one channel or another: red
    // and orange in blue and green, pink in green; black and grey print
    // and pencil in all of them.
    std::vector<cv::Mat> channels;
    cv::split(colour, channels);
    return cv::min(cv::min(channels[0], channels[1]), channels[2]);
}

bool isBlankRegion(const cv::Mat& image)
{
    if (image.empty())
        return true;
    cv::Mat grey;
    convertToGray(image, grey);
    // The 170 is ignored: Otsu picks the level from the histogram.
    cv::threshold(grey, grey, 170, 255, cv::THRESH_BINARY_INV | cv::THRESH_OTSU);
    return cv::countNonZero(grey) < minInkPixels;
}

int saturatedInt(double value)
{
    return static_cast<int>(held(value));
}

QRect saturatedRect(const QRectF& rect)
{
    const double left = held(rect.x());
    const double top = held(rect.y());
    const double right = held(rect.x() + rect.width());
    const double bottom = held(rect.y() + rect.height());
    return QRect(QPoint(qRound(left), qRound(top)), QPoint(qRound(right) - 1, qRound(bottom) - 1));
}

QRect clipToImage(const QRectF& rect, const QSize& size)
{
    const QRect rounded = saturatedRect(rect);
    if (rounded.isEmpty())
        return QRect();
    return rounded.intersected(QRect(QPoint(0, 0), size));
}

cv::Rect clipToImage(const cv::Rect& rect, const cv::Size& size)
{
    if (rect.width <= 0 || rect.height <= 0)
        return cv::Rect();
    return rect & cv::Rect(0, 0, size.width, size.height);
}

QPixmap cropPixmap(const QPixmap& page, const QRectF& rect)
{
    const QRect clipped = clipToImage(rect, page.size());
    if (clipped.isEmpty())
        refuseCrop("cropPixmap");
    return page.copy(clipped);
}

cv::Mat cropPage(const QPixmap& page, const QRectF& rect)
{
    // The image is a temporary, so the matrix must own its pixels.
    cv::Mat mat = QImageToCvMat(cropPixmap(page, rect).toImage(), true);
    if (mat.empty())
        refuseCrop("cropPage");
    return mat;
}

cv::Mat cropView(const cv::Mat& image, const cv::Rect& rect)
{
    const cv::Rect clipped = clipToImage(rect, image.size());
    if (clipped.empty())
        refuseCrop("cropView");
    return image(clipped);
}
