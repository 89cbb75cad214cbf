#pragma once

// A grid fitted through the printed boxes found on the page.

#include "algorithms/optiongridparams.h"

#include <opencv2/core.hpp>

#include <vector>

// Picks the rows x cols printed boxes of one size that lie on a common
// lattice (extra ones beside it, a header, write-in boxes, digits inside
// bubbles and question numbers left out; filled and missing ones allowed),
// and fits the first box and both pitches through all their centres,
// tolerating a tilt of about a degree. The grid lies in an `area` of that
// size (the frame): its boxes' centres lie inside it.
// False, grid untouched, when no such lattice is found.
bool fitGridToBoxes(const std::vector<cv::Rect>& printed, int rows, int cols, const cv::Size& area,
                    OptionGridParams& grid);
