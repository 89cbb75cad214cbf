#include "model/subarea.h"

#include "canvas/item/eirectitem.h"
#include "model/global.h"
#include "model/jsonread.h"
#include "model/infra/constants.h"
#include "model/infra/logger.h"

namespace {

QString typeSuffix(int code)
{
    switch (code) {
    case 0: return QStringLiteral("(单选)");
    case 1: return QStringLiteral("(多选)");
    case 2: return QStringLiteral("(判断)");
    default: return QString();
    }
}

} // namespace

void SubArea::appendNumRange(int first, int last)
{
    for (int n = first; n <= last; ++n)
        numList.append(n);
}

bool SubArea::isChoice() const
{
    return subAreaTopicType < firstSubjectiveType;
}

QString SubArea::numbersCaption(const QList<int>& numbers)
{
    if (numbers.isEmpty())
        return QString();
    if (numbers.size() == 1)
        return QStringLiteral("第%1题").arg(numbers.first());
    return QStringLiteral("第%1~%2题").arg(numbers.first()).arg(numbers.last());
}

QString SubArea::caption() const
{
    const QString numbers = numbersCaption(numList);
    return numbers.isEmpty() ? numbers : numbers + typeSuffix(subAreaTopicType);
}

QJsonObject SubArea::toJson() const
{
    QJsonObject obj;
    // A block without a frame (read from a file without "position") is
    // written without one too, so it reads back the same.
    if (frame)
        obj.insert(QStringLiteral("position"), Global::rectToJson(frame->sceneRect()));
    obj.insert(QStringLiteral("numList"), intsToJson(numList));
    obj.insert(QStringLiteral("ixList"), intsToJson(ixList));
    obj.insert(QStringLiteral("merge"), merge);
    if (orientation < 2)
        obj.insert(QStringLiteral("orientation"), orientation);
    if (hasMarks()) {
        obj.insert(QStringLiteral("chooseTopicModel"), chooseTopicModel);
        obj.insert(QStringLiteral("chooseTopicGroup"), chooseTopicGroup);
        if (!merge) {
            obj.insert(QStringLiteral("choosePosition"), Global::itemsToJson(choosePosition));
            obj.insert(QStringLiteral("choseScore"), intsToJson(choseScore));
            if (chooseArea)
                obj.insert(QStringLiteral("chooseArea"), Global::rectToJson(chooseArea->sceneRect()));
        }
    }
    obj.insert(QStringLiteral("subAreaTopicType"), questionTypeName(subAreaTopicType));
    if (!isChoice())
        return obj;

    obj.insert(QStringLiteral("chooses"), stringsToJson(chooses));
    obj.insert(QStringLiteral("chooseCount"), chooses.size());
    obj.insert(QStringLiteral("rows"), rows);
    obj.insert(QStringLiteral("rowOffset"), frame ? frame->rowSpacing() : rowOffset);
    obj.insert(QStringLiteral("colOffset"), frame ? frame->columnSpacing() : colOffset);
    const QGraphicsRectItem* box = frame ? frame->boxAreaItem() : nullptr;
    if (box)
        obj.insert(QStringLiteral("firstOption"), Global::rectToJson(box->rect()));
    else
        fileLogger(LogDebug) << "first option null";
    return obj;
}

SubArea SubArea::fromJson(const QJsonObject& obj, QGraphicsItem* parent)
{
    SubArea block;
    const QJsonValue typeName = obj.value(QStringLiteral("subAreaTopicType"));
    if (typeName.isString())
        block.subAreaTopicType = questionTypeCode(typeName.toString());
    const QJsonValue position = obj.value(QStringLiteral("position"));
    if (position.isObject())
        block.frame = new EIRectItem(Global::jsonToRect(position.toObject()), true, 8, nullptr);
    const QJsonValue numbers = obj.value(QStringLiteral("numList"));
    if (numbers.isArray())
        jsonToInts(numbers.toArray(), block.numList);
    readKey(obj, QStringLiteral("merge"), block.merge);

    // The writer also stores the group of a merged block, but a merged
    // block takes its group from its partner on every save.
    if (obj.contains(QStringLiteral("chooseTopicModel")) && obj.contains(QStringLiteral("chooseTopicGroup"))
        && obj.contains(QStringLiteral("choosePosition")) && !block.merge) {
        if (obj.contains(QStringLiteral("chooseArea")))
            block.chooseArea = new EIRectItem(Global::jsonToRect(obj.value(QStringLiteral("chooseArea")).toObject()), true, 5, parent);
        readKey(obj, QStringLiteral("chooseTopicModel"), block.chooseTopicModel);
        readKey(obj, QStringLiteral("chooseTopicGroup"), block.chooseTopicGroup);
        QGraphicsItem* markParent = block.chooseArea ? block.chooseArea : parent;
        block.choosePosition = Global::jsonToItems(obj.value(QStringLiteral("choosePosition")).toArray(), markParent);
        for (int i = 0; i < block.choosePosition.size() && i < block.numList.size(); ++i)
            block.choosePosition[i]->setText(QString::number(block.numList[i]), 1);
        if (obj.contains(QStringLiteral("choseScore")))
            jsonToInts(obj.value(QStringLiteral("choseScore")).toArray(), block.choseScore);
    }

    if (!block.isChoice())
        return block;

    const QJsonValue choices = obj.value(QStringLiteral("chooses"));
    if (choices.isArray())
        jsonToStrings(choices.toArray(), block.chooses);
    // The count is the options list's, as the writer makes "chooseCount":
    // a file where the two disagree would otherwise lay out another grid
    // on every save.
    block.count = block.chooses.size();
    readKey(obj, QStringLiteral("rows"), block.rows);
    readKey(obj, QStringLiteral("rowOffset"), block.rowOffset);
    readKey(obj, QStringLiteral("colOffset"), block.colOffset);
    readKey(obj, QStringLiteral("orientation"), block.orientation);

    if (!block.frame)
        return block;
    if (obj.contains(QStringLiteral("firstOption"))) {
        // A vertical block has one column per question.
        const int columns = block.orientation == 1 ? block.numList.size() : block.count;
        block.frame->setItemRect(Global::jsonToRect(obj.value(QStringLiteral("firstOption")).toObject()),
                                 block.rows, columns, block.rowOffset, block.colOffset);
    }
    const QString text = block.caption();
    if (!text.isEmpty())
        block.frame->setText(text, 1);
    return block;
}

QJsonArray SubArea::intsToJson(const QList<int>& values)
{
    QJsonArray array;
    for (int value : values)
        array.append(value);
    return array;
}

QJsonArray SubArea::stringsToJson(const QStringList& values)
{
    QJsonArray array;
    for (const QString& value : values)
        array.append(value);
    return array;
}

void SubArea::jsonToInts(const QJsonArray& array, QList<int>& out)
{
    for (const QJsonValue& value : array)
        out.append(value.toInt());
}

void SubArea::jsonToStrings(const QJsonArray& array, QStringList& out)
{
    for (const QJsonValue& value : array)
        out.append(value.toString());
}
