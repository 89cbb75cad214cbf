#pragma once

// The exam-number checks: how many digit columns a framed bubble grid has,
// and where its bubbles lie.

#include "algorithms/gridrecheck.h"
#include "algorithms/optiongridparams.h"

#include <QPixmap>
#include <QRectF>

#include <opencv2/core.hpp>

// Counts the cells between the full-height vertical ruling lines of the
// frame (ruling lines minus one; -1 when there are none). The lines are
// followed along their lean on a page tilted up to about a degree. 0 counted,
// 1 blank frame (count untouched), -1 image library error.
int countDigitColumns(const QPixmap& page, const QRectF& frame, int& count);

// Measures the rows x cols bubble grid inside the frame at the page's own
// resolution, relative to the frame's rounded top-left corner. The grid's
// ruled frame is looked for up to 16 pixels beyond the frame, so a frame
// drawn a little inside or outside the rules gives the same grid. When the
// grid's frame lines are not found the standard grid is fitted instead.
// The border flag does not change the measurement. A grid whose boxes do
// not sit on the printed ones is measured again from the print
// (settleGridOnInk). 0 measured, 1 blank frame, unmeasurableGrid when no
// grid lies on the print, -1 image library error (logged); the grid is
// written only on 0.
int getStuNoPos(const QPixmap& page, const QRectF& frame, int rows, int cols, bool border,
                OptionGridParams& grid);

// Measures the bubble grid inside the ruled frame of a region image.
// 0 measured (grid written), 1 no frame lines found or a caught error
// (logged).
int getTicketNoPosition(const cv::Mat& region, int rows, int cols, OptionGridParams& grid);
