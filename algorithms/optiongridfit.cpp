#include "algorithms/optiongridfit.h"

#include "algorithms/boxprofile.h"
#include "algorithms/projection.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A printed box row holds far more ink than a ruling line or a caption
// crossing it: at least this many ink pixels per box column.
constexpr int minInkPerBoxColumn = 12;

// Fallbacks for a size that was not measured; the pitch fallbacks are
// derived from the area instead.
constexpr double defaultBoxWidth = 11.0;
constexpr double defaultBoxHeight = 7.0;

// The margin kept free on each side of the region.
constexpr double margins = 8.0;

struct Run
{
    int start;
    int end;
};

} // namespace

bool measureBoxRows(const cv::Mat& image, int rows, int cols, float& boxHeight, float& rowPitch, float& top)
{
    if (image.empty() || rows < 1)
        return false;

    const float level = static_cast<float>(minInkPerBoxColumn * cols);
    cv::Mat projection;
    rowWhiteProjection(image, projection);
    // Two empty entries past the bottom close a box row that touches the
    // lower edge at the image's height.
    std::vector<float> profile(projection.ptr<float>(0), projection.ptr<float>(0) + image.rows);
    profile.resize(profile.size() + 2, 0.0f);

    std::vector<Run> runs;
    bool inside = false;
    int start = 0;
    for (int i = 0; i < static_cast<int>(profile.size()); ++i) {
        if (!inside && profile[i] > level) {
            inside = true;
            start = i;
        } else if (inside && profile[i] <= level) {
            inside = false;
            runs.push_back({start, i});
        }
    }
    if (static_cast<int>(runs.size()) < rows)
        return false;

    // Headings and captions lie above the boxes: keep the lowest rows.
    runs.erase(runs.begin(), runs.end() - rows);
    long long heights = 0;
    for (const Run& run : runs)
        heights += run.end - run.start;
    boxHeight = static_cast<float>(static_cast<double>(heights) / rows);
    // Fitted through every row's start rather than the span of the first
    // and last: on twenty rows scaled to 200 dpi a pixel at either end
    // would move the last row by a pixel and a half at 300 dpi.
    std::vector<int> starts;
    for (const Run& run : runs)
        starts.push_back(run.start);
    const double span = runs.back().start - runs.front().start;
    rowPitch = rows > 1 ? static_cast<float>(fitPitch(starts, span / (rows - 1), rows)) : 0.0f;
    top = static_cast<float>(runs.front().start);
    return true;
}

void fitOptionGrid(int rows, int cols, OptionGridParams& grid, cv::Rect area)
{
    // A grid has at least one box each way; this also keeps the pitch
    // fallbacks below from dividing by zero.
    rows = std::max(rows, 1);
    cols = std::max(cols, 1);
    // Stepping an infinite value by 2 never ends the loops below.
    for (double* field : {&grid.x, &grid.y, &grid.boxWidth, &grid.boxHeight, &grid.columnPitch, &grid.rowPitch}) {
        if (!std::isfinite(*field))
            *field = 0.0;
    }
    const double width = area.width;
    const double height = area.height;

    if (grid.boxWidth <= 0)
        grid.boxWidth = defaultBoxWidth;
    if (grid.boxHeight <= 0)
        grid.boxHeight = defaultBoxHeight;
    if (grid.rowPitch <= 0)
        grid.rowPitch = ((height - margins) - grid.boxHeight) / rows + 1;
    if (grid.columnPitch <= 0)
        grid.columnPitch = ((width - margins) - grid.boxWidth) / cols + 1;

    // With a single row (column) the pitch does not enter the test, so
    // lowering it could never make a region under 8 pixels fit.
    if (rows > 1) {
        while ((rows - 1) * grid.rowPitch + margins > height)
            grid.rowPitch -= 2;
    }
    if (cols > 1) {
        while ((cols - 1) * grid.columnPitch + margins > width)
            grid.columnPitch -= 2;
    }
    while (rows * (grid.boxHeight + 2) > height)
        grid.boxHeight -= 2;
    while (cols * (grid.boxWidth + 2) > width)
        grid.boxWidth -= 2;
    while ((cols - 1) * grid.columnPitch + grid.x > width)
        grid.x -= 2;
    while ((rows - 1) * grid.rowPitch + grid.y > height)
        grid.y -= 2;
    grid.x = std::max(grid.x, 0.0);
    grid.y = std::max(grid.y, 0.0);
}

OptionGridParams scaleOptionGrid(const OptionGridParams& grid, float factor)
{
    const double f = factor;
    OptionGridParams scaled;
    scaled.x = grid.x / f;
    scaled.y = grid.y / f;
    scaled.boxWidth = grid.boxWidth / f;
    scaled.boxHeight = grid.boxHeight / f;
    scaled.columnPitch = grid.columnPitch / f;
    scaled.rowPitch = grid.rowPitch / f;
    return scaled;
}
