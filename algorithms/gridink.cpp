#include "algorithms/gridink.h"

#include <algorithm>
#include <cmath>

namespace {

// The share of laid-out boxes that must sit on print. Pencil that spills
// over a bubble joins it to its neighbour, so a few are lost.
constexpr double minShareOnInk = 0.85;

} // namespace

int boxesOnInk(const std::vector<cv::Rect>& printed, const OptionGridParams& grid, int rows, int cols)
{
    const double width = grid.boxWidth;
    const double height = grid.boxHeight;
    if (!(width > 0.0) || !(height > 0.0))
        return 0;
    int onInk = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const double cx = grid.x + c * grid.columnPitch + width / 2.0;
            const double cy = grid.y + r * grid.rowPitch + height / 2.0;
            const bool found = std::any_of(printed.begin(), printed.end(), [&](const cv::Rect& box) {
                const double bx = box.x + box.width / 2.0;
                const double by = box.y + box.height / 2.0;
                return std::abs(bx - cx) <= width / 3.0 && std::abs(by - cy) <= height / 3.0
                    && box.width <= 2.0 * width && 2.0 * box.width >= width && box.height <= 2.0 * height
                    && 2.0 * box.height >= height;
            });
            if (found)
                ++onInk;
        }
    }
    return onInk;
}

bool gridOnInk(const std::vector<cv::Rect>& printed, const OptionGridParams& grid, int rows, int cols)
{
    if (rows < 1 || cols < 1)
        return false;
    const double boxes = static_cast<double>(rows) * cols;
    return boxesOnInk(printed, grid, rows, cols) >= std::ceil(minShareOnInk * boxes);
}
