#pragma once

// The objective-question checks: how many questions and options a framed
// block holds, and where its grid of option boxes lies.

#include "algorithms/gridjudge.h"
#include "algorithms/optiongridparams.h"

#include <QPixmap>
#include <QRectF>

#include <opencv2/core.hpp>

// Estimates the question count (text-line bands of the frame) and the
// option count (from the frame's aspect). 0 estimated, 1 blank frame,
// -1 image library error; the outputs are written only on 0.
int checkObjectiveArea(const QPixmap& page, const QRectF& frame, int& questionCount, int& optionCount);

// Measures the rows x cols option boxes inside the frame on its print at
// the page's own resolution (measureFramedGrid), relative to the frame's
// rounded top-left corner; boxes of the standard 200-dpi size snap onto
// the standard grid. 0 measured, 1 blank frame, a refusal code of
// gridjudge.h when the print holds no such grid, -1 image library error;
// the grid is written only on 0.
int getObjectPos(const QPixmap& page, const QRectF& frame, int rows, int cols, OptionGridParams& grid);

// The profile measurement of an option grid in a 200-dpi region image
// from its row and column projections; the image is turned grey and then
// black-and-white in place; values near the standard grid snap onto it.
// The step measures on the print instead (getObjectPos). 0 measured (grid
// written), 1 empty image, nothing left to measure, or a caught error
// (logged).
int getObjectSelectPosition(cv::Mat& image, int rows, int cols, OptionGridParams& grid);

// The framed part of the page as content 255 on 0: stretched as above,
// locally thresholded and cleared of specks of up to 4 pixels. False,
// with `ink` undefined, when the stretched frame is blank.
bool frameInk(const QPixmap& page, const QRectF& frame, int blendPasses, cv::Mat& ink);
