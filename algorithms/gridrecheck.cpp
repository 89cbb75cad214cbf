#include "algorithms/gridrecheck.h"

#include "algorithms/gridcomponents.h"
#include "algorithms/gridink.h"

#include <algorithm>

bool settleGridOnInk(const cv::Mat& grey, int rows, int cols, OptionGridParams& grid)
{
    if (grey.empty() || rows < 1 || cols < 1)
        return false;
    const cv::Size cell(std::max(grey.cols / cols, 1), std::max(grey.rows / rows, 1));
    const std::vector<cv::Rect> printed = printedBoxes(printInk(grey, cell), cell);
    const int designOnInk = boxesOnInk(printed, grid, rows, cols);
    if (designOnInk == rows * cols)
        return true;
    // A grid one row off still has most boxes on print; the grid the
    // print itself gives is taken whenever more of its boxes sit on it.
    OptionGridParams fitted;
    if (fitGridToBoxes(printed, rows, cols, grey.size(), fitted) && boxesOnInk(printed, fitted, rows, cols) > designOnInk
        && gridOnInk(printed, fitted, rows, cols)) {
        grid = fitted;
        return true;
    }
    return gridOnInk(printed, grid, rows, cols);
}
