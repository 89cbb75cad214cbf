#pragma once

// The ruled frame of a black-and-white crop (content 255 on 0) and the
// line algebra behind it.

#include <opencv2/core.hpp>

// Finds the rectangle enclosed by the outermost long vertical and
// horizontal lines. Returns 0 when found; 1 when either direction has
// fewer than 4 long segments (frame then (1, 1, cols - 1, rows - 1)), when
// the frame's corners cannot be computed, or when it touches the top or
// left border or is empty (frame as computed).
int findLineFrame(const cv::Mat& image, cv::Rect& frame);

// Slope and intercept of the line through p and q. A slope of 0 marks an
// axis-parallel line: vertical (b = x) when p and q share x, else
// horizontal (b = y). Always true.
bool lineCoefficients(float& k, float& b, const cv::Point2f& p, const cv::Point2f& q);

// Crossing of a horizontal-role line (k1, b1) with a vertical-role line
// (k2, b2). A slope of 0 means y = b1 for the first and x = b2 for the
// second. False, with `point` unchanged, for two parallel sloped lines.
bool lineIntersection(float k1, float b1, float k2, float b2, cv::Point2f& point);
