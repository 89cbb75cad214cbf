// Draws every image of the resource bundles. The PNGs are committed; run
// the target regenerate_resources after changing a drawing here.
//
//   tollivar_resgen <Resources folder>

#include "Resources/generator/resgenpaint.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainterPath>

#include <cstdio>
#include <functional>

using namespace resgen;

namespace {

const QColor blue(0x51, 0xA7, 0xE6);
const QColor blueDark(0x24, 0x91, 0xE0);
const QColor green(0x16, 0xA0, 0x5D);
const QColor navy(0x15, 0x30, 0x64);
const QColor grey(0x99, 0x99, 0x99);
const QColor greyLine(0xB1, 0xB1, 0xB1);
const QColor scrollGrey(0x97, 0x97, 0x97);
const QColor dark(0x38, 0x3A, 0x42);
const QColor closeRed(0xE8, 0x3B, 0x3B);

struct Image
{
    QString path;
    QSize size;
    std::function<void(QPainter&, const QRectF&)> draw;
};

// A title-bar sprite: four 27-pixel cells (normal, hover, pressed, spare).
Image sprite(const QString& name, const std::function<void(QPainter&, const QRectF&, int)>& glyph)
{
    return {QStringLiteral("titlebar/") + name, QSize(108, 27), [glyph](QPainter& p, const QRectF&) {
                for (int cell = 0; cell < 4; ++cell)
                    glyph(p, QRectF(cell * 27, 0, 27, 27), cell);
            }};
}

void cellBackground(QPainter& p, const QRectF& cell, int state, const QColor& hot = QColor(255, 255, 255, 40))
{
    if (state == 1)
        roundBox(p, cell.adjusted(2, 2, -2, -2), 3, hot, Qt::NoPen);
    else if (state == 2)
        roundBox(p, cell.adjusted(2, 2, -2, -2), 3, hot.darker(130), Qt::NoPen);
}

QColor glyphColour(int state)
{
    return state == 3 ? QColor(160, 160, 160) : QColor(Qt::white);
}

// The step buttons of the main window: a light strip with a coloured edge.
void stepButton(QPainter& p, const QRectF& r, const QColor& fill, const QColor& edge, bool notch)
{
    p.fillRect(r, fill);
    p.fillRect(QRectF(r.left(), r.top(), 4, r.height()), edge);
    p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1), QColor(0xE2, 0xE2, 0xE2));
    if (notch) {
        QPainterPath tip;
        const qreal mid = r.center().y();
        tip.moveTo(r.right() + 1, mid - 7);
        tip.lineTo(r.right() - 7, mid);
        tip.lineTo(r.right() + 1, mid + 7);
        tip.closeSubpath();
        p.fillPath(tip, Qt::white);
    }
}

// A page seen from above, for the orientation choice of a new project.
void pageIcon(QPainter& p, const QRectF& r, bool landscape, int state)
{
    const QColor edge = state == 0 ? greyLine : blue;
    if (state == 2)
        roundBox(p, r.adjusted(1, 1, -1, -1), 4, QColor(0xE6, 0xF2, 0xFC), QPen(blue, 1.5));
    else if (state == 1)
        roundBox(p, r.adjusted(1, 1, -1, -1), 4, Qt::white, QPen(blue, 1));
    const QSizeF paper = landscape ? QSizeF(28, 20) : QSizeF(20, 28);
    const QRectF sheet(r.center() - QPointF(paper.width() / 2, paper.height() / 2), paper);
    roundBox(p, sheet, 1.5, Qt::white, QPen(edge, 1.5));
    p.setPen(QPen(edge, 1.2));
    for (int line = 1; line <= 3; ++line) {
        const qreal y = sheet.top() + line * sheet.height() / 4;
        p.drawLine(QPointF(sheet.left() + 4, y), QPointF(sheet.right() - 4, y));
    }
}

// A round page-turn button: outline, filled, or greyed out.
void turnButton(QPainter& p, const QRectF& r, bool previous, int state)
{
    const QRectF disc = r.adjusted(1.5, 1.5, -1.5, -1.5);
    const QColor colour = state == 2 ? QColor(0xC8, 0xC8, 0xC8) : blue;
    if (state == 1)
        ellipse(p, disc, colour, Qt::NoPen);
    else
        ellipse(p, disc, Qt::white, QPen(colour, 1.5));
    chevron(p, disc.adjusted(9, 9, -9, -9), previous ? Qt::LeftArrow : Qt::RightArrow,
            QPen(state == 1 ? QColor(Qt::white) : colour, 2.2));
}

QList<Image> images()
{
    QList<Image> list;
    const QString img = QStringLiteral("Quindle/images/");

    // Action buttons of the dialogs: white with a coloured outline.
    const QList<QPair<QString, QPair<QColor, QColor>>> actions = {
        {QStringLiteral("button_normal.png"), {blue, Qt::white}},
        {QStringLiteral("button_hover.png"), {green, QColor(0xEE, 0xF9, 0xF3)}},
        {QStringLiteral("button_pressed.png"), {navy, QColor(0xE6, 0xEC, 0xF5)}},
    };
    for (const auto& action : actions) {
        const QColor line = action.second.first;
        const QColor fill = action.second.second;
        list.append({img + action.first, QSize(90, 30), [line, fill](QPainter& p, const QRectF& r) {
                         roundBox(p, r.adjusted(0.5, 0.5, -0.5, -0.5), 4, fill, QPen(line, 1));
                     }});
    }

    list.append({img + "arrow_down.png", QSize(13, 8), [](QPainter& p, const QRectF& r) {
                     chevron(p, r.adjusted(2, 1, -2, -1), Qt::DownArrow, QPen(grey, 1.6));
                 }});

    list.append({img + "check_normal.png", QSize(18, 18), [](QPainter& p, const QRectF& r) {
                     roundBox(p, r.adjusted(1.5, 1.5, -1.5, -1.5), 2, Qt::white, QPen(greyLine, 1));
                 }});
    list.append({img + "check_hover.png", QSize(18, 18), [](QPainter& p, const QRectF& r) {
                     roundBox(p, r.adjusted(1.5, 1.5, -1.5, -1.5), 2, Qt::white, QPen(blue, 1));
                 }});
    list.append({img + "check_checked.png", QSize(15, 15), [](QPainter& p, const QRectF& r) {
                     roundBox(p, r.adjusted(0.5, 0.5, -0.5, -0.5), 2, blue, Qt::NoPen);
                     tick(p, r.adjusted(3, 3, -3, -3), QPen(Qt::white, 1.8));
                 }});
    list.append({img + "check_checked_disabled.png", QSize(15, 15), [](QPainter& p, const QRectF& r) {
                     roundBox(p, r.adjusted(0.5, 0.5, -0.5, -0.5), 2, QColor(0xC8, 0xC8, 0xC8), Qt::NoPen);
                     tick(p, r.adjusted(3, 3, -3, -3), QPen(Qt::white, 1.8));
                 }});

    const QList<QPair<QString, Qt::ArrowType>> spins = {{"spin_up", Qt::UpArrow}, {"spin_down", Qt::DownArrow}};
    for (const auto& spin : spins) {
        const Qt::ArrowType way = spin.second;
        list.append({img + spin.first + ".png", QSize(10, 6), [way](QPainter& p, const QRectF& r) {
                         chevron(p, r.adjusted(1, 0.5, -1, -0.5), way, QPen(grey, 1.4));
                     }});
        list.append({img + spin.first + "_hover.png", QSize(10, 6), [way](QPainter& p, const QRectF& r) {
                         chevron(p, r.adjusted(1, 0.5, -1, -0.5), way, QPen(blue, 1.4));
                     }});
    }

    list.append({img + "titleBtnDefault.png", QSize(132, 54), [](QPainter& p, const QRectF& r) {
                     stepButton(p, r, QColor(0xF8, 0xF8, 0xF8), QColor(0xF8, 0xF8, 0xF8), false);
                 }});
    list.append({img + "titleBtnSelected.png", QSize(132, 54), [](QPainter& p, const QRectF& r) {
                     stepButton(p, r, blue, blueDark, true);
                 }});
    list.append({img + "titleBtnPassed.png", QSize(132, 54), [](QPainter& p, const QRectF& r) {
                     stepButton(p, r, QColor(0xEA, 0xF7, 0xF0), green, false);
                     // Right of the text, which the passed style moves left for it.
                     tick(p, QRectF(r.right() - 14, r.center().y() - 3.5, 9, 7), QPen(green, 2));
                 }});

    // Scroll-bar arrows: small solid triangles.
    const QList<QPair<QString, Qt::ArrowType>> arrows = {
        {"up", Qt::UpArrow}, {"down", Qt::DownArrow}, {"left", Qt::LeftArrow}, {"right", Qt::RightArrow}};
    for (const auto& arrow : arrows) {
        const Qt::ArrowType way = arrow.second;
        list.append({img + arrow.first + "_normal.png", QSize(10, 10),
                     [way](QPainter& p, const QRectF& r) { triangle(p, r.adjusted(1, 1, -1, -1), way, scrollGrey); }});
        list.append({img + arrow.first + "_hover.png", QSize(10, 10),
                     [way](QPainter& p, const QRectF& r) { triangle(p, r.adjusted(1, 1, -1, -1), way, blueDark); }});
    }

    // Plus and minus of the item edit panel.
    for (const bool plus : {true, false}) {
        const QString name = plus ? QStringLiteral("edit_add") : QStringLiteral("edit_min");
        for (const bool hover : {false, true}) {
            list.append({img + name + (hover ? "_hover.png" : ".png"), QSize(27, 27),
                         [plus, hover](QPainter& p, const QRectF& r) {
                             const QColor colour = hover ? blue : grey;
                             ellipse(p, r.adjusted(1.5, 1.5, -1.5, -1.5), hover ? QColor(0xE6, 0xF2, 0xFC) : Qt::white,
                                     QPen(colour, 1.2));
                             plusMinus(p, r.adjusted(8, 8, -8, -8), plus, QPen(colour, 2));
                         }});
        }
    }

    // Buttons of the canvas's item edit menu (white text on them).
    list.append({img + "edit_button_normal.png", QSize(60, 25), [](QPainter& p, const QRectF& r) {
                     roundBox(p, r.adjusted(0.5, 0.5, -0.5, -0.5), 2, QColor(56, 58, 66, 225), Qt::NoPen);
                 }});
    list.append({img + "edit_button_hover.png", QSize(60, 25), [](QPainter& p, const QRectF& r) {
                     roundBox(p, r.adjusted(0.5, 0.5, -0.5, -0.5), 2, blue, Qt::NoPen);
                 }});

    list.append({img + "getTemplate.png", QSize(124, 111), [](QPainter& p, const QRectF& r) { answerSheet(p, r, blue); }});
    list.append({img + "scanImage.png", QSize(116, 96), [](QPainter& p, const QRectF& r) { scanner(p, r, blue); }});
    list.append({img + "importImage.png", QSize(108, 84), [](QPainter& p, const QRectF& r) { folder(p, r, blue); }});

    list.append({img + "lineClose.png", QSize(10, 10), [](QPainter& p, const QRectF& r) {
                     cross(p, r.adjusted(2, 2, -2, -2), QPen(grey, 1.4));
                 }});
    list.append({img + "line_close_press.png", QSize(10, 10), [](QPainter& p, const QRectF& r) {
                     cross(p, r.adjusted(2, 2, -2, -2), QPen(QColor(0x55, 0x55, 0x55), 1.6));
                 }});

    const QStringList pageStates = {"uncheck", "hover", "checked"};
    for (int state = 0; state < 3; ++state) {
        list.append({img + "h" + pageStates[state] + ".png", QSize(40, 40),
                     [state](QPainter& p, const QRectF& r) { pageIcon(p, r, true, state); }});
        list.append({img + "v" + pageStates[state] + ".png", QSize(40, 40),
                     [state](QPainter& p, const QRectF& r) { pageIcon(p, r, false, state); }});
    }

    list.append({img + "btn_rotate.png", QSize(27, 27), [](QPainter& p, const QRectF& r) {
                     rotateArrow(p, r.adjusted(5, 5, -5, -5), QPen(QColor(0x66, 0x66, 0x66), 2));
                 }});
    list.append({img + "btn_setfront.png", QSize(27, 27), [](QPainter& p, const QRectF& r) {
                     const QRectF sheet = r.adjusted(6, 4, -6, -4);
                     roundBox(p, sheet, 1.5, Qt::white, QPen(QColor(0x66, 0x66, 0x66), 1.5));
                     tick(p, sheet.adjusted(3, 6, -3, -5), QPen(blue, 2));
                 }});

    // Page turning: the normal look is the outline, hover fills it.
    const QList<QPair<QString, int>> turns = {{"_hover", 0}, {"BtnDefault", 1}, {"_disabled", 2}};
    for (const auto& turn : turns) {
        const int state = turn.second;
        list.append({img + "previous" + turn.first + ".png", QSize(32, 32),
                     [state](QPainter& p, const QRectF& r) { turnButton(p, r, true, state); }});
        list.append({img + "next" + turn.first + ".png", QSize(32, 32),
                     [state](QPainter& p, const QRectF& r) { turnButton(p, r, false, state); }});
    }

    // Title bar: window buttons as sprites, the logo and the title image.
    list.append(sprite("menu.png", [](QPainter& p, const QRectF& c, int s) {
        cellBackground(p, c, s);
        p.setPen(QPen(glyphColour(s), 1.6));
        for (int row = -1; row <= 1; ++row)
            p.drawLine(QPointF(c.left() + 8, c.center().y() + row * 4), QPointF(c.right() - 8, c.center().y() + row * 4));
    }));
    list.append(sprite("min.png", [](QPainter& p, const QRectF& c, int s) {
        cellBackground(p, c, s);
        p.setPen(QPen(glyphColour(s), 1.6));
        p.drawLine(QPointF(c.left() + 8, c.center().y() + 0.5), QPointF(c.right() - 8, c.center().y() + 0.5));
    }));
    list.append(sprite("max.png", [](QPainter& p, const QRectF& c, int s) {
        cellBackground(p, c, s);
        roundBox(p, c.adjusted(8.5, 8.5, -8.5, -8.5), 1, Qt::transparent, QPen(glyphColour(s), 1.4));
    }));
    list.append(sprite("restore.png", [](QPainter& p, const QRectF& c, int s) {
        cellBackground(p, c, s);
        const QPen pen(glyphColour(s), 1.3);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(c.left() + 10.5, c.top() + 8.5), QPointF(c.right() - 7.5, c.top() + 8.5),
                                  QPointF(c.right() - 7.5, c.bottom() - 10.5)}));
        roundBox(p, QRectF(c.left() + 7.5, c.top() + 11.5, 9, 8), 1, Qt::transparent, pen);
    }));
    list.append(sprite("close1.png", [](QPainter& p, const QRectF& c, int s) {
        cellBackground(p, c, s, closeRed);
        cross(p, c.adjusted(9, 9, -9, -9), QPen(glyphColour(s), 1.6));
    }));
    list.append(sprite("close_round.png", [](QPainter& p, const QRectF& c, int s) {
        const QRectF disc = c.adjusted(5, 5, -5, -5);
        if (s == 1 || s == 2)
            ellipse(p, disc, s == 1 ? closeRed : closeRed.darker(130), Qt::NoPen);
        else
            ellipse(p, disc, Qt::transparent, QPen(glyphColour(s), 1.2));
        cross(p, disc.adjusted(5, 5, -5, -5), QPen(glyphColour(s), 1.5));
    }));
    list.append({"titlebar/logo.png", QSize(60, 21), [](QPainter& p, const QRectF& r) { logo(p, r, blue); }});
    list.append({"titlebar/maintitle.png", QSize(280, 26), [](QPainter& p, const QRectF& r) {
                     text(p, r, QStringLiteral("Velmora第三方卡制作工具客户端"), 17, Qt::white, Qt::AlignLeft);
                 }});

    // Message-box icons (loaded, never shown).
    list.append({"EIMessageBox/information.png", QSize(50, 50), [](QPainter& p, const QRectF& r) {
                     ellipse(p, r.adjusted(2, 2, -2, -2), blue, Qt::NoPen);
                     text(p, r, QStringLiteral("i"), 28, Qt::white, Qt::AlignCenter);
                 }});
    list.append({"EIMessageBox/question.png", QSize(50, 50), [](QPainter& p, const QRectF& r) {
                     ellipse(p, r.adjusted(2, 2, -2, -2), green, Qt::NoPen);
                     text(p, r, QStringLiteral("?"), 28, Qt::white, Qt::AlignCenter);
                 }});
    list.append({"EIMessageBox/warnning.png", QSize(50, 50), [](QPainter& p, const QRectF& r) {
                     triangle(p, r.adjusted(2, 3, -2, -4), Qt::UpArrow, QColor(0xF5, 0xA6, 0x23));
                     text(p, r.adjusted(0, 8, 0, 0), QStringLiteral("!"), 24, Qt::white, Qt::AlignCenter);
                 }});
    return list;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tollivar_resgen <Resources folder>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    int failures = 0;
    for (const Image& image : images()) {
        const QString path = root.filePath(image.path);
        QDir().mkpath(QFileInfo(path).path());
        if (!render(image.size, image.draw).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
