#include "algorithms/similarity.h"

#include "algorithms/conversions.h"
#include "algorithms/errorguard.h"
#include "algorithms/imagebasics.h"
#include "algorithms/regionhelpers.h"
#include "algorithms/projection.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int hashSide = 8;
// Below this many differing hash bits two patches count as the same mark.
constexpr double maxHashDistance = 10.0;
// Above this correlation a stored patch holds the new mark.
constexpr double minMatchScore = 0.75;
constexpr double minPageMatchScore = 0.7;
// Rows inked across this share of the crop's width are ruled lines, not
// the mark.
constexpr double ruledLineShare = 0.99;
// Room left round the ink so the dilation below can spread into it.
constexpr int border = 2;
// A tightened mark is at least this large, so that a mark of a dot or two
// still gives a rectangle the operator can see and grab.
constexpr int minMarkWidth = 25;
constexpr int minMarkHeight = 16;
// Ink parts closer than this many pixels belong together ...
constexpr int strokeJoin = 5;
// ... and a part this many times smaller than the largest is a speck.
constexpr int speckShare = 10;
// A mark inked over this share of its box is solid.
constexpr double solidShare = 0.9;

// Hash bits of an 8 x 8 thumbnail, row by row.
std::array<bool, hashSide * hashSide> averageHash(const cv::Mat& image)
{
    cv::Mat thumbnail;
    cv::resize(image, thumbnail, cv::Size(hashSide, hashSide), 0, 0, cv::INTER_AREA);
    std::array<int, hashSide * hashSide> values{};
    int sum = 0;
    for (int row = 0; row < hashSide; ++row) {
        for (int column = 0; column < hashSide; ++column) {
            // The first byte of the cell; the two low bits are noise.
            const int value = thumbnail.ptr<uchar>(row)[column * thumbnail.elemSize()] / 4 * 4;
            values[static_cast<size_t>(row * hashSide + column)] = value;
            sum += value;
        }
    }
    const int mean = sum / (hashSide * hashSide);
    std::array<bool, hashSide * hashSide> bits{};
    for (size_t i = 0; i < bits.size(); ++i)
        bits[i] = values[i] >= mean;
    return bits;
}

// The blank test counts dark ink, and here the ink is white.
bool noInk(const cv::Mat& ink)
{
    cv::Mat darkInk;
    cv::bitwise_not(ink, darkInk);
    return isBlankRegion(darkInk);
}

// The ink of a patch as 255 on 0, without the ruled lines that cross it,
// in a matrix of its own: a grey patch may share a caller's pixels.
cv::Mat inkOf(const cv::Mat& source)
{
    cv::Mat patch;
    convertToGray(source, patch);
    // Otsu picks the level; ink becomes 255 on 0.
    cv::threshold(patch, patch, 100, 255, cv::THRESH_BINARY_INV | cv::THRESH_OTSU);
    cv::Mat projection = cv::Mat::zeros(1, patch.rows, CV_32FC1);
    rowWhiteProjection(patch, projection);
    cv::Mat erased = patch.clone();
    eraseDenseRows(erased, erased, projection, ruledLineShare);
    // A solid mark framed to its sides is inked across most rows: then the
    // dense rows are the mark, not ruled lines crossing it.
    if (noInk(erased)) {
        const int level = static_cast<int>(patch.cols * ruledLineShare);
        int denseRows = 0;
        for (int row = 0; row < patch.rows; ++row)
            denseRows += static_cast<int>(projection.at<float>(row)) >= level ? 1 : 0;
        if (2 * denseRows >= patch.rows)
            return patch;
    }
    return erased;
}

// The ink without its specks: parts far smaller than the mark's largest,
// such as pencil dots or dust beside it, which would stretch the mark's
// box and so its hash.
cv::Mat withoutSpecks(const cv::Mat& ink)
{
    // The strokes of a character lie a few pixels apart: joined first, a
    // character counts as one part and a lone stroke of it is no speck.
    cv::Mat joined;
    cv::dilate(ink, joined, cv::Mat::ones(strokeJoin, strokeJoin, CV_8U));
    cv::Mat labels;
    const int parts = cv::connectedComponents(joined, labels, 8, CV_32S);
    if (parts <= 2)
        return ink;
    // Each part weighs by its own ink, not by the joined area, which
    // swells a dot far more than a mark.
    std::vector<int> area(static_cast<size_t>(parts), 0);
    for (int row = 0; row < ink.rows; ++row) {
        const uchar* pixels = ink.ptr<uchar>(row);
        const int* part = labels.ptr<int>(row);
        for (int column = 0; column < ink.cols; ++column)
            area[static_cast<size_t>(part[column])] += pixels[column] != 0 ? 1 : 0;
    }
    const int largest = *std::max_element(area.begin() + 1, area.end());
    std::vector<uchar> speck(static_cast<size_t>(parts), 0);
    for (size_t part = 1; part < area.size(); ++part)
        speck[part] = area[part] * speckShare < largest ? 1 : 0;
    cv::Mat kept = ink.clone();
    for (int row = 0; row < kept.rows; ++row) {
        uchar* pixels = kept.ptr<uchar>(row);
        const int* part = labels.ptr<int>(row);
        for (int column = 0; column < kept.cols; ++column) {
            if (speck[static_cast<size_t>(part[column])] != 0)
                pixels[column] = 0;
        }
    }
    return kept;
}

// A patch's mark as the hash compares it: its ink, without ruled lines
// and specks, dark on white and cut to the box round it; empty when the
// patch holds no ink. In black and white, because the grey of a solid
// mark's edges depends on where the print fell between the pixels.
cv::Mat hashedMark(const cv::Mat& patch)
{
    const cv::Mat ink = inkOf(patch);
    if (noInk(ink))
        return cv::Mat();
    const cv::Mat kept = withoutSpecks(ink);
    cv::Mat mark;
    cv::bitwise_not(kept(cv::boundingRect(kept)), mark);
    // A mark of one tone hashes as one: otherwise its cells stand against a
    // mean equal to them, and the few light pixels at its corners decide
    // every bit.
    if (cv::countNonZero(mark) <= (1.0 - solidShare) * mark.total())
        mark.setTo(0);
    return mark;
}

// The tight box of the ink of `crop`, whose top-left pixel lies at
// `origin` of the page.
int tightenToInk(const cv::Mat& crop, const QPoint& origin, QRectF& out)
{
    const cv::Mat ink = inkOf(crop);
    if (noInk(ink))
        return MarkBlank;

    cv::Mat framed = cv::Mat::zeros(ink.rows + 2 * border, ink.cols + 2 * border, ink.type());
    ink.copyTo(framed(cv::Rect(border, border, ink.cols, ink.rows)));
    // Joins the strokes of a character and its neighbours sideways.
    const cv::Mat kernel = cv::Mat::ones(2, 5, CV_8U);
    cv::dilate(framed, framed, kernel, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT,
               cv::morphologyDefaultBorderValue());
    const cv::Rect box = cv::boundingRect(framed);
    QRectF tight = cvRectToQRectF(
        cv::Rect(origin.x() + box.x - border, origin.y() + box.y - border, box.width, box.height));
    if (tight.width() < minMarkWidth)
        tight.setWidth(minMarkWidth);
    if (tight.height() < minMarkHeight)
        tight.setHeight(minMarkHeight);
    out = tight;
    return MarkAccepted;
}

bool similarToAny(const QVector<QImage>& stored, const cv::Mat& region, int method)
{
    if (method != AverageHash) {
        for (const QImage& image : stored) {
            if (calSimilar(region, QImageToCvMat(image, false), TemplateMatch) > minMatchScore)
                return true;
        }
        return false;
    }
    // A hash sees the whole patch: paper round a mark, from a generous frame
    // or from widening a small mark, would outweigh the mark itself. Both
    // sides are compared on their marks alone.
    const cv::Mat regionMark = hashedMark(region);
    const cv::Mat mark = regionMark.empty() ? region : regionMark;
    for (const QImage& image : stored) {
        const cv::Mat patch = QImageToCvMat(image, false);
        // Plain paper is no mark, whatever its hash. A patch that did not
        // convert still goes to the comparison, which counts it as alike.
        const cv::Mat storedMark = patch.empty() ? cv::Mat() : hashedMark(patch);
        if (!patch.empty() && storedMark.empty())
            continue;
        if (calSimilar(storedMark.empty() ? patch : storedMark, mark, AverageHash) < maxHashDistance)
            return true;
    }
    return false;
}

} // namespace

int averageHashDistance(cv::Mat a, cv::Mat b)
{
    const auto hashA = averageHash(a);
    const auto hashB = averageHash(b);
    int distance = 0;
    for (size_t i = 0; i < hashA.size(); ++i)
        distance += hashA[i] != hashB[i] ? 1 : 0;
    return distance;
}

double calSimilar(cv::Mat a, cv::Mat b, int method)
{
    const double failure = method == AverageHash ? 1.0 : 10.0;
    return guardImageLibrary("calSimilar-->", LogFatal, failure, [&] {
        convertToGray(a, a);
        convertToGray(b, b);
        if (method == TemplateMatch) {
            cv::Mat scores;
            cv::matchTemplate(a, b, scores, cv::TM_CCOEFF_NORMED);
            double best = 0.0;
            cv::minMaxLoc(scores, nullptr, &best);
            return best;
        }
        cv::resize(a, a, b.size(), 0, 0, cv::INTER_LINEAR);
        return static_cast<double>(averageHashDistance(a, b));
    });
}

namespace {

// getContentRect on a page already read as a matrix.
int contentRectOf(const cv::Mat& pageMat, const QRectF& rect, QRectF& out)
{
    return guardStandard("getOptQuesAreas", LogFatal, static_cast<int>(MarkCheckError), [&] {
        // Measured from where the crop really starts: the frame may be
        // fractional or reach past the page edge.
        const QRect onPage = clipToImage(rect, QSize(pageMat.cols, pageMat.rows));
        const cv::Mat crop = cropView(pageMat, cv::Rect(onPage.x(), onPage.y(), onPage.width(), onPage.height()));
        return tightenToInk(crop, onPage.topLeft(), out);
    });
}

} // namespace

int getContentRect(const QPixmap& page, const QRectF& rect, QRectF& out)
{
    const QImage image = page.toImage();
    return contentRectOf(viewOfImage(image), rect, out);
}

int checkUniqueMark(const QVector<QImage>& stored, const QImage& page, const QRectF& rect, QRectF& out,
                    int method)
{
    return guardImageLibrary("getStuNoPos", LogFatal, static_cast<int>(MarkCheckError), [&] {
        // Read in place: of the page only the frame is looked at. `page`
        // outlives the view.
        const cv::Mat pageMat = viewOfImage(page);
        if (isBlankRegion(cropView(pageMat, qRectFToCvRect(rect))))
            return static_cast<int>(MarkBlank);
        QRectF tight;
        const int content = contentRectOf(pageMat, rect, tight);
        if (content != MarkAccepted)
            return content;
        out = tight;
        if (stored.isEmpty())
            return static_cast<int>(MarkAccepted);
        // The tight box may reach past the page edge after widening; compare
        // what of it lies on the page.
        const cv::Mat region = cropView(pageMat, qRectFToCvRect(out));
        if (similarToAny(stored, region, method))
            return static_cast<int>(MarkNotUnique);
        return static_cast<int>(MarkAccepted);
    });
}

int validatePageNum(QImage mark, const QVector<QImage>& stored)
{
    return guardImageLibrary("validatePageNum", LogError, static_cast<int>(MarkCheckError), [&] {
        // No grey conversion: the colours take part in the score.
        const cv::Mat markMat = QImageToCvMat(mark, false);
        for (const QImage& image : stored) {
            const QImage copy = image.copy();
            const cv::Mat patch = QImageToCvMat(copy, false);
            cv::Mat scores;
            cv::matchTemplate(patch, markMat, scores, cv::TM_CCOEFF_NORMED);
            double best = 0.0;
            cv::minMaxLoc(scores, nullptr, &best);
            if (best > minPageMatchScore)
                return static_cast<int>(MarkNotUnique);
        }
        return static_cast<int>(MarkAccepted);
    });
}
