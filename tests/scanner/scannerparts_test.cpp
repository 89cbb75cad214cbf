// The parts of the scanner layer that need no device: the names the
// operator chooses from, the feeder entry and resolution a scan asks for,
// how a page is scaled, how SANE's answers are read, the BMP file a page
// becomes and the folder it goes to; the messages between the program and
// its scanner process, and the watch for a stalled device.

#include "tests/scanner/gridsheet.h"
#include "tests/support/testsupport.h"

#include "scanner/device/bmpfile.h"
#include "scanner/device/pagescale.h"
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

#include <cmath>

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

namespace {

// 60 x 40 mm of the test backend's grid at `dpi`, `channels` samples a
// pixel (the black squares red where there are three).
ScannedPage drawnSheet(double dpi, int channels)
{
    ScannedPage page{int(std::lround(60 / 25.4 * dpi)), int(std::lround(40 / 25.4 * dpi)), channels, {}};
    page.samples.resize(page.width * page.height * channels);
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            const bool black = gridsheet::isBlack(dpi, x, y);
            for (int k = 0; k < channels; ++k)
                page.samples[(y * page.width + x) * channels + k] = char(black && !(channels == 3 && k == 0) ? 0 : 255);
        }
    }
    return page;
}

double meanDifference(const ScannedPage& a, const ScannedPage& b)
{
    double sum = 0;
    for (int i = 0; i < a.samples.size(); ++i)
        sum += std::abs(int(uchar(a.samples[i])) - int(uchar(b.samples[i])));
    return sum / a.samples.size();
}

} // namespace

TEST(ScannerPageScale, aSheetScannedAboveOrBelow200DpiMatchesTheSheetDrawnAt200)
{
    struct Row
    {
        double dpi;
        int channels;
        double largestDifference; // mean over all samples, of 255
    };
    // Enlarged pages blur each square's edge over a few pixels; shrunk
    // ones over one. A page cut and padded instead differs by half its area.
    const Row rows[] = {{100, 1, 10}, {150, 1, 8}, {150, 3, 8}, {300, 1, 4}, {600, 1, 4}, {200, 1, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dpi);
        const ScannedPage expected = drawnSheet(200, row.channels);
        ScannedPage page = drawnSheet(row.dpi, row.channels);
        scaleToResolution(page, row.dpi, 200);
        ASSERT_EQ(page.channels, row.channels);
        ASSERT_NEAR(page.width, expected.width, 1);
        ASSERT_NEAR(page.height, expected.height, 1);
        ASSERT_EQ(page.samples.size(), page.width * page.height * row.channels);
        // Compared on the common area.
        ScannedPage cut = expected;
        cut.width = qMin(page.width, expected.width);
        cut.height = qMin(page.height, expected.height);
        ScannedPage scaled = cut;
        for (int y = 0; y < cut.height; ++y) {
            for (int i = 0; i < cut.width * row.channels; ++i) {
                cut.samples[y * cut.width * row.channels + i] = expected.samples[(y * expected.width) * row.channels + i];
                scaled.samples[y * cut.width * row.channels + i] = page.samples[(y * page.width) * row.channels + i];
            }
        }
        cut.samples.truncate(cut.width * cut.height * row.channels);
        scaled.samples.truncate(cut.samples.size());
        EXPECT_LE(meanDifference(scaled, cut), row.largestDifference);
    }
}

TEST(ScannerResolution, theSmallestAtOrAbove200ElseTheHighestBelow)
{
    auto range = [](double low, double high, double step) { return OfferedValues{true, low, high, step, {}}; };
    auto list = [](QList<double> values) { return OfferedValues{false, 0, 0, 0, values}; };
    const struct
    {
        OfferedValues offered;
        double chosen;
    } rows[] = {
        {range(1, 1200, 1), 200},      {range(50, 600, 0), 200},    {range(75, 1200, 75), 225},
        {range(300, 600, 1), 300},     {range(100, 100, 0), 100},   {range(50, 190, 25), 175},
        {range(300, 100, 1), -1},      {list({150, 300}), 300},     {list({600, 1200, 300}), 300},
        {list({75, 100, 150}), 150},   {list({100}), 100},          {list({199.999, 300}), 199.999},
        {list({0, -5}), -1},           {list({}), -1},
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(chooseResolution(row.offered, 200), row.chosen)
            << (row.offered.isRange ? "range " : "list ") << row.offered.low << ".." << row.offered.high;
}

TEST(ScannerStatus, anAnswerThatIsNoStatusReadsAsAnInputOutputError)
{
    const struct
    {
        int answer;
        SANE_Status status;
    } rows[] = {{0, SANE_STATUS_GOOD},     {6, SANE_STATUS_JAMMED},   {11, SANE_STATUS_ACCESS_DENIED},
                {12, SANE_STATUS_IO_ERROR}, {-1, SANE_STATUS_IO_ERROR}, {0x7fffffff, SANE_STATUS_IO_ERROR}};
    for (const auto& row : rows)
        EXPECT_EQ(sanecall::statusFrom(row.answer), row.status) << row.answer;
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
        {"no page being read", {}, 60000, Verdict::Fine},
        {"a lamp warming up", {{'p', 0}}, 900, Verdict::Fine},
        {"sane_start never returns", {{'p', 0}}, 1000, Verdict::StartTooLong},
        {"the stall counts from sane_start's return", {{'p', 0}, {'f', 800}}, 1000, Verdict::Fine},
        {"no first byte", {{'p', 0}, {'f', 800}}, 1100, Verdict::Stalled},
        {"bytes keep it going", {{'p', 0}, {'f', 100}, {'b', 350}, {'b', 600}}, 850, Verdict::Fine},
        {"then they stop", {{'p', 0}, {'f', 100}, {'b', 350}, {'b', 600}}, 900, Verdict::Stalled},
        {"the page is stored", {{'p', 0}, {'f', 100}, {'i', 200}}, 60000, Verdict::Fine},
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

TEST(ScannerMessages, framesAreCutAsTheyComeAndLengthsAndCountsAreJudgedFirst)
{
    using scanprotocol::Message;
    const QByteArray first = scanprotocol::frame(Message::PageStarting, scanprotocol::pack(qint32(3)));
    const QByteArray second = scanprotocol::frame(Message::BatchDone);

    // Two frames, fed a byte at a time, come out whole and in order.
    scanprotocol::FrameReader reader;
    QList<Message> messages;
    const QByteArray stream = first + second;
    for (char byte : stream) {
        ASSERT_TRUE(reader.append(&byte, 1));
        Message message;
        QByteArray body;
        while (reader.next(message, body))
            messages.append(message);
    }
    EXPECT_EQ(messages, QList<Message>({Message::PageStarting, Message::BatchDone}));

    // A length past the bound, or none, breaks the stream as soon as the
    // four bytes of the length are in: no body is awaited for it.
    for (quint32 length : {quint32(scanprotocol::maxFrameBytes + 1), quint32(0xffffffff), quint32(0)}) {
        scanprotocol::FrameReader refused;
        char header[4];
        qToLittleEndian(length, header);
        EXPECT_FALSE(refused.append(header, 4)) << length;
        EXPECT_TRUE(refused.broken());
    }

    // A list that claims more entries than its bytes could hold is refused
    // before room is made for them.
    QByteArray lying = scanprotocol::pack(true, QList<scanprotocol::Source>{{"test:0", "Scanner"}});
    qToBigEndian(quint32(1) << 30, lying.data() + 1);
    bool listed = false;
    QList<scanprotocol::Source> sources;
    EXPECT_FALSE(scanprotocol::unpack(lying, listed, sources));
    EXPECT_TRUE(sources.isEmpty());
    const QList<scanprotocol::Source> two = {{"test:0", "A"}, {"net:h:test:0", "B"}};
    EXPECT_TRUE(scanprotocol::unpack(scanprotocol::pack(true, two), listed, sources));
    EXPECT_EQ(sources, two);
}
