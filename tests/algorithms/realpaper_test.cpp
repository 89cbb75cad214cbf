#include "algorithms/conversions.h"
#include "algorithms/examnumber.h"
#include "algorithms/linecheck.h"
#include "algorithms/optiongrid.h"
#include "tests/algorithms/synthetic.h"
#include "tests/algorithms/worncards.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineF>
#include <QMap>
#include <QPainter>
#include <QPolygonF>
#include <QTextStream>
#include <QTransform>

#include <array>
#include <cmath>
#include <cstdio>

namespace {

// One grid printed on a picture, as measured (tests/data/real/README.md).
struct Truth
{
    QString sheet;
    QString grid;
    bool objective = false;
    QString set; // "tune", "heldout" or "worn"; drawn cards count as tuning
    double dpi = 200; // pixels per inch of paper
    int rows = 0;
    int cols = 0;
    QSizeF box;
    QRectF table; // the whole printed table, header and write-in row included
    // Centres of the top left, top right, bottom left and bottom right boxes.
    std::array<QPointF, 4> corners;
    int digitColumns = 0; // what countDigitColumns counts in every frame; 0 not asked
    // Measured, not held to the table: the held-out pictures and the faint
    // worn cards may be refused; no frame of them may give a wrong grid.
    bool mayRefuse = false;

    // The photos have keystone: the grid is the projective lattice through
    // the four corner boxes.
    QPointF centre(int r, int c) const
    {
        QTransform lattice;
        const QPolygonF indices(QVector<QPointF>{{0, 0}, {cols - 1.0, 0}, {cols - 1.0, rows - 1.0}, {0, rows - 1.0}});
        const QPolygonF page(QVector<QPointF>{corners[0], corners[1], corners[3], corners[2]});
        QTransform::quadToQuad(indices, page, lattice);
        return lattice.map(QPointF(c, r));
    }
    // The printed boxes' extent, `margin` pixels wider each way.
    QRectF around(double margin) const
    {
        QPointF low = corners[0];
        QPointF high = corners[0];
        for (const QPointF& p : corners) {
            low = QPointF(std::min(low.x(), p.x()), std::min(low.y(), p.y()));
            high = QPointF(std::max(high.x(), p.x()), std::max(high.y(), p.y()));
        }
        const QPointF half(box.width() / 2 + margin, box.height() / 2 + margin);
        return QRectF(low - half, high + half);
    }
};

// How far the grid's rows turn, in degrees: positive when their right end
// lies lower.
double rowTurn(const Truth& t)
{
    const QPointF top = t.corners[1] - t.corners[0];
    const QPointF bottom = t.corners[3] - t.corners[2];
    return std::atan2(top.y() + bottom.y(), top.x() + bottom.x()) * 180 / M_PI;
}

// The least worst error, over every first box and pitch, with which an
// axis-aligned lattice (what the program lays out) can follow the printed
// centres along one axis: the half range of centre - index * pitch is
// convex in the pitch, so a ternary search finds its least value.
double leastWorstError(const QVector<double>& centres, const QVector<int>& indices, double low, double high)
{
    auto worst = [&](double pitch) {
        double least = 1e18;
        double most = -1e18;
        for (int i = 0; i < centres.size(); ++i) {
            least = std::min(least, centres[i] - indices[i] * pitch);
            most = std::max(most, centres[i] - indices[i] * pitch);
        }
        return (most - least) / 2;
    };
    for (int step = 0; step < 100; ++step) {
        const double a = low + (high - low) / 3;
        const double b = high - (high - low) / 3;
        (worst(a) < worst(b) ? high : low) = worst(a) < worst(b) ? b : a;
    }
    return worst((low + high) / 2);
}

// Whether some axis-aligned grid puts every box centre within a third of a
// box of its printed box. Photos that turn or bend a grid further cannot
// be laid out, and the check must refuse them rather than save a wrong grid.
bool axisAlignedGridFits(const Truth& t)
{
    QVector<double> xs, ys;
    QVector<int> cs, rs;
    for (int r = 0; r < t.rows; ++r) {
        for (int c = 0; c < t.cols; ++c) {
            xs.append(t.centre(r, c).x());
            ys.append(t.centre(r, c).y());
            cs.append(c);
            rs.append(r);
        }
    }
    const double span = 4 * std::max(t.box.width(), t.box.height()) + 100;
    return leastWorstError(xs, cs, -span, span) <= t.box.width() / 3
        && leastWorstError(ys, rs, -span, span) <= t.box.height() / 3;
}

// A picture whose grid turns more than the program follows is framed as
// the line step leaves it: turned straight by the grid's own tilt, the
// truth turned with it. The line step straightens up to 5 degrees only;
// beyond that the picture stays as it is.
void straightenAsTheLineStepWould(QPixmap& page, Truth& t)
{
    const double turn = rowTurn(t);
    if (std::abs(turn) <= 0.7 || std::abs(turn) > 5)
        return;
    cv::Mat turned;
    rotateImage(QImageToCvMat(page.toImage()), &turned, turn);
    const cv::Mat matrix = cv::getRotationMatrix2D(cv::Point2f(page.width() / 2.0f, page.height() / 2.0f), turn, 1.0);
    auto map = [&](const QPointF& p) {
        return QPointF(matrix.at<double>(0, 0) * p.x() + matrix.at<double>(0, 1) * p.y() + matrix.at<double>(0, 2),
                       matrix.at<double>(1, 0) * p.x() + matrix.at<double>(1, 1) * p.y() + matrix.at<double>(1, 2));
    };
    for (QPointF& corner : t.corners)
        corner = map(corner);
    // The table's frame is drawn around the turned table.
    const QPolygonF table = QPolygonF(t.table).toPolygon();
    QPolygonF mapped;
    for (const QPointF& p : table)
        mapped.append(map(p));
    t.table = mapped.boundingRect().intersected(QRectF(QPointF(0, 0), page.size()));
    page = cvMatToQPixmap(turned);
}

// The rows of the set named by TOLLIVAR_REALPAPER_SET ("tune" or
// "heldout"; all when unset).
QString chosenSet()
{
    return qEnvironmentVariable("TOLLIVAR_REALPAPER_SET");
}

// Each row's corners are the mean of the hand-read and the fitted ones;
// `apart` gets, per row, how far the two lie from each other at most.
QVector<Truth> readTruth(QVector<double>* apart = nullptr)
{
    QVector<Truth> truths;
    QFile file(QStringLiteral(TOLLIVAR_REAL_SCANS "/truth.csv"));
    if (!file.open(QIODevice::ReadOnly))
        return truths;
    QTextStream in(&file);
    const QStringList names = in.readLine().mid(2).split(',');
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(',');
        if (f.size() != names.size())
            continue;
        auto text = [&](const char* name) { return f.value(names.indexOf(QLatin1String(name))); };
        auto n = [&](const QString& name) { return f.value(names.indexOf(name)).toDouble(); };
        Truth t{text("sheet"), text("grid"), text("check") == QLatin1String("objective"), text("set"),
                n("dpi"), int(n("rows")), int(n("cols")), QSizeF(n("box_w"), n("box_h")),
                QRectF(n("table_x"), n("table_y"), n("table_w"), n("table_h")), {}};
        if (!chosenSet().isEmpty() && t.set != chosenSet())
            continue;
        t.mayRefuse = t.set == QLatin1String("heldout");
        // The exam-number dialog is preset with the columns counted.
        if (!t.objective)
            t.digitColumns = t.cols;
        double most = 0;
        const char* corner[] = {"tl", "tr", "bl", "br"};
        for (int i = 0; i < 4; ++i) {
            auto at = [&](const char* kind) {
                return QPointF(n(QStringLiteral("%1_%2_x").arg(kind, corner[i])),
                               n(QStringLiteral("%1_%2_y").arg(kind, corner[i])));
            };
            t.corners[i] = (at("hand") + at("fit")) / 2;
            most = std::max(most, QLineF(at("hand"), at("fit")).length());
        }
        truths.append(t);
        if (apart)
            apart->append(most);
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
    const QColor faintGrey(170, 170, 170);
    const QColor lightRed(240, 140, 120);
    const QColor lightBrown(205, 160, 115);
    const QColor red(220, 70, 70);
    const QColor pink(230, 100, 150);
    const QColor dark(50, 50, 50);
    QVector<QPoint> everyRow; // a pencil mark in each of twenty rows
    for (int r = 0; r < 20; ++r)
        everyRow.append({(r * 7) % 4, r});
    struct Drawn
    {
        const char* name;
        double dpi;
        G grid;
        bool a3 = false;
        int digitColumns = 0; // what countDigitColumns must count; 0 not asked
    };
    // mark, digits, rows, cols, first box, box, pitch, pen, ink, dotted,
    // header, question numbers, tilt, pencil, rules, stripes, handwriting,
    // loose margin, bar
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
        {"150 dpi, faint grey dotted [0] brackets, dotted column rules", 150,
         {G::Brackets, true, 10, 8, {300, 200}, {22, 18}, {36, 26}, 2, faintGrey, true, false, false, 0, {},
          G::DottedRules},
         false, 8},
        {"200 dpi, light brown ellipses with digits", 200,
         {G::Bubbles, true, 10, 7, {300, 300}, {36, 22}, {50, 32}, 2, lightBrown, false, false, false, 0, pencil}},
        {"300 dpi, light brown ellipses with digits", 300,
         {G::Bubbles, true, 10, 7, {450, 450}, {54, 33}, {75, 48}, 3, lightBrown, false, false, false, 0, pencil}},
        {"150 dpi A3, pencil over [A] brackets in every row", 150,
         {G::Brackets, false, 20, 4, {300, 300}, {24, 18}, {40, 26}, 2, black, false, false, true, 0, everyRow},
         true},
        {"200 dpi, handwriting from the write-in row into the first row", 200,
         {G::Bubbles, true, 10, 6, {400, 400}, {30, 20}, {45, 32}, 2, black, false, true, false, 0, {}, G::NoRules,
          QColor(), true}},
        {"200 dpi, frame 3 mm loose over handwriting", 200,
         {G::Bubbles, true, 10, 6, {400, 400}, {30, 20}, {45, 32}, 2, black, false, false, false, 0, {}, G::NoRules,
          QColor(), true, 24}},
        {"200 dpi, red striped table, frame 3 mm loose over a border and a bar", 200,
         {G::Bubbles, true, 10, 5, {400, 400}, {28, 20}, {42, 30}, 2, red, false, false, false, 0, pencil, G::NoRules,
          QColor(250, 215, 215), false, 24, true},
         false, 5},
        {"200 dpi, standard grey boxes with letters", 200,
         {G::Shaded, false, 5, 4, {400, 400}, {68, 48}, {109.656, 80.583}, 2, dark, false, false, false, 0, {}}},
        {"200 dpi, pink striped table of ten digits", 200,
         {G::Bubbles, true, 10, 10, {300, 300}, {26, 20}, {40, 30}, 2, pink, false, false, false, 0, {}, G::NoRules,
          QColor(250, 222, 234)},
         false, 10},
    };
    QVector<Sheet> sheets;
    for (const Drawn& d : drawn) {
        QImage image = d.a3 ? synthetic::a3Page(d.dpi) : synthetic::a4Page(d.dpi);
        synthetic::drawPrintedGrid(image, d.grid);
        const G& g = d.grid;
        Truth truth{QString::fromLatin1(d.name), QString(), !g.digits, QStringLiteral("tune"), d.dpi,
                    g.rows, g.cols, g.box, g.table(),
                    {g.centre(0, 0), g.centre(0, g.cols - 1), g.centre(g.rows - 1, 0), g.centre(g.rows - 1, g.cols - 1)}};
        truth.digitColumns = d.digitColumns;
        sheets.append({QPixmap::fromImage(image), truth});
    }
    for (const WornCard& w : wornCards()) {
        const G& g = w.grid;
        Truth truth{w.name, QString(), !g.digits, QStringLiteral("worn"), w.dpi, g.rows, g.cols, g.box, g.table(),
                    {g.centre(0, 0), g.centre(0, g.cols - 1), g.centre(g.rows - 1, 0), g.centre(g.rows - 1, g.cols - 1)}};
        truth.mayRefuse = w.mayRefuse;
        sheets.append({QPixmap::fromImage(w.page), truth});
    }
    return sheets;
}

QVector<Sheet> allSheets()
{
    QVector<Sheet> sheets;
    QMap<QString, QPixmap> pages;
    for (const Truth& truth : readTruth()) {
        if (!pages.contains(truth.sheet))
            pages[truth.sheet] = QPixmap(QStringLiteral(TOLLIVAR_REAL_SCANS "/") + truth.sheet);
        Sheet sheet{pages[truth.sheet], truth, true};
        straightenAsTheLineStepWould(sheet.page, sheet.truth);
        sheets.append(sheet);
    }
    return chosenSet() == QLatin1String("heldout") ? sheets : sheets + drawnSheets();
}

// A grid measured on a frame around a whole table, for the pictures.
struct Measured
{
    Truth truth;
    QRectF frame;
    OptionGridParams grid;
    QPixmap page; // as measured: straightened by its grid's own turn
};

// Draws grids measured on one page, the measured grids (red boxes) beside
// the truth's centres (green crosses) and the frame (blue), into
// `folder`/real-`name`.png, cut to its tables.
void drawPicture(const QVector<Measured>& grids, const QString& folder, const QString& name)
{
    QImage image = grids.first().page.toImage().convertToFormat(QImage::Format_RGB32);
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
    image.copy(cut).save(QDir(folder).filePath(QStringLiteral("real-%1.png").arg(name)));
}

// When TOLLIVAR_GRID_PICTURES_DIR names a folder, draws a scan's measured
// grids into real-<scan>.png there; grids measured on the scan
// straightened by another turn into real-<scan>-2.png and on, each on the
// page it was measured on.
void drawPictures(const QVector<Measured>& measured)
{
    const QString folder = qEnvironmentVariable("TOLLIVAR_GRID_PICTURES_DIR");
    QVector<QVector<Measured>> byPage;
    for (const Measured& m : measured) {
        const auto same = std::find_if(byPage.begin(), byPage.end(), [&](const QVector<Measured>& grids) {
            return grids.first().page.cacheKey() == m.page.cacheKey();
        });
        if (same == byPage.end())
            byPage.append({m});
        else
            same->append(m);
    }
    for (int i = 0; i < byPage.size() && !folder.isEmpty(); ++i) {
        const QString name = QFileInfo(byPage[i].first().truth.sheet).completeBaseName();
        drawPicture(byPage[i], folder, i == 0 ? name : QStringLiteral("%1-%2").arg(name).arg(i + 1));
    }
}

// How many rows of truth.csv the chosen set holds.
int expectedRows()
{
    const QString set = chosenSet();
    return set == QLatin1String("tune") ? 38 : set == QLatin1String("heldout") ? 13 : 51;
}

// One grid framed one way: passed when the frame is taken and every box
// lies on its printed box; else why not.
struct Check
{
    bool fits = true; // some axis-aligned grid can follow the print
    QString set;
    QString sheet;
    QString grid;
    QString frame;
    QString failure; // empty when passed
};

// The checks per set, sheet and grid, for tuning: "tune: 30 of 88 checks".
void printChecks(const QVector<Check>& checks)
{
    QMap<QString, QPair<int, int>> perSet;
    QString lastGrid;
    for (const Check& c : checks) {
        QPair<int, int>& counts = perSet[c.fits ? c.set : c.set + QStringLiteral(", beyond an axis-aligned grid")];
        counts.first += c.failure.isEmpty() ? 1 : 0;
        ++counts.second;
        const QString grid = c.set + ' ' + (c.grid.isEmpty() ? c.sheet : c.sheet + ", " + c.grid)
                           + (c.fits ? QString() : QStringLiteral(" (beyond)")) + ':';
        QString line = grid == lastGrid ? QString() : '\n' + grid;
        std::printf("%s %s %s", qPrintable(line), qPrintable(c.frame), c.failure.isEmpty() ? "ok" : qPrintable(c.failure));
        lastGrid = grid;
    }
    std::printf("\n");
    for (auto it = perSet.cbegin(); it != perSet.cend(); ++it)
        std::printf("%s: %d of %d checks\n", qPrintable(it.key()), it.value().first, it.value().second);
}

} // namespace

// Both measurements of every printed grid agree within a third of a box,
// so a typing slip in the table shows here rather than as a wrong grid.
TEST(RealPaper, handReadAndFittedTruthAgree)
{
    QVector<double> apart;
    const QVector<Truth> truths = readTruth(&apart);
    ASSERT_EQ(truths.size(), expectedRows());
    for (int i = 0; i < truths.size(); ++i) {
        const Truth& t = truths[i];
        EXPECT_LE(apart[i], std::min(t.box.width(), t.box.height()) / 3)
            << t.sheet.toStdString() << ", " << t.grid.toStdString();
    }
}

// Every picture in tests/data/real and every drawn card, framed tight, 4
// and 8 pixels out at 200 dpi (in proportion at other resolutions), and
// around its whole table with the header and write-in row: every laid-out
// box centre lies within a third of a box of its printed box, and every
// frame gives the same grid within 2 pixels at 200 dpi. A picture turned
// more than 0.7 degrees is framed as the line step straightens it; a grid
// that no axis-aligned grid can follow even then must be refused. The
// held-out pictures and the faint worn cards are measured, not held to
// that: no check of them may lay out a wrong grid (a box centre outside
// its printed box), and no fewer held-out checks may pass than the README
// gives.
// TOLLIVAR_REALPAPER_SET=tune or heldout takes only that set's pictures.
TEST(RealPaper, everyLaidOutBoxSitsOnItsPrintedBox)
{
    const QVector<Sheet> sheets = allSheets();
    ASSERT_EQ(sheets.size(), expectedRows() + (chosenSet() == QLatin1String("heldout") ? 0 : 16 + 26));
    QMap<QString, QVector<Measured>> tables; // per scan
    QVector<Check> checks;
    QMap<QString, QPair<int, int>> digitCounts; // per set: right, asked
    for (const Sheet& s : sheets) {
        const Truth& truth = s.truth;
        const QPixmap& page = s.page;
        ASSERT_FALSE(page.isNull()) << truth.sheet.toStdString();
        const QRectF sheet(QPointF(0, 0), page.size());
        QVector<QPointF> firstFrame; // box centres from the tight frame
        QSizeF firstBox;               // and its box
        QPointF worst(-1, -1);         // the largest centre errors over the frames
        OptionGridParams wholeTable;   // the grid of the frame round the whole table
        const double fourAt200Dpi = 4 * truth.dpi / 200;
        const QRectF frames[] = {truth.around(0), truth.around(fourAt200Dpi), truth.around(2 * fourAt200Dpi),
                                 truth.table};
        const char* frameNames[] = {"tight", "+4", "+8", "table"};
        for (int f = 0; f < 4; ++f) {
            const QRectF& drawn = frames[f];
            const QRectF frame = drawn.intersected(sheet);
            SCOPED_TRACE(QStringLiteral("%1, %2, frame %3,%4 %5x%6")
                             .arg(truth.sheet, truth.grid)
                             .arg(frame.x())
                             .arg(frame.y())
                             .arg(frame.width())
                             .arg(frame.height())
                             .toStdString());
            const bool fits = axisAlignedGridFits(truth);
            // The held-out pictures measure how the checks do on paper they
            // were not tuned on: any result but a wrong grid is a figure.
            const bool mustHold = !truth.mayRefuse;
            Check check{fits, truth.set, truth.sheet, truth.grid, QLatin1String(frameNames[f]), QString()};
            if (truth.digitColumns > 0 && fits) {
                int count = 0;
                const bool counted = countDigitColumns(page, frame, count) == 0 && count == truth.digitColumns;
                // A real table framed whole may print other columns of
                // bubbles beside the digits (letters, a key): counted, not held.
                EXPECT_TRUE(counted || !mustHold || (s.scanned && drawn == truth.table))
                    << "digit columns counted " << count;
                digitCounts[truth.set].first += counted ? 1 : 0;
                ++digitCounts[truth.set].second;
            }
            OptionGridParams grid;
            // A block framed with its question numbers and asked for one
            // option more than it prints is refused, not laid out with its
            // first option on the numbers; a grid framed tight and asked for
            // one column fewer is refused too: the print holds more.
            if (truth.objective && fits && drawn == truth.table) {
                const bool more = getObjectPos(page, frame, truth.rows, truth.cols + 1, grid) != 0;
                EXPECT_TRUE(more || !mustHold) << "one option more";
                check.failure += more ? QString() : QStringLiteral("one option more taken; ");
            }
            if (fits && f == 0 && truth.cols > 1) {
                const bool fewer = (truth.objective ? getObjectPos(page, frame, truth.rows, truth.cols - 1, grid)
                                                    : getStuNoPos(page, frame, truth.rows, truth.cols - 1, false, grid))
                    != 0;
                EXPECT_TRUE(fewer || !mustHold) << "one column fewer";
                check.failure += fewer ? QString() : QStringLiteral("one column fewer taken; ");
            }
            const int result = truth.objective ? getObjectPos(page, frame, truth.rows, truth.cols, grid)
                                               : getStuNoPos(page, frame, truth.rows, truth.cols, false, grid);
            const bool refused = result == unmeasurableGrid || result == gridCountDiffers || result == gridOffPrint;
            if (!fits && refused) {
                checks.append(check); // said it cannot: right
                continue;
            }
            EXPECT_TRUE(result == 0 || (!mustHold && refused)) << "code " << result;
            if (result != 0) {
                check.failure += QStringLiteral("code %1").arg(result);
                checks.append(check);
                continue;
            }
            const QPointF origin = frame.toRect().topLeft();
            int off = 0;
            int wrong = 0;    // centres outside their printed box
            double moved = 0; // from the tight frame's grid
            for (int r = 0; r < truth.rows; ++r) {
                for (int c = 0; c < truth.cols; ++c) {
                    const QPointF laid = origin + QPointF(grid.x + c * grid.columnPitch + grid.boxWidth / 2,
                                                          grid.y + r * grid.rowPitch + grid.boxHeight / 2);
                    const QPointF d = laid - truth.centre(r, c);
                    if (std::abs(d.x()) > truth.box.width() / 3 || std::abs(d.y()) > truth.box.height() / 3)
                        ++off;
                    if (std::abs(d.x()) > truth.box.width() / 2 || std::abs(d.y()) > truth.box.height() / 2)
                        ++wrong;
                    worst = QPointF(std::max(worst.x(), std::abs(d.x())), std::max(worst.y(), std::abs(d.y())));
                    if (firstFrame.size() < truth.rows * truth.cols)
                        firstFrame.append(laid);
                    const QPointF m = laid - firstFrame[r * truth.cols + c];
                    moved = std::max({moved, std::abs(m.x()), std::abs(m.y())});
                }
            }
            EXPECT_EQ(wrong, 0) << "a wrong grid";
            if (off > 0)
                check.failure += QStringLiteral("%1 off").arg(off);
            checks.append(check);
            if (drawn == truth.table) {
                wholeTable = grid;
                wholeTable.x += origin.x();
                wholeTable.y += origin.y();
            }
            if (s.scanned && drawn == truth.table)
                tables[truth.sheet].append({truth, frame, grid, page});
            if (!mustHold)
                continue;
            // The boxes are the printed ones, not the letters inside them.
            EXPECT_NEAR(grid.boxWidth, truth.box.width(), 0.4 * truth.box.width());
            EXPECT_NEAR(grid.boxHeight, truth.box.height(), 0.4 * truth.box.height());
            // Any frame gives the same grid and box: within 2 pixels at 200 dpi.
            if (firstBox.isEmpty())
                firstBox = QSizeF(grid.boxWidth, grid.boxHeight);
            const double sameWithin = std::max(2.0, truth.dpi / 100.0);
            EXPECT_LE(moved, sameWithin);
            EXPECT_NEAR(grid.boxWidth, firstBox.width(), sameWithin);
            EXPECT_NEAR(grid.boxHeight, firstBox.height(), sameWithin);
            EXPECT_EQ(off, 0) << "first box " << grid.x << "," << grid.y << " " << grid.boxWidth << "x"
                              << grid.boxHeight << " pitches " << grid.columnPitch << "," << grid.rowPitch;
        }
        // For the README: the whole table's grid against the truth.
        if (worst.x() >= 0 && wholeTable.boxWidth > 0) {
            const QPointF first(wholeTable.x + wholeTable.boxWidth / 2, wholeTable.y + wholeTable.boxHeight / 2);
            std::printf("%s, %s: first box (%.1f, %.1f), pitches %.2f / %.2f; truth (%.1f, %.1f), %.2f / %.2f; "
                        "worst %.1f / %.1f px of %.1f / %.1f\n",
                        qPrintable(truth.sheet), qPrintable(truth.grid), first.x(), first.y(), wholeTable.columnPitch,
                        wholeTable.rowPitch, truth.centre(0, 0).x(), truth.centre(0, 0).y(),
                        QLineF(truth.centre(0, 0), truth.centre(0, truth.cols - 1)).length() / std::max(1, truth.cols - 1),
                        QLineF(truth.centre(0, 0), truth.centre(truth.rows - 1, 0)).length() / std::max(1, truth.rows - 1),
                        worst.x(), worst.y(), truth.box.width() / 3, truth.box.height() / 3);
        }
    }
    for (const QVector<Measured>& measured : tables)
        drawPictures(measured);
    printChecks(checks);
    for (auto it = digitCounts.cbegin(); it != digitCounts.cend(); ++it)
        std::printf("%s: digit columns counted right in %d of %d frames\n", qPrintable(it.key()), it.value().first,
                    it.value().second);
    if (chosenSet() != QLatin1String("tune")) {
        const int heldOutPassed = static_cast<int>(std::count_if(checks.begin(), checks.end(), [](const Check& c) {
            return c.set == QLatin1String("heldout") && c.fits && c.failure.isEmpty();
        }));
        EXPECT_GE(heldOutPassed, 22) << "held-out checks passed";
    }
}
