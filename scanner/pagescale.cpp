#include "scanner/pagescale.h"

#include "scanner/scannedpage.h"

#include <cmath>
#include <vector>

namespace {

// The source spans that each target sample averages: [first[i], first[i + 1]),
// never empty, so enlarging repeats samples and shrinking averages them.
std::vector<int> spans(int source, int target)
{
    std::vector<int> first(size_t(target) + 1);
    for (int i = 0; i <= target; ++i)
        first[size_t(i)] = int(qint64(i) * source / target);
    for (int i = 0; i < target; ++i)
        if (first[size_t(i) + 1] <= first[size_t(i)])
            first[size_t(i) + 1] = qMin(first[size_t(i)] + 1, source);
    for (int i = 0; i < target; ++i)
        if (first[size_t(i)] >= source)
            first[size_t(i)] = source - 1;
    return first;
}

} // namespace

void scaleToResolution(ScannedPage& page, double fromDpi, double toDpi)
{
    if (fromDpi <= 0 || toDpi <= 0 || std::abs(fromDpi - toDpi) < 0.5 || page.samples.isEmpty())
        return;
    const int width = qMax(1, int(std::lround(page.width * toDpi / fromDpi)));
    const int height = qMax(1, int(std::lround(page.height * toDpi / fromDpi)));
    const int channels = page.channels;
    const std::vector<int> columns = spans(page.width, width);
    const std::vector<int> rows = spans(page.height, height);

    // Box averaging straight from the 8-bit samples: no wider copy of a
    // page that may be nine times the size of the result.
    QByteArray samples(int(qint64(width) * height * channels), Qt::Uninitialized);
    const auto* in = reinterpret_cast<const uchar*>(page.samples.constData());
    auto* out = reinterpret_cast<uchar*>(samples.data());
    const qint64 inRow = qint64(page.width) * channels;
    std::vector<quint32> sums(size_t(width) * size_t(channels));
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const int rowFirst = rows[size_t(y)];
        const int rowEnd = qMax(rows[size_t(y) + 1], rowFirst + 1);
        for (int r = rowFirst; r < rowEnd; ++r) {
            const uchar* line = in + r * inRow;
            for (int x = 0; x < width; ++x) {
                const int colEnd = qMax(columns[size_t(x) + 1], columns[size_t(x)] + 1);
                for (int c = columns[size_t(x)]; c < colEnd; ++c)
                    for (int k = 0; k < channels; ++k)
                        sums[size_t(x) * channels + k] += line[c * channels + k];
            }
        }
        uchar* target = out + qint64(y) * width * channels;
        for (int x = 0; x < width; ++x) {
            const quint32 area = quint32(rowEnd - rowFirst)
                * quint32(qMax(columns[size_t(x) + 1], columns[size_t(x)] + 1) - columns[size_t(x)]);
            for (int k = 0; k < channels; ++k)
                target[x * channels + k] = uchar((sums[size_t(x) * channels + k] + area / 2) / area);
        }
    }
    page.width = width;
    page.height = height;
    page.samples = std::move(samples);
}
