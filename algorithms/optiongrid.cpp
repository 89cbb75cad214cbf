#include "algorithms/optiongrid.h"

#include "algorithms/boxprofile.h"
#include "algorithms/conversions.h"
#include "algorithms/errorguard.h"
#include "algorithms/gridjudge.h"
#include "algorithms/imagebasics.h"
#include "algorithms/localthreshold.h"
#include "algorithms/optiongridfit.h"
#include "algorithms/projection.h"
#include "algorithms/regionfill.h"
#include "algorithms/regionhelpers.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// A band of text is a question only when it is taller than this.
constexpr int minQuestionBandHeight = 5;

// Counts the bands of rows whose ink exceeds `level`. A band still open
// at the last row ends there.
int countTextBands(const cv::Mat& projection, float level)
{
    const int height = projection.cols;
    const float* profile = projection.ptr<float>(0);
    int bands = 0;
    bool inside = false;
    int start = 0;
    for (int i = 0; i < height; ++i) {
        bool ends = false;
        if (!inside) {
            if (profile[i] > level) {
                inside = true;
                start = i;
            }
        } else if (profile[i] <= level) {
            ends = true;
        }
        if (inside && i == height - 1 && profile[i] > level)
            ends = true;
        if (ends) {
            inside = false;
            if (std::abs(i - start) > minQuestionBandHeight)
                ++bands;
        }
    }
    return bands;
}

bool inRange(float value, float low, float high)
{
    return value >= low && value <= high;
}

} // namespace

bool frameInk(const QPixmap& page, const QRectF& frame, int blendPasses, cv::Mat& ink)
{
    ink = cropPage(page, frame);
    stretchBoxContrast(ink, blendPasses);
    if (isBlankRegion(ink))
        return false;
    localThreshold(ink, ink, 60, 0.1, 128.0, 400);
    cv::bitwise_not(ink, ink);
    regionFill(ink, ink, 4, 1, 0);
    return true;
}

int checkObjectiveArea(const QPixmap& page, const QRectF& frame, int& questionCount, int& optionCount)
{
    return guardImageLibrarySilently(-1, [&] {
        cv::Mat region;
        if (!frameInk(page, frame, 2, region))
            return 1;
        maskByProjectionRuns(region, region, 3, false);

        cv::Mat projection = cv::Mat::zeros(1, region.rows, CV_32FC1);
        rowWhiteProjection(region, projection);
        const float level = static_cast<float>(std::min(10.0, 0.06 * region.rows));
        const int questions = countTextBands(projection, level);

        // Tall narrow frames hold the options under each other, so their
        // bands are options rather than questions.
        const double ratio = frame.width() / frame.height();
        int options = 4;
        if (ratio <= 0.5)
            options = questions / 2;
        else if (ratio <= 0.8)
            options = questions / 3;

        questionCount = questions;
        optionCount = options;
        return 0;
    });
}

int getObjectSelectPosition(cv::Mat& image, int rows, int cols, OptionGridParams& grid)
{
    return guardImageLibraryThenStandard("getObjectSelectPosition", LogFatal, 1, [&] {
        if (image.empty() || rows < 1 || cols < 1)
            return 1;

        extractBoxes(image, 2, 16);

        const cv::Rect bounds = cv::boundingRect(image);
        if (bounds.empty())
            return 1;
        cv::Mat crop = image(bounds).clone();
        // Sheets print their option boxes as outlines, often with the
        // letter inside, or as bracketed letters: the top and bottom edges
        // of one would pass for two thin box rows. Made solid, they
        // measure as filled boxes do.
        const cv::Mat ink = crop.clone();
        fillOpenBoxes(crop, cv::Size(crop.cols / cols, crop.rows / rows));

        float boxHeight = 0.0f;
        float rowPitch = 0.0f;
        float top = 0.0f;
        measureBoxRows(crop, rows, cols, boxHeight, rowPitch, top);

        int boxWidth = 0;
        float gap = 0.0f;
        int left = 0;
        columnProfile(crop, static_cast<float>(cols) / static_cast<float>(crop.cols), cols, boxWidth, gap, left);
        float columnPitch = static_cast<float>(boxWidth) + gap;
        float width = static_cast<float>(boxWidth);

        // An outline is drawn on the middle of its stroke, not on the outer
        // edge that was measured.
        OptionGridParams outer;
        outer.x = left;
        outer.y = top;
        outer.boxWidth = width;
        outer.boxHeight = boxHeight;
        outer.columnPitch = columnPitch;
        outer.rowPitch = rowPitch;
        const float inset = outlineInset(ink, outer, rows, cols);
        float x = static_cast<float>(left) + inset;
        width -= 2.0f * inset;
        if (boxHeight > 0.0f) {
            top += inset;
            boxHeight -= 2.0f * inset;
        }

        // Printed sheets use one standard grid; measurement noise of a
        // pixel or two must not move a box off it.
        if (inRange(rowPitch, 79.0f, 82.0f) && inRange(boxHeight, 47.0f, 50.0f)) {
            rowPitch = standardRowPitch;
            boxHeight = standardBoxHeight;
        }
        if (inRange(width, 67.0f, 70.0f) && inRange(columnPitch, 108.0f, 110.0f)) {
            columnPitch = standardColumnPitch;
            width = standardBoxWidth;
        }

        OptionGridParams measured;
        measured.x = static_cast<float>(bounds.x) + x;
        measured.y = static_cast<float>(bounds.y) + top;
        measured.boxWidth = width;
        measured.boxHeight = boxHeight;
        measured.columnPitch = columnPitch;
        measured.rowPitch = rowPitch;
        fitOptionGrid(rows, cols, measured, cv::Rect(0, 0, image.cols, image.rows));
        grid = measured;
        return 0;
    });
}

int getObjectPos(const QPixmap& page, const QRectF& frame, int rows, int cols, OptionGridParams& grid)
{
    return guardImageLibrarySilently(-1, [&] { return measureFramedGrid(page, frame, rows, cols, grid); });
}
