#include "tests/app/steps/framingtest.h"

using namespace framingtest;

namespace {

// Two papers, four faces; a page-number mark on each front, and the first
// paper's mark printed once more on the second paper.
class MarksAndSave : public FramingRoad
{
protected:
    void SetUp() override
    {
        FramingRoad::SetUp();
        if (HasFatalFailure())
            return;
        QList<Face> faces;
        for (int i = 0; i < 4; ++i)
            faces.append(Face{i / 2, i % 2, false, false, true});
        openCard(faces);
        clickNext();
        answerNext(QStringLiteral("否"));
        clickNext();
        desk.texts();
    }

    void frameTitle(int paper, int face)
    {
        showPage(paper, face);
        frame(around(face == FaceFront ? mainTitle : backTitle));
        EXPECT_FALSE(page(paper, face).title.isEmpty()) << paper << face;
    }
};

} // namespace

TEST_F(MarksAndSave, pageNumbersAbsentMarksAndTheSaveChecks)
{
    frameTitle(0, FaceFront);
    frameTitle(0, FaceBack);
    frameTitle(1, FaceBack);
    clickNext();
    EXPECT_EQ(desk.texts(), Texts({"请框选第二张正面的标题！"}));
    EXPECT_EQ(label(), "第二张正面");
    frameTitle(1, FaceFront);

    // The steps between are framed elsewhere; their buttons open as they would.
    window->setStepButtonsEnabled(0, StepOtherMarks);
    goToStep(StepPageNumber);
    PageSheet& firstFront = page(0, FaceFront);
    PageSheet& secondFront = page(1, FaceFront);
    frame(QRectF(1900, 1300, 19.9, 50));
    frame(QRectF(1900, 1300, 50, 9.9));
    frame(QRectF(1900, 1300, 99, 20));
    frame(QRectF(1500, 1300, 501, 30));
    EXPECT_EQ(desk.texts(), Texts({"框选的内容太小！请重新框选！", "框选的内容太大！请重新框选！"}));

    frame(around(pageMark, 20));
    ASSERT_EQ(firstFront.pageNum.size(), 1);
    const ImageMark firstMark = firstFront.pageNum[0];
    EXPECT_EQ(jpegSize(firstMark.base64), firstMark.item->sceneRect().size().toSize());
    EXPECT_TRUE(shownItems().contains(firstMark.item));
    showPage(1, FaceFront);
    frame(around(copiedMark, 20));
    EXPECT_EQ(desk.texts(), Texts({"框选区域不唯一，校验不通过，请重新框选页码"}));
    EXPECT_TRUE(secondFront.pageNum.isEmpty());

    // A page read from a file may carry two marks: a new one replaces both.
    ImageMark extra{new EIRectItem(QRectF(300, 600, 120, 40), true, 8), firstMark.base64};
    firstFront.addPageNumMark(extra);
    showPage(0, FaceFront);
    answerNext(QStringLiteral("是"));
    frame(around(pageMark, 20));
    EXPECT_EQ(desk.texts(), Texts({"当前框选内容已存在，请确认是否删除页码信息并重新框选?"}));
    ASSERT_EQ(firstFront.pageNum.size(), 1);
    for (EIRectItem* replaced : {firstMark.item, extra.item})
        EXPECT_TRUE(discardedItems.contains(replaced) && !replaced->scene());

    // The last step takes a small absent mark; Save asks for what is missing.
    goToStep(StepOtherMarks);
    showPage(1, FaceBack);
    clickSave();
    EXPECT_EQ(desk.texts(), Texts({"系统检测到第一张没有框选缺考标记,请框选缺考标记！     "}));
    EXPECT_EQ(label(), "第一张正面");
    EXPECT_TRUE(viewer->findChild<QPushButton*>(QStringLiteral("btnAbsent"))->isChecked());
    frame(QRectF(2000, 1500, 99, 20));
    ASSERT_TRUE(firstFront.testmark.enabled);
    EXPECT_EQ(firstFront.testmark.item->sceneRect(), QRectF(2000, 1500, 99, 20));
    EXPECT_TRUE(shownItems().contains(firstFront.testmark.item));
    showPage(1, FaceFront);
    frame(QRectF(2000, 1500, 99, 20));
    clickSave();
    EXPECT_EQ(desk.texts(), Texts({"系统检测到第二张的正面没有框选页码标记,请框选页码！      "}));
    EXPECT_EQ(label(), "第二张正面");

    // The current step's button does nothing; an earlier step is open.
    goToStep(StepOtherMarks);
    EXPECT_EQ(label(), "第二张正面");
    goToStep(StepPageNumber);
    showPage(1, FaceFront);
    frame(around(pageMark, 20));
    ASSERT_EQ(secondFront.pageNum.size(), 1);
    goToStep(StepOtherMarks);
    clickSave();
    EXPECT_EQ(desk.texts(), Texts({"系统检测到第一张的正面没有框选题目,请框选题目！"}));
    EXPECT_EQ(currentStep, StepSubjective);

    // Complete: the save reaches the I/O controller, which asks for a folder.
    forEachPageOf(answerSheet.sheets, [](PageSheet& each) { addSubjectiveSection(each); });
    goToStep(StepOtherMarks);
    QSignalSpy saved(window->ioController(), &IOController::saveProjectDone);
    folderAnswers = QStringList{scratch.path()};
    answerNext(QStringLiteral("否"));
    clickSave();
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(folderAsks, 1);
    EXPECT_EQ(desk.texts(), Texts({"保存完成，是否打开所在文件夹?"}));
}

TEST_F(MarksAndSave, beforeTheLastStepSaveChecksOnlyWhereTheItemsLie)
{
    QSignalSpy saved(window->ioController(), &IOController::saveProjectDone);
    folderAnswers = QStringList{scratch.path()};
    clickSave();
    EXPECT_EQ(saved.count(), 1) << "an unfinished template is saved";
    EXPECT_EQ(desk.texts(), Texts({"已保存成功!请在所有步骤框选完成后进行绑定！   "}));

    window->setStepButtonsEnabled(0, StepOtherMarks);
    goToStep(StepObjective);
    iotest::click(button(QStringLiteral("无客观题，直接跳过")));
    EXPECT_TRUE(answerSheet.jumpObjects && currentStep == StepSubjective);
    goToStep(StepOtherMarks);
    frame(QRectF(2000, 1500, 120, 40));
    page(0, FaceFront).testmark.item->setPos(pageWidth - 60, 1500);
    clickSave();
    EXPECT_EQ(desk.texts(), Texts({"请先移动当前步骤框选的位置到正确的位置!"}));
    EXPECT_EQ(saved.count(), 1);
}
