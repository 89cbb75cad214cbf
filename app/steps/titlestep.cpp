// Step 2, titles: a printed title that tells the page and which way up it
// lies. It must not be found again on the other face, on the page turned
// round, or among the page-number marks.

#include "app/steps/framingstep.h"
#include "app/steps/imageviewer.h"
#include "app/steps/procedurecontroller.h"

#include "algorithms/similarity.h"
#include "algorithms/titlecheck.h"
#include "model/global.h"
#include "model/pagesheet.h"

#include <QCoreApplication>

namespace {

// The refusal for a check result; empty when the title may go on.
QString titleRefusal(int result)
{
    switch (result) {
    case TitleCheck::Failed:
        return QStringLiteral("框选文字标题内容校验不通过，请重新框选文字标题!");
    case TitleCheck::Blank:
        return QStringLiteral("框选区域内容较少，校验不通过，请重新框选标题");
    case TitleCheck::TooShort:
        return QStringLiteral("框选内容过短，校验不通过，请重新框选标题");
    case MarkNotUnique:
        return QStringLiteral("框选内容在试卷中有相似的区域，请重新框选标题");
    default:
        return QString();
    }
}

// Where a copy of the title would betray the page: the other face turned
// and as it lies, and this page turned, each around the title's place.
QVector<QImage> titleSearchWindows(const PageSheet& page, const QRectF& title)
{
    const QImage otherFace = ReferenceImages::otherFace(ReferenceImages::paperOf(page.pageIndex), page.side);
    QVector<QImage> sources;
    if (!otherFace.isNull())
        sources.append(otherFace);
    sources.append(page.image.pixmap.toImage());
    QVector<QImage> windows;
    cutTurnedSearchWindows(sources, title, windows);
    if (!otherFace.isNull()) {
        QVector<QImage> upright;
        cutSearchWindows({otherFace}, title, upright);
        windows += upright;
    }
    return windows;
}

} // namespace

bool ProcedureController::validateTitleFrame(QRectF frame, ImageViewer* viewer)
{
    FramingCall call(overlayHost(), FramingCall::RaiseNow);
    QCoreApplication::processEvents();
    PageSheet* page = viewer ? viewer->currentPage() : nullptr;
    if (!page)
        return false;
    const QPixmap pixmap = page->image.pixmap;

    if (!page->title.isEmpty()
        && !call.confirmReplace(QStringLiteral("当前框选内容已存在，请确认是否删除标题信息并重新框选?")))
        return false;
    // A title item without its image text is replaced without asking, but
    // never left behind on the canvas.
    discardItem(page->title.item);
    page->title.reset(false);

    QRectF refined = frame;
    QCoreApplication::processEvents();
    int result = checkTitle(pixmap, frame, &refined, page->side == FaceFront);
    if (!titleRefusal(result).isEmpty())
        return call.refuse(titleRefusal(result));

    const QVector<QImage> windows = titleSearchWindows(*page, refined);
    if (!windows.isEmpty()) {
        const QImage pageImage = pixmap.toImage();
        result = checkUniqueMark(windows, pageImage, frame, refined, TemplateMatch);
        if (result == MarkAccepted)
            result = checkUniqueMark(ReferenceImages::pageNumberMarks(), pageImage, frame, refined, AverageHash);
        if (!titleRefusal(result).isEmpty())
            return call.refuse(titleRefusal(result));
    }

    ImageMark title;
    title.item = FramingItems::filledMark(refined);
    title.base64 = Global::pixmapToBase64(pixmap.copy(refined.toRect()));
    page->setTitle(title);
    return true;
}
