#pragma once

#include <QGraphicsScene>
#include <QPointF>
#include <QRectF>

class EIRectItem;

// The page canvas: the page image as background plus the framing items.
// It turns mouse input into canvas events: in draw mode a left drag over
// free page area draws a red rubber band that ends in drawFinished, and a
// press on a selected framing item offers it to the item edit menu. The
// scene knows no framing kinds; the main window decides what a drawn
// rectangle means.
class EIGraphicsScene : public QGraphicsScene
{
    Q_OBJECT
public:
    explicit EIGraphicsScene(QObject* parent = nullptr);

    void setDrawEnabled(bool on) { drawEnabled = on; }
    bool isDrawEnabled() const { return drawEnabled; }

    // The framing item last pressed or dragged while selected; null when
    // it was deleted or is no longer part of this scene.
    EIRectItem* currentItem() const;
    // The item removed by the last delete (out of the scene, still allocated
    // until the template drops it). Never dereferenced by the scene.
    EIRectItem* lastDeleted() const { return lastDeletedItem; }
    // Forgets the current and last deleted items; call it whenever the items
    // may have been freed (clearing the canvas or the template's pages).
    void forgetItems();

    // Hides every framing item and caption, top-level and child items alike.
    void hideItems();
    // Stacks the items that overlap `item` beneath it, so it is drawn on top.
    void restackItem(QGraphicsItem* item);

public slots:
    void onDeleteItem();
    void onEditItem();

signals:
    void drawFinished(QRectF rect);
    void drawStart();
    void itemSelected(bool visible);
    void selectedItemRect(QRectF rect);
    void updateMenu(int mode);
    void itemMoved();
    void editItem(EIRectItem* item);
    void itemDeleted(EIRectItem* item);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    QList<QGraphicsItem*> itemsUnder(const QPointF& scenePoint) const;

    QPointF startPos;
    QPointF currentPos;
    bool drawing = false;
    bool drawEnabled = false;
    bool pressOnItem = false;
    bool mousePressed = false;
    EIRectItem* current = nullptr;
    EIRectItem* lastDeletedItem = nullptr;
};
