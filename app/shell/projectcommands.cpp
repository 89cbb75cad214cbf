#include "app/shell/eimainwindow.h"

#include "app/steps/imageviewer.h"
#include "app/project/iocontroller.h"
#include "app/steps/procedurecontroller.h"
#include "app/shell/ui_eimainwindow.h"
#include "canvas/eigraphicsview.h"
#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "model/removeditems.h"
#include "widgets/kit/eimessagebox.h"

#include <QCoreApplication>
#include <QStackedWidget>

bool EIMainWindow::isWorkOpen() const
{
    return ui->stackedWidget->currentWidget() != pageWidget(StartPage);
}

bool EIMainWindow::confirmDiscard(QWidget* parent, const QString& question)
{
    return EIMessageBox::warning(parent, QStringLiteral("警告"), question, 3) == EIDialog::Ok;
}

void EIMainWindow::onNewProject()
{
    BusyGuard busy(this);
    QCoreApplication::processEvents();
    if (isWorkOpen() && !confirmDiscard(busy.parent(), QStringLiteral("新建将会清空当前未保存的操作，是否继续？"))) {
        updateStepButtons();
        return;
    }
    showStepPanel(StartPage);
    setStepButtonsEnabled(0, 0);
    // The template frees its framing items first; the scene then frees
    // only what is left (the page image), so nothing is freed twice.
    answerSheet.clear();
    viewer->graphicsView()->clearScene();
    deletedRecords.clear();
    setCardTitle(QString());

    showStepPanel(StartPage);
    io->newProject();
}

void EIMainWindow::onNewProjectDone(IOController::State state)
{
    if (state != IOController::State::Done)
        return;
    showStepPanel(GetTemplatePage);
    setCardTitle(answerSheet.paperName);
    ui->btnGetTemplate->setEnabled(true);
    if (!ui->btnGetTemplate->isChecked())
        ui->btnGetTemplate->setChecked(true);
    currentStep = StepGetTemplate;
    updateStepButtons();
    updateLayoutByPaperCount();
    // No step can be chosen before the images arrive.
    for (EIButton* button : qAsConst(stepButtons)) {
        button->setDefaultStyle();
        button->setEnabled(false);
    }
}

void EIMainWindow::onImportProject()
{
    viewer->showPage(0, FaceFront, false);
    BusyGuard busy(this);
    if (isWorkOpen() && !confirmDiscard(busy.parent(), QStringLiteral("导入将会清空当前未保存的操作，是否继续？")))
        return;
    // The controller closes the overlay when it ends.
    busy.handOver();
    io->importProject();
}

void EIMainWindow::onImportProjectDone(IOController::State state)
{
    if (state == IOController::State::Done) {
        // The import has already freed the last card's items; what the
        // scene still holds is only its page image.
        viewer->graphicsView()->clearScene();
        setStepButtonsEnabled(0, 0);
        setCardTitle(QString());
        showStepPanel(ViewerPage);
        viewer->showPage(0, FaceFront, false);
        setCardTitle(answerSheet.paperName);
        const StepPosition resume = ProcedureController::resumePosition(answerSheet.paperCnt);
        switchStep(resume.step);
        // The buttons were enabled up to the last card's step while it was
        // still current; only the new card's steps stay open.
        setStepButtonsEnabled(0, resume.step);
        updateLayoutByPaperCount();
    } else if (state == IOController::State::Failed) {
        // The refused import has freed the last card's items; the scene
        // must not keep pointing at them, nor show that card's page.
        viewer->graphicsView()->clearScene();
        setStepButtonsEnabled(0, 0);
        switchStep(StepGetTemplate);
        setStepButtonsEnabled(0, 0);
        // The card named in the header is gone with the failed import.
        setCardTitle(QString());
        showStepPanel(GetTemplatePage);
    }
}

void EIMainWindow::onImagesReady(IOController::State state)
{
    // The intake leaves its overlay up for this answer to close.
    BusyGuard busy(this, BusyGuard::TakeOver);
    if (state == IOController::State::Done) {
        showStepPanel(ViewerPage);
        switchStep(StepGetTemplate);
        viewer->showPage(0, FaceFront, false);
        viewer->setTipText(answerSheet.paperCnt < 2 ? QStringLiteral("请根据实际情况设置答题卡的正反面")
                                                    : QStringLiteral("请根据实际情况设置答题卡的页码与正反面"));
        viewer->updateFaceWidgets();
        optionalAssociated = true;
    }
}

void EIMainWindow::onRedoTemplateStep(bool /*checked*/)
{
    if (!isWorkOpen())
        return;
    // Raised only for the question; the restart closes any overlay still up.
    BusyGuard busy(this, BusyGuard::TakeOver);
    if (currentStep > StepGetTemplate
        && !confirmDiscard(busy.parent(), QStringLiteral("重新操作此步骤将会清空已完成步骤的数据，是否继续？"))) {
        updateStepButtons();
        return;
    }
    // Template first, then the scene: see onNewProject.
    answerSheet.clearPages();
    viewer->graphicsView()->clearScene();
    deletedRecords.clear();

    switchStep(StepGetTemplate);
    updateStepButtons();
    setStepButtonsEnabled(0, 0);
    showStepPanel(GetTemplatePage);
}

void EIMainWindow::onSaveProjectDone(IOController::State state)
{
    // The save command leaves its overlay up for this answer to close.
    BusyGuard busy(this, BusyGuard::TakeOver);
    if (state == IOController::State::Done)
        showStepPanel(ViewerPage);
}
