#include "tests/support/picturefiles.h"

#include <QBuffer>
#include <QFile>

namespace testsupport {

namespace {

// Where the marker `code` (its second byte) starts, walking the JPEG's
// segments from the start; -1 when there is none before the data.
int segmentOffset(const QByteArray& jpeg, unsigned char code)
{
    int at = 2;
    while (at + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF) {
        const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
        if (marker == code)
            return at;
        if (marker == 0xDA)
            return -1;
        const int length = (static_cast<unsigned char>(jpeg[at + 2]) << 8) | static_cast<unsigned char>(jpeg[at + 3]);
        at += 2 + length;
    }
    return -1;
}

} // namespace

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray jpegDeclaring(int width, int height)
{
    QImage tiny(16, 16, QImage::Format_RGB32);
    tiny.fill(Qt::gray);
    QByteArray jpeg = encoded(tiny, "jpg");
    const int frame = segmentOffset(jpeg, 0xC0);   // baseline frame: FF C0, length, precision, height, width
    if (frame < 0)
        return QByteArray();
    jpeg[frame + 5] = static_cast<char>(height >> 8);
    jpeg[frame + 6] = static_cast<char>(height & 0xFF);
    jpeg[frame + 7] = static_cast<char>(width >> 8);
    jpeg[frame + 8] = static_cast<char>(width & 0xFF);
    return jpeg;
}

QByteArray jpegWithCorruptData(const QImage& image)
{
    QByteArray jpeg = encoded(image, "jpg");
    const int scan = segmentOffset(jpeg, 0xDA);
    if (scan < 0)
        return QByteArray();
    const int middle = scan + (jpeg.size() - scan) / 2;
    jpeg[middle] = static_cast<char>(0xFF);
    jpeg[middle + 1] = static_cast<char>(0xD4);   // a restart marker where none belongs
    return jpeg;
}

bool resetPeakMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

qint64 peakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

} // namespace testsupport
