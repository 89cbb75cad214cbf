#include "model/answersheet.h"

#include "model/global.h"
#include "model/infra/appstate.h"
#include "model/removeditems.h"

AnswerSheet answerSheet;

const QString pollutedMarkMessage = QStringLiteral("选做题标记不合格！可能被污染。");

void AnswerSheet::clear()
{
    errorText.clear();
    json.clear();
    pageCnt = 1;
    isObjectVerticalAlign = false;
    answerSheetType = 3;
    paperName = QStringLiteral("unknown");
    orientation = QStringLiteral("horizontal");
    paperCnt = 1;
    optionalGroupCnt = 0;
    projectDir.clear();
    clearPages();
    sheets.clear();
}

void AnswerSheet::clearPages()
{
    jumpObjects = false;
    jumpSubjects = false;
    jumpLines = false;
    optionalGroupCnt = 0;
    projectDir.clear();
    removedRecords.clear();

    // One item can be reachable several ways: from deletedItems and from a
    // record, from two merged blocks, or as the child of another item that
    // is deleted (mark boxes under their area, areas under a section
    // frame). Gather everything, delete each once, then drop the pointers.
    QList<EIRectItem*> items = deletedItems;
    forEachPage([&items](const PageSheet& page) { items += page.framingItems(); });
    deleteItemsOnce(items);

    for (EIRectItem*& entry : deletedItems)
        entry = nullptr;
    forEachPageOf(sheets, [](PageSheet& page) {
        page.lines.clear();
        page.pageNum.clear();
        page.testmark.reset(false);
        page.barCode.reset(false);
        page.ticketNum.reset(false);
        page.title.reset(false);
        page.sections.clear();
    });
}

bool AnswerSheet::hasFramedKind(const QString& kind) const
{
    const bool lines = kind == QLatin1String("lines");
    return anyPage([&](const PageSheet& page) {
        if (lines && page.lineCount() > 0)
            return true;
        for (const Section& section : page.sections) {
            if (section.type == kind)
                return true;
        }
        return false;
    });
}

bool Global::hasFramedKind(const QString& kind)
{
    return answerSheet.hasFramedKind(kind);
}
