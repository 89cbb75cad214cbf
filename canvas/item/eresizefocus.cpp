#include "canvas/item/eresizefocus.h"

#include <QCursor>

#include <cmath>

EResizeFocus::EResizeFocus(double size, int kind, QGraphicsItem* parent)
    : QGraphicsRectItem(0, 0, size, size, parent), handleKind(kind), size(size)
{
    setAcceptHoverEvents(true);
    hide();
    if (parent) {
        const QRectF bounds = parent->boundingRect();
        locate(QRectF(0, 0, std::trunc(bounds.width()), std::trunc(bounds.height())));
    }
}

void EResizeFocus::locate(const QRectF& r)
{
    const double w = r.width();
    const double h = r.height();
    const double s = size;
    switch (handleKind) {
    case North: setPos(w / 2 - s / 2, 0); break;
    case NorthEast: setPos(w - s, 0); break;
    case East: setPos(w - s, h / 2 - s / 2); break;
    case SouthEast: setPos(w - s, h - s); break;
    case South: setPos(w / 2 - s / 2, h - s); break;
    case SouthWest: setPos(0, h - s); break;
    case West: setPos(0, h / 2 - s / 2); break;
    case NorthWest: setPos(0, 0); break;
    default: break;
    }
}

void EResizeFocus::hoverEnterEvent(QGraphicsSceneHoverEvent* event)
{
    switch (handleKind) {
    case North:
    case South: setCursor(Qt::SizeVerCursor); break;
    case East:
    case West: setCursor(Qt::SizeHorCursor); break;
    case NorthEast:
    case SouthWest: setCursor(Qt::SizeBDiagCursor); break;
    case SouthEast:
    case NorthWest: setCursor(Qt::SizeFDiagCursor); break;
    default: break;
    }
    QGraphicsRectItem::hoverEnterEvent(event);
}
