#include "canvas/item/eirectitem.h"

#include "canvas/item/eitextitem.h"
#include "canvas/item/eresizefocus.h"

#include <QBrush>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QtMath>

#include <cmath>

namespace {

const QColor frameRed(255, 0, 0, 255);

// The smallest option box the grid lays out; smaller boxes come from
// detections on faint print and would be too small to grab.
constexpr double minBoxWidth = 6.0;
constexpr double minBoxHeight = 4.0;

// The smallest item a handle drag can make.
constexpr double minResizeWidth = 15.0;
constexpr double minResizeHeight = 10.0;

// Far beyond any printed grid; a corrupt template asking for more would
// otherwise allocate boxes until memory runs out.
constexpr long long maxBoxes = 10000;

// Handles are created in this order, so the list order is part of how the
// item looks when handles overlap on a small item.
const int handleOrder[] = {EResizeFocus::North, EResizeFocus::NorthEast, EResizeFocus::NorthWest,
                           EResizeFocus::South, EResizeFocus::SouthEast, EResizeFocus::SouthWest,
                           EResizeFocus::East,  EResizeFocus::West};

bool isFinite(const QRectF& r)
{
    return qIsFinite(r.x()) && qIsFinite(r.y()) && qIsFinite(r.width()) && qIsFinite(r.height());
}

} // namespace

EIRectItem::EIRectItem(const QRectF& rect, bool flag, int margin, QGraphicsItem* parent)
    : QGraphicsRectItem(parent), m_width(rect.width()), m_height(rect.height()), m_margin(margin), m_keepFlag(flag)
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
    qDeleteAll(m_boxes);
    m_boxes.clear();
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
    m_caption->setPos(std::trunc((m_width - m_caption->boundingRect().width()) / 2), m_height + m_margin - 3.0);
    m_caption->hide();
}

void EIRectItem::createResizeFocus()
{
    for (int kind : handleOrder)
        m_handles.append(new EResizeFocus(m_margin, kind, this));
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
    QRectF box = firstBox;
    if (box.height() < minBoxHeight)
        box.setHeight(minBoxHeight);
    if (box.width() < minBoxWidth)
        box.setWidth(minBoxWidth);
    if (rows < 1 || columns < 1 || columnSpacing < 0 || rowSpacing < 0)
        return false;
    if (static_cast<long long>(rows) * columns > maxBoxes || !isFinite(box) || !qIsFinite(rowSpacing)
        || !qIsFinite(columnSpacing))
        return false;

    m_rows = rows;
    m_columns = columns;
    m_boxRect = box;
    m_rowSpacing = rowSpacing;
    m_columnSpacing = columnSpacing;
    const QPointF origin = box.topLeft();

    box.moveTo(m_margin, m_margin);
    setBoxArea(box);

    const int count = rows * columns;
    while (m_boxes.size() < count) {
        auto* item = new QGraphicsRectItem(this);
        item->setPen(m_boxArea->pen());
        item->setBrush(m_boxArea->brush());
        m_boxes.append(item);
    }
    while (m_boxes.size() > count)
        delete m_boxes.takeFirst();
    placeBoxes(box);

    prepareGeometryChange();
    m_width = 2 * m_margin + columns * columnSpacing - columnSpacing + box.width();
    m_height = 2 * m_margin + rows * rowSpacing - rowSpacing + box.height();
    // The grid keeps its place on the page; the border lies a margin outside it.
    setPos(std::trunc(origin.x() - m_margin + pos().x()), std::trunc(origin.y() - m_margin + pos().y()));

    if (scene())
        scene()->update();
    return true;
}

void EIRectItem::setBoxArea(const QRectF& box)
{
    if (!m_boxArea) {
        m_boxArea = new QGraphicsRectItem(this);
        QPen areaPen = pen();
        areaPen.setWidth(1);
        QColor fill = areaPen.color();
        fill.setAlpha(15);
        m_boxArea->setPen(areaPen);
        m_boxArea->setBrush(QBrush(fill));
    }
    m_boxArea->setRect(box);
    m_boxArea->hide();
}

void EIRectItem::placeBoxes(const QRectF& firstBox)
{
    for (int column = 0; column < m_columns; ++column) {
        for (int row = 0; row < m_rows; ++row) {
            const int index = column * m_rows + row;
            if (index >= m_boxes.size())
                return;
            m_boxes[index]->setRect(column * m_columnSpacing + firstBox.x(), row * m_rowSpacing + firstBox.y(),
                                    firstBox.width(), firstBox.height());
        }
    }
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
        m_caption->setPos(std::trunc((m_width - m_caption->sceneBoundingRect().width()) / 2), m_height + m_margin);

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
            if (m_boxArea) {
                m_dragBoxArea = m_boxArea->rect();
                m_dragRowSpacing = m_rowSpacing;
                m_dragColumnSpacing = m_columnSpacing;
            }
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
    if (m_boxArea && !m_boxes.isEmpty()) {
        QRectF area = m_boxArea->rect();
        area.moveTo(x + m_margin, y + m_margin);
        m_boxArea->setRect(area);
        // The spread follows the ghost live; it may go negative here, which
        // the release then refuses.
        if (m_columns > 1)
            m_columnSpacing = (w - area.width() - 2 * m_margin) / (m_columns - 1);
        if (m_rows > 1)
            m_rowSpacing = (h - area.height() - 2 * m_margin) / (m_rows - 1);
        placeBoxes(area);
    }
    update();
}

void EIRectItem::finishResize()
{
    const QRectF ghostRect = m_ghost ? m_ghost->rect() : boundingRect();
    const QPointF topLeft = ghostRect.topLeft();
    if (m_boxArea && !m_boxes.isEmpty()) {
        QRectF area = m_boxArea->rect();
        area.moveTo(topLeft.x() + m_margin, topLeft.y() + m_margin);
        m_boxArea->setRect(area);
        if (!setItemRect(area, m_rows, m_columns, m_rowSpacing, m_columnSpacing)) {
            // The ghost was squeezed below the grid; put the grid back as it
            // was before the drag so boxes, box area and spacings agree again.
            m_rowSpacing = m_dragRowSpacing;
            m_columnSpacing = m_dragColumnSpacing;
            m_boxArea->setRect(m_dragBoxArea);
            placeBoxes(m_dragBoxArea);
        }
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
