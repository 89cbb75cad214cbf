#include "algorithms/conversions.h"
#include "algorithms/examnumber.h"
#include "algorithms/optiongrid.h"
#include "tests/algorithms/synthetic.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QMap>
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
        QPointF low = first;
        QPointF high = first;
        for (const QPointF& p : {centre(0, cols - 1), centre(rows - 1, 0), centre(rows - 1, cols - 1)}) {
            low = QPointF(std::min(low.x(), p.x()), std::min(low.y(), p.y()));
            high = QPointF(std::max(high.x(), p.x()), std::max(high.y(), p.y()));
        }
        return QRectF(low - half, high + half);
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

struct Sheet
{
    QPixmap page;
    Truth truth;
    bool scanned = false; // one of tests/data/real, not drawn here
};

// The cards of the kinds not among the scans, drawn with their truth.
QVector<Sheet> drawnSheets()
{
    using G = synthetic::PrintedGrid;
    const QVector<QPoint> pencil{{0, 3}, {1, 0}, {2, 9}, {3, 5}, {4, 4}};
    const QColor black(Qt::black);
    const QColor grey(120, 120, 120);
    const QColor lightRed(240, 140, 120);
    struct Drawn
    {
        const char* name;
        double dpi;
        G grid;
    };
    // mark, digits, rows, cols, first box, box, pitch, pen, ink, dotted,
    // header, question numbers, tilt, pencil
    const Drawn drawn[] = {
        {"150 dpi, [0] brackets, pencil, header", 150,
         {G::Brackets, true, 10, 8, {300, 200}, {20, 18}, {36, 24.5}, 2, black, false, true, false, 0, pencil}},
        {"150 dpi, [0] brackets, tilted 0.8 degrees", 150,
         {G::Brackets, true, 10, 8, {300, 200}, {20, 18}, {36, 24.5}, 2, black, false, true, false, 0.8, pencil}},
        {"300 dpi, [A] brackets, question numbers", 300,
         {G::Brackets, false, 5, 4, {400, 300}, {44, 32}, {100, 56}, 2, black, false, false, true, 0,
          {{0, 0}, {2, 1}, {3, 4}}}},
        {"300 dpi, touching A|B|C|D strips, dotted grey", 300,
         {G::Strips, false, 6, 4, {400, 300}, {108, 48}, {108, 72}, 3, grey, true, false, false, 0, {}}},
        {"300 dpi, digit rectangles, dotted grey, header", 300,
         {G::Rectangles, true, 10, 9, {400, 400}, {48, 26}, {64, 42}, 3, grey, true, true, false, 0, {}}},
        {"300 dpi, light red bubbles, pencil, header", 300,
         {G::Bubbles, true, 10, 6, {400, 400}, {33, 42}, {102.8, 50}, 3, lightRed, false, true, false, 0, pencil}},
        {"100 dpi, bubbles, Roll No. table", 100,
         {G::Bubbles, true, 10, 4, {150, 150}, {14, 14}, {20, 18}, 1, black, false, true, false, 0, {}}},
    };
    QVector<Sheet> sheets;
    for (const Drawn& d : drawn) {
        QImage image = synthetic::a4Page(d.dpi);
        synthetic::drawPrintedGrid(image, d.grid);
        const G& g = d.grid;
        Truth truth{QString::fromLatin1(d.name), QString(), !g.digits, g.rows, g.cols, g.centre(0, 0),
                    g.centre(0, 1) - g.centre(0, 0), g.centre(1, 0) - g.centre(0, 0), g.box, g.table()};
        sheets.append({QPixmap::fromImage(image), truth});
    }
    return sheets;
}

QVector<Sheet> allSheets()
{
    QVector<Sheet> sheets;
    for (const Truth& truth : readTruth())
        sheets.append({QPixmap(QStringLiteral(TOLLIVAR_REAL_SCANS "/") + truth.sheet), truth, true});
    return sheets + drawnSheets();
}

// A grid measured on a frame around a whole table, for the pictures.
struct Measured
{
    Truth truth;
    QRectF frame;
    OptionGridParams grid;
};

// When TOLLIVAR_GRID_PICTURES_DIR names a folder, draws each scan's
// measured grids (red boxes) beside the truth's centres (green crosses)
// and the frame (blue) into real-<scan>.png there, cut to its tables.
void drawPictures(const QPixmap& page, const QVector<Measured>& grids)
{
    const QString folder = qEnvironmentVariable("TOLLIVAR_GRID_PICTURES_DIR");
    if (folder.isEmpty() || grids.isEmpty())
        return;
    QImage image = page.toImage().convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF shown;
    for (const Measured& m : grids) {
        shown |= m.frame;
        painter.setPen(QPen(Qt::blue, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(m.frame);
        const QPointF origin = m.frame.toRect().topLeft();
        for (int r = 0; r < m.truth.rows; ++r) {
            for (int c = 0; c < m.truth.cols; ++c) {
                painter.setPen(QPen(QColor(230, 0, 0), 1.5));
                painter.drawRect(QRectF(origin + QPointF(m.grid.x + c * m.grid.columnPitch, m.grid.y + r * m.grid.rowPitch),
                                        QSizeF(m.grid.boxWidth, m.grid.boxHeight)));
                painter.setPen(QPen(QColor(0, 170, 0), 1.5));
                const QPointF t = m.truth.centre(r, c);
                painter.drawLine(t - QPointF(3, 0), t + QPointF(3, 0));
                painter.drawLine(t - QPointF(0, 3), t + QPointF(0, 3));
            }
        }
    }
    painter.end();
    const QRect cut = shown.adjusted(-30, -30, 30, 30).toRect().intersected(image.rect());
    const QString name = QFileInfo(grids.first().truth.sheet).completeBaseName();
    image.copy(cut).save(QDir(folder).filePath(QStringLiteral("real-%1.png").arg(name)));
}

} // namespace

// Every scan in tests/data/real and every drawn card, framed tight, 4 and
// 8 pixels out, and around its whole table with the header and write-in
// row: every laid-out box centre lies within a third of a box of its
// printed box, and every frame gives the same grid within 2 pixels.
TEST(RealPaper, everyLaidOutBoxSitsOnItsPrintedBox)
{
    const QVector<Sheet> sheets = allSheets();
    ASSERT_EQ(sheets.size(), 6 + 7);
    QMap<QString, QVector<Measured>> tables; // per scan
    for (const Sheet& s : sheets) {
        const Truth& truth = s.truth;
        const QPixmap& page = s.page;
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
            EXPECT_EQ(result, 0);
            if (result != 0)
                continue;
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
            // The boxes are the printed ones, not the letters inside them.
            EXPECT_NEAR(grid.boxWidth, truth.box.width(), 0.4 * truth.box.width());
            EXPECT_NEAR(grid.boxHeight, truth.box.height(), 0.4 * truth.box.height());
            // Any frame gives the same grid: within 2 pixels at 200 dpi.
            EXPECT_LE(moved, std::max(2.0, pageDpi(page.size()) / 100.0));
            EXPECT_EQ(off, 0) << "first box " << grid.x << "," << grid.y << " " << grid.boxWidth << "x"
                              << grid.boxHeight << " pitches " << grid.columnPitch << "," << grid.rowPitch;
            if (s.scanned && drawn == truth.table)
                tables[truth.sheet].append({truth, frame, grid});
        }
    }
    for (const Sheet& s : sheets) {
        if (s.scanned)
            drawPictures(s.page, tables.take(s.truth.sheet));
    }
}
