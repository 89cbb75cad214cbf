#include "tests/app/flowtest.h"

using namespace flowtest;

namespace {

// A card imported on the exam-number step: a line and a title on the front.
class StepMachine : public FlowTest
{
protected:
    void SetUp() override
    {
        FlowTest::SetUp();
        if (HasFatalFailure())
            return;
        importCard(saveTitledCard(QStringLiteral("期中卡")));
        ASSERT_EQ(currentStep, StepExamNumber);
    }

    // Answers every message box that comes up with its first button and
    // keeps their texts, until the object goes.
    struct MessageCounter
    {
        explicit MessageCounter(QWidget* root)
        {
            QObject::connect(&timer, &QTimer::timeout, [this, root] {
                if (EIMessageBox* box = apptest::visibleMessageBox(root)) {
                    texts.append(iotest::read(box).text);
                    iotest::clickButton(box, iotest::read(box).buttons.value(0));
                }
            });
            timer.start(10);
        }
        QTimer timer;
        QStringList texts;
    };
};

} // namespace

TEST_F(StepMachine, aStepButtonSwitchesToItsStepOnTheFirstPage)
{
    iotest::click(next());
    iotest::click(stepButton(StepTitles));
    EXPECT_EQ(currentStep, StepTitles);
    EXPECT_TRUE(stepButton(StepTitles)->isChecked());
    EXPECT_EQ(pageLabel(), QStringLiteral("正面"));
    EXPECT_EQ(tipText(), QStringLiteral("温馨提示：请框选正面长标题以及反面短标题"));
    EXPECT_EQ(enabledSteps(), QList<int>({0, 1, 2, 3})) << "later steps stay open to revisit";
    EXPECT_FALSE(button(QStringLiteral("准考证号")));

    // The current step's own button changes nothing.
    iotest::click(next());
    iotest::click(stepButton(StepTitles));
    EXPECT_EQ(pageLabel(), QStringLiteral("反面"));
}

TEST_F(StepMachine, aPendingOptionalMarkSendsEveryOtherStepToTheSubjectiveStepOnce)
{
    // Reached by framing on step 5 and then switching away by the header.
    window->setStepButtonsEnabled(0, StepSubjective);
    Section waiting;
    waiting.type = sectionTypeSubjective;
    waiting.frame = new EIRectItem(QRectF(50, 100, 400, 200), true, 8);
    waiting.step = 1;
    waiting.addSubArea(SubArea());
    answerSheet.sheets[0][0].addSection(waiting);

    MessageCounter messages(window);
    iotest::click(stepButton(StepTitles));

    EXPECT_EQ(messages.texts, QStringList({"请先框选选做题标记! "}));
    EXPECT_EQ(currentStep, StepSubjective);
    EXPECT_TRUE(stepButton(StepSubjective)->isChecked());
    EXPECT_EQ(shownPage(), viewer);
}

TEST_F(StepMachine, aDeletedItemLeavesItsPageAndWaitsToBeFreed)
{
    iotest::click(stepButton(StepLines));
    EIRectItem* line = answerSheet.sheets[0][0].lines.value(0);
    ASSERT_TRUE(line && line->isVisible() && line->isEnabled());
    scene()->clearSelection();
    line->setSelected(true);
    // A press on the selected line makes it the one the edit menu acts on.
    const QPoint onLine = viewer->graphicsView()->mapFromScene(line->sceneBoundingRect().center());
    QTest::mouseClick(viewer->graphicsView()->viewport(), Qt::LeftButton, Qt::NoModifier, onLine);
    ASSERT_EQ(scene()->currentItem(), line);
    scene()->onDeleteItem();

    EXPECT_EQ(answerSheet.sheets[0][0].lineCount(), 0);
    EXPECT_EQ(line->scene(), nullptr);
    EXPECT_TRUE(discardedItems.contains(line));
    ASSERT_FALSE(deletedRecords.isEmpty());
    EXPECT_EQ(deletedRecords.last().kind, RemovedItemRecord::Line);
    EXPECT_FALSE(shownItems().contains(line));
    // Freed with the pages, once, while the window and its scene live on.
    answerSheet.clearPages();
    EXPECT_TRUE(shownItems().isEmpty());
}
