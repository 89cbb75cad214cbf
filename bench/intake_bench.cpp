#include "app/project/iocontroller.h"
#include "bench/a3page.h"
#include "model/answersheet.h"
#include "model/infra/eiconfig.h"
#include "widgets/kit/eimessagebox.h"

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

// A scan of the sheet: the page a little smaller than the scan, tilted by
// 1.5 degrees on the dark scanner lid, as the folded-corner check sees it.
static QImage scannedSheet()
{
    QImage scan(a3page::width, a3page::height, QImage::Format_RGB32);
    scan.fill(QColor(25, 25, 25));
    QPainter painter(&scan);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(a3page::width / 2.0, a3page::height / 2.0);
    painter.rotate(1.5);
    painter.scale(0.94, 0.94);
    painter.translate(-a3page::width / 2.0, -a3page::height / 2.0);
    painter.drawImage(0, 0, a3page::page());
    return scan;
}

// File intake of a two-paper, four-page A3 card at 200 dpi with the
// folded-corner check on: read (one decode per page), turn, check and
// store every page. Must stay under 250 ms on 8 cores.
static void BM_IntakeFourA3Pages(benchmark::State& state)
{
    QTemporaryDir folder;
    QStringList files;
    const QImage scan = scannedSheet();
    for (int i = 0; i < 4; ++i) {
        files.append(folder.filePath(QStringLiteral("page%1.jpg").arg(i)));
        scan.save(files.last(), "JPG");
    }
    config.init(folder.filePath(QStringLiteral("config.ini")));
    config.setValue(configGroupAlgorithm, configKeyCheckCorner, true);

    answerSheet.clear();
    answerSheet.paperCnt = 2;
    IOController::setUpPages(4);
    IOController io;
    FileDialogs dialogs;
    dialogs.openFileNames = [&files](QWidget*, const QString&, const QString&, const QString&) { return files; };
    io.setFileDialogs(dialogs);
    bool accepted = false;
    QObject::connect(&io, &IOController::importImagesDone,
                     [&accepted](IOController::State result) { accepted = result == IOController::State::Done; });
    // A refused intake shows its message and waits for an answer that no
    // one gives here: close it, so the run reports the refusal.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<EIMessageBox*>(widget); box && box->isVisible())
                box->close();
    });
    answer.start(50);

    for (auto _ : state) {
        accepted = false;
        io.importImages();
        if (!accepted)
            state.SkipWithError("the pages were refused");
    }
    answerSheet.clear();
}
BENCHMARK(BM_IntakeFourA3Pages)->Unit(benchmark::kMillisecond)->UseRealTime();
