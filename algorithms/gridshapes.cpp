#include "algorithms/gridshapes.h"

#include "algorithms/gridbrackets.h"
#include "algorithms/gridhelpers.h"
#include "algorithms/gridstrokes.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// A box may be up to this much larger than the frame's cell (a frame drawn
// a little inside the outer boxes), and no smaller than this part of one.
constexpr double maxCellShare = 1.3;
constexpr int minCellDivisor = 8;
// No box a candidate fills is narrower or lower than this many millimetres:
// a narrower mark is a rule, the double edge of touching strips, a speck.
constexpr double smallestBoxMm = 1.2;
// The inside of a rim spans at least this share of it each way. (Rims
// run together are no rim: their insides are found as cells.)
constexpr double minHoleShare = 0.5;
// Two rims run together have two insides of at least this share of the
// mark's width and height each; the holes of a "B" are smaller.
constexpr double groupHoleWidth = 0.35;
constexpr double groupHoleHeight = 0.5;
// A solid mark covers at least this share of its bounds; a letter less.
constexpr double minSolidShare = 0.6;
// A side is upright when it spans this share of the mark's height.
constexpr double uprightShare = 0.75;
// Two shapes are one when their centres lie within this share of their
// size and their sizes within this factor.
constexpr double twinCentreShare = 0.25;
constexpr double twinSizeFactor = 1.35;
// A box printed in a ruled cell spans at least this share of it each way.
constexpr double boxInCellShare = 0.55;
// Far more marks than a page of boxes holds: a frame of noise.
constexpr size_t maxMarks = 40000;

struct Components
{
    cv::Mat labels;
    cv::Mat stats;
    int count = 0;

    explicit Components(const cv::Mat& binary, int connectivity)
    {
        cv::Mat centroids;
        count = cv::connectedComponentsWithStats(binary, labels, stats, centroids, connectivity, CV_32S);
    }
    cv::Rect rect(int i) const
    {
        return {stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT)};
    }
    int area(int i) const { return stats.at<int>(i, cv::CC_STAT_AREA); }
};

bool touchesEdge(const cv::Rect& r, const cv::Size& size)
{
    return r.x <= 0 || r.y <= 0 || r.x + r.width >= size.width || r.y + r.height >= size.height;
}

// How a mark's ink lies in its bounds: how many rows reach each side, and
// the mean column of its ink relative to the middle (a "[" leans left).
struct Sides
{
    int leftRows = 0;
    int rightRows = 0;
    double lean = 0.0;
};

Sides sidesOf(const cv::Mat& labels, int label, const cv::Rect& r)
{
    Sides sides;
    const int band = std::max(1, (r.width + 4) / 5);
    double sumX = 0.0;
    long long count = 0;
    for (int y = r.y; y < r.y + r.height; ++y) {
        const int* row = labels.ptr<int>(y);
        bool left = false;
        bool right = false;
        for (int x = r.x; x < r.x + r.width; ++x) {
            if (row[x] != label)
                continue;
            left = left || x < r.x + band;
            right = right || x >= r.x + r.width - band;
            sumX += x;
            ++count;
        }
        sides.leftRows += left ? 1 : 0;
        sides.rightRows += right ? 1 : 0;
    }
    if (count > 0)
        sides.lean = sumX / static_cast<double>(count) - (r.x + (r.width - 1) / 2.0);
    return sides;
}

// The straight runs of ink longer than any box, across (at least
// `across` pixels) and down (`down`): rules and borders, not the sides of
// a box.
cv::Mat longLines(const cv::Mat& ink, int across, int down)
{
    cv::Mat lines = cv::Mat::zeros(ink.size(), CV_8UC1);
    for (int y = 0; y < ink.rows; ++y) {
        const uchar* row = ink.ptr<uchar>(y);
        uchar* out = lines.ptr<uchar>(y);
        int start = 0;
        for (int x = 0; x <= ink.cols; ++x) {
            if (x < ink.cols && row[x])
                continue;
            if (x - start >= across)
                std::fill(out + start, out + x, uchar(255));
            start = x + 1;
        }
    }
    // Down the columns, a row at a time: each column's run so far.
    std::vector<int> run(static_cast<size_t>(ink.cols), 0);
    for (int y = 0; y <= ink.rows; ++y) {
        const uchar* row = y < ink.rows ? ink.ptr<uchar>(y) : nullptr;
        for (int x = 0; x < ink.cols; ++x) {
            if (row && row[x]) {
                ++run[static_cast<size_t>(x)];
                continue;
            }
            if (run[static_cast<size_t>(x)] >= down) {
                for (int back = y - run[static_cast<size_t>(x)]; back < y; ++back)
                    lines.at<uchar>(back, x) = 255;
            }
            run[static_cast<size_t>(x)] = 0;
        }
    }
    return lines;
}

// Which of two shapes of one place and size stands for it.
int priority(ShapeKind kind)
{
    switch (kind) {
    case ShapeKind::Filled: return 0;
    case ShapeKind::Outline: return 1;
    case ShapeKind::Pair: return 2;
    case ShapeKind::Cell: return 3;
    }
    return 4;
}

bool inside(const cv::Rect2d& inner, const cv::Rect2d& outer, double slack)
{
    return inner.x >= outer.x - slack && inner.y >= outer.y - slack
        && inner.x + inner.width <= outer.x + outer.width + slack
        && inner.y + inner.height <= outer.y + outer.height + slack;
}

bool twins(const PrintedShape& a, const PrintedShape& b)
{
    const cv::Point2d d = a.centre() - b.centre();
    const double w = std::min(a.box.width, b.box.width);
    const double h = std::min(a.box.height, b.box.height);
    return std::abs(d.x) <= twinCentreShare * w && std::abs(d.y) <= twinCentreShare * h
        && std::max(a.box.width, b.box.width) <= twinSizeFactor * w
        && std::max(a.box.height, b.box.height) <= twinSizeFactor * h;
}

// Drops what is printed inside a box, cells around a box, and the second
// of two shapes of one place. `openInside` marks the rims of several
// insides.
std::vector<PrintedShape> settleNesting(const std::vector<PrintedShape>& shapes, const std::vector<bool>& openInside,
                                        const BoxBounds& sizes)
{
    std::vector<cv::Point2d> centres;
    for (const PrintedShape& s : shapes)
        centres.push_back(s.centre());
    const double reach = std::max(sizes.maxWidth, sizes.maxHeight);
    const PointBuckets buckets(centres, reach);
    std::vector<bool> dropped(shapes.size(), false);
    for (size_t i = 0; i < shapes.size(); ++i) {
        const PrintedShape& s = shapes[i];
        buckets.near(centres[i], reach, [&](size_t j) {
            if (j == i || dropped[i] || dropped[j])
                return;
            const PrintedShape& o = shapes[j];
            // A ruled cell with a rim, pair or fill of about its size in it
            // is the cell around a box; a digit "0" in it is no box.
            if (s.kind == ShapeKind::Cell && o.kind != ShapeKind::Cell && o.box.area() < 0.8 * s.box.area()
                && o.box.width >= boxInCellShare * s.box.width && o.box.height >= boxInCellShare * s.box.height
                && inside(o.box, s.box, 1.0)) {
                dropped[i] = true;
                return;
            }
            // What is printed inside a box is no box: the digit "0" in a
            // bubble, an "H" on a grey box, the inside of the "0". A rim
            // split by its digit and rims run together look alike: the
            // insides of a rim of several are kept as cells.
            if (o.kind != ShapeKind::Cell && s.box.area() * 2 <= o.box.area() && inside(s.box, o.box, 1.0)
                && !(s.kind == ShapeKind::Cell && openInside[j])) {
                dropped[i] = true;
                return;
            }
            // Of two shapes of one place the larger is the box: a bracket
            // pair before the solid "[B" at its left, a rim before the inside.
            if (twins(s, o) && (o.box.area() > s.box.area()
                                || (o.box.area() == s.box.area() && (priority(o.kind) < priority(s.kind)
                                                                       || (o.kind == s.kind && j < i)))))
                dropped[i] = true;
        });
    }
    std::vector<PrintedShape> kept;
    for (size_t i = 0; i < shapes.size(); ++i) {
        if (!dropped[i])
            kept.push_back(shapes[i]);
    }
    return kept;
}

} // namespace

std::vector<PrintedShape> findPrintedShapes(const cv::Mat& grey, const ShapeScale& scale, cv::Mat* strokes)
{
    const cv::Size cell(std::max(scale.cell.width, 1), std::max(scale.cell.height, 1));
    BoxBounds sizes;
    sizes.minMark = smallestMark(scale.dpi);
    sizes.minBox = std::max<double>(sizes.minMark + 1, std::min(cell.width, cell.height) / minCellDivisor);
    sizes.minSide = smallestBoxMm * scale.dpi / 25.4;
    sizes.maxWidth = maxCellShare * cell.width;
    sizes.maxHeight = maxCellShare * cell.height;

    const cv::Mat ink = strokeInk(grey, cell, scale.dpi);
    if (strokes)
        *strokes = ink;
    // Marks are told apart without the rules and borders they touch; the
    // cells those rules enclose are found with them.
    const Components marks(ink & ~longLines(ink, static_cast<int>(sizes.maxWidth) + 1,
                                            static_cast<int>(sizes.maxHeight) + 1), 8);
    if (static_cast<size_t>(marks.count) > maxMarks)
        return {};
    cv::Mat background;
    cv::bitwise_not(ink, background);
    const Components holes(background, 4);

    // The holes of each mark, found from the mark left of a hole's first
    // pixel: the inside of a rim, split where a digit touches it.
    std::vector<cv::Rect> insides(static_cast<size_t>(marks.count));
    std::vector<int> soleHole(static_cast<size_t>(marks.count), 0); // 0 none, -1 several
    std::vector<std::vector<cv::Rect>> holesOf(static_cast<size_t>(marks.count));
    std::vector<bool> holeOfRim(static_cast<size_t>(holes.count), false);
    for (int h = 1; h < holes.count; ++h) {
        const cv::Rect r = holes.rect(h);
        if (touchesEdge(r, grey.size()) || r.width < sizes.minMark || r.height < sizes.minMark
            || r.width > sizes.maxWidth || r.height > sizes.maxHeight)
            continue;
        const int* row = holes.labels.ptr<int>(r.y);
        int x = r.x;
        while (x < r.x + r.width && row[x] != h)
            ++x;
        if (x <= 0 || x >= r.x + r.width)
            continue;
        const size_t owner = static_cast<size_t>(marks.labels.ptr<int>(r.y)[x - 1]);
        if (owner == 0)
            continue;
        insides[owner] = insides[owner].empty() ? r : (insides[owner] | r);
        soleHole[owner] = soleHole[owner] == 0 ? h : -1;
        holesOf[owner].push_back(r);
    }

    std::vector<PrintedShape> shapes;
    std::vector<Bracket> brackets;
    std::vector<cv::Rect> pieces; // marks that are no box of their own
    std::vector<double> rims; // the stroke of each rim
    std::vector<bool> openInside;
    for (int i = 1; i < marks.count; ++i) {
        const cv::Rect r = marks.rect(i);
        if (touchesEdge(r, grey.size()) || r.width > sizes.maxWidth || r.height > sizes.maxHeight
            || std::max(r.width, r.height) < sizes.minMark)
            continue;
        // Any mark may be a piece of a bracketed glyph: at low resolution
        // "[B" runs together into a solid one.
        if (r.height >= sizes.minBox)
            pieces.push_back(r);
        const cv::Rect& inner = insides[static_cast<size_t>(i)];
        if (!inner.empty()) {
            if (inner.width >= minHoleShare * r.width && inner.height >= minHoleShare * r.height
                && sizes.boxSized(r)) {
                const double rim = (r.width - inner.width + r.height - inner.height) / 4.0;
                shapes.push_back({r, ShapeKind::Outline});
                openInside.resize(shapes.size(), false);
                const int hole = soleHole[static_cast<size_t>(i)];
                openInside.back() = hole < 0;
                if (hole > 0)
                    holeOfRim[static_cast<size_t>(hole)] = true;
                rims.push_back(rim);
                continue;
            }
        }
        const double solid = static_cast<double>(marks.area(i)) / r.area();
        const bool tall = r.width * 2 <= r.height;
        if (sizes.boxSized(r) && solid >= minSolidShare && !tall && r.width <= 4 * r.height) {
            shapes.push_back({r, ShapeKind::Filled});
            continue;
        }
        // A bracket is as tall as the box it closes: the dashes of a
        // dashed rule are none.
        if (r.height < std::max(sizes.minBox, sizes.minSide))
            continue;
        const Sides sides = sidesOf(marks.labels, i, r);
        const bool left = sides.leftRows >= uprightShare * r.height;
        const bool right = sides.rightRows >= uprightShare * r.height;
        if (tall) {
            // A bracket of a few pixels is a plain stroke at low resolution.
            const int opening = std::abs(sides.lean) < r.width / 8.0 ? 0 : (sides.lean < 0 ? 1 : -1);
            brackets.push_back({r, opening, true});
        } else if (left && right) {
            // Rims run together are no pair: each inside is a cell.
            const auto rimInside = [&](const cv::Rect& h) {
                return h.width >= groupHoleWidth * r.width && h.height >= groupHoleHeight * r.height;
            };
            const auto& own = holesOf[static_cast<size_t>(i)];
            if (sizes.boxSized(r) && std::count_if(own.begin(), own.end(), rimInside) < 2)
                shapes.push_back({r, ShapeKind::Pair});
            // Or a glyph run into one bracket ("6]"), whose other bracket
            // stands apart.
            brackets.push_back({r, 0, false});
        } else if (left || right) {
            // A bracket run into the glyph beside it: "[A" or "A]".
            brackets.push_back({r, left ? 1 : -1, false});
        }
    }
    addBracketPairs(std::move(brackets), sizes, shapes);
    addPieceRuns(std::move(pieces), sizes, shapes);

    // Cells: holes that are no rim's inside, with the strokes around them
    // as wide as the rims' (a rim that handwriting runs into is no rim of
    // its own, and leaves its inside).
    const double stroke = rims.empty() ? 1.0 : median(rims);
    for (int h = 1; h < holes.count; ++h) {
        const cv::Rect r = holes.rect(h);
        if (!holeOfRim[static_cast<size_t>(h)] && !touchesEdge(r, grey.size()) && sizes.boxSized(r))
            shapes.push_back({cv::Rect2d(r.x - stroke, r.y - stroke, r.width + 2.0 * stroke, r.height + 2.0 * stroke),
                              ShapeKind::Cell});
    }

    // Filled boxes lighter than a stroke (light-grey boxes with their
    // letter) and pencil: darker than the paper around them.
    for (const cv::Mat& mask : fillInk(grey, cell)) {
        const Components filled(mask, 8);
        if (static_cast<size_t>(filled.count) > maxMarks)
            return {};
        for (int i = 1; i < filled.count; ++i) {
            const cv::Rect r = filled.rect(i);
            if (!touchesEdge(r, grey.size()) && sizes.boxSized(r)
                && static_cast<double>(filled.area(i)) >= minSolidShare * r.area())
                shapes.push_back({r, ShapeKind::Filled});
        }
    }
    if (shapes.size() > maxMarks)
        return {};
    openInside.resize(shapes.size(), false);
    return settleNesting(shapes, openInside, sizes);
}
