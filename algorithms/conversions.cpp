#include "algorithms/conversions.h"

#include "model/infra/logger.h"

#include <QDebug>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// Every colour page takes this road, so it is a note for the log rather
// than a warning on the console.
const char cloningWarning[] =
    "Kyt::QImageToCvMat() - Conversion requires cloning so we don't modify the original QImage data";

// Wraps the image's pixels without detaching it: the matrix only reads them
// unless a caller writes into a shared result on purpose.
cv::Mat wrap(const QImage& image, int type)
{
    return cv::Mat(image.height(), image.width(), type, const_cast<uchar*>(image.constBits()),
                   static_cast<size_t>(image.bytesPerLine()));
}

void releaseMatrix(void* info)
{
    delete static_cast<cv::Mat*>(info);
}

// An image over the matrix's pixels that keeps them alive through the
// matrix's reference count, so it stays valid after the caller's matrix
// goes away. Being built on const data, writing into it detaches it.
QImage shareMatrix(const cv::Mat& mat, QImage::Format format)
{
    auto* keeper = new cv::Mat(mat);
    return QImage(static_cast<const uchar*>(keeper->data), keeper->cols, keeper->rows, static_cast<int>(keeper->step), format,
                  releaseMatrix, keeper);
}

} // namespace

cv::Mat QImageToCvMat(const QImage& image, bool cloneImageData)
{
    switch (image.format()) {
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8: {
        // Greyscale JPEG pages load as Grayscale8. Indexed8 samples are the
        // palette indices; the colour table is ignored.
        cv::Mat mat = wrap(image, CV_8UC1);
        return cloneImageData ? mat.clone() : mat;
    }
    case QImage::Format_RGB32: {
        if (!cloneImageData)
            fileLogger(LogDebug) << cloningWarning;
        cv::Mat bgr;
        cv::cvtColor(wrap(image, CV_8UC4), bgr, cv::COLOR_BGRA2BGR);
        return bgr;
    }
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: {
        cv::Mat mat = wrap(image, CV_8UC4);
        return cloneImageData ? mat.clone() : mat;
    }
    case QImage::Format_RGB888: {
        if (!cloneImageData)
            fileLogger(LogDebug) << cloningWarning;
        const QImage swapped = image.rgbSwapped();
        return wrap(swapped, CV_8UC3).clone();
    }
    default:
        qWarning() << "Kyt::QImageToCvMat() - QImage format not handled in switch:" << static_cast<int>(image.format());
        return cv::Mat();
    }
}

QImage cvMatToQImage(const cv::Mat& mat)
{
    switch (mat.type()) {
    case CV_8UC1:
        return shareMatrix(mat, QImage::Format_Grayscale8);
    case CV_8UC3: {
        const QImage wrapped(mat.data, mat.cols, mat.rows, static_cast<int>(mat.step),
                             QImage::Format_RGB888);
        return wrapped.rgbSwapped();
    }
    case CV_8UC4:
        return shareMatrix(mat, QImage::Format_ARGB32);
    default:
        qWarning() << "cvMatToQImage() - cv::Mat image type not handled in switch:" << mat.type();
        return QImage();
    }
}

QPixmap cvMatToQPixmap(const cv::Mat& mat)
{
    return QPixmap::fromImage(cvMatToQImage(mat), Qt::AutoColor);
}

cv::Rect qRectFToCvRect(const QRectF& rect)
{
    return cv::Rect(static_cast<int>(rect.x()), static_cast<int>(rect.y()),
                    static_cast<int>(rect.width()), static_cast<int>(rect.height()));
}

std::vector<cv::Rect> qRectFsToCvRects(const QVector<QRectF>& rects)
{
    std::vector<cv::Rect> result;
    result.reserve(static_cast<size_t>(rects.size()));
    for (const QRectF& rect : rects)
        result.push_back(qRectFToCvRect(rect));
    return result;
}

QRectF cvRectToQRectF(const cv::Rect& rect)
{
    return QRectF(rect.x, rect.y, rect.width, rect.height);
}

QVector<QRectF> cvRectsToQRectFs(const std::vector<cv::Rect>& rects)
{
    QVector<QRectF> result;
    result.reserve(static_cast<int>(rects.size()));
    for (const cv::Rect& rect : rects)
        result.append(cvRectToQRectF(rect));
    return result;
}

QRectF toQRectF(const OptionGridParams& grid)
{
    return QRectF(grid.x, grid.y, grid.boxWidth, grid.boxHeight);
}

float pageDpi(const QSize& pageSize)
{
    constexpr float millimetresPerInch = 25.4f;
    constexpr float a3LandscapeWidth = 420.0f;
    constexpr float a4PortraitWidth = 210.0f;
    constexpr float lowestDpi = 100.0f;
    constexpr float highestDpi = 600.0f;
    const float paperWidth = pageSize.width() > pageSize.height() ? a3LandscapeWidth : a4PortraitWidth;
    const float dpi = static_cast<float>(pageSize.width()) * millimetresPerInch / paperWidth;
    return std::clamp(dpi, lowestDpi, highestDpi);
}

float scaleFactorTo200Dpi(const QSize& pageSize)
{
    constexpr float measuringDpi = 200.0f;
    constexpr float sameResolution = 0.03f;
    const float factor = measuringDpi / pageDpi(pageSize);
    return std::abs(factor - 1.0f) <= sameResolution ? 1.0f : factor;
}

std::pair<QPixmap, float> scaleTo200Dpi(const QPixmap& pixmap, const QSize& pageSize)
{
    const float factor = scaleFactorTo200Dpi(pageSize);
    if (factor == 1.0f)
        return {pixmap, 1.0f};
    const int newWidth = static_cast<int>(static_cast<float>(pixmap.width()) * factor);
    return {pixmap.scaledToWidth(newWidth, Qt::FastTransformation), factor};
}
