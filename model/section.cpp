#include "model/section.h"

#include "canvas/item/eirectitem.h"
#include "model/global.h"
#include "model/jsonread.h"
#include "model/removeditems.h"

#include <algorithm>

const QString sectionTypeObject = QStringLiteral("Object");
const QString sectionTypeSubjective = QStringLiteral("Subjective");

namespace {

const QString optionalMarkPrompt = QStringLiteral("请框选选做题标记");

bool isDead(const SubArea& block)
{
    // A block read without "position" has no item; it is kept, since
    // nothing was deleted.
    return block.frame && !block.frame->isValid();
}

} // namespace

void Section::addSubArea(const SubArea& block)
{
    dropDeadItems();
    branch.append(block);
}

void Section::dropDeadItems()
{
    for (;;) {
        const auto dead = std::find_if(branch.begin(), branch.end(), isDead);
        if (dead == branch.end())
            return;
        EIRectItem* item = dead->frame;
        // Blocks that share the item go with it, and the section lets go of
        // it too, so nothing can reach the item once it is deleted.
        branch.erase(std::remove_if(branch.begin(), branch.end(),
                                    [item](const SubArea& block) { return block.frame == item; }),
                     branch.end());
        if (frame == item)
            frame = nullptr;
        deleteItemNow(item);
    }
}

QJsonObject Section::toJson() const
{
    QJsonObject obj;
    if (!frame || !frame->isValid())
        return obj;
    QJsonArray blocks;
    for (const SubArea& block : branch) {
        if (!isDead(block))
            blocks.append(block.toJson());
    }
    QJsonObject contents;
    contents.insert(QStringLiteral("position"), Global::rectToJson(frame->sceneRect()));
    contents.insert(QStringLiteral("branch"), blocks);
    obj.insert(QStringLiteral("type"), type);
    obj.insert(QStringLiteral("step"), step);
    obj.insert(QStringLiteral("contents"), contents);
    return obj;
}

Section Section::fromJson(const QJsonObject& obj)
{
    Section section;
    const QJsonValue typeName = obj.value(QStringLiteral("type"));
    if (typeName.isString())
        section.type = typeName.toString();
    readKey(obj, QStringLiteral("step"), section.step);

    const QJsonValue contentsValue = obj.value(QStringLiteral("contents"));
    if (!contentsValue.isObject())
        return section;
    const QJsonObject contents = contentsValue.toObject();
    const QJsonValue position = contents.value(QStringLiteral("position"));
    if (!position.isObject())
        return section;
    section.frame = new EIRectItem(Global::jsonToRect(position.toObject()), true, 8, nullptr);

    const QJsonValue blocks = contents.value(QStringLiteral("branch"));
    if (!blocks.isArray())
        return section;
    for (const QJsonValue& value : blocks.toArray())
        section.branch.append(SubArea::fromJson(value.toObject(), section.frame));
    if (section.type != sectionTypeSubjective)
        return section;
    if (section.step == 1) {
        section.frame->setText(optionalMarkPrompt, 0);
    } else if (!section.branch.isEmpty()) {
        // With several blocks the caption of the last one stays.
        const QString caption = SubArea::numbersCaption(section.branch.last().numList);
        if (!caption.isEmpty())
            section.frame->setText(caption, 2);
    }
    return section;
}
