#include "scanner/device/scannedpage.h"

#include "scanner/device/sanecalls.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

// Large enough that a page needs few calls, small enough that a cancel is
// seen within one chunk.
constexpr int readChunk = 256 * 1024;

// The first buffer of a page; larger pages grow it as their bytes arrive.
constexpr qint64 firstAllocation = qint64(64) << 20;

// Some backends answer "nothing yet" instead of waiting for data.
void waitForData()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

struct FrameShape
{
    int width = 0;
    int channels = 0;
    int depth = 0;
    int bytesPerLine = 0;
    int lines = 0; // -1: the device does not know in advance
};

SANE_Status checkParameters(const SANE_Parameters& p, int maxSide, FrameShape& shape)
{
    if (p.format == SANE_FRAME_GRAY)
        shape.channels = 1;
    else if (p.format == SANE_FRAME_RGB)
        shape.channels = 3;
    else
        return SANE_STATUS_UNSUPPORTED; // three-pass colour
    if (!(p.depth == 8 || p.depth == 16 || (p.depth == 1 && shape.channels == 1)))
        return SANE_STATUS_UNSUPPORTED;
    if (p.pixels_per_line < 1 || p.pixels_per_line > maxPixelsPerLine)
        return SANE_STATUS_NO_MEM;
    if (p.lines == 0 || p.lines < -1 || p.lines > maxLinesPerPage)
        return SANE_STATUS_NO_MEM;
    if (maxSide > 0 && (p.pixels_per_line > maxSide || p.lines > maxSide))
        return SANE_STATUS_NO_MEM;
    const qint64 needed = p.depth == 1 ? (qint64(p.pixels_per_line) + 7) / 8
                                       : qint64(p.pixels_per_line) * shape.channels * (p.depth / 8);
    // A line may carry padding, but not more than a whole second line's worth.
    if (p.bytes_per_line < needed || p.bytes_per_line > 2 * needed + 64)
        return SANE_STATUS_UNSUPPORTED;
    shape.width = p.pixels_per_line;
    shape.depth = p.depth;
    shape.bytesPerLine = p.bytes_per_line;
    shape.lines = p.lines;
    return SANE_STATUS_GOOD;
}

// Reads until the end of the frame into `raw`; returns how many bytes came.
SANE_Status readFrame(SANE_Handle handle, const ReadWatch& watch, const FrameShape& shape, QByteArray& raw,
                      qint64& received)
{
    const int maxLines = watch.maxSidePixels > 0 ? std::min(watch.maxSidePixels, maxLinesPerPage) : maxLinesPerPage;
    const qint64 limit = std::min<qint64>(maxBytesPerPage, qint64(maxLines) * shape.bytesPerLine);
    // The announced height is only a first guess: feeders that measure the
    // paper send more or fewer lines.
    // Nor is it trusted with memory before the bytes come: growth follows them.
    const qint64 capacity = shape.lines > 0 ? qint64(shape.lines) * shape.bytesPerLine : qint64(64) * shape.bytesPerLine;
    raw.resize(int(std::min({capacity, limit, firstAllocation})));
    received = 0;
    for (;;) {
        if (watch.stopRequested && watch.stopRequested())
            return SANE_STATUS_CANCELLED;
        SANE_Int length = 0;
        if (received == raw.size()) {
            // Usually the frame is over exactly here; ask with a small
            // buffer before growing a page-sized one.
            SANE_Byte probe[4096];
            const SANE_Status status = sanecall::read(handle, probe, sizeof probe, &length);
            if (status == SANE_STATUS_EOF)
                return SANE_STATUS_GOOD;
            if (status != SANE_STATUS_GOOD)
                return status;
            if (length < 0 || length > SANE_Int(sizeof probe))
                return SANE_STATUS_IO_ERROR;
            if (length == 0) {
                waitForData();
                continue;
            }
            if (watch.bytesCame)
                watch.bytesCame();
            if (received + length > limit)
                return SANE_STATUS_NO_MEM;
            const qint64 grown = std::max<qint64>(received + length, received + received / 2 + shape.bytesPerLine);
            raw.resize(int(std::min(grown, limit)));
            std::memcpy(raw.data() + received, probe, size_t(length));
            received += length;
            continue;
        }
        const int room = int(std::min<qint64>(readChunk, raw.size() - received));
        const SANE_Status status =
            sanecall::read(handle, reinterpret_cast<SANE_Byte*>(raw.data() + received), room, &length);
        if (status == SANE_STATUS_EOF)
            return SANE_STATUS_GOOD;
        if (status != SANE_STATUS_GOOD)
            return status;
        if (length < 0 || length > room)
            return SANE_STATUS_IO_ERROR;
        if (length == 0)
            waitForData();
        else if (watch.bytesCame)
            watch.bytesCame();
        received += length;
    }
}

// Turns the frame's lines into 8-bit samples without padding.
void convert(const FrameShape& shape, const QByteArray& raw, int lines, ScannedPage& page)
{
    const int rowSamples = shape.width * shape.channels;
    page.width = shape.width;
    page.height = lines;
    page.channels = shape.channels;
    page.samples.resize(int(qint64(rowSamples) * lines));
    for (int y = 0; y < lines; ++y) {
        const auto* in = reinterpret_cast<const uchar*>(raw.constData()) + qint64(y) * shape.bytesPerLine;
        auto* out = reinterpret_cast<uchar*>(page.samples.data()) + qint64(y) * rowSamples;
        if (shape.depth == 8) {
            std::memcpy(out, in, size_t(rowSamples));
        } else if (shape.depth == 16) {
            // Sixteen-bit samples come in the machine's byte order.
            for (int i = 0; i < rowSamples; ++i) {
                quint16 sample;
                std::memcpy(&sample, in + 2 * i, sizeof sample);
                out[i] = uchar(sample >> 8);
            }
        } else {
            // Line art: a set bit is black.
            for (int x = 0; x < shape.width; ++x)
                out[x] = (in[x / 8] & (0x80 >> (x % 8))) ? 0 : 255;
        }
    }
}

} // namespace

SANE_Status readPage(SANE_Handle handle, const ReadWatch& watch, ScannedPage& page)
{
    SANE_Status status = sanecall::start(handle);
    if (status != SANE_STATUS_GOOD)
        return status;
    if (watch.frameStarted)
        watch.frameStarted();
    if (watch.stopRequested && watch.stopRequested())
        return SANE_STATUS_CANCELLED;

    SANE_Parameters parameters;
    status = sanecall::getParameters(handle, &parameters);
    if (status != SANE_STATUS_GOOD)
        return status;
    FrameShape shape;
    status = checkParameters(parameters, watch.maxSidePixels, shape);
    if (status != SANE_STATUS_GOOD)
        return status;

    QByteArray raw;
    qint64 received = 0;
    status = readFrame(handle, watch, shape, raw, received);
    if (status != SANE_STATUS_GOOD)
        return status;
    const int lines = int(received / shape.bytesPerLine);
    if (lines < 1)
        return SANE_STATUS_IO_ERROR;
    // Line art grows eightfold on the way to 8-bit samples.
    if (qint64(shape.width) * shape.channels * lines > maxBytesPerPage)
        return SANE_STATUS_NO_MEM;
    convert(shape, raw, lines, page);
    return SANE_STATUS_GOOD;
}
