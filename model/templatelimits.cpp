#include "model/templatelimits.h"

#include "model/infra/constants.h"

#include <QJsonArray>

const QString forbiddenNameCharacters = QStringLiteral("\\/:*?\"<>|");

namespace {

const QString badNameText = QStringLiteral("答题卡名称不合法，导入失败！");
const QString badPaperCountText = QStringLiteral("纸张数量不合法，导入失败！");
const QString tooManyPagesText = QStringLiteral("页面数量超出纸张数量，导入失败！");
const QString gridTooLargeText = QStringLiteral("选项区域的行数或列数过大，导入失败！");

bool tooLarge(const QJsonObject& obj, const QString& key, int limit)
{
    return obj.contains(key) && obj.value(key).toInt() > limit;
}

bool examNumberTooLarge(const QJsonObject& page)
{
    const QJsonObject area = page.value(QStringLiteral("ticketNum")).toObject();
    return tooLarge(area, QStringLiteral("rows"), maxGridRows)
        || tooLarge(area, QStringLiteral("count"), maxGridColumns);
}

bool blockTooLarge(const QJsonObject& block)
{
    // Only choice blocks (and blocks of an unknown type) read a grid.
    const int type = questionTypeCode(block.value(QStringLiteral("subAreaTopicType")).toString());
    if (type >= firstSubjectiveType)
        return false;
    if (tooLarge(block, QStringLiteral("rows"), maxGridRows)
        || tooLarge(block, QStringLiteral("chooseCount"), maxGridColumns))
        return true;
    // A vertical block lays out one column per question number.
    return block.value(QStringLiteral("orientation")).toInt() == 1
        && block.value(QStringLiteral("numList")).toArray().size() > maxGridColumns;
}

bool sectionsTooLarge(const QJsonObject& page)
{
    for (const QJsonValue& section : page.value(QStringLiteral("sections")).toArray()) {
        const QJsonObject contents = section.toObject().value(QStringLiteral("contents")).toObject();
        for (const QJsonValue& block : contents.value(QStringLiteral("branch")).toArray()) {
            if (blockTooLarge(block.toObject()))
                return true;
        }
    }
    return false;
}

} // namespace

bool isAcceptableCardName(const QString& name)
{
    // An empty name would save the card's files straight into the chosen
    // folder as ".json" and "_0.jpg".
    if (name.isEmpty() || name.size() > maxCardNameLength)
        return false;
    // "." and ".." would name the chosen folder or its parent.
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (QChar c : forbiddenNameCharacters) {
        if (name.contains(c))
            return false;
    }
    return true;
}

QString templateFileFault(const QJsonObject& card, int paperCnt)
{
    if (card.contains(QStringLiteral("paperName"))
        && !isAcceptableCardName(card.value(QStringLiteral("paperName")).toString()))
        return badNameText;

    if (card.contains(QStringLiteral("paperCnt")))
        paperCnt = card.value(QStringLiteral("paperCnt")).toInt();
    if (paperCnt < 0 || paperCnt > maxPaperCount)
        return badPaperCountText;

    int pages = 0;
    for (const QJsonValue& value : card.value(QStringLiteral("pageSheets")).toArray()) {
        if (!value.isObject())
            continue;
        ++pages;
        const QJsonObject page = value.toObject();
        if (examNumberTooLarge(page) || sectionsTooLarge(page))
            return gridTooLargeText;
    }
    // Each paper holds two pages; a page beyond them has nowhere to go.
    if (pages > 2 * paperCnt)
        return tooManyPagesText;
    return QString();
}
