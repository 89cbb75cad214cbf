#pragma once

#include <QImage>
#include <QString>

// The one way the program reads a picture file: sheet images on intake and
// the page pictures of a saved template.

// The largest picture a file may ask for. A 200 dpi A3 scan is about
// 3,300 × 2,300 pixels; these leave room for 600 dpi while keeping a
// forged header from asking for gigabytes.
constexpr int maxPictureSide = 12000;
constexpr qint64 maxPicturePixels = 150000000;

enum class PictureFault {
    None,
    Unreadable,   // missing, not a picture, or a kind the program does not take
    TooLarge,     // declares more pixels than the limits above
    Damaged,      // cut short, or the decoder complained about its data
};

struct Picture
{
    QImage image;   // null unless fault is None
    PictureFault fault = PictureFault::Unreadable;
    QByteArray format;   // the decoder's name for the kind read ("jpeg", "png"...)
};

// Reads the picture at `path`: the kind from its first bytes, whatever
// its name says (JPEG, PNG, BMP, TIFF or GIF), the declared size from its
// header before any pixel is allocated, then one decode. Nothing goes
// through Qt's pixmap cache. A picture with transparency comes back
// flattened onto white, as it would look printed. Safe to call from
// several threads at once. A refusal is logged with its reason.
Picture readPicture(const QString& path);
