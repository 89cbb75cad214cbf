#pragma once

// The profile measurement of a grid of boxes: box sizes and gaps of a
// column or row of boxes, measured on the projections of a black-and-white
// crop (content 255 on 0), with outlined and bracketed boxes first made
// solid so that they measure as filled ones do.

#include "algorithms/optiongridparams.h"

#include <opencv2/core.hpp>

#include <vector>

// Measures a column of boxes from the row projection: a row is high when
// more than cols x ratio of its pixels are white. contentHeight is the
// mean height of the high stretches (0 when there is none), blankHeight
// the gap between them (margins left out unless startInContent): the
// pitch fitted through the starts of the stretches, to a fraction of a
// pixel, less contentHeight; 0 when no gap lies between two stretches.
// leadingBlank is the top margin (0 with startInContent); lowRows
// receives every low row. High stretches under half the typical one are
// splinters of a box row: they are left out, and the gaps are then those
// between the stretches that remain. Prints one line per measured stretch
// to standard output. Returns 1, touching no output, for an empty image or
// a ratio outside 0.00001 .. 1; else 0.
int rowProfile(const cv::Mat& image, float ratio, bool startInContent, int& contentHeight, float& blankHeight,
               int& leadingBlank, std::vector<int>& lowRows);

// Measures a row of `count` boxes from the column projection, split at
// count white pixels when ratio is count / cols: boxWidth and boxX of the
// first box, and the gap between boxes: the pitch, fitted to a fraction of
// a pixel through the starts of the boxes, less boxWidth. Columns at or
// below the level are set to 0 in the image. Without a high-to-low
// transition (or without boxes) the box is the whole width and the gap 0.
void columnProfile(cv::Mat& image, float ratio, int count, int& boxWidth, float& gap, int& boxX);

// Splits a projection of length N at the level N x ratio: lowEntries gets
// every entry at or below it, runEnds the first low entry after each high
// stretch (none for a stretch reaching the end).
void splitProjection(const cv::Mat& projection, float ratio, std::vector<int>& runEnds,
                     std::vector<int>& lowEntries);

// The pitch of boxes that start at `starts` (ascending, the first box
// first), refined from `rough` by a least-squares line through the starts
// against their box numbers. Each start is numbered by the rough pitch;
// starts far between two boxes or past the last (`count` boxes, 0 when not
// known), and any but the first of one box (a box split in two), are left
// out. Every start is a whole pixel, up to half a pixel off: the fit
// averages that out, where a span over the number of gaps carries the
// error of its two ends. `rough` itself when fewer than two starts remain.
double fitPitch(const std::vector<int>& starts, double rough, int count);

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
