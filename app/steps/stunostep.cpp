// Step 3, exam number: the grid of bubbles in which a candidate fills in
// the exam number, one column of options per digit, or a barcode in its
// place. The viewer's switch says which of the two a frame is.

#include "app/steps/framingstep.h"
#include "app/steps/imageviewer.h"
#include "app/steps/procedurecontroller.h"

#include "algorithms/conversions.h"
#include "algorithms/examnumber.h"
#include "canvas/eigraphicsview.h"
#include "canvas/item/eirectitem.h"
#include "model/answersheet.h"
#include "widgets/dialogs/drawstunopanel.h"

namespace {

// Larger grids are no exam number; the dialog cannot ask for them, but a
// record read from a file and reused for another paper can.
constexpr int maxOptionsPerDigit = 50;
constexpr int maxDigits = 20;
// A count outside these is taken for a miscount and does not preset the dialog.
constexpr int minCountedDigits = 6;
constexpr int maxCountedDigits = 14;
// The exam-number dialog's code for "半封闭".
constexpr int halfClosedBorder = 1;

const QString gridRefusal = QStringLiteral("框选区域校验不通过，请重新框选准考证号");

// On a card of several papers the exam number is one and the same grid:
// the first page that has it lends its properties to the others. The page
// being framed lends nothing to itself, even while it keeps the area it
// is about to replace.
const PageSheet* pageWithExamNumber(const PageSheet& framed)
{
    if (answerSheet.paperCnt <= 1)
        return nullptr;
    const PageSheet* found = nullptr;
    answerSheet.anyPage([&found, &framed](const PageSheet& page) {
        if (page.ticketNum.enabled && &page != &framed)
            found = &page;
        return found != nullptr;
    });
    return found;
}

bool frameBarcode(FramingCall& call, PageSheet& page, const QRectF& frame, ImageViewer& viewer)
{
    if (page.barCode.enabled
        && !call.confirmReplace(QStringLiteral("当前框选内容已存在，请确认是否删除条码信息并重新框选?")))
        return false;
    discardItem(page.barCode.item);
    page.barCode.reset(false);

    BarCode barcode;
    barcode.item = FramingItems::filledMark(frame);
    barcode.enabled = true;
    page.setBarCode(barcode);
    // Shown at once: no dialog follows that would wait for the refresh.
    viewer.graphicsView()->addRectItem(barcode.item);
    return true;
}

} // namespace

bool ProcedureController::validateStuNoFrame(QRectF frame, ImageViewer* viewer)
{
    FramingCall call(overlayHost(), FramingCall::RaiseNow);
    PageSheet* page = viewer ? viewer->currentPage() : nullptr;
    if (!page)
        return false;
    viewer->onStuNoKindClicked();
    if (page->stuNoMode == StuNoBarcode)
        return frameBarcode(call, *page, frame, *viewer);

    // The area framed before stays until the new one is accepted: a
    // refused or cancelled re-frame must not leave the page without one.
    if (page->ticketNum.enabled
        && !call.confirmReplace(QStringLiteral("当前框选内容已存在，请确认是否删除考号信息并重新框选?")))
        return false;
    const QPixmap pixmap = page->image.pixmap;

    // Another paper's grid is taken as it is, without asking.
    const PageSheet* lender = pageWithExamNumber(*page);
    TicketNum chosen;
    if (lender) {
        chosen = lender->ticketNum;
    } else {
        DrawStuNoPanel dialog(call.messageParent());
        int counted = 0;
        if (countDigitColumns(pixmap, frame, counted) == 0 && counted >= minCountedDigits
            && counted <= maxCountedDigits)
            dialog.setNumberLength(counted);
        if (dialog.exec() != EIDialog::Ok)
            return false;
        chosen = dialog.properties();
    }
    if (chosen.rows > maxOptionsPerDigit || chosen.count > maxDigits)
        return call.refuse(QStringLiteral("请检查输入的参数是否正确！"));

    OptionGridParams grid;
    const int measured = getStuNoPos(pixmap, frame, chosen.rows, chosen.count, chosen.borderType == halfClosedBorder, grid);
    if (measured != 0)
        return call.refuseGrid(gridRefusal, "getStuNoPos", measured);
    QRectF firstBox = toQRectF(grid);
    double rowSpacing = grid.rowPitch;
    double columnSpacing = grid.columnPitch;
    // The papers share one grid: its boxes and spacings, found where they lie here.
    const EIRectItem* lenderItem = lender ? lender->ticketNum.frame : nullptr;
    if (lenderItem && lenderItem->hasGrid()) {
        firstBox.setSize(lenderItem->boxAreaItem()->rect().size());
        rowSpacing = lenderItem->rowSpacing();
        columnSpacing = lenderItem->columnSpacing();
    }

    // The page takes the area only once its grid is laid out, so a refusal
    // leaves no half-made area to count as framed or to be saved.
    EIRectItem* item = FramingItems::plain(frame);
    if (!item->setItemRect(firstBox, chosen.rows, chosen.count, rowSpacing, columnSpacing)) {
        delete item;
        return call.refuseInformation(gridRefusal);
    }
    discardItem(page->ticketNum.frame);
    page->ticketNum.reset(false);
    TicketNum& area = page->ticketNum;
    area.enabled = true;
    area.frame = item;
    area.rows = chosen.rows;
    area.count = chosen.count;
    area.borderType = chosen.borderType;
    area.direction = chosen.direction;
    area.rowOffset = rowSpacing;
    area.colOffset = columnSpacing;
    return true;
}
