#pragma once

// Geometry of option-box grids: the box rows of a black-and-white crop,
// fitting a measured grid into its region, and scaling it between
// resolutions.

#include "algorithms/optiongridparams.h"

#include <opencv2/core.hpp>

// Box height, row pitch and top edge of the `rows` lowest box rows of a
// black-and-white image (ink 255). A row belongs to a box row when it
// holds more than 12 ink pixels per box column. False, outputs untouched,
// when fewer than `rows` box rows are found. With one row no pitch can be
// measured: rowPitch is then 0, which fitOptionGrid derives from the area.
bool measureBoxRows(const cv::Mat& image, int rows, int cols, float& boxHeight, float& rowPitch,
                    float& top);

// Fills unset sizes and pitches and shrinks the grid in steps of 2 pixels
// until rows x cols boxes fit an area.width x area.height region with a
// 4-pixel margin. The area's x and y are not used.
void fitOptionGrid(int rows, int cols, OptionGridParams& grid, cv::Rect area);

// The grid with all six fields divided by `factor`.
OptionGridParams scaleOptionGrid(const OptionGridParams& grid, float factor);
