#include "bench/a3page.h"
#include "canvas/item/eirectitem.h"
#include "model/answersheet.h"
#include "model/global.h"
#include "model/templatefolder.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

// A two-paper, four-page A3 card at 200 dpi with a title on every page,
// as the save writes it and the import reads it.
static void buildFourPageCard(AnswerSheet& card)
{
    card.clear();
    card.paperName = QStringLiteral("期中卡");
    card.paperCnt = 2;
    card.pageCnt = 4;
    card.sheets.resize(2);
    const QPixmap picture = QPixmap::fromImage(a3page::page());
    for (int i = 0; i < 4; ++i) {
        PageSheet page;
        page.setPageIndex(i);
        page.setSide(i % 2);
        page.setPixmap(picture);
        const QRect title = a3page::titleFrame();
        page.setTitle(ImageMark{new EIRectItem(title, true, 8), Global::pixmapToBase64(picture.copy(title))});
        card.sheets[i / 2].append(page);
    }
}

// The template file and four page JPEGs, over an earlier save of the same
// card. Must stay under 1 s on 8 cores.
static void BM_SaveFourA3Pages(benchmark::State& state)
{
    QTemporaryDir folder;
    AnswerSheet card;
    buildFourPageCard(card);
    for (auto _ : state) {
        if (TemplateFolder::write(card, folder.path(), false).result != TemplateFolder::SaveResult::Written)
            state.SkipWithError("the card was not written");
    }
    card.clear();
}
BENCHMARK(BM_SaveFourA3Pages)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading that folder back: the file, its checks and the four pictures.
// Must stay under 1 s on 8 cores.
static void BM_ImportFourA3Pages(benchmark::State& state)
{
    QTemporaryDir folder;
    AnswerSheet card;
    buildFourPageCard(card);
    const TemplateFolder::SaveOutcome saved = TemplateFolder::write(card, folder.path(), false);
    card.clear();
    const QString json = saved.places.written + QStringLiteral("/期中卡.json");
    for (auto _ : state) {
        if (!TemplateFolder::read(card, json).isEmpty())
            state.SkipWithError("the card was refused");
        state.PauseTiming();
        card.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportFourA3Pages)->Unit(benchmark::kMillisecond)->UseRealTime();
