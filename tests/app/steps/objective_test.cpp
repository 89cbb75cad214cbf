#include "tests/app/steps/questionstest.h"
#include "tests/support/logwatch.h"

using namespace questionstest;

namespace {

class Objective : public QuestionRoad
{
protected:
    void SetUp() override
    {
        QuestionRoad::SetUp();
        if (HasFatalFailure())
            return;
        const QImage sheet = questionSheet(ExamGrid{QPoint(200, 300), 9});
        openSheets({sheet, sheet}, true);
        window->setStepButtonsEnabled(0, StepObjective);
        goToStep(StepObjective);
    }

    // Fills the dialog: type, arrangement, numbers and options, then OK.
    static std::function<void(DrawObjectivePanel*)> answer(const QString& type, const QString& arrangement, int first,
                                                           int last, int options)
    {
        return [=](DrawObjectivePanel* dialog) {
            choose(dialog, "boxType", type);
            choose(dialog, "boxAlign", arrangement);
            setSpin(dialog, "boxNumberBegin", first);
            setSpin(dialog, "boxNumberEnd", last);
            setSpin(dialog, "boxCols", options);
            pressOk(dialog);
        };
    }

    const QVector<SubArea>& blocks() const
    {
        static const QVector<SubArea> none;
        for (const Section& section : answerSheet.sheets[0][0].sections)
            if (section.type == sectionTypeObject)
                return section.branch;
        return none;
    }
};

} // namespace

TEST_F(Objective, blocksAreMeasuredCaptionedPresetFromTheLastAndAligned)
{
    const QString single = QStringLiteral("单选题");
    const QString across = QStringLiteral("横排");

    // Refusals leave no section behind, so Next still asks for questions:
    // too many questions or options, blank paper, an answer area with no
    // boxes whatever grid is measured in it, and a grid of no options that
    // cannot be laid out.
    objectiveDialogs.then(answer(single, across, 1, 51, 4));
    objectiveDialogs.then(answer(single, across, 1, 5, 21));
    objectiveDialogs.then(answer(single, across, 1, 5, 4));
    objectiveDialogs.then(answer(single, across, 1, 5, 4));
    objectiveDialogs.then(answer(single, across, 1, 5, 0));
    const logwatch::LogWatch log;
    frame(firstBlock.frame());
    frame(firstBlock.frame());
    viewdriver::drag(viewer->graphicsView(), around(blankPaper).topLeft(), around(blankPaper).bottomRight());
    frame(QRectF(answerAreas[0]).adjusted(-10, -10, 10, 10));
    frame(firstBlock.frame());
    EXPECT_EQ(desk.texts(), Texts({"请检查输入的题号或选项数量是否正确！", "请检查输入的题号或选项数量是否正确！",
                                   "框选区域校验不通过，请重新框选客观题", "框选区域校验不通过，请重新框选客观题",
                                   "框选区域校验不通过，请重新框选客观题"}));
    EXPECT_TRUE(page(0, FaceFront).sections.isEmpty());
    EXPECT_EQ(enabledSteps(), QList<int>({0, 1, 2, 3, 4}));
    // The log says why each grid was refused.
    const QStringList why = log.newRecords(QStringLiteral("Info"), QStringLiteral("getObjectPos refused the frame: "));
    ASSERT_EQ(why.size(), 3);
    EXPECT_TRUE(why[0].endsWith(QStringLiteral("the frame is blank")));
    EXPECT_TRUE(why[1].endsWith(QStringLiteral("no grid of the rows and columns asked lies on printed boxes")));

    // Skip leaves the step empty on purpose; Next takes that back.
    iotest::click(button(QStringLiteral("无客观题，直接跳过")));
    EXPECT_TRUE(answerSheet.jumpObjects);
    EXPECT_EQ(currentStep, StepSubjective);
    goToStep(StepObjective);
    clickNext();
    EXPECT_EQ(desk.texts(), Texts({"请框选客观题！"}));
    EXPECT_FALSE(answerSheet.jumpObjects);
    EXPECT_EQ(currentStep, StepObjective);

    // The first block: counted in the frame, then measured.
    objectiveDialogs.then([](DrawObjectivePanel* dialog) {
        EXPECT_EQ(spin(dialog, "boxNumberBegin"), 1);
        EXPECT_EQ(spin(dialog, "boxNumberEnd"), 5);
        EXPECT_EQ(spin(dialog, "boxCols"), 4);
        pressOk(dialog);
    });
    frame(firstBlock.frame());
    ASSERT_EQ(blocks().size(), 1);
    const SubArea& first = blocks()[0];
    EXPECT_EQ(first.numList, QList<int>({1, 2, 3, 4, 5}));
    expectGridOver(first.frame, firstBlock.boxAt(0, 0), firstBlock.boxAt(4, 3), 2);
    EXPECT_TRUE(shownItems().contains(first.frame));
    EXPECT_EQ(captionOf(first.frame), QStringLiteral("第1~5题(单选)"));
    EXPECT_EQ(enabledSteps(), QList<int>({0, 1, 2, 3, 4, 5}));

    // The next block continues the numbers in the same type; framed 2 px
    // lower, it stands in the first one's row.
    objectiveDialogs.then([](DrawObjectivePanel* dialog) {
        EXPECT_EQ(spin(dialog, "boxNumberBegin"), 6);
        EXPECT_EQ(spin(dialog, "boxNumberEnd"), 10);
        EXPECT_EQ(chosen(dialog, "boxType"), QStringLiteral("单选题"));
        pressOk(dialog);
    });
    frame(secondBlock.frame());
    ASSERT_EQ(blocks().size(), 2);
    const EIRectItem* second = blocks()[1].frame;
    EXPECT_EQ(second->sceneRect().top(), blocks()[0].frame->sceneRect().top());
    expectGridOver(second, secondBlock.boxAt(0, 0).translated(0, -2), secondBlock.boxAt(4, 3).translated(0, -2), 2);

    // A vertical block, deleted, comes back arranged and counted as it was.
    objectiveDialogs.then(answer(QStringLiteral("多选题"), QStringLiteral("竖排"), 11, 15, 4));
    frame(verticalBlock.frame());
    ASSERT_EQ(blocks().size(), 3);
    EXPECT_EQ(std::make_pair(blocks()[2].rows, blocks()[2].count), std::make_pair(4, 5));
    expectGridOver(blocks()[2].frame, verticalBlock.boxAt(0, 0), verticalBlock.boxAt(3, 4), 2);
    emit scene()->itemDeleted(blocks()[2].frame);
    ASSERT_EQ(blocks().size(), 2);
    objectiveDialogs.then([](DrawObjectivePanel* dialog) {
        EXPECT_EQ(chosen(dialog, "boxAlign"), QStringLiteral("竖排"));
        EXPECT_EQ(chosen(dialog, "boxType"), QStringLiteral("多选题"));
        EXPECT_EQ(spin(dialog, "boxNumberBegin"), 11);
        EXPECT_EQ(spin(dialog, "boxNumberEnd"), 15);
        EXPECT_EQ(spin(dialog, "boxCols"), 4);
        pressOk(dialog);
    });
    frame(verticalBlock.frame());
    ASSERT_EQ(blocks().size(), 3);
    EXPECT_EQ(std::make_pair(blocks()[2].rows, blocks()[2].count), std::make_pair(4, 5));
    EXPECT_TRUE(deletedRecords.isEmpty());

    // A refusal now keeps the one section with its blocks.
    objectiveDialogs.then(answer(single, across, 16, 20, 4));
    frame(around(blankPaper));
    EXPECT_EQ(desk.texts(), Texts({"框选区域校验不通过，请重新框选客观题"}));
    EXPECT_EQ(page(0, FaceFront).sections.size(), 1);
    EXPECT_EQ(blocks().size(), 3);

    clickNext();
    EXPECT_EQ(currentStep, StepSubjective);
}

// The block before lends its spacings only where they fit: taken, they
// would lay the taller block's last row 60 px above its print.
TEST_F(Objective, aBlockPrintedToTallerRowsKeepsItsOwnSpacings)
{
    objectiveDialogs.then(answer(QStringLiteral("单选题"), QStringLiteral("横排"), 1, 5, 4));
    objectiveDialogs.then(answer(QStringLiteral("单选题"), QStringLiteral("横排"), 6, 10, 4));
    frame(firstBlock.frame());
    frame(tallerBlock.frame());
    ASSERT_EQ(blocks().size(), 2);
    expectGridOver(blocks()[1].frame, tallerBlock.boxAt(0, 0), tallerBlock.boxAt(4, 3), 2);
}
