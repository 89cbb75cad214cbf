#include "algorithms/examnumber.h"

#include "algorithms/boxoutlines.h"
#include "algorithms/boxprofile.h"
#include "algorithms/errorguard.h"
#include "algorithms/gridjudge.h"
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
} // namespace

int countDigitColumns(const QPixmap& page, const QRectF& frame, int& count)
{
    return guardImageLibrarySilently(-1, [&] {
        cv::Mat region;
        if (!frameInk(page, frame, 1, region))
            return 1;
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
        for (size_t i = 0; i + 1 < runs.size(); i += 2) {
            const int width = runs[i + 1] - runs[i];
            if (width > 0 && width < maxRulingWidth)
                ++cells;
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
