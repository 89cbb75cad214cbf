#include "algorithms/gridrecheck.h"

#include "algorithms/gridcomponents.h"
#include "algorithms/gridink.h"
#include "algorithms/printedboxes.h"
#include "algorithms/printink.h"

#include <algorithm>
#include <cmath>

namespace {

// Two grids lay out the same boxes when every box centre of one lies
// within a pixel and a half of the other's, closer than the frames of one
// grid may move it, and their boxes are of about one size: a grid laid
// over the letters inside the boxes has its centres right.
constexpr double sameBoxTolerance = 1.5;
constexpr double sameSizeShare = 0.2;

bool sameSize(double a, double b)
{
    return std::abs(a - b) <= std::max(sameBoxTolerance, sameSizeShare * b);
}

bool sameBoxes(const OptionGridParams& a, const OptionGridParams& b, int rows, int cols)
{
    if (!sameSize(a.boxWidth, b.boxWidth) || !sameSize(a.boxHeight, b.boxHeight))
        return false;
    for (const int r : {0, rows - 1}) {
        for (const int c : {0, cols - 1}) {
            const double ax = a.x + c * a.columnPitch + a.boxWidth / 2.0;
            const double ay = a.y + r * a.rowPitch + a.boxHeight / 2.0;
            const double bx = b.x + c * b.columnPitch + b.boxWidth / 2.0;
            const double by = b.y + r * b.rowPitch + b.boxHeight / 2.0;
            if (std::abs(ax - bx) > sameBoxTolerance || std::abs(ay - by) > sameBoxTolerance)
                return false;
        }
    }
    return true;
}

} // namespace

bool settleGridOnInk(const cv::Mat& grey, int rows, int cols, OptionGridParams& grid)
{
    if (grey.empty() || rows < 1 || cols < 1)
        return false;
    const cv::Size cell(std::max(grey.cols / cols, 1), std::max(grey.rows / rows, 1));
    const std::vector<cv::Rect> printed = printedBoxes(printInk(grey, cell), cell);
    const int designOnInk = boxesOnInk(printed, grid, rows, cols);
    OptionGridParams fitted;
    const bool fits = fitGridToBoxes(printed, rows, cols, grey.size(), fitted);
    // The measured grid stands where the print agrees with it. A grid one
    // row off still has most boxes on print, and one a few pixels off
    // moves with the frame: the grid fitted through every printed box is
    // taken wherever it lies on the print.
    if (designOnInk == rows * cols && (!fits || sameBoxes(grid, fitted, rows, cols)))
        return true;
    if (fits && gridOnInk(printed, fitted, rows, cols)) {
        grid = fitted;
        return true;
    }
    return gridOnInk(printed, grid, rows, cols);
}
