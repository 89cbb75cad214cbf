#pragma once

// Whether a measured grid lies on the printed boxes (printedBoxes).

#include "algorithms/optiongridparams.h"

#include <opencv2/core.hpp>

#include <vector>

// How many of the rows x cols laid-out boxes of `grid` sit on a printed
// box: one of about their size whose centre lies within a third of a box
// of theirs.
int boxesOnInk(const std::vector<cv::Rect>& printed, const OptionGridParams& grid, int rows, int cols);

// True when enough laid-out boxes sit on printed boxes to trust the grid:
// a few printed boxes may be lost under pencil that spills over them.
bool gridOnInk(const std::vector<cv::Rect>& printed, const OptionGridParams& grid, int rows, int cols);
