#include "algorithms/gridjudge.h"

#include "algorithms/conversions.h"
#include "algorithms/gridevidence.h"
#include "algorithms/gridhelpers.h"
#include "algorithms/gridlattice.h"
#include "algorithms/gridshapes.h"
#include "algorithms/imagebasics.h"
#include "algorithms/optiongridfit.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

// How far beyond the frame shapes are looked at, so that a box the frame
// cuts is whole: at least this many pixels and millimetres.
constexpr int minSearchMargin = 16;
constexpr double searchMarginMm = 2.0;
// The most pixels a frame is measured on.
constexpr double maxMeasuredPixels = 1.5e6;

// Refuses a grid where the print says so: gridCountDiffers where a row or
// column just beyond the grid, its boxes inside the frame, lies mostly on
// the print and from end to end, as the grid's own are printed (the print
// holds more rows or columns than asked; a column of letters beside a
// digit grid stops short); gridOffPrint where a row or column of the grid
// lies mostly off it. 0 otherwise. A column beyond that is half on the
// print counts as one of the grid's, as the grid's own half-printed ones
// do; a row needs more, for the write-in row above a grid may be framed
// with it and holds handwriting.
int judgeAgainstPrint(const std::vector<PrintedShape>& shapes, const cv::Mat& strokes, const PrintLattice& lattice,
                      int rows, int cols, const cv::Rect& frame)
{
    const GridOnPrint print = boxesOnPrint(shapes, strokes, lattice, rows, cols);
    const auto inFrame = [&](int column, int row) {
        const cv::Point2d p = lattice.at(column, row);
        return p.x >= frame.x && p.y >= frame.y && p.x <= frame.x + frame.width && p.y <= frame.y + frame.height;
    };
    // The first and last boxes of the lines beyond: left, right, above, below.
    const cv::Vec4i beyond[] = {{-1, 0, -1, rows - 1}, {cols, 0, cols, rows - 1}, {0, -1, cols - 1, -1},
                                {0, rows, cols - 1, rows}};
    for (size_t i = 0; i < print.beyond.size(); ++i) {
        const LineOnPrint& line = print.beyond[i];
        const bool column = i < 2;
        if (inFrame(beyond[i][0], beyond[i][1]) && inFrame(beyond[i][2], beyond[i][3]) && line.ends
            && 2 * line.on + (column ? 1 : 0) > line.length)
            return gridCountDiffers;
    }
    const auto mostlyOff = [](const LineOnPrint& line) { return 2 * line.on < line.length; };
    if (std::any_of(print.rows.begin(), print.rows.end(), mostlyOff)
        || std::any_of(print.columns.begin(), print.columns.end(), mostlyOff))
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
    PrintLattice lattice;
    OptionGridParams fitted;
    switch (fitLattice(shapes, rows, cols, frame, lattice, fitted)) {
    case LatticeFit::NoLattice: return unmeasurableGrid;
    case LatticeFit::Turned: return gridOffPrint;
    case LatticeFit::Fitted: break;
    }
    const int verdict = judgeAgainstPrint(shapes, ink, lattice, rows, cols, frame);
    if (verdict != 0)
        return verdict;
    snapToStandard(fitted, rows, cols, dpi);
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

int countFramedColumns(const QPixmap& page, const QRectF& frame, int rows, int maxColumns)
{
    const QRect framed = clipToImage(frame, page.size());
    if (framed.isEmpty() || rows < 1)
        return -1;
    cv::Rect inner;
    double factor = 1.0;
    const cv::Mat grey = greyAroundFrame(page, framed, maxMeasuredPixels, inner, factor);
    if (inner.empty() || isBlankRegion(grey(inner)))
        return -1;
    const float dpi = static_cast<float>(pageDpi(page.size()) * factor);
    // Boxes are looked for up to two rows' height wide: the columns are
    // not known yet, the rows are.
    const int rowHeight = std::max(inner.height / rows, 1);
    const ShapeScale scale{cv::Size(2 * rowHeight, rowHeight), dpi};
    const int found = columnsOfCommonBoxes(findPrintedShapes(grey, scale), rows);
    if (found < 1)
        return -1;
    for (const int columns : {found, found - 1, found + 1}) {
        OptionGridParams grid;
        if (columns >= 1 && columns <= maxColumns && measureGridOnPrint(grey, inner, rows, columns, dpi, grid) == 0)
            return columns;
    }
    return -1;
}
