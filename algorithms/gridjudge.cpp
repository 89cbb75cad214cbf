#include "algorithms/gridjudge.h"

#include "algorithms/conversions.h"
#include "algorithms/gridhelpers.h"
#include "algorithms/gridlattice.h"
#include "algorithms/gridshapes.h"
#include "algorithms/imagebasics.h"
#include "algorithms/optiongridfit.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// A laid-out box sits on a printed shape whose centre lies within this
// share of the box of its own, and whose size is at most the first factor
// smaller (a question number beside bracketed letters is smaller by more)
// or the second larger (pencil spilling over it, a stray stroke run into
// a bracket).
constexpr double onPrintShare = 1.0 / 3.0;
constexpr double onPrintSmaller = 1.2;
constexpr double onPrintLarger = 1.5;
// The shapes of a row or column are at least this share of the grid's size.
constexpr double lineSizeShare = 0.9;
// A box without a shape of its own is on the print when this share of the
// print the grid's boxes hold in common (what nearly all of them hold)
// lies there, and a line's boxes show at least the second share of it on
// the whole; question numbers in their place three quarters.
constexpr double templateShare = 0.7;
constexpr double lineLikeness = 0.85;
constexpr double templateFrequency = 0.85;
// The middle of a box, this share of it either side, holds its glyph.
constexpr double glyphShare = 0.3;
// The resolution of the standard grid, and how close a page's must be to
// be taken as it.
constexpr float standardDpi = 200.0f;
constexpr float sameResolution = 0.03f;
// How far beyond the frame shapes are looked at, so that a box the frame
// cuts is whole: at least this many pixels and millimetres.
constexpr int minSearchMargin = 16;
constexpr double searchMarginMm = 2.0;
// The most pixels a frame is measured on.
constexpr double maxMeasuredPixels = 1.5e6;

bool inRange(double value, double low, double high)
{
    return value >= low && value <= high;
}

// Printed sheets use one standard grid: measurement noise of a pixel or
// two must not move a box off it. The snapped sizes and pitches keep the
// grid's middle where it was measured.
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

// The print of a box as the grid's own boxes show it: the pixels that
// are ink in nearly all of them, as offsets from the box's centre, round
// its middle, where each box holds its own letter or digit. Empty when too
// few boxes were found to tell.
std::vector<cv::Point> boxTemplate(const cv::Mat& ink, const std::vector<cv::Point2d>& centres, const cv::Size& box)
{
    constexpr size_t minBoxes = 3;
    if (centres.size() < minBoxes)
        return {};
    const int halfWidth = box.width / 2 + 2;
    const int halfHeight = box.height / 2 + 2;
    cv::Mat sum = cv::Mat::zeros(2 * halfHeight + 1, 2 * halfWidth + 1, CV_32S);
    int used = 0;
    for (const cv::Point2d& c : centres) {
        const cv::Rect patch(static_cast<int>(std::lround(c.x)) - halfWidth, static_cast<int>(std::lround(c.y)) - halfHeight,
                             sum.cols, sum.rows);
        if ((patch & cv::Rect(0, 0, ink.cols, ink.rows)) != patch)
            continue;
        cv::Mat ones;
        ink(patch).convertTo(ones, CV_32S, 1.0 / 255.0);
        sum += ones;
        ++used;
    }
    std::vector<cv::Point> print;
    for (int y = 0; y < sum.rows; ++y) {
        for (int x = 0; x < sum.cols; ++x) {
            const cv::Point at(x - halfWidth, y - halfHeight);
            const bool glyph = std::abs(at.x) < glyphShare * box.width && std::abs(at.y) < glyphShare * box.height;
            if (!glyph && used >= static_cast<int>(minBoxes) && sum.at<int>(y, x) >= templateFrequency * used)
                print.push_back(at);
        }
    }
    return print;
}

// How much of the box's print lies at `centre`, or a little beside it:
// the largest share of its pixels found, each within a pixel.
double likeness(const cv::Mat& nearInk, const std::vector<cv::Point>& print, const cv::Point2d& centre,
                const cv::Size& box)
{
    if (print.empty())
        return 0.0;
    const int reachX = box.width / 4;
    const int reachY = box.height / 4;
    const int step = std::max(1, std::min(reachX, reachY) / 4);
    int best = 0;
    for (int dy = -reachY; dy <= reachY && best < static_cast<int>(print.size()); dy += step) {
        for (int dx = -reachX; dx <= reachX; dx += step) {
            const cv::Point at(static_cast<int>(std::lround(centre.x)) + dx, static_cast<int>(std::lround(centre.y)) + dy);
            int found = 0;
            for (const cv::Point& p : print) {
                const cv::Point q = at + p;
                if (q.x >= 0 && q.y >= 0 && q.x < nearInk.cols && q.y < nearInk.rows && nearInk.at<uchar>(q))
                    ++found;
            }
            best = std::max(best, found);
        }
    }
    return static_cast<double>(best) / static_cast<double>(print.size());
}

// gridOffPrint unless every row and every column of the laid-out grid
// lies on the print: at least half its boxes on a printed shape or where
// the print holds what the grid's found boxes hold in common (bubbles run
// together, a digit run into its rim), and the line as a whole holding
// that print. A line of question numbers beside the boxes is no line of
// the grid: its shapes are smaller than the boxes, or unlike them.
int judgeAgainstPrint(const std::vector<PrintedShape>& shapes, const cv::Mat& ink, const OptionGridParams& grid,
                      int rows, int cols)
{
    std::vector<cv::Point2d> centres;
    for (const PrintedShape& s : shapes)
        centres.push_back(s.centre());
    const PointBuckets buckets(centres, std::max(grid.boxWidth, grid.boxHeight));
    const auto boxCentre = [&](int r, int c) {
        return cv::Point2d(grid.x + c * grid.columnPitch + grid.boxWidth / 2.0,
                           grid.y + r * grid.rowPitch + grid.boxHeight / 2.0);
    };
    struct Line
    {
        int off = 0;
        double likeness = 0.0;
        std::vector<double> widths;
        std::vector<double> heights;
    };
    std::vector<Line> rowLines(static_cast<size_t>(rows));
    std::vector<Line> columnLines(static_cast<size_t>(cols));
    std::vector<bool> onShape(static_cast<size_t>(rows) * static_cast<size_t>(cols), false);
    std::vector<cv::Point2d> matched;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const cv::Point2d centre = boxCentre(r, c);
            const PrintedShape* nearest = nullptr;
            double nearestDistance = 0.0;
            buckets.near(centre, std::max(grid.boxWidth, grid.boxHeight), [&](size_t i) {
                const cv::Rect2d& box = shapes[i].box;
                const cv::Point2d d = centres[i] - centre;
                if (std::abs(d.x) > onPrintShare * grid.boxWidth || std::abs(d.y) > onPrintShare * grid.boxHeight
                    || box.width > onPrintLarger * grid.boxWidth || box.width * onPrintSmaller < grid.boxWidth
                    || box.height > onPrintLarger * grid.boxHeight || box.height * onPrintSmaller < grid.boxHeight)
                    return;
                if (!nearest || cv::norm(d) < nearestDistance) {
                    nearest = &shapes[i];
                    nearestDistance = cv::norm(d);
                }
            });
            if (!nearest)
                continue;
            onShape[static_cast<size_t>(r * cols + c)] = true;
            matched.push_back(nearest->centre());
            for (Line* line : {&rowLines[static_cast<size_t>(r)], &columnLines[static_cast<size_t>(c)]}) {
                line->widths.push_back(nearest->box.width);
                line->heights.push_back(nearest->box.height);
            }
        }
    }
    const cv::Size box(static_cast<int>(std::lround(grid.boxWidth)), static_cast<int>(std::lround(grid.boxHeight)));
    const std::vector<cv::Point> print = boxTemplate(ink, matched, box);
    cv::Mat nearInk;
    if (!print.empty())
        cv::dilate(ink, nearInk, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const double like = print.empty() ? 0.0 : likeness(nearInk, print, boxCentre(r, c), box);
            const bool off = !onShape[static_cast<size_t>(r * cols + c)] && like < templateShare;
            for (Line* line : {&rowLines[static_cast<size_t>(r)], &columnLines[static_cast<size_t>(c)]}) {
                line->off += off ? 1 : 0;
                line->likeness += like;
            }
        }
    }
    const auto holds = [&](const Line& line, int length) {
        if (2 * line.off > length || (!print.empty() && line.likeness < lineLikeness * length))
            return false;
        if (line.widths.empty())
            return true;
        const double width = median(line.widths) / grid.boxWidth;
        const double height = median(line.heights) / grid.boxHeight;
        return std::min(width, height) >= lineSizeShare;
    };
    if (!std::all_of(rowLines.begin(), rowLines.end(), [&](const Line& l) { return holds(l, cols); })
        || !std::all_of(columnLines.begin(), columnLines.end(), [&](const Line& l) { return holds(l, rows); }))
        return gridOffPrint;
    return 0;
}

} // namespace

const char* gridRefusalReason(int code)
{
    switch (code) {
    case -1: return "the image library failed (see the record before)";
    case 1: return "the frame is blank";
    case unmeasurableGrid: return "no grid of the rows and columns asked lies on printed boxes";
    case gridCountDiffers: return "the frame holds more rows or columns of boxes than asked";
    case gridOffPrint: return "a row or column of the grid lies mostly off the print";
    default: return "unknown";
    }
}

int measureGridOnPrint(const cv::Mat& grey, const cv::Rect& frame, int rows, int cols, float dpi,
                       OptionGridParams& grid)
{
    if (grey.empty() || frame.empty() || rows < 1 || cols < 1)
        return unmeasurableGrid;
    const ShapeScale scale{cv::Size(std::max(frame.width / cols, 1), std::max(frame.height / rows, 1)), dpi};
    cv::Mat ink;
    const std::vector<PrintedShape> shapes = findPrintedShapes(grey, scale, &ink);
    // A box filled in solid shows no stroke: its fill is its print.
    for (const PrintedShape& s : shapes) {
        if (s.kind == ShapeKind::Filled)
            cv::rectangle(ink, cv::Rect(s.box), cv::Scalar(255), cv::FILLED);
    }
    OptionGridParams fitted;
    switch (fitLattice(shapes, rows, cols, frame, fitted)) {
    case LatticeFit::NoLattice: return unmeasurableGrid;
    case LatticeFit::MoreThanAsked: return gridCountDiffers;
    case LatticeFit::Turned: return gridOffPrint;
    case LatticeFit::Fitted: break;
    }
    snapToStandard(fitted, rows, cols, dpi);
    const int verdict = judgeAgainstPrint(shapes, ink, fitted, rows, cols);
    if (verdict != 0)
        return verdict;
    grid = fitted;
    return 0;
}

cv::Mat greyAroundFrame(const QPixmap& page, const QRect& framed, double maxPixels, cv::Rect& inner, double& factor)
{
    const float dpi = pageDpi(page.size());
    const int margin = std::max(minSearchMargin, static_cast<int>(std::lround(searchMarginMm * dpi / 25.4)));
    const QRect reach = framed.adjusted(-margin, -margin, margin, margin);
    const QRect around = reach.intersected(QRect(QPoint(0, 0), page.size()));
    // Read in place and made smaller before anything else is done with it:
    // a whole page is a great many pixels to copy.
    const QImage image = page.toImage();
    const cv::Mat colour = viewOfImage(image);
    if (colour.empty())
        CV_Error(cv::Error::StsBadArg, "the framed region could not be converted");
    cv::Mat region = colour(cv::Rect(around.x(), around.y(), around.width(), around.height()));
    // Made smaller by a whole number, each pixel the mean of a square of
    // them: the fastest way, and the fairest to thin strokes.
    factor = 1.0;
    const double pixels = static_cast<double>(reach.width()) * reach.height();
    if (pixels > maxPixels) {
        const int shrink = static_cast<int>(std::ceil(std::sqrt(pixels / maxPixels)));
        factor = 1.0 / shrink;
        const cv::Size smallSize(region.cols / shrink, region.rows / shrink);
        cv::Mat smaller;
        cv::resize(region(cv::Rect(0, 0, smallSize.width * shrink, smallSize.height * shrink)), smaller, smallSize, 0, 0,
                   cv::INTER_AREA);
        region = smaller;
    }
    cv::Mat grey = greyOfColour(region);
    if (grey.data == region.data)
        grey = grey.clone();
    // Beyond the page's edge lies paper: a box printed up to it is a
    // whole box, not one the frame's surroundings cut.
    const auto scaled = [&](int length) { return static_cast<int>(std::lround(length * factor)); };
    cv::copyMakeBorder(grey, grey, scaled(around.top() - reach.top()), scaled(reach.bottom() - around.bottom()),
                       scaled(around.left() - reach.left()), scaled(reach.right() - around.right()),
                       cv::BORDER_CONSTANT, cv::Scalar(greyPercentile(grey, 0.9)));
    inner = cv::Rect(cv::Point(scaled(framed.x() - reach.x()), scaled(framed.y() - reach.y())),
                     cv::Point(scaled(framed.right() + 1 - reach.x()), scaled(framed.bottom() + 1 - reach.y())))
        & cv::Rect(0, 0, grey.cols, grey.rows);
    return grey;
}

int measureFramedGrid(const QPixmap& page, const QRectF& frame, int rows, int cols, OptionGridParams& grid)
{
    const QRect framed = clipToImage(frame, page.size());
    if (framed.isEmpty())
        CV_Error(cv::Error::StsOutOfRange, "the framed region lies outside the page");
    cv::Rect inner;
    double factor = 1.0;
    // A frame over far more than a block (a whole page) is measured
    // smaller, in about the time a block takes; boxes stay some tens of
    // pixels wide.
    const cv::Mat grey = greyAroundFrame(page, framed, maxMeasuredPixels, inner, factor);
    if (inner.empty() || isBlankRegion(grey(inner)))
        return 1;
    OptionGridParams measured;
    const int result = measureGridOnPrint(grey, inner, rows, cols, static_cast<float>(pageDpi(page.size()) * factor),
                                          measured);
    if (result != 0)
        return result;
    measured.x -= inner.x;
    measured.y -= inner.y;
    grid = scaleOptionGrid(measured, static_cast<float>(factor));
    return 0;
}
