#pragma once

#include <QGraphicsTextItem>

// The caption under or inside a framing rectangle. It exists as its own
// type so the canvas can find and hide captions by type number.
class EITextItem : public QGraphicsTextItem
{
public:
    enum { Type = QGraphicsItem::UserType + 102 };

    EITextItem(const QString& text, QGraphicsItem* parent);
    ~EITextItem() override;

    int type() const override { return Type; }
};
