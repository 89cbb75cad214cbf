#include "tests/widgets/dialogs/dialoghost.h"

#include "widgets/dialogs/optionalassociatepanel.h"
#include "widgets/dialogs/optionalboxs.h"
#include "widgets/kit/eicheckbox.h"
#include "widgets/kit/eilabel.h"
#include "widgets/kit/eispainbox.h"

#include <QTimer>

#include <algorithm>

using dialogtest::answerMessage;
using dialogtest::child;
using testsupport::later;

namespace {

class OptionalAssociatePanelTest : public dialogtest::DialogHost
{
protected:
    // The groups on show (a removed one leaves the layout at once but is
    // deleted later), in display order.
    QList<OptionalBoxs*> groups() const
    {
        QList<OptionalBoxs*> shown;
        for (OptionalBoxs* group : dialog.findChildren<OptionalBoxs*>())
            if (group->parentWidget()->layout()->indexOf(group) >= 0)
                shown.append(group);
        std::sort(shown.begin(), shown.end(), [](auto* a, auto* b) { return a->groupId() < b->groupId(); });
        return shown;
    }

    static EICheckBox* box(OptionalBoxs* group, int number)
    {
        for (EICheckBox* candidate : group->findChildren<EICheckBox*>())
            if (candidate->text().toInt() == number)
                return candidate;
        ADD_FAILURE() << "no box " << number;
        return nullptr;
    }

    static QList<int> enabledTopics(OptionalBoxs* group)
    {
        QList<int> numbers;
        for (EICheckBox* candidate : group->findChildren<EICheckBox*>())
            if (candidate->isEnabled())
                numbers.append(candidate->text().toInt());
        std::sort(numbers.begin(), numbers.end());
        return numbers;
    }

    static QString message(OptionalBoxs* group)
    {
        auto* line = group->findChild<EILabel*>(QStringLiteral("eilabelMsg"));
        return line && !line->isHidden() ? line->text() : QString();
    }

    static QSpinBox* answer(OptionalBoxs* group) { return group->findChild<EISpainBox*>(); }

    OptionalAssociatePanel dialog{&window};
    QSpinBox* groupCount = child<QSpinBox>(&dialog, "boxGroupCnt");
    QString boxText;
};

OptionalGroup group(QList<int> numbers, int id, int answerCount, bool editable = true)
{
    return OptionalGroup(numbers, id, answerCount, editable);
}

} // namespace

TEST_F(OptionalAssociatePanelTest, groupsKeepEachQuestionInOneGroupWithinTheirLimits)
{
    dialog.setAssociations({group({1, 2, 3}, 1, 0), group({4, 5}, 2, 1), group({6, 7, 8}, 1, 2)});
    dialog.show();
    EXPECT_EQ(dialog.size(), QSize(473, 422));
    EXPECT_EQ(dialogtest::title(dialog), QStringLiteral("关联选做题  "));
    EXPECT_EQ(groupCount->value(), 3);

    QList<OptionalBoxs*> shown = groups();
    ASSERT_EQ(shown.size(), 3);
    OptionalBoxs *first = shown[0], *second = shown[1], *third = shown[2];
    EXPECT_EQ(third->findChild<EILabel*>()->text(), QStringLiteral("请选择题组三要关联的选做题"));
    EXPECT_EQ(first->checkedTopics(), (QList<int>{1, 2, 3}));
    EXPECT_EQ(first->answerCount(), 2);
    EXPECT_EQ(enabledTopics(first), (QList<int>{1, 2, 3}));

    // The answer count stays below the checked count and above 0; the
    // message clears itself after 3 s.
    answer(first)->setValue(3);
    EXPECT_EQ(message(first), QStringLiteral("需要选做的题目数量不能大于等于勾选的数量 ! "));
    EXPECT_EQ(first->answerCount(), 2);
    auto* timer = first->findChild<QTimer*>(QStringLiteral("messageTimer"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 3000);
    timer->start(1);
    QTRY_VERIFY(message(first).isEmpty());
    answer(first)->setValue(0);
    EXPECT_EQ(message(first), QStringLiteral("需要选做的题目数量不能为0 !"));
    EXPECT_EQ(first->answerCount(), 1);

    // The last checked question of a group cannot go.
    box(second, 4)->click();
    box(second, 5)->click();
    EXPECT_EQ(message(second), QStringLiteral("至少需勾选一题, 可以通过减少组数来关联!    "));
    EXPECT_EQ(second->checkedTopics(), (QList<int>{5}));

    // Question 4 is free now; checked in group 3 it is closed to the others.
    EXPECT_TRUE(box(first, 4)->isEnabled());
    box(third, 4)->click();
    EXPECT_FALSE(box(first, 4)->isEnabled());
    EXPECT_FALSE(box(second, 4)->isEnabled());

    // Five questions at most in a group.
    box(first, 1)->click();
    box(third, 1)->click();
    box(first, 2)->click();
    box(third, 2)->click();
    EXPECT_EQ(message(third), QStringLiteral("每组选做题中最多可选5题, 操作已被取消!  "));
    EXPECT_EQ(third->checkedTopics(), (QList<int>{1, 4, 6, 7, 8}));
    EXPECT_EQ(third->answerCount(), 3);

    // Removing group 3 frees its questions everywhere.
    groupCount->setValue(2);
    ASSERT_EQ(groups().size(), 2);
    EXPECT_EQ(enabledTopics(second), (QList<int>{1, 2, 4, 5, 6, 7, 8}));
    // Rebuilt, it takes back only what no other group took meanwhile.
    box(first, 6)->click();
    groupCount->setValue(3);
    shown = groups();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[2]->checkedTopics(), (QList<int>{7, 8}));
    EXPECT_EQ(enabledTopics(shown[2]), (QList<int>{1, 2, 4, 7, 8}));
    // A new group takes the free questions and closes them to the others.
    groupCount->setValue(4);
    shown = groups();
    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown[3]->checkedTopics(), (QList<int>{1, 2, 4}));
    EXPECT_EQ(shown[3]->answerCount(), 2);
    EXPECT_EQ(enabledTopics(shown[0]), (QList<int>{3, 6}));

    later(0, [&] { dialogtest::finishWithOk(dialog); });
    ASSERT_EQ(dialog.exec(), 1);
    // Group id: questions / answer count.
    QStringList result;
    for (const OptionalGroup& stored : dialog.associations()) {
        QStringList numbers;
        for (int number : stored.questions)
            numbers.append(QString::number(number));
        result.append(QStringLiteral("%1:%2/%3").arg(stored.groupId).arg(numbers.join(',')).arg(stored.answerCount));
    }
    EXPECT_EQ(result, QStringList({"1:3,6/1", "2:5/1", "3:7,8/1", "4:1,2,4/2"}));
}

TEST_F(OptionalAssociatePanelTest, groupCountStaysBetweenTheFixedGroupsAndFive)
{
    dialog.setAssociations({group({10, 11}, 1, 1, false), group({12}, 2, 1), group({13}, 3, 1)});
    QList<OptionalBoxs*> shown = groups();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_FALSE(shown[0]->isEditable());
    EXPECT_EQ(shown[0]->checkedTopics(), (QList<int>{10, 11}));
    EXPECT_TRUE(enabledTopics(shown[0]).isEmpty());
    shown[0]->onTopicClicked(QStringLiteral("10"), false);
    EXPECT_EQ(message(shown[0]), QStringLiteral("一个题块中的选做题必须为一组, 不可编辑 !    "));
    EXPECT_EQ(shown[0]->checkedTopics(), (QList<int>{10, 11}));

    answerMessage(&window, boxText);
    groupCount->setValue(6);
    EXPECT_EQ(boxText, QStringLiteral("关联的选做题组数最大为5组!"));
    EXPECT_EQ(groupCount->value(), 5);
    EXPECT_EQ(groups().size(), 5);
    groupCount->setValue(0);
    EXPECT_EQ(groupCount->value(), 1);
    shown = groups();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_FALSE(shown[0]->isEditable());

    // Only fixed groups, even more than five: all shown, nothing to change.
    OptionalGroupList six;
    for (int i = 1; i <= 6; ++i)
        six.append(group({2 * i - 1, 2 * i}, i, 1, false));
    dialog.setAssociations(six);
    EXPECT_EQ(groupCount->value(), 6);
    EXPECT_EQ(groups().size(), 6);
    EXPECT_FALSE(groupCount->isEnabled());

    // More groups than allowed: the first five.
    OptionalGroupList seven;
    for (int i = 1; i <= 7; ++i)
        seven.append(group({i}, i, 1));
    dialog.setAssociations(seven);
    EXPECT_EQ(groupCount->value(), 5);
    shown = groups();
    ASSERT_EQ(shown.size(), 5);
    EXPECT_EQ(shown[4]->checkedTopics(), (QList<int>{5}));

    // A new group takes no more free questions than a group may hold.
    dialog.setAssociations({group({1, 2, 3, 4, 5, 6, 7}, 1, 2)});
    for (int number = 1; number <= 4; ++number)
        box(groups().value(0), number)->click();
    groupCount->setValue(2);
    ASSERT_EQ(groups().size(), 2);
    EXPECT_EQ(groups()[1]->checkedTopics(), (QList<int>{1, 2, 3, 4, 6}));
}

TEST_F(OptionalAssociatePanelTest, okWithoutAnyGroupSaysSoAndEndsAsCancelled)
{
    dialog.setAssociations({});
    EXPECT_EQ(groupCount->value(), 0);
    EXPECT_FALSE(groupCount->isEnabled());
    EXPECT_TRUE(groups().isEmpty());

    later(0, [&] {
        answerMessage(&window, boxText);
        dialogtest::finishWithOk(dialog);
    });
    EXPECT_EQ(dialog.exec(), 0);
    EXPECT_EQ(boxText, QStringLiteral("没有进行关联的题组, 当前操作无效！"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.associations().isEmpty());
}

TEST_F(OptionalAssociatePanelTest, groupsAddedBackTakeOnlyFreeQuestionsAndNoneIsLeftOut)
{
    dialog.setAssociations({group({1, 2}, 1, 1), group({3, 4}, 2, 1), group({10, 11}, 3, 1, false)});
    groupCount->setValue(2);
    groupCount->setValue(3);
    QList<QList<int>> shown;
    for (OptionalBoxs* each : groups())
        shown.append(each->checkedTopics());
    EXPECT_EQ(shown, (QList<QList<int>>{{1, 2}, {10, 11}, {3, 4}}));

    // Without the group of 3 and 4 OK is refused and the dialog stays.
    groupCount->setValue(2);
    later(0, [&] {
        answerMessage(&window, boxText);
        dialogtest::pressOk(&dialog);
        groupCount->setValue(3);
        dialogtest::finishWithOk(dialog);
    });
    ASSERT_EQ(dialog.exec(), 1);
    EXPECT_EQ(boxText, QStringLiteral("第3、4题没有关联到任何题组, 请勾选!"));
    EXPECT_EQ(dialog.associations().last().groupId, 3);

    // A given group of six keeps five and says so.
    dialog.setAssociations({group({1, 2, 3, 4, 5, 6}, 1, 2)});
    EXPECT_EQ(groups().value(0)->checkedTopics(), (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(message(groups().value(0)), QStringLiteral("每组选做题中最多可选5题, 操作已被取消!  "));
}
