// Step 5, optional marks: the boxes in which a candidate marks which
// question of an optional set was answered, one per question, framed
// inside the set's section. Their groups are set in the association
// dialog (optionalassociation.cpp).

#include "app/steps/framingstep.h"
#include "app/steps/imageviewer.h"
#include "app/steps/procedurecontroller.h"

#include "algorithms/optionalmarks.h"
#include "canvas/item/eirectitem.h"
#include "model/pagesheet.h"

#include <algorithm>

namespace {

// Takes the block's marks off the canvas into discardedItems. The area
// also lets go of the section frame, which would otherwise keep drawing it.
void discardMarks(SubArea& block)
{
    for (EIRectItem* box : qAsConst(block.choosePosition))
        discardItem(box);
    if (EIRectItem* area = block.chooseArea) {
        discardItem(area);
        area->setParentItem(nullptr);
    }
    block.chooseArea = nullptr;
    block.choosePosition.clear();
    block.choseScore.clear();
}

} // namespace

bool ProcedureController::validateOptionalMarkFrame(QRectF frame, ImageViewer* viewer,
                                                    const QList<int>& questionNumbers)
{
    FramingCall call(overlayHost(), FramingCall::RaiseNow);
    PageSheet* page = viewer ? viewer->currentPage() : nullptr;
    if (!page || page->sections.isEmpty() || page->sections.last().branch.isEmpty())
        return false;
    Section& section = page->sections.last();
    SubArea& block = section.branch.last();
    if (!section.frame)
        return false;

    // Every box is captioned with its question's number, so the search
    // must find exactly one box per number; anything else is refused
    // before the old marks go.
    QVector<OptionalMarkArea> marks;
    if (getOptQuesAreas(page->image.pixmap, frame, questionNumbers.size(), marks) != 0
        || marks.size() != questionNumbers.size())
        return call.refuseInformation(QStringLiteral("框选区域校验不通过，请重新框选!"));
    std::sort(marks.begin(), marks.end(), [](const OptionalMarkArea& a, const OptionalMarkArea& b) {
        return lessByX(a.rect, b.rect);
    });

    if (block.hasMarks()
        && !call.confirmReplace(QStringLiteral("当前框选内容已存在，是否要删除选做标记并重新框选?")))
        return false;
    discardMarks(block);

    const QPointF sectionCorner = section.frame->sceneRect().topLeft();
    EIRectItem* area = FramingItems::optionalMarkArea(frame.translated(-sectionCorner), section.frame);
    block.chooseArea = area;
    for (int i = 0; i < marks.size(); ++i) {
        EIRectItem* box = FramingItems::optionalMarkBox(marks[i].rect.translated(-frame.topLeft()), area);
        box->setText(QString::number(questionNumbers[i]), EIRectItem::CaptionBelow);
        block.choosePosition.append(box);
        block.choseScore.append(static_cast<int>(marks[i].score));
    }

    section.frame->setText(SubArea::numbersCaption(block.numList), EIRectItem::CaptionBottomRight);
    section.step = 0;
    return true;
}
