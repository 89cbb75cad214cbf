#include "tests/widgets/dialogs/dialoghost.h"

#include "widgets/dialogs/drawsubjectivepanel.h"

#include <QCheckBox>

using dialogtest::child;
using dialogtest::shownTip;
using testsupport::later;

namespace {

class DrawSubjectivePanelTest : public dialogtest::DialogHost
{
protected:
    DrawSubjectivePanel dialog{&window};
    QComboBox* type = child<QComboBox>(&dialog, "boxType");
    QSpinBox* begin = child<QSpinBox>(&dialog, "boxNumberBegin");
    QSpinBox* end = child<QSpinBox>(&dialog, "boxNumberEnd");
    QCheckBox* optional = child<QCheckBox>(&dialog, "checkOptional");
};

} // namespace

TEST_F(DrawSubjectivePanelTest, opensWithItsFieldsAndRefusesBadNumbersAndOptionalSetsAboveFive)
{
    // Never prefilled, only answer questions offer "选做题" all the same.
    DrawSubjectivePanel bare(&window);
    bare.show();
    EXPECT_FALSE(child<QCheckBox>(&bare, "checkOptional")->isVisible());

    dialog.setProperties({3, 6, 6, false});
    later(0, [&] {
        EXPECT_EQ(dialog.size(), QSize(510, 292));
        EXPECT_EQ(dialogtest::title(dialog), QStringLiteral("主观题属性  "));
        EXPECT_EQ(dialogtest::items(type), QStringList({"填空题", "解答题", "语文作文题", "英语作文题"}));
        dialogtest::expectRange(begin, 0, 999, 6);
        dialogtest::expectRange(end, 0, 999, 6);
        EXPECT_FALSE(optional->isVisible());
        dialog.setProperties({4, 3, 3, false});
        EXPECT_TRUE(optional->isVisible());
        EXPECT_EQ(optional->text(), QStringLiteral("选做题"));

        // A start of 0 is raised at once; an end below the start waits for OK.
        begin->setValue(0);
        EXPECT_EQ(begin->value(), 1);
        begin->setValue(5);
        end->setValue(4);
        dialogtest::pressOk(&dialog);
        EXPECT_EQ(shownTip(&dialog), QStringLiteral("提示：请检查输入的题号！"));
        begin->setValue(3);
        end->setValue(8);
        EXPECT_TRUE(shownTip(&dialog).isEmpty());
        optional->click();
        dialogtest::pressOk(&dialog);
        EXPECT_EQ(shownTip(&dialog), QStringLiteral("提示：选做题题目数最大为5个！"));
        end->setValue(7);
        dialogtest::finishWithOk(dialog);
    });
    ASSERT_EQ(dialog.exec(), 1);
    const SubjectiveProperties result = dialog.properties();
    EXPECT_EQ(result.type, 4);
    EXPECT_EQ(result.start, 3);
    EXPECT_EQ(result.end, 7);
    EXPECT_TRUE(result.optional);
}

TEST_F(DrawSubjectivePanelTest, optionalCheckedAndThenHiddenByAnotherTypeIsNotReported)
{
    dialog.setProperties({4, 3, 8, false});
    later(0, [&] {
        optional->click();
        type->setCurrentIndex(0);   // 填空题
        EXPECT_FALSE(optional->isVisible());
        // Six fill-in questions are no optional set: the size rule is out.
        dialogtest::finishWithOk(dialog);
    });
    ASSERT_EQ(dialog.exec(), 1);
    const SubjectiveProperties result = dialog.properties();
    EXPECT_EQ(result.type, 3);
    EXPECT_FALSE(result.optional);

    // Back to answer questions the box shows its kept check again.
    type->setCurrentIndex(1);
    EXPECT_TRUE(dialog.properties().optional);
}
