#include "algorithms/examnumber.h"
#include "algorithms/optiongrid.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <benchmark/benchmark.h>

// A full A3 page at 200 dpi, landscape, with three blocks of 20 choice
// questions whose four standard answer boxes are filled in, as a
// completed sheet is framed, or printed as outlines with their letters,
// as a blank sheet shows them.
static QPixmap a3PageWithOptionGrids(QRectF* block, bool outlined = false)
{
    QImage image(3307, 2339, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 2));
    QFont font = painter.font();
    font.setPixelSize(32);
    painter.setFont(font);
    for (int b = 0; b < 3; ++b) {
        const QPoint origin(200 + b * 1000, 500);
        for (int row = 0; row < 20; ++row) {
            for (int box = 0; box < 4; ++box) {
                const QRect rect(origin.x() + qRound(box * 109.656), origin.y() + qRound(row * 80.583), 68, 48);
                if (!outlined) {
                    painter.fillRect(rect, Qt::black);
                    continue;
                }
                painter.drawRect(rect);
                painter.drawText(rect, Qt::AlignCenter, QString(QChar('A' + box)));
            }
        }
    }
    // The first block with a margin of 30 pixels.
    *block = QRectF(170, 470, 3 * 109.656 + 68 + 60, 19 * 80.583 + 48 + 60);
    return QPixmap::fromImage(image);
}

// A framed 20 x 4 block, its boxes filled or printed as lettered outlines.
static void measureFramedBlock(benchmark::State& state, bool outlined)
{
    QRectF block;
    const QPixmap page = a3PageWithOptionGrids(&block, outlined);
    // The first call in a process pays for loading the library's code.
    OptionGridParams warmUp;
    getObjectPos(page, block, 20, 4, warmUp);
    for (auto _ : state) {
        OptionGridParams grid;
        if (getObjectPos(page, block, 20, 4, grid) != 0)
            state.SkipWithError("grid not measured");
    }
}

static void BM_GetObjectPosA3(benchmark::State& state)
{
    measureFramedBlock(state, false);
}
BENCHMARK(BM_GetObjectPosA3)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_GetObjectPosOutlinedA3(benchmark::State& state)
{
    measureFramedBlock(state, true);
}
BENCHMARK(BM_GetObjectPosOutlinedA3)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_CheckObjectiveAreaA3(benchmark::State& state)
{
    QRectF block;
    const QPixmap page = a3PageWithOptionGrids(&block);
    for (auto _ : state) {
        int questions = 0;
        int options = 0;
        if (checkObjectiveArea(page, block, questions, options) != 0)
            state.SkipWithError("block not estimated");
    }
}
BENCHMARK(BM_CheckObjectiveAreaA3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The operator frames the whole page. Its three blocks are no one grid,
// so the frame is refused; what counts is how long that takes.
static void BM_GetObjectPosWholeA3(benchmark::State& state)
{
    QRectF block;
    const QPixmap page = a3PageWithOptionGrids(&block);
    const QRectF whole(0, 0, page.width(), page.height());
    OptionGridParams warmUp;
    getObjectPos(page, whole, 20, 12, warmUp);
    for (auto _ : state) {
        OptionGridParams grid;
        if (getObjectPos(page, whole, 20, 12, grid) == 0)
            state.SkipWithError("three blocks taken for one grid");
    }
}
BENCHMARK(BM_GetObjectPosWholeA3)->Unit(benchmark::kMillisecond)->UseRealTime();
