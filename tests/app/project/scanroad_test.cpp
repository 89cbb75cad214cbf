// The scan road through the real main window, with SANE's own test backend
// as the scanner; the NoScanner case runs as a process of its own with
// tests/scanner/sane-empty.

#include "tests/app/scantest.h"
#include "tests/support/logwatch.h"

#include <QCheckBox>
#include <QRegularExpression>

using iotest::Message;
using namespace scantest;

namespace {

class ScanRoad : public Scanning<flowtest::FlowTest>
{
protected:
    // A new card through the header button while another one is open.
    void newCardOverOpenWork(const QString& name, int paperIndex, int facesIndex, bool redUpright = false)
    {
        Message discard;
        script->message(&discard, QStringLiteral("是"));
        if (redUpright)
            script->on<NewProjectPanel>([](NewProjectPanel* dialog) {
                dialog->findChild<QCheckBox*>(QStringLiteral("checkRedCard"))->setChecked(true);
                iotest::click(dialog->findChild<QPushButton*>(QStringLiteral("btnVertical")));
            });
        newCard(name, paperIndex, facesIndex);
    }
};

class NoScanner : public ScanRoad
{
protected:
    QString expectedConfig() const override { return QStringLiteral("scanner/sane-empty"); }
};

} // namespace

TEST_F(ScanRoad, fourPagesArriveInTheViewerAndAScanAfterARedCardIsGreyAgain)
{
    newCard(QStringLiteral("期中卡"), 1, 1);
    QStringList offered;
    chooseScanner(0, &offered);
    logwatch::LogWatch log;
    const Scan grey = pressScan();

    EXPECT_EQ(offered, testScanners);
    EXPECT_EQ(grey.states, QList<int>({1}));
    EXPECT_LT(grey.longestGapMs, 100) << "the GUI thread was kept from its event loop";
    EXPECT_TRUE(grey.overlayThroughout);
    EXPECT_FALSE(overlayUp());

    // Four BMP files named by fresh UUIDs, 200 dpi grey A3, listed in the
    // order they were stored.
    ASSERT_EQ(scannedFiles.size(), 4);
    const QRegularExpression uuidName(QStringLiteral("^[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}\\.bmp$"));
    const QString logged = log.newRecords().join(QLatin1Char('\n'));
    const int selected = logged.indexOf(QStringLiteral("EIScan: SelectScanTool OK:"));
    int previous = logged.indexOf(QStringLiteral("EIScan: StartScan OK:"));
    EXPECT_GE(selected, 0);
    EXPECT_GT(previous, selected);
    QStringList names;
    for (const QString& path : qAsConst(scannedFiles)) {
        const QFileInfo file(path);
        EXPECT_EQ(file.absolutePath(), QDir(scanFolder()).absolutePath());
        EXPECT_TRUE(uuidName.match(file.fileName()).hasMatch()) << file.fileName().toStdString();
        names.append(file.fileName());
        const QImage page(path);
        EXPECT_EQ(page.size(), a3At200);
        EXPECT_EQ(page.format(), QImage::Format_Indexed8);
        EXPECT_NEAR(page.dotsPerMeterX(), 7874, 1);
        const int stored = logged.indexOf(QStringLiteral("Store ScanImage:") + path);
        EXPECT_GT(stored, previous) << "stored out of order: " << path.toStdString();
        previous = stored;
    }
    EXPECT_GT(logged.indexOf(QStringLiteral("ScanComplate")), previous);
    names.sort();
    EXPECT_EQ(pagesOnDisk(), names);

    // The viewer shows page 1, turned to lie as the card does.
    EXPECT_EQ(shownPage(), viewer);
    EXPECT_EQ(pageLabel(), QStringLiteral("第一张正面"));
    const PageImage& first = answerSheet.sheets[0][0].image;
    EXPECT_EQ(first.name, scannedFiles[0]);
    EXPECT_EQ(first.pixmap.size(), a3At200.transposed());
    EXPECT_EQ(viewer->graphicsView()->pixmap().cacheKey(), first.pixmap.cacheKey());

    // A red, upright card of two papers with three faces scans A4 in
    // colour, asking for an even number of images and dropping the fourth.
    newCardOverOpenWork(QStringLiteral("红卡"), 1, 0, true);
    chooseScanner(1);
    const Scan red = pressScan();
    EXPECT_EQ(red.states, QList<int>({1}));
    EXPECT_EQ(pagesOnDisk().size(), 8);
    ASSERT_EQ(scannedFiles.size(), 3);
    for (const QString& path : qAsConst(scannedFiles)) {
        const QImage page(path);
        EXPECT_EQ(page.size(), a4At200);
        EXPECT_EQ(page.format(), QImage::Format_RGB32) << "a 24-bit colour file";
    }
    EXPECT_EQ(answerSheet.sheets[1][0].image.name, scannedFiles[2]);

    // The next card is not red: grey again.
    newCardOverOpenWork(QStringLiteral("期末卡"), 0, 0);
    chooseScanner();
    EXPECT_EQ(pressScan().states, QList<int>({1}));
    ASSERT_FALSE(scannedFiles.isEmpty());
    EXPECT_EQ(QImage(scannedFiles[0]).format(), QImage::Format_Indexed8);
}

TEST_F(ScanRoad, aJamACancelAndAnEmptyFeederEndTheScanAndKeepWhatWasScanned)
{
    newCard(QStringLiteral("期中卡"), 1, 1);

    // A jam at page 2: the operator is told, and page 1 stays on disk.
    SaneConnection::setDeviceOptions({blankSheet, {"read-return-value", "SANE_STATUS_JAMMED", 2}});
    chooseScanner();
    Message jam;
    script->message(&jam, QStringLiteral("确定"));
    const Scan jammed = pressScan();
    EXPECT_EQ(jam.text, QStringLiteral("启动扫描仪时遇到问题！"));
    EXPECT_EQ(jammed.states, QList<int>({2}));
    ASSERT_EQ(scannedFiles.size(), 1);
    EXPECT_EQ(pagesOnDisk(), QStringList(QFileInfo(scannedFiles[0]).fileName()));
    EXPECT_FALSE(overlayUp());
    EXPECT_EQ(shownPage(), window->getTemplatePanel());

    // Cancelled by the device, or in the selection dialog: no message, the
    // overlay comes down.
    SaneConnection::setDeviceOptions({blankSheet, {"read-return-value", "SANE_STATUS_CANCELLED", 2}});
    chooseScanner();
    EXPECT_EQ(pressScan().states, QList<int>({2}));
    script->on<ScanPanel>([](ScanPanel* dialog) { iotest::closeByTitleBar(dialog); });
    EXPECT_EQ(pressScan().states, QList<int>({2}));
    EXPECT_EQ(apptest::visibleMessageBox(window), nullptr);
    EXPECT_FALSE(overlayUp());

    // The feeder runs empty after two sheets: the count message, whose
    // "重新扫描" starts a whole new scan while the overlay stays up. The new
    // scan answers after the failed one.
    SaneConnection::setDeviceOptions({blankSheet, {"read-return-value", "SANE_STATUS_NO_DOCS", 3}});
    chooseScanner();
    Message count;
    script->on<EIMessageBox>([&count](EIMessageBox* box) {
        count = iotest::read(box);
        SaneConnection::setDeviceOptions({blankSheet});
        iotest::clickButton(box, QStringLiteral("重新扫描"));
    });
    chooseScanner(1);
    const Scan retried = pressScan(2);
    EXPECT_EQ(count.text, QStringLiteral("扫描图片数量有误，校验不通过，请确认后重新扫描!"));
    EXPECT_EQ(count.buttons, QStringList({"重新扫描"}));
    EXPECT_EQ(retried.states, QList<int>({2, 1}));
    EXPECT_TRUE(retried.overlayThroughout);
    EXPECT_FALSE(overlayUp());
    EXPECT_EQ(scannedFiles.size(), 4);
    EXPECT_EQ(shownPage(), viewer);
}

TEST_F(NoScanner, theScanButtonOffersNoScannerAndTellsThatNoneStarted)
{
    newCard(QStringLiteral("期中卡"), 0, 0);
    QStringList offered = {QStringLiteral("none yet")};
    chooseScanner(0, &offered);
    Message told;
    bool overlayWhileTold = false;
    script->on<EIMessageBox>([&](EIMessageBox* box) {
        overlayWhileTold = overlayUp();
        told = iotest::read(box);
        iotest::clickButton(box, QStringLiteral("确定"));
    });
    QSignalSpy done(window->ioController(), &IOController::scanComplete);
    iotest::click(button(QStringLiteral("扫描答题卡模板")));

    EXPECT_TRUE(offered.isEmpty());
    EXPECT_EQ(told.text, QStringLiteral("扫描仪启动失败, 请检查扫描仪连接!"));
    EXPECT_EQ(told.title, QStringLiteral("提示"));
    EXPECT_TRUE(overlayWhileTold);
    EXPECT_TRUE(done.isEmpty());
    EXPECT_EQ(shownPage(), window->getTemplatePanel());
}
