#pragma once

#include <QByteArray>

struct ScannedPage;

// The page as the bytes of a BMP file: 8-bit with a grey palette for one
// channel, 24-bit for three, stored bottom-up as BMP readers expect, with
// the scan resolution in its header. Empty for an empty page.
QByteArray encodeBmp(const ScannedPage& page, double dotsPerInch);
