// The parts of the scanner layer that need no device: the names the
// operator chooses from, the feeder entry and resolution a scan asks for,
// the BMP file a page becomes and the folder it goes to; what the scanner
// process says and how long a device may keep silent.

#include "tests/support/testsupport.h"

#include "scanner/device/bmpfile.h"
#include "scanner/device/resolution.h"
#include "scanner/device/sanecalls.h"
#include "scanner/device/saneoptions.h"
#include "scanner/device/sanesources.h"
#include "scanner/device/scannedpage.h"
#include "scanner/protocol/scanprotocol.h"
#include "scanner/scanfolder.h"
#include "scanner/stallwatch.h"

#include <QDir>
#include <QImage>
#include <QStandardPaths>
#include <QtEndian>

#include <gtest/gtest.h>

TEST(ScannerNames, takeTheModelAndAddOnlyWhatTellsTwoApartKeepingTheDevicesBytes)
{
    // Latin-1 bytes from a backend are not UTF-8: a trip through QString
    // would change them, so the names stay bytes.
    const char* accented = "Sc\xe4nner 9";
    const SANE_Device office{"net:10.0.0.5:fujitsu:fi-7160", "Fujitsu", "fi-7160", "sheetfed scanner"};
    const SANE_Device shared1{"epson2:libusb:001:004", "Epson", "DS-530", "sheetfed scanner"};
    const SANE_Device shared2{"epsonds:libusb:001:004", "Epson", "DS-530", "sheetfed scanner"};
    const SANE_Device sameModel{"canon_dr:libusb:002:003", "Canon", "DS-530", "sheetfed scanner"};
    const SANE_Device latin{"hp:/dev/usb/lp0", "HP", accented, "flatbed scanner"};
    const SANE_Device* const devices[] = {&office, &shared1, &shared2, &sameModel, &latin, nullptr};

    const QList<scanprotocol::Source> sources = namedSources(devices);
    ASSERT_EQ(sources.size(), 5);
    EXPECT_EQ(sources[0].productName, QByteArray("fi-7160"));
    EXPECT_EQ(sources[1].productName, QByteArray("Epson DS-530 (epson2:libusb:001:004)"));
    EXPECT_EQ(sources[2].productName, QByteArray("Epson DS-530 (epsonds:libusb:001:004)"));
    EXPECT_EQ(sources[3].productName, QByteArray("Canon DS-530"));
    EXPECT_EQ(sources[4].productName, QByteArray(accented));
    EXPECT_NE(QString::fromUtf8(sources[4].productName).toUtf8(), sources[4].productName);
    EXPECT_EQ(sources[3].deviceName, QByteArray("canon_dr:libusb:002:003"));

    EXPECT_TRUE(namedSources(nullptr).isEmpty());
}

TEST(ScannerSource, asksForADuplexFeederElseAOneSidedOneElseLeavesTheSource)
{
    const QList<QByteArray> sheetfed = {"Flatbed", "ADF Front", "ADF Back", "ADF Duplex"};
    EXPECT_EQ(saneoptions::chooseSource(sheetfed, true), QByteArray("ADF Duplex"));
    EXPECT_EQ(saneoptions::chooseSource(sheetfed, false), QByteArray("ADF Front"));

    const QList<QByteArray> testBackend = {"Flatbed", "Automatic Document Feeder"};
    EXPECT_EQ(saneoptions::chooseSource(testBackend, true), QByteArray("Automatic Document Feeder"));
    EXPECT_EQ(saneoptions::chooseSource(testBackend, false), QByteArray("Automatic Document Feeder"));

    EXPECT_TRUE(saneoptions::chooseSource({"Flatbed", "Transparency Unit"}, true).isEmpty());
    EXPECT_TRUE(saneoptions::chooseSource({}, false).isEmpty());
}

TEST(ScannerBmp, greyAndColourPagesReadBackPixelForPixelWithOddWidthsAndTheResolution)
{
    // Five pixels wide: rows need padding to four bytes in both depths.
    ScannedPage grey{5, 3, 1, QByteArray(15, '\0')};
    for (int i = 0; i < 15; ++i)
        grey.samples[i] = char(i * 17);
    const QImage greyImage = QImage::fromData(encodeBmp(grey, 200), "BMP");
    ASSERT_FALSE(greyImage.isNull());
    EXPECT_EQ(greyImage.size(), QSize(5, 3));
    EXPECT_TRUE(greyImage.isGrayscale());
    EXPECT_EQ(greyImage.dotsPerMeterX(), 7874);
    EXPECT_EQ(qGray(greyImage.pixel(0, 0)), 0);      // the first row stays on top
    EXPECT_EQ(qGray(greyImage.pixel(4, 2)), 14 * 17);

    ScannedPage colour{5, 2, 3, QByteArray(30, '\0')};
    colour.samples[0] = char(255);                    // top-left red
    colour.samples[3 * 9 + 2] = char(200);            // bottom-right blue
    const QImage colourImage = QImage::fromData(encodeBmp(colour, 300), "BMP");
    ASSERT_FALSE(colourImage.isNull());
    EXPECT_EQ(colourImage.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(colourImage.pixel(4, 1), qRgb(0, 0, 200));
    EXPECT_EQ(colourImage.dotsPerMeterY(), 11811);

    EXPECT_TRUE(encodeBmp(ScannedPage{5, 3, 1, QByteArray(10, '\0')}, 200).isEmpty()); // too few samples
    EXPECT_TRUE(encodeBmp(ScannedPage{}, 200).isEmpty());
}

TEST(ScanFolder, isBesideTheProgramWhenWritableElseInTheUsersDataFolder)
{
    QStandardPaths::setTestModeEnabled(true);
    testsupport::ScratchDir program;
    EXPECT_EQ(scanImageFolder(program.path()), program.path() + QStringLiteral("/scanImage/"));
    EXPECT_TRUE(QDir(program.file(QStringLiteral("scanImage"))).exists());

    // A "program folder" that is a file cannot hold one (read-only even for root).
    ASSERT_TRUE(testsupport::writeFile(program.file(QStringLiteral("kestrun")), "x"));
    const QString fallback = scanImageFolder(program.file(QStringLiteral("kestrun")));
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    EXPECT_EQ(fallback, data + QStringLiteral("/scanImage/"));
    EXPECT_TRUE(QDir(fallback).exists());
    QStandardPaths::setTestModeEnabled(false);
}

// Resolutions the device tests (150/300 listed, 100 or 600 only) do not show.
TEST(ScannerResolution, theSmallestAtOrAbove200ElseTheHighestBelow)
{
    auto range = [](double low, double high, double step) { return OfferedValues{true, low, high, step, {}}; };
    auto list = [](QList<double> values) { return OfferedValues{false, 0, 0, 0, values}; };
    const std::pair<OfferedValues, double> rows[] = {
        {range(50, 600, 0), 200}, {range(75, 1200, 75), 225},       {range(50, 190, 25), 175},
        {range(300, 100, 1), -1}, {list({600, 1200, 300}), 300},    {list({199.999, 300}), 199.999},
        {list({0, -5}), -1},      {list({}), -1},
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(chooseResolution(row.first, 200), row.second)
            << (row.first.isRange ? "range " : "list ") << row.first.low << ".." << row.first.high;
}

TEST(ScannerStallWatch, saneStartHasItsOwnBoundAndTheStallCountsFromTheLastByteAwaited)
{
    using Clock = StallWatch::Clock;
    using Verdict = StallWatch::Verdict;
    // Steps at milliseconds: 'p' page starting, 'f' frame started, 'b' bytes, 'i' idle.
    const struct
    {
        const char* what;
        QList<QPair<char, int>> steps;
        int at;
        Verdict verdict;
    } rows[] = {
        {"a lamp warming up", {{'p', 0}}, 900, Verdict::Fine},
        {"sane_start never returns", {{'p', 0}}, 1000, Verdict::StartTooLong},
        {"the stall counts from sane_start's return", {{'p', 0}, {'f', 800}}, 1000, Verdict::Fine},
        {"no first byte", {{'p', 0}, {'f', 800}}, 1100, Verdict::Stalled},
        {"bytes keep it going", {{'p', 0}, {'f', 100}, {'b', 350}, {'b', 600}}, 850, Verdict::Fine},
        {"then they stop", {{'p', 0}, {'f', 100}, {'b', 600}}, 900, Verdict::Stalled},
        {"bytes while idle count nothing", {{'i', 0}, {'b', 100}}, 60000, Verdict::Fine},
        {"the next page starts", {{'p', 0}, {'f', 100}, {'i', 200}, {'p', 5000}}, 5900, Verdict::Fine},
    };
    const Clock::time_point zero = Clock::now();
    for (const auto& row : rows) {
        StallWatch watch(std::chrono::milliseconds(1000), std::chrono::milliseconds(300));
        for (const auto& step : row.steps) {
            const Clock::time_point at = zero + std::chrono::milliseconds(step.second);
            switch (step.first) {
            case 'p': watch.pageStarting(at); break;
            case 'f': watch.frameStarted(at); break;
            case 'b': watch.bytesCame(at); break;
            default: watch.idle(); break;
            }
        }
        EXPECT_EQ(watch.verdict(zero + std::chrono::milliseconds(row.at)), row.verdict) << row.what;
    }
}

// What comes from outside the program is judged before it is used: frames
// and list counts from the scanner process, status words from a backend.
TEST(ScannerMessages, framesAreCutAsTheyComeAndLengthsCountsAndStatusesAreJudgedFirst)
{
    using scanprotocol::Message;
    // Two frames, fed a byte at a time, come out whole and in order.
    const QByteArray stream = scanprotocol::frame(Message::PageStarting, scanprotocol::pack(qint32(3)))
                            + scanprotocol::frame(Message::BatchDone);
    scanprotocol::FrameReader reader;
    QList<Message> messages;
    Message message;
    QByteArray body;
    for (char byte : stream) {
        ASSERT_TRUE(reader.append(&byte, 1));
        while (reader.next(message, body))
            messages.append(message);
    }
    EXPECT_EQ(messages, QList<Message>({Message::PageStarting, Message::BatchDone}));

    // A length past the bound, or none, breaks the stream once its four
    // bytes are in: no body is awaited for it.
    for (quint32 length : {quint32(scanprotocol::maxFrameBytes + 1), quint32(0xffffffff), quint32(0)}) {
        scanprotocol::FrameReader refused;
        char header[4];
        qToLittleEndian(length, header);
        EXPECT_FALSE(refused.append(header, 4)) << length;
        EXPECT_TRUE(refused.broken());
    }

    // A list claiming more entries than its bytes could hold gets no room.
    QByteArray lying = scanprotocol::pack(true, QList<scanprotocol::Source>{{"test:0", "A"}});
    qToBigEndian(quint32(1) << 30, lying.data() + 1);
    bool listed = false;
    QList<scanprotocol::Source> sources;
    EXPECT_FALSE(scanprotocol::unpack(lying, listed, sources));
    EXPECT_TRUE(sources.isEmpty());

    // A backend's answer that is no status reads as an I/O error.
    EXPECT_EQ(sanecall::statusFrom(6), SANE_STATUS_JAMMED);
    for (int answer : {12, -1, 0x7fffffff})
        EXPECT_EQ(sanecall::statusFrom(answer), SANE_STATUS_IO_ERROR) << answer;
}
