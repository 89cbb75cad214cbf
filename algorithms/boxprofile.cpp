#include "algorithms/boxprofile.h"

#include "algorithms/gridhelpers.h"
#include "algorithms/projection.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iostream>
#include <numeric>

namespace {

constexpr float minRatio = 0.00001f;

// A stretch of content rows shorter than this share of the typical one is
// a splinter of a box row, not a box row.
constexpr int splinterDivisor = 2;

// How far from a measured side its stroke is looked for.
constexpr int sideSearch = 2;

// The ink run that starts within sideSearch pixels of `x` on `row` and
// runs in direction `step` (+1 rightwards, -1 leftwards), at most `limit`
// long; 0 when none starts there.
int strokeRun(const uchar* row, int width, int x, int step, int limit)
{
    int first = -1;
    for (int d = -sideSearch; d <= sideSearch && first < 0; ++d) {
        const int at = x + d * step;
        if (at >= 0 && at < width && row[at] == 255)
            first = at;
    }
    if (first < 0)
        return 0;
    int length = 0;
    for (int at = first; at >= 0 && at < width && row[at] == 255 && length < limit; at += step)
        ++length;
    return length;
}

struct Run {
    int start;
    int length;
};

float mean(const std::vector<int>& values)
{
    if (values.empty())
        return 0.0f;
    return static_cast<float>(std::accumulate(values.begin(), values.end(), 0)) / static_cast<float>(values.size());
}

// The runs without those far shorter than the typical run: the length
// that the runs at least as long as it fill half the content rows with,
// so that many short splinters cannot make themselves the typical run.
std::vector<Run> withoutSplinters(const std::vector<Run>& runs)
{
    if (runs.size() < 2)
        return runs;
    std::vector<int> lengths;
    int total = 0;
    for (const Run& run : runs) {
        lengths.push_back(run.length);
        total += run.length;
    }
    std::sort(lengths.begin(), lengths.end(), std::greater<int>());
    int typical = lengths.front();
    int covered = 0;
    for (int length : lengths) {
        typical = length;
        covered += length;
        if (2 * covered >= total)
            break;
    }
    std::vector<Run> kept;
    for (const Run& run : runs) {
        if (run.length * splinterDivisor >= typical)
            kept.push_back(run);
    }
    return kept;
}

} // namespace

int rowProfile(const cv::Mat& image, float ratio, bool startInContent, int& contentHeight, float& blankHeight,
               int& leadingBlank, std::vector<int>& lowRows)
{
    if (image.empty() || ratio < minRatio || ratio > 1.0f)
        return 1;
    lowRows.clear();
    cv::Mat projection;
    rowWhiteProjection(image, projection);
    const float* counts = projection.ptr<float>(0);
    const float level = static_cast<float>(image.cols) * ratio;
    const int last = image.rows - 1;

    bool inContent = startInContent;
    int rise = 0;
    int fall = 0;
    std::vector<Run> contentRuns;
    std::vector<int> blankRuns;
    for (int row = 0; row <= last; ++row) {
        if (counts[row] > level) {
            if (!inContent) {
                rise = row;
                inContent = true;
                blankRuns.push_back(rise - fall);
            } else {
                fall = row;
                if (row == last)
                    contentRuns.push_back({rise, fall - rise + 1});
            }
        } else {
            lowRows.push_back(row);
            if (inContent) {
                fall = row;
                inContent = false;
                contentRuns.push_back({rise, fall - rise});
            } else {
                rise = row;
                if (row == last)
                    blankRuns.push_back(rise - fall + 1);
            }
        }
    }

    // Outside the content the first and last blank stretches are margins.
    std::vector<int> gaps = blankRuns;
    if (!startInContent) {
        if (gaps.size() > 2)
            gaps = std::vector<int>(blankRuns.begin() + 1, blankRuns.end() - 1);
        else
            gaps.clear();
    }
    int leading = startInContent || blankRuns.empty() ? 0 : blankRuns.front();

    // Outlined bubbles with printed digits hold little ink between their
    // arcs, so a box row can leave splinters of a few rows beside its real
    // stretch. Averaged in, they would halve the row pitch: leave them out
    // and measure the gaps between the stretches that remain.
    const std::vector<Run> boxes = withoutSplinters(contentRuns);
    if (boxes.size() < contentRuns.size()) {
        contentRuns = boxes;
        gaps.clear();
        for (size_t i = 1; i < boxes.size(); ++i)
            gaps.push_back(boxes[i].start - boxes[i - 1].start - boxes[i - 1].length);
        if (!startInContent)
            leading = boxes.front().start;
    }

    std::vector<int> heights;
    for (const Run& run : contentRuns)
        heights.push_back(run.length);
    for (size_t i = 0; i < heights.size(); ++i)
        std::cout << "contentHeight" << i << ":" << heights[i] << std::endl;
    for (size_t i = 0; i < gaps.size(); ++i)
        std::cout << "blankHeight" << i << ":" << gaps[i] << std::endl;

    contentHeight = static_cast<int>(std::round(mean(heights)));
    blankHeight = mean(gaps);
    // The grid is laid out from its first row by whole pitches, so the
    // pitch is fitted through the starts of the rows, not taken as the
    // rounded height plus the mean gap: half a pixel too much per row puts
    // the tenth row of bubbles five pixels low. The gap is what the pitch
    // leaves beside the height. Where no gap between rows was measured,
    // none is made up.
    if (contentRuns.size() > 1 && !gaps.empty()) {
        std::vector<int> starts;
        for (const Run& run : contentRuns)
            starts.push_back(run.start);
        const double span = contentRuns.back().start - contentRuns.front().start;
        const double pitch = fitPitch(starts, span / static_cast<double>(contentRuns.size() - 1), 0);
        blankHeight = static_cast<float>(pitch - contentHeight);
    }
    leadingBlank = leading;
    return 0;
}

void splitProjection(const cv::Mat& projection, float ratio, std::vector<int>& runEnds,
                     std::vector<int>& lowEntries)
{
    runEnds.clear();
    lowEntries.clear();
    if (projection.empty())
        return;
    CV_Assert(projection.type() == CV_32FC1 && projection.isContinuous());
    const int length = static_cast<int>(projection.total());
    const float level = static_cast<float>(length) * ratio;
    const float* entries = projection.ptr<float>(0);
    bool wasHigh = false;
    for (int i = 0; i < length; ++i) {
        if (level >= entries[i]) {
            lowEntries.push_back(i);
            if (wasHigh)
                runEnds.push_back(i);
            wasHigh = false;
        } else {
            wasHigh = true;
        }
    }
}

void columnProfile(cv::Mat& image, float ratio, int count, int& boxWidth, float& gap, int& boxX)
{
    cv::Mat projection;
    columnWhiteProjection(image, projection);
    std::vector<int> runEnds;
    std::vector<int> lowColumns;
    splitProjection(projection, ratio, runEnds, lowColumns);
    cv::Mat high(1, image.cols, CV_8UC1, cv::Scalar(255));
    for (int column : lowColumns)
        high.at<uchar>(0, column) = 0;
    // Cleared row by row: a whole column at a time walks the image against
    // its grain.
    if (!lowColumns.empty()) {
        for (int row = 0; row < image.rows; ++row) {
            cv::Mat line = image.row(row);
            cv::bitwise_and(line, high, line);
        }
    }

    if (runEnds.empty() || count < 1) {
        boxWidth = image.cols;
        boxX = 0;
        gap = 0.0f;
        return;
    }
    // The first box ends at the last run end that lies within one pitch.
    const int pitch = static_cast<int>(std::round(static_cast<float>(image.cols) / static_cast<float>(count)));
    size_t index = runEnds.size() - 1;
    while (index > 0 && runEnds[index] >= pitch)
        --index;
    const cv::Rect first = cv::boundingRect(image.colRange(0, runEnds[index] + 1));
    boxWidth = first.width;
    boxX = first.x;
    gap = 0.0f;
    if (count < 2 || first.empty())
        return;

    // The grid is laid out from its first box by whole pitches, so the
    // pitch is measured to a fraction of a pixel: a gap in whole pixels
    // puts the last of twelve columns up to eleven pixels off. The span
    // from the first box to the last gives a first pitch, which the starts
    // of all boxes refine. The last box starts at the first run within one
    // pitch of the right edge, so that a remnant of a ruled side beyond it
    // does not count.
    const uchar* isHigh = high.ptr<uchar>(0);
    std::vector<int> starts;
    for (int column = boxX; column < image.cols; ++column) {
        if (isHigh[column] && (column == 0 || !isHigh[column - 1]))
            starts.push_back(column);
    }
    const auto last = std::lower_bound(starts.begin(), starts.end(), image.cols - pitch);
    if (last != starts.end() && *last > boxX) {
        const double rough = static_cast<double>(*last - boxX) / (count - 1);
        gap = static_cast<float>(fitPitch(starts, rough, count) - boxWidth);
    } else {
        // No box starts near the right edge: the boxes' whole extent.
        const cv::Rect all = cv::boundingRect(image);
        gap = static_cast<float>(all.width - boxWidth * count) / static_cast<float>(count - 1);
    }
}

double fitPitch(const std::vector<int>& starts, double rough, int count)
{
    if (starts.size() < 2 || rough <= 0.0)
        return rough;
    std::vector<std::pair<double, double>> points; // box number, start
    int lastNumber = -1;
    for (int start : starts) {
        const double steps = (start - starts.front()) / rough;
        const int number = static_cast<int>(std::lround(steps));
        if (number == lastNumber || std::abs(steps - number) > 0.25 || (count > 0 && number >= count))
            continue;
        points.emplace_back(number, start);
        lastNumber = number;
    }
    if (points.size() < 2)
        return rough;
    double meanNumber = 0.0;
    double meanStart = 0.0;
    for (const auto& [number, start] : points) {
        meanNumber += number;
        meanStart += start;
    }
    meanNumber /= static_cast<double>(points.size());
    meanStart /= static_cast<double>(points.size());
    double covariance = 0.0;
    double variance = 0.0;
    for (const auto& [number, start] : points) {
        covariance += (number - meanNumber) * (start - meanStart);
        variance += (number - meanNumber) * (number - meanNumber);
    }
    return variance > 0.0 ? covariance / variance : rough;
}

void fillSmallOutlines(cv::Mat& image, const cv::Size& cell)
{
    std::vector<std::vector<cv::Point>> contours;
    std::vector<cv::Vec4i> hierarchy;
    cv::findContours(image, contours, hierarchy, cv::RETR_CCOMP, cv::CHAIN_APPROX_SIMPLE);
    for (size_t i = 0; i < contours.size(); ++i) {
        if (hierarchy[i][3] < 0) // an outline, not a hole in one
            continue;
        const cv::Rect hole = cv::boundingRect(contours[i]);
        if (hole.width < cell.width && hole.height < cell.height)
            cv::drawContours(image, contours, static_cast<int>(i), cv::Scalar(255), cv::FILLED);
    }
}

void fillOpenBoxes(cv::Mat& image, const cv::Size& cell)
{
    fillSmallOutlines(image, cell);
    // Brackets are open to each other at the top and bottom: the rows
    // between their ends hold too little ink to pass for a box row.
    cv::Mat labels;
    cv::Mat stats;
    cv::Mat centroids;
    const int count = cv::connectedComponentsWithStats(image, labels, stats, centroids, 8, CV_32S);
    for (int i = 1; i < count; ++i) {
        const cv::Rect mark(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                            stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
        // A row or column of boxes joined by a ruling is larger than a
        // cell and stays as it is.
        if (mark.width <= cell.width && mark.height <= cell.height)
            image(mark).setTo(255);
    }
}

float outlineInset(const cv::Mat& ink, const OptionGridParams& grid, int rows, int cols)
{
    const int width = static_cast<int>(std::lround(grid.boxWidth));
    if (ink.empty() || width < 2 || grid.boxHeight <= 0.0)
        return 0.0f;
    // Across the middle of each box, where a letter inside stays clear of
    // the sides.
    std::vector<double> strokes;
    for (int r = 0; r < rows; ++r) {
        const int y = static_cast<int>(std::lround(grid.y + r * grid.rowPitch + grid.boxHeight / 2));
        if (y < 0 || y >= ink.rows)
            continue;
        const uchar* row = ink.ptr<uchar>(y);
        for (int c = 0; c < cols; ++c) {
            const int left = static_cast<int>(std::lround(grid.x + c * grid.columnPitch));
            for (const int stroke : {strokeRun(row, ink.cols, left, 1, width),
                                     strokeRun(row, ink.cols, left + width - 1, -1, width)}) {
                if (stroke > 0)
                    strokes.push_back(stroke);
            }
        }
    }
    if (strokes.empty())
        return 0.0f;
    // The median, so that a box filled in or a letter touching a side does
    // not move the rest.
    const double stroke = median(strokes);
    // A filled box is ink from side to side, or up to a letter knocked
    // out of it; a printed stroke is a small part of the box.
    if (4 * stroke >= width)
        return 0.0f;
    return static_cast<float>(stroke / 2.0);
}
