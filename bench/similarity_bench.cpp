#include "algorithms/similarity.h"
#include "bench/a3page.h"

#include <benchmark/benchmark.h>

// The uniqueness checks on a whole 200-dpi A3 page, as the page-number and
// title steps call them. Each must stay well under 300 ms.

// Page-number step: the new mark against the title and a mark framed
// earlier, by average hash.
static void BM_CheckUniquePageMark(benchmark::State& state)
{
    const QImage page = a3page::page();
    const QVector<QImage> stored{page.copy(a3page::titleFrame()), page.copy(QRect(120, 470, 68, 34))};
    for (auto _ : state) {
        QRectF out;
        if (checkUniqueMark(stored, page, a3page::pageMarkFrame(), out, AverageHash) != MarkAccepted)
            state.SkipWithError("the page-number mark was refused");
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_CheckUniquePageMark)->Unit(benchmark::kMillisecond)->UseRealTime();

// Title step: the framed title searched for in the other face of the paper.
static void BM_CheckUniqueTitle(benchmark::State& state)
{
    const QImage page = a3page::page();
    QImage back(page.size(), QImage::Format_RGB32);
    back.fill(Qt::white);
    const QVector<QImage> stored{back.copy(a3page::titleFrame())};
    for (auto _ : state) {
        QRectF out;
        if (checkUniqueMark(stored, page, a3page::titleFrame(), out, TemplateMatch) != MarkAccepted)
            state.SkipWithError("the title was refused");
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_CheckUniqueTitle)->Unit(benchmark::kMillisecond)->UseRealTime();

// Page-number step, second test: the mark against the same place on the
// pages of three other papers, upright and turned.
static void BM_ValidatePageNum(benchmark::State& state)
{
    const QImage page = a3page::page();
    const QRect mark = a3page::pageMarkFrame();
    QVector<QImage> stored;
    for (int paper = 0; paper < 3; ++paper) {
        stored.append(page.copy(mark.translated(0, -200 * (paper + 1))));
        stored.append(stored.last().mirrored(true, true));
    }
    const QImage markImage = page.copy(mark.adjusted(10, 10, -10, -10));
    for (auto _ : state)
        benchmark::DoNotOptimize(validatePageNum(markImage, stored));
}
BENCHMARK(BM_ValidatePageNum)->Unit(benchmark::kMillisecond)->UseRealTime();
