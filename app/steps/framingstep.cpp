#include "app/steps/framingstep.h"

#include "algorithms/gridjudge.h"
#include "canvas/item/eirectitem.h"
#include "model/answersheet.h"
#include "model/infra/logger.h"
#include "model/removeditems.h"
#include "widgets/kit/eidialog.h"
#include "widgets/kit/eimessagebox.h"

#include <QGraphicsScene>
#include <QTransform>

namespace {

const QString messageTitle = QStringLiteral("提示");
const QColor markFill(255, 0, 0, 20);
const QColor absentMarkRed(255, 0, 0, 255);
// The "是" / "否" buttons of a warning box.
constexpr int yesNoButtons = 3;

// What lies under `item` on the page's picture; nothing for an item off
// the page (an empty rectangle would copy the whole page).
void appendImageUnder(QVector<QImage>& images, const PageSheet& page, const EIRectItem* item)
{
    const QRect under = item->sceneRect().toRect() & page.image.pixmap.rect();
    if (!under.isEmpty())
        images.append(page.image.pixmap.copy(under).toImage());
}

} // namespace

FramingCall::FramingCall(BusyOverlayHost* host, Overlay overlay)
    : busy(host, overlay == RaiseNow ? BusyGuard::Raise : BusyGuard::TakeOver)
{
}

bool FramingCall::refuse(const QString& text)
{
    EIMessageBox::question(busy.parent(), messageTitle, text);
    return false;
}

bool FramingCall::refuseInformation(const QString& text)
{
    EIMessageBox::information(busy.parent(), messageTitle, text);
    return false;
}

bool FramingCall::refuseGrid(const QString& text, const char* check, int code)
{
    fileLogger(LogInfo) << check << " refused the frame: " << gridRefusalReason(code);
    return refuseInformation(text);
}

bool FramingCall::confirmReplace(const QString& question)
{
    return EIMessageBox::warning(busy.parent(), messageTitle, question, yesNoButtons) == EIDialog::Ok;
}

void discardItem(EIRectItem* item)
{
    if (!item)
        return;
    if (QGraphicsScene* scene = item->scene())
        scene->removeItem(item);
    discardedItems.append(item);
}

namespace FramingItems {

EIRectItem* plain(const QRectF& rect)
{
    return new EIRectItem(rect, true, 8);
}

EIRectItem* filledMark(const QRectF& rect)
{
    EIRectItem* item = plain(rect);
    item->setBrushColor(markFill, true);
    return item;
}

EIRectItem* absentMark(const QRectF& rect)
{
    auto* item = new EIRectItem(rect, false, 3);
    item->setHoverPen(absentMarkRed, 2);
    item->setBorderColor(absentMarkRed, 1);
    item->setBrushColor(markFill, true);
    return item;
}

EIRectItem* optionalMarkArea(const QRectF& rect, QGraphicsItem* sectionFrame)
{
    return new EIRectItem(rect, true, 5, sectionFrame);
}

EIRectItem* optionalMarkBox(const QRectF& rect, QGraphicsItem* markArea)
{
    return new EIRectItem(rect, true, 3, markArea);
}

} // namespace FramingItems

namespace ReferenceImages {

int paperOf(int pageIndex)
{
    for (int paper = 0; paper < answerSheet.sheets.size(); ++paper) {
        for (const PageSheet& page : answerSheet.sheets[paper]) {
            if (page.pageIndex == pageIndex)
                return paper;
        }
    }
    return 0;
}

QImage otherFace(int paper, int side)
{
    if (paper < 0 || paper >= answerSheet.sheets.size())
        return QImage();
    for (const PageSheet& page : answerSheet.sheets[paper]) {
        if (page.side != side)
            return page.image.pixmap.toImage();
    }
    return QImage();
}

QVector<QImage> otherPapersPages(int paper)
{
    QVector<QImage> images;
    for (int other = 0; other < answerSheet.sheets.size(); ++other) {
        if (other == paper)
            continue;
        for (const PageSheet& page : answerSheet.sheets[other]) {
            if (!page.image.pixmap.isNull())
                images.append(page.image.pixmap.toImage());
        }
    }
    return images;
}

QVector<QImage> pageNumberMarks()
{
    QVector<QImage> images;
    answerSheet.forEachPage([&images](const PageSheet& page) {
        for (const ImageMark& mark : page.pageNum) {
            if (mark.item)
                appendImageUnder(images, page, mark.item);
        }
    });
    return images;
}

QVector<QImage> titles()
{
    QVector<QImage> images;
    answerSheet.forEachPage([&images](const PageSheet& page) {
        if (page.title.item)
            appendImageUnder(images, page, page.title.item);
    });
    return images;
}

} // namespace ReferenceImages

namespace {

// The window around `frame` on an image of `size`: four times the frame's
// size with the frame in its middle, moved back inside the image where it
// would leave it, and cut to the image where it is larger (a window past
// the image would come back with a black border that no page has).
QRect searchWindow(const QSize& size, const QRectF& frame)
{
    const int width = static_cast<int>(4 * frame.width());
    const int height = static_cast<int>(4 * frame.height());
    QRect window(static_cast<int>(frame.x() - 1.5 * frame.width()),
                 static_cast<int>(frame.y() - 1.5 * frame.height()), width, height);
    if (window.x() < 0)
        window.moveLeft(0);
    if (window.y() < 0)
        window.moveTop(0);
    if (window.right() >= size.width())
        window.moveLeft(qMax(0, size.width() - width));
    if (window.bottom() >= size.height())
        window.moveTop(qMax(0, size.height() - height));
    return window & QRect(QPoint(0, 0), size);
}

} // namespace

void cutSearchWindows(const QVector<QImage>& sources, const QRectF& frame, QVector<QImage>& windows)
{
    windows.clear();
    windows.resize(sources.size());
    const int count = sources.size();
#pragma omp parallel for schedule(static)
    for (int i = 0; i < count; ++i)
        windows[i] = sources[i].copy(searchWindow(sources[i].size(), frame));
}

void cutTurnedSearchWindows(const QVector<QImage>& sources, const QRectF& frame, QVector<QImage>& windows)
{
    QVector<QImage> cut(sources.size());
    const int count = sources.size();
#pragma omp parallel for schedule(static)
    for (int i = 0; i < count; ++i) {
        const QSize size = sources[i].size();
        const QRect window = searchWindow(size, frame);
        // The same pixels, found where the half turn brings them from.
        cut[i] = sources[i].copy(QRect(size.width() - window.x() - window.width(),
                                       size.height() - window.y() - window.height(), window.width(),
                                       window.height()));
    }
    rotateImages180(cut, windows);
}

void rotateImages180(const QVector<QImage>& sources, QVector<QImage>& turned)
{
    turned.clear();
    turned.resize(sources.size());
    const int count = sources.size();
    const QTransform halfTurn = QTransform().rotate(180.0);
#pragma omp parallel for schedule(static)
    for (int i = 0; i < count; ++i)
        turned[i] = sources[i].transformed(halfTurn);
}
