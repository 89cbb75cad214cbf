#include "scanner/device/bmpfile.h"

#include "scanner/device/scannedpage.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {

constexpr int fileHeaderSize = 14;
constexpr int infoHeaderSize = 40;

void put16(uchar*& at, quint16 value)
{
    qToLittleEndian(value, at);
    at += 2;
}

void put32(uchar*& at, quint32 value)
{
    qToLittleEndian(value, at);
    at += 4;
}

} // namespace

QByteArray encodeBmp(const ScannedPage& page, double dotsPerInch)
{
    if (page.width <= 0 || page.height <= 0 || (page.channels != 1 && page.channels != 3))
        return QByteArray();
    const bool grey = page.channels == 1;
    const qint64 rowSamples = qint64(page.width) * page.channels;
    if (page.samples.size() < rowSamples * page.height)
        return QByteArray();

    const qint64 stride = (rowSamples + 3) & ~qint64(3);
    const qint64 paletteSize = grey ? 256 * 4 : 0;
    const qint64 offset = fileHeaderSize + infoHeaderSize + paletteSize;
    const qint64 fileSize = offset + stride * page.height;
    if (fileSize > 0x7fffff00)
        return QByteArray();
    const quint32 pixelsPerMetre = dotsPerInch > 0 ? quint32(std::lround(dotsPerInch / 0.0254)) : 0;

    uchar header[fileHeaderSize + infoHeaderSize + 256 * 4] = {};
    uchar* at = header;
    *at++ = 'B';
    *at++ = 'M';
    put32(at, quint32(fileSize));
    put32(at, 0);
    put32(at, quint32(offset));

    put32(at, infoHeaderSize);
    put32(at, quint32(page.width));
    put32(at, quint32(page.height)); // positive: bottom row first
    put16(at, 1);
    put16(at, grey ? 8 : 24);
    put32(at, 0); // no compression
    put32(at, quint32(stride * page.height));
    put32(at, pixelsPerMetre);
    put32(at, pixelsPerMetre);
    put32(at, grey ? 256 : 0);
    put32(at, 0);

    if (grey) {
        for (int level = 0; level < 256; ++level) {
            *at++ = uchar(level);
            *at++ = uchar(level);
            *at++ = uchar(level);
            *at++ = 0;
        }
    }

    QByteArray file(int(fileSize), '\0');
    std::memcpy(file.data(), header, size_t(offset));
    uchar* pixels = reinterpret_cast<uchar*>(file.data()) + offset;
    const auto* samples = reinterpret_cast<const uchar*>(page.samples.constData());
    for (int y = 0; y < page.height; ++y) {
        const uchar* in = samples + qint64(page.height - 1 - y) * rowSamples;
        uchar* out = pixels + qint64(y) * stride;
        if (grey) {
            std::memcpy(out, in, size_t(rowSamples));
        } else {
            // BMP keeps blue first.
            for (int x = 0; x < page.width; ++x) {
                out[3 * x] = in[3 * x + 2];
                out[3 * x + 1] = in[3 * x + 1];
                out[3 * x + 2] = in[3 * x];
            }
        }
    }
    return file;
}
