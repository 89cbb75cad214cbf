#include "bench/a3page.h"
#include "bench/benchwindow.h"
#include "bench/sheetpage.h"
#include "model/global.h"

#include <QPainter>

#include <benchmark/benchmark.h>

// One frame on a 200-dpi A3 page, from the canvas's drawFinished through
// the main window's checks and the step's validator to the accepted item
// and the refreshed page. Each must stay under 300 ms; on the 300-dpi
// pages of A4 and A3 too.

namespace {

// Where the title, the page-number mark and the reference line lie on
// the page of a card.
struct Card
{
    QImage page;
    QRect title;
    QRect pageMark;
    QRect line;
};

Card a3At200()
{
    return {a3page::page(), a3page::titleFrame(), a3page::pageMarkFrame(), a3page::referenceLineFrame()};
}

Card sheetCard(const sheetpage::Sheet& sheet)
{
    return {sheet.page(), sheet.titleFrame(), sheet.pageMarkFrame(), sheet.referenceLineFrame()};
}

const Card& card(int which)
{
    static const Card cards[] = {a3At200(), sheetCard({sheetpage::Paper::A4, 300}),
                                 sheetCard({sheetpage::Paper::A3, 300})};
    return cards[which];
}

// The bench page with its title or its page-number mark painted over.
QImage face(const Card& card, bool title, bool pageMark)
{
    QImage image = card.page;
    QPainter painter(&image);
    if (!title)
        painter.fillRect(card.title, Qt::white);
    if (!pageMark)
        painter.fillRect(card.pageMark, Qt::white);
    return image;
}

// A card of two papers whose first front carries the title and the mark;
// the other three pages carry neither.
void fourPages(const Card& card)
{
    answerSheet.clear();
    answerSheet.paperCnt = 2;
    answerSheet.pageCnt = 4;
    answerSheet.sheets.resize(2);
    for (int index = 0; index < 4; ++index) {
        PageSheet page;
        page.setSide(index % 2);
        page.setPageIndex(index);
        page.setPixmap(QPixmap::fromImage(face(card, index == 0, index == 0)));
        answerSheet.sheets[index / 2].append(page);
    }
}

using benchwindow::Window;

} // namespace

// Each framing road runs on the A3 card at 200 dpi and the A4 and A3 cards
// at 300 dpi (card(0), card(1), card(2)).
static void roadRuns(benchmark::internal::Benchmark* run)
{
    run->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
}
#define ON_EACH_CARD(road)                                                                                        \
    BENCHMARK_CAPTURE(road, A3_200dpi, 0)->Apply(roadRuns);                                                       \
    BENCHMARK_CAPTURE(road, A4_300dpi, 1)->Apply(roadRuns);                                                       \
    BENCHMARK_CAPTURE(road, A3_300dpi, 2)->Apply(roadRuns)

static void BM_FrameLineWithDeskew(benchmark::State& state, int which)
{
    const Card& card = ::card(which);
    fourPages(card);
    const QPixmap fed = answerSheet.sheets[0][0].image.pixmap;
    Window w(StepLines);
    for (auto _ : state) {
        state.PauseTiming();
        for (EIRectItem* line : qAsConst(w.front().lines))
            w.forget(line);
        w.front().lines.clear();
        w.front().setPixmap(fed);
        state.ResumeTiming();
        w.frame(card.line);
        if (w.front().lineCount() != 1)
            state.SkipWithError("the line was refused");
    }
}
ON_EACH_CARD(BM_FrameLineWithDeskew);

static void BM_FrameTitleWithUniqueness(benchmark::State& state, int which)
{
    const Card& card = ::card(which);
    fourPages(card);
    Window w(StepTitles);
    for (auto _ : state) {
        state.PauseTiming();
        w.forget(w.front().title.item);
        w.front().title.reset(false);
        state.ResumeTiming();
        w.frame(card.title);
        if (w.front().title.isEmpty())
            state.SkipWithError("the title was refused");
    }
}
ON_EACH_CARD(BM_FrameTitleWithUniqueness);

// Against the title framed on the page and the three other pages, upright
// and turned.
static void BM_FramePageNumberMark(benchmark::State& state, int which)
{
    const Card& card = ::card(which);
    fourPages(card);
    ImageMark title;
    title.item = new EIRectItem(QRectF(card.title), true, 8);
    title.base64 = Global::pixmapToBase64(answerSheet.sheets[0][0].image.pixmap.copy(card.title));
    answerSheet.sheets[0][0].setTitle(title);
    Window w(StepPageNumber);
    for (auto _ : state) {
        state.PauseTiming();
        for (const ImageMark& mark : qAsConst(w.front().pageNum))
            w.forget(mark.item);
        w.front().pageNum.clear();
        state.ResumeTiming();
        w.frame(card.pageMark);
        if (w.front().pageNum.size() != 1)
            state.SkipWithError("the page-number mark was refused");
    }
}
ON_EACH_CARD(BM_FramePageNumberMark);
