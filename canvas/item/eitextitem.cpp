#include "canvas/item/eitextitem.h"

EITextItem::EITextItem(const QString& text, QGraphicsItem* parent) : QGraphicsTextItem(text, parent) {}

EITextItem::~EITextItem() = default;
