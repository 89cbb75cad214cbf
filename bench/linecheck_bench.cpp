#include "algorithms/linecheck.h"
#include "bench/a3page.h"

#include <QPixmap>

#include <benchmark/benchmark.h>

// The line step on a whole 200-dpi A3 page: find and measure the framed
// line, then turn the page and the frame. Must stay well under 300 ms.
static void BM_CheckLineWithDeskew(benchmark::State& state)
{
    const QPixmap page = QPixmap::fromImage(a3page::page());
    const QVector<QRectF> earlierLines{QRectF(100, 2000, 1200, 40)};
    for (auto _ : state) {
        QPixmap rotated;
        QRectF frame = a3page::referenceLineFrame();
        QVector<QRectF> lines = earlierLines;
        const bool accepted = checkLine(page, &rotated, &frame, &lines);
        if (!accepted)
            state.SkipWithError("the reference line was refused");
        benchmark::DoNotOptimize(rotated);
    }
}
BENCHMARK(BM_CheckLineWithDeskew)->Unit(benchmark::kMillisecond)->UseRealTime();
