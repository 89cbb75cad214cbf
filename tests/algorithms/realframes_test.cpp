// Titles and lines framed on real pictures, as the intake gives the page:
// a clear printed title is taken whatever its colour, softness, resolution
// or place on the page, and one too short is refused as such. Frames
// measured by hand.

#include "algorithms/linecheck.h"
#include "algorithms/pagecorner.h"
#include "algorithms/titlecheck.h"

#include <gtest/gtest.h>

namespace {

QPixmap intakePage(const char* picture)
{
    QPixmap page(QStringLiteral(TOLLIVAR_REAL_SCANS "/") + QLatin1String(picture));
    EXPECT_TRUE(checkPageCorner(&page, page.width(), page.height(), false, false)) << picture;
    return page;
}

const char* const magenta = "magenta-print-roll-8col-booklet-7col-filled.jpg";
const char* const greyScan = "a4-300dpi-grey-scan-roll-4col-options-filled-tilted.jpg";
const char* const pinkPhoto = "phone-photo-pink-print-roll-dob-mobile-grids-pen.jpg";

} // namespace

TEST(RealFrames, clearPrintIsTakenAsTitleOrLine)
{
    const struct { const char* picture; QRectF frame; int result; } titles[] = {
        {magenta, {20, 20, 760, 26}, TitleCheck::Accepted},   // banner at the top edge
        {magenta, {376, 63, 100, 26}, TitleCheck::Accepted},  // "Main Booklet Code", soft, 93 px at 100 dpi
        {magenta, {58, 932, 684, 20}, TitleCheck::Accepted},  // light magenta sentence
        {magenta, {45, 326, 65, 20}, TitleCheck::TooShort},   // "PAPER II", 14 mm
        {greyScan, {1035, 8, 330, 56}, TitleCheck::Accepted}, // "All The Best", 2 mm below the edge
        {greyScan, {1020, 60, 450, 90}, TitleCheck::Accepted}, // "BLISS Academy" between its rules
        {"a4-200dpi-roll-grid-03.jpg", {180, 712, 760, 90}, TitleCheck::Accepted}, // dense print in the turned band
        {pinkPhoto, {720, 388, 140, 30}, TitleCheck::Accepted}, // "INSTRUCTIONS", soft photo print
        {pinkPhoto, {300, 1150, 300, 60}, TitleCheck::Blank},
        {"phone-photo-4-option-blocks-80q-pencil-few-marks.jpg", {810, 655, 135, 48}, TitleCheck::TooShort},
    };
    for (const auto& row : titles) {
        QRectF title;
        EXPECT_EQ(checkTitle(intakePage(row.picture), row.frame, &title, true), row.result)
            << row.picture << " " << row.frame.x() << "," << row.frame.y();
    }

    const struct { const char* picture; QRectF frame; bool taken; } lines[] = {
        {magenta, {15, 38, 180, 20}, true},
        {greyScan, {60, 130, 2320, 30}, true},
        {magenta, {220, 63, 124, 26}, false}, // a line of text
    };
    for (const auto& row : lines) {
        QPixmap straightened;
        QRectF frame = row.frame;
        QVector<QRectF> earlier;
        EXPECT_EQ(checkLine(intakePage(row.picture), &straightened, &frame, &earlier), row.taken)
            << row.picture << " " << row.frame.x() << "," << row.frame.y();
    }
}
