#pragma once

#include <QGraphicsPixmapItem>
#include <QPixmap>

// The page background. Below a zoom of 1 it draws a copy of the page that
// was shrunk by area averaging for the zoom in effect, one view pixel per
// copy pixel: plain bilinear sampling at a fifth of the page's size skips
// most page pixels, so thin box lines drop out. The item itself keeps the
// full page in scene (page pixel) coordinates, like any pixmap item.
class PagePixmapItem : public QGraphicsPixmapItem
{
public:
    explicit PagePixmapItem(const QPixmap& page, QGraphicsItem* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    const QPixmap& copyFor(double scale, qreal devicePixelRatio);

    QPixmap scaled;
    double scaledFor = 0.0;
    qint64 scaledFrom = 0;
};
