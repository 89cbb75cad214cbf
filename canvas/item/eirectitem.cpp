#include "canvas/item/eirectitem.h"

#include "canvas/item/eitextitem.h"
#include "canvas/item/eresizefocus.h"

#include <QBrush>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <cmath>

namespace {

const QColor frameRed(255, 0, 0, 255);

// The smallest item a handle drag can make.
constexpr double minResizeWidth = 15.0;
constexpr double minResizeHeight = 10.0;

// Handles are created in this order, so the list order is part of how the
// item looks when handles overlap on a small item.
const int handleOrder[] = {EResizeFocus::North, EResizeFocus::NorthEast, EResizeFocus::NorthWest,
                           EResizeFocus::South, EResizeFocus::SouthEast, EResizeFocus::SouthWest,
                           EResizeFocus::East,  EResizeFocus::West};

} // namespace

EIRectItem::EIRectItem(const QRectF& rect, bool flag, int margin, QGraphicsItem* parent)
    : QGraphicsRectItem(parent), m_width(rect.width()), m_height(rect.height()), m_keepFlag(flag),
      m_grid(this, margin)
{
    setAcceptDrops(true);
    setAcceptHoverEvents(true);
    setFlags(ItemIsMovable | ItemIsSelectable | ItemIsFocusable);
    setItemGeometry(rect);
    initItem();
    setHoverPen(frameRed, 3);
}

EIRectItem::~EIRectItem()
{
    delete m_caption;
    m_caption = nullptr;
    qDeleteAll(m_handles);
    m_handles.clear();
}

void EIRectItem::initItem()
{
    setBorderColor(frameRed, 2);
    createResizeFocus();

    m_caption = new EITextItem(QString(), this);
    m_caption->setDefaultTextColor(frameRed);
    QFont font = QGuiApplication::font();
    font.setPointSize(18);
    m_caption->setFont(font);
    m_caption->setPos(std::trunc((m_width - m_caption->boundingRect().width()) / 2), m_height + m_grid.margin() - 3.0);
    m_caption->hide();
}

void EIRectItem::createResizeFocus()
{
    for (int kind : handleOrder)
        m_handles.append(new EResizeFocus(m_grid.margin(), kind, this));
}

QRectF EIRectItem::boundingRect() const
{
    return QRectF(0, 0, m_width, m_height);
}

QPainterPath EIRectItem::shape() const
{
    QPainterPath path;
    path.addRect(boundingRect());
    return path;
}

QRectF EIRectItem::sceneRect() const
{
    return QRectF(pos().x(), pos().y(), m_width, m_height);
}

void EIRectItem::setItemGeometry(const QRectF& r)
{
    prepareGeometryChange();
    m_width = r.width();
    m_height = r.height();
    setPos(r.x(), r.y());
}

bool EIRectItem::setItemRect(const QRectF& firstBox, int rows, int columns, double rowSpacing, double columnSpacing)
{
    return m_grid.layOut(firstBox, rows, columns, rowSpacing, columnSpacing);
}

void EIRectItem::setBorderColor(const QColor& color, int width)
{
    QPen border = pen();
    border.setColor(color);
    border.setWidth(width);
    setPen(border);
}

void EIRectItem::setBrushColor(const QColor& color, bool fill)
{
    m_filled = fill;
    setBrush(QBrush(color));
}

void EIRectItem::setHoverPen(const QColor& color, int width)
{
    m_hoverPen.setColor(color);
    m_hoverPen.setWidth(width);
}

void EIRectItem::setText(const QString& text, int mode)
{
    m_captionMode = mode;
    m_caption->setPlainText(text);
    if (!text.isEmpty())
        m_caption->setVisible(true);
    updateHandles();
}

void EIRectItem::setCaptionVisible(bool visible)
{
    m_caption->setVisible(visible);
}

void EIRectItem::setEditable(bool editable, bool selectOnly)
{
    setEnabled(editable);
    const GraphicsItemFlags editing = ItemIsMovable | ItemIsSelectable | ItemIsFocusable;
    GraphicsItemFlags next = editable ? (flags() | editing) : (flags() & ~editing);
    if (selectOnly)
        next = ItemIsSelectable | ItemIsFocusable;
    setFlags(next);
}

void EIRectItem::updateHandles()
{
    m_caption->setVisible(true);
    const QRectF bounds = boundingRect();
    const QRectF text = m_caption->sceneBoundingRect();
    switch (m_captionMode) {
    case CaptionInside:
        m_caption->setPos(std::trunc((bounds.width() - text.width()) / 2),
                          std::trunc((bounds.height() - text.height()) / 2));
        break;
    case CaptionBelow:
        m_caption->setPos(std::trunc((bounds.width() - text.width()) / 2), bounds.height());
        break;
    case CaptionBottomRight:
        m_caption->setPos(std::trunc(bounds.width() - text.width() - 15.0), bounds.height() - text.height() - 15.0);
        break;
    default: break;
    }
}

void EIRectItem::showHandles(bool visible, const QRectF& rect)
{
    for (EResizeFocus* handle : qAsConst(m_handles)) {
        handle->locate(rect);
        handle->setVisible(visible);
    }
    updateHandles();
}

void EIRectItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* /*widget*/)
{
    // Only a caption without a known mode sits at this default place; placing
    // it here and then again by mode would move it on every paint and so
    // schedule the next paint without end.
    if (m_captionMode < CaptionInside || m_captionMode > CaptionBottomRight)
        m_caption->setPos(std::trunc((m_width - m_caption->sceneBoundingRect().width()) / 2), m_height + m_grid.margin());

    const bool editable = (flags() & ItemIsSelectable) && (flags() & ItemIsMovable);
    const bool hovered = option && (option->state & QStyle::State_MouseOver);
    painter->setPen(hovered && editable ? m_hoverPen : pen());

    if (m_resizing) {
        // The ghost shows the new outline while a handle is dragged.
        showHandles(false, boundingRect());
        return;
    }

    const QRectF whole(0, 0, std::trunc(m_width), std::trunc(m_height));
    if (m_filled)
        painter->fillRect(whole, brush());
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(whole);
    showHandles(isSelected() && (flags() & ItemIsMovable), boundingRect());
}

void EIRectItem::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !m_resizing && scene()) {
        QGraphicsItem* top = scene()->itemAt(event->scenePos(), QTransform());
        if (top && top->type() == EResizeFocus::Type && top->parentItem() == this) {
            m_activeHandle = static_cast<EResizeFocus*>(top);
            m_resizing = true;
            m_pressPos = event->scenePos();
            m_grid.beginStretch();
            m_ghost = new QGraphicsRectItem(0, 0, m_width, m_height, this);
            m_ghost->setPen(pen());
            // No base handling: the selection stays and this item keeps the grab.
            event->accept();
            return;
        }
    }
    if (!m_resizing)
        QGraphicsRectItem::mousePressEvent(event);
}

void EIRectItem::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    if (m_resizing) {
        resizeTo(event->scenePos());
        return;
    }
    if (QGraphicsItem* parent = parentItem()) {
        if (!parent->boundingRect().contains(sceneRect())) {
            event->ignore();
            return;
        }
    } else if (scene() && !scene()->sceneRect().contains(sceneBoundingRect())) {
        event->ignore();
        return;
    }
    QGraphicsRectItem::mouseMoveEvent(event);
    update();
}

void EIRectItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    keepInBounds();
    if (m_resizing && event->button() == Qt::LeftButton)
        finishResize();
    QGraphicsRectItem::mouseReleaseEvent(event);
}

void EIRectItem::keepInBounds()
{
    if (m_resizing)
        return;
    QRectF bounds;
    if (QGraphicsItem* parent = parentItem())
        bounds = parent->boundingRect();
    else if (scene())
        bounds = scene()->sceneRect();
    if (bounds.isEmpty())
        return;

    // Bounds start at the origin: the scene rectangle is the page image.
    double x = pos().x();
    double y = pos().y();
    if (x + m_width > bounds.width())
        x = bounds.width() - m_width - 1;
    if (y + m_height > bounds.height())
        y = bounds.height() - m_height - 1;
    if (x < 1)
        x = 1;
    else if (y < 1)
        y = 1;
    setPos(x, y);
}

void EIRectItem::resizeTo(const QPointF& scenePos)
{
    if (!m_ghost || !m_activeHandle)
        return;
    const double dx = scenePos.x() - m_pressPos.x();
    const double dy = scenePos.y() - m_pressPos.y();
    double x = 0;
    double y = 0;
    double w = m_width;
    double h = m_height;
    switch (m_activeHandle->kind()) {
    case EResizeFocus::North: y += dy; h -= dy; break;
    case EResizeFocus::NorthEast: y += dy; w += dx; h -= dy; break;
    case EResizeFocus::East: w += dx; break;
    case EResizeFocus::SouthEast: w += dx; h += dy; break;
    case EResizeFocus::South: h += dy; break;
    case EResizeFocus::SouthWest: x += dx; w -= dx; h += dy; break;
    case EResizeFocus::West: x += dx; w -= dx; break;
    case EResizeFocus::NorthWest: x += dx; y += dy; w -= dx; h -= dy; break;
    default: break;
    }
    if (w < minResizeWidth || h < minResizeHeight)
        return;

    m_ghost->setRect(x, y, w, h);
    m_grid.stretchTo(QRectF(x, y, w, h));
    update();
}

void EIRectItem::finishResize()
{
    const QRectF ghostRect = m_ghost ? m_ghost->rect() : boundingRect();
    const QPointF topLeft = ghostRect.topLeft();
    if (hasGrid()) {
        m_grid.finishStretch(topLeft);
    } else {
        prepareGeometryChange();
        setPos(mapToParent(topLeft));
        m_height = ghostRect.height();
        m_width = ghostRect.width();
    }
    updateHandles();
    m_resizing = false;
    delete m_ghost;
    m_ghost = nullptr;
}
