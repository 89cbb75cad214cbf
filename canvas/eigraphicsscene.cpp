#include "canvas/eigraphicsscene.h"

#include "canvas/editmenu.h"
#include "canvas/item/eirectitem.h"
#include "canvas/item/eitextitem.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>

namespace {

QPointF rounded(const QPointF& p)
{
    return QPointF(qRound(p.x()), qRound(p.y()));
}

// A top-level item that is locked for this step: presses go through it,
// so the operator can draw over the framings of other steps.
bool isLockedTopLevel(const EIRectItem* item)
{
    return !(item->flags() & QGraphicsItem::ItemIsMovable) && !item->parentItem();
}

} // namespace

EIGraphicsScene::EIGraphicsScene(QObject* parent) : QGraphicsScene(parent) {}

EIRectItem* EIGraphicsScene::currentItem() const
{
    // Compares addresses only: the item may have been freed by the template
    // while the scene still remembered it.
    if (current && items().contains(current))
        return current;
    return nullptr;
}

void EIGraphicsScene::forgetItems()
{
    current = nullptr;
    lastDeletedItem = nullptr;
    drawing = false;
    pressOnItem = false;
}

QList<QGraphicsItem*> EIGraphicsScene::itemsUnder(const QPointF& scenePoint) const
{
    return items(scenePoint, Qt::IntersectsItemShape, Qt::DescendingOrder, QTransform());
}

void EIGraphicsScene::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    QGraphicsScene::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) {
        emit itemSelected(false);
        return;
    }
    mousePressed = true;
    pressOnItem = false;
    drawing = false;

    const QPointF point = event->scenePos();
    // No early exit: the last framing item in the list that changes the flag decides.
    for (QGraphicsItem* hit : itemsUnder(point)) {
        auto* frame = qgraphicsitem_cast<EIRectItem*>(hit);
        if (frame || hit->type() == QGraphicsRectItem::Type)
            pressOnItem = true;
        if (!frame || !frame->isValid())
            continue;
        if (frame->isSelected()) {
            current = frame;
            emit updateMenu(frame->hasGrid() ? EditMenu::EditAndDelete : EditMenu::DeleteOnly);
            const QPointF origin = frame->scenePos();
            const QRectF bounds = frame->boundingRect();
            emit selectedItemRect(
                QRectF(point.x() - origin.x(), point.y() - origin.y(), bounds.width(), bounds.height()));
        }
        pressOnItem = !isLockedTopLevel(frame);
    }

    if (!drawEnabled || pressOnItem)
        return;
    emit drawStart();
    drawing = true;
    startPos = rounded(point);
    currentPos = startPos;
}

void EIGraphicsScene::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    currentPos = rounded(event->scenePos());
    if (mousePressed) {
        for (QGraphicsItem* hit : itemsUnder(event->scenePos())) {
            auto* frame = qgraphicsitem_cast<EIRectItem*>(hit);
            if (!frame)
                continue;
            if (frame->isSelected()) {
                pressOnItem = true;
                current = frame;
                emit itemMoved();
            }
            if (isLockedTopLevel(frame))
                pressOnItem = false;
        }
    }
    update();
    QGraphicsScene::mouseMoveEvent(event);
}

void EIGraphicsScene::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event)
{
    // Qt turns the second press of a double click into this event alone;
    // it starts a band like any press, so that its release never finishes
    // the band of an earlier drag (the second click on a dialog's button
    // lands here once the dialog has closed).
    mousePressEvent(event);
}

void EIGraphicsScene::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    mousePressed = false;
    // Only a band this press started is a frame: a release whose press went
    // elsewhere (a dialog, the busy overlay) must not replay the last one.
    if (drawing && drawEnabled && !pressOnItem && event->button() == Qt::LeftButton) {
        // Operators drag from whichever corner is at hand: the frame is the
        // same whatever the direction.
        emit drawFinished(QRectF(startPos, currentPos).normalized());
    }
    drawing = false;
    update();
    QGraphicsScene::mouseReleaseEvent(event);
}

void EIGraphicsScene::drawForeground(QPainter* painter, const QRectF& /*rect*/)
{
    if (!drawing || pressOnItem)
        return;
    painter->save();
    painter->setPen(QPen(QBrush(Qt::red), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(startPos, currentPos));
    painter->restore();
}

void EIGraphicsScene::hideItems()
{
    for (QGraphicsItem* item : items()) {
        if (item->type() == EIRectItem::Type || item->type() == EITextItem::Type)
            item->hide();
    }
}

void EIGraphicsScene::restackItem(QGraphicsItem* item)
{
    if (!item)
        return;
    const QList<QGraphicsItem*> colliding = collidingItems(item, Qt::IntersectsItemShape);
    if (colliding.size() < 3)
        return;
    // stackBefore leaves non-siblings and items of another z value alone.
    for (int i = 1; i < colliding.size(); ++i)
        colliding.at(i)->stackBefore(item);
}

void EIGraphicsScene::onDeleteItem()
{
    EIRectItem* item = currentItem();
    if (!item)
        return;
    lastDeletedItem = item;
    removeItem(item);
    item->setValid(0);
    current = nullptr;
    emit itemSelected(false);
    emit itemDeleted(lastDeletedItem);
}

void EIGraphicsScene::onEditItem()
{
    if (EIRectItem* item = currentItem())
        emit editItem(item);
    emit itemSelected(false);
}
