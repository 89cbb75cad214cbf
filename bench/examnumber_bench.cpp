#include "algorithms/examnumber.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <benchmark/benchmark.h>

// A full A3 page at 200 dpi, landscape, with the exam-number table of a
// printed sheet: a ruled frame, a row of write-in boxes and ten digit
// columns of light outlined bubbles with their digits printed inside.
static QPixmap a3PageWithExamNumber(QRectF* frame)
{
    constexpr int columns = 10;
    constexpr int columnPitch = 47;
    constexpr int rowPitch = 34;
    const QRect table(300, 700, columns * columnPitch, 60 + 10 * rowPitch + 10);

    QImage image(3307, 2339, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawRect(table);
    painter.drawLine(table.left(), table.top() + 50, table.right(), table.top() + 50);
    for (int c = 1; c < columns; ++c)
        painter.drawLine(table.left() + c * columnPitch, table.top(), table.left() + c * columnPitch, table.top() + 50);

    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(16);
    painter.setFont(font);
    const QColor light(236, 120, 140);
    painter.setPen(QPen(light, 2));
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < 10; ++r) {
            const QRectF bubble(table.left() + c * columnPitch + 9.5, table.top() + 60 + r * rowPitch, 28, 25);
            painter.drawEllipse(bubble);
            painter.drawText(bubble, Qt::AlignCenter, QString::number(r));
        }
    }
    *frame = QRectF(table.adjusted(-20, -20, 20, 20));
    return QPixmap::fromImage(image);
}

// The exam-number step on a framed ten-digit table. Aim: under 150 ms.
static void BM_GetStuNoPosA3(benchmark::State& state)
{
    QRectF frame;
    const QPixmap page = a3PageWithExamNumber(&frame);
    // The first call in a process pays for loading the library's code.
    OptionGridParams warmUp;
    getStuNoPos(page, frame, 10, 10, false, warmUp);
    for (auto _ : state) {
        OptionGridParams grid;
        if (getStuNoPos(page, frame, 10, 10, false, grid) != 0)
            state.SkipWithError("grid not measured");
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(BM_GetStuNoPosA3)->Unit(benchmark::kMillisecond)->UseRealTime();
