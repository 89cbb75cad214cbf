#pragma once

// Finding the print of a grid: strokes darker than the paper around them,
// and areas darker than it (filled boxes, pencil, shading), at any
// contrast the paper leaves them.

#include <opencv2/core.hpp>

#include <vector>

// The smallest mark worth a look at `dpi`: smaller ones are specks or dots.
int smallestMark(double dpi);

// The print as 255 on 0: strokes darker than what lies around them (also
// light red or grey ones, on paper or on shading), the dots of dotted
// lines joined. `cell` scales the neighbourhood; `dpi` the dots.
cv::Mat strokeInk(const cv::Mat& grey, const cv::Size& cell, double dpi);

// What lies darker than the paper around it, as 255 on 0: filled boxes
// lighter than a stroke (light-grey boxes with their letter), pencil and
// pen. One mask at the paper's own noise and, where shading covers much
// of the crop, a second at half the darkest print's darkness.
std::vector<cv::Mat> fillInk(const cv::Mat& grey, const cv::Size& cell);
