#include "algorithms/gridevidence.h"

#include "algorithms/gridhelpers.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>

namespace {

// A found shape stands for a box when its centre lies within this share
// of a box of the box's place on the lattice, or within this many times
// the middle distance of the grid's found boxes from it where that is
// more (a soft print), but never beyond the third of a box the grid is
// laid out to ...
constexpr double onLatticeShare = 0.1;
constexpr double onLatticeSpread = 4.0;
constexpr double maxOnLatticeShare = 1.0 / 3.0;
// ... and when it is the box's size, as the lattice's own boxes are, or a
// fill that spills over the box by up to the second factor.
constexpr double sameSizeFactor = 1.3;
constexpr double fillSpillFactor = 1.5;
// A box without such a shape is on the print when the strokes there show
// this share of what the grid's boxes hold in common: what this share of
// them hold.
constexpr double likenessShare = 0.85;
constexpr double commonShare = 0.85;
// The middle of a box, this share of it either side, holds its glyph.
constexpr double glyphShare = 0.3;
// Too few found boxes, or too little print in common, tell nothing.
constexpr int minCommonBoxes = 3;

// What found boxes of a grid hold in common round their middles: the
// pixels near ink in nearly all of them, as offsets from a box's centre.
using CommonPrint = std::vector<cv::Point>;

// Found boxes of a grid added up: how many of them hold ink near each
// pixel round their centres.
struct FoundBoxes
{
    cv::Mat inkCounts; // CV_32S
    int used = 0;
};

class Evidence
{
public:
    Evidence(const std::vector<PrintedShape>& shapes, const cv::Mat& strokes, const PrintLattice& lattice)
        : m_shapes(shapes), m_lattice(lattice)
    {
        for (const PrintedShape& s : shapes)
            m_centres.push_back(s.centre());
        m_buckets = std::make_unique<PointBuckets>(m_centres, std::max(lattice.box.width, lattice.box.height));
        const auto reach = [](double scatter, double box) {
            return std::min(maxOnLatticeShare * box, std::max(onLatticeShare * box, onLatticeSpread * scatter));
        };
        m_reach = cv::Point2d(reach(lattice.scatter.x, lattice.box.width), reach(lattice.scatter.y, lattice.box.height));
        m_box = cv::Size(static_cast<int>(std::lround(lattice.box.width)),
                         static_cast<int>(std::lround(lattice.box.height)));
        m_half = cv::Size(m_box.width / 2 + 2, m_box.height / 2 + 2);
        cv::dilate(strokes, m_nearInk, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    }

    cv::Mat noCounts() const { return cv::Mat::zeros(2 * m_half.height + 1, 2 * m_half.width + 1, CV_32S); }

    // The nearest shape of the box's size on the lattice's place `at`: its
    // index, or -1. With `kind`, only a shape of that kind or a fill.
    int shapeAt(const cv::Point2d& at, std::optional<ShapeKind> kind = std::nullopt) const
    {
        const cv::Size2d& box = m_lattice.box;
        int nearest = -1;
        double nearestDistance = 0.0;
        m_buckets->near(at, std::max(box.width, box.height), [&](size_t i) {
            const PrintedShape& s = m_shapes[i];
            const cv::Point2d d = m_centres[i] - at;
            const double larger = s.kind == ShapeKind::Filled ? fillSpillFactor : sameSizeFactor;
            const bool sized = s.box.width * sameSizeFactor >= box.width && s.box.height * sameSizeFactor >= box.height
                && s.box.width <= box.width * larger && s.box.height <= box.height * larger;
            if (std::abs(d.x) > m_reach.x || std::abs(d.y) > m_reach.y || !sized
                || (kind && s.kind != *kind && s.kind != ShapeKind::Filled))
                return;
            if (nearest < 0 || cv::norm(d) < nearestDistance) {
                nearest = static_cast<int>(i);
                nearestDistance = cv::norm(d);
            }
        });
        return nearest;
    }

    const PrintedShape& shape(int i) const { return m_shapes[static_cast<size_t>(i)]; }

    // Adds the found box `shape` to `found`: where near ink lies round its
    // centre. Fills, which hide the print, and boxes cut by the crop add
    // nothing.
    void add(const PrintedShape& shape, FoundBoxes& found) const
    {
        if (shape.kind == ShapeKind::Filled)
            return;
        const cv::Point2d c = shape.centre();
        const cv::Rect patch(static_cast<int>(std::lround(c.x)) - m_half.width,
                             static_cast<int>(std::lround(c.y)) - m_half.height, found.inkCounts.cols,
                             found.inkCounts.rows);
        if ((patch & cv::Rect(0, 0, m_nearInk.cols, m_nearInk.rows)) != patch)
            return;
        cv::Mat ones;
        m_nearInk(patch).convertTo(ones, CV_32S, 1.0 / 255.0);
        found.inkCounts += ones;
        ++found.used;
    }

    CommonPrint common(const FoundBoxes& found) const
    {
        CommonPrint print;
        if (found.used < minCommonBoxes)
            return print;
        for (int y = 0; y < found.inkCounts.rows; ++y) {
            for (int x = 0; x < found.inkCounts.cols; ++x) {
                const cv::Point at(x - m_half.width, y - m_half.height);
                const bool glyph = std::abs(at.x) < glyphShare * m_box.width && std::abs(at.y) < glyphShare * m_box.height;
                if (!glyph && found.inkCounts.at<int>(y, x) >= commonShare * found.used)
                    print.push_back(at);
            }
        }
        // Less print in common than half a box's sides is too little to
        // tell a box by.
        if (static_cast<int>(print.size()) < (m_box.width + m_box.height) / 2)
            print.clear();
        return print;
    }

    bool onPrint(const cv::Point2d& at, const CommonPrint& print, std::optional<ShapeKind> kind) const
    {
        return shapeAt(at, kind) >= 0 || likeness(at, print) >= likenessShare;
    }

private:
    // The share of what the boxes hold in common that the strokes show at
    // `centre`, or beside it within the reach of a box on the lattice: the
    // best over the places looked at.
    double likeness(const cv::Point2d& centre, const CommonPrint& print) const
    {
        if (print.empty())
            return 0.0;
        const int reachX = static_cast<int>(m_reach.x);
        const int reachY = static_cast<int>(m_reach.y);
        const int step = std::max(1, std::min(reachX, reachY) / 3);
        int best = 0;
        for (int dy = -reachY; dy <= reachY; dy += step) {
            for (int dx = -reachX; dx <= reachX; dx += step) {
                const cv::Point at(static_cast<int>(std::lround(centre.x)) + dx,
                                   static_cast<int>(std::lround(centre.y)) + dy);
                int found = 0;
                for (const cv::Point& p : print) {
                    const cv::Point q = at + p;
                    if (q.x >= 0 && q.y >= 0 && q.x < m_nearInk.cols && q.y < m_nearInk.rows && m_nearInk.at<uchar>(q))
                        ++found;
                }
                best = std::max(best, found);
            }
        }
        return static_cast<double>(best) / static_cast<double>(print.size());
    }

    const std::vector<PrintedShape>& m_shapes;
    const PrintLattice& m_lattice;
    std::vector<cv::Point2d> m_centres;
    std::unique_ptr<PointBuckets> m_buckets;
    cv::Point2d m_reach;
    cv::Size m_box;
    cv::Size m_half; // the half size of the patch round a box's centre
    cv::Mat m_nearInk;
};

LineOnPrint judgeLine(const std::vector<bool>& on)
{
    LineOnPrint line;
    line.length = static_cast<int>(on.size());
    line.on = static_cast<int>(std::count(on.begin(), on.end(), true));
    const size_t last = on.size() - 1;
    line.ends = on.size() < 3 || ((on[0] || on[1]) && (on[last] || on[last - 1]));
    return line;
}

} // namespace

GridOnPrint boxesOnPrint(const std::vector<PrintedShape>& shapes, const cv::Mat& strokes, const PrintLattice& lattice,
                         int rows, int cols)
{
    const Evidence evidence(shapes, strokes, lattice);
    const auto fresh = [&] {
        FoundBoxes found;
        found.inkCounts = evidence.noCounts();
        return found;
    };
    FoundBoxes all = fresh();
    std::vector<FoundBoxes> inRow;
    std::vector<FoundBoxes> inColumn;
    for (int r = 0; r < rows; ++r)
        inRow.push_back(fresh());
    for (int c = 0; c < cols; ++c)
        inColumn.push_back(fresh());
    std::map<ShapeKind, int> kinds;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const int i = evidence.shapeAt(lattice.at(c, r));
            if (i < 0)
                continue;
            ++kinds[evidence.shape(i).kind];
            for (FoundBoxes* found : {&all, &inRow[static_cast<size_t>(r)], &inColumn[static_cast<size_t>(c)]})
                evidence.add(evidence.shape(i), *found);
        }
    }
    // A line of the grid against what the others hold.
    const auto others = [&](const FoundBoxes& line) {
        FoundBoxes rest;
        rest.inkCounts = all.inkCounts - line.inkCounts;
        rest.used = all.used - line.used;
        return evidence.common(rest);
    };
    // A line beyond the grid is one more of its lines where it holds the
    // grid's own kind of box: the ruled write-in cells above a grid of
    // bubbles, split by the handwriting in them, are not a row of boxes.
    std::optional<ShapeKind> printedKind;
    kinds.erase(ShapeKind::Filled);
    if (!kinds.empty())
        printedKind = std::max_element(kinds.begin(), kinds.end(), [](const auto& a, const auto& b) {
                          return a.second < b.second;
                      })->first;
    const auto line = [&](int column, int row, int dc, int dr, int length, const CommonPrint& print,
                          std::optional<ShapeKind> kind) {
        std::vector<bool> on(static_cast<size_t>(length));
        for (int i = 0; i < length; ++i)
            on[static_cast<size_t>(i)] = evidence.onPrint(lattice.at(column + i * dc, row + i * dr), print, kind);
        return judgeLine(on);
    };
    GridOnPrint grid;
    for (int r = 0; r < rows; ++r)
        grid.rows.push_back(line(0, r, 1, 0, cols, others(inRow[static_cast<size_t>(r)]), std::nullopt));
    for (int c = 0; c < cols; ++c)
        grid.columns.push_back(line(c, 0, 0, 1, rows, others(inColumn[static_cast<size_t>(c)]), std::nullopt));
    const CommonPrint print = evidence.common(all);
    grid.beyond = {line(-1, 0, 0, 1, rows, print, printedKind), line(cols, 0, 0, 1, rows, print, printedKind),
                   line(0, -1, 1, 0, cols, print, printedKind), line(0, rows, 1, 0, cols, print, printedKind)};
    return grid;
}
