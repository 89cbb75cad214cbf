#include "tests/widgets/dialogs/dialoghost.h"

#include "canvas/item/eirectitem.h"
#include "model/pagesheet.h"
#include "model/removeditems.h"
#include "widgets/dialogs/drawobjectivepanel.h"

using dialogtest::child;
using dialogtest::shownTip;
using testsupport::later;

namespace {

class DrawObjectivePanelTest : public dialogtest::DialogHost
{
protected:
    QSpinBox* spin(const char* name) { return child<QSpinBox>(&dialog, name); }
    QComboBox* combo(const char* name) { return child<QComboBox>(&dialog, name); }

    DrawObjectivePanel dialog{&window};
};

SubArea block(int type, int orientation, int first, int last, int rows, int count, int border)
{
    SubArea result;
    result.subAreaTopicType = type;
    result.orientation = orientation;
    result.appendNumRange(first, last);
    result.rows = rows;
    result.count = count;
    result.borderType = border;
    return result;
}

} // namespace

TEST_F(DrawObjectivePanelTest, opensWithItsFieldsAndStaysOpenWithARedTipUntilTheyAgree)
{
    QSpinBox* begin = spin("boxNumberBegin");
    QSpinBox* end = spin("boxNumberEnd");
    QSpinBox* options = spin("boxCols");
    QComboBox* type = combo("boxType");
    later(0, [&] {
        EXPECT_EQ(dialog.minimumSize(), QSize(480, 300));
        EXPECT_EQ(dialog.maximumSize(), QSize(480, 300));
        EXPECT_EQ(dialogtest::title(dialog), QStringLiteral("客观题属性  "));
        EXPECT_EQ(dialogtest::items(type), QStringList({"单选题", "多选题", "判断题"}));
        EXPECT_EQ(dialogtest::items(combo("boxAlign")), QStringList({"横排", "竖排"}));
        dialogtest::expectRange(begin, 1, 999, 1);
        dialogtest::expectRange(end, 1, 999, 5);
        dialogtest::expectRange(options, 0, 99, 4);
        EXPECT_FALSE(combo("boxBorderType")->isVisible() || child<QLabel>(&dialog, "label_6")->isVisible());
        EXPECT_TRUE(shownTip(&dialog).isEmpty());

        // The judge type takes two options and gives four back; a count
        // other than two survives a change of type.
        type->setCurrentIndex(2);
        EXPECT_EQ(options->value(), 2);
        type->setCurrentIndex(0);
        EXPECT_EQ(options->value(), 4);
        options->setValue(3);
        type->setCurrentIndex(1);
        EXPECT_EQ(options->value(), 3);

        // A start above the end drags the end along; an end below the start
        // waits for OK.
        begin->setValue(8);
        EXPECT_EQ(end->value(), 8);
        end->setValue(6);
        dialogtest::pressOk(&dialog);
        EXPECT_EQ(shownTip(&dialog), QStringLiteral("提示：请检查输入的题号！"));
        end->setValue(12);
        EXPECT_TRUE(shownTip(&dialog).isEmpty());
        type->setCurrentIndex(2);
        options->setValue(3);
        dialogtest::pressOk(&dialog);
        EXPECT_EQ(shownTip(&dialog), QStringLiteral("提示：请检查题型！"));
        options->setValue(2);
        dialogtest::finishWithOk(dialog);
    });
    ASSERT_EQ(dialog.exec(), 1);
    const SubArea judge = dialog.properties();
    EXPECT_EQ(judge.subAreaTopicType, 2);
    EXPECT_EQ(judge.numList, (QList<int>{8, 9, 10, 11, 12}));
    EXPECT_EQ(judge.chooses, QStringList({"T", "F"}));
}

TEST_F(DrawObjectivePanelTest, prefillAndResultFollowTheArrangement)
{
    dialog.setProperties(block(0, 0, 1, 10, 10, 4, 2), true);
    SubArea result = dialog.properties();
    EXPECT_EQ(QList<int>({result.rows, result.count, result.borderType}), QList<int>({10, 4, 2}));
    EXPECT_EQ(result.chooses, QStringList({"A", "B", "C", "D"}));
    combo("boxAlign")->setCurrentIndex(1);
    result = dialog.properties();
    EXPECT_EQ(QList<int>({result.rows, result.count}), QList<int>({4, 10}));
    spin("boxCols")->setValue(0);
    EXPECT_TRUE(dialog.properties().chooses.isEmpty());

    // The next block continues after the last one; an image count wins; a
    // border code the list does not hold leaves the list alone.
    dialog.setProperties(block(1, 0, 1, 5, 5, 4, 9), false);
    EXPECT_EQ(spin("boxNumberBegin")->value(), 6);
    EXPECT_EQ(spin("boxNumberEnd")->value(), 10);
    EXPECT_EQ(combo("boxAlign")->currentIndex(), 0);
    dialog.setCounts(3, 5);
    result = dialog.properties();
    EXPECT_EQ(result.numList, (QList<int>{6, 7, 8}));
    EXPECT_EQ(QList<int>({result.count, result.subAreaTopicType, result.borderType}), QList<int>({5, 1, 2}));
}

TEST_F(DrawObjectivePanelTest, deletedVerticalBlockComesBackVerticalWithItsCounts)
{
    dialog.setProperties(block(1, 1, 11, 18, 8, 4, 1), true);
    const SubArea framed = dialog.properties();
    ASSERT_EQ(framed.count, 8);

    // Deleted on the canvas: the page keeps a record of it.
    EIRectItem item(QRectF(0, 0, 200, 100), true, 8);
    PageSheet page;
    Section section;
    section.type = sectionTypeObject;
    section.branch.append(framed);
    section.branch[0].frame = &item;
    page.addSection(section);
    removedRecords.clear();
    page.removeItem(&item);
    ASSERT_EQ(removedRecords.size(), 1);
    SubArea again = removedRecords.takeLast().block;
    ASSERT_EQ(again.orientation, 1);

    // The prefill reads rows as questions, so a vertical block is turned back.
    std::swap(again.rows, again.count);
    DrawObjectivePanel reopened(&window);
    reopened.setProperties(again, true);
    const SubArea result = reopened.properties();
    EXPECT_EQ(child<QComboBox>(&reopened, "boxAlign")->currentText(), QStringLiteral("竖排"));
    EXPECT_EQ(result.numList, framed.numList);
    EXPECT_EQ(QList<int>({result.rows, result.count, result.borderType}), QList<int>({4, 8, 1}));
}
