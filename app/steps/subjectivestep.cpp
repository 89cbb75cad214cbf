// Step 5, subjective questions: each frame is one answer area, a
// "Subjective" section of one block. An optional set (选做题) then waits in
// its section for the frame of its mark boxes (optionalmarkstep.cpp).

#include "app/steps/framingstep.h"
#include "app/steps/imageviewer.h"
#include "app/steps/procedurecontroller.h"

#include "canvas/item/eirectitem.h"
#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "model/infra/constants.h"
#include "model/removeditems.h"
#include "widgets/dialogs/drawsubjectivepanel.h"
#include "widgets/kit/eimessagebox.h"

namespace {

constexpr int fillBlank = 3;
// The "是" / "否" buttons of a warning box.
constexpr int yesNoButtons = 3;

// The numbers after the last question, of its type when that was a
// written one; a block deleted a moment ago comes back as it was.
SubjectiveProperties prefill(const PageSheet& page)
{
    SubjectiveProperties values;
    const SubArea previous = answerSheet.lastQuestion(page.pageIndex, page.sections.isEmpty());
    if (!previous.numList.isEmpty()) {
        values.start = previous.numList.last() + 1;
        values.end = values.start;
        values.type = previous.subAreaTopicType >= firstSubjectiveType ? previous.subAreaTopicType : fillBlank;
    }
    if (!deletedRecords.isEmpty() && deletedRecords.last().kind == RemovedItemRecord::SubjectiveBlock) {
        const SubArea& deleted = deletedRecords.last().block;
        if (!deleted.numList.isEmpty()) {
            values.start = deleted.numList.first();
            values.end = deleted.numList.last();
        }
        values.type = deleted.subAreaTopicType;
        deletedRecords.removeLast();
    }
    return values;
}

} // namespace

bool ProcedureController::validateSubjectiveFrame(QRectF frame, ImageViewer* viewer)
{
    FramingCall call(overlayHost(), FramingCall::RaiseNow);
    PageSheet* page = viewer ? viewer->currentPage() : nullptr;
    if (!page)
        return false;

    DrawSubjectivePanel dialog(call.messageParent());
    dialog.setProperties(prefill(*page));
    if (dialog.exec() != EIDialog::Ok)
        return false;
    const SubjectiveProperties chosen = dialog.properties();

    SubArea block;
    block.subAreaTopicType = chosen.type;
    block.appendNumRange(chosen.start, chosen.end);
    bool optional = chosen.optional;
    QuestionLocation found;
    if (answerSheet.findSubjectiveByNumList(block.numList, found)
        && EIMessageBox::warning(call.messageParent(), QStringLiteral("提示"),
                                 QStringLiteral("检测到框选的题号已存在, 是否标记为同一题?"), yesNoButtons)
               == EIDialog::Ok) {
        block.merge = true;
        // The marks of the question framed first serve both.
        if (found.hasMarks)
            optional = false;
    }

    // Told now, not at the association: a question no group can take would
    // stop the card from ever being saved.
    if (optional && !answerSheet.optionalRoomFor(block.numList.size(), maxOptionalGroups, maxOptionalPerGroup))
        return call.refuseInformation(QStringLiteral("选做题最多关联%1组, 每组最多%2题, %3已无法关联!")
                                          .arg(maxOptionalGroups)
                                          .arg(maxOptionalPerGroup)
                                          .arg(SubArea::numbersCaption(block.numList)));

    Section section;
    section.type = sectionTypeSubjective;
    section.frame = FramingItems::plain(frame);
    block.frame = FramingItems::plain(frame);
    // An optional single question still reads as a range, "第6~6题".
    const QString numbers = block.numList.size() == 1 && !optional
                                ? SubArea::numbersCaption(block.numList)
                                : QStringLiteral("第%1~%2题").arg(chosen.start).arg(chosen.end);
    section.frame->setText(numbers, EIRectItem::CaptionBottomRight);
    if (optional) {
        section.frame->setText(QStringLiteral("请框选选做题标记"), EIRectItem::CaptionInside);
        section.step = 1;
    }
    section.addSubArea(block);
    page->addSection(section);
    return true;
}
