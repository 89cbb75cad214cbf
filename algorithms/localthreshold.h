#pragma once

#include <opencv2/core.hpp>

// Binarises a grey crop by a Sauvola-type local threshold, computed at a
// working width of `workWidth` pixels over a window of kernelSize / 2 * 2 + 1
// working pixels: ink darker than its surroundings becomes 0, paper 255.
// The result has the source's size, with grey values along edges where it
// is scaled back. dst may be src.
//
// Raises std::invalid_argument for kernelSize below 3, a source that is not
// CV_8UC1, or r not above 0. Returns false, with dst undefined, when the
// image library raised an error (an empty source, a workWidth below 1).
bool localThreshold(const cv::Mat& src, cv::Mat& dst, int kernelSize, double k, double r, int workWidth);
