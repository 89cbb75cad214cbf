#include "Resources/generator/resgenpaint.h"

#include <QFont>
#include <QPainterPath>
#include <QPolygonF>

namespace resgen {

QImage render(const QSize& size, const std::function<void(QPainter&, const QRectF&)>& draw)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

void roundBox(QPainter& p, const QRectF& r, qreal radius, const QBrush& fill, const QPen& pen)
{
    p.setPen(pen);
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
}

void ellipse(QPainter& p, const QRectF& r, const QBrush& fill, const QPen& pen)
{
    p.setPen(pen);
    p.setBrush(fill);
    p.drawEllipse(r);
}

namespace {

// The three corners of an arrow head pointing `way` inside `r`: the two
// back corners and the tip.
QPolygonF arrowHead(const QRectF& r, Qt::ArrowType way)
{
    switch (way) {
    case Qt::UpArrow:
        return QPolygonF({r.bottomLeft(), QPointF(r.center().x(), r.top()), r.bottomRight()});
    case Qt::LeftArrow:
        return QPolygonF({r.topRight(), QPointF(r.left(), r.center().y()), r.bottomRight()});
    case Qt::RightArrow:
        return QPolygonF({r.topLeft(), QPointF(r.right(), r.center().y()), r.bottomLeft()});
    default:
        return QPolygonF({r.topLeft(), QPointF(r.center().x(), r.bottom()), r.topRight()});
    }
}

} // namespace

void chevron(QPainter& p, const QRectF& r, Qt::ArrowType way, const QPen& pen)
{
    QPen round = pen;
    round.setCapStyle(Qt::RoundCap);
    round.setJoinStyle(Qt::RoundJoin);
    p.setPen(round);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(arrowHead(r, way));
}

void triangle(QPainter& p, const QRectF& r, Qt::ArrowType way, const QColor& fill)
{
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPolygon(arrowHead(r, way));
}

void tick(QPainter& p, const QRectF& r, const QPen& pen)
{
    QPen round = pen;
    round.setCapStyle(Qt::RoundCap);
    round.setJoinStyle(Qt::RoundJoin);
    p.setPen(round);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(r.left(), r.top() + r.height() * 0.55),
                              QPointF(r.left() + r.width() * 0.38, r.bottom()), r.topRight()}));
}

void cross(QPainter& p, const QRectF& r, const QPen& pen)
{
    QPen round = pen;
    round.setCapStyle(Qt::RoundCap);
    p.setPen(round);
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
}

void plusMinus(QPainter& p, const QRectF& r, bool plus, const QPen& pen)
{
    QPen round = pen;
    round.setCapStyle(Qt::RoundCap);
    p.setPen(round);
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
    if (plus)
        p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
}

void rotateArrow(QPainter& p, const QRectF& r, const QPen& pen)
{
    QPen round = pen;
    round.setCapStyle(Qt::RoundCap);
    p.setPen(round);
    p.setBrush(Qt::NoBrush);
    // Qt counts arc angles in sixteenths of a degree, counter-clockwise.
    p.drawArc(r, 90 * 16, -270 * 16);
    const QPointF end(r.left(), r.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(pen.color());
    p.drawPolygon(QPolygonF({end + QPointF(-3.5, -1), end + QPointF(3.5, -1), end + QPointF(0, 3.5)}));
}

void text(QPainter& p, const QRectF& r, const QString& content, int pixelSize, const QColor& colour,
          Qt::Alignment align)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, int(align | Qt::AlignVCenter), content);
}

void answerSheet(QPainter& p, const QRectF& r, const QColor& accent)
{
    const QRectF sheet(r.left() + 22, r.top() + 6, 80, r.height() - 12);
    roundBox(p, sheet.translated(3, 3), 4, QColor(0, 0, 0, 25), Qt::NoPen);
    roundBox(p, sheet, 4, Qt::white, QPen(QColor(0xB1, 0xB1, 0xB1), 1.5));
    // A header line and three rows of answer bubbles.
    p.fillRect(QRectF(sheet.left() + 12, sheet.top() + 12, 56, 6), QColor(0xD8, 0xD8, 0xD8));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const QRectF bubble(sheet.left() + 14 + column * 14, sheet.top() + 32 + row * 14, 9, 7);
            const bool filled = column == (row * 2 + 1) % 4;
            roundBox(p, bubble, 1.5, filled ? QBrush(accent) : QBrush(Qt::white), QPen(QColor(0x99, 0x99, 0x99), 1));
        }
    }
    // The dashed frame an operator draws around a block.
    QPen dashed(accent, 2, Qt::DashLine);
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(sheet.left() + 8, sheet.top() + 27, 64, 46), 3, 3);
}

void scanner(QPainter& p, const QRectF& r, const QColor& accent)
{
    const QRectF body(r.left() + 8, r.top() + 40, r.width() - 16, 40);
    const QRectF paper(r.left() + 30, r.top() + 8, r.width() - 60, 44);
    roundBox(p, paper, 2, Qt::white, QPen(QColor(0xB1, 0xB1, 0xB1), 1.5));
    p.setPen(QPen(QColor(0xD0, 0xD0, 0xD0), 2));
    for (int line = 0; line < 3; ++line)
        p.drawLine(QPointF(paper.left() + 8, paper.top() + 10 + line * 8),
                   QPointF(paper.right() - 8, paper.top() + 10 + line * 8));
    roundBox(p, body, 8, accent, Qt::NoPen);
    p.fillRect(QRectF(body.left() + 12, body.top() + 12, body.width() - 24, 4), QColor(255, 255, 255, 200));
    ellipse(p, QRectF(body.right() - 22, body.bottom() - 16, 8, 8), Qt::white, Qt::NoPen);
}

void folder(QPainter& p, const QRectF& r, const QColor& accent)
{
    QPainterPath back;
    back.moveTo(r.left() + 6, r.top() + 14);
    back.lineTo(r.left() + 38, r.top() + 14);
    back.lineTo(r.left() + 46, r.top() + 22);
    back.lineTo(r.right() - 6, r.top() + 22);
    back.lineTo(r.right() - 6, r.bottom() - 6);
    back.lineTo(r.left() + 6, r.bottom() - 6);
    back.closeSubpath();
    p.fillPath(back, accent.darker(115));
    // A photo sticking out of the folder.
    const QRectF photo(r.left() + 26, r.top() + 6, 52, 38);
    roundBox(p, photo, 2, Qt::white, QPen(QColor(0xB1, 0xB1, 0xB1), 1.2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8C, 0xC8, 0x6E));
    p.drawPolygon(QPolygonF({photo.bottomLeft() + QPointF(4, -4), photo.center() + QPointF(-4, -2),
                             photo.bottomRight() + QPointF(-4, -4)}));
    roundBox(p, QRectF(r.left() + 6, r.top() + 32, r.width() - 12, r.height() - 38), 4, accent, Qt::NoPen);
}

void logo(QPainter& p, const QRectF& r, const QColor& accent)
{
    roundBox(p, QRectF(r.left() + 1, r.top() + 1, 19, 19), 4, accent, Qt::NoPen);
    tick(p, QRectF(r.left() + 5, r.top() + 6, 11, 9), QPen(Qt::white, 2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    for (int dot = 0; dot < 3; ++dot)
        p.drawEllipse(QRectF(r.left() + 26 + dot * 11, r.top() + 7, 7, 7));
}

} // namespace resgen
