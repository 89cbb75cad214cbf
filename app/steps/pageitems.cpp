#include "app/steps/imageviewer.h"

#include "app/steps/ui_imageviewer.h"
#include "canvas/eigraphicsscene.h"
#include "canvas/item/eirectitem.h"
#include "model/pagesheet.h"
#include "model/section.h"

namespace {

// Page-number marks and the absent mark are small and often framed over
// question blocks; they stay drawn above every other framing.
constexpr qreal markLayer = 1.0;

} // namespace

void ImageViewer::refreshPageItems(int step, bool keepZoom)
{
    // Items of other pages stay in the scene, hidden.
    ui->graphicsView->scene()->hideItems();
    PageSheet* page = currentPage();
    if (!page)
        return;
    showPixmap(page->image.pixmap, keepZoom);
    // Items new to the scene stack in this order.
    updateSubjectiveItems(step, true);
    updateLineItems(step, true);
    updateTitleItems(step, true);
    updateStuNoItems(step, true);
    updatePageNumberItems(step, true);
    updateAbsentMarkItem(step, true);
    updateObjectiveItems(step, true);
    updateProcedureBtnState(static_cast<ProcedureStep>(step));
}

bool ImageViewer::updateSubjectiveItems(int step, bool visible)
{
    PageSheet* page = currentPage();
    if (!page)
        return false;
    bool shown = false;
    for (const Section& section : qAsConst(page->sections)) {
        if (section.type != sectionTypeSubjective || !section.frame)
            continue;
        // A section still waiting for its optional mark stays selectable, so
        // the mark can be framed inside it, but never moves.
        const bool pendingMark = section.step == 1;
        section.frame->setEditable(step == StepSubjective || pendingMark, pendingMark);
        ui->graphicsView->addRectItem(section.frame);
        section.frame->setVisible(visible);
        shown = true;

        if (section.branch.isEmpty())
            continue;
        const SubArea& block = section.branch.first();
        QList<EIRectItem*> marks = block.choosePosition;
        if (block.chooseArea)
            marks.prepend(block.chooseArea);
        for (EIRectItem* mark : qAsConst(marks)) {
            if (!mark)
                continue;
            mark->setMenuEnabled(false);
            ui->graphicsView->addRectItem(mark);
            mark->setVisible(visible);
        }
        if (step == StepSubjective && !block.choosePosition.isEmpty() && ui->btnOptionalAssociate->isHidden())
            ui->btnOptionalAssociate->show();
    }
    return shown;
}

bool ImageViewer::updateLineItems(int step, bool visible)
{
    PageSheet* page = currentPage();
    if (!page || page->lineCount() == 0)
        return false;
    page->setLinesEditable(step == StepLines);
    ui->graphicsView->addRectItems(page->lines);
    page->setLinesVisible(visible);
    return true;
}

bool ImageViewer::updateTitleItems(int step, bool visible)
{
    PageSheet* page = currentPage();
    if (!page || page->title.isEmpty())
        return false;
    EIRectItem* item = page->title.item;
    const bool titleStep = step == StepTitles;
    item->setEditable(titleStep, titleStep);
    if (titleStep)
        ui->graphicsView->scene()->restackItem(item);
    ui->graphicsView->addRectItem(item);
    item->setVisible(visible);
    return true;
}

bool ImageViewer::updateStuNoItems(int step, bool visible)
{
    PageSheet* page = currentPage();
    if (!page)
        return false;
    const bool examNumberStep = step == StepExamNumber;
    const bool barcodeChosen = ui->btnStuBarCode->isChecked();
    bool shown = false;
    if (page->ticketNum.enabled && page->ticketNum.frame) {
        page->ticketNum.frame->setEditable(examNumberStep && !barcodeChosen, false);
        ui->graphicsView->addRectItem(page->ticketNum.frame);
        page->ticketNum.frame->setVisible(visible);
        shown = true;
    }
    if (page->barCode.enabled && page->barCode.item) {
        page->barCode.item->setEditable(examNumberStep && barcodeChosen, false);
        ui->graphicsView->addRectItem(page->barCode.item);
        page->barCode.item->setVisible(visible);
        shown = true;
    }
    return shown;
}

bool ImageViewer::updatePageNumberItems(int step, bool visible)
{
    PageSheet* page = currentPage();
    if (!page || page->pageNum.isEmpty())
        return false;
    const bool pageNumberStep = step == StepPageNumber;
    page->setPageNumMarksEditable(pageNumberStep);
    page->setPageNumMarksVisible(visible);
    for (const ImageMark& mark : qAsConst(page->pageNum)) {
        if (!mark.item)
            continue;
        ui->graphicsView->addRectItem(mark.item);
        mark.item->setZValue(markLayer);
        if (pageNumberStep)
            ui->graphicsView->scene()->restackItem(mark.item);
    }
    return true;
}

bool ImageViewer::updateAbsentMarkItem(int step, bool visible)
{
    PageSheet* page = currentPage();
    if (!page || !page->testmark.enabled || !page->testmark.item)
        return false;
    EIRectItem* item = page->testmark.item;
    item->setEditable(step == StepOtherMarks, false);
    ui->graphicsView->addRectItem(item);
    item->setZValue(markLayer);
    item->setVisible(visible);
    return true;
}

bool ImageViewer::updateObjectiveItems(int step, bool visible)
{
    PageSheet* page = currentPage();
    if (!page)
        return false;
    bool shown = false;
    for (const Section& section : qAsConst(page->sections)) {
        if (section.type != sectionTypeObject)
            continue;
        // The blocks are what the operator edits; the section's own frame stays off the canvas.
        for (const SubArea& block : section.branch) {
            if (!block.frame)
                continue;
            block.frame->setEditable(step == StepObjective, false);
            ui->graphicsView->addRectItem(block.frame);
            block.frame->setVisible(visible);
            shown = true;
        }
    }
    return shown;
}

void ImageViewer::onStuNoKindClicked()
{
    PageSheet* page = currentPage();
    if (!page)
        return;
    page->stuNoMode = ui->btnStuBarCode->isChecked() ? 2 : 1;
    updateStuNoItems(StepExamNumber, true);
}

void ImageViewer::onAbsentClicked()
{
    ui->btnAbsent->setChecked(true);
    if (currentPage())
        updateAbsentMarkItem(StepOtherMarks, true);
}
