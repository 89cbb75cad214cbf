#pragma once

#include <QGraphicsRectItem>

// One of the eight square resize handles of a framing rectangle. The handle
// is neither movable nor selectable, so a press on it falls through to the
// framing rectangle, which runs the resize.
class EResizeFocus : public QGraphicsRectItem
{
public:
    enum { Type = QGraphicsItem::UserType + 1 };

    // Which handle: edge middles and corners, clockwise from the top.
    enum Kind {
        North = 0,
        NorthEast = 1,
        East = 2,
        SouthEast = 3,
        South = 4,
        SouthWest = 5,
        West = 6,
        NorthWest = 7,
    };

    EResizeFocus(double size, int kind, QGraphicsItem* parent);

    int kind() const { return handleKind; }
    int type() const override { return Type; }

    // Places the handle on its corner or edge of `r`, inside it.
    void locate(const QRectF& r);

protected:
    void hoverEnterEvent(QGraphicsSceneHoverEvent* event) override;

private:
    int handleKind;
    double size;
};
