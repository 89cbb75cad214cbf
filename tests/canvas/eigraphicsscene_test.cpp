#include "tests/canvas/canvasfixture.h"

#include "canvas/item/eitextitem.h"

#include <QImage>

namespace {

// True when some pixel within one pixel of `at` is clearly red.
bool redNear(const QImage& image, const QPoint& at)
{
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QColor c = image.pixelColor(at + QPoint(dx, dy));
            if (c.red() > 200 && c.red() - c.green() > 80 && c.red() - c.blue() > 80)
                return true;
        }
    }
    return false;
}

} // namespace

TEST_F(CanvasTest, RubberBandShowsWhileDraggingAndReportsTheFrameInPageUnits)
{
    view->setDrawEnabled(true);
    viewdriver::dragWithoutRelease(view.get(), QPointF(200, 300), QPointF(600, 500));
    const QImage shot = view->viewport()->grab().toImage();
    EXPECT_TRUE(redNear(shot, view->mapFromScene(QPointF(400, 300)))) << "top edge of the band";
    EXPECT_FALSE(redNear(shot, view->mapFromScene(QPointF(400, 400)))) << "inside the band";
    viewdriver::release(view.get(), QPointF(600, 500));

    EXPECT_EQ(recorder->names(), QStringList({"drawStart", "drawFinished"}));
    EXPECT_EQ(recorder->last("drawFinished").toRectF(), QRectF(200, 300, 400, 200));
    const QImage after = view->viewport()->grab().toImage();
    EXPECT_FALSE(redNear(after, view->mapFromScene(QPointF(400, 300)))) << "the band is gone";
}

TEST_F(CanvasTest, BandIsTheSameFrameFromWhicheverCornerTheDragStarts)
{
    view->setDrawEnabled(true);
    const QRectF frame(QPointF(50, 400), QPointF(100, 500));
    struct Case { QPointF from; QPointF to; QRectF expected; };
    const Case cases[] = {
        {frame.topLeft(), frame.bottomRight(), frame},
        {frame.topRight(), frame.bottomLeft(), frame},
        {frame.bottomLeft(), frame.topRight(), frame},
        {frame.bottomRight(), frame.topLeft(), frame},
        {{300, 300}, {300, 300}, QRectF(300, 300, 0, 0)},   // a click
    };
    for (const Case& c : cases) {
        recorder->clear();
        viewdriver::drag(view.get(), c.from, c.to);
        EXPECT_EQ(recorder->names(), QStringList({"drawStart", "drawFinished"}));
        EXPECT_EQ(recorder->last("drawFinished").toRectF(), c.expected) << c.from.x() << "," << c.from.y();
    }
}

TEST_F(CanvasTest, NoBandOutsideDrawModeOrWithOtherButtons)
{
    viewdriver::drag(view.get(), QPointF(200, 300), QPointF(600, 500));
    EXPECT_EQ(recorder->count("drawStart"), 0);
    EXPECT_EQ(recorder->count("drawFinished"), 0);

    view->setDrawEnabled(true);
    viewdriver::drag(view.get(), QPointF(200, 300), QPointF(600, 500), Qt::RightButton);
    EXPECT_EQ(recorder->names(), QStringList({"itemSelected"}));
    EXPECT_EQ(recorder->last("itemSelected"), QVariant(false));
}

TEST_F(CanvasTest, BandStartsOverLockedItemsOnly)
{
    view->setDrawEnabled(true);
    EIRectItem* locked = addItem(QRectF(100, 100, 200, 100));
    locked->setEditable(true, true);
    EIRectItem* movable = addItem(QRectF(500, 100, 200, 100));
    // Locked or not, a child item counts as a hit.
    auto* child = new EIRectItem(QRectF(20, 20, 60, 40), true, 5, movable);
    child->setEditable(true, true);

    viewdriver::drag(view.get(), QPointF(150, 180), QPointF(260, 300));
    EXPECT_EQ(recorder->count("drawFinished"), 1) << "over a locked top-level item";

    recorder->clear();
    viewdriver::press(view.get(), QPointF(600, 150));
    viewdriver::release(view.get(), QPointF(600, 150));
    EXPECT_EQ(recorder->count("drawStart"), 0) << "over a movable item";

    recorder->clear();
    viewdriver::click(view.get(), QPointF(550, 140));
    EXPECT_EQ(recorder->count("drawStart"), 0) << "over a locked child item";
}

TEST_F(CanvasTest, PressOnASelectedItemOffersTheEditMenu)
{
    EIRectItem* grid = addItem(QRectF(800, 400, 200, 100));
    ASSERT_TRUE(grid->setItemRect(QRectF(8, 8, 20, 14), 2, 3, 20, 30));
    const QPointF gridPos = grid->pos();
    EIRectItem* plain = addItem(QRectF(1200, 400, 200, 100));

    viewdriver::click(view.get(), gridPos + QPointF(40, 30));
    ASSERT_EQ(recorder->names().mid(0, 2), QStringList({"updateMenu", "selectedItemRect"}));
    EXPECT_EQ(recorder->last("updateMenu").toInt(), EditMenu::EditAndDelete);
    EXPECT_EQ(recorder->last("selectedItemRect").toRectF(),
              QRectF(40, 30, grid->sceneRect().width(), grid->sceneRect().height()));
    EXPECT_EQ(scene->currentItem(), grid);
    EXPECT_TRUE(view->menu()->isVisible());
    EXPECT_TRUE(menuButton("btnEdit")->isVisible());
    EXPECT_TRUE(menuButton("btnDelete")->isVisible());
    // The menu sits on the item's top edge, its right edge on the item's.
    const QRect menu = view->menu()->geometry();
    const QPoint itemTopRight = view->mapFromScene(grid->sceneBoundingRect().topRight());
    EXPECT_NEAR(menu.bottom() + 1, itemTopRight.y(), 2);
    EXPECT_NEAR(menu.right() + 1, itemTopRight.x(), 2);

    recorder->clear();
    viewdriver::click(view.get(), QPointF(1300, 450));
    EXPECT_EQ(recorder->last("updateMenu").toInt(), EditMenu::DeleteOnly);
    EXPECT_EQ(scene->currentItem(), plain);
    EXPECT_FALSE(menuButton("btnEdit")->isVisible());
    EXPECT_TRUE(menuButton("btnDelete")->isVisible());

    viewdriver::click(view.get(), QPointF(1300, 450), Qt::RightButton);
    EXPECT_FALSE(view->menu()->isVisible()) << "another button closes the menu";
    for (const SceneRecorder::Emitted& e : recorder->all) {
        if (e.name == "itemSelected") {
            EXPECT_FALSE(e.value.toBool());
        }
    }
}

TEST_F(CanvasTest, ItemWithoutMenuNeverShowsItAndClosesAnOpenOne)
{
    EIRectItem* open = addItem(QRectF(800, 400, 200, 100));
    EIRectItem* closed = addItem(QRectF(1200, 400, 200, 100));
    closed->setMenuEnabled(false);

    viewdriver::click(view.get(), QPointF(1300, 450));
    EXPECT_FALSE(view->menu()->isVisible());
    viewdriver::click(view.get(), QPointF(900, 450));
    EXPECT_TRUE(view->menu()->isVisible());
    EXPECT_EQ(scene->currentItem(), open);
    viewdriver::click(view.get(), QPointF(1300, 450));
    EXPECT_FALSE(view->menu()->isVisible());
}

TEST_F(CanvasTest, DeleteTakesTheItemOutButKeepsItAlive)
{
    EIRectItem* item = addItem(QRectF(800, 400, 200, 100));
    viewdriver::click(view.get(), QPointF(900, 450));
    ASSERT_TRUE(view->menu()->isVisible());

    bool menuHiddenFirst = false;
    QObject::connect(scene, &EIGraphicsScene::itemDeleted, [&] { menuHiddenFirst = !view->menu()->isVisible(); });
    clickMenuButton("btnDelete");

    EXPECT_TRUE(menuHiddenFirst);
    EXPECT_EQ(recorder->count("itemDeleted"), 1);
    EXPECT_EQ(recorder->last("itemDeleted").value<void*>(), item);
    EXPECT_EQ(item->scene(), nullptr);
    EXPECT_EQ(item->isValid(), 0);
    EXPECT_EQ(scene->lastDeleted(), item);
    EXPECT_EQ(scene->currentItem(), nullptr);

    scene->onDeleteItem();
    EXPECT_EQ(recorder->count("itemDeleted"), 1) << "a second delete does nothing";

    view->addRectItem(item);
    EXPECT_EQ(item->scene(), nullptr) << "a deleted item is not shown again";
    delete item;
}

TEST_F(CanvasTest, EditRequestCarriesTheItemAfterTheMenuCloses)
{
    EIRectItem* item = addItem(QRectF(800, 400, 200, 100));
    ASSERT_TRUE(item->setItemRect(QRectF(8, 8, 20, 14), 2, 3, 20, 30));
    viewdriver::click(view.get(), item->pos() + QPointF(50, 40));

    bool menuHiddenFirst = false;
    QObject::connect(scene, &EIGraphicsScene::editItem, [&] { menuHiddenFirst = !view->menu()->isVisible(); });
    recorder->clear();
    clickMenuButton("btnEdit");

    EXPECT_TRUE(menuHiddenFirst);
    EXPECT_EQ(recorder->names(), QStringList({"editItem", "itemSelected"}));
    EXPECT_EQ(recorder->last("editItem").value<void*>(), item);
    EXPECT_EQ(item->scene(), scene) << "editing keeps the item";
}

TEST_F(CanvasTest, SelectedItemsMoveWithTheMouseAndReportIt)
{
    EIRectItem* item = addItem(QRectF(800, 400, 200, 100));
    viewdriver::click(view.get(), QPointF(900, 450));
    ASSERT_TRUE(view->menu()->isVisible());
    recorder->clear();

    viewdriver::drag(view.get(), QPointF(900, 450), QPointF(1000, 550));
    EXPECT_EQ(item->sceneRect(), QRectF(900, 500, 200, 100));
    EXPECT_GE(recorder->count("itemMoved"), 4);
    EXPECT_FALSE(view->menu()->isVisible()) << "moving closes the menu";
}

TEST_F(CanvasTest, HandlesResizeTheSelectedItemOnTheCanvas)
{
    view->setDrawEnabled(true);
    EIRectItem* item = addItem(QRectF(800, 400, 200, 100));
    const int panned = view->horizontalScrollBar()->value();
    // The right edge's handle, 8 units square in the middle of the edge.
    viewdriver::drag(view.get(), QPointF(996, 450), QPointF(1056, 450));
    EXPECT_EQ(item->sceneRect(), QRectF(800, 400, 260, 100));
    EXPECT_EQ(recorder->count("drawStart"), 0);
    EXPECT_EQ(view->horizontalScrollBar()->value(), panned);
}

TEST_F(CanvasTest, BandAcrossASelectedItemIsAbandonedAndPanningComesBack)
{
    view->setDrawEnabled(true);
    view->zoomIn();
    view->zoomIn();
    EIRectItem* locked = addItem(QRectF(600, 300, 200, 200));
    locked->setEditable(true, true);
    EIRectItem* crossed = addItem(QRectF(900, 300, 200, 200));

    viewdriver::dragWithoutRelease(view.get(), QPointF(700, 400), QPointF(1200, 480), Qt::LeftButton, 5);
    EXPECT_EQ(recorder->count("drawStart"), 1);
    EXPECT_GE(recorder->count("itemMoved"), 1);
    EXPECT_EQ(scene->currentItem(), crossed);
    const QImage shot = view->viewport()->grab().toImage();
    EXPECT_FALSE(redNear(shot, view->mapFromScene(QPointF(850, 400)))) << "the band is gone";
    viewdriver::release(view.get(), QPointF(1200, 480));
    EXPECT_EQ(recorder->count("drawFinished"), 0);
    EXPECT_EQ(crossed->sceneRect(), QRectF(900, 300, 200, 200)) << "the crossed item stays";

    EXPECT_TRUE(view->isPanEnabled());
    const QPointF grabbed = view->mapToScene(QPoint(800, 400));
    QTest::mouseMove(view->viewport(), QPoint(800, 400));
    QTest::mousePress(view->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(800, 400));
    QTest::mouseMove(view->viewport(), QPoint(700, 400));
    QTest::mouseMove(view->viewport(), QPoint(600, 400));
    QTest::mouseRelease(view->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(600, 400));
    const QPointF under = view->mapToScene(QPoint(600, 400));
    EXPECT_NEAR(under.x(), grabbed.x(), 3) << "the page follows the mouse";
    EXPECT_NEAR(under.y(), grabbed.y(), 3);
}

TEST(CanvasScene, RestackLiftsAnItemOverThoseBeneathTheFirstCollider)
{
    EIGraphicsScene scene;
    auto add = [&](const QRectF& rect) {
        auto* item = new EIRectItem(rect, true, 8);
        scene.addItem(item);
        return item;
    };
    auto stackIndex = [&](QGraphicsItem* item) { return scene.items(Qt::AscendingOrder).indexOf(item); };
    EIRectItem* target = add(QRectF(100, 100, 300, 300));
    EIRectItem* a = add(QRectF(150, 350, 100, 100));
    EIRectItem* b = add(QRectF(250, 360, 100, 100));

    scene.restackItem(target);
    EXPECT_LT(stackIndex(target), stackIndex(a)) << "two colliders change nothing";
    EXPECT_LT(stackIndex(target), stackIndex(b));

    EIRectItem* c = add(QRectF(300, 370, 100, 100));
    scene.restackItem(target);
    EXPECT_GT(stackIndex(target), stackIndex(a));
    EXPECT_GT(stackIndex(target), stackIndex(b));
    EXPECT_LT(stackIndex(target), stackIndex(c)) << "the topmost collider stays above";
}

TEST_F(CanvasTest, HideItemsHidesFramesAndCaptionsButNotThePage)
{
    EIRectItem* item = addItem(QRectF(100, 100, 300, 300));
    item->setText(QStringLiteral("标题"), EIRectItem::CaptionBelow);
    auto* child = new EIRectItem(QRectF(10, 10, 50, 50), true, 5, item);
    scene->hideItems();
    EXPECT_FALSE(item->isVisible());
    EXPECT_FALSE(child->isVisibleTo(item));
    for (QGraphicsItem* i : scene->items()) {
        if (i->type() == EITextItem::Type) {
            EXPECT_FALSE(i->isVisibleTo(i->parentItem()));
        }
    }
    EXPECT_TRUE(view->items().last()->isVisible()) << "page background";
}
