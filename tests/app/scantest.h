#pragma once

// Shared by the tests that scan through the real main window, with SANE's
// own test backend as the scanner (SANE_CONFIG_DIR names tests/scanner/sane;
// runs without any scanner name tests/scanner/sane-empty). The selection
// dialog is answered as it comes up, and the pages land in "scanImage"
// under the test's scratch folder. `Scanning` adds this to any fixture
// built on flowtest::FlowTest.

#include "tests/app/flowtest.h"
#include "tests/support/eventloopgaps.h"
#include "tests/support/logwatch.h"
#include "tests/support/scannerprocesses.h"

#include "scanner/saneconnection.h"
#include "widgets/dialogs/scanpanel.h"


namespace scantest {

const QStringList testScanners = {QStringLiteral("Noname frontend-tester (test:0)"),
                                  QStringLiteral("Noname frontend-tester (test:1)")};
// 200 dpi, as the scanner lays the sheet: A3 is 297 x 420 mm, A4 210 x 297 mm.
const QSize a3At200(2338, 3307);
const QSize a4At200(1653, 2338);
// The backend's default picture is solid black, in which the page check
// finds no sheet.
const SaneConnection::DeviceOption blankSheet{"test-picture", "Solid white"};

template <typename Fixture>
class Scanning : public Fixture
{
protected:
    void SetUp() override
    {
        Fixture::SetUp();
        if (this->HasFatalFailure())
            return;
        if (!qEnvironmentVariable("SANE_CONFIG_DIR").endsWith(expectedConfig()))
            GTEST_SKIP() << "runs with SANE_CONFIG_DIR=tests/" << expectedConfig().toStdString();
        this->window->ioController()->setProgramDir(this->scratch.path());
        SaneConnection::setDeviceOptions({blankSheet});
    }

    void TearDown() override
    {
        SaneConnection::setDeviceOptions({});
        // Every scan is over, and with it its scanner process, which did
        // not fail on its own (in the sanitizer build: made no report).
        EXPECT_TRUE(scannerprocesses::waitUntilGone(10000)) << "a scanner process outlived its scan";
        EXPECT_EQ(scannerprocesses::failedSince(scannerLog), "");
        Fixture::TearDown();
    }

    virtual QString expectedConfig() const { return QStringLiteral("scanner/sane"); }

    logwatch::LogWatch scannerLog;

    QString scanFolder() const { return this->scratch.file(QStringLiteral("scanImage")); }
    // Hidden files too: no half-written page may be left behind.
    QStringList pagesOnDisk() const
    {
        return QDir(scanFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    // Picks scanner `choice` when the selection dialog comes up, noting what it offered.
    void chooseScanner(int choice = 0, QStringList* offered = nullptr)
    {
        this->script->template on<ScanPanel>([choice, offered](ScanPanel* dialog) {
            auto* box = dialog->findChild<QComboBox*>(QStringLiteral("boxScannerName"));
            if (offered) {
                offered->clear();
                for (int i = 0; i < box->count(); ++i)
                    offered->append(box->itemText(i));
            }
            box->setCurrentIndex(choice);
            if (!iotest::clickButton(dialog, QStringLiteral("确定")))
                ADD_FAILURE() << "no OK button";
        });
    }

    // Picks the scanner offered as `name`, or closes the dialog with it picked.
    void chooseScannerNamed(const QString& name, bool cancel = false)
    {
        this->script->template on<ScanPanel>([name, cancel](ScanPanel* dialog) {
            auto* box = dialog->findChild<QComboBox*>(QStringLiteral("boxScannerName"));
            const int index = box->findText(name);
            if (index < 0)
                ADD_FAILURE() << "not offered: " << name.toStdString();
            box->setCurrentIndex(index);
            if (cancel)
                iotest::closeByTitleBar(dialog);
            else
                iotest::clickButton(dialog, QStringLiteral("确定"));
        });
    }

    struct Scan
    {
        QList<int> states; // the I/O controller's scanComplete, in order
        // While the scan ran: the longest time the GUI thread stayed away
        // from its event loop, and whether the busy overlay stayed up.
        qint64 longestGapMs = 0;
        bool overlayThroughout = true;
    };

    // Presses "扫描答题卡模板" and waits until the I/O controller has answered
    // `answers` times (and a little longer, to see any answer too many).
    Scan pressScan(int answers = 1)
    {
        Scan scan;
        QSignalSpy done(this->window->ioController(), &IOController::scanComplete);
        iotest::click(this->button(QStringLiteral("扫描答题卡模板")));

        EventLoopGaps gaps;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            if (done.size() < answers) {
                gaps.tick();
                scan.longestGapMs = gaps.longestMs;
                scan.overlayThroughout = scan.overlayThroughout && this->overlayUp();
            }
            // A message no step of the script waits for fails at once
            // rather than at the watchdog.
            EIMessageBox* box = this->script->pending() == 0 ? apptest::visibleMessageBox(this->window) : nullptr;
            if (box) {
                ADD_FAILURE() << "unexpected message: " << iotest::read(box).text.toStdString();
                iotest::closeByTitleBar(box);
            }
        });
        gaps.start();
        ticker.start(10);
        for (int waited = 0; done.size() < answers && waited < 60000; waited += 20)
            QTest::qWait(20);
        QTest::qWait(200);
        for (const QVariantList& signal : qAsConst(done))
            scan.states.append(signal.at(0).toInt());
        return scan;
    }
};

} // namespace scantest
