// The road of one frame: from the canvas's drawFinished through the size
// and place checks to the current step's validator, then the refreshed
// page and the next step's button.

#include "app/shell/eimainwindow.h"

#include "app/steps/imageviewer.h"
#include "app/steps/procedurecontroller.h"
#include "canvas/eigraphicsview.h"
#include "canvas/item/eirectitem.h"
#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "widgets/kit/eidialog.h"
#include "widgets/kit/eimessagebox.h"

#include <QCoreApplication>

namespace {

// Smaller frames are slips of the mouse, dropped without a word.
constexpr qreal minFrameWidth = 20.0;
constexpr qreal minFrameHeight = 10.0;

const QString messageTitle = QStringLiteral("提示");

} // namespace

void EIMainWindow::onDrawFinished(QRectF rect)
{
    if (rect.width() < minFrameWidth || rect.height() < minFrameHeight)
        return;
    // Closes whatever the checks and the validator leave up.
    BusyGuard busy(this, BusyGuard::TakeOver);
    if (!confirmLinesReframe())
        return;
    QCoreApplication::processEvents();

    // The validators measure only what lies on the page, so a frame that
    // leaves it is refused here, before any of them sees it.
    const QPixmap pixmap = viewer->graphicsView()->pixmap();
    if (!QRectF(pixmap.rect()).contains(rect)) {
        EIMessageBox::question(busy.parent(), messageTitle, QStringLiteral("请在图像区域内进行框选！"));
        return;
    }
    const int size = ProcedureController::checkFrameSize(currentStep, rect.toRect());
    if (size == ProcedureController::FrameTooBig) {
        EIMessageBox::question(busy.parent(), messageTitle, QStringLiteral("框选的内容太大！请重新框选！"));
        return;
    }
    // An absent mark may be small.
    if (size == ProcedureController::FrameTooSmall && currentStep == StepPageNumber) {
        EIMessageBox::question(busy.parent(), messageTitle, QStringLiteral("框选的内容太小！请重新框选！"));
        return;
    }

    bool changed = true;
    switch (currentStep) {
    case StepLines:
        changed = procedure->validateLineFrame(rect, viewer->currentPage());
        break;
    case StepTitles:
        changed = procedure->validateTitleFrame(rect, viewer);
        break;
    case StepPageNumber:
        changed = procedure->validatePageMarkFrame(rect, viewer);
        break;
    case StepOtherMarks:
        changed = procedure->validateAbsentMarkFrame(rect, viewer);
        break;
    case StepExamNumber:
        changed = procedure->validateStuNoFrame(rect, viewer);
        break;
    case StepObjective:
        changed = procedure->validateObjectiveFrame(rect, viewer);
        break;
    case StepSubjective:
        changed = frameSubjectiveStep(rect, busy);
        break;
    default:
        break;
    }
    if (changed) {
        viewer->refreshPageItems(currentStep, true);
        setStepButtonsEnabled(0, currentStep + 1);
    }
}

bool EIMainWindow::frameSubjectiveStep(const QRectF& rect, BusyGuard& busy)
{
    const PageSheet* page = viewer->currentPage();
    if (!page || page->sections.isEmpty() || page->sections.last().step != 1)
        return procedure->validateSubjectiveFrame(rect, viewer);

    // The optional set framed last waits for its marks, inside its frame.
    const Section& pending = page->sections.last();
    const QList<int> numbers = pending.branch.isEmpty() ? QList<int>() : pending.branch.last().numList;
    if (pending.frame && pending.frame->sceneRect().contains(rect)) {
        const bool framed = procedure->validateOptionalMarkFrame(rect, viewer, numbers);
        // Only new marks need a new association.
        if (framed)
            optionalAssociated = false;
        return framed;
    }
    const QString text = numbers.size() > 1
                             ? QStringLiteral("请在第%1~%2题区域内进行选做题标记的框选！").arg(numbers.first()).arg(numbers.last())
                             : QStringLiteral("请在%1题区域内进行选做题标记的框选！").arg(numbers.value(0));
    EIMessageBox::information(busy.parent(), messageTitle, text);
    return true;
}

bool EIMainWindow::confirmLinesReframe()
{
    if (currentStep != StepLines)
        return true;
    bool titled = false;
    for (const QVector<PageSheet>& paper : qAsConst(answerSheet.sheets)) {
        QCoreApplication::processEvents();
        for (const PageSheet& page : paper)
            titled = titled || !page.title.isEmpty();
    }
    if (!titled)
        return true;

    BusyGuard busy(this, BusyGuard::TakeOver);
    const int answer = EIMessageBox::warning(
        busy.parent(), QStringLiteral("警告"), QStringLiteral("继续框选线段将清空已经完成的所有操作,是否继续？     "), 3);
    if (answer != EIDialog::Ok) {
        updateStepButtons();
        return false;
    }
    // The template frees its framing items first, then the scene the rest.
    answerSheet.clearPages();
    viewer->graphicsView()->clearScene();
    if (PageSheet* page = viewer->currentPage())
        viewer->showPixmap(page->image.pixmap, true);
    setStepButtonsEnabled(0, StepLines);
    busy.handOver();
    return true;
}
