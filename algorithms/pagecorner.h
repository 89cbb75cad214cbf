#pragma once

// The check every intake page passes: the sheet's outline is found, a
// folded or torn corner refuses the page on request, and the sheet is
// straightened, cut out and stretched to the project's page size.

#include <QPixmap>

#include <opencv2/core.hpp>

#include <vector>

// On true *page holds the rectified grey page of width x height; on false
// (no sheet found, a corner missing while fourCornersRequired (a fold of
// about 3 mm or more, at the resolution width x height tells), or an error
// of the image library, which is logged) *page is unchanged. colourFilter
// drops everything up to mid grey, for sheets printed in red. Safe to call
// for different pages from several threads at once.
bool checkPageCorner(QPixmap* page, int width, int height, bool colourFilter, bool fourCornersRequired);

// The index of the contour with the greatest area, the lowest such index
// on a tie; -1 when there is none.
int largestContourIndex(const std::vector<std::vector<cv::Point>>& contours);

// Sets to 255 every pixel of a grey image (CV_8UC1; anything else raises
// cv::Exception) brighter than 95 % of its mean, unless the image is
// already brighter than 240 on average. The middle row and column of an
// odd-sized image are left alone.
void whitenBrightPixels(cv::Mat& image);
