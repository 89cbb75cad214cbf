// Next and Skip: leaving a step once the template is complete up to it,
// or on purpose without framing anything on it.

#include "app/shell/eimainwindow.h"

#include "app/steps/imageviewer.h"
#include "app/steps/pagenames.h"
#include "app/steps/procedurecontroller.h"
#include "canvas/eigraphicsview.h"
#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "widgets/kit/eidialog.h"
#include "widgets/kit/eimessagebox.h"

namespace {

const QString messageTitle = QStringLiteral("提示");

// What a step frames, as its "请框选…！" message names it.
QString framedThing(int step)
{
    switch (step) {
    case StepTitles:
        return QStringLiteral("标题");
    case StepExamNumber:
        return QStringLiteral("考号信息");
    case StepPageNumber:
        return QStringLiteral("页码标记");
    default:
        return QString();
    }
}

// The step after `step`; a card of one paper has no page-number step.
int stepAfter(int step)
{
    if (step == StepSubjective && answerSheet.paperCnt <= 1)
        return StepOtherMarks;
    return step + 1;
}

} // namespace

QRect EIMainWindow::shownPageArea() const
{
    return viewer->graphicsView()->pixmap().rect();
}

bool EIMainWindow::associationPending() const
{
    return ProcedureController::hasOptionalQuestions()
           && (!optionalAssociated || answerSheet.hasUnassociatedOptional() || !answerSheet.optionalGroupsNumbered());
}

void EIMainWindow::onNextStep()
{
    BusyGuard busy(this, BusyGuard::TakeOver);
    if (!ProcedureController::itemsInside(currentStep, shownPageArea())) {
        EIMessageBox::question(busy.parent(), messageTitle,
                               QStringLiteral("请先移动当前步骤框选的位置到正确的位置!"));
        return;
    }
    // Next tests a skipped step again: the skip holds only until then.
    if (currentStep == StepObjective)
        answerSheet.jumpObjects = false;
    if (currentStep == StepSubjective) {
        if (ProcedureController::hasUnframedOptionalMark()) {
            EIMessageBox::information(busy.parent(), messageTitle, QStringLiteral("请先框选选做题标记! "));
            return;
        }
        // A cancelled association says nothing more: the operator chose to stay.
        if (associationPending()) {
            optionalAssociated = procedure->associateOptional();
            if (!optionalAssociated)
                return;
        }
        answerSheet.jumpSubjects = false;
        const StepPosition p = ProcedureController::checkSectionsFramed();
        if (!p.complete) {
            viewer->showPage(p.pageIndex / 2, static_cast<EPageFace>(p.side), false);
            const QString text = p.detail == 1 ? QStringLiteral("请框选%1%2的选做题标记！")
                                               : QStringLiteral("请确认%1%2是否存在没有框选的题目！");
            EIMessageBox::question(busy.parent(), messageTitle,
                                   text.arg(paperName(p.pageIndex), faceName(p.side)));
            return;
        }
    }
    if (currentStep == StepLines)
        answerSheet.jumpLines = false;
    advanceOrPointBack(busy);
}

void EIMainWindow::advanceOrPointBack(BusyGuard& busy)
{
    const StepPosition p = ProcedureController::resumePosition(answerSheet.paperCnt);
    if (p.step > currentStep) {
        switchStep(stepAfter(currentStep));
        return;
    }
    // The first incomplete step is this one or an earlier one; its own
    // message names it and its page, so the operator goes where work is
    // missing, whichever step Next was pressed on.
    const QString face = faceName(p.side);
    switch (p.step) {
    case StepLines: {
        const int answer = EIMessageBox::warning(
            busy.parent(), messageTitle, QStringLiteral("如果图像有倾斜建议框选线段以矫正,是否需要矫正？"), 3);
        if (answer != EIDialog::Cancel)
            return;
        answerSheet.jumpLines = true;
        if (currentStep == StepLines)
            switchStep(StepTitles);
        else
            advanceOrPointBack(busy);
        return;
    }
    case StepObjective:
        EIMessageBox::question(busy.parent(), messageTitle, QStringLiteral("请框选客观题！"));
        return;
    case StepSubjective:
        EIMessageBox::question(busy.parent(), messageTitle, QStringLiteral("请框%1选主观题").arg(face + QStringLiteral("的")));
        return;
    case StepTitles:
    case StepExamNumber:
    case StepPageNumber:
        EIMessageBox::question(busy.parent(), messageTitle,
                               QStringLiteral("请框选%1%2%3！")
                                   .arg(paperName(p.pageIndex), face + QStringLiteral("的"), framedThing(p.step)));
        viewer->showPage(p.pageIndex / 2, static_cast<EPageFace>(p.side), false);
        return;
    default:
        return;
    }
}

void EIMainWindow::onJumpStep()
{
    int next = currentStep + 1;
    switch (currentStep) {
    case StepLines:
        answerSheet.jumpLines = true;
        next = StepTitles;
        break;
    case StepObjective:
        answerSheet.jumpObjects = true;
        answerSheet.jumpSubjects = false;
        next = StepSubjective;
        break;
    case StepSubjective:
        answerSheet.jumpSubjects = true;
        next = stepAfter(StepSubjective);
        break;
    default:
        break;
    }
    // Nothing follows the last step.
    if (next > StepOtherMarks)
        return;
    switchStep(next);
}
