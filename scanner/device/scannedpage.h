#pragma once

#include <QByteArray>

#include <sane/sane.h>

#include <functional>

// One page as read from a scanner: 8-bit samples, rows top to bottom with
// no padding, one sample per pixel (grey) or three (red, green, blue).
struct ScannedPage
{
    int width = 0;
    int height = 0;
    int channels = 0;
    QByteArray samples;
};

// What a device may announce before a frame is refused, so a confused or
// hostile backend cannot make the program allocate without bound. A3 at
// 1200 dpi is about 14,000 by 19,900 pixels.
constexpr int maxPixelsPerLine = 30000;
constexpr int maxLinesPerPage = 30000;
constexpr qint64 maxBytesPerPage = qint64(1) << 30;

// How the reader of a page hears from, and tells, whoever runs it. All on
// the reader's own thread: SANE is only ever called from one.
struct ReadWatch
{
    // Asked between reads: true stops the frame (SANE_STATUS_CANCELLED).
    std::function<bool()> stopRequested;
    // sane_start returned: the frame's bytes are awaited from now on.
    std::function<void()> frameStarted;
    // Bytes of the frame came.
    std::function<void()> bytesCame;
    // Frames wider or longer than this are refused before any buffer is
    // made for them; 0 leaves only the limits above.
    int maxSidePixels = 0;
};

// Starts one frame (sane_start) and reads it whole. Grey frames of depth 1,
// 8 or 16 and colour frames of depth 8 or 16 become 8-bit pages. Returns
// SANE_STATUS_GOOD with the page, or the status that stopped it:
// SANE_STATUS_CANCELLED as soon as a stop is asked for, SANE_STATUS_NO_DOCS
// for an empty feeder, SANE_STATUS_UNSUPPORTED for a frame it cannot take,
// SANE_STATUS_NO_MEM past the limits above, SANE_STATUS_IO_ERROR for a
// frame that ended before its first line, or the device's own status.
SANE_Status readPage(SANE_Handle handle, const ReadWatch& watch, ScannedPage& page);
