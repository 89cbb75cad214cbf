// Save: what every save requires, what only a save on the last step
// requires, then the hand-over to the I/O controller.

#include "app/shell/eimainwindow.h"

#include "app/shell/ui_eimainwindow.h"
#include "app/steps/imageviewer.h"
#include "app/steps/pagenames.h"
#include "app/steps/procedurecontroller.h"
#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "widgets/kit/eibutton.h"
#include "widgets/kit/eidialog.h"
#include "widgets/kit/eimessagebox.h"

namespace {

const QString messageTitle = QStringLiteral("提示");

// "第二张的" on a card of several papers, else nothing.
QString paperOfPage(int pageIndex)
{
    const QString paper = paperName(pageIndex);
    return paper.isEmpty() ? paper : paper + QStringLiteral("的");
}

} // namespace

void EIMainWindow::onSave()
{
    BusyGuard busy(this, BusyGuard::TakeOver);
    if (ProcedureController::hasUnframedOptionalMark()) {
        EIMessageBox::information(busy.parent(), messageTitle, QStringLiteral("请先框选选做题标记! "));
        return;
    }
    if (!ProcedureController::itemsInside(currentStep, shownPageArea())) {
        EIMessageBox::question(busy.parent(), messageTitle,
                               QStringLiteral("请先移动当前步骤框选的位置到正确的位置!"));
        return;
    }
    QWidget* parent = busy.parent();
    // Marks deleted since they were framed leave nothing to associate.
    if (associationPending()) {
        if (EIMessageBox::information(parent, messageTitle, QStringLiteral("请进行选做题的关联!")) != EIDialog::Ok)
            return;
        emit ui->btnDrawSubjective->clicked(true);
        optionalAssociated = procedure->associateOptional();
        if (!optionalAssociated)
            return;
        // The dialog took the overlay down with it.
        parent = busy.parent();
    }
    viewer->showPage(0, FaceFront, false);

    // A save before the last step writes an unfinished template; only the
    // last step requires the marks and the questions.
    if (currentStep == StepOtherMarks) {
        StepPosition p = ProcedureController::stepStatus(StepOtherMarks, 0);
        if (!p.complete) {
            ui->btnDrawMarkers->setEnabled(true);
            if (p.detail == -1 && answerSheet.paperCnt == 1)
                EIMessageBox::question(parent, messageTitle, QStringLiteral("请框选缺考标记! "));
            else if (p.detail == -1)
                EIMessageBox::question(parent, messageTitle,
                                       QStringLiteral("框选的缺考标记数量与预设的%1个数量不一致! ")
                                           .arg(answerSheet.absentMarkCnt));
            else
                EIMessageBox::question(parent, messageTitle,
                                       QStringLiteral("系统检测到%1%2没有框选缺考标记,请框选缺考标记！     ")
                                           .arg(paperName(p.pageIndex), QString()));
            busy.close();
            viewer->showPage(p.pageIndex / 2, static_cast<EPageFace>(p.side), false);
            viewer->setOtherMarkChecked(0, true);
            return;
        }
        if (answerSheet.paperCnt > 1) {
            p = ProcedureController::stepStatus(StepPageNumber, 0);
            if (!p.complete) {
                ui->btnDrawMarkers->setEnabled(true);
                EIMessageBox::question(parent, messageTitle,
                                       QStringLiteral("系统检测到%1%2没有框选页码标记,请框选页码！      ")
                                           .arg(paperOfPage(p.pageIndex), faceName(p.side)));
                busy.close();
                viewer->showPage(p.pageIndex / 2, static_cast<EPageFace>(p.side), false);
                return;
            }
        }
        p = ProcedureController::checkSectionsFramed();
        if (!p.complete) {
            EIMessageBox::question(parent, messageTitle,
                                   QStringLiteral("系统检测到%1%2没有框选题目,请框选题目！")
                                       .arg(paperOfPage(p.pageIndex), faceName(p.side)));
            emit ui->btnDrawSubjective->clicked(true);
            viewer->showPage(p.pageIndex / 2, static_cast<EPageFace>(p.side), false);
            return;
        }
    }

    // The I/O controller's answer, onSaveProjectDone, closes the overlay.
    busy.parent();
    busy.handOver();
    io->saveProject();
}
