#pragma once

// Following candidate segments along the ink they were found on.
//
// The probabilistic Hough transform votes in whole-degree angle bins, so a
// line tilted by a fraction of a degree leaves each bin after a few hundred
// pixels and comes back as short pieces whose angles are whole degrees.
// Tracing fits each piece to the ink it lies on, follows the fitted line
// over the whole region and keeps the longest stretch that has no gap: the
// line's real extent and its tilt to a small fraction of a degree. A dotted
// or dashed line, which the transform happily bridges, falls apart here.

#include <opencv2/core.hpp>

#include <vector>

// `grey` is the one-channel region the candidates were found in. Returns
// one segment (x1, y1, x2, y2, left end first, y on the fitted line) per
// distinct continuous line; candidates steeper than 45 degrees and those
// that lie on no ink are dropped.
std::vector<cv::Vec4f> traceInkLines(const cv::Mat& grey, const std::vector<cv::Vec4i>& candidates);
