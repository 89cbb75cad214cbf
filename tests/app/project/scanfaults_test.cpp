// Scanners that fail the way network and flatbed scanners do, served by
// saned on loopback (tests/support/sanedserver.h): each fault ends in what
// the operator can see (a message, a prompt, the page the window shows),
// the overlay comes down, the pages already read stay on disk, and the
// next scan, on a healthy scanner, succeeds.
// So too when the backend crashes; and each time the scan's process is gone.

#include "tests/app/scantest.h"
#include "tests/support/sanedserver.h"

#include "scanner/eiscan.h"

#include <QStandardPaths>

using iotest::Message;
using namespace scantest;

namespace {

const QString pageLostText = QStringLiteral("启动扫描仪时遇到问题！");
const QString nextSheetText = QStringLiteral("请放入下一页后点击确定");
const QString secondPageText = QStringLiteral("正在扫描第2页，共4页");
// Page 1 comes at once; page 2 would take half a minute, so nothing a test
// does while it is read can come too late.
const QList<SaneConnection::DeviceOption> slowSecondPage = {
    blankSheet, {"read-delay", "yes", 2}, {"read-delay-duration", "200000", 2}};

class ScanFaults : public Scanning<flowtest::FlowTest>
{
protected:
    void SetUp() override
    {
        Scanning<flowtest::FlowTest>::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (!SanedServer::available())
            GTEST_SKIP() << "saned (package sane-utils) is not installed";
        // Short enough for a quick test, long enough for a busy machine.
        SaneConnection::setStallTimeout(5000);
        SaneConnection::setStartTimeout(8000);
    }

    void TearDown() override
    {
        SaneConnection::setStallTimeout(SaneConnection::stallTimeoutMs);
        SaneConnection::setStartTimeout(SaneConnection::startTimeoutMs);
        scannerprocesses::useScannerProgram();
        qunsetenv("XDG_DATA_HOME");
        Scanning<flowtest::FlowTest>::TearDown();
    }

    // A new card of two papers, four faces, over whatever is open.
    void freshCard(const QString& name)
    {
        if (shownPage() != window->findChild<IndexWidget*>())
            script->message(&discardQuestion, QStringLiteral("是"));
        newCard(name, 1, 1);
    }

    void emptyScanFolder()
    {
        for (const QString& name : pagesOnDisk())
            QFile::remove(QDir(scanFolder()).filePath(name));
    }

    struct Seen
    {
        QList<int> states;
        QStringList progress; // what the overlay said while the scan ran
        bool cancelOffered = false;
    };

    // Presses "扫描答题卡模板" and waits for the controller's answer, or, when
    // none is expected, until the script is done and the overlay is down.
    // `meanwhile` runs once, as soon as the overlay says page 2 is read.
    Seen scan(bool answerExpected, const std::function<void()>& meanwhile = {})
    {
        Seen seen;
        QSignalSpy done(window->ioController(), &IOController::scanComplete);
        iotest::click(button(QStringLiteral("扫描答题卡模板")));
        bool ran = !meanwhile;
        for (int waited = 0; waited < 30000; waited += 10) {
            if (const MaskForm* overlay = window->findChild<MaskForm*>()) {
                const QString text = overlay->progressText();
                if (!text.isEmpty() && !seen.progress.contains(text))
                    seen.progress.append(text);
                seen.cancelOffered = seen.cancelOffered || overlay->isCancelButtonShown();
                if (!ran && overlay->isVisible() && text == secondPageText) {
                    ran = true;
                    meanwhile();
                }
            }
            if (answerExpected ? !done.isEmpty() : (script->pending() == 0 && !overlayUp()))
                break;
            QTest::qWait(10);
        }
        QTest::qWait(100);
        for (const QVariantList& signal : qAsConst(done))
            seen.states.append(signal.at(0).toInt());
        return seen;
    }

    Message discardQuestion;
};

} // namespace

TEST_F(ScanFaults, eachFaultIsToldThePagesReadStayAndTheNextScanWorks)
{
    testsupport::Watchdog longer{300};
    SanedServer healthy;
    ASSERT_TRUE(healthy.start());
    // A file where folders should be: neither the program's folder nor the
    // user's data folder can take pages, whoever runs the test.
    const QString plainFile = scratch.file(QStringLiteral("plain"));
    ASSERT_TRUE(testsupport::writeFile(plainFile, "not a folder"));
    qputenv("XDG_DATA_HOME", plainFile.toLocal8Bit());
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);

    struct Row
    {
        const char* fault;
        SanedServer::Device device;
        QList<SaneConnection::DeviceOption> options;
        std::function<void(SanedServer&)> before; // before the scan button
        bool cancelChoice;                                       // the selection dialog is closed
        std::function<void(SanedServer&)> meanwhile; // once the overlay says page 2 is read
        QStringList prompts;                                     // answers to the flatbed's prompts
        QString told;                                            // the message, empty for none
        int state;                                               // the controller's answer, -1 none
        int pagesKept;
        std::function<void(SanedServer&)> heal;                  // before the next scan
    };
    auto pressCancel = [this](SanedServer&) { iotest::click(button(QStringLiteral("取消"))); };
    auto restart = [](SanedServer& server) {
        server.kill();
        EXPECT_TRUE(server.start());
    };
    const QList<Row> rows = {
        {"the server is killed during page 2", {}, slowSecondPage, {}, false,
         [](SanedServer& server) { server.kill(); }, {}, pageLostText, 2, 1,
         [](SanedServer& server) { EXPECT_TRUE(server.start()); }},
        {"the server freezes during page 2, and stays frozen while the next scan lists and scans another one", {},
         slowSecondPage, {}, false, [](SanedServer& server) { server.freeze(); }, {}, pageLostText, 2, 1, {}},
        {"the backend aborts at the first read of page 2", {}, {blankSheet},
         [](SanedServer&) { scannerprocesses::useScannerProgram(true); }, false, {}, {}, pageLostText, 2, 1,
         [](SanedServer&) { scannerprocesses::useScannerProgram(); }},
        {"the server restarts between two listings", {}, {blankSheet}, {}, true, {}, {}, {}, 2, 0, restart},
        {"the operator presses 取消 during page 2", {}, slowSecondPage, {}, false, pressCancel, {}, {}, 2, 1, {}},
        {"the server freezes during page 2 and the operator presses 取消", {}, slowSecondPage, {}, false,
         [&](SanedServer& server) {
             server.freeze();
             pressCancel(server);
         },
         {}, {}, 2, 1, restart},
        {"a flatbed, the operator cancels the second sheet", {true, 0}, {blankSheet}, {}, false, {}, {"取消"}, {},
         2, 1, {}},
        {"only 600 dpi: the pages come scaled to 200 dpi", {false, 600}, {blankSheet}, {}, false, {}, {}, {}, 1,
         4, {}},
        {"no folder for the pages can be written", {}, {blankSheet},
         [this, plainFile](SanedServer&) { window->ioController()->setProgramDir(plainFile); },
         false, {}, {}, QStringLiteral("扫描图片无法保存，文件夹不可写入，请检查权限后重新扫描!\n%1\n%2")
             .arg(QDir::toNativeSeparators(plainFile + QStringLiteral("/scanImage")))
             .arg(QDir::toNativeSeparators(dataFolder + QStringLiteral("/scanImage"))),
         -1, 0,
         [this](SanedServer&) { window->ioController()->setProgramDir(scratch.path()); }},
    };

    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        SanedServer server(row.device);
        ASSERT_TRUE(server.start());
        freshCard(QStringLiteral("期中卡"));
        emptyScanFolder();
        SaneConnection::setDeviceOptions(row.options);
        if (row.before)
            row.before(server);
        chooseScannerNamed(server.productName(), row.cancelChoice);
        QStringList prompts;
        for (const QString& answer : row.prompts)
            script->on<EIMessageBox>([&prompts, answer](EIMessageBox* box) {
                prompts.append(iotest::read(box).text);
                iotest::clickButton(box, answer);
            });
        Message told;
        if (!row.told.isEmpty())
            script->message(&told, QStringLiteral("确定"));

        const Seen seen = scan(row.state >= 0, [&] {
            if (row.meanwhile)
                row.meanwhile(server);
        });
        EXPECT_EQ(seen.states, row.state >= 0 ? QList<int>({row.state}) : QList<int>());
        EXPECT_EQ(told.text, row.told);
        for (const QString& prompt : qAsConst(prompts))
            EXPECT_EQ(prompt, nextSheetText);
        EXPECT_EQ(prompts.size(), row.prompts.size());
        EXPECT_EQ(pagesOnDisk().size(), row.pagesKept);
        EXPECT_EQ(scannedFiles.size(), qMin(row.pagesKept, 4));
        EXPECT_FALSE(overlayUp());
        EXPECT_EQ(apptest::visibleMessageBox(window), nullptr);
        if (row.state == 1) {
            EXPECT_EQ(shownPage(), viewer);
            const QSize shown = viewer->graphicsView()->pixmap().size();
            EXPECT_NEAR(shown.width(), a3At200.height(), 2);
            EXPECT_NEAR(shown.height(), a3At200.width(), 2);
        } else {
            EXPECT_EQ(shownPage(), window->getTemplatePanel());
        }
        if (row.pagesKept > 0) {
            // While it ran, the overlay said which page it read and offered 取消.
            EXPECT_TRUE(seen.progress.contains(QStringLiteral("正在扫描第1页，共4页"))) << seen.progress.join(',').toStdString();
            EXPECT_TRUE(seen.cancelOffered);
        }
        // Whatever became of its scanner, the scan's process is gone.
        EXPECT_TRUE(scannerprocesses::waitUntilGone(10000));

        if (row.heal)
            row.heal(server);
        SaneConnection::setDeviceOptions({blankSheet});
        freshCard(QStringLiteral("期末卡"));
        chooseScannerNamed(healthy.productName());
        EXPECT_EQ(scan(true).states, QList<int>({1})) << "the next scan";
        EXPECT_EQ(shownPage(), viewer);
    }

    // All of that without SANE in the program's own process.
    EXPECT_FALSE(testsupport::readFile(QStringLiteral("/proc/self/maps")).contains("libsane"));
}

TEST_F(ScanFaults, closingTheWindowDuringAScanEndsItsProcessAndKeepsThePageWritten)
{
    freshCard(QStringLiteral("期中卡"));
    emptyScanFolder();
    SaneConnection::setDeviceOptions(slowSecondPage);
    chooseScannerNamed(testScanners[0]);
    iotest::click(button(QStringLiteral("扫描答题卡模板")));
    const MaskForm* overlay = window->findChild<MaskForm*>();
    for (int waited = 0; waited < 30000 && !(overlay && overlay->progressText() == secondPageText); waited += 10) {
        QTest::qWait(10);
        overlay = window->findChild<MaskForm*>();
    }
    ASSERT_EQ(scannedFiles.size(), 1);
    const QString written = QFileInfo(scannedFiles[0]).fileName();

    // As the program ends: the window goes, and its I/O controller with it.
    delete script;
    delete window;
    EXPECT_TRUE(scannerprocesses::waitUntilGone(10000));
    // The page stays, and nothing else the process wrote.
    EXPECT_EQ(QDir(scanFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList(written));

    // A window again, for the test's own end.
    SetUp();
}
