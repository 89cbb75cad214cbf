#include "canvas/eigraphicsview.h"

#include "canvas/editmenu.h"
#include "canvas/eigraphicsscene.h"
#include "canvas/item/eirectitem.h"
#include "canvas/pagepixmapitem.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

const char* const viewStyle = "padding:0px;border:0px;";

// The largest zoom, in view pixels per page pixel.
constexpr double maxScale = 1.5;

// Arrow keys nudge selected items by this many page pixels.
constexpr double nudge = 0.3;

} // namespace

EIGraphicsView::EIGraphicsView(QWidget* parent) : QGraphicsView(parent)
{
    initView();
    initConnections();
}

EIGraphicsView::~EIGraphicsView()
{
    // The scene has no Qt parent; detach it before it goes so the base
    // destructor never sees a dangling scene.
    setScene(nullptr);
    delete graphicsScene;
}

void EIGraphicsView::initView()
{
    graphicsScene = new EIGraphicsScene();
    setScene(graphicsScene);
    setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    editMenu = new EditMenu(this);
    editMenu->hide();
    setStyleSheet(QString::fromLatin1(viewStyle));
    centerOn(0, 0);
}

void EIGraphicsView::initConnections()
{
    connect(graphicsScene, &EIGraphicsScene::drawStart, this, [this] { setPanEnabled(false); });
    connect(graphicsScene, &EIGraphicsScene::drawFinished, this, &EIGraphicsView::onDrawFinished);
    connect(graphicsScene, &EIGraphicsScene::itemSelected, this, &EIGraphicsView::onItemSelected);
    connect(graphicsScene, &EIGraphicsScene::selectedItemRect, this, &EIGraphicsView::placeEditMenu);
    connect(graphicsScene, &EIGraphicsScene::itemMoved, editMenu, &QWidget::hide);
    connect(graphicsScene, &EIGraphicsScene::updateMenu, editMenu, &EditMenu::setMode);
    connect(editMenu, &EditMenu::editeItem, graphicsScene, &EIGraphicsScene::onEditItem);
    connect(editMenu, &EditMenu::deleteItem, graphicsScene, &EIGraphicsScene::onDeleteItem);
}

void EIGraphicsView::setDrawEnabled(bool on)
{
    graphicsScene->setDrawEnabled(on);
}

void EIGraphicsView::setPixmap(const QPixmap& pixmap, bool keepZoom)
{
    // The same page again at the kept zoom (a refresh after a frame, a step
    // change): the view stays exactly where the operator left it. Refitting
    // would move the page under an operator who is aiming at it.
    const bool samePage = keepZoom && pixmapItem && !page.isNull() && page.size() == pixmap.size();
    page = pixmap;
    if (!pixmapItem) {
        pixmapItem = new PagePixmapItem(page);
        graphicsScene->addItem(pixmapItem);
        pixmapItem->setZValue(0.0);
    }
    if (samePage) {
        pixmapItem->setPixmap(pixmap);
        updateFitScale();
        return;
    }
    resetSceneRect();
    pixmapItem->setPixmap(pixmap);
    fitToView(keepZoom);
}

void EIGraphicsView::addRectItem(EIRectItem* item)
{
    if (item && item->isValid() && !item->scene()) {
        graphicsScene->addItem(item);
        item->setSelected(true);
        item->setFocus();
    }
    update();
    viewport()->update();
    graphicsScene->update();
}

void EIGraphicsView::addRectItems(const QList<EIRectItem*>& items)
{
    for (EIRectItem* item : items)
        addRectItem(item);
}

void EIGraphicsView::clearScene()
{
    // The menu and the scene's remembered items point into what is freed here.
    editMenu->hide();
    graphicsScene->forgetItems();
    graphicsScene->clear();
    pixmapItem = nullptr;
}

void EIGraphicsView::onDrawFinished(QRectF /*rect*/)
{
    panEnabled = true;
}

void EIGraphicsView::onItemSelected(bool visible)
{
    editMenu->setVisible(visible);
}

void EIGraphicsView::placeEditMenu(QRectF rect)
{
    bool show = true;
    EIRectItem* current = graphicsScene->currentItem();
    if (current && !current->isMenuEnabled()) {
        show = false;
        editMenu->hide();
    }
    // Right edge on the item's right edge, bottom on its top edge, reckoned
    // from the mouse and where on the item it was pressed.
    const double s = currentScale;
    const QMargins margins = editMenu->contentsMargins();
    const double x = lastMousePos.x() + rect.width() * s - editMenu->width() - rect.x() * s + 2 * margins.right();
    const double y = lastMousePos.y() - rect.y() * s - editMenu->height() + 2 * margins.top();
    editMenu->move(static_cast<int>(x), static_cast<int>(y));
    if (editMenu->isHidden() && show)
        editMenu->show();
}

void EIGraphicsView::updateFitScale()
{
    // A page without pixels has no fit; leave the zoom as it is.
    if (page.width() <= 0 || page.height() <= 0)
        return;
    const double fx = static_cast<double>(width()) / page.width();
    const double fy = static_cast<double>(height()) / page.height();
    minScale = fx < fy ? fx : fy;
}

void EIGraphicsView::fitToView(bool keepZoom)
{
    if (page.width() <= 0 || page.height() <= 0)
        return;
    updateFitScale();
    if (!keepZoom)
        currentScale = minScale;
    resetTransform();
    QGraphicsView::scale(currentScale, currentScale);
    showPageOnly();
    if (styleSheet() != QLatin1String(viewStyle))
        setStyleSheet(QString::fromLatin1(viewStyle));
}

void EIGraphicsView::showPageOnly()
{
    // Where the page is smaller than the view it sits in the middle.
    setSceneRect(0, 0, page.width(), page.height());
}

void EIGraphicsView::resetSceneRect()
{
    resetTransform();
    graphicsScene->setSceneRect(0, 0, page.width(), page.height());
    showPageOnly();
}

void EIGraphicsView::zoom(float factor)
{
    const double next = transform().m11() * factor;
    if (minScale >= next) {
        resetTransform();
        currentScale = minScale;
        QGraphicsView::scale(minScale, minScale);
        showPageOnly();
    } else if (next > maxScale) {
        return;
    } else {
        currentScale = next;
        QGraphicsView::scale(factor, factor);
    }
}

void EIGraphicsView::keepUnderMouse(const QPointF& scenePoint, const QPoint& mouse)
{
    const double s = transform().m11();
    if (s <= minScale || s <= 0.0)
        return;
    // What the view must show for the point to stay under the mouse. The
    // view may scroll past the page as far as that: a page narrower than
    // the view would otherwise be centred, and one near its edge clamped,
    // both moving the point away from the mouse.
    const QRectF shown(scenePoint.x() - mouse.x() / s, scenePoint.y() - mouse.y() / s,
                       viewport()->width() / s, viewport()->height() / s);
    setSceneRect(sceneRect().united(shown));
    hScrollValue = qRound(shown.left() * s);
    vScrollValue = qRound(shown.top() * s);
    horizontalScrollBar()->setValue(hScrollValue);
    verticalScrollBar()->setValue(vScrollValue);
}

void EIGraphicsView::zoomIn()
{
    zoom(static_cast<float>(1 + zoomStep));
}

void EIGraphicsView::zoomOut()
{
    zoom(static_cast<float>(1 - zoomStep));
}

void EIGraphicsView::centerOnPoint(QPointF delta)
{
    delta *= currentScale;
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    const int cx = static_cast<int>(viewport()->width() / 2 - delta.x());
    const int cy = static_cast<int>(viewport()->height() / 2 - delta.y());
    centerOn(mapToScene(QPoint(cx, cy)));
    setTransformationAnchor(QGraphicsView::AnchorViewCenter);
}

void EIGraphicsView::notePress(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        QGraphicsItem* top = itemAt(event->pos());
        if (top && top == pixmapItem)
            panning = true;
    } else if (event->button() == panButton) {
        panning = true;
    }
    // Also the edit menu's reference point, placed during the scene's press
    // handling; a press without a move before it must not use a stale one.
    lastMousePos = event->pos();
}

void EIGraphicsView::mousePressEvent(QMouseEvent* event)
{
    notePress(event);
    QGraphicsView::mousePressEvent(event);
}

void EIGraphicsView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click arrives as this event only.
    notePress(event);
    QGraphicsView::mouseDoubleClickEvent(event);
}

void EIGraphicsView::mouseMoveEvent(QMouseEvent* event)
{
    if (panning && panEnabled)
        centerOnPoint(mapToScene(event->pos()) - mapToScene(lastMousePos));
    lastMousePos = event->pos();
    viewport()->update();
    QGraphicsView::mouseMoveEvent(event);
}

void EIGraphicsView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton || event->button() == panButton)
        panning = false;
    QGraphicsView::mouseReleaseEvent(event);
    // A rubber band that crossed a selected item ends without drawFinished;
    // panning must not stay off after it.
    if (event->buttons() == Qt::NoButton)
        panEnabled = true;
}

void EIGraphicsView::wheelEvent(QWheelEvent* event)
{
    const QPointF position = event->position();
    const QPoint mouse(static_cast<int>(position.x()), static_cast<int>(position.y()));
    const QPointF anchor = mapToScene(mouse);

    if (event->angleDelta().y() > 0)
        zoomIn();
    else
        zoomOut();
    keepUnderMouse(anchor, mouse);

    editMenu->hide();
    event->accept();
}

void EIGraphicsView::resizeEvent(QResizeEvent* event)
{
    // A fitted page stays fitted while the canvas settles into its layout or
    // the window changes size; a zoom the operator chose stays as it is.
    const bool fitted = !page.isNull() && currentScale == minScale && transform().m11() == minScale;
    QGraphicsView::resizeEvent(event);
    if (fitted)
        fitToView(false);
}

void EIGraphicsView::keyPressEvent(QKeyEvent* event)
{
    QPointF delta;
    switch (event->key()) {
    case Qt::Key_Left: delta = QPointF(-nudge, 0); break;
    case Qt::Key_Up: delta = QPointF(0, -nudge); break;
    case Qt::Key_Right: delta = QPointF(nudge, 0); break;
    case Qt::Key_Down: delta = QPointF(0, nudge); break;
    default: break;
    }
    if (delta.isNull()) {
        QGraphicsView::keyPressEvent(event);
    } else {
        editMenu->hide();
        // Moved in the parent's coordinates, which for a child item differ
        // from scene coordinates by the parent's position.
        for (QGraphicsItem* item : graphicsScene->selectedItems())
            item->setPos(item->pos() + delta);
    }
    graphicsScene->update();
}
