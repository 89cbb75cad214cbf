#include "app/steps/procedurecontroller.h"

#include "model/answersheet.h"
#include "model/infra/appstate.h"

#include <QVector>

namespace {

void markPage(StepPosition& position, const PageSheet& page, bool complete, int detail)
{
    position.side = page.side;
    position.pageIndex = page.pageIndex;
    position.complete = complete;
    position.detail = detail;
}

bool hasSectionOf(const PageSheet& page, const QString& type, bool skipPendingMarks)
{
    for (const Section& section : page.sections) {
        if (section.type == type && !(skipPendingMarks && section.step == 1))
            return true;
    }
    return false;
}

int pageNumberMarkCount(const PageSheet& page)
{
    int count = 0;
    for (const ImageMark& mark : page.pageNum) {
        if (mark.item)
            ++count;
    }
    return count;
}

// A front passes with either kind of exam number; a back needs none.
bool examNumberPasses(const PageSheet& page, int mode)
{
    if (ProcedureController::hasStuNoArea(page, mode))
        return true;
    if (page.pageIndex % 2 != 0)
        return true;
    const int other = mode == ProcedureController::StuNoBarcode ? ProcedureController::StuNoGrid
                                                                : ProcedureController::StuNoBarcode;
    return ProcedureController::hasStuNoArea(page, other);
}

// The absent marks against the preset count: with one mark per card any
// page may carry it; with two, each of the first two papers carries one.
StepPosition absentMarkStatus(StepPosition position)
{
    const int pageCount = qMax(answerSheet.pageCnt, 0);
    QVector<int> marked(pageCount, 0);
    answerSheet.forEachPage([&](const PageSheet& page) {
        // A page index the card cannot hold is not counted rather than
        // written past the list.
        if (page.testmark.enabled && page.pageIndex >= 0 && page.pageIndex < pageCount) {
            marked[page.pageIndex] = 1;
            position.pageIndex = page.pageIndex;
        }
    });
    int total = 0;
    for (int count : qAsConst(marked))
        total += count;
    auto incomplete = [&position](int pageIndex, int detail) {
        position.complete = false;
        position.side = FaceFront;
        position.pageIndex = pageIndex;
        position.detail = detail;
        return position;
    };
    const auto unmarked = [&marked](int pageIndex) { return marked.value(pageIndex, 0) == 0; };

    if (answerSheet.absentMarkCnt == 1 && total != 1)
        return incomplete(0, -1);
    if (answerSheet.paperCnt >= 2 && answerSheet.absentMarkCnt >= 2) {
        if (unmarked(0) && unmarked(1))
            return incomplete(0, 0);
        if (pageCount == 3 && unmarked(2))
            return incomplete(2, 0);
        if (pageCount == 4 && unmarked(2) && unmarked(3))
            return incomplete(2, 0);
    }
    return position;
}

} // namespace

StepPosition ProcedureController::stepStatus(int step, int mode)
{
    StepPosition r;
    r.complete = true;
    r.step = step;
    // An empty template counts as complete on every step.
    if (!answerSheet.anyPage([](const PageSheet&) { return true; }))
        return r;

    if (step == StepOtherMarks)
        return mode == 0 ? absentMarkStatus(r) : r;

    if (step == StepLines)
        r.complete = false;
    // The walk stops at the page that decides the step.
    answerSheet.anyPage([&](const PageSheet& page) {
        switch (step) {
        case StepLines:
            if (page.lineCount() > 0) {
                markPage(r, page, true, 0);
                return true;
            }
            return false;
        case StepTitles:
            if (!page.title.item) {
                markPage(r, page, false, 0);
                return true;
            }
            return false;
        case StepExamNumber:
            if (!examNumberPasses(page, mode)) {
                markPage(r, page, false, mode);
                return true;
            }
            return false;
        case StepObjective:
            markPage(r, page, false, 0);
            if (hasSectionOf(page, sectionTypeObject, false)) {
                r.complete = true;
                return true;
            }
            return false;
        case StepSubjective:
            markPage(r, page, false, 0);
            if (hasSectionOf(page, sectionTypeSubjective, true)) {
                r.complete = true;
                return true;
            }
            return false;
        case StepPageNumber:
            if (pageNumberMarkCount(page) == 0 && page.side != FaceBack) {
                markPage(r, page, false, mode);
                return true;
            }
            return false;
        default:
            return true;
        }
    });
    return r;
}

StepPosition ProcedureController::checkSectionsFramed()
{
    StepPosition r;
    r.complete = true;
    answerSheet.anyPage([&r](const PageSheet& page) {
        if (page.sections.isEmpty()) {
            markPage(r, page, false, -1);
            return true;
        }
        for (const Section& section : page.sections) {
            if (section.step == 1) {
                markPage(r, page, false, 1);
                return true;
            }
        }
        return false;
    });
    return r;
}

StepPosition ProcedureController::resumePosition(int paperCount)
{
    StepPosition p = stepStatus(StepGetTemplate, 0);
    if (!p.complete)
        return p;
    p = stepStatus(StepLines, 0);
    if (!p.complete && !answerSheet.jumpLines)
        return p;
    p = stepStatus(StepTitles, 0);
    if (!p.complete)
        return p;
    p = stepStatus(StepExamNumber, StuNoGrid);
    if (!p.complete && !stepStatus(StepExamNumber, StuNoBarcode).complete)
        return p;
    p = stepStatus(StepObjective, 0);
    if (!p.complete && !answerSheet.jumpObjects)
        return p;
    p = stepStatus(StepSubjective, 0);
    if (!p.complete && !answerSheet.jumpSubjects)
        return p;
    if (paperCount > 1) {
        p = stepStatus(StepPageNumber, 0);
        if (!p.complete)
            return p;
    }
    return stepStatus(StepOtherMarks, 0);
}
