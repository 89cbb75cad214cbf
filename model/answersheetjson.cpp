#include "model/answersheet.h"

#include "model/infra/appstate.h"
#include "model/jsonread.h"
#include "model/pagebounds.h"
#include "model/removeditems.h"
#include "model/repeatedkey.h"
#include "model/templatelimits.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>

QByteArray AnswerSheet::serialize(bool isComplete)
{
    return toJson(isComplete);
}

QByteArray AnswerSheet::toJson(bool isComplete)
{
    QJsonObject card;
    card.insert(QStringLiteral("paperName"), paperName);
    card.insert(QStringLiteral("answerSheetType"), answerSheetType);
    card.insert(QStringLiteral("isObjectVerticalAlign"), isObjectVerticalAlign);
    card.insert(QStringLiteral("paperType"),
                orientation == QLatin1String("horizontal") ? QStringLiteral("A3") : QStringLiteral("A4"));
    card.insert(QStringLiteral("paperCnt"), paperCnt);
    card.insert(QStringLiteral("jumpObjects"), jumpObjects);
    card.insert(QStringLiteral("jumpSubjects"), jumpSubjects);
    card.insert(QStringLiteral("jumpLines"), jumpLines);
    card.insert(QStringLiteral("redCard"), redCard);
    card.insert(QStringLiteral("isComplete"), isComplete);
    if (paperCnt > 1)
        card.insert(QStringLiteral("absentMarkCnt"), absentMarkCnt);
    card.insert(QStringLiteral("optionalGroupCnt"), optionalGroupCnt);

    if (!checkOptionalMarks())
        return QByteArray();

    QJsonArray pages;
    for (const QVector<PageSheet>& paper : qAsConst(sheets)) {
        for (const PageSheet& page : paper)
            pages.append(page.toJson(pageCnt));
    }
    card.insert(QStringLiteral("pageSheets"), pages);

    json = QJsonDocument(card).toJson(QJsonDocument::Indented);
    return json;
}

bool AnswerSheet::unserialized(const QByteArray& bytes)
{
    QString repeated;
    if (findRepeatedKey(bytes, repeated)) {
        notJson = true;
        errorText = QStringLiteral("unserialized -> key \"%1\" twice in one object").arg(repeated);
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    notJson = parseError.error != QJsonParseError::NoError || !document.isObject();
    if (parseError.error != QJsonParseError::NoError) {
        errorText = parseError.errorString();
        return false;
    }
    if (!document.isObject()) {
        errorText = QStringLiteral("unserialized -> !jsonDoc.isObject()");
        return false;
    }
    const QJsonObject card = document.object();
    // Refused before anything is set, so a refused file leaves the card as
    // it was.
    const QString fault = templateFileFault(card, paperCnt);
    if (!fault.isEmpty()) {
        errorText = fault;
        return false;
    }

    // The pages first, into a list of their own, so a file whose framing
    // lies off its pages is refused with the card as it was.
    QString name = paperName;
    readKey(card, QStringLiteral("paperName"), name);
    const QString importErrorBefore = importError;
    QVector<PageSheet> pages;
    const QJsonValue pageArray = card.value(QStringLiteral("pageSheets"));
    if (pageArray.isArray()) {
        for (const QJsonValue& value : pageArray.toArray()) {
            if (value.isObject())
                pages.append(PageSheet::fromJson(value.toObject(), name));
        }
    }
    const QString outside = framingOutsideFault(pages);
    if (!outside.isEmpty()) {
        QList<EIRectItem*> items;
        for (const PageSheet& page : qAsConst(pages))
            items += page.framingItems();
        deleteItemsOnce(items);
        importError = importErrorBefore;
        errorText = outside;
        return false;
    }

    paperName = name;
    if (card.contains(QStringLiteral("paperType")))
        orientation = card.value(QStringLiteral("paperType")).toString() == QLatin1String("A3")
                          ? QStringLiteral("horizontal") : QStringLiteral("vertical");
    readKey(card, QStringLiteral("answerSheetType"), answerSheetType);
    readKey(card, QStringLiteral("isObjectVerticalAlign"), isObjectVerticalAlign);
    readKey(card, QStringLiteral("redCard"), redCard);
    readKey(card, QStringLiteral("paperCnt"), paperCnt);
    readKey(card, QStringLiteral("absentMarkCnt"), absentMarkCnt);
    readKey(card, QStringLiteral("jumpObjects"), jumpObjects);
    readKey(card, QStringLiteral("jumpSubjects"), jumpSubjects);
    readKey(card, QStringLiteral("jumpLines"), jumpLines);
    readKey(card, QStringLiteral("optionalGroupCnt"), optionalGroupCnt);
    pageCnt = pages.size();

    // Stable, so pages with the same index keep the file's order.
    std::stable_sort(pages.begin(), pages.end(),
                     [](const PageSheet& a, const PageSheet& b) { return a.pageIndex < b.pageIndex; });
    sheets.resize(paperCnt);
    for (int i = 0; i < pages.size(); ++i)
        sheets[i / 2].append(pages[i]);
    return true;
}
