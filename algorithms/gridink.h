#pragma once

// The printed boxes of a framed grid as the ink shows them, and the test
// whether a measured grid lies on them.

#include "algorithms/optiongridparams.h"

#include <opencv2/core.hpp>

#include <vector>

// Print as 255 on 0 in a grey region: thin strokes darker than what lies
// around them (box outlines, bubble rims, brackets, even in light red or
// grey print, but not the flat shading between columns), and whatever is
// plainly dark (filled boxes, pencil marks, solid print). `cell` is the
// rough size of one grid cell, which scales the stroke kernels.
cv::Mat printInk(const cv::Mat& grey, const cv::Size& cell);

// Everything on `ink` that may be one printed box: each ink component, each
// hole inside one (the cells of touching boxes, the inside of a bubble),
// and each run of components side by side on one line (a letter between
// brackets), no larger than `cell` allows.
std::vector<cv::Rect> printedBoxes(const cv::Mat& ink, const cv::Size& cell);

// How many of the rows x cols laid-out boxes of `grid` sit on a printed
// box: one of about their size whose centre lies within a third of a box
// of theirs.
int boxesOnInk(const std::vector<cv::Rect>& printed, const OptionGridParams& grid, int rows, int cols);

// True when enough laid-out boxes sit on printed boxes to trust the grid:
// a few printed boxes may be lost under pencil that spills over them.
bool gridOnInk(const std::vector<cv::Rect>& printed, const OptionGridParams& grid, int rows, int cols);
