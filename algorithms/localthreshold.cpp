#include "algorithms/localthreshold.h"

#include "algorithms/errorguard.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

bool localThreshold(const cv::Mat& src, cv::Mat& dst, int kernelSize, double k, double r, int workWidth)
{
    if (kernelSize < 3)
        throw std::invalid_argument("kernelSize should be >= 3.");
    if (src.type() != CV_8UC1)
        throw std::invalid_argument("src type should be CV_8UC1.");
    if (!(r > 0.0))
        throw std::invalid_argument("r should be > 0.0.");

    return guardImageLibrarySilently(false, [&] {
        const cv::Size sourceSize = src.size();
        CV_Assert(!src.empty() && workWidth > 0);
        // A very wide, low crop would round to no rows at all.
        const int workHeight = std::max<int>(
            1, static_cast<int>(static_cast<std::int64_t>(workWidth) * src.rows / src.cols));

        cv::Mat work;
        cv::resize(src, work, cv::Size(workWidth, workHeight), 0, 0, cv::INTER_LINEAR);
        const int half = kernelSize / 2;
        const int window = 2 * half + 1;
        cv::Mat padded;
        cv::copyMakeBorder(work, padded, half, half, half, half, cv::BORDER_REFLECT);
        cv::Mat sum, squareSum;
        cv::integral(padded, sum, squareSum); // 32-bit sums, double square sums

        cv::Mat binary(work.size(), CV_8UC1);
        const double area = static_cast<double>(window) * window;
        const double inverseR = 1.0 / r;
        const int rows = work.rows;
        const int cols = work.cols;
#pragma omp parallel for schedule(static)
        for (int y = 0; y < rows; ++y) {
            const int* sumTop = sum.ptr<int>(y);
            const int* sumBottom = sum.ptr<int>(y + window);
            const double* squareTop = squareSum.ptr<double>(y);
            const double* squareBottom = squareSum.ptr<double>(y + window);
            const uchar* in = work.ptr<uchar>(y);
            uchar* out = binary.ptr<uchar>(y);
            for (int x = 0; x < cols; ++x) {
                const int s = sumBottom[x + window] + sumTop[x] - sumBottom[x] - sumTop[x + window];
                const double q = squareBottom[x + window] + squareTop[x] - squareBottom[x] - squareTop[x + window];
                const double mean = s / area;
                const double variance = q / area - mean * mean;
                const double deviation = variance > 0.0 ? std::sqrt(variance) : 0.0;
                const double level = ((deviation * inverseR - 1.0) * k + 1.0) * mean;
                out[x] = static_cast<double>(in[x]) > level ? 255 : 0;
            }
        }
        cv::resize(binary, dst, sourceSize, 0, 0, cv::INTER_LINEAR);
        return true;
    });
}
