#pragma once

// The marks on a grid's print that may each be one printed box.

#include <opencv2/core.hpp>

#include <vector>

// Everything on `ink` (print 255 on 0) that may be one printed box: each
// ink component, each hole inside one (the cells of touching boxes, the
// inside of a bubble), each bracket pair, and each run of components side
// by side on one line (a letter between brackets that touch it); no larger
// than `cell` allows, and not what is printed inside another box.
std::vector<cv::Rect> printedBoxes(const cv::Mat& ink, const cv::Size& cell);
