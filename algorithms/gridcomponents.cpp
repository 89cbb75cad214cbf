#include "algorithms/gridcomponents.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// Boxes of one kind differ by less than this factor either way.
constexpr double sizeTolerance = 1.25;
// Neighbours more than this far off one line are not on it: a tilt of a
// degree moves a box far less.
constexpr double offLineShare = 0.5;
// A box further than this share of a pitch from the nearest lattice point
// is not on the lattice.
constexpr double offLatticeShare = 0.35;
// At least this share of the grid must be found as printed boxes.
constexpr double minFoundShare = 0.5;
// Far more lattice points, and marks, than a page of boxes has: a frame
// of noise is refused rather than compared mark by mark.
constexpr long long maxLatticePoints = 1 << 20;
constexpr size_t maxPrintedBoxes = 10000;

struct Centre
{
    double x;
    double y;
    double width;
    double height;
};

bool alike(double a, double b)
{
    return a <= b * sizeTolerance && b <= a * sizeTolerance;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The printed boxes of the size most of them share, each box once (a
// bubble's rim and its inside give one box).
std::vector<Centre> boxesOfCommonSize(const std::vector<cv::Rect>& printed)
{
    size_t best = 0;
    int bestSupport = -1;
    for (size_t i = 0; i < printed.size(); ++i) {
        int support = 0;
        for (const cv::Rect& other : printed) {
            if (alike(other.width, printed[i].width) && alike(other.height, printed[i].height))
                ++support;
        }
        if (support > bestSupport || (support == bestSupport && printed[i].area() > printed[best].area())) {
            best = i;
            bestSupport = support;
        }
    }
    std::vector<double> widths;
    std::vector<double> heights;
    for (const cv::Rect& box : printed) {
        if (alike(box.width, printed[best].width) && alike(box.height, printed[best].height)) {
            widths.push_back(box.width);
            heights.push_back(box.height);
        }
    }
    const double width = median(widths);
    const double height = median(heights);

    std::vector<cv::Rect> kept;
    for (const cv::Rect& box : printed) {
        if (alike(box.width, width) && alike(box.height, height))
            kept.push_back(box);
    }
    std::sort(kept.begin(), kept.end(), [](const cv::Rect& a, const cv::Rect& b) { return a.area() > b.area(); });
    std::vector<Centre> centres;
    for (const cv::Rect& box : kept) {
        const Centre c{box.x + box.width / 2.0, box.y + box.height / 2.0, double(box.width), double(box.height)};
        const bool twin = std::any_of(centres.begin(), centres.end(), [&](const Centre& o) {
            return std::abs(o.x - c.x) < 0.3 * width && std::abs(o.y - c.y) < 0.3 * height;
        });
        if (!twin)
            centres.push_back(c);
    }
    return centres;
}

// Median step from each box to its nearest neighbour to the right (or,
// with `down`, below), and the median drift across that direction per
// pixel of step: the tilt.
bool neighbourStep(const std::vector<Centre>& boxes, bool down, double& step, double& drift)
{
    std::vector<double> steps;
    std::vector<double> drifts;
    for (const Centre& box : boxes) {
        double nearest = 0.0;
        double across = 0.0;
        const double size = down ? box.height : box.width;
        const double side = down ? box.width : box.height;
        for (const Centre& other : boxes) {
            const double along = down ? other.y - box.y : other.x - box.x;
            const double off = down ? other.x - box.x : other.y - box.y;
            if (along > 0.5 * size && std::abs(off) < offLineShare * side && (nearest == 0.0 || along < nearest)) {
                nearest = along;
                across = off;
            }
        }
        if (nearest > 0.0) {
            steps.push_back(nearest);
            drifts.push_back(across / nearest);
        }
    }
    if (steps.empty())
        return false;
    // Missing boxes give double steps; the single ones are the most.
    const double first = median(steps);
    std::vector<double> single;
    std::vector<double> singleDrift;
    for (size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] < 1.5 * first && steps[i] > 0.5 * first) {
            single.push_back(steps[i]);
            singleDrift.push_back(drifts[i]);
        }
    }
    step = median(single);
    // A degree and a little more at most.
    drift = std::clamp(median(singleDrift), -0.02, 0.02);
    return step > 0.0;
}

struct Placed
{
    int column;
    int row;
    Centre centre;
};

// Linear least squares of value = a + column * b + row * c.
cv::Vec3d fitPlane(const std::vector<Placed>& placed, bool ys)
{
    cv::Mat a(static_cast<int>(placed.size()), 3, CV_64F);
    cv::Mat b(static_cast<int>(placed.size()), 1, CV_64F);
    for (int i = 0; i < a.rows; ++i) {
        a.at<double>(i, 0) = 1.0;
        a.at<double>(i, 1) = placed[i].column;
        a.at<double>(i, 2) = placed[i].row;
        b.at<double>(i) = ys ? placed[i].centre.y : placed[i].centre.x;
    }
    cv::Mat solution;
    cv::solve(a, b, solution, cv::DECOMP_SVD);
    return {solution.at<double>(0), solution.at<double>(1), solution.at<double>(2)};
}

// Whether the window's corner box centres lie in the area: the frame holds the
// grid, so a window reaching past it takes a lost row's place wrongly.
bool windowInside(const Centre& origin, const cv::Matx22d& steps, int column0, int row0, int rows, int cols,
                  const cv::Size& area)
{
    for (const int c : {column0, column0 + cols - 1}) {
        for (const int r : {row0, row0 + rows - 1}) {
            const cv::Vec2d at = steps * cv::Vec2d(c, r);
            const double x = origin.x + at[0];
            const double y = origin.y + at[1];
            if (x < 0.0 || y < 0.0 || x > area.width || y > area.height)
                return false;
        }
    }
    return true;
}

} // namespace

bool fitGridToBoxes(const std::vector<cv::Rect>& printed, int rows, int cols, const cv::Size& area,
                    OptionGridParams& grid)
{
    if (printed.empty() || printed.size() > maxPrintedBoxes || rows < 1 || cols < 1)
        return false;
    const std::vector<Centre> boxes = boxesOfCommonSize(printed);
    if (static_cast<double>(boxes.size()) < minFoundShare * rows * cols)
        return false;
    std::vector<double> widths;
    std::vector<double> heights;
    for (const Centre& box : boxes) {
        widths.push_back(box.width);
        heights.push_back(box.height);
    }
    const double width = median(widths);
    const double height = median(heights);

    // The lattice's two steps, each a little tilted.
    double columnStep = 2.0 * width;
    double columnDrift = 0.0;
    double rowStep = 2.0 * height;
    double rowDrift = 0.0;
    if (!neighbourStep(boxes, false, columnStep, columnDrift) && cols > 1)
        return false;
    if (!neighbourStep(boxes, true, rowStep, rowDrift) && rows > 1)
        return false;
    const cv::Matx22d steps(columnStep, rowStep * rowDrift, columnStep * columnDrift, rowStep);
    const cv::Matx22d toLattice = steps.inv();

    // Every box on its lattice point, counted from the top-left one.
    const Centre origin = *std::min_element(boxes.begin(), boxes.end(), [](const Centre& a, const Centre& b) {
        return a.x + a.y < b.x + b.y;
    });
    std::map<std::pair<int, int>, Centre> lattice;
    for (const Centre& box : boxes) {
        const cv::Vec2d at = toLattice * cv::Vec2d(box.x - origin.x, box.y - origin.y);
        const double column = std::round(at[0]);
        const double row = std::round(at[1]);
        if (std::abs(at[0] - column) > offLatticeShare || std::abs(at[1] - row) > offLatticeShare)
            continue;
        lattice.emplace(std::make_pair(static_cast<int>(column), static_cast<int>(row)), box);
    }
    if (lattice.empty())
        return false;

    // The rows x cols window holding the most boxes is the grid; extra
    // columns and rows beside it hold fewer.
    int minColumn = lattice.begin()->first.first;
    int maxColumn = minColumn;
    int minRow = lattice.begin()->first.second;
    int maxRow = minRow;
    for (const auto& entry : lattice) {
        minColumn = std::min(minColumn, entry.first.first);
        maxColumn = std::max(maxColumn, entry.first.first);
        minRow = std::min(minRow, entry.first.second);
        maxRow = std::max(maxRow, entry.first.second);
    }
    // Where a row or column at the grid's end is lost (a ruling line
    // through it), windows can tie: the one the found boxes centre in wins.
    double sumColumn = 0.0;
    double sumRow = 0.0;
    for (const auto& entry : lattice) {
        sumColumn += entry.first.first;
        sumRow += entry.first.second;
    }
    const double meanColumn = sumColumn / static_cast<double>(lattice.size());
    const double meanRow = sumRow / static_cast<double>(lattice.size());
    // Boxes of just the common size weigh most: a row of write-in boxes
    // a little larger than the bubbles must not win a tie with the last
    // row of bubbles.
    const auto weight = [&](const Centre& box) {
        return std::max(0.0, 1.0 - std::abs(box.width - width) / width - std::abs(box.height - height) / height);
    };
    // Counts and weights summed over the lattice, so that every window is
    // weighed in constant time. Lattices are small; one spread over a
    // page of specks is refused before anything is allocated for it.
    const long long spanColumns = static_cast<long long>(maxColumn) - minColumn + 1;
    const long long spanRows = static_cast<long long>(maxRow) - minRow + 1;
    if (spanColumns * spanRows > maxLatticePoints)
        return false;
    const int sumWidth = static_cast<int>(spanColumns) + 1;
    std::vector<double> scoreSums(static_cast<size_t>((spanRows + 1) * sumWidth), 0.0);
    std::vector<int> countSums(scoreSums.size(), 0);
    auto at = [&](long long row, long long column) { return static_cast<size_t>(row * sumWidth + column); };
    for (const auto& entry : lattice) {
        const size_t i = at(entry.first.second - minRow + 1, entry.first.first - minColumn + 1);
        scoreSums[i] = weight(entry.second);
        countSums[i] = 1;
    }
    for (long long r = 1; r <= spanRows; ++r) {
        for (long long c = 1; c <= spanColumns; ++c) {
            scoreSums[at(r, c)] += scoreSums[at(r - 1, c)] + scoreSums[at(r, c - 1)] - scoreSums[at(r - 1, c - 1)];
            countSums[at(r, c)] += countSums[at(r - 1, c)] + countSums[at(r, c - 1)] - countSums[at(r - 1, c - 1)];
        }
    }
    // The sum over lattice rows [row0, row0 + rows) and columns likewise,
    // clipped to the lattice's span.
    auto windowSum = [&](const auto& sums, int row0, int column0) {
        const long long top = std::clamp<long long>(row0 - minRow, 0, spanRows);
        const long long bottom = std::clamp<long long>(static_cast<long long>(row0) + rows - minRow, 0, spanRows);
        const long long left = std::clamp<long long>(column0 - minColumn, 0, spanColumns);
        const long long right = std::clamp<long long>(static_cast<long long>(column0) + cols - minColumn, 0, spanColumns);
        return sums[at(bottom, right)] - sums[at(top, right)] - sums[at(bottom, left)] + sums[at(top, left)];
    };

    int bestCount = -1;
    double bestScore = -1.0;
    double bestOffCentre = 0.0;
    int bestColumn = 0;
    int bestRow = 0;
    for (int row0 = minRow - rows + 1; row0 <= maxRow; ++row0) {
        for (int column0 = minColumn - cols + 1; column0 <= maxColumn; ++column0) {
            if (!windowInside(origin, steps, column0, row0, rows, cols, area))
                continue;
            const int count = windowSum(countSums, row0, column0);
            const double score = windowSum(scoreSums, row0, column0);
            const double offCentre = std::abs(column0 + (cols - 1) / 2.0 - meanColumn)
                + std::abs(row0 + (rows - 1) / 2.0 - meanRow);
            const bool tie = std::abs(score - bestScore) < 1e-6;
            if ((!tie && score > bestScore) || (tie && offCentre < bestOffCentre)) {
                bestCount = count;
                bestScore = score;
                bestOffCentre = offCentre;
                bestColumn = column0;
                bestRow = row0;
            }
        }
    }
    if (static_cast<double>(bestCount) < minFoundShare * rows * cols)
        return false;

    std::vector<Placed> placed;
    for (const auto& entry : lattice) {
        const int c = entry.first.first - bestColumn;
        const int r = entry.first.second - bestRow;
        if (c >= 0 && c < cols && r >= 0 && r < rows)
            placed.push_back({c, r, entry.second});
    }
    // Fitted twice: boxes a pencil mark pulled aside are left out the second time.
    cv::Vec3d xs = fitPlane(placed, false);
    cv::Vec3d ys = fitPlane(placed, true);
    std::vector<Placed> close;
    for (const Placed& p : placed) {
        const double dx = p.centre.x - (xs[0] + xs[1] * p.column + xs[2] * p.row);
        const double dy = p.centre.y - (ys[0] + ys[1] * p.column + ys[2] * p.row);
        if (std::abs(dx) <= width / 4.0 && std::abs(dy) <= height / 4.0)
            close.push_back(p);
    }
    if (close.size() >= 3 && close.size() < placed.size()) {
        xs = fitPlane(close, false);
        ys = fitPlane(close, true);
    }

    // The grid is laid out level: it is placed so that a tilt leaves the
    // boxes at both ends equally far off.
    const double columnPitch = cols > 1 ? xs[1] : columnStep;
    const double rowPitch = rows > 1 ? ys[2] : rowStep;
    const double firstX = xs[0] + xs[2] * (rows - 1) / 2.0;
    const double firstY = ys[0] + ys[1] * (cols - 1) / 2.0;
    if (!(columnPitch > 0.0) || !(rowPitch > 0.0))
        return false;
    grid.x = firstX - width / 2.0;
    grid.y = firstY - height / 2.0;
    grid.boxWidth = width;
    grid.boxHeight = height;
    grid.columnPitch = columnPitch;
    grid.rowPitch = rowPitch;
    return true;
}
