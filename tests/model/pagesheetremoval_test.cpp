// Taking the record of a deleted item out of a page, and what the
// validators are left to take back.

#include "tests/model/modelfixtures.h"

#include "model/removeditems.h"

using namespace modeltest;

namespace {

class PageRemoval : public ModelTest
{
protected:
    void TearDown() override
    {
        // The page holds no item any more once removed; free what the test
        // made and the page did not hand over to be freed with the pages.
        for (EIRectItem* handedOver : qAsConst(deletedItems))
            made.removeAll(handedOver);
        deleteItemsOnce(made);
        ModelTest::TearDown();
    }

    EIRectItem* item()
    {
        made.append(frameItem(QRectF(10, 10, 100, 50)));
        return made.last();
    }

    Section section(const QString& type, std::initializer_list<std::pair<int, int>> blocks, int blockType)
    {
        Section result;
        result.type = type;
        result.frame = item();
        for (const auto& range : blocks) {
            SubArea block;
            block.subAreaTopicType = blockType;
            block.appendNumRange(range.first, range.second);
            block.rows = 7;
            block.count = 4;
            block.borderType = 2;
            block.frame = item();
            result.branch.append(block);
        }
        return result;
    }

    QList<EIRectItem*> made;
    PageSheet page;
};

} // namespace

TEST_F(PageRemoval, linesTitleAndMarksLeaveTheirKind)
{
    page.addLine(item());
    page.addLine(item());
    EIRectItem* line = page.lines.first();
    page.removeItem(line);
    ASSERT_EQ(page.lines.size(), 1);
    EXPECT_NE(page.lines.first(), line);
    EXPECT_EQ(removedRecords.last().kind, RemovedItemRecord::Line);

    page.title.item = item();
    page.title.base64 = QStringLiteral("abc");
    page.removeItem(page.title.item);
    EXPECT_TRUE(page.title.isEmpty());
    EXPECT_TRUE(page.title.base64.isEmpty());
    EXPECT_EQ(removedRecords.last().kind, RemovedItemRecord::Title);

    page.testmark.item = item();
    page.testmark.enabled = true;
    page.removeItem(page.testmark.item);
    EXPECT_FALSE(page.testmark.enabled);
    EXPECT_EQ(removedRecords.last().kind, RemovedItemRecord::Mark);

    page.ticketNum.frame = item();
    page.ticketNum.enabled = true;
    page.removeItem(page.ticketNum.frame);
    EXPECT_FALSE(page.ticketNum.enabled);
    EXPECT_EQ(removedRecords.last().kind, RemovedItemRecord::ExamNumber);
    EXPECT_EQ(removedRecords.size(), 4);
}

TEST_F(PageRemoval, removedBlockIsKeptForTheValidators)
{
    page.addSection(section(sectionTypeObject, {{1, 5}, {6, 10}}, 1));
    page.addSection(section(sectionTypeSubjective, {{11, 12}}, 4));

    page.sections[0].branch[1].orientation = 1;
    page.removeItem(page.sections[0].branch[1].frame);
    ASSERT_EQ(removedRecords.size(), 1);
    const RemovedItemRecord& objective = removedRecords.last();
    EXPECT_EQ(objective.kind, RemovedItemRecord::ObjectiveBlock);
    EXPECT_EQ(objective.block.numList, (QList<int>{6, 7, 8, 9, 10}));
    EXPECT_EQ(objective.block.subAreaTopicType, 1);
    EXPECT_EQ(objective.block.rows, 7);
    EXPECT_EQ(objective.block.count, 4);
    EXPECT_EQ(objective.block.borderType, 2);
    EXPECT_EQ(objective.block.orientation, 1);
    EXPECT_EQ(objective.block.frame, nullptr);
    EXPECT_EQ(page.sections[0].branch.size(), 1);

    // The last block of a section takes the section with it, and its frame
    // is freed with the pages.
    EIRectItem* sectionFrame = page.sections[1].frame;
    page.removeItem(page.sections[1].branch[0].frame);
    EXPECT_TRUE(deletedItems.contains(sectionFrame));
    EXPECT_EQ(removedRecords.last().kind, RemovedItemRecord::SubjectiveBlock);
    EXPECT_EQ(removedRecords.last().block.numList, (QList<int>{11, 12}));
    ASSERT_EQ(page.sections.size(), 1);
    EXPECT_EQ(page.sections[0].type, sectionTypeObject);
}

TEST_F(PageRemoval, sectionFrameTakesItsFirstBlock)
{
    page.addSection(section(sectionTypeObject, {{1, 5}, {6, 10}}, 0));
    page.removeItem(page.sections[0].frame);
    ASSERT_EQ(page.sections.size(), 1);
    ASSERT_EQ(page.sections[0].branch.size(), 1);
    EXPECT_EQ(page.sections[0].branch[0].numList.first(), 6);
    EXPECT_EQ(removedRecords.last().block.numList.first(), 1);
}

TEST_F(PageRemoval, aSectionFollowingARemovedOneIsNotSkipped)
{
    // An objective section left empty by a refused framing sits right
    // after the section that loses its last block: both must go.
    page.addSection(section(sectionTypeObject, {{1, 5}}, 0));
    page.addSection(section(sectionTypeObject, {}, 0));
    page.addSection(section(sectionTypeSubjective, {{6, 6}}, 3));
    page.removeItem(page.sections[0].branch[0].frame);
    ASSERT_EQ(page.sections.size(), 1);
    EXPECT_EQ(page.sections[0].type, sectionTypeSubjective);

    // Two neighbouring sections that both hold the item both lose it.
    page.addSection(section(sectionTypeSubjective, {{7, 7}, {8, 8}}, 3));
    page.addSection(page.sections.last());
    page.removeItem(page.sections[1].branch[0].frame);
    ASSERT_EQ(page.sections.size(), 3);
    EXPECT_EQ(page.sections[1].branch.size(), 1);
    EXPECT_EQ(page.sections[2].branch.size(), 1);
}

TEST_F(PageRemoval, anItemThePageDoesNotHoldChangesNothing)
{
    page.addSection(section(sectionTypeObject, {{1, 5}}, 0));
    page.addLine(item());
    EIRectItem* block = page.sections[0].branch[0].frame;
    page.removeItem(block);
    ASSERT_EQ(removedRecords.size(), 1);

    // Removing it again, a stranger, or a null item leaves no record that
    // could hide the validators' last one.
    page.addSection(section(sectionTypeObject, {{6, 7}}, 0));
    page.removeItem(block);
    page.removeItem(item());
    page.removeItem(nullptr);
    EXPECT_EQ(removedRecords.size(), 1);
    EXPECT_EQ(removedRecords.last().block.numList.first(), 1);
    EXPECT_EQ(page.sections.size(), 1);
    EXPECT_EQ(page.lines.size(), 1);
}
