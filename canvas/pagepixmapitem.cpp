#include "canvas/pagepixmapitem.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

PagePixmapItem::PagePixmapItem(const QPixmap& page, QGraphicsItem* parent) : QGraphicsPixmapItem(page, parent)
{
}

void PagePixmapItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    const QTransform world = painter->worldTransform();
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const double scale = world.m11() * ratio;
    // Only a plain, even shrink has a copy to stand in for the page; zoomed
    // in or otherwise transformed, the page is drawn as it is.
    if (pixmap().isNull() || world.type() > QTransform::TxScale || world.m11() != world.m22() || scale >= 1.0
        || scale <= 0.0 || !offset().isNull()) {
        scaled = QPixmap();  // no copy held while zoomed in
        QGraphicsPixmapItem::paint(painter, option, widget);
        return;
    }
    const QPixmap& copy = copyFor(scale, ratio);
    // Whole device pixels: a fractional offset would blur the copy's lines
    // through interpolation again.
    const QPointF origin = world.map(QPointF(0, 0));
    painter->save();
    painter->setWorldTransform(QTransform::fromTranslate(std::round(origin.x() * ratio) / ratio,
                                                         std::round(origin.y() * ratio) / ratio));
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->drawPixmap(QPointF(0, 0), copy);
    painter->restore();
}

const QPixmap& PagePixmapItem::copyFor(double scale, qreal devicePixelRatio)
{
    // One copy, made again when the zoom or the page changes.
    const QPixmap& page = pixmap();
    if (scaled.isNull() || scaledFor != scale || scaledFrom != page.cacheKey()) {
        const int w = std::max(1, static_cast<int>(std::lround(page.width() * scale)));
        const int h = std::max(1, static_cast<int>(std::lround(page.height() * scale)));
        scaled = page.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(devicePixelRatio);
        scaledFor = scale;
        scaledFrom = page.cacheKey();
    }
    return scaled;
}
