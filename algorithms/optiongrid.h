#pragma once

// The objective-question checks: how many questions and options a framed
// block holds, and where its grid of option boxes lies.

#include "algorithms/gridrecheck.h"
#include "algorithms/optiongridparams.h"

#include <QPixmap>
#include <QRectF>

#include <opencv2/core.hpp>

// Estimates the question count (text-line bands of the frame) and the
// option count (from the frame's aspect). 0 estimated, 1 blank frame,
// -1 image library error; the outputs are written only on 0.
int checkObjectiveArea(const QPixmap& page, const QRectF& frame, int& questionCount, int& optionCount);

// Measures the rows x cols option boxes inside the frame at 200 dpi (by
// the page's own resolution, see pageDpi) and returns the grid in page
// pixels, relative to the frame's rounded top-left corner. Falls back to
// the standard grid when no boxes can be measured; a grid whose boxes do
// not sit on the printed ones is measured again from the print at the
// page's resolution (settleGridOnInk). 0 measured, 1 blank frame,
// unmeasurableGrid when no grid lies on the print, -1 image library
// error; the grid is written only on 0.
int getObjectPos(const QPixmap& page, const QRectF& frame, int rows, int cols, OptionGridParams& grid);

// Measures the grid in a region image, which is turned grey and then
// black-and-white in place; values near the standard 200-dpi grid snap
// onto it. 0 measured (grid written), 1 empty image, nothing left to
// measure, or a caught error (logged).
int getObjectSelectPosition(cv::Mat& image, int rows, int cols, OptionGridParams& grid);

// The framed part of the page as content 255 on 0: stretched as above,
// locally thresholded and cleared of specks of up to 4 pixels. False,
// with `ink` undefined, when the stretched frame is blank.
bool frameInk(const QPixmap& page, const QRectF& frame, int blendPasses, cv::Mat& ink);
