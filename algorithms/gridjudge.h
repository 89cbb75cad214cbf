#pragma once

// Measuring a framed grid on its print, the last step of which judges the
// grid against the print: the shapes a candidate fills (gridshapes.h), the
// lattice through them (gridlattice.h), and whether every row and column
// of the laid-out grid lies on them.

#include "algorithms/optiongridparams.h"

#include <QPixmap>
#include <QRectF>

#include <opencv2/core.hpp>

// Results of the grid checks that refuse a frame. The steps show their
// own message for each and log the reason (gridRefusalReason).
constexpr int unmeasurableGrid = 2; // no lattice of the rows x cols asked lies on printed boxes
constexpr int gridCountDiffers = 3; // the frame holds more rows or columns of boxes than asked
constexpr int gridOffPrint = 4;     // a row or column of the grid lies mostly off the print

// What a grid check's result other than 0 means, for the log: a refusal
// code, 1 (blank frame) or -1 (image library error).
const char* gridRefusalReason(int code);

// Measures the rows x cols grid framed by `frame` in a grey crop that
// reaches a little beyond the frame (so that boxes cut by it are whole),
// at `dpi`. Boxes the size of the standard 200-dpi grid (68 x 48, see
// optiongridparams.h) snap onto it. 0 with `grid` written (crop
// coordinates), else one of the refusal codes and `grid` untouched.
int measureGridOnPrint(const cv::Mat& grey, const cv::Rect& frame, int rows, int cols, float dpi,
                       OptionGridParams& grid);

// The framed rows x cols grid of a page measured on its print, at the
// page's own resolution, relative to the frame's rounded top-left corner:
// 0 measured (grid written), 1 blank frame, or a refusal code. Raises
// cv::Exception for a frame off the page.
int measureFramedGrid(const QPixmap& page, const QRectF& frame, int rows, int cols, OptionGridParams& grid);

// The grey of a frame (clipped to the page) and a margin of a couple of
// millimetres around it, padded with paper beyond the page's edge, made
// smaller by `factor` where it holds more than `maxPixels`; `inner` is the
// frame in it.
cv::Mat greyAroundFrame(const QPixmap& page, const QRect& framed, double maxPixels, cv::Rect& inner, double& factor);

// How many columns of `rows` boxes the frame holds, up to `maxColumns`:
// the count whose grid the print takes, tried at the columns the boxes
// stand in, then one fewer and one more. -1 where no count is taken (a
// frame of ruled cells without boxes, a blank one).
int countFramedColumns(const QPixmap& page, const QRectF& frame, int rows, int maxColumns);
