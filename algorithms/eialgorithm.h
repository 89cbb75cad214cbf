#pragma once

// Finding a framed title again in bands of its page, as the page lies and
// turned by 180 degrees.

#include <QObject>

#include <opencv2/core.hpp>

#include <vector>

class EIAlgorithm : public QObject
{
    Q_OBJECT

public:
    explicit EIAlgorithm(QObject* parent = nullptr);
    ~EIAlgorithm() override;

    // True when `title`, the page view at `titleRect`, is found in the band
    // around `titleRect` of the pages, each searched as it lies and turned
    // by 180 degrees. The band is two title widths by three title heights,
    // moved onto the page where it would leave it.
    bool correctTitle4Positive(const std::vector<cv::Mat>& pages, const cv::Mat& title, const cv::Rect& titleRect);

    // True when at least `minGoodMatches` SIFT matches of `title` in `scene`
    // agree on one homography that neither shrinks nor grows the title's
    // area by more than a factor of two.
    bool matchTitle(const cv::Mat& scene, const cv::Mat& title, int minGoodMatches);
};
