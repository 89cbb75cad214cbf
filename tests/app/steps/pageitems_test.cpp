#include "tests/app/apptest.h"

#include "app/steps/imageviewer.h"
#include "canvas/eigraphicsscene.h"
#include "canvas/eigraphicsview.h"
#include "canvas/item/eirectitem.h"
#include "model/answersheet.h"

#include <gtest/gtest.h>

namespace {

// One paper whose front holds one item of every kind, and a back with a
// title only; shown in a viewer of its own.
class PageItems : public ::testing::Test
{
protected:
    void SetUp() override
    {
        answerSheet.clear();
        answerSheet.paperCnt = 1;
        IOController::setUpPages(2);
        forEachPageOf(answerSheet.sheets, [](PageSheet& page) {
            QImage image(1200, 800, QImage::Format_RGB32);
            image.fill(Qt::white);
            page.setPixmap(QPixmap::fromImage(image));
        });
        PageSheet& front = answerSheet.sheets[0][0];
        front.addLine(line = item(20, 760, 1100, 12));
        front.setTitle(ImageMark{title = item(300, 20, 400, 50), QStringLiteral("dGl0bGU=")});
        front.ticketNum.enabled = true;
        front.ticketNum.frame = grid = item(40, 100, 300, 200);
        front.setBarCode(BarCode{barcode = item(400, 100, 300, 80), true});
        Section objective;
        objective.type = sectionTypeObject;
        SubArea choices;
        choices.frame = block = item(40, 350, 400, 150);
        objective.addSubArea(choices);
        front.addSection(objective);
        Section subjective;
        subjective.type = sectionTypeSubjective;
        subjective.frame = answer = item(600, 350, 500, 300);
        subjective.addSubArea(SubArea());
        front.addSection(subjective);
        front.addPageNumMark(ImageMark{pageNumber = item(380, 420, 120, 40), QStringLiteral("bnVt")});
        front.setTestMark(TestMark(SimpleMark{absent = item(1000, 20, 150, 40), true}));
        answerSheet.sheets[0][1].setTitle(ImageMark{backTitle = item(300, 20, 400, 50), QStringLiteral("dGl0bGU=")});

        viewer.resize(1100, 700);
        viewer.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    }

    void TearDown() override
    {
        answerSheet.clear();
        currentStep = StepGetTemplate;
    }

    static EIRectItem* item(qreal x, qreal y, qreal w, qreal h) { return new EIRectItem(QRectF(x, y, w, h), true, 8); }

    void show(int step, int face = FaceFront)
    {
        currentStep = step;
        ASSERT_TRUE(viewer.showPage(0, static_cast<EPageFace>(face), false));
    }

    static bool movable(const EIRectItem* i) { return i->isEnabled() && (i->flags() & QGraphicsItem::ItemIsMovable); }
    // Selectable but pinned in place.
    static bool selectOnly(const EIRectItem* i)
    {
        return i->isEnabled() && (i->flags() & QGraphicsItem::ItemIsSelectable) && !(i->flags() & QGraphicsItem::ItemIsMovable);
    }

    QList<EIRectItem*> frontItems() const { return {line, title, grid, barcode, block, answer, pageNumber, absent}; }

    // By object name, or by text for the buttons renamed for their style.
    QPushButton* button(const QString& nameOrText) const
    {
        for (QPushButton* b : viewer.findChildren<QPushButton*>())
            if (b->objectName() == nameOrText || b->text() == nameOrText)
                return b;
        return nullptr;
    }

    testsupport::Watchdog watchdog{60};
    ImageViewer viewer;
    EIRectItem *line, *title, *grid, *barcode, *block, *answer, *pageNumber, *absent, *backTitle;
};

} // namespace

TEST_F(PageItems, eachStepUnlocksOnlyItsOwnItems)
{
    struct Case
    {
        int step;
        QList<EIRectItem*> movableItems;
        QList<EIRectItem*> selectOnlyItems;
    };
    const QList<Case> cases = {
        {StepLines, {}, {line}},
        {StepTitles, {}, {title}},
        {StepObjective, {block}, {}},
        {StepSubjective, {answer}, {}},
        {StepPageNumber, {}, {pageNumber}},
        {StepOtherMarks, {absent}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        show(c.step);
        for (EIRectItem* i : frontItems()) {
            EXPECT_TRUE(i->isVisible());
            EXPECT_EQ(i->scene(), viewer.graphicsView()->scene());
            EXPECT_EQ(movable(i), c.movableItems.contains(i));
            EXPECT_EQ(selectOnly(i), c.selectOnlyItems.contains(i));
        }
        // The page-number mark lies over the question block and stays drawn above it.
        EXPECT_EQ(viewer.graphicsView()->scene()->items(QPointF(420, 440)).value(0), pageNumber);
    }
}

TEST_F(PageItems, theExamNumberSwitchChoosesWhichAreaMovesAndThePageKeepsTheKind)
{
    show(StepExamNumber);
    EXPECT_TRUE(movable(grid));
    EXPECT_FALSE(movable(barcode));
    EXPECT_EQ(answerSheet.sheets[0][0].stuNoMode, 1);

    apptest::click(button(QStringLiteral("btnStuBarCode")));
    EXPECT_TRUE(movable(barcode));
    EXPECT_FALSE(movable(grid));
    EXPECT_EQ(answerSheet.sheets[0][0].stuNoMode, 2);

    // Another page shown on this step takes the switch's kind.
    show(StepExamNumber, FaceBack);
    EXPECT_EQ(answerSheet.sheets[0][1].stuNoMode, 2);
}

TEST_F(PageItems, anotherPageHidesTheseItemsAndComingBackShowsThemAgain)
{
    show(StepTitles);
    show(StepTitles, FaceBack);
    for (EIRectItem* i : frontItems())
        EXPECT_FALSE(i->isVisible());
    EXPECT_TRUE(selectOnly(backTitle));

    show(StepTitles);
    for (EIRectItem* i : frontItems())
        EXPECT_TRUE(i->isVisible());
    EXPECT_FALSE(backTitle->isVisible());
}

TEST_F(PageItems, aSectionWaitingForItsOptionalMarkStaysSelectableAndBlocksPaging)
{
    Section& waiting = answerSheet.sheets[0][0].sections[1];
    waiting.step = 1;
    show(StepTitles);
    EXPECT_TRUE(selectOnly(answer));

    QSignalSpy messages(&viewer, &ImageViewer::showMessage);
    currentStep = StepSubjective;
    EXPECT_FALSE(viewer.showPage(0, FaceBack, false));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.at(0).at(1).toString(), QStringLiteral("请先框选选做题标记！"));
    EXPECT_EQ(viewer.currentPage(), &answerSheet.sheets[0][0]);
}

TEST_F(PageItems, optionalMarkBoxesOnTheSubjectiveStepOfferTheAssociation)
{
    SubArea& optional = answerSheet.sheets[0][0].sections[1].branch[0];
    optional.chooseArea = new EIRectItem(QRectF(10, 10, 200, 40), true, 5, answer);
    optional.choosePosition = {new EIRectItem(QRectF(5, 5, 30, 30), true, 3, optional.chooseArea)};
    viewer.setAssociateButtonVisible(false);

    show(StepTitles);
    EXPECT_FALSE(button(QStringLiteral("关联选做题"))->isVisible());
    show(StepSubjective);
    EXPECT_TRUE(button(QStringLiteral("关联选做题"))->isVisible());
    EXPECT_TRUE(optional.choosePosition[0]->isVisible());
    EXPECT_FALSE(optional.choosePosition[0]->isMenuEnabled());
}

TEST_F(PageItems, theTemplateKeepsItsItemsWhenTheCanvasGoesFirst)
{
    auto* other = new ImageViewer;
    currentStep = StepTitles;
    ASSERT_TRUE(other->showPage(0, FaceFront, false));
    ASSERT_EQ(title->scene(), other->graphicsView()->scene());
    delete other;

    // Still alive for the template, which frees it when its pages go.
    EXPECT_EQ(title->scene(), nullptr);
    EXPECT_EQ(answerSheet.sheets[0][0].title.item, title);
    EXPECT_TRUE(title->isValid());
}
