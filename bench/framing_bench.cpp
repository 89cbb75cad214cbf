#include "bench/a3page.h"
#include "bench/benchwindow.h"
#include "model/global.h"

#include <QPainter>

#include <benchmark/benchmark.h>

// One frame on a 200-dpi A3 page, from the canvas's drawFinished through
// the main window's checks and the step's validator to the accepted item
// and the refreshed page. Each must stay under 300 ms.

namespace {

// The bench page with its title or its page-number mark painted over.
QImage face(bool title, bool pageMark)
{
    QImage image = a3page::page();
    QPainter painter(&image);
    if (!title)
        painter.fillRect(a3page::titleFrame(), Qt::white);
    if (!pageMark)
        painter.fillRect(a3page::pageMarkFrame(), Qt::white);
    return image;
}

// A card of two papers whose first front carries the title and the mark;
// the other three pages carry neither.
void fourA3Pages()
{
    answerSheet.clear();
    answerSheet.paperCnt = 2;
    answerSheet.pageCnt = 4;
    answerSheet.sheets.resize(2);
    for (int index = 0; index < 4; ++index) {
        PageSheet page;
        page.setSide(index % 2);
        page.setPageIndex(index);
        page.setPixmap(QPixmap::fromImage(face(index == 0, index == 0)));
        answerSheet.sheets[index / 2].append(page);
    }
}

using benchwindow::Window;

} // namespace

static void BM_FrameLineWithDeskew(benchmark::State& state)
{
    fourA3Pages();
    const QPixmap fed = answerSheet.sheets[0][0].image.pixmap;
    Window w(StepLines);
    for (auto _ : state) {
        state.PauseTiming();
        for (EIRectItem* line : qAsConst(w.front().lines))
            w.forget(line);
        w.front().lines.clear();
        w.front().setPixmap(fed);
        state.ResumeTiming();
        w.frame(a3page::referenceLineFrame());
        if (w.front().lineCount() != 1)
            state.SkipWithError("the line was refused");
    }
}
BENCHMARK(BM_FrameLineWithDeskew)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

static void BM_FrameTitleWithUniqueness(benchmark::State& state)
{
    fourA3Pages();
    Window w(StepTitles);
    for (auto _ : state) {
        state.PauseTiming();
        w.forget(w.front().title.item);
        w.front().title.reset(false);
        state.ResumeTiming();
        w.frame(a3page::titleFrame());
        if (w.front().title.isEmpty())
            state.SkipWithError("the title was refused");
    }
}
BENCHMARK(BM_FrameTitleWithUniqueness)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

// Against the title framed on the page and the three other pages, upright
// and turned.
static void BM_FramePageNumberMark(benchmark::State& state)
{
    fourA3Pages();
    ImageMark title;
    title.item = new EIRectItem(QRectF(a3page::titleFrame()), true, 8);
    title.base64 = Global::pixmapToBase64(answerSheet.sheets[0][0].image.pixmap.copy(a3page::titleFrame()));
    answerSheet.sheets[0][0].setTitle(title);
    Window w(StepPageNumber);
    for (auto _ : state) {
        state.PauseTiming();
        for (const ImageMark& mark : qAsConst(w.front().pageNum))
            w.forget(mark.item);
        w.front().pageNum.clear();
        state.ResumeTiming();
        w.frame(a3page::pageMarkFrame());
        if (w.front().pageNum.size() != 1)
            state.SkipWithError("the page-number mark was refused");
    }
}
BENCHMARK(BM_FramePageNumberMark)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
