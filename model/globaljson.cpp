#include "model/global.h"

#include "canvas/item/eirectitem.h"

#include <QBuffer>

QJsonObject Global::rectToJson(const QRectF& rect)
{
    QJsonObject obj;
    obj.insert(QStringLiteral("top"), rect.top());
    obj.insert(QStringLiteral("left"), rect.left());
    obj.insert(QStringLiteral("width"), rect.width());
    obj.insert(QStringLiteral("height"), rect.height());
    return obj;
}

QRectF Global::jsonToRect(const QJsonObject& obj)
{
    // Edges move with the opposite edge fixed, so a rectangle object that
    // lacks "width" keeps the right edge at 0: {"left": 10} is 10 wide to
    // the left.
    QRectF rect;
    if (obj.contains(QStringLiteral("top")))
        rect.setTop(obj.value(QStringLiteral("top")).toDouble());
    if (obj.contains(QStringLiteral("left")))
        rect.setLeft(obj.value(QStringLiteral("left")).toDouble());
    if (obj.contains(QStringLiteral("width")))
        rect.setWidth(obj.value(QStringLiteral("width")).toDouble());
    if (obj.contains(QStringLiteral("height")))
        rect.setHeight(obj.value(QStringLiteral("height")).toDouble());
    return rect;
}

QJsonArray Global::itemsToJson(const QList<EIRectItem*>& items)
{
    QJsonArray array;
    for (EIRectItem* item : items) {
        if (item && item->isValid())
            array.append(rectToJson(item->sceneRect()));
    }
    return array;
}

QList<EIRectItem*> Global::jsonToItems(const QJsonArray& array, QGraphicsItem* parent)
{
    QList<EIRectItem*> items;
    for (const QJsonValue& value : array)
        items.append(new EIRectItem(jsonToRect(value.toObject()), true, 5, parent));
    return items;
}

QList<QRectF> Global::jsonToRects(const QJsonArray& array)
{
    QList<QRectF> rects;
    for (const QJsonValue& value : array)
        rects.append(jsonToRect(value.toObject()));
    return rects;
}

QJsonArray Global::locatePointsToJson(const QList<QRectF>& rects)
{
    QJsonArray array;
    for (const QRectF& rect : rects)
        array.append(rectToJson(rect));
    return array;
}

QString Global::pixmapToBase64(const QPixmap& pixmap)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    pixmap.save(&buffer, "jpg", -1);
    return QString::fromUtf8(bytes.toBase64());
}
