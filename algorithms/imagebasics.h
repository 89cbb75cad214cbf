#pragma once

// Grey conversion, the blank test and the cropping of framed regions that
// nearly every check starts with.

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QRectF>
#include <QSize>

#include <opencv2/core.hpp>

// Three channels (BGR) and four (BGRA) are turned grey; anything else is
// copied. src and dst may be the same matrix.
void convertToGray(const cv::Mat& src, cv::Mat& dst);

// The image as a matrix, copied only where it must be: an RGB32 image
// (alpha byte always 0xff) is read in place as four channels (BGRA),
// where QImageToCvMat makes a three-channel copy; any other format is
// converted by QImageToCvMat without cloning. Keep `image` alive and
// unchanged while the matrix is used.
cv::Mat viewOfImage(const QImage& image);

// The image in grey (a matrix of its own), as QImageToCvMat and
// convertToGray give it, without the colour copy in between. A page in
// colour (a red or orange printed card) is taken in its darkest channel
// at each pixel instead, where light coloured print is darkest; a page in
// black and grey gives the same grey as convertToGray.
cv::Mat greyOfImage(const QImage& image);
// The same for a matrix as viewOfImage gives it.
cv::Mat greyOfColour(const cv::Mat& colour);

// True when the image holds fewer than 20 ink pixels (pixels at or below
// the Otsu level of its grey copy). An empty image is blank.
bool isBlankRegion(const cv::Mat& image);

// Whole pixels for coordinates that may come from anywhere (a template
// file, a drag far off the page). Values are first held within
// +-2^29, where QRect's own arithmetic cannot overflow either; a
// plain conversion of a value past the int range is undefined. NaN gives 0.
// saturatedInt truncates toward zero like a cast; saturatedRect rounds
// like QRectF::toRect.
int saturatedInt(double value);
QRect saturatedRect(const QRectF& rect);

// The part of `rect` that lies on an image of `size`. The QRectF form
// rounds like saturatedRect, the cv::Rect form is already whole. Empty
// when nothing of it lies on the image.
QRect clipToImage(const QRectF& rect, const QSize& size);
cv::Rect clipToImage(const cv::Rect& rect, const cv::Size& size);

// The framed part of the page, clipped to the page, as a pixmap or as a
// matrix of its own (BGR for an opaque page, BGRA for one with alpha).
// A frame that is empty or lies wholly off the page raises cv::Exception:
// Qt would hand back the whole page for an empty rectangle instead.
QPixmap cropPixmap(const QPixmap& page, const QRectF& rect);
cv::Mat cropPage(const QPixmap& page, const QRectF& rect);

// A view of `rect` clipped to the image, sharing its pixels; raises
// cv::Exception when nothing of it lies on the image.
cv::Mat cropView(const cv::Mat& image, const cv::Rect& rect);
