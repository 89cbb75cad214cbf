#pragma once

// Projections of black-and-white crops (content 255 on 0), the runs of a
// projection above a level, and the clean-up of thin bands and long lines
// before boxes are measured.

#include <opencv2/core.hpp>

#include <vector>

// Count of pixels equal to 255 in each row (1 x rows) or column (1 x cols)
// of a CV_8UC1 image, as 32-bit floats. The projection is (re)made at the
// right size. Lets the GUI handle pending events once first.
void rowWhiteProjection(const cv::Mat& image, cv::Mat& projection);
void columnWhiteProjection(const cv::Mat& image, cv::Mat& projection);

// Appends (start, end) pairs of the stretches whose entries, truncated to
// int, exceed `level`. The end is the first entry at or below the level;
// a run still open at the last entry ends there (N - 1). A run that opens
// at the last entry leaves an unpaired start: readers ignore it.
void findProjectionRuns(const cv::Mat& projection, std::vector<int>& runs, int level);

// The body of each asynchronous run search of maskByProjectionRuns: the
// runs above level 0.
void projectionRunsTask(const cv::Mat* projection, std::vector<int>* runs);

// Blanks every band of rows, then of columns, that holds white pixels but
// is thinner than `maxRunLength`; with `eraseLines` first paints out long
// straight lines across the whole image. dst may be src.
void maskByProjectionRuns(const cv::Mat& src, cv::Mat& dst, int maxRunLength, bool eraseLines);

// Draws the line through `segment` (x1, y1, x2, y2) from border to border,
// anti-aliased. Slopes are whole numbers (see lineCrossing), so any
// segment flatter than 45 degrees is drawn level through its first point.
void drawLineToBorders(cv::Mat& image, const cv::Vec4i& segment, const cv::Scalar& colour, int thickness);

// Crossing of the lines through two segments, computed with integer
// slopes (rise / run truncated toward zero). False for two vertical
// segments or equal integer slopes.
bool lineCrossing(const cv::Vec4i& a, const cv::Vec4i& b, cv::Point& crossing);
