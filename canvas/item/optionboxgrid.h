#pragma once

#include <QRectF>
#include <QVector>

#include <memory>

class EIRectItem;
class QGraphicsRectItem;
class QObject;

// The grid of option boxes inside a framing item: rows x columns equal
// boxes at fixed row and column spacings, the first one a margin inside the
// item's border. The boxes are drawn as child rectangles of the item, and
// laying the grid out fits the item around it, so the grid keeps its place
// on the page. Spacings run from one box's top-left corner to the next.
class OptionBoxGrid
{
public:
    OptionBoxGrid(EIRectItem* item, double margin);
    ~OptionBoxGrid();
    OptionBoxGrid(const OptionBoxGrid&) = delete;
    OptionBoxGrid& operator=(const OptionBoxGrid&) = delete;

    bool isEmpty() const { return m_boxes.isEmpty(); }
    int rowCount() const { return m_rows; }
    int columnCount() const { return m_columns; }
    double rowSpacing() const { return m_rowSpacing; }
    double columnSpacing() const { return m_columnSpacing; }
    // The gap between the item's border and the grid.
    double margin() const { return m_margin; }
    // The first box as last laid out, relative to the item's top-left
    // corner at that time; raised to the smallest box size.
    QRectF boxRect() const { return m_boxRect; }
    QSizeF boxSize() const { return m_boxRect.size(); }
    // Hidden rectangle of one box at the grid origin; null until a grid exists.
    QGraphicsRectItem* boxArea() const { return m_boxArea; }

    // An object destroyed when the grid goes, and so with its item. A
    // framing item is no QObject; whatever keeps a pointer to the item
    // across events (the item edit panel) watches this one instead, since
    // the template and the canvas free items without telling anyone.
    QObject* lifetime();

    // Lays out rows x columns boxes of firstBox's size, firstBox given
    // relative to the item's top-left corner, and fits the item around them
    // with the margin. False, and nothing changed, for fewer than one row or
    // column, a negative spacing or more boxes than any sheet has.
    bool layOut(const QRectF& firstBox, int rows, int columns, double rowSpacing, double columnSpacing);
    // The same rows and columns again with another box size and spacings;
    // the first box stays where it is on the page. False, and nothing
    // changed, without a grid or for values layOut refuses.
    bool relayOut(const QSizeF& boxSize, double rowSpacing, double columnSpacing);

    // A handle drag of the item: the grid spreads with the dragged outline
    // (given in item coordinates) and is laid out for the final one on
    // release, or put back as it was when the drag began should the final
    // outline leave it no room. Without a grid these do nothing.
    void beginStretch();
    void stretchTo(const QRectF& outline);
    void finishStretch(const QPointF& topLeft);

private:
    void setBoxArea(const QRectF& box);
    void placeBoxes(const QRectF& firstBox);

    EIRectItem* m_item;
    double m_margin;
    int m_rows = 0;
    int m_columns = 0;
    double m_rowSpacing = 0.0;
    double m_columnSpacing = 0.0;
    QRectF m_boxRect;
    QVector<QGraphicsRectItem*> m_boxes;  // column-major: (column c, row r) at c * rows + r
    QGraphicsRectItem* m_boxArea = nullptr;
    std::unique_ptr<QObject> m_lifetime;

    // The grid as it was when the current drag began.
    QRectF m_stretchBoxArea;
    double m_stretchRowSpacing = 0.0;
    double m_stretchColumnSpacing = 0.0;
};
