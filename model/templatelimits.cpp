#include "model/templatelimits.h"

#include "model/cardname.h"
#include "model/infra/constants.h"

#include <QJsonArray>

namespace {

const QString badPaperCountText = QStringLiteral("纸张数量不合法，导入失败！");
const QString tooManyPagesText = QStringLiteral("页面数量超出纸张数量，导入失败！");
const QString gridTooLargeText = QStringLiteral("选项区域的行数或列数过大，导入失败！");
const QString tooManyItemsText = QStringLiteral("页面内容数量过多，导入失败！");

bool tooLarge(const QJsonObject& obj, const QString& key, int limit)
{
    return obj.contains(key) && obj.value(key).toInt() > limit;
}

// Entries of the array under `key`; 0 when it is no array, as the reader
// then reads none.
int entries(const QJsonObject& obj, const QString& key)
{
    return obj.value(key).toArray().size();
}

int gridBoxes(int rows, int columns)
{
    return rows > 0 && columns > 0 ? rows * columns : 0;
}

// Totals over one page, gathered on the way through its objects.
struct PageCounts
{
    int blocks = 0;
    int marks = 0;
    int boxes = 0;
};

QString examNumberFault(const QJsonObject& page, PageCounts& counts)
{
    if (!page.contains(QStringLiteral("ticketNum")))
        return QString();
    const QJsonObject area = page.value(QStringLiteral("ticketNum")).toObject();
    if (tooLarge(area, QStringLiteral("rows"), maxGridRows) || tooLarge(area, QStringLiteral("count"), maxGridColumns))
        return gridTooLargeText;
    if (area.contains(QStringLiteral("firstOption"))) {
        counts.boxes += gridBoxes(area.value(QStringLiteral("rows")).toInt(10),
                                  area.value(QStringLiteral("count")).toInt(8));
    }
    return QString();
}

QString blockFault(const QJsonObject& block, PageCounts& counts)
{
    if (entries(block, QStringLiteral("numList")) > maxItemsOfOneKind
        || entries(block, QStringLiteral("choseScore")) > maxItemsOfOneKind)
        return tooManyItemsText;
    counts.marks += entries(block, QStringLiteral("choosePosition"));

    // Only choice blocks (and blocks of an unknown type) read a grid.
    const int type = questionTypeCode(block.value(QStringLiteral("subAreaTopicType")).toString());
    if (type >= firstSubjectiveType)
        return QString();
    // The grid has one column per option, or per question in a vertical
    // block; an absurd "chooseCount" is refused although the options list
    // gives the count.
    const bool vertical = block.value(QStringLiteral("orientation")).toInt() == 1;
    const int columns = entries(block, vertical ? QStringLiteral("numList") : QStringLiteral("chooses"));
    if (tooLarge(block, QStringLiteral("rows"), maxGridRows) || tooLarge(block, QStringLiteral("chooseCount"), maxGridColumns)
        || entries(block, QStringLiteral("chooses")) > maxGridColumns || columns > maxGridColumns)
        return gridTooLargeText;
    if (block.contains(QStringLiteral("firstOption")))
        counts.boxes += gridBoxes(block.value(QStringLiteral("rows")).toInt(10), columns);
    return QString();
}

QString sectionsFault(const QJsonObject& page, PageCounts& counts)
{
    for (const QJsonValue& section : page.value(QStringLiteral("sections")).toArray()) {
        const QJsonObject contents = section.toObject().value(QStringLiteral("contents")).toObject();
        const QJsonArray blocks = contents.value(QStringLiteral("branch")).toArray();
        counts.blocks += blocks.size();
        if (counts.blocks > maxItemsOfOneKind)
            return tooManyItemsText;
        for (const QJsonValue& block : blocks) {
            const QString fault = blockFault(block.toObject(), counts);
            if (!fault.isEmpty())
                return fault;
        }
    }
    return QString();
}

QString pageFault(const QJsonObject& page)
{
    for (const char* key : {"lines", "locatePoint", "pageNum", "sections"}) {
        if (entries(page, QLatin1String(key)) > maxItemsOfOneKind)
            return tooManyItemsText;
    }
    PageCounts counts;
    QString fault = examNumberFault(page, counts);
    if (fault.isEmpty())
        fault = sectionsFault(page, counts);
    if (!fault.isEmpty())
        return fault;
    if (counts.marks > maxItemsOfOneKind)
        return tooManyItemsText;
    if (counts.boxes > maxBoxesOnPage)
        return gridTooLargeText;
    return QString();
}

} // namespace

QString templateFileFault(const QJsonObject& card, int paperCnt)
{
    if (card.contains(QStringLiteral("paperName"))
        && cardNameFault(card.value(QStringLiteral("paperName")).toString()) != CardNameFault::None)
        return cardNameImportMessage;

    if (card.contains(QStringLiteral("paperCnt")))
        paperCnt = card.value(QStringLiteral("paperCnt")).toInt();
    if (paperCnt < 0 || paperCnt > maxPaperCount)
        return badPaperCountText;

    int pages = 0;
    for (const QJsonValue& value : card.value(QStringLiteral("pageSheets")).toArray()) {
        if (!value.isObject())
            continue;
        ++pages;
        // Each paper holds two pages; a page beyond them has nowhere to go.
        if (pages > 2 * paperCnt)
            return tooManyPagesText;
        const QString fault = pageFault(value.toObject());
        if (!fault.isEmpty())
            return fault;
    }
    return QString();
}
