#include "algorithms/gridlattice.h"

#include "algorithms/gridhelpers.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// Boxes of one size differ by less than this factor either way; pencil
// that spills over a box stays within it.
constexpr double sizeFactor = 1.3;
// Sizes are grouped in bins of this width on a logarithmic scale (10 %).
constexpr double sizeBin = 0.1;
constexpr size_t maxSizeClasses = 3;
// A neighbour further than this many box sizes is no neighbour.
constexpr double neighbourReach = 4.0;
// Steps within this share of each other are one cluster; a step is a
// whole multiple of another within this share of it; a step explaining
// this share of what the best one does is as good.
constexpr double clusterSpread = 0.1;
constexpr double multipleTolerance = 0.15;
constexpr double nearlyAll = 0.9;
constexpr double minClusterShare = 0.25;
// Boxes of one size lie at least this share of a box apart.
constexpr double boxShare = 0.95;
// Neighbours further than this share of a box off one line are not on it.
constexpr double offLineShare = 0.5;
// The most a lattice turns per pixel of step: 2 degrees, a photographed card.
constexpr double maxDrift = 0.035;
// A shape further than this share of a step from its lattice point is off it.
constexpr double offLatticeShare = 0.3;
// At least this share of the grid must be printed shapes found whole: the
// dots of a grainy dotted bracket are not all found, and the judge then
// finds the rest by the print they hold in common.
constexpr double minFoundShare = 0.4;
// The lattice is drawn through the window's shapes that lie closest to
// it, this share of them, fitted again a few times: a line of question
// numbers taken into the window, or pencil spilling over a box, cannot
// pull it aside. Of the others, those within this many times the middle
// distance of the closest from it, or this share of a box if more, lie on
// it too.
constexpr double trustedShare = 0.75;
constexpr int trimmedFits = 3;
constexpr double outlierSpread = 4.0;
constexpr double minOutlierShare = 0.1;
// Lattices whose scores differ by less than this share are as good.
constexpr double sameScoreShare = 0.05;
// Far more lattice points than a page of boxes has: a frame of noise.
constexpr long long maxLatticePoints = 1 << 20;

struct Size2
{
    double width;
    double height;
};

bool sameSize(const cv::Rect2d& box, const Size2& size)
{
    return box.width <= size.width * sizeFactor && size.width <= box.width * sizeFactor
        && box.height <= size.height * sizeFactor && size.height <= box.height * sizeFactor;
}

// The sizes most shapes share, most shared first, each from a bin of
// sizes and its neighbours; sizes closer than two bins are one.
std::vector<Size2> commonSizes(const std::vector<PrintedShape>& shapes)
{
    std::map<std::pair<int, int>, int> bins;
    const auto binOf = [](double value) { return static_cast<int>(std::floor(std::log(value) / sizeBin)); };
    for (const PrintedShape& s : shapes)
        ++bins[{binOf(s.box.width), binOf(s.box.height)}];
    std::vector<std::pair<int, std::pair<int, int>>> support;
    for (const auto& [key, count] : bins) {
        int sum = 0;
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                const auto near = bins.find({key.first + dx, key.second + dy});
                if (near != bins.end())
                    sum += near->second;
            }
        }
        support.emplace_back(sum, key);
    }
    std::sort(support.begin(), support.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::pair<int, int>> picked;
    std::vector<Size2> sizes;
    for (const auto& entry : support) {
        const std::pair<int, int>& key = entry.second;
        if (sizes.size() == maxSizeClasses || entry.first < 2)
            break;
        const bool close = std::any_of(picked.begin(), picked.end(), [&](const auto& p) {
            return std::abs(p.first - key.first) <= 2 && std::abs(p.second - key.second) <= 2;
        });
        if (close)
            continue;
        picked.push_back(key);
        const Size2 centre{std::exp((key.first + 0.5) * sizeBin), std::exp((key.second + 0.5) * sizeBin)};
        std::vector<double> widths;
        std::vector<double> heights;
        for (const PrintedShape& s : shapes) {
            if (sameSize(s.box, centre)) {
                widths.push_back(s.box.width);
                heights.push_back(s.box.height);
            }
        }
        sizes.push_back({median(widths), median(heights)});
    }
    return sizes;
}

// The step of which the measured steps are whole multiples: the shortest
// of the steps' clusters, no shorter than a box (`least`) and a quarter of
// the steps at least, that explains nearly as many of them as any.
double singleStep(std::vector<double> steps, double least)
{
    std::sort(steps.begin(), steps.end());
    std::vector<double> clusters;
    for (size_t i = 0; i < steps.size();) {
        size_t j = i;
        while (j < steps.size() && steps[j] <= steps[i] * (1.0 + clusterSpread))
            ++j;
        const double share = static_cast<double>(j - i) / static_cast<double>(steps.size());
        if (share >= minClusterShare && steps[(i + j) / 2] >= least)
            clusters.push_back(steps[(i + j) / 2]);
        i = j;
    }
    const auto explained = [&](double step) {
        return std::count_if(steps.begin(), steps.end(), [&](double s) {
            const double multiple = s / step;
            return std::abs(multiple - std::round(multiple)) <= multipleTolerance;
        });
    };
    long most = 0;
    for (const double c : clusters)
        most = std::max<long>(most, explained(c));
    for (const double c : clusters) {
        if (explained(c) >= nearlyAll * static_cast<double>(most))
            return c;
    }
    return median(steps);
}

// The median step from each shape to its nearest neighbour to the right
// (or below), over the single steps, and the median drift across that
// direction per pixel of step: the tilt.
bool neighbourStep(const std::vector<cv::Point2d>& centres, const PointBuckets& buckets, const Size2& size, bool down,
                   double& step, double& drift)
{
    const double along = down ? size.height : size.width;
    const double side = down ? size.width : size.height;
    const double reach = neighbourReach * std::max(size.width, size.height);
    std::vector<double> steps;
    std::vector<double> drifts;
    for (size_t i = 0; i < centres.size(); ++i) {
        double nearest = 0.0;
        double across = 0.0;
        buckets.near(centres[i], reach, [&](size_t j) {
            const cv::Point2d d = centres[j] - centres[i];
            const double forward = down ? d.y : d.x;
            const double off = down ? d.x : d.y;
            if (forward > 0.6 * along && forward <= reach && std::abs(off) < offLineShare * side
                && (nearest == 0.0 || forward < nearest)) {
                nearest = forward;
                across = off;
            }
        });
        if (nearest > 0.0) {
            steps.push_back(nearest);
            drifts.push_back(across / nearest);
        }
    }
    if (steps.empty())
        return false;
    // Missing shapes give double and triple steps, which may be the most
    // where a row in three is lost: the step is the shortest that the
    // steps are nearly all whole multiples of.
    const double first = singleStep(steps, boxShare * along);
    std::vector<double> single;
    std::vector<double> singleDrift;
    for (size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] < 1.4 * first && steps[i] > 0.6 * first) {
            single.push_back(steps[i]);
            singleDrift.push_back(drifts[i]);
        }
    }
    step = median(single);
    drift = std::clamp(median(singleDrift), -maxDrift, maxDrift);
    return step > 0.0;
}

// A lattice point (column, row) and the centre it maps to.
struct Affine
{
    cv::Point2d origin;
    cv::Matx22d steps; // columns: the step to the next column, to the next row

    cv::Point2d at(double column, double row) const
    {
        const cv::Vec2d v = steps * cv::Vec2d(column, row);
        return origin + cv::Point2d(v[0], v[1]);
    }
};

using Lattice = std::map<std::pair<int, int>, size_t>; // (column, row) -> member

// Every member on its lattice point, the one nearest the common size where
// two fall on one.
Lattice assign(const std::vector<cv::Point2d>& centres, const std::vector<PrintedShape>& members, const Size2& size,
               const Affine& affine)
{
    Lattice lattice;
    const cv::Matx22d toLattice = affine.steps.inv();
    const auto misfit = [&](size_t i) {
        return std::abs(members[i].box.width - size.width) / size.width
            + std::abs(members[i].box.height - size.height) / size.height;
    };
    for (size_t i = 0; i < centres.size(); ++i) {
        const cv::Point2d d = centres[i] - affine.origin;
        const cv::Vec2d at = toLattice * cv::Vec2d(d.x, d.y);
        const double column = std::round(at[0]);
        const double row = std::round(at[1]);
        if (std::abs(at[0] - column) > offLatticeShare || std::abs(at[1] - row) > offLatticeShare
            || std::abs(column) > 1e6 || std::abs(row) > 1e6)
            continue;
        const auto key = std::make_pair(static_cast<int>(column), static_cast<int>(row));
        const auto found = lattice.find(key);
        if (found == lattice.end())
            lattice.emplace(key, i);
        else if (misfit(i) < misfit(found->second))
            found->second = i;
    }
    return lattice;
}

// Least squares of the centres over their lattice points: x and y each a
// plane over column and row. False with fewer than three points or none
// spread both ways (the map then keeps what it had where it cannot tell).
void refit(const Lattice& lattice, const std::vector<cv::Point2d>& centres, Affine& affine)
{
    if (lattice.size() < 3)
        return;
    cv::Mat a(static_cast<int>(lattice.size()), 3, CV_64F);
    cv::Mat b(static_cast<int>(lattice.size()), 2, CV_64F);
    int i = 0;
    for (const auto& [point, member] : lattice) {
        a.at<double>(i, 0) = 1.0;
        a.at<double>(i, 1) = point.first;
        a.at<double>(i, 2) = point.second;
        b.at<double>(i, 0) = centres[member].x;
        b.at<double>(i, 1) = centres[member].y;
        ++i;
    }
    cv::Mat solution;
    if (!cv::solve(a, b, solution, cv::DECOMP_SVD))
        return;
    // A lattice of one column (row) leaves that step unknown: kept.
    bool columns = false;
    bool rows = false;
    for (const auto& entry : lattice) {
        columns = columns || entry.first.first != lattice.begin()->first.first;
        rows = rows || entry.first.second != lattice.begin()->first.second;
    }
    affine.origin = {solution.at<double>(0, 0), solution.at<double>(0, 1)};
    if (columns) {
        affine.steps(0, 0) = solution.at<double>(1, 0);
        affine.steps(1, 0) = solution.at<double>(1, 1);
    }
    if (rows) {
        affine.steps(0, 1) = solution.at<double>(2, 0);
        affine.steps(1, 1) = solution.at<double>(2, 1);
    }
}

struct Window
{
    int column = 0;
    int row = 0;
    int found = -1;
    double score = -1.0;
};

// The rows x cols window of the lattice whose centres lie in the frame and
// that holds the most shapes, weighed by how close each is to the common
// size; where windows tie, the one the shapes centre in.
Window bestWindow(const Lattice& lattice, const std::vector<PrintedShape>& members, const Size2& size,
                  const Affine& affine, int rows, int cols, const cv::Rect& frame)
{
    int minColumn = lattice.begin()->first.first;
    int maxColumn = minColumn;
    int minRow = lattice.begin()->first.second;
    int maxRow = minRow;
    double sumColumn = 0.0;
    double sumRow = 0.0;
    for (const auto& [point, member] : lattice) {
        minColumn = std::min(minColumn, point.first);
        maxColumn = std::max(maxColumn, point.first);
        minRow = std::min(minRow, point.second);
        maxRow = std::max(maxRow, point.second);
        sumColumn += point.first;
        sumRow += point.second;
    }
    const double meanColumn = sumColumn / static_cast<double>(lattice.size());
    const double meanRow = sumRow / static_cast<double>(lattice.size());
    const long long spanColumns = static_cast<long long>(maxColumn) - minColumn + 1;
    const long long spanRows = static_cast<long long>(maxRow) - minRow + 1;
    if (spanColumns * spanRows > maxLatticePoints)
        return {};

    // Counts and weights summed over the lattice, so that every window is
    // weighed in constant time.
    const long long width = spanColumns + 1;
    std::vector<double> scoreSums(static_cast<size_t>((spanRows + 1) * width), 0.0);
    std::vector<int> countSums(scoreSums.size(), 0);
    const auto at = [&](long long row, long long column) { return static_cast<size_t>(row * width + column); };
    for (const auto& [point, member] : lattice) {
        const cv::Rect2d& box = members[member].box;
        const size_t i = at(point.second - minRow + 1, point.first - minColumn + 1);
        scoreSums[i] = std::max(0.0, 1.0 - std::abs(box.width - size.width) / size.width
                                         - std::abs(box.height - size.height) / size.height);
        countSums[i] = 1;
    }
    for (long long r = 1; r <= spanRows; ++r) {
        for (long long c = 1; c <= spanColumns; ++c) {
            scoreSums[at(r, c)] += scoreSums[at(r - 1, c)] + scoreSums[at(r, c - 1)] - scoreSums[at(r - 1, c - 1)];
            countSums[at(r, c)] += countSums[at(r - 1, c)] + countSums[at(r, c - 1)] - countSums[at(r - 1, c - 1)];
        }
    }
    const auto windowSum = [&](const auto& sums, int row0, int column0) {
        const long long top = std::clamp<long long>(row0 - minRow, 0, spanRows);
        const long long bottom = std::clamp<long long>(static_cast<long long>(row0) + rows - minRow, 0, spanRows);
        const long long left = std::clamp<long long>(column0 - minColumn, 0, spanColumns);
        const long long right = std::clamp<long long>(static_cast<long long>(column0) + cols - minColumn, 0, spanColumns);
        return sums[at(bottom, right)] - sums[at(top, right)] - sums[at(bottom, left)] + sums[at(top, left)];
    };
    const auto inFrame = [&](int column0, int row0) {
        for (const int c : {column0, column0 + cols - 1}) {
            for (const int r : {row0, row0 + rows - 1}) {
                const cv::Point2d p = affine.at(c, r);
                if (p.x < frame.x || p.y < frame.y || p.x > frame.x + frame.width || p.y > frame.y + frame.height)
                    return false;
            }
        }
        return true;
    };

    Window best;
    double bestOffCentre = 0.0;
    for (int row0 = minRow - rows + 1; row0 <= maxRow; ++row0) {
        for (int column0 = minColumn - cols + 1; column0 <= maxColumn; ++column0) {
            if (!inFrame(column0, row0))
                continue;
            const double score = windowSum(scoreSums, row0, column0);
            const double offCentre = std::abs(column0 + (cols - 1) / 2.0 - meanColumn)
                + std::abs(row0 + (rows - 1) / 2.0 - meanRow);
            const bool tie = std::abs(score - best.score) < 1e-6;
            if ((!tie && score > best.score) || (tie && offCentre < bestOffCentre)) {
                best = {column0, row0, windowSum(countSums, row0, column0), score};
                bestOffCentre = offCentre;
            }
        }
    }
    return best;
}

struct Candidate
{
    LatticeFit fit = LatticeFit::NoLattice;
    double score = 0.0;
    PrintLattice lattice;
    OptionGridParams grid;
};

Candidate fitSize(const std::vector<PrintedShape>& shapes, const Size2& size, int rows, int cols, const cv::Rect& frame)
{
    std::vector<PrintedShape> members;
    std::vector<cv::Point2d> centres;
    for (const PrintedShape& s : shapes) {
        if (sameSize(s.box, size)) {
            members.push_back(s);
            centres.push_back(s.centre());
        }
    }
    if (static_cast<double>(members.size()) < minFoundShare * rows * cols)
        return {};
    const PointBuckets buckets(centres, 2.0 * std::max(size.width, size.height));

    double columnStep = 2.0 * size.width;
    double columnDrift = 0.0;
    double rowStep = 2.0 * size.height;
    double rowDrift = 0.0;
    if (!neighbourStep(centres, buckets, size, false, columnStep, columnDrift) && cols > 1)
        return {};
    if (!neighbourStep(centres, buckets, size, true, rowStep, rowDrift) && rows > 1)
        return {};

    // Numbered from the shape in the middle of them, then placed twice by
    // the lattice fitted through those found: a step a little off adds up
    // over forty rows.
    std::vector<double> xs;
    std::vector<double> ys;
    for (const cv::Point2d& c : centres) {
        xs.push_back(c.x);
        ys.push_back(c.y);
    }
    const cv::Point2d middle(median(xs), median(ys));
    const auto nearest = std::min_element(centres.begin(), centres.end(), [&](const auto& a, const auto& b) {
        return cv::norm(a - middle) < cv::norm(b - middle);
    });
    Affine affine{*nearest, cv::Matx22d(columnStep, rowStep * rowDrift, columnStep * columnDrift, rowStep)};
    Lattice lattice;
    for (int pass = 0; pass < 3; ++pass) {
        lattice = assign(centres, members, size, affine);
        if (pass < 2)
            refit(lattice, centres, affine);
    }
    if (lattice.empty() || std::abs(cv::determinant(affine.steps)) < 1e-6)
        return {};

    const Window window = bestWindow(lattice, members, size, affine, rows, cols, frame);
    Candidate candidate;
    candidate.score = std::max(window.score, 0.0);
    if (static_cast<double>(window.found) < minFoundShare * rows * cols)
        return candidate;

    // The window's shapes, without those a mark pulled aside, nor any
    // further from the lattice through them than the rest lie (a question
    // number beside the grid): the lattice is drawn through the others.
    Lattice inWindow;
    for (const auto& [point, member] : lattice) {
        const int c = point.first - window.column;
        const int r = point.second - window.row;
        if (c >= 0 && c < cols && r >= 0 && r < rows)
            inWindow.emplace(std::make_pair(c, r), member);
    }
    Affine local{affine.at(window.column, window.row), affine.steps};
    refit(inWindow, centres, local);
    const auto offLattice = [&](const std::pair<int, int>& point, size_t member) {
        const cv::Point2d off = centres[member] - local.at(point.first, point.second);
        return std::max(std::abs(off.x) / size.width, std::abs(off.y) / size.height);
    };
    std::vector<std::pair<double, std::pair<int, int>>> byDistance;
    for (int fit = 0; fit < trimmedFits; ++fit) {
        byDistance.clear();
        for (const auto& [point, member] : inWindow)
            byDistance.emplace_back(offLattice(point, member), point);
        std::sort(byDistance.begin(), byDistance.end());
        const size_t trusted = std::max<size_t>(3, static_cast<size_t>(trustedShare * byDistance.size()));
        Lattice closest;
        for (size_t i = 0; i < std::min(trusted, byDistance.size()); ++i)
            closest.emplace(byDistance[i].second, inWindow.at(byDistance[i].second));
        refit(closest, centres, local);
    }
    std::vector<double> distances;
    for (const auto& entry : byDistance)
        distances.push_back(entry.first);
    distances.resize(std::max<size_t>(1, static_cast<size_t>(trustedShare * distances.size())));
    const double reach = std::max(minOutlierShare, outlierSpread * median(distances));
    for (auto it = inWindow.begin(); it != inWindow.end();)
        it = offLattice(it->first, it->second) > reach ? inWindow.erase(it) : std::next(it);
    if (inWindow.empty())
        return candidate;
    refit(inWindow, centres, local);

    std::vector<cv::Point2d> indices;
    std::vector<cv::Point2d> found;
    std::vector<double> widths;
    std::vector<double> heights;
    for (const auto& [point, member] : inWindow) {
        indices.emplace_back(point.first, point.second);
        found.push_back(centres[member]);
        widths.push_back(members[member].box.width);
        heights.push_back(members[member].box.height);
    }
    PrintLattice& print = candidate.lattice;
    const cv::Matx33d affineMap(local.steps(0, 0), local.steps(0, 1), local.origin.x, local.steps(1, 0),
                                local.steps(1, 1), local.origin.y, 0.0, 0.0, 1.0);
    print.toPrint = latticeThrough(indices, found, rows, cols, affineMap);
    print.box = cv::Size2d(median(widths), median(heights));
    std::vector<double> scatterX;
    std::vector<double> scatterY;
    for (size_t i = 0; i < indices.size(); ++i) {
        const cv::Point2d off = found[i] - print.at(indices[i].x, indices[i].y);
        scatterX.push_back(std::abs(off.x));
        scatterY.push_back(std::abs(off.y));
    }
    print.scatter = cv::Point2d(median(scatterX), median(scatterY));
    candidate.fit = layLevelGrid(print, rows, cols, candidate.grid) ? LatticeFit::Fitted : LatticeFit::Turned;
    return candidate;
}

} // namespace

LatticeFit fitLattice(const std::vector<PrintedShape>& shapes, int rows, int cols, const cv::Rect& frame,
                      PrintLattice& lattice, OptionGridParams& grid)
{
    if (shapes.empty() || rows < 1 || cols < 1)
        return LatticeFit::NoLattice;
    Candidate best;
    double bestArea = 0.0;
    for (const Size2& size : commonSizes(shapes)) {
        // Of lattices on about as many shapes, the one of larger boxes
        // explains more of the print: the cells of a ruled strip, not the
        // rules between them.
        const Candidate candidate = fitSize(shapes, size, rows, cols, frame);
        if (candidate.fit == LatticeFit::NoLattice)
            continue;
        const bool alike = std::abs(candidate.score - best.score) <= sameScoreShare * best.score;
        if ((!alike && candidate.score > best.score) || (alike && size.width * size.height > bestArea)) {
            best = candidate;
            bestArea = size.width * size.height;
        }
    }
    if (best.fit == LatticeFit::Fitted) {
        lattice = best.lattice;
        grid = best.grid;
    }
    return best.fit;
}

int columnsOfCommonBoxes(const std::vector<PrintedShape>& shapes, int rows)
{
    for (const Size2& size : commonSizes(shapes)) {
        std::vector<cv::Point2d> centres;
        for (const PrintedShape& s : shapes) {
            if (sameSize(s.box, size))
                centres.push_back(s.centre());
        }
        const PointBuckets buckets(centres, 2.0 * std::max(size.width, size.height));
        double step = 0.0;
        double drift = 0.0;
        if (!neighbourStep(centres, buckets, size, false, step, drift))
            continue;
        // Columns apart by a step, a box's centres within half of one
        // (turned by up to 2 degrees over the rows).
        std::vector<double> xs;
        for (const cv::Point2d& c : centres)
            xs.push_back(c.x);
        std::sort(xs.begin(), xs.end());
        int columns = 0;
        for (size_t i = 0; i < xs.size();) {
            size_t j = i + 1;
            while (j < xs.size() && xs[j] - xs[j - 1] < step / 2.0)
                ++j;
            if (static_cast<double>(j - i) >= minFoundShare * rows)
                ++columns;
            i = j;
        }
        if (columns > 0)
            return columns;
    }
    return 0;
}
