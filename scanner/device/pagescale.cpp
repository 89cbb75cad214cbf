#include "scanner/device/pagescale.h"

#include "scanner/device/scannedpage.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

void scaleToResolution(ScannedPage& page, double fromDpi, double toDpi)
{
    if (fromDpi <= 0 || toDpi <= 0 || std::abs(fromDpi - toDpi) < 0.5 || page.samples.isEmpty())
        return;
    const int width = qMax(1, int(std::lround(page.width * toDpi / fromDpi)));
    const int height = qMax(1, int(std::lround(page.height * toDpi / fromDpi)));
    const int type = CV_8UC(page.channels);
    const cv::Mat source(page.height, page.width, type, page.samples.data());
    QByteArray samples(int(qint64(width) * height * page.channels), Qt::Uninitialized);
    cv::Mat target(height, width, type, samples.data());
    cv::resize(source, target, target.size(), 0, 0, toDpi < fromDpi ? cv::INTER_AREA : cv::INTER_CUBIC);
    page.width = width;
    page.height = height;
    page.samples = std::move(samples);
}
