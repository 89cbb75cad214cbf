#include "algorithms/gridstrokes.h"

#include "algorithms/gridhelpers.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// Marks smaller than this many millimetres each way are specks or dots.
constexpr double smallestMarkMm = 0.35;
// The paper's level is read on a copy this many times smaller than a cell.
constexpr int paperShrinkDivisor = 8;
// The widest stroke of a box's print, in millimetres.
constexpr double maxStrokeMm = 2.0;
// Strokes stand this many noise widths off the paper, and at least this
// many grey levels: light print some twenty, blurred at 100 dpi ten,
// clean scanner noise a few.
constexpr double noiseWidths = 4.0;
constexpr double minStrokeLevel = 8.0;
// The shadow that compression and blur leave of dark print, and the
// screen dots of shading, stay under this share of the darkest print
// within this many pixels (a compression block).
constexpr double shadowShare = 0.3;
constexpr int shadowReach = 5;
// The darkest print is what the darkest percent of the pixels reach.
constexpr double strongestShare = 0.01;
// A break in a stroke is at least this share of the stroke level dark.
constexpr double breakShare = 0.5;
// A filled box is at least this much darker than the paper around it; a
// light-grey one some thirty levels.
constexpr double minFillLevel = 18.0;
// Dots whose steps agree to this cosine (about 18 degrees) lie on one line.
constexpr double straightDots = 0.95;
// Far more dots than a page of boxes holds: a frame of noise.
constexpr size_t maxDots = 40000;

int oddAtLeast(int value, int least)
{
    return std::max(value, least) | 1;
}

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
    if (static_cast<size_t>(count) > maxDots)
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
    const int shrink = std::max(1, std::min(cell.width, cell.height) / paperShrinkDivisor);
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

} // namespace

int smallestMark(double dpi)
{
    return std::max(2, static_cast<int>(std::lround(smallestMarkMm * dpi / 25.4)));
}

cv::Mat strokeInk(const cv::Mat& grey, const cv::Size& cell, double dpi)
{
    const int minMark = smallestMark(dpi);
    // A closing wider than a stroke takes the stroke away; what it took is
    // the stroke, on paper or on shading alike, whatever lies beside it.
    const int widest = static_cast<int>(std::lround(maxStrokeMm * dpi / 25.4));
    const int kernel = oddAtLeast(std::min(std::min(cell.width, cell.height) / 4, widest), 3);
    cv::Mat darkness;
    cv::morphologyEx(grey, darkness, cv::MORPH_BLACKHAT,
                     cv::getStructuringElement(cv::MORPH_RECT, cv::Size(kernel, kernel)));
    darkness.convertTo(darkness, CV_16S);
    const PaperNoise noise = paperNoise(darkness);
    const double level = std::max(minStrokeLevel, noise.middle + noiseWidths * noise.width);
    // Compression and blur leave a shadow of dark print beside it, and
    // shading its screen dots: a stroke stands a share of the darkest print
    // near it above the paper. Light print away from dark print (faint
    // circles beside black question numbers) keeps the paper's own level.
    cv::Mat nearDarkest;
    cv::dilate(darkness, nearDarkest,
               cv::getStructuringElement(cv::MORPH_RECT, cv::Size(2 * shadowReach + 1, 2 * shadowReach + 1)));
    cv::Mat levels;
    nearDarkest.convertTo(levels, CV_16S, shadowShare);
    levels = cv::max(levels, level);
    cv::Mat ink = darkness > levels;
    // Joins rims the scanner broke by a pixel or two, where the break is
    // still a little dark: not the paper between two bubbles.
    cv::Mat joined;
    cv::morphologyEx(ink, joined, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    ink |= joined & (darkness > levels * breakShare);
    joinDottedLines(ink, cell, minMark);
    return ink;
}

std::vector<cv::Mat> fillInk(const cv::Mat& grey, const cv::Size& cell)
{
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
    std::vector<cv::Mat> masks{darkness > fillLevel};
    if (markLevel != fillLevel)
        masks.push_back(darkness > markLevel);
    return masks;
}
