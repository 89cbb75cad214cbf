// The parts of the scanner layer that need no device: the names the
// operator chooses from, the feeder entry a scan asks for, the BMP file a
// page becomes and the folder it goes to.

#include "tests/support/testsupport.h"

#include "scanner/bmpfile.h"
#include "scanner/saneoptions.h"
#include "scanner/sanesources.h"
#include "scanner/scanfolder.h"
#include "scanner/scannedpage.h"

#include <QDir>
#include <QImage>
#include <QStandardPaths>

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

    const QList<SaneConnection::Source> sources = namedSources(devices);
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
