#include "tests/canvas/canvasfixture.h"

#include <QGraphicsPixmapItem>

#include <cmath>

namespace {

void wheel(EIGraphicsView* view, const QPoint& at, int delta)
{
    QWheelEvent event(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &event);
}

QPixmap blankPage(int width, int height)
{
    QPixmap page(width, height);
    page.fill(Qt::white);
    return page;
}

QGraphicsPixmapItem* backgroundOf(EIGraphicsScene* scene)
{
    for (QGraphicsItem* item : scene->items()) {
        if (item->type() == QGraphicsPixmapItem::Type)
            return static_cast<QGraphicsPixmapItem*>(item);
    }
    return nullptr;
}

} // namespace

TEST_F(CanvasTest, PageFitsTheViewAndSetsTheSceneToPagePixels)
{
    EXPECT_DOUBLE_EQ(view->fitScale(), 0.5);
    EXPECT_DOUBLE_EQ(view->zoomScale(), 0.5);
    EXPECT_DOUBLE_EQ(view->transform().m11(), 0.5);
    EXPECT_EQ(scene->sceneRect(), QRectF(0, 0, 2000, 1000));
    ASSERT_NE(backgroundOf(scene), nullptr);
    EXPECT_EQ(backgroundOf(scene)->pixmap().size(), QSize(2000, 1000));

    view->setPixmap(blankPage(1000, 2000), false);
    EXPECT_DOUBLE_EQ(view->fitScale(), 0.4);
    EXPECT_DOUBLE_EQ(view->transform().m11(), 0.4);
    EXPECT_EQ(scene->sceneRect(), QRectF(0, 0, 1000, 2000));
    int backgrounds = 0;
    for (QGraphicsItem* item : scene->items())
        backgrounds += item->type() == QGraphicsPixmapItem::Type;
    EXPECT_EQ(backgrounds, 1) << "the page item is reused";
}

TEST_F(CanvasTest, KeptZoomSurvivesAPageChangeEvenBelowTheNewFit)
{
    view->zoomIn();
    ASSERT_NEAR(view->zoomScale(), 0.6, 1e-6);
    view->setPixmap(blankPage(400, 300), true);
    EXPECT_NEAR(view->zoomScale(), 0.6, 1e-6);
    EXPECT_NEAR(view->transform().m11(), 0.6, 1e-6);
    EXPECT_DOUBLE_EQ(view->fitScale(), std::min(1000.0 / 400, 800.0 / 300));
}

TEST_F(CanvasTest, ZoomStaysBetweenTheFitAndOneAndAHalf)
{
    view->setTransform(QTransform::fromScale(1.2, 1.2));
    wheel(view.get(), QPoint(500, 400), 120);
    EXPECT_NEAR(view->transform().m11(), 1.2 * 1.2f, 1e-9);
    EXPECT_NEAR(view->zoomScale(), 1.44, 1e-6);

    view->setTransform(QTransform::fromScale(1.3, 1.3));
    wheel(view.get(), QPoint(500, 400), 120);
    EXPECT_DOUBLE_EQ(view->transform().m11(), 1.3) << "1.56 is beyond the largest zoom";

    for (int i = 0; i < 20; ++i)
        wheel(view.get(), QPoint(500, 400), 120);
    EXPECT_LE(view->transform().m11(), 1.5);

    view->setTransform(QTransform::fromScale(0.55, 0.55));
    wheel(view.get(), QPoint(500, 400), -120);
    EXPECT_TRUE(view->transform().isScaling());
    EXPECT_DOUBLE_EQ(view->transform().m11(), 0.5) << "lands on the fit, never below";
    EXPECT_DOUBLE_EQ(view->zoomScale(), 0.5);
    wheel(view.get(), QPoint(500, 400), -120);
    EXPECT_DOUBLE_EQ(view->transform().m11(), 0.5);
}

TEST_F(CanvasTest, WheelKeepsThePagePointUnderTheMouse)
{
    view->setPixmap(blankPage(4000, 3000), false);
    for (int i = 0; i < 4; ++i)
        view->zoomIn();
    QTest::qWait(20);  // scroll bars come and go from the event loop
    // Away from the page's edges, where scrolling cannot keep the anchor.
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum() / 2);
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
    const QPoint mouse(700, 300);
    for (int delta : {120, -120, -120}) {
        const double scale = view->transform().m11();
        const QPointF before = view->mapToScene(mouse);
        wheel(view.get(), mouse, delta);
        QTest::qWait(20);
        ASSERT_NE(view->transform().m11(), scale);
        // Whole scroll pixels: the anchor may drift by a pixel or two.
        const double tolerance = 2.0 / view->transform().m11();
        const QPointF after = view->mapToScene(mouse);
        EXPECT_NEAR(after.x(), before.x(), tolerance) << "wheel " << delta;
        EXPECT_NEAR(after.y(), before.y(), tolerance) << "wheel " << delta;
    }
}

TEST_F(CanvasTest, WheelClosesTheEditMenu)
{
    addItem(QRectF(800, 400, 200, 100));
    viewdriver::click(view.get(), QPointF(900, 450));
    ASSERT_TRUE(view->menu()->isVisible());
    wheel(view.get(), QPoint(500, 400), 120);
    EXPECT_FALSE(view->menu()->isVisible());
}

TEST_F(CanvasTest, LeftDragOnThePagePansOnlyOutsideDrawMode)
{
    view->zoomIn();
    view->zoomIn();
    auto leftDrag = [&] {
        QTest::mouseMove(view->viewport(), QPoint(800, 400));
        QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(800, 400));
        QTest::mouseMove(view->viewport(), QPoint(700, 400));
        QTest::mouseMove(view->viewport(), QPoint(600, 400));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(600, 400));
    };
    const int start = view->horizontalScrollBar()->value();
    leftDrag();
    const int panned = view->horizontalScrollBar()->value();
    EXPECT_NEAR(panned - start, 200, 3);

    view->setDrawEnabled(true);
    leftDrag();
    EXPECT_EQ(view->horizontalScrollBar()->value(), panned) << "drawing does not move the page";
    EXPECT_EQ(recorder->count("drawFinished"), 1);
    EXPECT_TRUE(view->isPanEnabled());
}

TEST_F(CanvasTest, ArrowKeysNudgeSelectedItemsAndChildrenInTheirParent)
{
    EIRectItem* selected = addItem(QRectF(800, 400, 200, 100));
    EIRectItem* other = addItem(QRectF(100, 100, 200, 100));
    other->setSelected(false);
    auto* child = new EIRectItem(QRectF(20, 20, 50, 40), true, 5, other);
    viewdriver::click(view.get(), QPointF(900, 450));
    child->setSelected(true);
    ASSERT_TRUE(view->menu()->isVisible());

    QTest::keyClick(view.get(), Qt::Key_Right);
    EXPECT_FALSE(view->menu()->isVisible());
    QTest::keyClick(view.get(), Qt::Key_Right);
    QTest::keyClick(view.get(), Qt::Key_Down);
    QTest::keyClick(view.get(), Qt::Key_Up);
    QTest::keyClick(view.get(), Qt::Key_Up);
    EXPECT_NEAR(selected->pos().x(), 800.6, 1e-9);
    EXPECT_NEAR(selected->pos().y(), 399.7, 1e-9);
    EXPECT_NEAR(child->pos().x(), 20.6, 1e-9);
    EXPECT_NEAR(child->pos().y(), 19.7, 1e-9);
    EXPECT_EQ(other->pos(), QPointF(100, 100));

    EIRectItem* edge = addItem(QRectF(0, 0, 50, 50));
    scene->clearSelection();
    edge->setSelected(true);
    QTest::keyClick(view.get(), Qt::Key_Left);
    EXPECT_NEAR(edge->pos().x(), -0.3, 1e-9) << "no bounds for nudges";
}

TEST_F(CanvasTest, AddRectItemSkipsNullAndPlacedItems)
{
    view->addRectItem(nullptr);
    EIRectItem* placed = addItem(QRectF(100, 100, 50, 50));
    EXPECT_TRUE(placed->isSelected());
    placed->setPos(300, 300);
    view->addRectItem(placed);
    EXPECT_EQ(placed->pos(), QPointF(300, 300));

    auto* other = new EIGraphicsScene;
    auto* elsewhere = new EIRectItem(QRectF(0, 0, 50, 50), true, 8);
    other->addItem(elsewhere);
    view->addRectItem(elsewhere);
    EXPECT_EQ(elsewhere->scene(), other);
    delete other;
    // A deleted item stays off the canvas: see the delete test.
}

TEST_F(CanvasTest, ClearSceneDropsEverythingAndForgetsTheFreedItems)
{
    EIRectItem* deleted = addItem(QRectF(300, 300, 200, 100));
    viewdriver::click(view.get(), QPointF(400, 350));
    clickMenuButton("btnDelete");
    ASSERT_EQ(scene->lastDeleted(), deleted);
    addItem(QRectF(800, 400, 200, 100));
    viewdriver::click(view.get(), QPointF(900, 450));
    ASSERT_TRUE(view->menu()->isVisible());

    delete deleted;  // the template frees the items it dropped
    view->clearScene();
    EXPECT_FALSE(view->menu()->isVisible());
    EXPECT_EQ(scene->currentItem(), nullptr);
    EXPECT_EQ(scene->lastDeleted(), nullptr);
    EXPECT_TRUE(scene->items().isEmpty());

    recorder->clear();
    scene->onDeleteItem();
    scene->onEditItem();
    EXPECT_EQ(recorder->count("itemDeleted"), 0);
    EXPECT_EQ(recorder->count("editItem"), 0);

    view->setPixmap(blankPage(2000, 1000), false);
    EXPECT_NE(backgroundOf(scene), nullptr) << "the next page gets a new background";
}

TEST_F(CanvasTest, MenuOfAnItemFreedByTheTemplateNeverReachesIt)
{
    EIRectItem* item = addItem(QRectF(800, 400, 200, 100));
    viewdriver::click(view.get(), QPointF(900, 450));
    ASSERT_TRUE(view->menu()->isVisible());

    delete item;  // pages cleared while the menu is up
    EXPECT_EQ(scene->currentItem(), nullptr);
    clickMenuButton("btnDelete");
    EXPECT_EQ(recorder->count("itemDeleted"), 0);
}

TEST_F(CanvasTest, EmptyPageLeavesTheZoomUsable)
{
    view->setPixmap(QPixmap(), false);
    EXPECT_TRUE(std::isfinite(view->zoomScale()));
    EXPECT_TRUE(std::isfinite(view->transform().m11()));
    view->setPixmap(blankPage(2000, 1000), false);
    EXPECT_DOUBLE_EQ(view->zoomScale(), 0.5);
}
