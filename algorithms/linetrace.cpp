#include "algorithms/linetrace.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace {

// Rows either side of the current line estimate searched for its stroke:
// enough for a first estimate that is a whole degree off over a few hundred
// pixels.
constexpr int fitBand = 5;
// A column whose stroke is thicker than twice the line's usual thickness
// by more than this is crossed by something else and tells nothing.
constexpr int strokeSlack = 2;
// A column belongs to the line when ink lies this close to the fitted
// centre line; covers the stair steps of a thin tilted line.
constexpr int inkBand = 2;
// Columns without ink that a continuous line may skip: a scanner dropout,
// but not the space between the dots of a dotted line.
constexpr int maxGap = 1;
// Traced lines whose centres lie closer than this are the same printed line
// (the upper and lower edge of one stroke give two candidates).
constexpr double sameLineDistance = 4.0;
constexpr int maxRounds = 10;

struct LineModel
{
    double y0 = 0.0;
    double slope = 0.0;
    double at(double x) const { return y0 + slope * x; }
};

struct Run
{
    int first = -1;
    int last = -1;
    int length() const { return last - first; }
};

// Ink is 255: at or below the region's Otsu level, as the blank test sees it.
cv::Mat inkMask(const cv::Mat& grey)
{
    cv::Mat ink;
    cv::threshold(grey, ink, 0, 255, cv::THRESH_BINARY_INV | cv::THRESH_OTSU);
    return ink;
}

bool hasInk(const cv::Mat& ink, int x, double y, int band)
{
    const int centre = cvRound(y);
    const int top = std::max(0, centre - band);
    const int bottom = std::min(ink.rows - 1, centre + band);
    for (int row = top; row <= bottom; ++row) {
        if (ink.at<uchar>(row, x))
            return true;
    }
    return false;
}

// The vertical stretch of ink through the line in one column.
struct Stroke
{
    int x = 0;
    int top = 0;
    int bottom = 0;
    int thickness() const { return bottom - top + 1; }
};

// The ink pixel nearest to `y` within fitBand rows, followed up and down to
// the ends of its stroke; false when the column has none.
bool strokeAt(const cv::Mat& ink, int x, double y, Stroke& stroke)
{
    const int centre = cvRound(y);
    for (int offset = 0; offset <= fitBand; ++offset) {
        for (int row : {centre - offset, centre + offset}) {
            if (row < 0 || row >= ink.rows || !ink.at<uchar>(row, x))
                continue;
            stroke.x = x;
            stroke.top = row;
            stroke.bottom = row;
            while (stroke.top > 0 && ink.at<uchar>(stroke.top - 1, x))
                --stroke.top;
            while (stroke.bottom < ink.rows - 1 && ink.at<uchar>(stroke.bottom + 1, x))
                ++stroke.bottom;
            return true;
        }
    }
    return false;
}

// Fits the model to the middle of the line's stroke, column by column.
// Whole strokes rather than the ink in a band, so a thick line is fitted
// through its centre whatever the first estimate.
bool refit(const cv::Mat& ink, const Run& span, LineModel& model)
{
    std::vector<Stroke> strokes;
    strokes.reserve(static_cast<size_t>(span.length() + 1));
    Stroke stroke;
    for (int x = span.first; x <= span.last; ++x) {
        if (strokeAt(ink, x, model.at(x), stroke))
            strokes.push_back(stroke);
    }
    if (strokes.size() < 2)
        return false;
    std::vector<int> thickness;
    thickness.reserve(strokes.size());
    for (const Stroke& s : strokes)
        thickness.push_back(s.thickness());
    std::nth_element(thickness.begin(), thickness.begin() + thickness.size() / 2, thickness.end());
    const int usual = thickness[thickness.size() / 2];
    const double half = (usual - 1) / 2.0;
    std::vector<cv::Point2f> centres;
    centres.reserve(strokes.size());
    for (const Stroke& s : strokes) {
        double centre = (s.top + s.bottom) / 2.0;
        if (s.thickness() > 2 * usual + strokeSlack)
            continue; // a crossing line or a letter standing on the line
        if (s.thickness() > usual + 1) {
            // Something touches one side: keep the edge that lies where the
            // line's own edge is expected.
            const double predicted = model.at(s.x);
            if (std::abs(s.top - (predicted - half)) <= std::abs(s.bottom - (predicted + half)))
                centre = s.top + half;
            else
                centre = s.bottom - half;
        }
        centres.emplace_back(static_cast<float>(s.x), static_cast<float>(centre));
    }
    if (centres.size() < 2)
        return false;
    // Huber weighting keeps the few columns a letter still touches from
    // pulling the line.
    cv::Vec4f fitted;
    cv::fitLine(centres, fitted, cv::DIST_HUBER, 0, 0.01, 0.01);
    if (std::abs(fitted[0]) < std::abs(fitted[1]))
        return false;
    model.slope = static_cast<double>(fitted[1]) / fitted[0];
    model.y0 = fitted[3] - model.slope * fitted[2];
    return true;
}

// The longest gap-free stretch of ink along the model that overlaps `span`.
Run longestRun(const cv::Mat& ink, const LineModel& model, const Run& span)
{
    Run best;
    Run current;
    auto close = [&] {
        if (current.first >= 0 && current.last >= span.first && current.first <= span.last
            && (best.first < 0 || current.length() > best.length()))
            best = current;
    };
    for (int x = 0; x < ink.cols; ++x) {
        if (!hasInk(ink, x, model.at(x), inkBand))
            continue;
        if (current.first < 0 || x - current.last - 1 > maxGap) {
            close();
            current.first = x;
        }
        current.last = x;
    }
    close();
    return best;
}

std::optional<cv::Vec4f> trace(const cv::Mat& ink, const cv::Vec4i& candidate)
{
    const int dx = candidate[2] - candidate[0];
    const int dy = candidate[3] - candidate[1];
    if (dx == 0 || std::abs(dx) < std::abs(dy))
        return std::nullopt;
    LineModel model;
    model.slope = static_cast<double>(dy) / dx;
    model.y0 = candidate[1] - model.slope * candidate[0];
    Run span{std::min(candidate[0], candidate[2]), std::max(candidate[0], candidate[2])};
    // Usually settles in two rounds; a first piece that lies on a row of
    // letters standing on the line needs a few more.
    for (int round = 0; round < maxRounds; ++round) {
        const LineModel previous = model;
        if (!refit(ink, span, model))
            return std::nullopt;
        const Run run = longestRun(ink, model, span);
        if (run.first < 0)
            return std::nullopt;
        const bool settled = run.first == span.first && run.last == span.last
                             && std::abs(model.slope - previous.slope) < 1e-6
                             && std::abs(model.y0 - previous.y0) < 1e-3;
        span = run;
        if (settled)
            break;
    }
    return cv::Vec4f(static_cast<float>(span.first), static_cast<float>(model.at(span.first)),
                     static_cast<float>(span.last), static_cast<float>(model.at(span.last)));
}

bool sameLine(const cv::Vec4f& a, const cv::Vec4f& b)
{
    const float from = std::max(a[0], b[0]);
    const float to = std::min(a[2], b[2]);
    const float shorter = std::min(a[2] - a[0], b[2] - b[0]);
    if (to - from < shorter / 2)
        return false;
    const float middle = (from + to) / 2;
    auto yAt = [middle](const cv::Vec4f& s) {
        return s[2] > s[0] ? s[1] + (s[3] - s[1]) * (middle - s[0]) / (s[2] - s[0]) : s[1];
    };
    return std::abs(yAt(a) - yAt(b)) <= sameLineDistance;
}

} // namespace

std::vector<cv::Vec4f> traceInkLines(const cv::Mat& grey, const std::vector<cv::Vec4i>& candidates)
{
    std::vector<cv::Vec4f> lines;
    if (grey.empty())
        return lines;
    const cv::Mat ink = inkMask(grey);
    for (const cv::Vec4i& candidate : candidates) {
        const std::optional<cv::Vec4f> traced = trace(ink, candidate);
        if (!traced)
            continue;
        auto known = std::find_if(lines.begin(), lines.end(),
                                  [&](const cv::Vec4f& line) { return sameLine(line, *traced); });
        if (known == lines.end())
            lines.push_back(*traced);
        else if ((*traced)[2] - (*traced)[0] > (*known)[2] - (*known)[0])
            *known = *traced;
    }
    return lines;
}
