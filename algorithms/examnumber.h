#pragma once

// The exam-number checks: how many digit columns a framed bubble grid has,
// and where its bubbles lie.

#include "algorithms/gridjudge.h"
#include "algorithms/optiongridparams.h"

#include <QPixmap>
#include <QRectF>

#include <opencv2/core.hpp>

// Counts the cells between the full-height vertical ruling lines of the
// frame (ruling lines minus one; -1 when there are none). The lines are
// followed along their lean on a page tilted up to about a degree. 0 counted,
// 1 blank frame (count untouched), -1 image library error.
int countDigitColumns(const QPixmap& page, const QRectF& frame, int& count);

// Measures the rows x cols bubble grid inside the frame on its print at
// the page's own resolution (measureFramedGrid), relative to the frame's
// rounded top-left corner. The border flag does not change the
// measurement. 0 measured, 1 blank frame, a refusal code of gridjudge.h
// when the print holds no such grid, -1 image library error (logged);
// the grid is written only on 0.
int getStuNoPos(const QPixmap& page, const QRectF& frame, int rows, int cols, bool border,
                OptionGridParams& grid);

// The profile measurement of a bubble grid inside the ruled frame of a
// region image, from the row and column projections of its ink; the step
// measures on the print instead (getStuNoPos). 0 measured (grid written),
// 1 no frame lines found or a caught error (logged).
int getTicketNoPosition(const cv::Mat& region, int rows, int cols, OptionGridParams& grid);
