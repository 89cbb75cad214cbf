#include "tests/canvas/item/itemfixture.h"

#include "canvas/item/eresizefocus.h"

using viewdriver::childrenOfType;

namespace {

EResizeFocus* handleOf(EIRectItem* item, int kind)
{
    for (EResizeFocus* handle : childrenOfType<EResizeFocus>(item)) {
        if (handle->kind() == kind)
            return handle;
    }
    return nullptr;
}

QPointF handleCentre(EIRectItem* item, int kind)
{
    return handleOf(item, kind)->sceneBoundingRect().center();
}

// The outline shown while a handle is dragged: the plain rectangle child
// created last.
QGraphicsRectItem* ghostOf(EIRectItem* item)
{
    const auto rects = childrenOfType<QGraphicsRectItem>(item);
    return rects.isEmpty() ? nullptr : rects.last();
}

} // namespace

TEST(ResizeHandle, SitsOnItsCornerOrEdgeInsideTheItem)
{
    EIRectItem item(QRectF(0, 0, 100, 50), true, 8);
    const QPointF expected[8] = {{46, 0}, {92, 0}, {92, 21}, {92, 42}, {46, 42}, {0, 42}, {0, 21}, {0, 0}};
    for (int kind = 0; kind < 8; ++kind) {
        EResizeFocus* handle = handleOf(&item, kind);
        ASSERT_NE(handle, nullptr) << kind;
        EXPECT_EQ(handle->type(), 65537);
        EXPECT_EQ(handle->pos(), expected[kind]) << "kind " << kind;
        EXPECT_FALSE(handle->flags() & (QGraphicsItem::ItemIsMovable | QGraphicsItem::ItemIsSelectable));
    }
}

TEST_F(PlainSceneTest, HoveringAHandleShowsItsResizeCursor)
{
    EIRectItem* item = addSelected(QRectF(100, 100, 100, 50));
    const Qt::CursorShape expected[8] = {Qt::SizeVerCursor,  Qt::SizeBDiagCursor, Qt::SizeHorCursor,
                                         Qt::SizeFDiagCursor, Qt::SizeVerCursor,  Qt::SizeBDiagCursor,
                                         Qt::SizeHorCursor,  Qt::SizeFDiagCursor};
    for (int kind = 0; kind < 8; ++kind) {
        viewdriver::moveTo(view.get(), QPointF(400, 300));
        viewdriver::moveTo(view.get(), handleCentre(item, kind));
        EResizeFocus* handle = handleOf(item, kind);
        ASSERT_TRUE(handle->hasCursor()) << "kind " << kind;
        EXPECT_EQ(handle->cursor().shape(), expected[kind]) << "kind " << kind;
    }
}

TEST_F(PlainSceneTest, HandlesResizeThroughAGhostAndApplyOnRelease)
{
    struct Case { int kind; QPointF delta; QRectF ghost; QRectF result; };
    const Case cases[] = {
        {EResizeFocus::East, {30, 0}, {0, 0, 130, 50}, {100, 100, 130, 50}},
        {EResizeFocus::SouthWest, {20, 10}, {20, 0, 80, 60}, {120, 100, 80, 60}},
        {EResizeFocus::NorthWest, {-20, -30}, {-20, -30, 120, 80}, {80, 70, 120, 80}},
        {EResizeFocus::North, {0, 20}, {0, 20, 100, 30}, {100, 120, 100, 30}},
    };
    for (const Case& c : cases) {
        EIRectItem* item = addSelected(QRectF(100, 100, 100, 50));
        const QPointF from = handleCentre(item, c.kind);
        viewdriver::dragWithoutRelease(view.get(), from, from + c.delta);
        ASSERT_NE(ghostOf(item), nullptr);
        EXPECT_EQ(ghostOf(item)->rect(), c.ghost) << "kind " << c.kind;
        EXPECT_EQ(item->sceneRect(), QRectF(100, 100, 100, 50)) << "the item waits for the release";

        viewdriver::release(view.get(), from + c.delta);
        EXPECT_EQ(item->sceneRect(), c.result) << "kind " << c.kind;
        EXPECT_EQ(ghostOf(item), nullptr);
        EXPECT_TRUE(item->isSelected());
        delete item;
    }
}

TEST_F(PlainSceneTest, GhostFreezesBelowTheSmallestSizeAndResumes)
{
    EIRectItem* item = addSelected(QRectF(100, 100, 100, 50));
    const QPointF from = handleCentre(item, EResizeFocus::East);
    viewdriver::dragWithoutRelease(view.get(), from, from + QPointF(-80, 0), Qt::LeftButton, 1);
    EXPECT_EQ(ghostOf(item)->rect(), QRectF(0, 0, 20, 50));
    viewdriver::moveTo(view.get(), from + QPointF(-86, 0));
    EXPECT_EQ(ghostOf(item)->rect(), QRectF(0, 0, 20, 50)) << "a width of 14 is refused";
    viewdriver::moveTo(view.get(), from + QPointF(-50, 0));
    EXPECT_EQ(ghostOf(item)->rect(), QRectF(0, 0, 50, 50));

    const QPointF bottom = from + QPointF(-50, 0);
    viewdriver::release(view.get(), bottom);
    const QPointF south = handleCentre(item, EResizeFocus::South);
    viewdriver::drag(view.get(), south, south + QPointF(0, -41), Qt::LeftButton, 1);
    EXPECT_EQ(item->sceneRect(), QRectF(100, 100, 50, 50)) << "a height of 9 is refused";
}

class GridResizeTest : public PlainSceneTest
{
protected:
    // 3 rows x 4 columns of 20 x 14 boxes, spacings 30 and 40, margin 8:
    // the item is 156 x 90 at (102, 102).
    EIRectItem* addGrid(int rows = 3, int columns = 4)
    {
        EIRectItem* item = addSelected(QRectF(100, 100, 50, 50));
        EXPECT_TRUE(item->setItemRect(QRectF(10, 10, 20, 14), rows, columns, 30, 40));
        viewdriver::paintNow(view.get());
        return item;
    }
};

TEST_F(GridResizeTest, HandleDragSpreadsTheGridLiveAndOnRelease)
{
    EIRectItem* item = addGrid();
    ASSERT_EQ(item->sceneRect(), QRectF(102, 102, 156, 90));

    const QPointF from = handleCentre(item, EResizeFocus::East);
    viewdriver::dragWithoutRelease(view.get(), from, from + QPointF(60, 0));
    EXPECT_DOUBLE_EQ(item->columnSpacing(), 60);
    EXPECT_EQ(boxesOf(item).at(3 * 3)->rect(), QRectF(188, 8, 20, 14)) << "boxes follow the ghost";
    viewdriver::release(view.get(), from + QPointF(60, 0));

    EXPECT_EQ(item->sceneRect(), QRectF(102, 102, 216, 90));
    EXPECT_DOUBLE_EQ(item->columnSpacing(), 60);
    EXPECT_DOUBLE_EQ(item->rowSpacing(), 30);
    EXPECT_EQ(boxesOf(item).at(3 * 3 + 2)->rect(), QRectF(188, 68, 20, 14));

    const QPointF south = handleCentre(item, EResizeFocus::South);
    viewdriver::drag(view.get(), south, south + QPointF(0, 20));
    EXPECT_DOUBLE_EQ(item->rowSpacing(), 40);
    EXPECT_EQ(item->sceneRect(), QRectF(102, 102, 216, 110));
}

TEST_F(GridResizeTest, LeftHandleMovesTheGridWithTheBorder)
{
    EIRectItem* item = addGrid();
    const QPointF from = handleCentre(item, EResizeFocus::West);
    viewdriver::drag(view.get(), from, from + QPointF(-30, 0));
    EXPECT_EQ(item->sceneRect(), QRectF(72, 102, 186, 90));
    EXPECT_DOUBLE_EQ(item->columnSpacing(), 50);
    EXPECT_EQ(item->boxAreaItem()->rect(), QRectF(8, 8, 20, 14));
    EXPECT_EQ(boxesOf(item).first()->rect(), QRectF(8, 8, 20, 14));
}

TEST_F(GridResizeTest, SingleColumnKeepsItsWidth)
{
    EIRectItem* item = addGrid(3, 1);
    ASSERT_DOUBLE_EQ(item->sceneRect().width(), 2 * 8 + 20);
    const QPointF from = handleCentre(item, EResizeFocus::East);
    viewdriver::drag(view.get(), from, from + QPointF(70, 0));
    EXPECT_DOUBLE_EQ(item->sceneRect().width(), 2 * 8 + 20);
}

TEST_F(GridResizeTest, SqueezeBelowTheGridRestoresTheGridAsBefore)
{
    EIRectItem* item = addGrid();
    const QRectF rect = item->sceneRect();
    QList<QRectF> boxes;
    for (QGraphicsRectItem* box : boxesOf(item))
        boxes.append(box->rect());

    // 156 - 130 = 26 wide: narrower than one box plus both margins, so the
    // column spacing turns negative during the drag.
    const QPointF from = handleCentre(item, EResizeFocus::West);
    viewdriver::dragWithoutRelease(view.get(), from, from + QPointF(130, 0));
    EXPECT_LT(item->columnSpacing(), 0);
    viewdriver::release(view.get(), from + QPointF(130, 0));

    EXPECT_EQ(item->sceneRect(), rect);
    EXPECT_DOUBLE_EQ(item->columnSpacing(), 40);
    EXPECT_DOUBLE_EQ(item->rowSpacing(), 30);
    EXPECT_EQ(item->boxAreaItem()->rect(), QRectF(8, 8, 20, 14));
    QList<QRectF> after;
    for (QGraphicsRectItem* box : boxesOf(item))
        after.append(box->rect());
    EXPECT_EQ(after, boxes);
    EXPECT_EQ(childrenOfType<QGraphicsRectItem>(item).size(), 3 * 4 + 1) << "boxes and box area, no ghost";

    // The item still resizes normally afterwards.
    const QPointF east = handleCentre(item, EResizeFocus::East);
    viewdriver::drag(view.get(), east, east + QPointF(30, 0));
    EXPECT_DOUBLE_EQ(item->columnSpacing(), 50);
    EXPECT_DOUBLE_EQ(item->sceneRect().width(), 186);
}
