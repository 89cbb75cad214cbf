#include "tests/app/steps/framingtest.h"

using namespace framingtest;

namespace {

// Two papers, four faces, a page-number mark printed on each front (and the
// first paper's mark once more on the second paper); titles framed.
class MarksAndSave : public FramingRoad
{
protected:
    void SetUp() override
    {
        FramingRoad::SetUp();
        if (HasFatalFailure())
            return;
        QList<Face> faces;
        for (int i = 0; i < 4; ++i) {
            Face face;
            face.paper = i / 2;
            face.side = i % 2;
            face.pageMarks = true;
            faces.append(face);
        }
        openCard(QStringLiteral("期末卡"), faces);
    }

    void frameTitle(int paper, int face)
    {
        showPage(paper, face);
        frame(around(face == FaceFront ? mainTitle : backTitle));
        EXPECT_FALSE(page(paper, face).title.isEmpty()) << paper << face << testing::PrintToString(desk->texts());
    }

    // An absent mark of the smallest size the step takes, and smaller.
    static QRectF absentFrame() { return QRectF(2000, 1500, 99, 20); }
};

} // namespace

TEST_F(MarksAndSave, pageNumbersAbsentMarksAndTheSaveChecks)
{
    clickNext();
    desk->answers.append(QStringLiteral("否"));
    clickNext();
    desk->texts();
    ASSERT_EQ(currentStep, StepTitles);

    // Titles, the second paper's front last.
    frameTitle(0, FaceFront);
    frameTitle(0, FaceBack);
    frameTitle(1, FaceBack);
    clickNext();
    EXPECT_EQ(desk->texts(), Texts({"请框选第二张正面的标题！"}));
    EXPECT_EQ(pageLabel().toStdString(), "第二张正面");
    frameTitle(1, FaceFront);
    EXPECT_EQ(enabledSteps(), QList<int>({0, 1, 2, 3}));

    // The exam-number to subjective steps are framed elsewhere; their
    // buttons open as those steps would open them.
    window->setStepButtonsEnabled(0, StepOtherMarks);
    goToStep(StepPageNumber);
    ASSERT_EQ(currentStep, StepPageNumber);
    PageSheet& firstFront = page(0, FaceFront);
    PageSheet& secondFront = page(1, FaceFront);

    frame(QRectF(1900, 1300, 19.9, 50));
    frame(QRectF(1900, 1300, 50, 9.9));
    EXPECT_TRUE(desk->texts().empty());
    frame(QRectF(1900, 1300, 99, 20));
    frame(QRectF(1500, 1300, 501, 30));
    EXPECT_EQ(desk->texts(), Texts({"框选的内容太小！请重新框选！", "框选的内容太大！请重新框选！"}));
    EXPECT_TRUE(firstFront.pageNum.isEmpty());

    frame(around(pageMark, 20));
    EXPECT_TRUE(desk->texts().empty());
    ASSERT_EQ(firstFront.pageNum.size(), 1);
    const ImageMark firstMark = firstFront.pageNum[0];
    EXPECT_TRUE(around(pageMark, 20).contains(firstMark.item->sceneRect()));
    EXPECT_EQ(jpegSize(firstMark.base64), firstMark.item->sceneRect().size().toSize());
    EXPECT_TRUE(shownItems().contains(firstMark.item));

    // The first paper's mark printed again on the second paper.
    showPage(1, FaceFront);
    frame(around(copiedMark, 20));
    EXPECT_EQ(desk->texts(), Texts({"框选区域不唯一，校验不通过，请重新框选页码"}));
    EXPECT_TRUE(secondFront.pageNum.isEmpty());

    // A page read from a file may carry two marks; a new one replaces both.
    showPage(0, FaceFront);
    ImageMark extra;
    extra.item = new EIRectItem(QRectF(300, 600, 120, 40), true, 8);
    extra.base64 = firstMark.base64;
    firstFront.addPageNumMark(extra);
    showPage(0, FaceFront);
    ASSERT_TRUE(shownItems().contains(extra.item));
    desk->answers.append(QStringLiteral("是"));
    frame(around(pageMark, 20));
    EXPECT_EQ(desk->texts(), Texts({"当前框选内容已存在，请确认是否删除页码信息并重新框选?"}));
    ASSERT_EQ(firstFront.pageNum.size(), 1);
    for (EIRectItem* replaced : {firstMark.item, extra.item}) {
        EXPECT_TRUE(discardedItems.contains(replaced));
        EXPECT_EQ(replaced->scene(), nullptr);
    }
    EXPECT_TRUE(shownItems().contains(firstFront.pageNum[0].item));

    // The last step: an absent mark may be small, but not too big.
    goToStep(StepOtherMarks);
    ASSERT_EQ(currentStep, StepOtherMarks);
    frame(QRectF(1500, 1300, 501, 30));
    EXPECT_EQ(desk->texts(), Texts({"框选的内容太大！请重新框选！"}));

    // Save asks for what the last step requires, one thing at a time, and
    // shows the page concerned.
    showPage(1, FaceBack);
    clickSave();
    EXPECT_EQ(desk->texts(), Texts({"系统检测到第一张没有框选缺考标记,请框选缺考标记！     "}));
    EXPECT_EQ(pageLabel().toStdString(), "第一张正面");
    EXPECT_TRUE(viewer->findChild<QPushButton*>(QStringLiteral("btnAbsent"))->isChecked());

    frame(absentFrame());
    EXPECT_TRUE(desk->texts().empty());
    ASSERT_TRUE(firstFront.testmark.enabled);
    EXPECT_EQ(firstFront.testmark.item->sceneRect(), absentFrame());
    EXPECT_TRUE(shownItems().contains(firstFront.testmark.item));
    EIRectItem* absent = firstFront.testmark.item;
    desk->answers.append(QStringLiteral("否"));
    frame(absentFrame().translated(0, -100));
    EXPECT_EQ(desk->texts(), Texts({"当前框选内容已存在，请确认是否删除缺考信息并重新框选?"}));
    EXPECT_EQ(firstFront.testmark.item, absent);
    showPage(1, FaceFront);
    frame(absentFrame());

    clickSave();
    EXPECT_EQ(desk->texts(), Texts({"系统检测到第二张的正面没有框选页码标记,请框选页码！      "}));
    EXPECT_EQ(pageLabel().toStdString(), "第二张正面");

    // The current step's button changes nothing; an earlier step is open.
    iotest::click(stepButton(StepOtherMarks));
    EXPECT_EQ(pageLabel().toStdString(), "第二张正面");
    goToStep(StepPageNumber);
    showPage(1, FaceFront);
    frame(around(pageMark, 20));
    EXPECT_TRUE(desk->texts().empty());
    ASSERT_EQ(secondFront.pageNum.size(), 1);

    goToStep(StepOtherMarks);
    clickSave();
    EXPECT_EQ(desk->texts(), Texts({"系统检测到第一张的正面没有框选题目,请框选题目！"}));
    EXPECT_EQ(currentStep, StepSubjective);

    // With questions on every page the save reaches the I/O controller.
    forEachPageOf(answerSheet.sheets, [this](PageSheet& each) { addSubjectiveSection(each); });
    goToStep(StepOtherMarks);
    QSignalSpy saved(window->ioController(), &IOController::saveProjectDone);
    clickSave();
    EXPECT_TRUE(desk->texts().empty());
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(pageLabel().toStdString(), "第一张正面");
}

TEST_F(MarksAndSave, beforeTheLastStepSaveChecksOnlyWhereTheItemsLie)
{
    clickNext();
    ASSERT_EQ(currentStep, StepLines);
    QSignalSpy saved(window->ioController(), &IOController::saveProjectDone);
    clickSave();
    EXPECT_TRUE(desk->texts().empty());
    EXPECT_EQ(saved.count(), 1) << "an unfinished template is saved";

    // Skipping the objective step, then the last step by its button.
    window->setStepButtonsEnabled(0, StepOtherMarks);
    goToStep(StepObjective);
    iotest::click(button(QStringLiteral("无客观题，直接跳过")));
    EXPECT_TRUE(answerSheet.jumpObjects);
    EXPECT_EQ(currentStep, StepSubjective);

    // One absent mark preset on a card of two papers, two framed.
    answerSheet.absentMarkCnt = 1;
    goToStep(StepOtherMarks);
    frame(QRectF(2000, 1500, 120, 40));
    showPage(1, FaceFront);
    frame(QRectF(2000, 1500, 120, 40));
    EXPECT_TRUE(desk->texts().empty());
    clickSave();
    EXPECT_EQ(desk->texts(), Texts({"框选的缺考标记数量与预设的1个数量不一致! "}));

    // A mark moved partly off the page stops both Save and Next.
    page(1, FaceFront).testmark.item->setPos(pageWidth - 60, 1500);
    clickSave();
    EXPECT_EQ(desk->texts(), Texts({"请先移动当前步骤框选的位置到正确的位置!"}));
    EXPECT_EQ(saved.count(), 1);
}
