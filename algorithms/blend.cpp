#include "algorithms/blend.h"

void overlayBlend(const cv::Mat& a, const cv::Mat& b, cv::Mat& out)
{
    // The bytes are walked as plain arrays, so the layouts must match too.
    if (a.size() != b.size() || b.size() != out.size() || a.type() != b.type() || b.type() != out.type()
        || b.depth() != CV_8U)
        return;

    int rows = b.rows;
    int bytesPerRow = b.cols * b.channels();
    if (a.isContinuous() && b.isContinuous() && out.isContinuous()) {
        bytesPerRow *= rows;
        rows = 1;
    }
#pragma omp parallel for schedule(static)
    for (int y = 0; y < rows; ++y) {
        const uchar* pa = a.ptr<uchar>(y);
        const uchar* pb = b.ptr<uchar>(y);
        uchar* po = out.ptr<uchar>(y);
        for (int i = 0; i < bytesPerRow; ++i) {
            const double va = pa[i];
            const double vb = pb[i];
            const double v = vb > 128.0 ? 255.0 - (255.0 - vb) * (255.0 - va) / 128.0 : va * vb / 255.0;
            po[i] = static_cast<uchar>(v);
        }
    }
}
