// Save: where to, whether the template is finished, and what the operator
// is told. The folder itself is written by the model.

#include "app/project/iocontroller.h"

#include "app/steps/procedurecontroller.h"
#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "model/templatefolder.h"
#include "platform/folderopener.h"
#include "widgets/kit/busyguard.h"
#include "widgets/kit/eidialog.h"
#include "widgets/kit/eimessagebox.h"

#include <QCoreApplication>

namespace {

const QString messageTitle = QStringLiteral("提示");

// Finished: work would resume on the last step, and every page carries
// its absent mark and, with several papers, its page-number mark.
bool isFinished(const AnswerSheet& card)
{
    bool complete = ProcedureController::stepStatus(StepOtherMarks, 0).complete;
    if (card.paperCnt > 1)
        complete = complete && ProcedureController::stepStatus(StepPageNumber, 0).complete;
    return complete && ProcedureController::resumePosition(card.paperCnt).step == StepOtherMarks;
}

// Why the save changed nothing. A page picture that cannot be written
// fails it like the file itself: nothing is put in place half written.
QString failureText(TemplateFolder::SaveResult result)
{
    switch (result) {
    case TemplateFolder::SaveResult::BadName:
        return QStringLiteral("答题卡名称不合法，保存失败！");
    case TemplateFolder::SaveResult::Refused:
        return answerSheet.errorString();
    case TemplateFolder::SaveResult::NotReplaced:
        return QStringLiteral("数据保存失败, 请重试");
    default:
        return QStringLiteral("数据保存失败,请重试!");
    }
}

} // namespace

void IOController::saveProject()
{
    BusyGuard busy(overlayHost());
    QCoreApplication::processEvents();
    if (savePath.isEmpty())
        savePath = fileDialogs.existingDirectory(busy.parent(), QStringLiteral("请选择要保存的位置"),
                                                 answerSheet.paperName);
    if (savePath.isEmpty()) {
        emit saveProjectDone(State::Cancelled);
        return;
    }

    savePath = TemplateFolder::withoutUnfinishedSuffix(savePath);
    const bool finished = isFinished(answerSheet);
    const TemplateFolder::SaveOutcome saved = TemplateFolder::write(answerSheet, savePath, finished);

    QWidget* parent = busy.parent();
    switch (saved.result) {
    case TemplateFolder::SaveResult::Written:
        if (currentStep == StepOtherMarks || finished) {
            if (EIMessageBox::warning(parent, messageTitle, QStringLiteral("保存完成，是否打开所在文件夹?"), 3)
                == EIDialog::Ok)
                platform::openFolder(saved.places.written);
        } else {
            EIMessageBox::information(parent, messageTitle,
                                      QStringLiteral("已保存成功!请在所有步骤框选完成后进行绑定！   "));
        }
        break;
    default:
        EIMessageBox::information(parent, messageTitle, failureText(saved.result));
        emit saveProjectDone(State::Failed);
        return;
    }
    emit saveProjectDone(State::Done);
}
