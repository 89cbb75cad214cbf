#include "algorithms/examnumber.h"
#include "algorithms/linecheck.h"
#include "algorithms/optiongrid.h"
#include "algorithms/pagecorner.h"
#include "algorithms/similarity.h"
#include "algorithms/titlecheck.h"
#include "bench/sheetpage.h"

#include <QPixmap>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <random>

// Every framing check on whole pages at 200 and 300 dpi, A4 portrait and
// A3 landscape, as scanners and picture files deliver them. Aim: each
// under 150 ms (median of five runs).

namespace {

using sheetpage::Paper;
using sheetpage::Sheet;

const Sheet sheets[] = {{Paper::A4, 200}, {Paper::A4, 300}, {Paper::A3, 200}, {Paper::A3, 300}};

// One run of a check; false when it did not give the expected answer.
using Check = std::function<bool(const Sheet&, const QPixmap&)>;

void run(benchmark::State& state, const Sheet& sheet, const Check& check)
{
    const QPixmap page = QPixmap::fromImage(sheet.page());
    // The first call in a process pays for loading the library's code.
    check(sheet, page);
    for (auto _ : state) {
        if (!check(sheet, page))
            state.SkipWithError("unexpected answer");
    }
}

bool line(const Sheet& sheet, const QPixmap& page)
{
    QPixmap rotated;
    QRectF frame = sheet.referenceLineFrame();
    QVector<QRectF> lines;
    return checkLine(page, &rotated, &frame, &lines);
}

bool title(const Sheet& sheet, const QPixmap& page)
{
    QRectF out;
    return checkTitle(page, sheet.titleFrame(), &out, true) == TitleCheck::Accepted;
}

// The page-number step: the new mark against the title and the corner
// mark framed earlier.
bool uniqueByHash(const Sheet& sheet, const QPixmap& page)
{
    static QVector<QImage> stored;
    const QImage& image = sheet.page();
    stored = {image.copy(sheet.titleFrame()), image.copy(sheet.cornerMark())};
    QRectF out;
    return checkUniqueMark(stored, image, sheet.pageMarkFrame(), out, AverageHash) == MarkAccepted
           && checkUniqueMark(stored, image, sheet.cornerMarkFrame(), out, AverageHash) == MarkNotUnique
           && !page.isNull();
}

// The title step: the title searched for on the other face of the paper.
bool uniqueByTemplate(const Sheet& sheet, const QPixmap& page)
{
    QImage back(sheet.titleFrame().size(), QImage::Format_RGB32);
    back.fill(Qt::white);
    QRectF out;
    return checkUniqueMark({back}, sheet.page(), sheet.titleFrame(), out, TemplateMatch) == MarkAccepted
           && !page.isNull();
}

bool digitColumns(const Sheet& sheet, const QPixmap& page)
{
    int count = 0;
    return countDigitColumns(page, sheet.examNumberFrame(), count) == 0 && count == 10;
}

bool examNumber(const Sheet& sheet, const QPixmap& page)
{
    OptionGridParams grid;
    return getStuNoPos(page, sheet.examNumberFrame(), 10, 10, false, grid) == 0;
}

bool objectiveArea(const Sheet& sheet, const QPixmap& page)
{
    int questions = 0;
    int options = 0;
    return checkObjectiveArea(page, sheet.objectiveFrame(), questions, options) == 0;
}

bool objectiveGrid(const Sheet& sheet, const QPixmap& page)
{
    OptionGridParams grid;
    return getObjectPos(page, sheet.objectiveFrame(), 20, 4, grid) == 0;
}

void registerRows(const char* name, const Check& check)
{
    for (const Sheet& sheet : sheets) {
        const std::string row = std::string(name) + "/" + sheet.name().toStdString();
        benchmark::RegisterBenchmark(row.c_str(), [sheet, check](benchmark::State& state) { run(state, sheet, check); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    }
}

// The intake check of a scanned page, timed apart: it rectifies the page
// it is given.
void registerPageCornerRows()
{
    for (const Sheet& sheet : sheets) {
        const std::string row = "BM_PageCorner/" + sheet.name().toStdString();
        benchmark::RegisterBenchmark(row.c_str(), [sheet](benchmark::State& state) {
            const QPixmap scan = QPixmap::fromImage(sheet.scan());
            const QSize size = sheet.size();
            QPixmap warmUp = scan;
            checkPageCorner(&warmUp, size.width(), size.height(), false, true);
            for (auto _ : state) {
                state.PauseTiming();
                QPixmap page = scan;
                state.ResumeTiming();
                if (!checkPageCorner(&page, size.width(), size.height(), false, true))
                    state.SkipWithError("page refused");
            }
        })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    }
}

// The page as a poor scanner delivers it: grain over the paper and dark
// specks strewn over the whole sheet.
QImage noisy(const QImage& page)
{
    QImage image = page.convertToFormat(QImage::Format_RGB32);
    std::mt19937 random(7);
    std::normal_distribution<double> grain(0.0, 12.0);
    std::uniform_int_distribution<int> speck(0, 199);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = speck(random) == 0 ? 40 : std::clamp(qGray(row[x]) + static_cast<int>(grain(random)), 0, 255);
            row[x] = qRgb(grey, grey, grey);
        }
    }
    return image;
}

// The worst frame an operator draws: the whole noisy page asked for a
// block of 20 x 4. Whatever the answer, it must come in time.
void registerWholeNoisyPageRows()
{
    for (const Sheet& sheet : sheets) {
        const std::string row = "BM_ObjectiveGridWholeNoisyPage/" + sheet.name().toStdString();
        benchmark::RegisterBenchmark(row.c_str(), [sheet](benchmark::State& state) {
            const QPixmap page = QPixmap::fromImage(noisy(sheet.page()));
            const QRectF whole(QPointF(0, 0), page.size());
            OptionGridParams grid;
            getObjectPos(page, whole, 20, 4, grid);
            for (auto _ : state) {
                if (getObjectPos(page, whole, 20, 4, grid) == -1)
                    state.SkipWithError("image library error");
            }
        })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    }
}

const bool registered = [] {
    registerRows("BM_Line", line);
    registerRows("BM_Title", title);
    registerRows("BM_UniqueByHash", uniqueByHash);
    registerRows("BM_UniqueByTemplate", uniqueByTemplate);
    registerRows("BM_DigitColumns", digitColumns);
    registerRows("BM_ExamNumberGrid", examNumber);
    registerRows("BM_ObjectiveArea", objectiveArea);
    registerRows("BM_ObjectiveGrid", objectiveGrid);
    registerPageCornerRows();
    registerWholeNoisyPageRows();
    return true;
}();

} // namespace
