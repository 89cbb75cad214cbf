#include "algorithms/gridink.h"

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
// The share of laid-out boxes that must sit on print. Pencil that spills
// over a bubble joins it to its neighbour, so a few are lost.
constexpr double minShareOnInk = 0.85;

int oddAtLeast3(int value)
{
    value = std::max(value, 3);
    return value | 1;
}

// The grey level below which the given share of the pixels lies.
int percentile(const cv::Mat& grey, double share)
{
    int histogram[256] = {};
    for (int y = 0; y < grey.rows; ++y) {
        const uchar* row = grey.ptr<uchar>(y);
        for (int x = 0; x < grey.cols; ++x)
            ++histogram[row[x]];
    }
    const double wanted = share * static_cast<double>(grey.total());
    double seen = 0.0;
    for (int level = 0; level < 256; ++level) {
        seen += histogram[level];
        if (seen >= wanted)
            return level;
    }
    return 255;
}

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

// How far apart the dots of dotted lines lie: the median distance from
// each small mark to its nearest small neighbour. 0 when there are too
// few small marks for a dotted line.
double dotPeriod(const std::vector<cv::Point2d>& dots)
{
    constexpr size_t minDots = 8;
    if (dots.size() < minDots)
        return 0.0;
    std::vector<double> nearest;
    nearest.reserve(dots.size());
    for (size_t i = 0; i < dots.size(); ++i) {
        double best = -1.0;
        // Sorted by x: the scan stops once x alone is further than the best.
        for (size_t j = i + 1; j < dots.size() && (best < 0 || dots[j].x - dots[i].x < best); ++j) {
            const double d = std::hypot(dots[j].x - dots[i].x, dots[j].y - dots[i].y);
            best = best < 0 ? d : std::min(best, d);
        }
        for (size_t j = i; j-- > 0 && (best < 0 || dots[i].x - dots[j].x < best);) {
            const double d = std::hypot(dots[j].x - dots[i].x, dots[j].y - dots[i].y);
            best = best < 0 ? d : std::min(best, d);
        }
        if (best >= 0)
            nearest.push_back(best);
    }
    const auto middle = nearest.begin() + static_cast<std::ptrdiff_t>(nearest.size() / 2);
    std::nth_element(nearest.begin(), middle, nearest.end());
    return *middle;
}

// The dots of dotted outlines joined into lines, across the gap between
// neighbouring dots and no further, so neighbouring boxes stay apart. Only
// thin marks are stretched along rows and columns, so bubbles and letters
// keep their shape.
void joinDottedLines(cv::Mat& ink, const cv::Size& cell)
{
    const int small = std::max(minMarkSize, std::min(cell.width, cell.height) / 6);
    cv::Mat labels;
    cv::Mat stats;
    cv::Mat centroids;
    const int count = cv::connectedComponentsWithStats(ink, labels, stats, centroids, 8, CV_32S);
    std::vector<cv::Point2d> dots;
    std::vector<uchar> thin(static_cast<size_t>(count), 0);
    for (int i = 1; i < count; ++i) {
        const int width = stats.at<int>(i, cv::CC_STAT_WIDTH);
        const int height = stats.at<int>(i, cv::CC_STAT_HEIGHT);
        if (width <= small && height <= small)
            dots.emplace_back(centroids.at<double>(i, 0), centroids.at<double>(i, 1));
        // A dot, a dash, or a run of them already joined: thin either way.
        if (std::min(width, height) <= small)
            thin[static_cast<size_t>(i)] = 1;
    }
    std::sort(dots.begin(), dots.end(), [](const cv::Point2d& a, const cv::Point2d& b) { return a.x < b.x; });
    const double period = dotPeriod(dots);
    if (period <= 0.0 || period > 2.0 * small)
        return;
    cv::Mat lines(ink.size(), CV_8UC1);
    for (int y = 0; y < ink.rows; ++y) {
        const int* label = labels.ptr<int>(y);
        uchar* out = lines.ptr<uchar>(y);
        for (int x = 0; x < ink.cols; ++x)
            out[x] = thin[static_cast<size_t>(label[x])] ? 255 : 0;
    }
    const int reach = oddAtLeast3(static_cast<int>(std::ceil(period)) + 1);
    cv::Mat across;
    cv::morphologyEx(lines, across, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(reach, 1)));
    cv::morphologyEx(lines, lines, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(1, reach)));
    lines |= across;
    // Where a row of dots meets a column of them, neither line may have
    // the corner dot: closed across as well.
    cv::morphologyEx(lines, lines, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(reach, reach)));
    ink |= lines;
}

// What is printed or written inside a box (its letter, the digit in a
// bubble, handwriting in a write-in box) is no box of its own.
void dropMarksInsideBoxes(std::vector<cv::Rect>& boxes)
{
    std::vector<bool> inside(boxes.size(), false);
    for (size_t i = 0; i < boxes.size(); ++i) {
        for (const cv::Rect& outer : boxes) {
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

cv::Mat printInk(const cv::Mat& grey, const cv::Size& cell)
{
    // A closing with a kernel wider than a stroke takes the stroke away;
    // what it took is the stroke, on paper or on shading alike.
    const int kernel = oddAtLeast3(std::min(std::min(cell.width, cell.height) / 4, 15));
    cv::Mat strokes;
    cv::morphologyEx(grey, strokes, cv::MORPH_BLACKHAT,
                     cv::getStructuringElement(cv::MORPH_RECT, cv::Size(kernel, kernel)));
    // Light print stands some twenty grey levels off the paper; scanner
    // noise stays well below that, and below a third of the strongest strokes.
    const int strongest = percentile(strokes, 0.99);
    const double strokeLevel = std::max(16.0, 0.35 * strongest);
    cv::Mat ink = strokes > strokeLevel;

    // Filled boxes and pencil are dark, wide and no stroke: taken by level,
    // halfway between paper and the darkest ink.
    const int paper = percentile(grey, 0.9);
    const int darkest = percentile(grey, 0.01);
    if (paper - darkest > 80)
        ink |= grey < (paper + darkest) / 2;

    // Joins rims the scanner broke by a pixel.
    cv::morphologyEx(ink, ink, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    joinDottedLines(ink, cell);
    return ink;
}

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
    dropMarksInsideBoxes(boxes);
    // Runs come last: two bubbles close together make a run that holds
    // both, and must not take them away.
    addPieceRuns(std::move(pieces), cell, boxes);
    return boxes;
}

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
