#pragma once

#include <QGraphicsView>
#include <QPixmap>
#include <QPoint>

class EditMenu;
class EIGraphicsScene;
class EIRectItem;
class PagePixmapItem;

// The page canvas widget: shows one page image fitted to the view, zooms
// with the wheel about the mouse, pans by dragging, nudges selected items
// with the arrow keys and floats the item edit menu over the selected item.
// It owns its scene and the menu. One scene unit is one page-image pixel.
class EIGraphicsView : public QGraphicsView
{
    Q_OBJECT
public:
    explicit EIGraphicsView(QWidget* parent = nullptr);
    ~EIGraphicsView() override;

    EIGraphicsScene* scene() const { return graphicsScene; }
    EditMenu* menu() const { return editMenu; }
    void setDrawEnabled(bool on);

    // Shows a page fitted to the view, or at the current zoom with keepZoom;
    // with keepZoom a page of the size shown leaves the view where it is.
    void setPixmap(const QPixmap& pixmap, bool keepZoom);
    QPixmap& pixmap() { return page; }

    // Adds a valid item that is in no scene yet, selected and focused.
    void addRectItem(EIRectItem* item);
    void addRectItems(const QList<EIRectItem*>& items);
    // Destroys every item of the scene, the page background included.
    void clearScene();

    void placeEditMenu(QRectF rect);
    void setPanEnabled(bool on) { panEnabled = on; }
    bool isPanEnabled() const { return panEnabled; }
    void fitToView(bool keepZoom);
    void resetSceneRect();
    void zoom(float factor);
    void zoomIn();
    void zoomOut();
    // Pans the view by `delta` scene units, so the page follows the mouse.
    void centerOnPoint(QPointF delta);

    // The zoom as the view tracks it and its lower limit, the fit scale.
    double zoomScale() const { return currentScale; }
    double fitScale() const { return minScale; }

public slots:
    void onDrawFinished(QRectF rect);
    void onItemSelected(bool visible);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void initView();
    void initConnections();
    void notePress(QMouseEvent* event);
    // The fit scale of the page for the view's present size.
    void updateFitScale();
    // The view scrolls over the page alone (centring it where it is smaller).
    void showPageOnly();
    // Scrolls so that `scenePoint` lies under `mouse` (viewport pixels).
    void keepUnderMouse(const QPointF& scenePoint, const QPoint& mouse);

    Qt::MouseButton panButton = Qt::RightButton;
    double zoomStep = 0.2;
    bool panning = false;
    double currentScale = 1.2;
    QPoint lastMousePos;
    QPixmap page;
    EIGraphicsScene* graphicsScene = nullptr;
    PagePixmapItem* pixmapItem = nullptr;
    EditMenu* editMenu = nullptr;
    int hScrollValue = 0;
    int vScrollValue = 0;
    double minScale = 0.0;
    bool panEnabled = true;
};
