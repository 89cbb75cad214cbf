#include "canvas/eigraphicsview.h"

#include "canvas/editmenu.h"
#include "canvas/eigraphicsscene.h"
#include "canvas/item/eirectitem.h"
#include "canvas/pagepixmapitem.h"

#include <QKeyEvent>
#include <QMouseEvent>
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
    page = pixmap;
    if (!pixmapItem) {
        pixmapItem = new PagePixmapItem(page);
        graphicsScene->addItem(pixmapItem);
        pixmapItem->setZValue(0.0);
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

void EIGraphicsView::fitToView(bool keepZoom)
{
    // A page without pixels has no fit; leave the zoom as it is.
    if (page.width() <= 0 || page.height() <= 0)
        return;
    const double fx = static_cast<double>(width()) / page.width();
    const double fy = static_cast<double>(height()) / page.height();
    minScale = fx < fy ? fx : fy;
    QGraphicsView::scale(minScale, minScale);
    if (!keepZoom) {
        currentScale = minScale;
    } else {
        resetTransform();
        QGraphicsView::scale(currentScale, currentScale);
    }
    setStyleSheet(QString::fromLatin1(viewStyle));
}

void EIGraphicsView::resetSceneRect()
{
    resetTransform();
    graphicsScene->setSceneRect(0, 0, page.width(), page.height());
}

void EIGraphicsView::zoom(float factor)
{
    const double next = transform().m11() * factor;
    if (minScale >= next) {
        resetTransform();
        currentScale = minScale;
        QGraphicsView::scale(minScale, minScale);
    } else if (next > maxScale) {
        return;
    } else {
        currentScale = next;
        QGraphicsView::scale(factor, factor);
    }
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

void EIGraphicsView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        QGraphicsItem* top = itemAt(event->pos());
        if (top && top == pixmapItem)
            panning = true;
    } else if (event->button() == panButton) {
        panning = true;
    }
    // Also the edit menu's reference point, placed during the scene's press
    // handling below; a press without a move before it must not use a stale one.
    lastMousePos = event->pos();
    QGraphicsView::mousePressEvent(event);
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
    const QPointF anchor = mapToScene(QPoint(static_cast<int>(position.x()), static_cast<int>(position.y())));
    const double fx = position.x() / viewport()->width();
    const double fy = position.y() / viewport()->height();

    if (event->angleDelta().y() > 0)
        zoomIn();
    else
        zoomOut();

    // Keep the page point under the mouse where it was.
    const QPointF mapped = transform().map(anchor);
    hScrollValue = static_cast<int>(mapped.x() - viewport()->width() * fx);
    horizontalScrollBar()->setValue(hScrollValue);
    vScrollValue = static_cast<int>(mapped.y() - viewport()->height() * fy);
    verticalScrollBar()->setValue(vScrollValue);

    editMenu->hide();
    event->accept();
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
