#pragma once

#include <opencv2/core.hpp>

// Overlay tone blend of two 8-bit images of equal size and type into
// `out`, byte by byte. With `a` all zero, as the checks use it, it is a
// contrast curve: everything at or below 128 becomes 0 and the bright half
// is stretched (150 -> 45, 200 -> 145, 230 -> 205). `out` may be `b`.
// Does nothing when the three differ in size or type or are not 8-bit.
void overlayBlend(const cv::Mat& a, const cv::Mat& b, cv::Mat& out);
