#pragma once

// Column projections of a black-and-white crop (content 255 on 0) taken
// along nearly vertical lines, for pages scanned a little askew.

#include <opencv2/core.hpp>

// The count of 255 pixels along each line that leans by `drift` pixels
// to the right over the image's height (a negative drift leans left),
// entry i for the line that starts at column i - padding(rows, maxDrift)
// on the top row. 1 x (cols + 2 x padding) floats, made at that size.
void slantedColumnProjection(const cv::Mat& image, int drift, int padding, cv::Mat& projection);

// The drift, in whole pixels over the image's height and at most
// `maxDrift` either way, along which the columns' ink stands most
// concentrated: the lean of the image's long nearly vertical lines. 0 on
// a level image and on one without such lines.
int steepestColumnDrift(const cv::Mat& image, int maxDrift);
