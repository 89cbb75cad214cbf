// Scans through SANE's own test backend (SANE_CONFIG_DIR names the
// configuration in tests/scanner/sane): two virtual scanners whose feeder
// empties after 10 pages and whose reads can be told to fail.

#include "tests/scanner/scanrun.h"
#include "tests/support/logwatch.h"
#include "tests/support/sanedserver.h"
#include "tests/support/scannerprocesses.h"
#include "tests/support/testsupport.h"

#include "model/infra/appstate.h"
#include "model/infra/logger.h"
#include "scanner/eiscan.h"
#include "scanner/saneconnection.h"
#include "scanner/scancodes.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <thread>

namespace {

const QByteArray firstScanner = "Noname frontend-tester (test:0)";
const QByteArray secondScanner = "Noname frontend-tester (test:1)";

// 200 dpi: A3 is 297 x 420 mm, A4 210 x 297 mm.
const QSize a3At200(2338, 3307);
const QSize a4At200(1653, 2338);

QString logText()
{
    return QString::fromUtf8(testsupport::readFile(QString::fromLatin1(logFileName)));
}

class SaneScan : public ::testing::Test
{
protected:
    void SetUp() override
    {
        scanner->setImageDir(folder.path());
        scanner->setDuplex(true);
        scanner->setScanCount(4);
        scanner->setPaperSize(SaneConnection::PaperA3);
        scanner->setPixelType(SaneConnection::PixelGray);
        SaneConnection::setDeviceOptions({});
        scannedFiles.clear();
    }

    void TearDown() override
    {
        SaneConnection::setDeviceOptions({});
        // As a caller ends a listing it does not scan from.
        scanner->close();
        // Each scan's process is gone, and made no report of its own.
        EXPECT_TRUE(scannerprocesses::waitUntilGone(10000));
        EXPECT_EQ(scannerprocesses::failedSince(log), "");
    }

    QStringList filesInFolder() const
    {
        // Hidden too: no half-written page may be left behind.
        return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    testsupport::Watchdog watchdog{120};
    logwatch::LogWatch log;
    testsupport::ScratchDir folder;
    EIScan* scanner = EIScan::instance();
};

} // namespace

TEST_F(SaneScan, listsTheScannersInSaneOrderWithNamesThatTellThemApart)
{
    QList<SaneConnection::Source> sources;
    ASSERT_TRUE(scanner->getSourceList(sources));
    ASSERT_EQ(sources.size(), 2);
    EXPECT_EQ(sources[0].deviceName, QByteArray("test:0"));
    EXPECT_EQ(sources[0].productName, firstScanner);
    EXPECT_EQ(sources[1].deviceName, QByteArray("test:1"));
    EXPECT_EQ(sources[1].productName, secondScanner);
}

TEST_F(SaneScan, fourGreyPagesArriveAsBmpFilesInTransferOrderAndASecondScanInColourWorksToo)
{
    // A slow device: each page takes about a quarter of a second to arrive,
    // so a GUI thread that waited for a page would miss many ticks.
    SaneConnection::setDeviceOptions({{"read-delay", "yes"}, {"read-delay-duration", "2000"}});
    const int storedBefore = logText().count(QStringLiteral("Store ScanImage:"));
    const scanrun::Outcome grey = scanrun::scan(firstScanner);

    ASSERT_TRUE(grey.started);
    ASSERT_EQ(grey.completions.size(), 1);
    EXPECT_EQ(grey.completions[0], qMakePair(int(ScanCompletion::Done), QStringLiteral("扫描完成")));
    EXPECT_TRUE(grey.onGuiThread);
    EXPECT_LT(grey.longestGapMs, EventLoopGaps::bound(100)) << "the GUI thread was kept from its event loop";
    EXPECT_FALSE(scanner->isInitialised());

    ASSERT_EQ(scannedFiles.size(), 4);
    const QRegularExpression uuidName(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\.bmp$"));
    QStringList names;
    for (const QString& path : qAsConst(scannedFiles)) {
        const QFileInfo file(path);
        EXPECT_EQ(file.absolutePath(), QDir(folder.path()).absolutePath());
        EXPECT_TRUE(uuidName.match(file.fileName()).hasMatch()) << file.fileName().toStdString();
        names.append(file.fileName());
        const QImage page(path);
        ASSERT_FALSE(page.isNull());
        EXPECT_EQ(page.size(), a3At200);
        EXPECT_EQ(page.format(), QImage::Format_Indexed8);
        EXPECT_TRUE(page.isGrayscale());
        EXPECT_NEAR(page.dotsPerMeterX(), 7874, 1);
    }
    // The list is in transfer order, and the log names each page as it was stored.
    const QString log = logText();
    int previous = -1;
    for (const QString& path : qAsConst(scannedFiles)) {
        const int at = log.indexOf(QStringLiteral("Store ScanImage:") + path);
        EXPECT_GT(at, previous);
        previous = at;
    }
    EXPECT_EQ(log.count(QStringLiteral("Store ScanImage:")) - storedBefore, 4);
    names.sort();
    EXPECT_EQ(filesInFolder(), names);

    // The same object scans again, in colour on A4, on the other scanner.
    scanner->setPixelType(SaneConnection::PixelColor);
    scanner->setPaperSize(SaneConnection::PaperA4);
    scanner->setScanCount(2);
    SaneConnection::setDeviceOptions({{"test-picture", "Color pattern"}});
    scannedFiles.clear();
    const scanrun::Outcome colour = scanrun::scan(secondScanner);
    ASSERT_EQ(colour.completions.size(), 1);
    EXPECT_EQ(colour.completions[0].first, int(ScanCompletion::Done));
    ASSERT_EQ(scannedFiles.size(), 2);
    const QImage page(scannedFiles[0]);
    EXPECT_EQ(page.size(), a4At200);
    EXPECT_EQ(page.format(), QImage::Format_RGB32);
    EXPECT_FALSE(page.isGrayscale());
    EXPECT_EQ(filesInFolder().size(), 6);
}

TEST_F(SaneScan, aJamAtPageTwoEndsTheScanAndKeepsPageOne)
{
    SaneConnection::setDeviceOptions({{"read-return-value", "SANE_STATUS_JAMMED", 2}});
    const scanrun::Outcome jammed = scanrun::scan(firstScanner);

    ASSERT_EQ(jammed.completions.size(), 1);
    EXPECT_EQ(jammed.completions[0], qMakePair(int(ScanCompletion::PageLost), QStringLiteral("启动扫描仪时遇到问题！")));
    EXPECT_FALSE(scanner->isInitialised());
    ASSERT_EQ(scannedFiles.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(scannedFiles[0]));
    EXPECT_EQ(filesInFolder(), QStringList(QFileInfo(scannedFiles[0]).fileName()));
}

TEST_F(SaneScan, aFeederThatRunsEmptyEndsTheScanWithThePagesItHad)
{
    // The test feeder holds 10 sheets.
    scanner->setPaperSize(SaneConnection::PaperA4);
    scanner->setScanCount(12);
    const scanrun::Outcome short_ = scanrun::scan(firstScanner);
    ASSERT_EQ(short_.completions.size(), 1);
    EXPECT_EQ(short_.completions[0].first, int(ScanCompletion::Done));
    EXPECT_EQ(scannedFiles.size(), 10);

    // Asked for every page, it reads until the feeder is empty.
    scannedFiles.clear();
    scanner->setScanCount(0);
    const scanrun::Outcome all = scanrun::scan(firstScanner);
    ASSERT_EQ(all.completions.size(), 1);
    EXPECT_EQ(all.completions[0].first, int(ScanCompletion::Done));
    EXPECT_EQ(scannedFiles.size(), 10);
}

TEST_F(SaneScan, aScanClosedAtItsStartOrCancelledByTheDeviceReportsTheSourceClosedOnce)
{
    // Closed right after its start, before any page reached the program:
    // whoever waits for the scan still hears its end, once, and no page is left.
    QList<int> types;
    QObject receiver;
    QObject::connect(scanner, &EIScan::scanComplete, &receiver, [&](int type, QString) { types.append(type); });
    ASSERT_TRUE(scanner->startScan(firstScanner));
    scanner->close();
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    EXPECT_EQ(types, QList<int>({int(ScanCompletion::SourceClosed)}));
    EXPECT_FALSE(scanner->isInitialised());
    EXPECT_TRUE(scannedFiles.isEmpty());
    EXPECT_TRUE(filesInFolder().isEmpty());
    QObject::disconnect(scanner, nullptr, &receiver, nullptr);

    // Cancelled by the device in the middle of page 2: the page before it stays.
    SaneConnection::setDeviceOptions({{"read-return-value", "SANE_STATUS_CANCELLED", 2}});
    const scanrun::Outcome cancelled = scanrun::scan(firstScanner);
    ASSERT_TRUE(cancelled.started);
    ASSERT_EQ(cancelled.completions.size(), 1);
    EXPECT_EQ(cancelled.completions[0], qMakePair(int(ScanCompletion::SourceClosed), QStringLiteral("扫描完成")));
    EXPECT_EQ(scannedFiles.size(), 1);
    EXPECT_EQ(filesInFolder().size(), 1);
}

TEST_F(SaneScan, aFailedInitialisationIsNotTakenForAnOpenConnection)
{
    scanner->close();
    // Off the GUI thread the connection refuses to open: no event could reach it there.
    bool opened = true;
    std::thread([&] { opened = scanner->init(); }).join();
    EXPECT_FALSE(opened);
    EXPECT_FALSE(scanner->isInitialised());

    // So the next use opens it for real instead of listing nothing.
    QList<SaneConnection::Source> sources;
    EXPECT_TRUE(scanner->getSourceList(sources));
    EXPECT_EQ(sources.size(), 2);
    EXPECT_TRUE(scanner->isInitialised());
}

TEST_F(SaneScan, anEmptyOrUnknownChoiceFailsToStartEvenAfterAnEarlierScanSelectedAScanner)
{
    scanner->setScanCount(1);
    ASSERT_EQ(scanrun::scan(firstScanner).completions.size(), 1);

    for (const QByteArray& choice : {QByteArray(), QByteArray("Noname frontend-tester")}) {
        const scanrun::Outcome refused = scanrun::scan(choice, 100);
        EXPECT_FALSE(refused.started);
        EXPECT_TRUE(refused.completions.isEmpty());
        EXPECT_FALSE(scanner->isInitialised());
    }
    EXPECT_TRUE(logText().contains(QStringLiteral("EIScan: SelectScanTool Fail:")));

    // Without an image folder nothing starts either: pages would land in "/".
    scanner->setImageDir(QString());
    EXPECT_FALSE(scanrun::scan(firstScanner, 100).started);
}

TEST_F(SaneScan, withoutA200DpiSettingTheNextResolutionAboveOrElseTheHighestIsScannedAndThePageScaledTo200)
{
    if (!SanedServer::available())
        GTEST_SKIP() << "saned (package sane-utils) is not installed";
    const struct
    {
        const char* offers;
        SanedServer::Device device;
        int scannedAt;
        SaneConnection::PixelType pixels;
    } rows[] = {
        {"150 and 300 dpi, as a list", {false, 0, {150, 300}}, 300, SaneConnection::PixelGray},
        {"only 100 dpi, in colour", {false, 100}, 100, SaneConnection::PixelColor},
        {"only 600 dpi", {false, 600}, 600, SaneConnection::PixelGray},
    };
    scanner->setScanCount(1);
    scanner->setPaperSize(SaneConnection::PaperA4);
    SaneConnection::setDeviceOptions({{"test-picture", "Grid"}});
    for (const auto& row : rows) {
        SCOPED_TRACE(row.offers);
        SanedServer server(row.device);
        ASSERT_TRUE(server.start());
        scanner->setPixelType(row.pixels);
        scannedFiles.clear();
        const logwatch::LogWatch scanLog;
        const scanrun::Outcome outcome = scanrun::scan(server.productName().toUtf8(), 100);
        ASSERT_EQ(outcome.completions.size(), 1);
        EXPECT_EQ(outcome.completions[0].first, int(ScanCompletion::Done));
        const QString scanned = QStringLiteral("tollivar-scanner: scanning at %1 dpi, pages scaled to 200");
        EXPECT_EQ(scanLog.newRecords(QStringLiteral("Info"), scanned.arg(row.scannedAt)).size(), 1);
        ASSERT_EQ(scannedFiles.size(), 1);

        // The whole sheet at 200 dpi: the backend's grid of 10 mm squares,
        // black and white by turns from a white one at the top left, whose
        // edges it rounds its own way at each resolution; so the middle of
        // each square is compared.
        const QImage page = QImage(scannedFiles[0]).convertToFormat(QImage::Format_Grayscale8);
        EXPECT_NEAR(page.width(), a4At200.width(), 2);
        EXPECT_NEAR(page.height(), a4At200.height(), 2);
        EXPECT_NEAR(page.dotsPerMeterX(), 7874, 1);
        const double square = 200 * 10 / 25.4;
        QStringList wrong;
        for (int down = 0; down < 29; ++down) {
            for (int across = 0; across < 20; ++across) {
                const int shade = qGray(page.pixel(int((across + 0.5) * square), int((down + 0.5) * square)));
                if (std::abs(shade - ((across + down) % 2 ? 0 : 255)) > 40)
                    wrong.append(QStringLiteral("(%1, %2)").arg(across).arg(down));
            }
        }
        EXPECT_TRUE(wrong.isEmpty()) << "squares of the wrong colour: " << wrong.join(' ').toStdString();
        // Edges stay sharp: an enlarged edge is a pixel or two of grey.
        int grey = 0;
        for (int y = 0; y < page.height(); y += 7)
            for (int x = 0; x < page.width(); x += 7)
                grey += qGray(page.pixel(x, y)) > 40 && qGray(page.pixel(x, y)) < 215;
        EXPECT_LT(grey, (page.width() / 7) * (page.height() / 7) / 10);
    }
}
