#include "app/project/iocontroller.h"
#include "app/steps/procedurecontroller.h"
#include "canvas/item/eirectitem.h"
#include "model/answersheet.h"
#include "model/infra/appstate.h"

#include <gtest/gtest.h>

namespace {

// A card of `pages` pages on `papers` papers, nothing framed.
class StepTests : public ::testing::Test
{
protected:
    void card(int papers, int pages)
    {
        answerSheet.clear();
        answerSheet.paperCnt = papers;
        answerSheet.absentMarkCnt = 1;
        IOController::setUpPages(pages);
    }

    void TearDown() override { answerSheet.clear(); }

    PageSheet& page(int index) { return answerSheet.sheets[index / 2][index % 2]; }

    static EIRectItem* item(qreal x, qreal y, qreal w = 120, qreal h = 40) { return new EIRectItem(QRectF(x, y, w, h), true, 8); }

    void absentMark(int index) { page(index).setTestMark(TestMark(SimpleMark{item(10, 10), true})); }

    void section(int index, const QString& type, int step = 0)
    {
        Section s;
        s.type = type;
        s.frame = item(100, 300, 400, 200);
        s.step = step;
        SubArea block;
        block.frame = item(110, 310, 300, 100);
        s.addSubArea(block);
        page(index).addSection(s);
    }
};

} // namespace

TEST_F(StepTests, onlyTheMarkStepsLimitTheFrameSizeAndTooSmallIsToldFirst)
{
    using PC = ProcedureController;
    for (int step : {StepPageNumber, StepOtherMarks}) {
        SCOPED_TRACE(step);
        EXPECT_EQ(PC::checkFrameSize(step, QRect(0, 0, 100, 20)), PC::FrameSizeOk);
        EXPECT_EQ(PC::checkFrameSize(step, QRect(0, 0, 99, 20)), PC::FrameTooSmall);
        EXPECT_EQ(PC::checkFrameSize(step, QRect(0, 0, 500, 400)), PC::FrameSizeOk);
        EXPECT_EQ(PC::checkFrameSize(step, QRect(0, 0, 500, 401)), PC::FrameTooBig);
        EXPECT_EQ(PC::checkFrameSize(step, QRect(0, 0, 501, 30)), PC::FrameTooBig);
        EXPECT_EQ(PC::checkFrameSize(step, QRect(0, 0, 501, 10)), PC::FrameTooSmall);
    }
    for (int step = StepGetTemplate; step <= StepSubjective; ++step)
        EXPECT_EQ(PC::checkFrameSize(step, QRect(0, 0, 3000, 3)), PC::FrameSizeOk) << step;
}

TEST_F(StepTests, aPageNumberMarkOffThePageFailsOnlyTheLastStep)
{
    card(2, 4);
    const QRect pageArea(0, 0, 1000, 700);
    page(2).addPageNumMark(ImageMark{item(950, 20), QStringLiteral("x")});
    EXPECT_TRUE(ProcedureController::itemsInside(StepPageNumber, pageArea));
    EXPECT_FALSE(ProcedureController::itemsInside(StepOtherMarks, pageArea));

    section(1, sectionTypeObject);
    EXPECT_TRUE(ProcedureController::itemsInside(StepObjective, pageArea));
    EXPECT_FALSE(ProcedureController::itemsInside(StepObjective, QRect(0, 0, 300, 300)));
}

TEST_F(StepTests, absentMarksAreCheckedAgainstThePresetCount)
{
    card(2, 4);
    absentMark(0);
    absentMark(2);
    StepPosition p = ProcedureController::stepStatus(StepOtherMarks, 0);
    EXPECT_FALSE(p.complete);
    EXPECT_EQ(p.detail, -1);

    card(2, 4);
    answerSheet.absentMarkCnt = 2;
    absentMark(2);
    p = ProcedureController::stepStatus(StepOtherMarks, 0);
    EXPECT_FALSE(p.complete);
    EXPECT_EQ(p.pageIndex, 0);
    EXPECT_EQ(p.detail, 0);

    absentMark(1);
    EXPECT_TRUE(ProcedureController::stepStatus(StepOtherMarks, 0).complete);

    // A page index beyond the card is not counted, rather than written past the counts.
    card(1, 2);
    page(1).setPageIndex(9);
    absentMark(1);
    EXPECT_FALSE(ProcedureController::stepStatus(StepOtherMarks, 0).complete);
}

TEST_F(StepTests, aSubjectiveSectionStillWaitingForItsMarkLeavesTheStepOpen)
{
    card(1, 2);
    section(1, sectionTypeSubjective, 1);
    EXPECT_TRUE(ProcedureController::hasUnframedOptionalMark());
    EXPECT_FALSE(ProcedureController::stepStatus(StepSubjective, 0).complete);

    const StepPosition framed = ProcedureController::checkSectionsFramed();
    EXPECT_FALSE(framed.complete);
    EXPECT_EQ(framed.pageIndex, 0) << "the front has no section at all";
    EXPECT_EQ(framed.detail, -1);

    section(0, sectionTypeObject);
    const StepPosition pending = ProcedureController::checkSectionsFramed();
    EXPECT_EQ(pending.pageIndex, 1);
    EXPECT_EQ(pending.side, FaceBack);
    EXPECT_EQ(pending.detail, 1);
}

TEST_F(StepTests, workResumesOnTheFirstOpenStep)
{
    card(1, 2);
    EXPECT_EQ(ProcedureController::resumePosition(1).step, StepLines);
    answerSheet.jumpLines = true;
    EXPECT_EQ(ProcedureController::resumePosition(1).step, StepTitles);

    page(0).setTitle(ImageMark{item(10, 10), QStringLiteral("x")});
    page(1).setTitle(ImageMark{item(10, 10), QStringLiteral("x")});
    const StepPosition examNumber = ProcedureController::resumePosition(1);
    EXPECT_EQ(examNumber.step, StepExamNumber);
    EXPECT_EQ(examNumber.pageIndex, 0);
    EXPECT_EQ(examNumber.detail, ProcedureController::StuNoGrid);

    // A barcode on the front is enough; the back needs none.
    page(0).setBarCode(BarCode{item(10, 100), true});
    EXPECT_EQ(ProcedureController::resumePosition(1).step, StepObjective);
    section(0, sectionTypeObject);
    EXPECT_EQ(ProcedureController::resumePosition(1).step, StepSubjective);
    answerSheet.jumpSubjects = true;
    const StepPosition last = ProcedureController::resumePosition(1);
    EXPECT_EQ(last.step, StepOtherMarks);
    EXPECT_FALSE(last.complete);
}
