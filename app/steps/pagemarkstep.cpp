// Step 6, page numbers (cards of more than one paper): a printed mark that
// tells the papers apart. On a front it must resemble no framed mark or
// title, and not be found on another paper's pages, upright or turned.

#include "app/steps/framingstep.h"
#include "app/steps/imageviewer.h"
#include "app/steps/procedurecontroller.h"

#include "algorithms/similarity.h"
#include "model/global.h"
#include "model/infra/appstate.h"
#include "model/pagesheet.h"

namespace {

QString pageMarkRefusal(int result)
{
    return result == MarkNotUnique ? QStringLiteral("框选区域不唯一，校验不通过，请重新框选页码")
                                   : QStringLiteral("框选区域校验不通过，请重新框选页码!");
}

// The pages of the other papers as they lie and turned round, each cut
// around the mark's place.
QVector<QImage> otherPapersWindows(const PageSheet& page, const QRectF& mark)
{
    const QVector<QImage> sources = ReferenceImages::otherPapersPages(ReferenceImages::paperOf(page.pageIndex));
    QVector<QImage> windows;
    QVector<QImage> turned;
    cutSearchWindows(sources, mark, windows);
    cutTurnedSearchWindows(sources, mark, turned);
    return windows + turned;
}

} // namespace

bool ProcedureController::validatePageMarkFrame(QRectF frame, ImageViewer* viewer)
{
    FramingCall call(overlayHost(), FramingCall::RaiseForMessages);
    PageSheet* page = viewer ? viewer->currentPage() : nullptr;
    if (!page)
        return false;
    const QPixmap pixmap = page->image.pixmap;

    if (!page->pageNum.isEmpty()) {
        if (!call.confirmReplace(QStringLiteral("当前框选内容已存在，请确认是否删除页码信息并重新框选?")))
            return false;
        // A page read from a file may carry several marks: every one goes.
        for (const ImageMark& mark : qAsConst(page->pageNum))
            discardItem(mark.item);
        page->pageNum.clear();
    }

    const bool front = page->side == FaceFront;
    QVector<QImage> references;
    if (front)
        references = ReferenceImages::pageNumberMarks() + ReferenceImages::titles();
    const QImage pageImage = pixmap.toImage();
    QRectF refined;
    int result = checkUniqueMark(references, pageImage, frame, refined, AverageHash);
    if (result != MarkAccepted)
        return call.refuse(pageMarkRefusal(result));

    const QPixmap markPixmap = pixmap.copy(refined.toRect());
    if (front) {
        result = validatePageNum(markPixmap.toImage(), otherPapersWindows(*page, refined));
        if (result != MarkAccepted)
            return call.refuse(pageMarkRefusal(result));
    }

    ImageMark mark;
    mark.item = FramingItems::filledMark(refined);
    mark.base64 = Global::pixmapToBase64(markPixmap);
    page->addPageNumMark(mark);
    return true;
}
