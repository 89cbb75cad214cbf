#include "algorithms/examnumber.h"

#include "algorithms/boxprofile.h"
#include "algorithms/errorguard.h"
#include "algorithms/conversions.h"
#include "algorithms/gridhelpers.h"
#include "algorithms/gridjudge.h"
#include "algorithms/gridstrokes.h"
#include "algorithms/imagebasics.h"
#include "algorithms/linefinder.h"
#include "algorithms/localthreshold.h"
#include "algorithms/optiongrid.h"
#include "algorithms/optiongridfit.h"
#include "algorithms/projection.h"
#include "algorithms/regionfill.h"
#include "algorithms/regionhelpers.h"
#include "algorithms/slantedprojection.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A ruling line is a stroke over this share of the frame's height ...
constexpr double rulingHeightShare = 0.8;
// ... and narrower than this; bubbles and digits are wider.
constexpr int maxRulingWidth = 10;
// The most a fed sheet lies askew; a little over, for the print's own.
constexpr double maxTiltDegrees = 1.2;
// How many columns and rows a frame's cell is guessed at, before the
// dialog says.
constexpr int guessedColumns = 10;
// The most columns of boxes counted in a frame.
constexpr int maxCountedColumns = 20;
// Shading stands at least this many grey levels off the paper, and a
// stripe is at least this wide in pixels.
constexpr double minStripeContrast = 8.0;
constexpr int minStripeWidth = 3;
// A column's bubbles bring at least this share of the strongest column's
// ink.
constexpr double bubbleColumnShare = 0.3;
// A column cut by the frame is at least this share of one wide.
constexpr double edgeColumnShare = 0.6;

// The grey behind the print in each pixel column: what 70 % of its pixels
// are at least as dark as (bubbles, digits and rules are fewer).
std::vector<double> columnBackground(const cv::Mat& grey)
{
    std::vector<double> background(static_cast<size_t>(grey.cols), 255.0);
    std::vector<int> histogram(256);
    const int wanted = static_cast<int>(0.7 * grey.rows);
    for (int x = 0; x < grey.cols; ++x) {
        std::fill(histogram.begin(), histogram.end(), 0);
        for (int y = 0; y < grey.rows; ++y)
            ++histogram[grey.at<uchar>(y, x)];
        int seen = 0;
        for (int level = 0; level < 256; ++level) {
            seen += histogram[static_cast<size_t>(level)];
            if (seen > wanted) {
                background[static_cast<size_t>(x)] = level;
                break;
            }
        }
    }
    return background;
}

// How much of the print's strokes each pixel column holds, without
// full-height rules (the table's own, a border beside it).
class BubbleInk
{
public:
    explicit BubbleInk(const cv::Mat& strokes)
    {
        cv::reduce(strokes / 255, m_ink, 0, cv::REDUCE_SUM, CV_32S);
        for (int x = 0; x < m_ink.cols; ++x) {
            int& ink = m_ink.at<int>(0, x);
            if (ink >= rulingHeightShare * strokes.rows)
                ink = 0;
            m_strongest = std::max(m_strongest, ink);
        }
    }
    // Whether the pixel columns [start, end) hold a column of bubbles.
    bool holdsBubbles(int start, int end) const
    {
        int most = 0;
        for (int x = std::max(start, 0); x < std::min(end, m_ink.cols); ++x)
            most = std::max(most, m_ink.at<int>(0, x));
        return m_strongest > 0 && most >= bubbleColumnShare * m_strongest;
    }

private:
    cv::Mat m_ink;
    int m_strongest = 0;
};

// The columns of a table that shades every other one: each stretch of
// shading or paper across the frame is one column where bubbles lie in it
// (the paper beyond the table holds none). Full-height rules, a border
// beside the table, are no bubbles. 0 when the frame shows no stripes.
int stripedColumns(const cv::Mat& grey, const cv::Mat& strokes)
{
    const std::vector<double> background = columnBackground(grey);
    std::vector<double> sorted = background;
    std::sort(sorted.begin(), sorted.end());
    const double low = sorted[sorted.size() / 10];
    const double high = sorted[sorted.size() * 9 / 10];
    if (high - low < minStripeContrast)
        return 0;
    const double middle = (low + high) / 2.0;
    std::vector<std::pair<int, int>> stretches; // [start, end) of alike background
    for (int x = 0; x < grey.cols;) {
        const bool shaded = background[static_cast<size_t>(x)] < middle;
        int end = x;
        while (end < grey.cols && (background[static_cast<size_t>(end)] < middle) == shaded)
            ++end;
        if (end - x >= minStripeWidth || stretches.empty())
            stretches.emplace_back(x, end);
        else
            stretches.back().second = end; // a sliver joins the stretch before
        x = end;
    }
    if (stretches.size() < 3)
        return 0;
    const BubbleInk ink(strokes);
    int columns = 0;
    for (const auto& [start, end] : stretches) {
        if (ink.holdsBubbles(start, end))
            ++columns;
    }
    return columns;
}

} // namespace

int countDigitColumns(const QPixmap& page, const QRectF& frame, int& count)
{
    return guardImageLibrarySilently(-1, [&] {
        // The columns of printed boxes, where the print holds a grid of
        // them (never a blank frame); ruling lines and stripes tell the rest.
        const int boxColumns = countFramedColumns(page, frame, guessedColumns, maxCountedColumns);
        if (boxColumns > 0) {
            count = boxColumns;
            return 0;
        }
        cv::Mat region;
        if (!frameInk(page, frame, 1, region))
            return 1;
        // Rules printed dotted, and faint, count as rules: the print's
        // strokes with their dots joined, over a cell of about a tenth of
        // the frame each way (ten digits, ten options).
        const cv::Mat grey = greyOfImage(cropPixmap(page, frame).toImage());
        const cv::Size cell(std::max(grey.cols / guessedColumns, 1), std::max(grey.rows / guessedColumns, 1));
        const cv::Mat strokes = strokeInk(grey, cell, pageDpi(page.size()));
        region |= strokes;
        // A sheet fed a little askew leans its ruling lines: counted
        // straight down, a line of two pixels spreads over the columns it
        // drifts across and reaches the height in none of them. The lines
        // are counted along their measured lean.
        const int maxDrift = static_cast<int>(std::ceil(std::tan(maxTiltDegrees * CV_PI / 180.0) * region.rows));
        const int drift = steepestColumnDrift(region, maxDrift);
        cv::Mat projection;
        slantedColumnProjection(region, drift, maxDrift, projection);
        std::vector<int> runs;
        findProjectionRuns(projection, runs, static_cast<int>(rulingHeightShare * region.rows));

        // The cells lie between the ruling lines: one fewer than the lines.
        int cells = -1;
        std::vector<double> rules;
        for (size_t i = 0; i + 1 < runs.size(); i += 2) {
            const int width = runs[i + 1] - runs[i];
            if (width > 0 && width < maxRulingWidth) {
                ++cells;
                rules.push_back((runs[i] + runs[i + 1]) / 2.0 - maxDrift);
            }
        }
        // A frame drawn round the boxes, inside the table's outer rules,
        // holds a column of bubbles beyond the first and the last rule.
        if (rules.size() >= 3) {
            const BubbleInk ink(strokes);
            std::vector<double> widths;
            for (size_t i = 1; i < rules.size(); ++i)
                widths.push_back(rules[i] - rules[i - 1]);
            const double width = median(widths);
            if (rules.front() >= edgeColumnShare * width && ink.holdsBubbles(0, static_cast<int>(rules.front()) - 1))
                ++cells;
            if (region.cols - rules.back() >= edgeColumnShare * width
                && ink.holdsBubbles(static_cast<int>(rules.back()) + 2, region.cols))
                ++cells;
        }
        // A table without rules between its columns may shade every other
        // one instead.
        if (cells < 2) {
            const int striped = stripedColumns(grey, strokes);
            if (striped > 0)
                cells = striped;
        }
        count = cells;
        return 0;
    });
}

int getTicketNoPosition(const cv::Mat& region, int rows, int cols, OptionGridParams& grid)
{
    return guardImageLibraryThenStandard("getTicketNoPosition", LogFatal, 1, [&] {
        cv::Mat grey;
        convertToGray(region, grey);
        cv::medianBlur(grey, grey, 3);
        localThreshold(grey, grey, 60, 0.1, 64.0, 400);
        cv::bitwise_not(grey, grey);
        regionFill(grey, grey, 8, 1, 1);

        cv::Rect inner;
        if (findLineFrame(grey, inner) != 0)
            return 1;
        inner = clipToImage(inner, grey.size());
        if (inner.empty())
            return 1;
        cv::Mat crop = grey(inner).clone();

        // Joins bubble outlines that the threshold broke by a pixel.
        const cv::Mat column = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(1, 2));
        cv::morphologyEx(crop, crop, cv::MORPH_CLOSE, column, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT,
                         cv::morphologyDefaultBorderValue());
        maskByProjectionRuns(crop, crop, 3, true);

        // An outlined bubble holds little ink between its arcs, so the rows
        // are measured on the bubbles filled in.
        cv::Mat solid = crop.clone();
        fillSmallOutlines(solid, cv::Size(crop.cols / std::max(cols, 1), crop.rows / std::max(rows, 1)));
        int boxHeight = 0;
        float rowGap = 0.0f;
        int top = 0;
        std::vector<int> blankRows;
        rowProfile(solid, static_cast<float>(rows) / static_cast<float>(crop.rows), false, boxHeight, rowGap, top,
                   blankRows);
        // Rows between the bubbles would join neighbouring bubbles of a
        // column into one stroke.
        for (int row : blankRows)
            crop.row(row).setTo(0);

        int boxWidth = 0;
        float columnGap = 0.0f;
        int left = 0;
        columnProfile(crop, static_cast<float>(cols) / static_cast<float>(crop.cols), cols, boxWidth, columnGap,
                      left);

        OptionGridParams measured;
        measured.x = inner.x + left;
        measured.y = inner.y + top;
        measured.boxWidth = boxWidth;
        measured.boxHeight = boxHeight;
        measured.columnPitch = static_cast<float>(boxWidth) + columnGap;
        measured.rowPitch = static_cast<float>(boxHeight) + rowGap;
        fitOptionGrid(rows, cols, measured, cv::Rect(0, 0, region.cols, region.rows));
        grid = measured;
        return 0;
    });
}

int getStuNoPos(const QPixmap& page, const QRectF& frame, int rows, int cols, bool /*border*/,
                OptionGridParams& grid)
{
    return guardImageLibrary("getStuNoPos", LogFatal, -1,
                             [&] { return measureFramedGrid(page, frame, rows, cols, grid); });
}
