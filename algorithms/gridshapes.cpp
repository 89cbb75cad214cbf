#include "algorithms/gridshapes.h"

#include "algorithms/gridhelpers.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// A box may be up to this much larger than the frame's cell (a frame drawn
// a little inside the outer boxes), and no smaller than this part of one.
constexpr double maxCellShare = 1.3;
constexpr int minCellDivisor = 8;
// Marks smaller than this many millimetres each way are specks or dots.
constexpr double smallestMarkMm = 0.35;
// The widest stroke of a box's print, in millimetres.
constexpr double maxStrokeMm = 2.0;
// Strokes stand this many noise widths off the paper, and at least this
// many grey levels: light print some twenty, scanner noise a few.
constexpr double noiseWidths = 4.0;
constexpr double minStrokeLevel = 12.0;
// Screen dots of shading stay under this share of the strongest strokes,
// those the darkest percent of the crop reaches.
constexpr double strongShare = 0.3;
constexpr double strongestShare = 0.01;
// A break in a stroke is at least this share of the stroke level dark.
constexpr double breakShare = 0.5;
// A filled box is at least this much darker than the paper around it; a
// light-grey one some thirty levels.
constexpr double minFillLevel = 18.0;
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
// Brackets of one pair are as tall as each other, to a seventh, and hold
// a glyph or two with some room: a pair is at most this much wider than
// high, one run together at most the second.
constexpr int bracketHeightTolerance = 7;
constexpr double maxPairAspect = 2.1;
constexpr double maxRunAspect = 1.6;
// Pieces of one bracketed glyph lie closer than this share of their
// height; neighbouring boxes lie further apart.
constexpr double maxPieceGap = 0.25;
// Two shapes are one when their centres lie within this share of their
// size and their sizes within this factor.
constexpr double twinCentreShare = 0.25;
constexpr double twinSizeFactor = 1.35;
// A box printed in a ruled cell spans at least this share of it each way.
constexpr double boxInCellShare = 0.55;
// Dots whose steps agree to this cosine (about 18 degrees) lie on one line.
constexpr double straightDots = 0.95;
// Far more marks than a page of boxes holds: a frame of noise.
constexpr size_t maxMarks = 40000;

int oddAtLeast(int value, int least)
{
    return std::max(value, least) | 1;
}

struct Sizes
{
    double minBox;
    double maxWidth;
    double maxHeight;
    int minMark;

    bool boxSized(const cv::Rect2d& r) const
    {
        return r.width >= minBox && r.height >= minBox && r.width <= maxWidth && r.height <= maxHeight;
    }
};

// How far apart the dots of dotted lines lie: the median distance from
// each dot to its nearest one. 0 when too few dots make a line.
double dotPeriod(const std::vector<cv::Point2d>& dots, double reach)
{
    constexpr size_t minDots = 8;
    if (dots.size() < minDots)
        return 0.0;
    const PointBuckets buckets(dots, reach);
    std::vector<double> nearest;
    for (size_t i = 0; i < dots.size(); ++i) {
        double best = -1.0;
        buckets.near(dots[i], reach, [&](size_t j) {
            if (j == i)
                return;
            const double d = std::hypot(dots[j].x - dots[i].x, dots[j].y - dots[i].y);
            if (best < 0 || d < best)
                best = d;
        });
        if (best >= 0)
            nearest.push_back(best);
    }
    return nearest.size() * 2 >= dots.size() ? median(nearest) : 0.0;
}

// The dots of dotted lines joined into lines, across the gap between
// neighbouring dots and no further, so that neighbouring boxes, and a
// dotted bracket beside a dotted rule, stay apart. Only dots in line are
// joined, with each other: letters and bubbles keep their shape. A dot is
// in line when two neighbours lie opposite each other around it; the dot
// at a line's end or corner goes with it. The crumbs of print broken by
// the threshold lie anyhow and are left alone.
void joinDottedLines(cv::Mat& ink, const cv::Size& cell, int minMark)
{
    const int dot = std::max(minMark + 1, std::min(cell.width, cell.height) / 6);
    cv::Mat labels;
    cv::Mat stats;
    cv::Mat centroids;
    const int count = cv::connectedComponentsWithStats(ink, labels, stats, centroids, 8, CV_32S);
    if (static_cast<size_t>(count) > maxMarks)
        return;
    std::vector<cv::Point2d> dots;
    std::vector<double> extents;
    std::vector<uchar> isDot(static_cast<size_t>(count), 0);
    for (int i = 1; i < count; ++i) {
        const int width = stats.at<int>(i, cv::CC_STAT_WIDTH);
        const int height = stats.at<int>(i, cv::CC_STAT_HEIGHT);
        if (width <= dot && height <= dot) {
            dots.emplace_back(centroids.at<double>(i, 0), centroids.at<double>(i, 1));
            extents.push_back(std::min(width, height));
            isDot[static_cast<size_t>(i)] = 1;
        }
    }
    const double period = dotPeriod(dots, 2.0 * dot);
    if (period <= 0.0 || period > 2.0 * dot)
        return;
    std::vector<uchar> inLine(dots.size(), 0);
    const PointBuckets buckets(dots, 2.0 * period);
    for (size_t i = 0; i < dots.size(); ++i) {
        std::vector<cv::Point2d> steps;
        buckets.near(dots[i], 1.5 * period, [&](size_t j) {
            const cv::Point2d d = dots[j] - dots[i];
            const double length = std::hypot(d.x, d.y);
            if (j != i && length >= 0.6 * period && length <= 1.5 * period)
                steps.push_back(d / length);
        });
        for (size_t a = 0; a < steps.size() && !inLine[i]; ++a) {
            for (size_t b = a + 1; b < steps.size(); ++b) {
                if (steps[a].dot(steps[b]) < -straightDots) {
                    inLine[i] = 1;
                    break;
                }
            }
        }
    }
    std::vector<uchar> kept = inLine;
    for (size_t i = 0; i < dots.size(); ++i) {
        buckets.near(dots[i], 1.5 * period, [&](size_t j) {
            if (inLine[j] && cv::norm(dots[j] - dots[i]) <= 1.5 * period)
                kept[i] = 1;
        });
    }
    for (size_t i = 0, d = 0; i < isDot.size(); ++i) {
        if (isDot[i])
            isDot[i] = kept[d++];
    }
    cv::Mat lines(ink.size(), CV_8UC1);
    for (int y = 0; y < ink.rows; ++y) {
        const int* label = labels.ptr<int>(y);
        uchar* out = lines.ptr<uchar>(y);
        for (int x = 0; x < ink.cols; ++x)
            out[x] = isDot[static_cast<size_t>(label[x])] ? 255 : 0;
    }
    // The gap between two dots of a line is the period less a dot.
    const double gap = period - median(extents);
    const int reach = oddAtLeast(static_cast<int>(std::ceil(gap)) + 1, 3);
    cv::Mat across;
    cv::morphologyEx(lines, across, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(reach, 1)));
    cv::morphologyEx(lines, lines, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(1, reach)));
    lines |= across;
    // Where a row of dots meets a column of them neither line may have
    // the corner dot: closed both ways as well.
    cv::morphologyEx(lines, lines, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(reach, reach)));
    ink |= lines;
}

// The darkness of the strongest strokes: what the darkest percent of the
// pixels reach.
double strongStroke(const cv::Mat& darkness)
{
    std::vector<long long> histogram(256, 0);
    for (int y = 0; y < darkness.rows; ++y) {
        const short* row = darkness.ptr<short>(y);
        for (int x = 0; x < darkness.cols; ++x)
            ++histogram[static_cast<size_t>(std::clamp<int>(row[x], 0, 255))];
    }
    const double wanted = strongestShare * static_cast<double>(darkness.total());
    double seen = 0.0;
    for (int level = 255; level > 0; --level) {
        seen += static_cast<double>(histogram[static_cast<size_t>(level)]);
        if (seen >= wanted)
            return level;
    }
    return 0.0;
}

// The darkness of the paper between the print: its middle and the width
// of its noise, read from the lighter half of the crop, which is paper
// wherever print covers less than half of it.
struct PaperNoise
{
    double middle = 0.0;
    double width = 0.0;
};

PaperNoise paperNoise(const cv::Mat& darkness)
{
    // Darkness in grey levels, -255 .. 255, counted in a histogram.
    std::vector<long long> histogram(511, 0);
    for (int y = 0; y < darkness.rows; ++y) {
        const short* row = darkness.ptr<short>(y);
        for (int x = 0; x < darkness.cols; ++x)
            ++histogram[static_cast<size_t>(row[x] + 255)];
    }
    const auto level = [&](double share) {
        const double wanted = share * static_cast<double>(darkness.total());
        double seen = 0.0;
        for (size_t i = 0; i < histogram.size(); ++i) {
            seen += static_cast<double>(histogram[i]);
            if (seen >= wanted)
                return static_cast<double>(i) - 255.0;
        }
        return 255.0;
    };
    // A sixth of normal noise lies more than its width below the middle.
    PaperNoise noise;
    noise.middle = level(0.5);
    noise.width = noise.middle - level(0.16);
    return noise;
}

// The paper's own level around each pixel: the lightest grey within about
// a cell, found on a copy a few times smaller, so that a filled box or a
// shaded band reads as darker than the paper around it.
cv::Mat paperLevel(const cv::Mat& grey, const cv::Size& cell)
{
    const int shrink = std::max(1, std::min(cell.width, cell.height) / minCellDivisor);
    cv::Mat small;
    if (shrink > 1)
        cv::resize(grey, small, cv::Size(std::max(1, grey.cols / shrink), std::max(1, grey.rows / shrink)), 0, 0,
                   cv::INTER_AREA);
    else
        small = grey.clone();
    const int across = oddAtLeast(2 * cell.width / shrink + 1, 3);
    const int down = oddAtLeast(2 * cell.height / shrink + 1, 3);
    cv::dilate(small, small, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(across, down)));
    cv::blur(small, small, cv::Size(3, 3));
    cv::Mat paper;
    cv::resize(small, paper, grey.size(), 0, 0, cv::INTER_LINEAR);
    return paper;
}

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

struct Bracket
{
    cv::Rect rect;
    int opening; // +1 "[", -1 "]", 0 a plain stroke
    bool alone;  // a bracket, not one run into its glyph
};

bool bracketHeights(int a, int b)
{
    return std::abs(a - b) * bracketHeightTolerance <= std::max(a, b);
}

// Each closing bracket joined with the nearest opening one of its height
// to its left: the box they print, however wide the glyph between them,
// and not a stray stroke before the pair. At low resolution a bracket is
// a plain stroke, either one, and so is a narrow digit: brackets that
// lean their way pair first, with a bracket standing alone before one run
// into its glyph ("[6" or "6" of "[6]").
void addBracketPairs(std::vector<Bracket> brackets, const Sizes& sizes, std::vector<PrintedShape>& shapes)
{
    std::sort(brackets.begin(), brackets.end(), [](const Bracket& a, const Bracket& b) { return a.rect.x < b.rect.x; });
    std::vector<cv::Point2d> centres;
    for (const Bracket& b : brackets)
        centres.emplace_back(b.rect.x + b.rect.width / 2.0, b.rect.y + b.rect.height / 2.0);
    const PointBuckets buckets(centres, sizes.maxWidth);
    std::vector<bool> used(brackets.size(), false);
    const auto pairWith = [&](size_t j, int opening, bool alone) {
        const Bracket& right = brackets[j];
        size_t nearest = brackets.size();
        buckets.near(centres[j], sizes.maxWidth, [&](size_t i) {
            const Bracket& left = brackets[i];
            if (used[i] || i == j || left.rect.x >= right.rect.x || left.opening != opening || (alone && !left.alone)
                || left.rect.x < right.rect.x + right.rect.width - sizes.maxWidth
                || !bracketHeights(right.rect.height, left.rect.height))
                return;
            const int overlap = std::min(left.rect.y + left.rect.height, right.rect.y + right.rect.height)
                - std::max(left.rect.y, right.rect.y);
            const cv::Rect pair = left.rect | right.rect;
            if (overlap < 0.7 * std::min(left.rect.height, right.rect.height) || !sizes.boxSized(pair)
                || pair.width > maxPairAspect * pair.height)
                return;
            if (nearest == brackets.size() || left.rect.x > brackets[nearest].rect.x)
                nearest = i;
        });
        if (nearest == brackets.size())
            return false;
        used[nearest] = used[j] = true;
        shapes.push_back({brackets[nearest].rect | right.rect, ShapeKind::Pair});
        return true;
    };
    for (const int closing : {-1, 0}) {
        for (size_t j = 0; j < brackets.size(); ++j) {
            if (!used[j] && brackets[j].opening == closing && !pairWith(j, 1, true) && !pairWith(j, 1, false))
                pairWith(j, 0, false);
        }
    }
}

// Marks side by side on one line with narrow gaps, joined: "[", "B" and
// "]" in whichever pieces the print broke them into become the one box
// they print. Runs of two or more only.
void addPieceRuns(std::vector<cv::Rect> pieces, const Sizes& sizes, std::vector<PrintedShape>& shapes)
{
    std::sort(pieces.begin(), pieces.end(), [](const cv::Rect& a, const cv::Rect& b) { return a.x < b.x; });
    std::vector<cv::Point2d> centres;
    for (const cv::Rect& p : pieces)
        centres.emplace_back(p.x + p.width / 2.0, p.y + p.height / 2.0);
    const PointBuckets buckets(centres, sizes.maxWidth);
    std::vector<bool> used(pieces.size(), false);
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (used[i])
            continue;
        used[i] = true;
        cv::Rect run = pieces[i];
        int joined = 1;
        for (;;) {
            // The nearest piece beside the run's right end, on its line.
            size_t next = pieces.size();
            const cv::Point2d end(run.x + run.width, run.y + run.height / 2.0);
            buckets.near(end, sizes.maxWidth, [&](size_t j) {
                const cv::Rect& p = pieces[j];
                const int gap = p.x - (run.x + run.width);
                const int overlap = std::min(run.y + run.height, p.y + p.height) - std::max(run.y, p.y);
                if (used[j] || p.x < run.x || gap > maxPieceGap * run.height || p.height * 5 < run.height * 3
                    || run.height * 5 < p.height * 3 || overlap < 0.6 * std::min(run.height, p.height))
                    return;
                if (next == pieces.size() || p.x < pieces[next].x)
                    next = j;
            });
            if (next == pieces.size())
                break;
            const cv::Rect wider = run | pieces[next];
            if (!sizes.boxSized(wider) || wider.width > maxRunAspect * wider.height)
                break;
            run = wider;
            used[next] = true;
            ++joined;
        }
        if (joined > 1)
            shapes.push_back({run, ShapeKind::Pair});
    }
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
                                        const Sizes& sizes)
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

cv::Mat strokeInk(const cv::Mat& grey, const cv::Size& cell, double dpi)
{
    const int minMark = std::max(2, static_cast<int>(std::lround(smallestMarkMm * dpi / 25.4)));
    // A closing wider than a stroke takes the stroke away; what it took is
    // the stroke, on paper or on shading alike, whatever lies beside it.
    const int widest = static_cast<int>(std::lround(maxStrokeMm * dpi / 25.4));
    const int kernel = oddAtLeast(std::min(std::min(cell.width, cell.height) / 4, widest), 3);
    cv::Mat darkness;
    cv::morphologyEx(grey, darkness, cv::MORPH_BLACKHAT,
                     cv::getStructuringElement(cv::MORPH_RECT, cv::Size(kernel, kernel)));
    darkness.convertTo(darkness, CV_16S);
    const PaperNoise noise = paperNoise(darkness);
    // The screen dots of shaded columns are strokes too, but far lighter
    // than the print's own: a share of its strongest strokes.
    const double strong = strongStroke(darkness);
    const double level = std::max({minStrokeLevel, noise.middle + noiseWidths * noise.width, strongShare * strong});
    cv::Mat ink = darkness > level;
    // Joins rims the scanner broke by a pixel or two, where the break is
    // still a little dark: not the paper between two bubbles.
    cv::Mat joined;
    cv::morphologyEx(ink, joined, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    ink |= joined & (darkness > level * breakShare);
    joinDottedLines(ink, cell, minMark);
    return ink;
}

std::vector<PrintedShape> findPrintedShapes(const cv::Mat& grey, const ShapeScale& scale, cv::Mat* strokes)
{
    const cv::Size cell(std::max(scale.cell.width, 1), std::max(scale.cell.height, 1));
    Sizes sizes;
    sizes.minMark = std::max(2, static_cast<int>(std::lround(smallestMarkMm * scale.dpi / 25.4)));
    sizes.minBox = std::max<double>(sizes.minMark + 1, std::min(cell.width, cell.height) / minCellDivisor);
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
                shapes.push_back({r, ShapeKind::Outline, rim});
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
        if (r.height < sizes.minBox)
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
    cv::Mat paper = paperLevel(grey, cell);
    cv::Mat darkness;
    cv::subtract(paper, grey, darkness, cv::noArray(), CV_16S);
    // The paper lies a little below its lightest pixel: the level counts
    // from the paper's middle.
    const PaperNoise noise = paperNoise(darkness);
    const double fillLevel = std::max(minFillLevel, noise.middle + noiseWidths * noise.width);
    // Where shading covers much of the crop, its darkness passes for the
    // paper's and a pencil mark on it is lost: marks are looked for again
    // at half the darkness of the darkest print.
    const double markLevel = std::max(minFillLevel, strongStroke(darkness) / 2.0);
    for (const double level : {fillLevel, markLevel}) {
        const Components filled(darkness > level, 8);
        if (static_cast<size_t>(filled.count) > maxMarks)
            return {};
        for (int i = 1; i < filled.count; ++i) {
            const cv::Rect r = filled.rect(i);
            if (!touchesEdge(r, grey.size()) && sizes.boxSized(r)
                && static_cast<double>(filled.area(i)) >= minSolidShare * r.area())
                shapes.push_back({r, ShapeKind::Filled});
        }
        if (markLevel == fillLevel)
            break;
    }
    if (shapes.size() > maxMarks)
        return {};
    openInside.resize(shapes.size(), false);
    return settleNesting(shapes, openInside, sizes);
}
