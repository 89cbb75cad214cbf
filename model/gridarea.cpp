#include "model/gridarea.h"

#include "canvas/item/eirectitem.h"
#include "model/global.h"
#include "model/jsonread.h"
#include "model/infra/constants.h"

void GridArea::reset(bool deleteItem)
{
    if (frame && deleteItem)
        delete frame;
    frame = nullptr;
}

void TicketNum::reset(bool deleteItem)
{
    GridArea::reset(deleteItem);
    enabled = false;
}

QJsonObject TicketNum::toJson() const
{
    QJsonObject obj;
    if (!frame)
        return obj;
    obj.insert(QStringLiteral("count"), count);
    obj.insert(QStringLiteral("rows"), rows);
    obj.insert(QStringLiteral("borderType"), borderType);
    obj.insert(QStringLiteral("existsLine"), existsLine);
    obj.insert(QStringLiteral("enabled"), enabled);
    obj.insert(QStringLiteral("direction"), orientationName(direction));
    obj.insert(QStringLiteral("rowOffset"), frame->rowSpacing());
    obj.insert(QStringLiteral("colOffset"), frame->columnSpacing());
    obj.insert(QStringLiteral("position"), Global::rectToJson(frame->sceneRect()));
    if (const QGraphicsRectItem* box = frame->boxAreaItem())
        obj.insert(QStringLiteral("firstOption"), Global::rectToJson(box->rect()));
    return obj;
}

TicketNum TicketNum::fromJson(const QJsonObject& obj)
{
    TicketNum area;
    area.enabled = true;
    readKey(obj, QStringLiteral("count"), area.count);
    readKey(obj, QStringLiteral("rows"), area.rows);
    readKey(obj, QStringLiteral("existsLine"), area.existsLine);
    readKey(obj, QStringLiteral("borderType"), area.borderType);
    if (obj.contains(QStringLiteral("direction"))) {
        const int code = orientationCode(obj.value(QStringLiteral("direction")).toString());
        if (code >= 0)
            area.direction = code;
    }
    readKey(obj, QStringLiteral("rowOffset"), area.rowOffset);
    readKey(obj, QStringLiteral("colOffset"), area.colOffset);
    if (obj.contains(QStringLiteral("position")))
        area.frame = new EIRectItem(Global::jsonToRect(obj.value(QStringLiteral("position")).toObject()), true, 8, nullptr);
    if (area.frame && obj.contains(QStringLiteral("firstOption"))) {
        area.frame->setItemRect(Global::jsonToRect(obj.value(QStringLiteral("firstOption")).toObject()),
                                area.rows, area.count, area.rowOffset, area.colOffset);
    }
    return area;
}
