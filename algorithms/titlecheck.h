#pragma once

// The check behind framing a page's printed title.

#include <QPixmap>
#include <QRectF>

#include <opencv2/core.hpp>

namespace TitleCheck {
enum : int {
    Accepted = 0,
    Blank = 1,    // the frame holds too little print, or none
    TooShort = 2, // narrower than 140 px (at 200 dpi, fewer below) and than a tenth of the page or so
    Failed = -1,  // not found again around its place, or an error
};
}

// Tightens `frame` on `page` to the printed title and writes the result to
// *titleRect as soon as it is known (also before TooShort or Failed; left
// alone on Blank). On a front face the title must also be wide enough and
// be found again by feature matching in its page; a back face stops after
// the outline. Returns one of the TitleCheck codes.
int checkTitle(const QPixmap& page, const QRectF& frame, QRectF* titleRect, bool frontFace);

// The bounding rectangle, in region coordinates, of the print in `region`
// once specks of 8 pixels or fewer are dropped; false when nothing is left.
bool getIconOutLine(const cv::Mat& region, cv::Rect* outline);
