#include "tests/app/steps/framingtest.h"

#include "app/steps/procedurecontroller.h"

using namespace framingtest;

namespace {

// One paper: the front fed askew by 2°, "注意事项" printed on both faces.
class LinesAndTitles : public FramingRoad
{
protected:
    void SetUp() override
    {
        FramingRoad::SetUp();
        if (!HasFatalFailure())
            openCard({Face{0, FaceFront, true, true, false}, Face{0, FaceBack, false, true, false}});
    }
};

} // namespace

TEST_F(LinesAndTitles, linesStraightenThePageAndTitlesMustBeUniqueOnTheirPaper)
{
    PageSheet& front = page(0, FaceFront);
    PageSheet& back = page(0, FaceBack);
    const QRectF lineFrame = aroundLine(referenceLine, true);
    clickNext();
    ASSERT_EQ(currentStep, StepLines);

    // Slips of the mouse say nothing; frames off the page or without a line are refused.
    frame(QRectF(100, 100, 19.9, 50));
    frame(QRectF(100, 100, 50, 9.9));
    frame(QRectF(lineFrame.x(), lineFrame.y(), pageWidth - lineFrame.x() + 1, lineFrame.height()));
    frame(around(blankArea));
    EXPECT_EQ(desk.texts(), Texts({"请在图像区域内进行框选！", "校验不通过，请框选不少于3cm且连续的横向线段"}));

    answerNext(QStringLiteral("否"));
    clickNext();
    EXPECT_EQ(desk.texts(), Texts({"如果图像有倾斜建议框选线段以矫正,是否需要矫正？"}));
    EXPECT_TRUE(answerSheet.jumpLines);
    EXPECT_EQ(currentStep, StepTitles);

    // The line drawn with the mouse straightens the page it lies on.
    goToStep(StepLines);
    EXPECT_NEAR(measuredTilt(front.image.pixmap, lineFrame), 2.0, 0.2);
    viewdriver::drag(viewer->graphicsView(), lineFrame.topLeft(), lineFrame.bottomRight());
    ASSERT_EQ(front.lineCount(), 1);
    const QRectF line = front.lines[0]->sceneRect().adjusted(-10, -20, 10, 20);
    EXPECT_LT(std::abs(measuredTilt(front.image.pixmap, line)), 0.1);
    EXPECT_EQ(viewer->graphicsView()->pixmap().cacheKey(), front.image.pixmap.cacheKey());
    EXPECT_TRUE(shownItems().contains(front.lines[0]));
    EXPECT_EQ(enabledSteps(), QList<int>({0, 1, 2}));
    clickNext();
    ASSERT_EQ(currentStep, StepTitles);

    // The page check comes before the title check, which would measure
    // only what lies on the page.
    const QRectF title = around(mainTitle);
    frame(QRectF(title.x(), title.y(), pageWidth - title.x() + 1, title.height()));
    frame(aroundLine(thinRule, false));
    frame(around(shortWord));
    frame(around(blankArea));
    frame(around(noticeTitle));
    EXPECT_EQ(desk.texts(), Texts({"请在图像区域内进行框选！", "框选文字标题内容校验不通过，请重新框选文字标题!",
                                   "框选内容过短，校验不通过，请重新框选标题", "框选区域内容较少，校验不通过，请重新框选标题",
                                   "框选内容在试卷中有相似的区域，请重新框选标题"}));
    EXPECT_TRUE(front.title.isEmpty());

    frame(title);
    ASSERT_FALSE(front.title.isEmpty());
    const QRectF refined = front.title.item->sceneRect();
    EXPECT_TRUE(title.contains(refined) && refined.width() < title.width() - 100) << "tightened to the print";
    EXPECT_EQ(jpegSize(front.title.base64), refined.size().toSize());
    EXPECT_TRUE(shownItems().contains(front.title.item));

    clickNext();
    EXPECT_EQ(desk.texts(), Texts({"请框选反面的标题！"}));
    EXPECT_EQ(label(), "反面");

    // Next on a later step names the step where the work is missing.
    addSubjectiveSection(front);
    addSubjectiveSection(back);
    window->setStepButtonsEnabled(0, StepSubjective);
    goToStep(StepSubjective);
    clickNext();
    EXPECT_EQ(desk.texts(), Texts({"请框选反面的标题！"}));
    EXPECT_EQ(currentStep, StepSubjective);
    EXPECT_EQ(label(), "反面");

    goToStep(StepTitles);
    showPage(0, FaceBack);
    frame(around(backTitle));
    ASSERT_FALSE(back.title.isEmpty());
    EXPECT_EQ(jpegSize(back.title.base64), back.title.item->sceneRect().size().toSize());
    EIRectItem* backItem = back.title.item;
    answerNext(QStringLiteral("否"));
    frame(around(backTitle));
    EXPECT_EQ(back.title.item, backItem);
    answerNext(QStringLiteral("是"));
    frame(around(backTitle));
    EXPECT_EQ(desk.texts(), Texts(2, "当前框选内容已存在，请确认是否删除标题信息并重新框选?"));
    EXPECT_TRUE(back.title.item != backItem && discardedItems.contains(backItem) && !backItem->scene());
    clickNext();
    EXPECT_EQ(currentStep, StepExamNumber);

    // A new line once titles exist clears all framing, on the operator's word.
    goToStep(StepLines);
    answerNext(QStringLiteral("否"));
    frame(line);
    EXPECT_TRUE(front.lineCount() == 1 && !front.title.isEmpty() && !back.title.isEmpty());
    answerNext(QStringLiteral("是"));
    frame(line);
    EXPECT_EQ(desk.texts(), Texts(2, "继续框选线段将清空已经完成的所有操作,是否继续？     "));
    EXPECT_EQ(front.lineCount(), 1) << "the new line is kept";
    EXPECT_TRUE(front.title.isEmpty() && back.title.isEmpty() && front.sections.isEmpty() && back.sections.isEmpty());
    EXPECT_EQ(shownItems(), QList<EIRectItem*>({front.lines[0]}));
    EXPECT_EQ(enabledSteps(), QList<int>({0, 1, 2}));
}

TEST_F(LinesAndTitles, aControllerOfItsOwnShowsItsRefusalWithoutTheWindowsOverlay)
{
    clickNext();
    answerNext(QStringLiteral("否"));
    clickNext();
    ASSERT_EQ(currentStep, StepTitles);
    desk.texts();
    bool sawOverlay = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { sawOverlay = sawOverlay || overlayUp(); });
    watch.start(1);

    // Made without a parent, as a caller that only asks a question would.
    ProcedureController loose;
    EXPECT_FALSE(loose.validateTitleFrame(around(blankArea), viewer));
    EXPECT_EQ(desk.onOwn, QList<bool>({true}));
    EXPECT_EQ(desk.texts(), Texts({"框选区域内容较少，校验不通过，请重新框选标题"}));
    EXPECT_FALSE(sawOverlay);

    // The window's own controller shows it on the overlay.
    frame(around(blankArea));
    EXPECT_EQ(desk.onOwn, QList<bool>({false}));
    EXPECT_EQ(desk.texts(), Texts({"框选区域内容较少，校验不通过，请重新框选标题"}));
    EXPECT_TRUE(sawOverlay);
}
