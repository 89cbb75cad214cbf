#pragma once

// The only crossings between Qt images and rectangles and OpenCV matrices.

#include "algorithms/optiongridparams.h"

#include <QImage>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <QVector>

#include <opencv2/core.hpp>

#include <utility>
#include <vector>

// Grey (Indexed8, Grayscale8) -> CV_8UC1, RGB32 -> CV_8UC3 (BGR, always a
// new matrix), ARGB32 and premultiplied ARGB32 -> CV_8UC4, RGB888 -> CV_8UC3
// (BGR, always a new matrix); any other format gives an empty matrix and a
// warning. Without cloneImageData the one-channel and four-channel results
// share the image's pixels: keep the image alive and unchanged meanwhile.
cv::Mat QImageToCvMat(const QImage& image, bool cloneImageData = true);

// CV_8UC1 -> Grayscale8, CV_8UC3 (BGR) -> RGB888, CV_8UC4 -> ARGB32; any
// other type gives a null image and a warning. The one- and four-channel
// images share the matrix's pixels and hold a reference to them.
QImage cvMatToQImage(const cv::Mat& mat);
QPixmap cvMatToQPixmap(const cv::Mat& mat);

// Each coordinate truncated toward zero.
cv::Rect qRectFToCvRect(const QRectF& rect);
std::vector<cv::Rect> qRectFsToCvRects(const QVector<QRectF>& rects);
QRectF cvRectToQRectF(const cv::Rect& rect);
QVector<QRectF> cvRectsToQRectFs(const std::vector<cv::Rect>& rects);

// The rectangle of the grid's first box.
QRectF toQRectF(const OptionGridParams& grid);

// The resolution of a page in dots per inch, from its pixel width against
// the width of the paper the sheets are printed on: A3 landscape (420 mm)
// when the page is wider than high, else A4 portrait (210 mm). Bounded to
// 100 .. 600 dots per inch, so that a page of another size is never blown
// up or shrunk to nothing.
float pageDpi(const QSize& pageSize);

// The factor that brings a page of `pageSize` to 200 dots per inch by its
// own resolution; 1 for a page within 3 % of 200 dpi (a scanner's
// margins), which is measured as it is.
float scaleFactorTo200Dpi(const QSize& pageSize);

// The pixmap, a part of a page of `pageSize`, scaled to 200 dots per inch
// by the page's own resolution, and the factor used: divide what is found
// in the scaled image by the factor to get back to page pixels. A page
// within 3 % of 200 dpi (a scanner's margins) is taken as it is, with the
// factor 1.
std::pair<QPixmap, float> scaleTo200Dpi(const QPixmap& pixmap, const QSize& pageSize);
