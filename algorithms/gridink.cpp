#include "algorithms/gridink.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// A box on the print may be up to this much larger than the frame's cell:
// the frame is drawn by hand, a little inside the outer boxes at worst.
constexpr double maxCellShare = 1.3;
// Strokes and letters are at least this many pixels each way.
constexpr int minMarkSize = 3;
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
    return box.width >= minMarkSize && box.height >= minMarkSize && box.width <= maxCellShare * cell.width
        && box.height <= maxCellShare * cell.height;
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

// Which way a bracket opens: -1 for "[" (its ink on the left), 1 for "]",
// 0 for anything not tall and narrow.
int bracketSide(const std::vector<cv::Point>& contour, const cv::Rect& box)
{
    if (box.width * 2 > box.height)
        return 0;
    const cv::Moments m = cv::moments(contour);
    if (m.m00 <= 0.0)
        return 0;
    const double offset = m.m10 / m.m00 - (box.x + box.width / 2.0);
    if (std::abs(offset) < box.width / 8.0)
        return 0;
    return offset < 0 ? -1 : 1;
}

// Each "[" joined with the nearest "]" of its height to its right: the
// box they print, however wide the letter between them.
void addBracketPairs(const std::vector<std::pair<cv::Rect, int>>& brackets, const cv::Size& cell,
                     std::vector<cv::Rect>& boxes)
{
    for (const auto& [left, side] : brackets) {
        if (side >= 0)
            continue;
        const cv::Rect* nearest = nullptr;
        for (const auto& [right, otherSide] : brackets) {
            if (otherSide <= 0 || right.x <= left.x || !similarHeight(right.height, left.height))
                continue;
            const int overlap = std::min(left.y + left.height, right.y + right.height) - std::max(left.y, right.y);
            if (overlap < 0.7 * std::min(left.height, right.height))
                continue;
            if (!nearest || right.x < nearest->x)
                nearest = &right;
        }
        if (nearest && fitsCell(left | *nearest, cell))
            boxes.push_back(left | *nearest);
    }
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

    // Joins dotted outlines and rims the scanner broke by a pixel.
    cv::morphologyEx(ink, ink, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    return ink;
}

std::vector<cv::Rect> printedBoxes(const cv::Mat& ink, const cv::Size& cell)
{
    std::vector<std::vector<cv::Point>> contours;
    std::vector<cv::Vec4i> hierarchy;
    cv::findContours(ink.clone(), contours, hierarchy, cv::RETR_CCOMP, cv::CHAIN_APPROX_SIMPLE);

    std::vector<cv::Rect> boxes;
    std::vector<cv::Rect> pieces;
    std::vector<std::pair<cv::Rect, int>> brackets;
    for (size_t i = 0; i < contours.size(); ++i) {
        const cv::Rect box = cv::boundingRect(contours[i]);
        if (!fitsCell(box, cell))
            continue;
        boxes.push_back(box);
        // A hole's parent is set; only ink components are pieces of a mark.
        if (hierarchy[i][3] >= 0)
            continue;
        pieces.push_back(box);
        if (const int side = bracketSide(contours[i], box))
            brackets.emplace_back(box, side);
    }
    addPieceRuns(std::move(pieces), cell, boxes);
    addBracketPairs(brackets, cell, boxes);
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
