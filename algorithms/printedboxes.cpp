#include "algorithms/printedboxes.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// A box on the print may be up to this much larger than the frame's cell:
// the frame is drawn by hand, a little inside the outer boxes at worst.
constexpr double maxCellShare = 1.3;
// Strokes and letters are at least this many pixels each way, and a box
// at least this part of a cell: the dots of a dotted line are no boxes.
constexpr int minMarkSize = 3;
constexpr int minCellDivisor = 8;
// Pieces of one bracketed letter lie closer than this share of their
// height; neighbouring boxes lie further apart.
constexpr double maxPieceGap = 0.25;

bool fitsCell(const cv::Rect& box, const cv::Size& cell)
{
    return box.width >= std::max(minMarkSize, cell.width / minCellDivisor)
        && box.height >= std::max(minMarkSize, cell.height / minCellDivisor)
        && box.width <= maxCellShare * cell.width && box.height <= maxCellShare * cell.height;
}

bool similarHeight(int a, int b)
{
    return a * 5 >= b * 3 && b * 5 >= a * 3;
}

// Components side by side on one line with narrow gaps, joined: "[", "A"
// and "]" become the one box they print.
void addPieceRuns(std::vector<cv::Rect> pieces, const cv::Size& cell, std::vector<cv::Rect>& boxes)
{
    std::sort(pieces.begin(), pieces.end(), [](const cv::Rect& a, const cv::Rect& b) { return a.x < b.x; });
    std::vector<bool> used(pieces.size(), false);
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (used[i])
            continue;
        cv::Rect run = pieces[i];
        int joined = 1;
        for (size_t j = i + 1; j < pieces.size(); ++j) {
            const cv::Rect& next = pieces[j];
            const int gap = next.x - (run.x + run.width);
            if (gap > maxPieceGap * cell.height)
                break;
            if (used[j] || !similarHeight(next.height, pieces[i].height))
                continue;
            const int overlap = std::min(run.y + run.height, next.y + next.height) - std::max(run.y, next.y);
            if (overlap < 0.6 * std::min(run.height, next.height)
                || gap > maxPieceGap * std::max(run.height, next.height))
                continue;
            const cv::Rect wider = run | next;
            if (!fitsCell(wider, cell))
                break;
            run = wider;
            used[j] = true;
            ++joined;
        }
        if (joined > 1)
            boxes.push_back(run);
    }
}

// What a tall narrow mark is: "[" (its ink on the left), "]", or a plain
// stroke, which a bracket of a few pixels is at low resolution.
enum class Bracket { None, Opening, Closing, Stroke };

Bracket bracketKind(const std::vector<cv::Point>& contour, const cv::Rect& box)
{
    if (box.width * 2 > box.height)
        return Bracket::None;
    const cv::Moments m = cv::moments(contour);
    if (m.m00 <= 0.0)
        return Bracket::Stroke;
    const double offset = m.m10 / m.m00 - (box.x + box.width / 2.0);
    if (std::abs(offset) < box.width / 8.0)
        return Bracket::Stroke;
    return offset < 0 ? Bracket::Opening : Bracket::Closing;
}

// Brackets are as tall as each other; a digit "1" between them is not.
bool bracketHeights(int a, int b)
{
    return std::abs(a - b) * 7 <= std::max(a, b);
}

// Each opening bracket joined with the nearest closing one of its height
// to its right, from left to right: the box they print, however wide the
// letter between them. The brackets themselves are no boxes then: taken
// out, they cannot outnumber the pairs.
void addBracketPairs(std::vector<std::pair<cv::Rect, Bracket>> brackets, const cv::Size& cell,
                     std::vector<cv::Rect>& boxes)
{
    std::sort(brackets.begin(), brackets.end(), [](const auto& a, const auto& b) { return a.first.x < b.first.x; });
    std::vector<bool> used(brackets.size(), false);
    std::vector<cv::Rect> paired;
    for (size_t i = 0; i < brackets.size(); ++i) {
        const auto& [left, kind] = brackets[i];
        if (used[i] || kind == Bracket::Closing)
            continue;
        size_t partner = brackets.size();
        for (size_t j = i + 1; j < brackets.size(); ++j) {
            const auto& [right, otherKind] = brackets[j];
            if (right.x > left.x + maxCellShare * cell.width)
                break;
            if (used[j] || otherKind == Bracket::Opening || !bracketHeights(right.height, left.height))
                continue;
            const int overlap = std::min(left.y + left.height, right.y + right.height) - std::max(left.y, right.y);
            if (overlap >= 0.7 * std::min(left.height, right.height)) {
                partner = j;
                break;
            }
        }
        if (partner == brackets.size() || !fitsCell(left | brackets[partner].first, cell))
            continue;
        used[i] = used[partner] = true;
        boxes.push_back(left | brackets[partner].first);
        paired.push_back(left);
        paired.push_back(brackets[partner].first);
    }
    boxes.erase(std::remove_if(boxes.begin(), boxes.end(),
                               [&](const cv::Rect& box) {
                                   return std::find(paired.begin(), paired.end(), box) != paired.end();
                               }),
                boxes.end());
}

// What is printed or written inside a box (its letter, the digit in a
// bubble, handwriting in a write-in box) is no box of its own.
void dropMarksInsideBoxes(std::vector<cv::Rect>& boxes, const cv::Size& cell)
{
    // Sorted by left edge, the larger first where two share one, a box's
    // container comes before it and starts at most a box's width earlier.
    std::sort(boxes.begin(), boxes.end(), [](const cv::Rect& a, const cv::Rect& b) {
        return a.x != b.x ? a.x < b.x : a.area() > b.area();
    });
    const double reach = maxCellShare * cell.width;
    std::vector<bool> inside(boxes.size(), false);
    for (size_t i = 0; i < boxes.size(); ++i) {
        for (size_t j = i + 1; j-- > 0 && boxes[i].x - boxes[j].x <= reach;) {
            const cv::Rect& outer = boxes[j];
            if (outer.area() >= 2 * boxes[i].area() && (outer & boxes[i]) == boxes[i]) {
                inside[i] = true;
                break;
            }
        }
    }
    size_t kept = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (!inside[i])
            boxes[kept++] = boxes[i];
    }
    boxes.resize(kept);
}

} // namespace

std::vector<cv::Rect> printedBoxes(const cv::Mat& ink, const cv::Size& cell)
{
    std::vector<std::vector<cv::Point>> contours;
    std::vector<cv::Vec4i> hierarchy;
    cv::findContours(ink.clone(), contours, hierarchy, cv::RETR_CCOMP, cv::CHAIN_APPROX_SIMPLE);

    std::vector<cv::Rect> boxes;
    std::vector<cv::Rect> pieces;
    std::vector<std::pair<cv::Rect, Bracket>> brackets;
    for (size_t i = 0; i < contours.size(); ++i) {
        const cv::Rect box = cv::boundingRect(contours[i]);
        if (fitsCell(box, cell))
            boxes.push_back(box);
        // A hole's parent is set; only ink components are pieces of a mark,
        // and a bracket may be narrower than any box.
        if (hierarchy[i][3] >= 0 || box.width < minMarkSize || box.height < minMarkSize
            || box.width > maxCellShare * cell.width || box.height > maxCellShare * cell.height)
            continue;
        pieces.push_back(box);
        const Bracket kind = bracketKind(contours[i], box);
        if (kind != Bracket::None)
            brackets.emplace_back(box, kind);
    }
    addBracketPairs(std::move(brackets), cell, boxes);
    dropMarksInsideBoxes(boxes, cell);
    // Runs come last: two bubbles close together make a run that holds
    // both, and must not take them away.
    addPieceRuns(std::move(pieces), cell, boxes);
    return boxes;
}
