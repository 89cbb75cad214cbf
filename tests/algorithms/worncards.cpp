#include "tests/algorithms/worncards.h"

#include <algorithm>

namespace {

using Grid = synthetic::PrintedGrid;

// A kind of grid as cards print it, in millimetres.
struct Kind
{
    const char* name;
    Grid::Mark mark;
    bool digits;
    int rows;
    int cols;
    QSizeF box;
    QSizeF pitch;
    bool dotted = false;
    bool header = false;  // title bar and write-in row above
    bool numbers = false; // question numbers left of the rows
    Grid::Rules rules = Grid::NoRules;
    bool striped = false;
};

const Kind digitEllipses{"digit ellipses", Grid::Bubbles, true, 10, 7, {4.0, 2.6}, {5.5, 3.8}, false, true};
const Kind letterCircles{"letter circles", Grid::Bubbles, false, 20, 4, {3.6, 3.6}, {6.0, 5.0}, false, false, true};
const Kind brackets{"bracketed letters", Grid::Brackets, false, 15, 5, {4.0, 2.8}, {7.0, 4.4}, false, false, true};
const Kind dottedBrackets{"dotted digit brackets", Grid::Brackets, true, 10, 8, {3.6, 3.0}, {6.0, 4.4}, true,
                          false, false, Grid::DottedRules};
const Kind rectangles{"digit rectangles", Grid::Rectangles, true, 10, 9, {4.0, 2.2}, {5.4, 3.6}, false, true};
const Kind strips{"touching strips", Grid::Strips, false, 6, 4, {9.0, 4.0}, {9.0, 6.0}};
const Kind greyBoxes{"grey letter boxes", Grid::Shaded, false, 5, 4, {8.6, 6.1}, {13.9, 10.2}};
const Kind ruledBubbles{"ruled bubbles", Grid::Bubbles, true, 10, 6, {3.6, 2.8}, {6.0, 4.2}, false, false, false,
                        Grid::SolidRules};
const Kind stripedBubbles{"striped bubbles", Grid::Bubbles, true, 10, 5, {3.6, 2.6}, {5.4, 3.8}, false, false, false,
                          Grid::NoRules, true};

enum Fills { NoFills, Pencil, Pen };

// One card: a kind printed in `ink` at `dpi`, turned, worn, filled in.
struct Card
{
    const Kind& kind;
    double dpi;
    QColor ink;
    double tilt;
    double keystone;
    synthetic::Wear wear;
    Fills fills = NoFills;
    bool handwriting = false;
    // The checks may refuse this card today (the README's limits); a grid
    // they do lay out must still lie on the print.
    bool mayRefuse = false;
};

const QColor black(20, 20, 20);
const QColor grey(130, 130, 130);
const QColor faintGrey(200, 200, 200);
const QColor lightRed(240, 140, 120);
const QColor faintOrange(250, 215, 195);
const QColor pink(235, 130, 170);
const QColor faintPink(245, 200, 215);

// lighting, blur, noise, JPEG quality, seed
const Card cards[] = {
    {digitEllipses, 200, black, 0, 0, {}},
    {digitEllipses, 85, faintGrey, 0, 0, {0, 0.8, 0, 50, 1}, Pencil, false, true},
    {digitEllipses, 300, faintOrange, 0, 0, {0, 0, 4, 0, 2}, Pen, true},
    {digitEllipses, 150, lightRed, 0, 0.7, {40, 0, 3, 40, 3}},
    {digitEllipses, 120, faintPink, 0.1, -0.6, {20, 0.5, 5, 50, 4}, Pencil, false, true},
    {letterCircles, 100, pink, -0.5, 0.2, {50, 0, 6, 45, 5}, Pencil},
    {letterCircles, 300, grey, 0, 0, {0, 1.2, 0, 70, 6}},
    {letterCircles, 85, black, 0, 0, {0, 0, 0, 35, 7}, Pen},
    {letterCircles, 200, faintOrange, 0, 0, {}},
    {brackets, 100, black, 0, 0, {0, 0.6, 0, 0, 8}, Pencil},
    {brackets, 300, faintGrey, 0, 0, {0, 0, 3, 0, 9}, Pen},
    {brackets, 150, lightRed, 0.7, 0, {0, 0, 0, 50, 10}},
    {dottedBrackets, 150, faintGrey, 0, 0, {}},
    {dottedBrackets, 200, grey, 0, -0.5, {0, 0, 4, 0, 11}},
    {dottedBrackets, 200, black, 0, 0, {0, 0.6, 0, 0, 3}},
    {rectangles, 300, grey, 0, 0, {}, Pencil, true},
    {rectangles, 100, faintOrange, 0, 0, {0, 0.7, 0, 0, 12}},
    {strips, 200, QColor(150, 150, 150), 0, 0, {0, 0, 0, 60, 13}},
    {strips, 300, black, -0.4, 0, {}},
    {strips, 100, black, 0, 0.5, {0, 0.6, 0, 0, 3}},
    {greyBoxes, 200, QColor(50, 50, 50), 0, 0, {0, 0, 3, 0, 14}},
    {greyBoxes, 150, QColor(50, 50, 50), 0, 0, {40, 0, 0, 50, 15}, Pencil},
    {ruledBubbles, 200, QColor(220, 70, 70), 0, 0, {}, Pencil},
    {ruledBubbles, 100, faintGrey, 0, 0, {0, 0, 4, 40, 16}},
    {stripedBubbles, 200, QColor(220, 70, 70), 0, 0, {}, Pencil},
    {stripedBubbles, 150, pink, 0, 0.5, {0, 0, 0, 50, 17}},
};

double pixels(double mm, double dpi)
{
    return mm * dpi / 25.4;
}

Grid printedGrid(const Card& card)
{
    const Kind& k = card.kind;
    Grid g;
    g.mark = k.mark;
    g.digits = k.digits;
    g.rows = k.rows;
    g.cols = k.cols;
    g.origin = QPointF(pixels(30, card.dpi), pixels(40, card.dpi));
    g.box = QSizeF(pixels(k.box.width(), card.dpi), pixels(k.box.height(), card.dpi));
    g.pitch = QSizeF(pixels(k.pitch.width(), card.dpi), pixels(k.pitch.height(), card.dpi));
    g.pen = std::max(1, qRound(pixels(0.2, card.dpi)));
    g.ink = card.ink;
    g.dotted = k.dotted;
    g.header = k.header;
    g.numbers = k.numbers;
    g.tiltDegrees = card.tilt;
    g.keystoneDegrees = card.keystone;
    g.rules = k.rules;
    if (k.striped)
        g.stripes = QColor(255, 255, 255).darker(108);
    g.handwriting = card.handwriting;
    if (card.fills != NoFills) {
        // About one mark in each row, none in some.
        for (int r = 0; r < g.rows; r += 1 + r % 2)
            g.filled.append({(r * 3 + 1) % g.cols, r});
        g.fill = card.fills == Pen ? QColor(25, 30, 80) : QColor(95, 95, 95);
    }
    return g;
}

} // namespace

QVector<WornCard> wornCards()
{
    QVector<WornCard> worn;
    for (const Card& card : cards) {
        const Grid g = printedGrid(card);
        QImage image = synthetic::a4Page(card.dpi);
        synthetic::drawPrintedGrid(image, g);
        synthetic::Wear wear = card.wear;
        synthetic::wearPrint(image, g.table().adjusted(-60, -60, 60, 60).toAlignedRect(), wear);
        const QString name = QStringLiteral("%1, %2 dpi, ink %3, tilt %4, keystone %5")
                                 .arg(QLatin1String(card.kind.name))
                                 .arg(card.dpi)
                                 .arg(card.ink.name())
                                 .arg(card.tilt)
                                 .arg(card.keystone);
        worn.append({name, card.dpi, image, g, card.mayRefuse});
    }
    return worn;
}
