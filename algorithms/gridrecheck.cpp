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
    if (gridOnInk(printed, grid, rows, cols))
        return true;
    OptionGridParams fitted;
    if (!fitGridToBoxes(printed, rows, cols, fitted) || !gridOnInk(printed, fitted, rows, cols))
        return false;
    grid = fitted;
    return true;
}
