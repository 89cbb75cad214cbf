#pragma once

// Picture files as a forger or a broken transfer leaves them, and the
// process's peak memory, for the tests of the picture reader and of the
// roads that use it.

#include <QByteArray>
#include <QImage>

namespace testsupport {

// The bytes of `image` encoded as `format` ("jpg", "png", "bmp", ...).
QByteArray encoded(const QImage& image, const char* format);

// A small JPEG of a few hundred bytes whose frame header declares
// width x height pixels.
QByteArray jpegDeclaring(int width, int height);

// A JPEG whose compressed data holds an unexpected marker half-way: the
// file is whole, but the decoder complains and greys out the rest.
QByteArray jpegWithCorruptData(const QImage& image);

// Starts a new peak of the resident memory (Linux: /proc/self/clear_refs);
// false when the system does not allow it.
bool resetPeakMemory();
// The process's peak resident memory in bytes (VmHWM), -1 when unknown.
qint64 peakMemory();

} // namespace testsupport
