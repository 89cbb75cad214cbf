#pragma once

// The print of a framed grid as black and white.

#include <opencv2/core.hpp>

// Print as 255 on 0 in a grey region: thin strokes darker than what lies
// around them (box outlines, bubble rims, brackets, even in light red or
// grey print, but not the flat shading between columns), the dots of
// dotted outlines joined, and whatever is plainly dark (filled boxes,
// pencil marks, solid print). `cell` is the rough size of one grid cell,
// which scales the stroke kernel.
cv::Mat printInk(const cv::Mat& grey, const cv::Size& cell);
