#include "algorithms/gridbrackets.h"

#include "algorithms/gridhelpers.h"

#include <algorithm>
#include <cmath>

namespace {

// Brackets of one pair are as tall as each other, to a fifth (the end dot
// of a dotted bracket joins its stroke on one side only), and hold
// a glyph or two with some room: a pair is at most this much wider than
// high, one run together at most the second.
constexpr int bracketHeightTolerance = 5;
constexpr double maxPairAspect = 2.1;
constexpr double maxRunAspect = 1.6;
// Pieces of one bracketed glyph lie closer than this share of their
// height; neighbouring boxes lie further apart.
constexpr double maxPieceGap = 0.25;

bool bracketHeights(int a, int b)
{
    return std::abs(a - b) * bracketHeightTolerance <= std::max(a, b);
}

} // namespace

// At low resolution a bracket is a plain stroke, either one, and so is a
// narrow digit: brackets that lean their way pair first, with a bracket
// standing alone before one run into its glyph ("[6" or "6" of "[6]").
void addBracketPairs(std::vector<Bracket> brackets, const BoxBounds& sizes, std::vector<PrintedShape>& shapes)
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

void addPieceRuns(std::vector<cv::Rect> pieces, const BoxBounds& sizes, std::vector<PrintedShape>& shapes)
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
