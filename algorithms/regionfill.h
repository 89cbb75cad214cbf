#pragma once

#include <opencv2/core.hpp>

// Removes small connected regions from a CV_8UC1 black-and-white picture.
// checkMode 1 examines bright pixels (10 and above) and sets regions of at
// most `areaLimit` pixels to 0; checkMode 0 examines dark pixels (10 and
// below) and sets small regions to 255. neighbourMode 0 joins pixels by
// their edges, 1 also by their corners. Every other pixel gets the source
// value; dst may be src. Always returns true.
//
// Raises cv::Exception for a source that is not CV_8UC1, and
// std::invalid_argument for a mode other than 0 or 1.
bool regionFill(const cv::Mat& src, cv::Mat& dst, unsigned areaLimit, int checkMode, int neighbourMode);
