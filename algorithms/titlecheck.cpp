#include "algorithms/titlecheck.h"

#include "algorithms/conversions.h"
#include "algorithms/eialgorithm.h"
#include "algorithms/errorguard.h"
#include "algorithms/imagebasics.h"
#include "algorithms/regionfill.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>

namespace {

// A title this wide in pixels of a 200-dpi page is long enough on any page.
constexpr double longEnoughAt200Dpi = 140.0;
// Darker than the mean of this window by the offset below is print. The
// window reaches past a stroke's soft edge onto the paper beside it, so
// the light or blurred print of a photo or a low-resolution scan counts
// along its whole stroke, not in a few specks that are then dropped.
constexpr int printWindow = 5;
constexpr double printOffset = 10.0;

// The width above which a title always passes: the same length of print
// on a page of lower resolution, never more pixels than on a 200-dpi page.
double longEnoughTitle(const cv::Size& page)
{
    return longEnoughAt200Dpi * std::min(1.0, pageDpi(QSize(page.width, page.height)) / 200.0);
}

} // namespace

int checkTitle(const QPixmap& page, const QRectF& frame, QRectF* titleRect, bool frontFace)
{
    return guardStandardSilently<int>(TitleCheck::Failed, [&] {
        const QImage pageImage = page.toImage();
        // Read in place: of the page only the frame and the title's search
        // bands are ever looked at.
        const cv::Mat pageMat = viewOfImage(pageImage);

        cv::Mat crop = cropPage(page, frame);
        convertToGray(crop, crop);
        if (isBlankRegion(crop))
            return int(TitleCheck::Blank);

        // A frame reaching past the page edge is tightened on its part on
        // the page, as the crop above is.
        const cv::Rect onPage = clipToImage(qRectFToCvRect(frame), pageMat.size());
        cv::Rect outline;
        if (!getIconOutLine(cropView(pageMat, onPage), &outline))
            return int(TitleCheck::Blank);
        outline.x += onPage.x;
        outline.y += onPage.y;
        if (titleRect)
            *titleRect = cvRectToQRectF(outline);
        if (!frontFace)
            return int(TitleCheck::Accepted);

        // A landscape page holds two columns of print, so its title may be
        // narrower in proportion.
        const double ratio = pageMat.cols > pageMat.rows ? 0.0995 : 0.1333;
        if (pageMat.cols * ratio > outline.width && outline.width < longEnoughTitle(pageMat.size()))
            return int(TitleCheck::TooShort);

        const cv::Mat title = pageMat(outline);
        EIAlgorithm algorithm;
        return algorithm.correctTitle4Positive({pageMat}, title, outline) ? int(TitleCheck::Accepted)
                                                                          : int(TitleCheck::Failed);
    });
}

bool getIconOutLine(const cv::Mat& region, cv::Rect* outline)
{
    return guardStandard("getIconOutLine -> ", LogError, false, [&] {
        cv::Mat work;
        convertToGray(region, work);
        cv::medianBlur(work, work, 3);
        cv::adaptiveThreshold(work, work, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY_INV, printWindow,
                              printOffset);
        regionFill(work, work, 8, 1, 0);
        cv::morphologyEx(work, work, cv::MORPH_DILATE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)),
                         cv::Point(-1, -1), 1, cv::BORDER_CONSTANT, cv::morphologyDefaultBorderValue());
        const cv::Rect box = cv::boundingRect(work);
        if (box.width <= 0 || box.height <= 0)
            return false;
        *outline = box;
        return true;
    });
}
