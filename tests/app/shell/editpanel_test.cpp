#include "tests/app/flowtest.h"

#include "canvas/editmenu.h"
#include "canvas/itemeditpanel.h"

using namespace flowtest;

namespace {

// A card imported on the exam-number step, with two objective blocks of
// 3 x 4 boxes framed on the front, shown on the objective step.
class EditPanelFlow : public FlowTest
{
protected:
    void SetUp() override
    {
        FlowTest::SetUp();
        if (HasFatalFailure())
            return;
        importCard(saveTitledCard(QStringLiteral("期中卡")));
        Section objective;
        objective.type = sectionTypeObject;
        for (EIRectItem** block : {&left, &right}) {
            *block = new EIRectItem(QRectF(block == &left ? 40 : 320, 120, 200, 100), true, 8);
            ASSERT_TRUE((*block)->setItemRect(QRectF(8, 8, 20, 12), 3, 4, 24, 40));
            SubArea choices;
            choices.frame = *block;
            objective.addSubArea(choices);
        }
        answerSheet.sheets[0][0].addSection(objective);
        window->setStepButtonsEnabled(0, StepObjective);
        iotest::click(stepButton(StepObjective));
    }

    // Presses the block so the edit menu floats over it, then the menu's button.
    void fromMenu(EIRectItem* block, const char* menuButton)
    {
        scene()->clearSelection();
        block->setSelected(true);
        const QPointF between = block->sceneRect().topLeft() + QPointF(38, 14);
        EIGraphicsView* view = viewer->graphicsView();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->mapFromScene(between));
        iotest::click(view->menu()->findChild<QPushButton*>(QLatin1String(menuButton)));
    }

    ItemEditPanel* panel() const { return window->findChild<ItemEditPanel*>(); }

    // The plus of the width row, the topmost one.
    void pressPlusWidth()
    {
        QPushButton* top = nullptr;
        for (QPushButton* plus : panel()->findChildren<QPushButton*>(QStringLiteral("editAdd")))
            if (!top || plus->y() < top->y())
                top = plus;
        QTest::mouseClick(top, Qt::LeftButton, Qt::NoModifier, QPoint(14, 14));
    }

    QString shownWidth() const { return panel()->findChild<QLabel*>(QStringLiteral("widthLabel"))->text(); }

    EIRectItem* left = nullptr;
    EIRectItem* right = nullptr;
};

} // namespace

TEST_F(EditPanelFlow, theEditMenuOpensThePanelWhichGoesWithAStepSwitchADeleteAndAFreshStart)
{
    fromMenu(left, "btnEdit");
    ASSERT_NE(panel(), nullptr);
    ASSERT_TRUE(panel()->isVisible());
    pressPlusWidth();
    EXPECT_EQ(shownWidth(), QStringLiteral("21"));
    EXPECT_EQ(left->grid().boxSize(), QSizeF(21, 12));
    EXPECT_EQ(right->grid().boxSize(), QSizeF(20, 12));

    iotest::click(stepButton(StepTitles));
    EXPECT_FALSE(panel()->isVisible());
    iotest::click(stepButton(StepObjective));
    EXPECT_FALSE(panel()->isVisible());

    // One panel serves every block; deleting the one it edits hides it.
    ItemEditPanel* first = panel();
    fromMenu(right, "btnEdit");
    EXPECT_EQ(panel(), first);
    EXPECT_EQ(shownWidth(), QStringLiteral("20"));
    fromMenu(right, "btnDelete");
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(panel()->boundItem(), nullptr);

    // Starting again from step 0 frees the framing, the edited block with
    // it; under the sanitizer a press that still reached it fails here.
    fromMenu(left, "btnEdit");
    ASSERT_TRUE(panel()->isVisible());
    Message question;
    script->message(&question, QStringLiteral("是"));
    iotest::click(stepButton(StepGetTemplate));
    EXPECT_FALSE(panel()->isVisible());
    panel()->show();
    pressPlusWidth();
    EXPECT_EQ(shownWidth(), QStringLiteral("21"));
}
