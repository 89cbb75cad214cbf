#include "tests/canvas/item/itemfixture.h"

#include "canvas/item/eitextitem.h"
#include "canvas/item/eresizefocus.h"

#include <QImage>
#include <QPainter>

using viewdriver::childrenOfType;

namespace {

QRectF boxAt(EIRectItem* item, int column, int row)
{
    return boxesOf(item).at(column * item->rowCount() + row)->rect();
}

} // namespace

TEST(FramingItem, TakesTheRectangleAsPositionAndSize)
{
    EIRectItem item(QRectF(100, 200, 300, 150), true, 5);
    EXPECT_EQ(item.type(), 65636);
    EXPECT_EQ(item.sceneRect(), QRectF(100, 200, 300, 150));
    EXPECT_EQ(item.pos(), QPointF(100, 200));
    EXPECT_EQ(item.boundingRect(), QRectF(0, 0, 300, 150));
    EXPECT_EQ(item.isValid(), 1);
    EXPECT_FALSE(item.hasGrid());
    EXPECT_EQ(item.boxAreaItem(), nullptr);
    EXPECT_EQ(item.margin(), 5);

    const auto handles = childrenOfType<EResizeFocus>(&item);
    ASSERT_EQ(handles.size(), 8);
    for (EResizeFocus* handle : handles) {
        EXPECT_FALSE(handle->isVisible());
        EXPECT_EQ(handle->rect(), QRectF(0, 0, 5, 5)) << "handle side is the margin";
    }
    const auto captions = childrenOfType<EITextItem>(&item);
    ASSERT_EQ(captions.size(), 1);
    EXPECT_FALSE(captions.first()->isVisible());
}

TEST(FramingItemGrid, LaysOutTheWorkedExample)
{
    EIRectItem item(QRectF(100, 200, 50, 50), true, 8);
    ASSERT_TRUE(item.setItemRect(QRectF(10, 12, 20, 14), 4, 5, 30, 40));

    EXPECT_EQ(item.rowCount(), 4);
    EXPECT_EQ(item.columnCount(), 5);
    EXPECT_DOUBLE_EQ(item.rowSpacing(), 30);
    EXPECT_DOUBLE_EQ(item.columnSpacing(), 40);
    EXPECT_EQ(item.boxRect(), QRectF(10, 12, 20, 14));
    ASSERT_EQ(boxesOf(&item).size(), 20);
    EXPECT_EQ(boxAt(&item, 0, 0), QRectF(8, 8, 20, 14));
    EXPECT_EQ(boxesOf(&item).at(19)->rect(), QRectF(168, 98, 20, 14));
    EXPECT_EQ(boxAt(&item, 4, 3), QRectF(168, 98, 20, 14));
    // The grid stays where it was on the page; the border lies a margin outside.
    EXPECT_EQ(item.sceneRect(), QRectF(102, 204, 196, 120));

    ASSERT_NE(item.boxAreaItem(), nullptr);
    EXPECT_EQ(item.boxAreaItem()->rect(), QRectF(8, 8, 20, 14));
    EXPECT_FALSE(item.boxAreaItem()->isVisible());
    EXPECT_TRUE(item.hasGrid());
}

TEST(FramingItemGrid, RaisesTinyBoxesAndIgnoresRowSpacingOfOneRow)
{
    EIRectItem item(QRectF(0, 0, 50, 50), true, 8);
    ASSERT_TRUE(item.setItemRect(QRectF(8, 8, 3, 2), 1, 3, 500, 10));
    EXPECT_EQ(item.boxRect().size(), QSizeF(6, 4));
    EXPECT_EQ(boxAt(&item, 2, 0), QRectF(28, 8, 6, 4));
    EXPECT_DOUBLE_EQ(item.sceneRect().height(), 2 * 8 + 4);
    EXPECT_DOUBLE_EQ(item.sceneRect().width(), 2 * 8 + 2 * 10 + 6);
}

TEST(FramingItemGrid, RelayoutDropsSurplusBoxesFromTheFront)
{
    EIRectItem item(QRectF(0, 0, 50, 50), true, 8);
    ASSERT_TRUE(item.setItemRect(QRectF(8, 8, 20, 14), 4, 5, 30, 40));
    const QList<QGraphicsRectItem*> before = boxesOf(&item);

    ASSERT_TRUE(item.setItemRect(QRectF(8, 8, 20, 14), 2, 3, 30, 40));
    const QList<QGraphicsRectItem*> after = boxesOf(&item);
    ASSERT_EQ(after.size(), 6);
    EXPECT_EQ(after, before.mid(14)) << "the last six boxes survive";
    EXPECT_EQ(after.at(5)->rect(), QRectF(88, 38, 20, 14));

    ASSERT_TRUE(item.setItemRect(QRectF(8, 8, 10, 10), 3, 2, 15, 25));
    EXPECT_EQ(boxesOf(&item), after) << "the same count only moves the boxes";
    EXPECT_EQ(boxAt(&item, 1, 2), QRectF(33, 38, 10, 10));
}

TEST(FramingItemGrid, RefusesBadArgumentsAndKeepsTheItem)
{
    EIRectItem item(QRectF(100, 200, 50, 50), true, 8);
    ASSERT_TRUE(item.setItemRect(QRectF(10, 12, 20, 14), 4, 5, 30, 40));
    const QRectF rect = item.sceneRect();
    const QList<QGraphicsRectItem*> boxes = boxesOf(&item);
    const QRectF lastBox = boxes.last()->rect();

    struct Case { int rows; int columns; double rowSpacing; double columnSpacing; };
    const Case cases[] = {{0, 5, 30, 40}, {4, 0, 30, 40}, {4, 5, -0.5, 40}, {4, 5, 30, -1},
                          {100000, 100000, 1, 1}, {4, 5, qQNaN(), 40}};
    for (const Case& c : cases) {
        EXPECT_FALSE(item.setItemRect(QRectF(0, 0, 9, 9), c.rows, c.columns, c.rowSpacing, c.columnSpacing))
            << c.rows << " x " << c.columns << " spacing " << c.rowSpacing << ", " << c.columnSpacing;
        EXPECT_EQ(item.rowCount(), 4);
        EXPECT_EQ(item.columnCount(), 5);
        EXPECT_DOUBLE_EQ(item.rowSpacing(), 30);
        EXPECT_DOUBLE_EQ(item.columnSpacing(), 40);
        EXPECT_EQ(item.sceneRect(), rect);
        EXPECT_EQ(item.boxRect(), QRectF(10, 12, 20, 14));
        EXPECT_EQ(boxesOf(&item), boxes);
        EXPECT_EQ(boxes.last()->rect(), lastBox);
    }

    EIRectItem fresh(QRectF(5, 6, 70, 80), true, 8);
    EXPECT_FALSE(fresh.setItemRect(QRectF(0, 0, 9, 9), 0, 1, 1, 1));
    EXPECT_FALSE(fresh.hasGrid());
    EXPECT_EQ(fresh.boxAreaItem(), nullptr);
    EXPECT_EQ(fresh.sceneRect(), QRectF(5, 6, 70, 80));
}

TEST(FramingItemGrid, RelayoutKeepsCountsAndTheGridsPlaceOnThePage)
{
    EIRectItem item(QRectF(100, 200, 50, 50), true, 8);
    EXPECT_FALSE(item.grid().relayOut(QSizeF(15, 10), 25, 35)) << "no grid yet";
    EXPECT_EQ(item.sceneRect(), QRectF(100, 200, 50, 50));

    ASSERT_TRUE(item.setItemRect(QRectF(10, 12, 20, 14), 4, 5, 30, 40));
    ASSERT_TRUE(item.grid().relayOut(QSizeF(15, 10), 25, 35));
    EXPECT_EQ(item.rowCount(), 4);
    EXPECT_EQ(item.columnCount(), 5);
    EXPECT_EQ(item.grid().boxSize(), QSizeF(15, 10));
    EXPECT_EQ(boxAt(&item, 4, 3), QRectF(8 + 4 * 35, 8 + 3 * 25, 15, 10));
    EXPECT_EQ(item.sceneRect(), QRectF(102, 204, 16 + 4 * 35 + 15, 16 + 3 * 25 + 10));

    EXPECT_FALSE(item.grid().relayOut(QSizeF(15, 10), -1, 35));
    EXPECT_DOUBLE_EQ(item.rowSpacing(), 25);
    EXPECT_EQ(item.sceneRect().topLeft(), QPointF(102, 204));
}

TEST(FramingItemCaption, IsPlacedByItsMode)
{
    EIRectItem item(QRectF(0, 0, 200, 100), true, 8);
    auto* caption = childrenOfType<EITextItem>(&item).first();

    item.setText(QStringLiteral("客观题1"), EIRectItem::CaptionBottomRight);
    EXPECT_TRUE(caption->isVisible());
    EXPECT_EQ(caption->toPlainText(), QStringLiteral("客观题1"));
    const QSizeF size = caption->boundingRect().size();
    EXPECT_EQ(caption->pos(), QPointF(std::trunc(200 - size.width() - 15), 100 - size.height() - 15));

    item.setText(QStringLiteral("1"), EIRectItem::CaptionInside);
    const QSizeF small = caption->boundingRect().size();
    EXPECT_EQ(caption->pos(), QPointF(std::trunc((200 - small.width()) / 2), std::trunc((100 - small.height()) / 2)));

    item.setText(QStringLiteral("1"), EIRectItem::CaptionBelow);
    EXPECT_EQ(caption->pos(), QPointF(std::trunc((200 - small.width()) / 2), 100));

    item.setCaptionVisible(false);
    EXPECT_FALSE(caption->isVisible());
}

TEST_F(PlainSceneTest, PaintsARedOutlineAndShowsHandlesOnlyWhileMovableAndSelected)
{
    EIRectItem* item = addSelected(QRectF(100, 100, 200, 100));
    item->setBrushColor(QColor(0, 0, 255, 255), true);
    const auto handles = childrenOfType<EResizeFocus>(item);

    QImage image(600, 400, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        scene->render(&painter, QRectF(0, 0, 600, 400), QRectF(0, 0, 600, 400));
    }
    EXPECT_EQ(QColor(image.pixel(100, 120)), QColor(Qt::red)) << "left border";
    EXPECT_EQ(QColor(image.pixel(200, 150)), QColor(Qt::blue)) << "filled body";
    for (EResizeFocus* handle : handles)
        EXPECT_TRUE(handle->isVisible());

    item->setEditable(true, true);  // locked: selectable only
    item->setSelected(true);
    viewdriver::paintNow(view.get());
    for (EResizeFocus* handle : handles)
        EXPECT_FALSE(handle->isVisible());
}

TEST_F(PlainSceneTest, SelectOnlyItemCanBeSelectedButNotDragged)
{
    auto* item = new EIRectItem(QRectF(100, 100, 100, 50), true, 8);
    scene->addItem(item);
    item->setEditable(true, true);
    EXPECT_EQ(item->flags(), QGraphicsItem::ItemIsSelectable | QGraphicsItem::ItemIsFocusable);

    viewdriver::drag(view.get(), QPointF(150, 125), QPointF(250, 200));
    EXPECT_TRUE(item->isSelected());
    EXPECT_EQ(item->pos(), QPointF(100, 100));

    item->setEditable(false, false);
    EXPECT_FALSE(item->isEnabled());
    EXPECT_FALSE(item->flags() & QGraphicsItem::ItemIsSelectable);
    item->setEditable(true, false);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_TRUE(item->flags() & QGraphicsItem::ItemIsMovable);
}

TEST_F(PlainSceneTest, DragStopsAtThePageEdgeAndReleasePullsTheItemBack)
{
    EIRectItem* item = addSelected(QRectF(450, 100, 100, 50));
    // Each step moves 30 units: 480 is inside, 510 is out, further moves are refused.
    viewdriver::dragWithoutRelease(view.get(), QPointF(500, 125), QPointF(590, 125), Qt::LeftButton, 3);
    EXPECT_DOUBLE_EQ(item->pos().x(), 510);
    viewdriver::release(view.get(), QPointF(590, 125));
    EXPECT_DOUBLE_EQ(item->pos().x(), 600 - 100 - 1);
    EXPECT_DOUBLE_EQ(item->pos().y(), 100);
}

TEST_F(PlainSceneTest, ReleaseAboveLeftPullsInLeftFirstThenTopOnTheNextClick)
{
    EIRectItem* item = addSelected(QRectF(10, 10, 100, 50));
    viewdriver::drag(view.get(), QPointF(60, 35), QPointF(45, 20), Qt::LeftButton, 1);
    EXPECT_EQ(item->pos(), QPointF(1, -5));
    viewdriver::click(view.get(), QPointF(50, 20));
    EXPECT_EQ(item->pos(), QPointF(1, 1));
}

TEST_F(PlainSceneTest, DeletingItemsLeavesTheSceneClean)
{
    const int before = scene->items().size();
    EIRectItem* item = addSelected(QRectF(100, 100, 100, 50));
    ASSERT_TRUE(item->setItemRect(QRectF(8, 8, 20, 14), 3, 4, 20, 30));
    item->setText(QStringLiteral("题"), EIRectItem::CaptionBelow);
    delete item;
    EXPECT_EQ(scene->items().size(), before);

    // Also in the middle of a handle drag, with the ghost up.
    item = addSelected(QRectF(100, 100, 100, 50));
    const QPointF handle = item->mapToScene(QPointF(96, 25));
    viewdriver::dragWithoutRelease(view.get(), handle, handle + QPointF(30, 0));
    delete item;
    viewdriver::release(view.get(), handle + QPointF(30, 0));
    EXPECT_EQ(scene->items().size(), before);
}
