#pragma once

#include "canvas/item/optionboxgrid.h"

#include <QGraphicsRectItem>
#include <QList>
#include <QPen>

class EITextItem;
class EResizeFocus;

// The framing rectangle of one region on a page: a red outline with a
// caption, an optional grid of option boxes and eight resize handles.
// One scene unit is one pixel of the page image. The item's rectangle is
// always (0, 0, width, height) in its own coordinates; its position is its
// top-left corner in the parent's (or the scene's) coordinates.
class EIRectItem : public QGraphicsRectItem
{
public:
    enum { Type = QGraphicsItem::UserType + 100 };

    // Where the caption goes relative to the rectangle.
    enum CaptionMode { CaptionInside = 0, CaptionBelow = 1, CaptionBottomRight = 2 };

    EIRectItem(const QRectF& rect, bool flag, int margin, QGraphicsItem* parent = nullptr);
    ~EIRectItem() override;

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    // The item's rectangle in its parent's coordinates (the scene's for a
    // top-level item): what the template stores as its position.
    QRectF sceneRect() const;
    int rowCount() const { return m_grid.rowCount(); }
    int columnCount() const { return m_grid.columnCount(); }
    double rowSpacing() const { return m_grid.rowSpacing(); }
    double columnSpacing() const { return m_grid.columnSpacing(); }
    QRectF boxRect() const { return m_grid.boxRect(); }
    // Hidden rectangle of one box at the grid origin; null until a grid exists.
    QGraphicsRectItem* boxAreaItem() const { return m_grid.boxArea(); }
    bool hasGrid() const { return !m_grid.isEmpty(); }
    int margin() const { return static_cast<int>(m_grid.margin()); }
    // The option grid, for whatever adjusts box size and spacings.
    OptionBoxGrid& grid() { return m_grid; }
    const OptionBoxGrid& grid() const { return m_grid; }
    int isValid() const { return m_valid; }
    bool isMenuEnabled() const { return m_menuEnabled; }

    void setItemGeometry(const QRectF& r);
    // Lays out rows x columns boxes of firstBox's size, firstBox given
    // relative to the item's top-left corner, and fits the item around them
    // with the margin. False, and nothing changed, for fewer than one row or
    // column or a negative spacing.
    bool setItemRect(const QRectF& firstBox, int rows, int columns, double rowSpacing, double columnSpacing);
    void setBorderColor(const QColor& color, int width);
    void setBrushColor(const QColor& color, bool fill);
    void setHoverPen(const QColor& color, int width);
    void setText(const QString& text, int mode);
    void setCaptionVisible(bool visible);
    // Not editable disables the item; selectOnly leaves it selectable and
    // focusable but never movable.
    void setEditable(bool editable, bool selectOnly);
    void setMenuEnabled(bool enabled) { m_menuEnabled = enabled; }
    void setValid(int valid) { m_valid = valid; }

    // Shows the caption and places it by its caption mode.
    void updateHandles();
    void showHandles(bool visible, const QRectF& rect);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    void initItem();
    void createResizeFocus();
    void keepInBounds();
    void resizeTo(const QPointF& scenePos);
    void finishResize();

    double m_width;
    double m_height;
    bool m_resizing = false;
    bool m_keepFlag;
    QList<EResizeFocus*> m_handles;
    EResizeFocus* m_activeHandle = nullptr;
    QPointF m_pressPos;
    QGraphicsRectItem* m_ghost = nullptr;
    bool m_filled = false;
    int m_valid = 1;
    bool m_menuEnabled = true;
    int m_captionMode = CaptionBelow;
    EITextItem* m_caption = nullptr;
    QPen m_hoverPen;
    OptionBoxGrid m_grid;
};
