#include "algorithms/projection.h"

#include <QCoreApplication>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <future>

namespace {

// Line erasing: a line must span a quarter of the width in votes and a
// tenth of the height in length; gaps of up to 3 pixels are bridged.
constexpr double lineVoteShare = 0.25;
constexpr double lineLengthShare = 0.1;
constexpr double lineMaxGap = 3.0;
constexpr int erasedLineThickness = 3;

void whiteProjection(const cv::Mat& image, cv::Mat& projection, bool byRow)
{
    // Keeps the window responsive while a check runs on the GUI thread.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    CV_Assert(image.type() == CV_8UC1);
    projection.create(1, byRow ? image.rows : image.cols, CV_32FC1);
    float* counts = projection.ptr<float>(0);
    const int rows = image.rows;
    const int cols = image.cols;
    // Counted in whole numbers, in loops the compiler can vectorise; the
    // counts are exact in a float.
    if (byRow) {
        for (int r = 0; r < rows; ++r) {
            const uchar* row = image.ptr<uchar>(r);
            int count = 0;
            for (int c = 0; c < cols; ++c)
                count += row[c] == 255 ? 1 : 0;
            counts[r] = static_cast<float>(count);
        }
        return;
    }
    std::vector<int> columnCounts(static_cast<size_t>(cols), 0);
    int* columns = columnCounts.data();
    for (int r = 0; r < rows; ++r) {
        const uchar* row = image.ptr<uchar>(r);
        for (int c = 0; c < cols; ++c)
            columns[c] += row[c] == 255 ? 1 : 0;
    }
    for (int c = 0; c < cols; ++c)
        counts[c] = static_cast<float>(columns[c]);
}

// The integer slope of a non-vertical segment, as the line algebra of the
// border drawing uses it.
float integerSlope(const cv::Vec4i& s)
{
    return static_cast<float>((s[3] - s[1]) / (s[2] - s[0]));
}

// Crossing of a vertical line at x with a non-vertical segment.
cv::Point crossVertical(int x, const cv::Vec4i& other)
{
    const float k = integerSlope(other);
    const float c = static_cast<float>(other[1]) - static_cast<float>(other[0]) * k;
    return cv::Point(x, static_cast<int>(static_cast<float>(x) * k + c));
}

} // namespace

void rowWhiteProjection(const cv::Mat& image, cv::Mat& projection)
{
    whiteProjection(image, projection, true);
}

void columnWhiteProjection(const cv::Mat& image, cv::Mat& projection)
{
    whiteProjection(image, projection, false);
}

void findProjectionRuns(const cv::Mat& projection, std::vector<int>& runs, int level)
{
    if (projection.empty())
        return;
    CV_Assert(projection.type() == CV_32FC1 && projection.isContinuous());
    const float* entries = projection.ptr<float>(0);
    const int last = static_cast<int>(projection.total()) - 1;
    bool inRun = false;
    for (int i = 0; i <= last; ++i) {
        const int value = static_cast<int>(entries[i]);
        if (!inRun) {
            if (value > level) {
                runs.push_back(i);
                inRun = true;
            }
        } else if (value <= level || i == last) {
            runs.push_back(i);
            inRun = false;
        }
    }
}

void projectionRunsTask(const cv::Mat* projection, std::vector<int>* runs)
{
    findProjectionRuns(*projection, *runs, 0);
}

void maskByProjectionRuns(const cv::Mat& src, cv::Mat& dst, int maxRunLength, bool eraseLines)
{
    cv::Mat work = src.clone();
    if (work.empty()) {
        dst = work;
        return;
    }
    if (eraseLines) {
        std::vector<cv::Vec4i> lines;
        const int votes = std::max(1, static_cast<int>(work.cols * lineVoteShare));
        cv::HoughLinesP(work, lines, 1, CV_PI / 180, votes, work.rows * lineLengthShare, lineMaxGap);
        for (const cv::Vec4i& line : lines)
            drawLineToBorders(work, line, cv::Scalar(0), erasedLineThickness);
    }

    cv::Mat rowProjection = cv::Mat::zeros(1, work.rows, CV_32FC1);
    cv::Mat columnProjection = cv::Mat::zeros(1, work.cols, CV_32FC1);
    rowWhiteProjection(work, rowProjection);
    columnWhiteProjection(work, columnProjection);

    std::vector<int> rowRuns;
    std::vector<int> columnRuns;
    auto rowTask = std::async(projectionRunsTask, &rowProjection, &rowRuns);
    auto columnTask = std::async(projectionRunsTask, &columnProjection, &columnRuns);
    rowTask.get();
    columnTask.get();

    for (size_t i = 0; i + 1 < rowRuns.size(); i += 2) {
        const int length = rowRuns[i + 1] - rowRuns[i];
        if (length > 0 && length < maxRunLength)
            cv::rectangle(work, cv::Rect(0, rowRuns[i], work.cols, length), cv::Scalar(0), cv::FILLED, cv::LINE_8);
    }
    // The column runs are those of the image before the rows were blanked.
    for (size_t i = 0; i + 1 < columnRuns.size(); i += 2) {
        const int length = columnRuns[i + 1] - columnRuns[i];
        if (length > 0 && length < maxRunLength)
            cv::rectangle(work, cv::Rect(columnRuns[i], 0, length, work.rows), cv::Scalar(0), cv::FILLED,
                          cv::LINE_8);
    }
    dst = work;
}

void drawLineToBorders(cv::Mat& image, const cv::Vec4i& segment, const cv::Scalar& colour, int thickness)
{
    if (thickness <= 0)
        return;
    const int cols = image.cols;
    const int rows = image.rows;
    if (segment[0] == segment[2]) {
        cv::line(image, cv::Point(segment[0], 0), cv::Point(segment[0], rows), colour, thickness, cv::LINE_AA);
        return;
    }
    const cv::Vec4i borders[] = {
        {0, 0, cols, 0},       // top
        {0, rows, cols, rows}, // bottom
        {0, 0, 0, rows},       // left
        {cols, 0, cols, rows}, // right
    };
    cv::Point ends[2];
    int found = 0;
    for (const cv::Vec4i& border : borders) {
        cv::Point point;
        if (!lineCrossing(segment, border, point))
            continue;
        if (point.x < 0 || point.x > cols || point.y < 0 || point.y > rows)
            continue;
        // A line through a corner meets two borders at the same point.
        if (found == 1 && point == ends[0])
            continue;
        ends[found++] = point;
        if (found == 2)
            break;
    }
    if (found == 2)
        cv::line(image, ends[0], ends[1], colour, thickness, cv::LINE_AA);
}

bool lineCrossing(const cv::Vec4i& a, const cv::Vec4i& b, cv::Point& crossing)
{
    const bool aVertical = a[0] == a[2];
    const bool bVertical = b[0] == b[2];
    if (aVertical && bVertical)
        return false;
    if (aVertical) {
        crossing = crossVertical(a[0], b);
        return true;
    }
    if (bVertical) {
        crossing = crossVertical(b[0], a);
        return true;
    }
    const float k1 = integerSlope(a);
    const float k2 = integerSlope(b);
    if (k1 == k2)
        return false;
    const float ax = static_cast<float>(a[0]), ay = static_cast<float>(a[1]);
    const float bx = static_cast<float>(b[0]), by = static_cast<float>(b[1]);
    crossing.x = static_cast<int>((ax * k1 - ay - bx * k2 + by) / (k1 - k2));
    crossing.y = static_cast<int>((k1 * k2 * (ax - bx) + by * k1 - ay * k2) / (k1 - k2));
    return true;
}
