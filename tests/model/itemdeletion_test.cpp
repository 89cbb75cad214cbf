// Every framing item that the template lets go of is freed exactly once,
// however many ways it can be reached. These tests also run under
// AddressSanitizer, which turns a second delete into a failure.

#include "tests/model/modelfixtures.h"

#include "model/removeditems.h"

#include <QGraphicsScene>

using namespace modeltest;

namespace {

class ItemDeletion : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        CountedItem::created = 0;
        CountedItem::destroyed = 0;
    }
    CountedItem* item(const QRectF& rect = QRectF(10, 10, 100, 50), QGraphicsItem* parent = nullptr)
    {
        auto* made = new CountedItem(rect, parent);
        if (!parent)
            scene.addItem(made);
        return made;
    }

    // The canvas's delete: the item leaves the scene, is marked and handed over.
    void deleteOnCanvas(PageSheet& page, EIRectItem* target)
    {
        target->setValid(0);
        if (target->scene())
            scene.removeItem(target);
        deletedItems.append(target);
        page.removeItem(target);
    }

    SubArea block(int first, int last, int type)
    {
        SubArea made;
        made.subAreaTopicType = type;
        made.appendNumRange(first, last);
        made.frame = item();
        return made;
    }

    Section optionalSection(int first, int last)
    {
        Section section;
        section.type = sectionTypeSubjective;
        section.frame = item(QRectF(40, 300, 600, 200));
        SubArea answer = block(first, last, 4);
        answer.chooseArea = item(QRectF(20, 20, 300, 40), section.frame);
        for (int i = first; i <= last; ++i)
            answer.choosePosition.append(item(QRectF(10 + 50 * (i - first), 5, 30, 20), answer.chooseArea));
        section.branch.append(answer);
        return section;
    }

    QGraphicsScene scene;
};

} // namespace

TEST_F(ItemDeletion, clearPagesFreesEveryItemOnceWhateverHoldsIt)
{
    card.sheets.resize(1);
    PageSheet front;
    front.setPageIndex(0);
    front.setSide(0);
    front.setPixmap(drawnPage(800, 600));
    front.locatePoint << QRectF(1, 2, 3, 4);
    front.stuNoMode = 2;
    front.addLine(item());
    front.addLine(item());
    front.title.item = item();
    front.title.base64 = QStringLiteral("x");
    ImageMark pageMark;
    pageMark.item = item();
    front.addPageNumMark(pageMark);
    front.testmark.item = item();
    front.testmark.enabled = true;
    front.barCode.item = item();
    front.ticketNum.frame = item();

    Section objective;
    objective.type = sectionTypeObject;
    objective.frame = item();
    objective.addSubArea(block(1, 5, 0));
    objective.addSubArea(block(6, 10, 1));
    front.addSection(objective);
    front.addSection(optionalSection(11, 12));
    front.addSection(optionalSection(13, 14));
    card.sheets[0].append(front);
    PageSheet back;
    back.setPageIndex(1);
    Section copy;
    copy.type = sectionTypeSubjective;
    copy.frame = item();
    SubArea mergedBlock = block(11, 12, 4);
    mergedBlock.merge = true;
    copy.branch.append(mergedBlock);
    back.addSection(copy);
    card.sheets[0].append(back);

    // A save gives the merged block its partner's mark boxes: two blocks
    // now hold the same items.
    ASSERT_TRUE(card.checkOptionalMarks());
    PageSheet& page = card.sheets[0][0];
    ASSERT_EQ(card.sheets[0][1].sections[0].branch[0].choosePosition, page.sections[1].branch[0].choosePosition);

    // The operator deletes a line and the objective section's frame (which
    // takes its first block), and reframes the optional marks of 13-14:
    // the old area and boxes go to the discarded list, still children of
    // the section frame.
    deleteOnCanvas(page, page.lines.first());
    EIRectItem* takenBlock = page.sections[0].branch[0].frame;
    deleteOnCanvas(page, page.sections[0].frame);
    ASSERT_EQ(page.sections[0].branch.size(), 1);
    SubArea& reframed = page.sections[2].branch[0];
    deletedItems.append(reframed.chooseArea);
    for (EIRectItem* box : reframed.choosePosition) {
        deletedItems.append(box);
        box->setValid(0);
    }
    reframed.choosePosition.clear();
    reframed.chooseArea = item(QRectF(10, 10, 100, 30), page.sections[2].frame);
    deletedItems.append(page.title.item);   // a listed item may be listed twice
    deletedItems.append(page.title.item);
    deletedItems.append(nullptr);

    const int made = CountedItem::created;
    card.clearPages();
    // The block taken with the section frame was dropped, not handed over:
    // it stays with the scene, which owns it.
    EXPECT_EQ(CountedItem::destroyed, made - 1);
    QList<QGraphicsItem*> left;
    for (QGraphicsItem* shown : scene.items()) {
        if (!shown->parentItem())
            left.append(shown);
    }
    EXPECT_EQ(left, QList<QGraphicsItem*>{takenBlock});
    for (EIRectItem* entry : deletedItems)
        EXPECT_EQ(entry, nullptr);
    EXPECT_TRUE(removedRecords.isEmpty());

    // The pages stay, without framing, with their pictures and indexes.
    ASSERT_EQ(card.sheets[0].size(), 2);
    const PageSheet& cleared = card.sheets[0][0];
    EXPECT_EQ(cleared.pageIndex, 0);
    EXPECT_EQ(cleared.side, 0);
    EXPECT_FALSE(cleared.image.pixmap.isNull());
    EXPECT_EQ(cleared.locatePoint.size(), 1);
    EXPECT_EQ(cleared.stuNoMode, 2);
    EXPECT_TRUE(cleared.lines.isEmpty());
    EXPECT_TRUE(cleared.pageNum.isEmpty());
    EXPECT_TRUE(cleared.sections.isEmpty());
    EXPECT_EQ(cleared.title.item, nullptr);
    EXPECT_EQ(cleared.testmark.item, nullptr);
    EXPECT_FALSE(cleared.testmark.enabled);
    EXPECT_EQ(cleared.barCode.item, nullptr);
    EXPECT_EQ(cleared.ticketNum.frame, nullptr);

    // A second clear finds nothing left to free.
    card.clearPages();
    EXPECT_EQ(CountedItem::destroyed, made - 1);
}

TEST_F(ItemDeletion, droppedBlockItemIsNotFreedAgainByClearPages)
{
    card.sheets.resize(1);
    card.sheets[0].append(PageSheet());
    PageSheet& page = card.sheets[0][0];
    Section objective;
    objective.type = sectionTypeObject;
    objective.frame = item();
    objective.addSubArea(block(1, 5, 0));
    objective.addSubArea(block(6, 10, 0));
    objective.addSubArea(block(11, 15, 0));
    page.addSection(objective);

    // The second block's item was deleted on the canvas and handed over,
    // but the section still lists the block.
    EIRectItem* dead = page.sections[0].branch[1].frame;
    dead->setValid(0);
    scene.removeItem(dead);
    deletedItems.append(dead);

    page.sections[0].addSubArea(block(16, 20, 0));
    ASSERT_EQ(page.sections[0].branch.size(), 3);
    EXPECT_EQ(page.sections[0].branch[0].numList.first(), 1);
    EXPECT_EQ(page.sections[0].branch[1].numList.first(), 11);
    EXPECT_EQ(page.sections[0].branch[2].numList.first(), 16);
    EXPECT_EQ(CountedItem::destroyed, 1);
    EXPECT_EQ(deletedItems.first(), nullptr);

    const int made = CountedItem::created;
    card.clearPages();
    EXPECT_EQ(CountedItem::destroyed, made);
}

TEST_F(ItemDeletion, dropDeadItemsKeepsBlocksWithoutItemAndDropsSharersOfADeadOne)
{
    Section section;
    section.type = sectionTypeObject;
    SubArea noItem;
    noItem.numList << 1;
    SubArea first = block(2, 3, 0);
    SubArea sharer = first;            // a copy pointing at the same item
    sharer.numList = {4};
    SubArea alive = block(5, 6, 0);
    section.branch << noItem << first << alive << sharer;
    first.frame->setValid(0);

    section.dropDeadItems();
    ASSERT_EQ(section.branch.size(), 2);
    EXPECT_EQ(section.branch[0].numList, QList<int>{1});
    EXPECT_EQ(section.branch[1].numList, (QList<int>{5, 6}));
    EXPECT_EQ(CountedItem::destroyed, 1);
    delete alive.frame;
}

