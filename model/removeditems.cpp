#include "model/removeditems.h"

#include "canvas/item/eirectitem.h"

#include <QSet>

QList<EIRectItem*> deletedItems;
QList<RemovedItemRecord> removedRecords;

namespace {

bool hasAncestorIn(const QGraphicsItem* item, const QSet<const QGraphicsItem*>& items)
{
    for (const QGraphicsItem* up = item->parentItem(); up; up = up->parentItem()) {
        if (items.contains(up))
            return true;
    }
    return false;
}

bool isSelfOrDescendant(const QGraphicsItem* item, const QGraphicsItem* ancestor)
{
    for (const QGraphicsItem* up = item; up; up = up->parentItem()) {
        if (up == ancestor)
            return true;
    }
    return false;
}

} // namespace

void deleteItemsOnce(const QList<EIRectItem*>& items)
{
    QSet<const QGraphicsItem*> all;
    for (EIRectItem* item : items) {
        if (item)
            all.insert(item);
    }
    // Decide everything before the first delete: once an item is gone its
    // parent chain can no longer be read.
    QList<EIRectItem*> roots;
    QSet<const QGraphicsItem*> taken;
    for (EIRectItem* item : items) {
        if (item && !taken.contains(item) && !hasAncestorIn(item, all)) {
            taken.insert(item);
            roots.append(item);
        }
    }
    for (EIRectItem* item : roots)
        delete item;
}

void deleteItemNow(EIRectItem* item)
{
    if (!item)
        return;
    for (EIRectItem*& entry : deletedItems) {
        if (entry && isSelfOrDescendant(entry, item))
            entry = nullptr;
    }
    delete item;
}
