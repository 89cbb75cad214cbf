#pragma once

// Boxes and bubbles printed as outlines, or as a letter between square
// brackets, rather than filled: made solid so that they measure as filled
// ones do, and the half stroke by which the outer edge of an outline lies
// outside the box as drawn.

#include "algorithms/optiongridparams.h"

#include <opencv2/core.hpp>

// Fills the inside of every closed outline smaller than `cell` in both
// directions, in a black-and-white image (ink 255): outlined boxes and
// bubbles become solid, with whatever is printed inside them, while the
// boxes of a header or a grid's own ruled cells stay open.
void fillSmallOutlines(cv::Mat& image, const cv::Size& cell);

// fillSmallOutlines, then every mark no larger than `cell` filled to its
// bounds: bracketed letters and outlines broken open become solid too.
void fillOpenBoxes(cv::Mat& image, const cv::Size& cell);

// How far inside the measured outer edges of `grid` its boxes are drawn:
// half the typical stroke across the left and right sides of the boxes in
// `ink`, the black-and-white image before fillOpenBoxes. An outline is
// drawn on the middle of its stroke. 0 for filled boxes or when no side
// stroke is found.
float outlineInset(const cv::Mat& ink, const OptionGridParams& grid, int rows, int cols);
