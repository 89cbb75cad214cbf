#include "algorithms/examnumber.h"
#include "algorithms/optiongrid.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTextStream>

#include <cmath>

namespace {

// One grid printed on a scan, as measured by hand (tests/data/real/README.md).
struct Truth
{
    QString sheet;
    QString grid;
    bool objective = false;
    int rows = 0;
    int cols = 0;
    QPointF first;  // centre of the first box
    QPointF column; // from one box to the next on its row
    QPointF row;    // from one box to the one below
    QSizeF box;
    QRectF table; // the whole printed table, header and write-in row included

    QPointF centre(int r, int c) const { return first + c * column + r * row; }
    // The printed boxes' extent, `margin` pixels wider each way.
    QRectF around(double margin) const
    {
        const QPointF half(box.width() / 2 + margin, box.height() / 2 + margin);
        const QPointF last = centre(rows - 1, cols - 1);
        return QRectF(first - half, last + half);
    }
};

QVector<Truth> readTruth()
{
    QVector<Truth> truths;
    QFile file(QStringLiteral(TOLLIVAR_REAL_SCANS "/truth.csv"));
    if (!file.open(QIODevice::ReadOnly))
        return truths;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const QStringList f = line.split(',');
        if (line.startsWith('#') || f.size() != 19)
            continue;
        auto n = [&](int i) { return f[i].toDouble(); };
        truths.append({f[0], f[1], f[2] == QLatin1String("objective"), f[3].toInt(), f[4].toInt(),
                       QPointF(n(5), n(6)), QPointF(n(7), n(8)), QPointF(n(9), n(10)), QSizeF(n(11), n(12)),
                       QRectF(n(15), n(16), n(17), n(18))});
    }
    return truths;
}

// Draws every laid-out box on the sheet (red) beside the truth's centres
// (green) when TOLLIVAR_GRID_PICTURES_DIR names a folder.
void picture(const Truth& truth, const QPixmap& page, const QRectF& frame, const OptionGridParams& grid)
{
    const QString folder = qEnvironmentVariable("TOLLIVAR_GRID_PICTURES_DIR");
    if (folder.isEmpty())
        return;
    const QString path = QDir(folder).filePath(
        QStringLiteral("real-%1.png").arg(QFileInfo(truth.sheet).completeBaseName()));
    QImage image = QFile::exists(path) ? QImage(path) : page.toImage().convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::blue, 1, Qt::DashLine));
    painter.drawRect(frame);
    const QPointF origin = frame.toRect().topLeft();
    for (int r = 0; r < truth.rows; ++r) {
        for (int c = 0; c < truth.cols; ++c) {
            painter.setPen(QPen(QColor(230, 0, 0), 2));
            painter.drawRect(QRectF(origin + QPointF(grid.x + c * grid.columnPitch, grid.y + r * grid.rowPitch),
                                    QSizeF(grid.boxWidth, grid.boxHeight)));
            painter.setPen(QPen(QColor(0, 170, 0), 2));
            const QPointF t = truth.centre(r, c);
            painter.drawLine(t - QPointF(3, 0), t + QPointF(3, 0));
            painter.drawLine(t - QPointF(0, 3), t + QPointF(0, 3));
        }
    }
    painter.end();
    image.save(path);
}

} // namespace

// Every scan in tests/data/real, framed tight, 4 and 8 pixels out, and
// around its whole table with the header and write-in row: every laid-out
// box centre lies within a third of a box of its printed box.
TEST(RealPaper, everyLaidOutBoxSitsOnItsPrintedBox)
{
    const QVector<Truth> truths = readTruth();
    ASSERT_EQ(truths.size(), 6);
    for (const Truth& truth : truths) {
        const QPixmap page(QStringLiteral(TOLLIVAR_REAL_SCANS "/") + truth.sheet);
        ASSERT_FALSE(page.isNull()) << truth.sheet.toStdString();
        const QRectF sheet(QPointF(0, 0), page.size());
        QVector<QPointF> firstFrame; // box centres from the tight frame
        const QRectF frames[] = {truth.around(0), truth.around(4), truth.around(8), truth.table};
        for (const QRectF& drawn : frames) {
            const QRectF frame = drawn.intersected(sheet);
            SCOPED_TRACE(QStringLiteral("%1, %2, frame %3,%4 %5x%6")
                             .arg(truth.sheet, truth.grid)
                             .arg(frame.x())
                             .arg(frame.y())
                             .arg(frame.width())
                             .arg(frame.height())
                             .toStdString());
            OptionGridParams grid;
            const int result = truth.objective ? getObjectPos(page, frame, truth.rows, truth.cols, grid)
                                               : getStuNoPos(page, frame, truth.rows, truth.cols, false, grid);
            ASSERT_EQ(result, 0);
            const QPointF origin = frame.toRect().topLeft();
            int off = 0;
            double moved = 0; // from the tight frame's grid
            for (int r = 0; r < truth.rows; ++r) {
                for (int c = 0; c < truth.cols; ++c) {
                    const QPointF laid = origin + QPointF(grid.x + c * grid.columnPitch + grid.boxWidth / 2,
                                                          grid.y + r * grid.rowPitch + grid.boxHeight / 2);
                    const QPointF d = laid - truth.centre(r, c);
                    if (std::abs(d.x()) > truth.box.width() / 3 || std::abs(d.y()) > truth.box.height() / 3)
                        ++off;
                    if (firstFrame.size() < truth.rows * truth.cols)
                        firstFrame.append(laid);
                    const QPointF m = laid - firstFrame[r * truth.cols + c];
                    moved = std::max({moved, std::abs(m.x()), std::abs(m.y())});
                }
            }
            // Any frame gives the same grid.
            EXPECT_LE(moved, 2.0);
            EXPECT_EQ(off, 0) << "first box " << grid.x << "," << grid.y << " " << grid.boxWidth << "x"
                              << grid.boxHeight << " pitches " << grid.columnPitch << "," << grid.rowPitch;
            if (drawn == truth.table)
                picture(truth, page, frame, grid);
        }
    }
}
