#include "algorithms/eialgorithm.h"

#include "algorithms/errorguard.h"

#include <opencv2/calib3d.hpp>
#include <opencv2/features2d.hpp>
#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <exception>

namespace {

// The size, in pixels, down to which a title is brought before its key
// points are found: this high, or this wide if that is larger.
constexpr int titleFeatureHeight = 40;
constexpr int titleFeatureWidth = 320;
// Key points kept of the title.
constexpr int titleFeatures = 400;
// The scene is counted in title-sized areas up to this many: two bands of
// two by three titles.
constexpr double maxSceneAreas = 12.0;

// Twice the title's width (at most the page's), centred on the title, and
// one title height above and below it.
cv::Rect titleSearchBand(const cv::Rect& titleRect, const cv::Size& titleSize, const cv::Size& page)
{
    const int bandWidth = 2 * titleRect.width < page.width ? 2 * titleRect.width : page.width;
    const double left = titleRect.x - 0.5 * titleSize.width;
    // A band that would pass the right edge is pulled back onto the page, so
    // it still holds the title rather than some other part of the page.
    int bandX = 0;
    if (left > 0 && bandWidth < page.width)
        bandX = std::min(static_cast<int>(left), page.width - bandWidth);
    // So is a band that would pass the top or bottom edge: a title printed
    // close to the paper's edge is still found where it is.
    const int bandHeight = std::min(3 * titleSize.height, page.height);
    const int bandY = std::clamp(titleRect.y - titleSize.height, 0, page.height - bandHeight);
    return cv::Rect(bandX, bandY, bandWidth, bandHeight);
}

} // namespace

EIAlgorithm::EIAlgorithm(QObject* parent)
    : QObject(parent)
{
}

EIAlgorithm::~EIAlgorithm() = default;

bool EIAlgorithm::correctTitle4Positive(const std::vector<cv::Mat>& pages, const cv::Mat& title,
                                        const cv::Rect& titleRect)
{
    return guardImageLibraryThenStandard("correctTitle4Positive -> ", LogFatal, false, [&] {
        if (pages.empty())
            return false;
        const cv::Mat& first = pages.front();
        if (titleRect.x < 0 || titleRect.y < 0 || titleRect.x + titleRect.width >= first.cols
            || titleRect.y + titleRect.height >= first.rows)
            return false;

        cv::Size smallest = first.size();
        for (const cv::Mat& page : pages) {
            smallest.width = std::min(smallest.width, page.cols);
            smallest.height = std::min(smallest.height, page.rows);
        }
        const cv::Rect band = titleSearchBand(titleRect, title.size(), smallest);

        std::vector<cv::Mat> bands;
        bands.reserve(2 * pages.size());
        for (const cv::Mat& page : pages) {
            if (band.x < 0 || band.y < 0 || band.x + band.width > page.cols || band.y + band.height > page.rows)
                return false;
            bands.push_back(page(band).clone());
            // The band of the page turned by 180 degrees is the mirrored band
            // turned on its own: the same pixels without turning the page.
            const cv::Rect mirrored(page.cols - band.x - band.width, page.rows - band.y - band.height, band.width,
                                    band.height);
            cv::Mat turned;
            cv::flip(page(mirrored), turned, -1);
            bands.push_back(turned);
        }
        cv::Mat scene;
        cv::vconcat(bands, scene);
        return matchTitle(scene, title, 15);
    });
}

bool EIAlgorithm::matchTitle(const cv::Mat& scene, const cv::Mat& title, int minGoodMatches)
{
    return guardImageLibrary("title err: ", LogFatal, false, [&] {
        if (scene.empty() || title.empty())
            return false;

        // Key points are found on the title and the scene brought down to
        // the resolution the title needs: a line of print 40 pixels high
        // still gives hundreds of them, while the work grows with the area.
        // A short title keeps its size, so it keeps its key points.
        cv::Mat titleImage = title;
        cv::Mat sceneImage = scene;
        const double scale = std::max(static_cast<double>(titleFeatureHeight) / title.rows,
                                      static_cast<double>(titleFeatureWidth) / title.cols);
        if (scale < 1.0) {
            cv::resize(title, titleImage, cv::Size(), scale, scale, cv::INTER_AREA);
            cv::resize(scene, sceneImage, cv::Size(), scale, scale, cv::INTER_AREA);
        }

        // The scene is many times the title's area, and the print around
        // the title (or at the page's other end, in the turned band) must
        // not crowd the title's own key points out of it: the scene keeps
        // as many per title-sized area as the title keeps in all.
        const double sceneAreas = std::ceil(static_cast<double>(sceneImage.total()) / titleImage.total());
        const int sceneFeatures = static_cast<int>(std::min(sceneAreas, maxSceneAreas)) * titleFeatures;
        const cv::Ptr<cv::SIFT> titleSift = cv::SIFT::create(titleFeatures, 3, 0.04, 10.0, 1.6);
        const cv::Ptr<cv::SIFT> sceneSift = cv::SIFT::create(sceneFeatures, 3, 0.04, 10.0, 1.6);
        std::vector<cv::KeyPoint> titleKeys, sceneKeys;
        cv::Mat titleDescriptors, sceneDescriptors;
        // Title and scene are described side by side, each on one thread:
        // the image library runs the loops nested in its own parallel loop
        // one after the other, which on a busy machine is far quicker than
        // spreading each image's many short loops over every core. The
        // calling thread takes the first, larger part, the scene. An
        // exception must not leave the loop: each image keeps its own and
        // the title's is raised first after the join.
        std::exception_ptr titleError, sceneError;
        cv::parallel_for_(
            cv::Range(0, 2),
            [&](const cv::Range& images) {
                for (int i = images.start; i < images.end; ++i) {
                    try {
                        if (i == 0)
                            sceneSift->detectAndCompute(sceneImage, cv::noArray(), sceneKeys, sceneDescriptors);
                        else
                            titleSift->detectAndCompute(titleImage, cv::noArray(), titleKeys, titleDescriptors);
                    } catch (...) {
                        (i == 0 ? sceneError : titleError) = std::current_exception();
                    }
                }
            },
            2);
        if (titleError)
            std::rethrow_exception(titleError);
        if (sceneError)
            std::rethrow_exception(sceneError);

        std::vector<cv::DMatch> matches;
        if (!titleDescriptors.empty() && !sceneDescriptors.empty())
            cv::BFMatcher(cv::NORM_L2, false).match(titleDescriptors, sceneDescriptors, matches);
        // Fewer matches than asked for can never give enough inliers; a
        // homography of under four points would only raise an error.
        if (matches.size() < static_cast<size_t>(std::max(minGoodMatches, 4)))
            return false;

        std::vector<cv::Point2f> titlePoints, scenePoints;
        for (const cv::DMatch& match : matches) {
            titlePoints.push_back(titleKeys[match.queryIdx].pt);
            scenePoints.push_back(sceneKeys[match.trainIdx].pt);
        }
        cv::Mat inliers = cv::Mat::zeros(static_cast<int>(matches.size()), 1, CV_8U);
        cv::findHomography(titlePoints, scenePoints, cv::RANSAC, 3.0, inliers, 2000, 0.995);

        std::vector<cv::DMatch> good;
        for (size_t i = 0; i < matches.size(); ++i)
            if (!inliers.empty() && inliers.at<uchar>(static_cast<int>(i)))
                good.push_back(matches[i]);
        if (good.size() < static_cast<size_t>(minGoodMatches))
            return false;

        titlePoints.clear();
        scenePoints.clear();
        for (const cv::DMatch& match : good) {
            titlePoints.push_back(titleKeys[match.queryIdx].pt);
            scenePoints.push_back(sceneKeys[match.trainIdx].pt);
        }
        const cv::Mat homography = cv::findHomography(titlePoints, scenePoints, cv::RANSAC, 3.0, cv::noArray(), 2000, 0.995);
        if (homography.empty())
            return false;

        const float w = static_cast<float>(titleImage.cols);
        const float h = static_cast<float>(titleImage.rows);
        const std::vector<cv::Point2f> corners = {{0, 0}, {w, 0}, {w, h}, {0, h}};
        std::vector<cv::Point2f> mapped;
        cv::perspectiveTransform(corners, mapped, homography);

        // Signed areas over the first-to-third-corner diagonal: a turned
        // title keeps its sign, a mirrored fit flips it and still counts.
        const double titleArea = static_cast<float>((corners[2].x - corners[0].x) * (corners[2].y - corners[0].y));
        const double sceneArea = static_cast<float>((mapped[2].x - mapped[0].x) * (mapped[2].y - mapped[0].y));
        const double ratio = sceneArea / titleArea;
        if (std::fabs(ratio) < 0.5 || std::fabs(ratio) > 2.0 || std::fabs(titleArea) < 10.0)
            return false;
        return true;
    });
}
