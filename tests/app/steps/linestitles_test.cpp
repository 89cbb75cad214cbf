#include "tests/app/steps/framingtest.h"

#include "app/steps/procedurecontroller.h"

using namespace framingtest;

namespace {

// One paper: its front fed askew by 2°, "注意事项" printed on both faces.
class LinesAndTitles : public FramingRoad
{
protected:
    void SetUp() override
    {
        FramingRoad::SetUp();
        if (HasFatalFailure())
            return;
        Face front;
        front.tilted = true;
        front.notice = true;
        Face back;
        back.side = FaceBack;
        back.notice = true;
        openCard(QStringLiteral("期中卡"), {front, back});
    }

    // The front's title as the operator frames it.
    static QRectF titleFrame() { return around(mainTitle); }
};

} // namespace

TEST_F(LinesAndTitles, linesStraightenThePageAndTitlesMustBeUniqueOnTheirPaper)
{
    PageSheet& front = page(0, FaceFront);
    PageSheet& back = page(0, FaceBack);
    const QRectF lineFrame = aroundLine(referenceLine, true);
    EXPECT_NEAR(measuredTilt(front.image.pixmap, lineFrame), tilt, 0.2) << "the intake kept the sheet as fed";

    clickNext();
    ASSERT_EQ(currentStep, StepLines);

    // Slips of the mouse and frames off the page.
    frame(QRectF(100, 100, 19.9, 50));
    frame(QRectF(100, 100, 50, 9.9));
    EXPECT_TRUE(desk->texts().empty());
    frame(QRectF(lineFrame.x(), lineFrame.y(), pageWidth - lineFrame.x() + 1, lineFrame.height()));
    EXPECT_EQ(desk->texts(), Texts({"请在图像区域内进行框选！"}));
    frame(around(blankArea));
    EXPECT_EQ(desk->texts(), Texts({"校验不通过，请框选不少于3cm且连续的横向线段"}));
    EXPECT_EQ(front.lineCount(), 0);

    // Next without any line offers to skip the step.
    desk->answers.append(QStringLiteral("否"));
    clickNext();
    EXPECT_EQ(desk->texts(), Texts({"如果图像有倾斜建议框选线段以矫正,是否需要矫正？"}));
    EXPECT_TRUE(answerSheet.jumpLines);
    EXPECT_EQ(currentStep, StepTitles);

    // Back to the lines: the line drawn with the mouse straightens the page.
    goToStep(StepLines);
    ASSERT_EQ(currentStep, StepLines);
    const QPixmap fed = front.image.pixmap;
    viewdriver::drag(viewer->graphicsView(), lineFrame.topLeft(), lineFrame.bottomRight());
    EXPECT_TRUE(desk->texts().empty());
    ASSERT_EQ(front.lineCount(), 1);
    EXPECT_NE(front.image.pixmap.cacheKey(), fed.cacheKey());
    EXPECT_EQ(viewer->graphicsView()->pixmap().cacheKey(), front.image.pixmap.cacheKey()) << "the canvas shows it";
    const QRectF line = front.lines[0]->sceneRect();
    EXPECT_LT(std::abs(measuredTilt(front.image.pixmap, line.adjusted(-10, -20, 10, 20))), 0.1);
    EXPECT_TRUE(shownItems().contains(front.lines[0]));
    EXPECT_EQ(enabledSteps(), QList<int>({0, 1, 2}));

    clickNext();
    ASSERT_EQ(currentStep, StepTitles);

    // A frame one pixel past the page is refused before the title check
    // measures what lies on the page.
    frame(QRectF(titleFrame().x(), titleFrame().y(), pageWidth - titleFrame().x() + 1, titleFrame().height()));
    EXPECT_EQ(desk->texts(), Texts({"请在图像区域内进行框选！"}));
    EXPECT_TRUE(front.title.isEmpty());

    frame(aroundLine(thinRule, false));
    frame(around(shortWord));
    frame(around(blankArea));
    frame(around(noticeTitle));
    EXPECT_EQ(desk->texts(), Texts({"框选文字标题内容校验不通过，请重新框选文字标题!",
                                          "框选内容过短，校验不通过，请重新框选标题",
                                          "框选区域内容较少，校验不通过，请重新框选标题",
                                          "框选内容在试卷中有相似的区域，请重新框选标题"}));
    EXPECT_TRUE(front.title.isEmpty());

    frame(titleFrame());
    EXPECT_TRUE(desk->texts().empty());
    ASSERT_FALSE(front.title.isEmpty());
    const QRectF title = front.title.item->sceneRect();
    EXPECT_TRUE(titleFrame().contains(title));
    EXPECT_LT(title.width(), titleFrame().width()) << "tightened to the print";
    EXPECT_EQ(jpegSize(front.title.base64), title.size().toSize());
    EXPECT_TRUE(shownItems().contains(front.title.item));

    // Next with the back untitled shows the back and says so.
    clickNext();
    EXPECT_EQ(desk->texts(), Texts({"请框选反面的标题！"}));
    EXPECT_EQ(currentStep, StepTitles);
    EXPECT_EQ(pageLabel().toStdString(), "反面");

    // Next on a later step names the step where the work is missing.
    addSubjectiveSection(front);
    addSubjectiveSection(back);
    window->setStepButtonsEnabled(0, StepSubjective);
    goToStep(StepSubjective);
    clickNext();
    EXPECT_EQ(desk->texts(), Texts({"请框选反面的标题！"}));
    EXPECT_EQ(currentStep, StepSubjective);
    EXPECT_EQ(pageLabel().toStdString(), "反面");

    goToStep(StepTitles);
    showPage(0, FaceBack);
    frame(around(backTitle));
    EXPECT_TRUE(desk->texts().empty());
    ASSERT_FALSE(back.title.isEmpty());
    EXPECT_EQ(jpegSize(back.title.base64), back.title.item->sceneRect().size().toSize());

    // Replacing a title asks first; "否" keeps it.
    EIRectItem* backItem = back.title.item;
    desk->answers.append(QStringLiteral("否"));
    frame(around(backTitle));
    EXPECT_EQ(desk->texts(), Texts({"当前框选内容已存在，请确认是否删除标题信息并重新框选?"}));
    EXPECT_EQ(back.title.item, backItem);
    desk->answers.append(QStringLiteral("是"));
    frame(around(backTitle));
    EXPECT_EQ(desk->texts(), Texts({"当前框选内容已存在，请确认是否删除标题信息并重新框选?"}));
    EXPECT_NE(back.title.item, backItem);
    EXPECT_TRUE(discardedItems.contains(backItem));
    EXPECT_EQ(backItem->scene(), nullptr);

    clickNext();
    EXPECT_TRUE(desk->texts().empty());
    EXPECT_EQ(currentStep, StepExamNumber);

    // A new line once titles exist clears all framing, on the operator's word.
    goToStep(StepLines);
    desk->answers.append(QStringLiteral("否"));
    frame(line.adjusted(-10, -20, 10, 20));
    EXPECT_EQ(desk->texts(), Texts({"继续框选线段将清空已经完成的所有操作,是否继续？     "}));
    EXPECT_EQ(front.lineCount(), 1);
    EXPECT_FALSE(front.title.isEmpty());
    EXPECT_FALSE(back.title.isEmpty());

    desk->answers.append(QStringLiteral("是"));
    frame(line.adjusted(-10, -20, 10, 20));
    EXPECT_EQ(desk->texts(), Texts({"继续框选线段将清空已经完成的所有操作,是否继续？     "}));
    EXPECT_EQ(front.lineCount(), 1) << "the new line is kept";
    EXPECT_TRUE(front.title.isEmpty());
    EXPECT_TRUE(back.title.isEmpty());
    EXPECT_TRUE(front.sections.isEmpty());
    EXPECT_TRUE(back.sections.isEmpty());
    EXPECT_EQ(shownItems(), QList<EIRectItem*>({front.lines[0]}));
    EXPECT_EQ(enabledSteps(), QList<int>({0, 1, 2}));
}

TEST_F(LinesAndTitles, aControllerOfItsOwnShowsItsRefusalWithoutTheWindowsOverlay)
{
    clickNext();
    desk->answers.append(QStringLiteral("否"));
    clickNext();
    ASSERT_EQ(currentStep, StepTitles);
    EXPECT_EQ(desk->texts(), Texts({"如果图像有倾斜建议框选线段以矫正,是否需要矫正？"}));

    bool sawOverlay = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { sawOverlay = sawOverlay || overlayUp(); });
    watch.start(1);

    // Made without a parent, as a caller that only asks a question would.
    ProcedureController loose;
    EXPECT_FALSE(loose.validateTitleFrame(around(blankArea), viewer));
    EXPECT_EQ(desk->onOwn, QList<bool>({true}));
    EXPECT_EQ(desk->texts(), Texts({"框选区域内容较少，校验不通过，请重新框选标题"}));
    EXPECT_FALSE(sawOverlay);

    // The window's own controller shows the same refusal on its overlay.
    frame(around(blankArea));
    EXPECT_EQ(desk->onOwn, QList<bool>({false}));
    EXPECT_EQ(desk->texts(), Texts({"框选区域内容较少，校验不通过，请重新框选标题"}));
    EXPECT_TRUE(sawOverlay);
    EXPECT_TRUE(page(0, FaceFront).title.isEmpty());
}
