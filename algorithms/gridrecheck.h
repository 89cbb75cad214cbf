#pragma once

// The check every measured box grid goes through before it is stored.

#include "algorithms/optiongridparams.h"

#include <opencv2/core.hpp>

// The result of a grid check whose frame holds no grid that lies on the
// print: the step refuses the frame rather than store a grid beside it.
constexpr int unmeasurableGrid = 2;

// Measures the grid again from the printed boxes of the grey region that
// `grid` was measured in (same origin). `grid` stays when all its boxes
// sit on print and the two agree within a tenth of a box; otherwise the
// one with more boxes on print is taken, the fitted one on a tie. False
// when neither has enough (gridOnInk): the region cannot be measured,
// and `grid` is left as it was.
bool settleGridOnInk(const cv::Mat& grey, int rows, int cols, OptionGridParams& grid);
