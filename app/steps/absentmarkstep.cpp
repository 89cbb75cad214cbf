// Step 7, other marks: the absent mark an invigilator fills in for an
// absent candidate. It is stored as framed, without an image check.

#include "app/steps/framingstep.h"
#include "app/steps/imageviewer.h"
#include "app/steps/procedurecontroller.h"

#include "canvas/item/eirectitem.h"
#include "model/pagesheet.h"

bool ProcedureController::validateAbsentMarkFrame(QRectF frame, ImageViewer* viewer)
{
    FramingCall call(overlayHost(), FramingCall::RaiseForMessages);
    PageSheet* page = viewer ? viewer->currentPage() : nullptr;
    if (!page)
        return false;

    if (page->testmark.enabled
        && !call.confirmReplace(QStringLiteral("当前框选内容已存在，请确认是否删除缺考信息并重新框选?")))
        return false;
    discardItem(page->testmark.item);
    page->testmark.reset(false);

    EIRectItem* item = FramingItems::absentMark(frame);
    item->show();
    // Settles the item's geometry before the template reads it.
    item->setPos(item->pos());
    TestMark mark;
    mark.item = item;
    mark.enabled = true;
    page->setTestMark(mark);
    return true;
}
