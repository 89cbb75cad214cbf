#include "tests/app/steps/questionstest.h"

using namespace questionstest;

namespace {

class ExamNumber : public QuestionRoad
{
protected:
    void startOn(const QList<QImage>& faces)
    {
        openSheets(faces, false);
        window->setStepButtonsEnabled(0, StepOtherMarks);
        goToStep(StepExamNumber);
    }

    // The grid of the page's exam-number area against the drawn one.
    static void expectOver(const TicketNum& area, const ExamGrid& drawn)
    {
        ASSERT_TRUE(area.enabled && area.frame);
        EXPECT_EQ(area.rows, ExamGrid::rows);
        EXPECT_EQ(area.count, drawn.columns);
        const QRectF first = drawn.firstBubble();
        const QPointF last = first.topLeft()
                           + QPointF((drawn.columns - 1) * ExamGrid::cellWidth, (ExamGrid::rows - 1) * ExamGrid::rowPitch);
        expectGridOver(area.frame, first, QRectF(last, first.size()), 3);
    }

    QPushButton* barcodeSwitch() const { return viewer->findChild<QPushButton*>(QStringLiteral("btnStuBarCode")); }
};

} // namespace

TEST_F(ExamNumber, aGridIsCountedConfirmedAndMeasuredABarcodeTakenAsFramed)
{
    const ExamGrid front{QPoint(200, 300), 9};
    const ExamGrid back{QPoint(180, 320), 12};
    startOn({questionSheet(front), questionSheet(back)});
    PageSheet& frontPage = page(0, FaceFront);
    PageSheet& backPage = page(0, FaceBack);

    // The dialog opens with the digits counted.
    examNumberDialogs.then([](DrawStuNoPanel* dialog) {
        EXPECT_EQ(spin(dialog, "boxStuNoLens"), 9);
        EXPECT_EQ(spin(dialog, "boxChosenCnt"), 10);
        pressOk(dialog);
    });
    frame(front.frame(12));
    expectOver(frontPage.ticketNum, front);
    EXPECT_TRUE(shownItems().contains(frontPage.ticketNum.frame));
    EXPECT_EQ(enabledSteps(), QList<int>({0, 1, 2, 3, 4}));

    // A card of one paper asks on every face, even with the front framed.
    showPage(0, FaceBack);
    examNumberDialogs.then([](DrawStuNoPanel* dialog) {
        EXPECT_EQ(spin(dialog, "boxStuNoLens"), 12);
        pressOk(dialog);
    });
    frame(back.frame());
    expectOver(backPage.ticketNum, back);
    EXPECT_TRUE(desk.texts().empty());

    // Blank paper, and half the grid framed for the whole number, pass the
    // dialog and fail the measurement: the page keeps the grid it had.
    EIRectItem* kept = backPage.ticketNum.frame;
    answerNext(QStringLiteral("是"));
    examNumberDialogs.then([](DrawStuNoPanel* dialog) { pressOk(dialog); });
    frame(around(blankPaper));
    EXPECT_EQ(desk.texts(), Texts({"当前框选内容已存在，请确认是否删除考号信息并重新框选?",
                                   "框选区域校验不通过，请重新框选准考证号"}));
    answerNext(QStringLiteral("是"));
    examNumberDialogs.then([](DrawStuNoPanel* dialog) {
        setSpin(dialog, "boxStuNoLens", 12);
        pressOk(dialog);
    });
    const QRectF whole = back.frame();
    frame(QRectF(whole.topLeft(), QSizeF(whole.width() / 2, whole.height())));
    EXPECT_EQ(desk.texts(), Texts({"当前框选内容已存在，请确认是否删除考号信息并重新框选?",
                                   "框选区域校验不通过，请重新框选准考证号"}));
    expectOver(backPage.ticketNum, back);
    EXPECT_TRUE(backPage.ticketNum.frame == kept && shownItems().contains(kept) && !discardedItems.contains(kept));

    // "否" keeps the grid, and so does a dialog cancelled after "是".
    showPage(0, FaceFront);
    kept = frontPage.ticketNum.frame;
    answerNext(QStringLiteral("否"));
    frame(front.frame(12));
    EXPECT_EQ(frontPage.ticketNum.frame, kept);
    answerNext(QStringLiteral("是"));
    examNumberDialogs.then([](DrawStuNoPanel* dialog) { press(dialog, QStringLiteral("取消")); });
    frame(front.frame(12));
    EXPECT_EQ(desk.texts(), Texts({"当前框选内容已存在，请确认是否删除考号信息并重新框选?",
                                   "当前框选内容已存在，请确认是否删除考号信息并重新框选?"}));
    EXPECT_TRUE(frontPage.ticketNum.frame == kept && shownItems().contains(kept));

    // The barcode, drawn with the mouse, is taken as framed, with no
    // dialog, and shown at once.
    iotest::click(barcodeSwitch());
    viewdriver::drag(viewer->graphicsView(), QPointF(1700, 600), QPointF(2100, 720));
    ASSERT_TRUE(frontPage.barCode.enabled);
    EIRectItem* firstBarcode = frontPage.barCode.item;
    const QRectF drawn = firstBarcode->sceneRect();
    EXPECT_NEAR(drawn.left(), 1700, 3);
    EXPECT_NEAR(drawn.bottom(), 720, 3);
    EXPECT_TRUE(shownItems().contains(firstBarcode));
    answerNext(QStringLiteral("是"));
    frame(QRectF(1700, 800, 400, 120));
    EXPECT_EQ(desk.texts(), Texts({"当前框选内容已存在，请确认是否删除条码信息并重新框选?"}));
    EXPECT_EQ(frontPage.barCode.item->sceneRect(), QRectF(1700, 800, 400, 120));
    EXPECT_TRUE(discardedItems.contains(firstBarcode) && !firstBarcode->scene());
    EXPECT_EQ(examNumberDialogs.shown, 5);
}

TEST_F(ExamNumber, theSecondPaperTakesTheFirstPapersGridWithoutAsking)
{
    const ExamGrid first{QPoint(200, 300), 12};
    const ExamGrid second{QPoint(240, 280), 12};
    startOn({questionSheet(first), questionSheet(first), questionSheet(second), questionSheet(second)});

    examNumberDialogs.then([](DrawStuNoPanel* dialog) {
        setSpin(dialog, "boxChosenCnt", 10);
        pressOk(dialog);
    });
    frame(first.frame());
    const TicketNum& lender = page(0, FaceFront).ticketNum;
    expectOver(lender, first);
    // Framed again, the grid kept until then lends nothing to its own page,
    // and leaves the canvas for the one measured.
    EIRectItem* replaced = lender.frame;
    answerNext(QStringLiteral("是"));
    examNumberDialogs.then([](DrawStuNoPanel* dialog) {
        setSpin(dialog, "boxChosenCnt", 10);
        pressOk(dialog);
    });
    frame(first.frame());
    expectOver(lender, first);
    EXPECT_TRUE(discardedItems.contains(replaced) && !replaced->scene() && shownItems().contains(lender.frame));

    showPage(1, FaceFront);
    frame(second.frame(10));
    const TicketNum& taker = page(1, FaceFront).ticketNum;
    expectOver(taker, second);
    EXPECT_EQ(examNumberDialogs.shown, 2);
    EXPECT_EQ(firstBoxOnPage(taker.frame).size(), firstBoxOnPage(lender.frame).size());
    EXPECT_DOUBLE_EQ(taker.frame->rowSpacing(), lender.frame->rowSpacing());
    EXPECT_DOUBLE_EQ(taker.frame->columnSpacing(), lender.frame->columnSpacing());

    // What a hand-edited file may lend: a grid larger than any sheet has is
    // refused before anything is measured, one of no rows once it cannot be
    // laid out; neither leaves an area behind nor takes the framed one away.
    const int itemsBefore = scene()->items().size();
    page(0, FaceFront).ticketNum.rows = 51;
    answerNext(QStringLiteral("是"));
    frame(second.frame(10));
    page(0, FaceFront).ticketNum.rows = 0;
    answerNext(QStringLiteral("是"));
    frame(second.frame(10));
    const std::string replace = "当前框选内容已存在，请确认是否删除考号信息并重新框选?";
    EXPECT_EQ(desk.texts(), Texts({replace, replace, "请检查输入的参数是否正确！", replace,
                                   "框选区域校验不通过，请重新框选准考证号"}));
    expectOver(taker, second);
    EXPECT_EQ(scene()->items().size(), itemsBefore);
    EXPECT_EQ(examNumberDialogs.shown, 2);
}
