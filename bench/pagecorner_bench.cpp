#include "algorithms/pagecorner.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <vector>

static const QSize a3(3307, 2339);

// An A3 sheet at 200 dpi, tilted by 2 degrees on a dark scanner lid.
static QPixmap tiltedA3Scan()
{
    QImage image(a3, QImage::Format_RGB32);
    image.fill(QColor(20, 20, 20));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(a3.width() / 2.0, a3.height() / 2.0);
    painter.rotate(2.0);
    painter.translate(-3100 / 2.0, -2150 / 2.0);
    painter.fillRect(QRect(0, 0, 3100, 2150), Qt::white);
    for (int row = 0; row < 40; ++row)
        painter.fillRect(QRect(150, 150 + row * 45, 2800, 4), Qt::black);
    return QPixmap::fromImage(image);
}

static void BM_CheckPageCornerA3(benchmark::State& state)
{
    const QPixmap scan = tiltedA3Scan();
    // The first call in a process pays for loading the library's code.
    QPixmap warmUp = scan;
    checkPageCorner(&warmUp, a3.width(), a3.height(), false, true);
    for (auto _ : state) {
        state.PauseTiming();
        QPixmap page = scan;
        state.ResumeTiming();
        if (!checkPageCorner(&page, a3.width(), a3.height(), false, true))
            state.SkipWithError("page refused");
    }
}
BENCHMARK(BM_CheckPageCornerA3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Eight pages side by side, one per worker, as the image intake runs them.
static void BM_CheckPageCornerA3EightPages(benchmark::State& state)
{
    const QPixmap scan = tiltedA3Scan();
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<QPixmap> pages(8, scan);
        state.ResumeTiming();
        int accepted = 0;
#pragma omp parallel for reduction(+ : accepted)
        for (int i = 0; i < 8; ++i)
            accepted += checkPageCorner(&pages[i], a3.width(), a3.height(), false, true);
        if (accepted != 8)
            state.SkipWithError("page refused");
    }
    state.counters["s_per_page"] = benchmark::Counter(8.0 * state.iterations(),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CheckPageCornerA3EightPages)->Unit(benchmark::kMillisecond)->UseRealTime();
