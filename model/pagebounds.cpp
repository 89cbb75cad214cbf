#include "model/pagebounds.h"

#include "canvas/item/eirectitem.h"
#include "model/pagesheet.h"
#include "model/pictureread.h"

namespace {

const QString outsideText = QStringLiteral("框选区域超出页面范围，导入失败！");

bool isFinite(const QRectF& rect)
{
    return qIsFinite(rect.x()) && qIsFinite(rect.y()) && qIsFinite(rect.width()) && qIsFinite(rect.height())
        && qIsFinite(rect.right()) && qIsFinite(rect.bottom());
}

// Edge to edge, so an empty rectangle (a mark read without its position)
// counts where it lies, unlike QRectF::contains.
bool liesWithin(const QRectF& rect, const QRectF& allowed)
{
    if (!isFinite(rect))
        return false;
    const QRectF r = rect.normalized();
    return r.left() >= allowed.left() && r.top() >= allowed.top() && r.right() <= allowed.right()
        && r.bottom() <= allowed.bottom();
}

QRectF allowedArea(const PageSheet& page)
{
    QSizeF size = page.image.pixmap.size();
    if (size.isEmpty())
        size = QSizeF(maxPictureSide, maxPictureSide);
    return QRectF(-size.width(), -size.height(), 3 * size.width(), 3 * size.height());
}

} // namespace

QString framingOutsideFault(const QVector<PageSheet>& pages)
{
    for (const PageSheet& page : pages) {
        const QRectF allowed = allowedArea(page);
        for (const EIRectItem* item : page.framingItems()) {
            if (!liesWithin(item->sceneRect(), allowed))
                return outsideText;
        }
        for (const QRectF& point : page.locatePoint) {
            if (!liesWithin(point, allowed))
                return outsideText;
        }
    }
    return QString();
}
