#include "canvas/item/optionboxgrid.h"

#include "canvas/item/eirectitem.h"

#include <QBrush>
#include <QGraphicsScene>
#include <QObject>
#include <QPen>
#include <QtMath>

#include <cmath>

namespace {

// The smallest option box the grid lays out; smaller boxes come from
// detections on faint print and would be too small to grab.
constexpr double minBoxWidth = 6.0;
constexpr double minBoxHeight = 4.0;

// Far beyond any printed grid; a corrupt template asking for more would
// otherwise allocate boxes until memory runs out.
constexpr long long maxBoxes = 10000;

bool isFinite(const QRectF& r)
{
    return qIsFinite(r.x()) && qIsFinite(r.y()) && qIsFinite(r.width()) && qIsFinite(r.height());
}

} // namespace

OptionBoxGrid::OptionBoxGrid(EIRectItem* item, double margin) : m_item(item), m_margin(margin) {}

OptionBoxGrid::~OptionBoxGrid()
{
    // Watchers hear of it before the boxes go.
    m_lifetime.reset();
    qDeleteAll(m_boxes);
}

QObject* OptionBoxGrid::lifetime()
{
    if (!m_lifetime)
        m_lifetime = std::make_unique<QObject>();
    return m_lifetime.get();
}

bool OptionBoxGrid::layOut(const QRectF& firstBox, int rows, int columns, double rowSpacing, double columnSpacing)
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
        auto* item = new QGraphicsRectItem(m_item);
        item->setPen(m_boxArea->pen());
        item->setBrush(m_boxArea->brush());
        m_boxes.append(item);
    }
    while (m_boxes.size() > count)
        delete m_boxes.takeFirst();
    placeBoxes(box);

    // The grid keeps its place on the page; the border lies a margin outside it.
    const QPointF pos = m_item->pos();
    m_item->setItemGeometry(QRectF(std::trunc(origin.x() - m_margin + pos.x()),
                                   std::trunc(origin.y() - m_margin + pos.y()),
                                   2 * m_margin + columns * columnSpacing - columnSpacing + box.width(),
                                   2 * m_margin + rows * rowSpacing - rowSpacing + box.height()));
    if (QGraphicsScene* scene = m_item->scene())
        scene->update();
    return true;
}

bool OptionBoxGrid::relayOut(const QSizeF& boxSize, double rowSpacing, double columnSpacing)
{
    if (isEmpty())
        return false;
    return layOut(QRectF(QPointF(m_margin, m_margin), boxSize), m_rows, m_columns, rowSpacing, columnSpacing);
}

void OptionBoxGrid::setBoxArea(const QRectF& box)
{
    if (!m_boxArea) {
        m_boxArea = new QGraphicsRectItem(m_item);
        QPen areaPen = m_item->pen();
        areaPen.setWidth(1);
        QColor fill = areaPen.color();
        fill.setAlpha(15);
        m_boxArea->setPen(areaPen);
        m_boxArea->setBrush(QBrush(fill));
    }
    m_boxArea->setRect(box);
    m_boxArea->hide();
}

void OptionBoxGrid::placeBoxes(const QRectF& firstBox)
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

void OptionBoxGrid::beginStretch()
{
    if (!m_boxArea)
        return;
    m_stretchBoxArea = m_boxArea->rect();
    m_stretchRowSpacing = m_rowSpacing;
    m_stretchColumnSpacing = m_columnSpacing;
}

void OptionBoxGrid::stretchTo(const QRectF& outline)
{
    if (isEmpty())
        return;
    QRectF area = m_boxArea->rect();
    area.moveTo(outline.x() + m_margin, outline.y() + m_margin);
    m_boxArea->setRect(area);
    // The spread follows the outline live; it may go negative here, which
    // the release then refuses.
    if (m_columns > 1)
        m_columnSpacing = (outline.width() - area.width() - 2 * m_margin) / (m_columns - 1);
    if (m_rows > 1)
        m_rowSpacing = (outline.height() - area.height() - 2 * m_margin) / (m_rows - 1);
    placeBoxes(area);
}

void OptionBoxGrid::finishStretch(const QPointF& topLeft)
{
    if (isEmpty())
        return;
    QRectF area = m_boxArea->rect();
    area.moveTo(topLeft.x() + m_margin, topLeft.y() + m_margin);
    m_boxArea->setRect(area);
    if (!layOut(area, m_rows, m_columns, m_rowSpacing, m_columnSpacing)) {
        // The outline was squeezed below the grid; put the grid back as it
        // was before the drag so boxes, box area and spacings agree again.
        m_rowSpacing = m_stretchRowSpacing;
        m_columnSpacing = m_stretchColumnSpacing;
        m_boxArea->setRect(m_stretchBoxArea);
        placeBoxes(m_stretchBoxArea);
    }
}
