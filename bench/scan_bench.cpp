#include "app/shell/eimainwindow.h"
#include "app/shell/gettemplatepanel.h"
#include "app/steps/imageviewer.h"
#include "canvas/eigraphicsview.h"
#include "model/answersheet.h"
#include "model/infra/eiconfig.h"
#include "scanner/saneconnection.h"
#include "widgets/dialogs/scanpanel.h"

#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

// A scan of a two-paper card, four A3 faces at 200 dpi in grey, from SANE's
// test backend (the runner points SANE_CONFIG_DIR at tests/scanner/sane):
// from the scan button through the selection dialog, the scanner process
// started, the pages read there and stored, to the checked pages shown in
// the viewer. Must stay under 3 s on 8 cores.
static void BM_ScanFourA3Pages(benchmark::State& state)
{
#ifdef TOLLIVAR_SCANNER_SHIM
    SaneConnection::setScannerProgram(QStringLiteral(TOLLIVAR_SCANNER_PROGRAM),
                                      {QStringLiteral("LD_PRELOAD=" TOLLIVAR_SCANNER_SHIM)});
#else
    SaneConnection::setScannerProgram(QStringLiteral(TOLLIVAR_SCANNER_PROGRAM));
#endif
    QTemporaryDir folder;
    config.init(folder.filePath(QStringLiteral("config.ini")));
    answerSheet.clear();
    answerSheet.paperCnt = 2;
    answerSheet.orientation = QStringLiteral("horizontal");
    answerSheet.redCard = false;
    IOController::setUpPages(4);

    EIMainWindow window;
    window.show();
    window.ioController()->setProgramDir(folder.path());
    // The backend's default picture is black, in which the check finds no sheet.
    SaneConnection::setDeviceOptions({{"test-picture", "Solid white"}});
    // The first scanner, as soon as the selection dialog shows.
    QTimer chooser;
    QObject::connect(&chooser, &QTimer::timeout, [&window] {
        for (ScanPanel* dialog : window.findChildren<ScanPanel*>())
            if (dialog->isVisible())
                dialog->doOk();
    });
    chooser.start(1);

    for (auto _ : state) {
        QEventLoop loop;
        bool accepted = false;
        const QMetaObject::Connection answer = QObject::connect(
            window.ioController(), &IOController::scanComplete, &loop, [&](IOController::State result) {
                accepted = result == IOController::State::Done;
                loop.quit();
            });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        emit window.getTemplatePanel()->scanImage();
        loop.exec();
        QObject::disconnect(answer);

        state.PauseTiming();
        const bool shown = window.imageViewer()->graphicsView()->pixmap().cacheKey()
                           == answerSheet.sheets[0][0].image.pixmap.cacheKey();
        if (!accepted || !shown)
            state.SkipWithError("the scanned pages did not reach the viewer");
        QDir pages(folder.filePath(QStringLiteral("scanImage")));
        pages.removeRecursively();
        state.ResumeTiming();
    }
    SaneConnection::setDeviceOptions({});
    answerSheet.clear();
}
BENCHMARK(BM_ScanFourA3Pages)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(3)->ReportAggregatesOnly(true);
