#include "algorithms/blend.h"

#include <array>

namespace {

using BlendTable = std::array<std::array<uchar, 256>, 256>;

// The blend of every pair of bytes, worked out once in doubles as the
// formula has it, so a whole page costs one lookup a byte.
const BlendTable& blendTable()
{
    static const BlendTable table = [] {
        BlendTable values{};
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                const double va = a;
                const double vb = b;
                const double v = vb > 128.0 ? 255.0 - (255.0 - vb) * (255.0 - va) / 128.0 : va * vb / 255.0;
                values[static_cast<size_t>(a)][static_cast<size_t>(b)] = static_cast<uchar>(v);
            }
        }
        return values;
    }();
    return table;
}

} // namespace

void overlayBlend(const cv::Mat& a, const cv::Mat& b, cv::Mat& out)
{
    // The bytes are walked as plain arrays, so the layouts must match too.
    if (a.size() != b.size() || b.size() != out.size() || a.type() != b.type() || b.type() != out.type()
        || b.depth() != CV_8U)
        return;

    // Row by row, so the rows spread over the workers.
    const int rows = b.rows;
    const int bytesPerRow = b.cols * b.channels();
    const BlendTable& table = blendTable();
#pragma omp parallel for schedule(static)
    for (int y = 0; y < rows; ++y) {
        const uchar* pa = a.ptr<uchar>(y);
        const uchar* pb = b.ptr<uchar>(y);
        uchar* po = out.ptr<uchar>(y);
        for (int i = 0; i < bytesPerRow; ++i)
            po[i] = table[pa[i]][pb[i]];
    }
}
