#include "app/shell/eimainwindow.h"

#include "app/steps/imageviewer.h"
#include "app/steps/procedurecontroller.h"
#include "app/shell/ui_eimainwindow.h"
#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "model/removeditems.h"
#include "widgets/kit/eimessagebox.h"

namespace {
constexpr int stepCount = 8;
} // namespace

void EIMainWindow::switchStep(int step)
{
    if (step >= 0)
        showStepPanel(ViewerPage);
    hideEditPanel();
    // The subjective step is where a pending optional mark gets framed, so
    // only the other steps are refused; refusing it too would send the
    // subjective button's click back here without end.
    if (step != StepSubjective && ProcedureController::hasUnframedOptionalMark()) {
        BusyGuard busy(this);
        EIMessageBox::information(busy.parent(), QStringLiteral("提示"), QStringLiteral("请先框选选做题标记! "));
        ui->btnDrawSubjective->setChecked(true);
        emit ui->btnDrawSubjective->clicked(true);
        return;
    }
    viewer->setAssociateButtonVisible(step == StepSubjective && ProcedureController::hasOptionalQuestions());
    viewer->showTip(QPoint(), step == StepGetTemplate ? 35 : 18);
    currentStep = step;
    updateStepButtons();
    refreshViewer();
    if (answerSheet.sheets.isEmpty())
        return;
    // Every step starts on the first page, except while a mark is pending:
    // the viewer refuses to turn the page then, so the shown page only
    // takes the step's edit states.
    if (step == StepSubjective && ProcedureController::hasUnframedOptionalMark())
        viewer->refreshPageItems(step, false);
    else
        viewer->showPage(0, FaceFront, false);
}

void EIMainWindow::setStepButtonsEnabled(int from, int to)
{
    // The last step opens nothing after it.
    if (to >= stepCount)
        return;
    for (int step = qMax(from, 0); step <= to; ++step)
        stepButtons[step]->setEnabled(true);
    for (int step = to + 1; step < stepCount; ++step)
        stepButtons[step]->setEnabled(false);
    updateStepButtons();
}

void EIMainWindow::updateStepButtons()
{
    for (int step = 0; step < currentStep && step < stepCount; ++step) {
        stepButtons[step]->setEnabled(true);
        stepButtons[step]->setPassedStyle();
    }
    // No step follows the last one, so its button never looks passed.
    for (int step = currentStep + 1; step < StepOtherMarks; ++step)
        stepButtons[step]->setDefaultStyle();
    if (currentStep >= 0 && currentStep < stepCount) {
        EIButton* current = stepButtons[currentStep];
        current->setEnabled(true);
        if (!current->isChecked()) {
            current->setChecked(true);
            emit current->clicked(true);
        }
    }
    viewer->updateProcedureBtnState(static_cast<ProcedureStep>(currentStep));
}

void EIMainWindow::refreshViewer()
{
    showStepPanel(ViewerPage);
    viewer->updateProcedureBtnState(static_cast<ProcedureStep>(currentStep));
    if (currentStep == StepSubjective)
        viewer->setAssociateButtonVisible(ProcedureController::hasOptionalQuestions());
}

void EIMainWindow::onStepClicked(int step)
{
    if (currentStep == step)
        return;
    if (step != StepLines) {
        switchStep(step);
        return;
    }
    // The lines step closes whatever overlay is still up once it is entered.
    BusyGuard busy(this, BusyGuard::TakeOver);
    switchStep(step);
}

void EIMainWindow::onItemDeleted(EIRectItem* item)
{
    if (!item)
        return;
    hideEditPanel();
    // The item stays allocated until the template's pages are cleared.
    discardedItems.append(item);
    // A question leaving its optional group may leave a group the
    // association dialog would not make: Next and Save ask for it again.
    PageSheet* page = viewer->currentPage();
    if (page && answerSheet.removeFramedItem(*page, item))
        optionalAssociated = false;
    if (currentStep == StepSubjective)
        viewer->setAssociateButtonVisible(ProcedureController::hasOptionalQuestions());
    viewer->refreshPageItems(currentStep, true);
}

void EIMainWindow::onOptAssociate()
{
    BusyGuard busy(this, BusyGuard::TakeOver);
    if (ProcedureController::hasOptionalQuestions()) {
        optionalAssociated = procedure->associateOptional();
        return;
    }
    EIMessageBox::information(busy.parent(), QStringLiteral("提示"), QStringLiteral("请先框选选做题！ "));
}
