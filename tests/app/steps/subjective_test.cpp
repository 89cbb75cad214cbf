#include "tests/app/steps/questionstest.h"

using namespace questionstest;

namespace {

class Subjective : public QuestionSheetRoad
{
protected:
    void SetUp() override
    {
        QuestionSheetRoad::SetUp();
        if (HasFatalFailure())
            return;
        answerSheet.jumpObjects = true;
        goToStep(StepSubjective);
    }

    Section& section(int face, int index) { return page(0, face).sections[index]; }
    // Shown or hidden, by its text: its object name is its style's.
    QPushButton* associateButton() const
    {
        for (QPushButton* each : viewer->findChildren<QPushButton*>())
            if (each->text() == QStringLiteral("关联选做题"))
                return each;
        ADD_FAILURE() << "no association button";
        return nullptr;
    }
};

} // namespace

TEST_F(Subjective, answerAreasOptionalMarksAndTheirAssociation)
{
    const QString answerQuestion = QStringLiteral("解答题");

    // "选做题" checked under 解答题 and then hidden by 填空题 is no optional set.
    subjectiveDialogs.then([](DrawSubjectivePanel* dialog) {
        choose(dialog, "boxType", QStringLiteral("解答题"));
        iotest::click(field<QCheckBox>(dialog, "checkOptional"));
        choose(dialog, "boxType", QStringLiteral("填空题"));
        setSpin(dialog, "boxNumberEnd", 2);
        pressOk(dialog);
    });
    viewdriver::drag(viewer->graphicsView(), around(answerAreas[0], 10).topLeft(), around(answerAreas[0], 10).bottomRight());
    ASSERT_EQ(page(0, FaceFront).sections.size(), 1);
    EXPECT_EQ(section(FaceFront, 0).step, 0);
    EXPECT_EQ(section(FaceFront, 0).branch[0].subAreaTopicType, 3);
    EXPECT_EQ(captionOf(section(FaceFront, 0).frame), QStringLiteral("第1~2题"));
    EXPECT_TRUE(shownItems().contains(section(FaceFront, 0).frame));

    // Each next area continues the numbers in the last written type.
    subjectiveDialogs.then([=](DrawSubjectivePanel* dialog) {
        EXPECT_EQ(std::make_pair(spin(dialog, "boxNumberBegin"), spin(dialog, "boxNumberEnd")), std::make_pair(3, 3));
        answerSubjective(answerQuestion, 3, 5)(dialog);
    });
    frame(around(answerAreas[1], 10));
    subjectiveDialogs.then([=](DrawSubjectivePanel* dialog) {
        EXPECT_EQ(std::make_pair(spin(dialog, "boxNumberBegin"), spin(dialog, "boxNumberEnd")), std::make_pair(6, 6));
        EXPECT_EQ(chosen(dialog, "boxType"), answerQuestion);
        answerSubjective(answerQuestion, 6, 8, true)(dialog);
    });
    const QRectF optionalArea = around(answerAreas[2], 10);
    frame(optionalArea);
    ASSERT_EQ(page(0, FaceFront).sections.size(), 3);
    Section& optional = section(FaceFront, 2);
    EXPECT_EQ(optional.step, 1);
    EXPECT_EQ(captionOf(optional.frame), QStringLiteral("请框选选做题标记"));
    EXPECT_TRUE(ProcedureController::hasUnframedOptionalMark());

    // The step is not left, nor saved, before the marks are framed; a
    // frame outside the set, or over no marks, is refused.
    clickNext();
    clickSave();
    goToStep(StepObjective);
    frame(QRectF(850, 1150, 300, 60));
    frame(QRectF(1900, 1350, 150, 80));
    EXPECT_EQ(desk.texts(), Texts({"请先框选选做题标记! ", "请先框选选做题标记! ", "请先框选选做题标记! ",
                                   "请在第6~8题区域内进行选做题标记的框选！", "框选区域校验不通过，请重新框选!"}));
    EXPECT_EQ(currentStep, StepSubjective);
    EXPECT_FALSE(optional.branch[0].hasMarks());

    // Three boxes in the frame: one mark per question, left to right.
    frame(markFrame);
    const SubArea& marked = optional.branch[0];
    ASSERT_EQ(marked.choosePosition.size(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EIRectItem* box = marked.choosePosition[i];
        EXPECT_EQ(captionOf(box), QString::number(6 + i));
        EXPECT_NEAR(onPage(box).center().x(), QRectF(markBoxes[i]).center().x(), 3);
        EXPECT_NEAR(onPage(box).center().y(), QRectF(markBoxes[i]).center().y(), 3);
    }
    EXPECT_EQ(marked.chooseArea->parentItem(), optional.frame);
    EXPECT_EQ(onPage(marked.chooseArea), markFrame);
    EXPECT_EQ(optional.step, 0);
    EXPECT_EQ(captionOf(optional.frame), QStringLiteral("第6~8题"));
    EXPECT_TRUE(associateButton()->isVisible());

    // Numbers framed again are merged on request.
    showPage(0, FaceBack);
    subjectiveDialogs.then(answerSubjective(answerQuestion, 3, 5));
    answerNext(QStringLiteral("是"));
    frame(around(answerAreas[1], 10));
    EXPECT_EQ(desk.texts(), Texts({"检测到框选的题号已存在, 是否标记为同一题?"}));
    EXPECT_TRUE(section(FaceBack, 0).branch[0].merge);
    EXPECT_EQ(captionOf(section(FaceBack, 0).frame), QStringLiteral("第3~5题"));

    // Next asks for the association first: cancelled, the step stays.
    associationDialogs.then([](OptionalAssociatePanel* dialog) { press(dialog, QStringLiteral("取消")); });
    clickNext();
    EXPECT_EQ(currentStep, StepSubjective);
    EXPECT_EQ(marked.chooseTopicGroup, 0);

    // Confirmed, the set is one group of its own, and the card one paper:
    // Next goes on to the last step.
    associationDialogs.then([](OptionalAssociatePanel* dialog) {
        const auto groups = dialog->findChildren<QWidget*>(QStringLiteral("optionalBox"));
        EXPECT_EQ(groups.size(), 1);
        pressOk(dialog);
    });
    clickNext();
    const OptionalGroupList groups = answerSheet.optionalGroups();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0].questions, QList<int>({6, 7, 8}));
    EXPECT_EQ(groups[0].answerCount, 1);
    EXPECT_EQ(std::make_pair(marked.chooseTopicGroup, marked.chooseTopicModel), std::make_pair(1, 1));
    EXPECT_EQ(answerSheet.optionalGroupCnt, 1);
    EXPECT_EQ(currentStep, StepOtherMarks);
    EXPECT_EQ(associationDialogs.shown, 2);
}

TEST_F(Subjective, marksThatCannotBeFramedOrAssociatedChangeNothing)
{
    EXPECT_FALSE(associateButton()->isVisible());
    emit viewer->optAssociate();
    EXPECT_EQ(desk.texts(), Texts({"请先框选选做题！ "}));

    // A set from a hand-edited file: waiting for its marks, with marks
    // already, and no question numbers to caption new ones with.
    Section pending;
    pending.type = sectionTypeSubjective;
    pending.frame = new EIRectItem(around(answerAreas[2], 10), true, 8);
    pending.step = 1;
    SubArea block;
    block.subAreaTopicType = 4;
    block.frame = new EIRectItem(around(answerAreas[2], 10), true, 8);
    block.chooseArea = new EIRectItem(QRectF(20, 20, 300, 70), true, 5, pending.frame);
    block.choosePosition = {new EIRectItem(QRectF(10, 10, 40, 26), true, 3, block.chooseArea)};
    pending.addSubArea(block);
    page(0, FaceFront).addSection(pending);
    viewer->refreshPageItems(StepSubjective, true);
    EIRectItem* oldMark = block.choosePosition[0];

    frame(markFrame);
    EXPECT_EQ(desk.texts(), Texts({"框选区域校验不通过，请重新框选!"}));
    const SubArea& kept = page(0, FaceFront).sections[0].branch[0];
    EXPECT_EQ(kept.choosePosition, QList<EIRectItem*>({oldMark}));
    EXPECT_FALSE(discardedItems.contains(oldMark));
    EXPECT_EQ(page(0, FaceFront).sections[0].step, 1);

    // With nothing to group, the association's OK associates nothing, and
    // Save keeps asking for it instead of saving.
    page(0, FaceFront).sections[0].step = 0;
    viewer->refreshPageItems(StepSubjective, true);
    associationDialogs.then([](OptionalAssociatePanel* dialog) { pressOk(dialog); });
    iotest::click(associateButton());
    EXPECT_EQ(desk.texts(), Texts({"没有进行关联的题组, 当前操作无效！"}));
    QSignalSpy saved(window->ioController(), &IOController::saveProjectDone);
    associationDialogs.then([](OptionalAssociatePanel* dialog) { pressOk(dialog); });
    clickSave();
    EXPECT_EQ(desk.texts(), Texts({"请进行选做题的关联!", "没有进行关联的题组, 当前操作无效！"}));
    EXPECT_EQ(saved.count(), 0);
    EXPECT_EQ(answerSheet.optionalGroupCnt, 0);
}
