#pragma once

// Helpers that clean or summarise a whole crop before boxes are measured.

#include "algorithms/optiongridparams.h"

#include <opencv2/core.hpp>

// Grey, a 3 x 3 box blur and `blendPasses` contrast stretches towards
// black, in place: the cleaning the box finders start with.
void stretchBoxContrast(cv::Mat& image, int blendPasses);

// Stretched as above, then locally thresholded and inverted, cut to the
// core of the strokes, cleared of specks of up to `speckLimit` pixels and
// of bands thinner than 4 pixels, in place: the grey crop becomes the
// boxes' content, 255 on 0.
void extractBoxes(cv::Mat& image, int blendPasses, unsigned speckLimit);

// A fallback grid of standard 200-dpi answer boxes (68 x 48, pitches
// 109.656 and 80.583) whose last box ends at the right and bottom edge of
// the crop's content; the origin is never negative. The crop (grey or
// colour) is binarised in place and is not meant to be used afterwards.
void estimateOptionGrid(OptionGridParams& grid, cv::Mat& image, int rows, int columns);

// Blanks in `target` the bands of rows of `image` whose projection entry
// reaches cols x ratio, with the row above each band and the row at which
// it ends. `projection` is the row projection of `image`.
void eraseDenseRows(const cv::Mat& image, cv::Mat& target, const cv::Mat& projection, double ratio);
