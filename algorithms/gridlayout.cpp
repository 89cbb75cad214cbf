#include "algorithms/gridlayout.h"

#include "algorithms/gridhelpers.h"

#include <opencv2/calib3d.hpp>

#include <algorithm>
#include <cmath>

namespace {

// The resolution of the standard grid, and how close a page's must be to
// be taken as it.
constexpr float standardDpi = 200.0f;
constexpr float sameResolution = 0.03f;

bool inRange(double value, double low, double high)
{
    return value >= low && value <= high;
}

// One axis of the level grid: the line through (lattice index, centre)
// placed so that its worst point lies as close as can be.
LineFit placeAxis(const std::vector<cv::Point2d>& points, bool spread)
{
    const LineFit guess = leastSquaresLine(points);
    if (!spread)
        return minimaxLine(points, guess, 0.0);
    return minimaxLine(points, guess, 0.1 * std::abs(guess.slope) + 1.0);
}

} // namespace

cv::Point2d PrintLattice::at(double column, double row) const
{
    const cv::Vec3d p = toPrint * cv::Vec3d(column, row, 1.0);
    return {p[0] / p[2], p[1] / p[2]};
}

cv::Matx33d latticeThrough(const std::vector<cv::Point2d>& indices, const std::vector<cv::Point2d>& centres,
                           int rows, int cols, const cv::Matx33d& affine)
{
    constexpr size_t minPoints = 6;
    if (indices.size() < minPoints)
        return affine;
    bool twoColumns = false;
    bool twoRows = false;
    for (const cv::Point2d& i : indices) {
        twoColumns = twoColumns || i.x != indices.front().x;
        twoRows = twoRows || i.y != indices.front().y;
    }
    if (!twoColumns || !twoRows)
        return affine;
    const cv::Mat homography = cv::findHomography(indices, centres, 0);
    if (homography.empty())
        return affine;
    cv::Matx33d map(homography);
    // A card's perspective scales the grid by a few percent from one end
    // to the other: a map that scales it by half or double, on the grid or
    // a line beyond it, is a bad fit of a few boxes.
    for (const double column : {-1.0, static_cast<double>(cols)}) {
        for (const double row : {-1.0, static_cast<double>(rows)}) {
            const double scale = (map(2, 0) * column + map(2, 1) * row + map(2, 2)) / map(2, 2);
            if (!(scale > 0.5 && scale < 2.0))
                return affine;
        }
    }
    return map;
}

bool layLevelGrid(const PrintLattice& lattice, int rows, int cols, OptionGridParams& grid)
{
    std::vector<cv::Point2d> alongRows;
    std::vector<cv::Point2d> alongColumns;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const cv::Point2d p = lattice.at(c, r);
            if (!std::isfinite(p.x) || !std::isfinite(p.y))
                return false;
            alongRows.emplace_back(c, p.x);
            alongColumns.emplace_back(r, p.y);
        }
    }
    const LineFit x = placeAxis(alongRows, cols > 1);
    const LineFit y = placeAxis(alongColumns, rows > 1);
    OptionGridParams level;
    level.boxWidth = lattice.box.width;
    level.boxHeight = lattice.box.height;
    level.columnPitch = cols > 1 ? x.slope : cv::norm(lattice.at(1, 0) - lattice.at(0, 0));
    level.rowPitch = rows > 1 ? y.slope : cv::norm(lattice.at(0, 1) - lattice.at(0, 0));
    level.x = x.offset - level.boxWidth / 2.0;
    level.y = y.offset - level.boxHeight / 2.0;
    if (!(level.columnPitch > 0.0) || !(level.rowPitch > 0.0))
        return false;
    // A card photographed askew or bent turns its rows further than any
    // level grid can follow: the best one leaves a box off its print.
    double worstX = 0.0;
    double worstY = 0.0;
    for (const cv::Point2d& p : alongRows)
        worstX = std::max(worstX, std::abs(p.y - x.at(p.x)));
    for (const cv::Point2d& p : alongColumns)
        worstY = std::max(worstY, std::abs(p.y - y.at(p.x)));
    if (3.0 * worstX > level.boxWidth || 3.0 * worstY > level.boxHeight)
        return false;
    grid = level;
    return true;
}

void snapToStandard(OptionGridParams& grid, int rows, int cols, float dpi)
{
    float factor = standardDpi / dpi;
    if (std::abs(factor - 1.0f) <= sameResolution)
        factor = 1.0f;
    const double f = factor;
    const bool rowsFit = rows == 1 || inRange(grid.rowPitch * f, 79.0, 82.0);
    if (rowsFit && inRange(grid.boxHeight * f, 47.0, 50.0)) {
        const double height = standardBoxHeight / f;
        const double pitch = rows > 1 ? standardRowPitch / f : grid.rowPitch;
        grid.y += (grid.boxHeight - height) / 2.0 + (rows - 1) / 2.0 * (grid.rowPitch - pitch);
        grid.boxHeight = height;
        grid.rowPitch = pitch;
    }
    const bool columnsFit = cols == 1 || inRange(grid.columnPitch * f, 108.0, 110.0);
    if (columnsFit && inRange(grid.boxWidth * f, 67.0, 70.0)) {
        const double width = standardBoxWidth / f;
        const double pitch = cols > 1 ? standardColumnPitch / f : grid.columnPitch;
        grid.x += (grid.boxWidth - width) / 2.0 + (cols - 1) / 2.0 * (grid.columnPitch - pitch);
        grid.boxWidth = width;
        grid.columnPitch = pitch;
    }
}
