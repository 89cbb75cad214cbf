#include "algorithms/titlecheck.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <benchmark/benchmark.h>

// A full A3 page at 200 dpi, landscape, with a title and two columns of
// questions.
static QPixmap a3PageWithTitle(QRectF* frame)
{
    QImage image(3307, 2339, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(34);
    painter.setFont(font);
    for (int column = 0; column < 2; ++column)
        for (int line = 0; line < 14; ++line)
            painter.drawText(120 + column * 1650, 600 + line * 110,
                             QStringLiteral("%1. 已知函数 f(x) = x² − 2x + 3，求它在区间上的最小值。").arg(line + 1));
    font.setPixelSize(64);
    font.setBold(true);
    painter.setFont(font);
    const QRect title = painter.boundingRect(QRect(300, 250, 3000, 200), Qt::AlignLeft | Qt::AlignTop,
                                             QStringLiteral("2023—2024学年第一学期期末考试 数学答题卡"));
    painter.drawText(title, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("2023—2024学年第一学期期末考试 数学答题卡"));
    *frame = QRectF(title.adjusted(-30, -30, 30, 30));
    return QPixmap::fromImage(image);
}

static void BM_CheckTitleA3(benchmark::State& state)
{
    QRectF frame;
    const QPixmap page = a3PageWithTitle(&frame);
    // The first call in a process pays for loading the library's code.
    QRectF warmUp = frame;
    checkTitle(page, frame, &warmUp, true);
    for (auto _ : state) {
        QRectF title = frame;
        if (checkTitle(page, frame, &title, true) != TitleCheck::Accepted)
            state.SkipWithError("title refused");
    }
}
BENCHMARK(BM_CheckTitleA3)->Unit(benchmark::kMillisecond)->UseRealTime();
