#pragma once

// The check every measured box grid goes through before it is stored.

#include "algorithms/optiongridparams.h"

#include <opencv2/core.hpp>

// The result of a grid check whose frame holds no grid that lies on the
// print: the step refuses the frame rather than store a grid beside it.
constexpr int unmeasurableGrid = 2;

// Measures the grid again from the printed boxes of the grey region that
// `grid` was measured in (same origin). `grid` stays when all its boxes
// sit on print and the two agree within 1.5 pixels; otherwise the fitted
// grid is taken when enough of its boxes sit on print (gridOnInk), else
// `grid` when enough of its own do. False when neither has enough: the
// region cannot be measured, and `grid` is left as it was.
bool settleGridOnInk(const cv::Mat& grey, int rows, int cols, OptionGridParams& grid);
