// Optional-question groups, the question numbering of a save and the
// scoring of optional-mark boxes on the page picture.

#include "tests/model/modelfixtures.h"

#include <QPainter>
#include <QTimer>

using namespace modeltest;

namespace {

class OptionalQuestions : public ModelTest
{
protected:
    // Appends a page with a white picture to the given paper. The reference
    // lasts until the next page is added.
    PageSheet& addPage(int paper, int width = 800, int height = 600)
    {
        if (card.sheets.size() <= paper)
            card.sheets.resize(paper + 1);
        PageSheet page;
        page.setPageIndex(paper * 2 + card.sheets[paper].size());
        page.setSide(card.sheets[paper].size());
        page.setPixmap(drawnPage(width, height));
        card.sheets[paper].append(page);
        return card.sheets[paper].last();
    }

    static SubArea block(int first, int last, int type)
    {
        SubArea made;
        made.subAreaTopicType = type;
        made.appendNumRange(first, last);
        made.frame = frameItem(QRectF(10, 10, 100, 100));
        return made;
    }

    static Section objective(std::initializer_list<std::pair<int, int>> ranges)
    {
        Section section;
        section.type = sectionTypeObject;
        section.frame = frameItem(QRectF(10, 10, 500, 300));
        for (const auto& range : ranges)
            section.branch.append(block(range.first, range.second, 0));
        return section;
    }

    // A subjective section at `frame` with one block; `marks` boxes inside
    // a mark area at (20, 30) of the frame, 100 apart.
    static Section subjective(int first, int last, int marks = 0, const QRectF& frame = QRectF(100, 100, 400, 200))
    {
        Section section;
        section.type = sectionTypeSubjective;
        section.frame = frameItem(frame);
        SubArea answer = block(first, last, 4);
        if (marks > 0)
            answer.chooseArea = new EIRectItem(QRectF(20, 30, 300, 60), true, 5, section.frame);
        for (int i = 0; i < marks; ++i)
            answer.choosePosition.append(new EIRectItem(QRectF(10 + 100 * i, 10, 40, 30), true, 3, answer.chooseArea));
        section.branch.append(answer);
        return section;
    }

    static SubArea& onlyBlock(PageSheet& page, int section) { return page.sections[section].branch[0]; }
};

void fillOnPage(PageSheet& page, const QRect& rect)
{
    QPixmap picture = page.image.pixmap;
    QPainter painter(&picture);
    painter.fillRect(rect, Qt::black);
    painter.end();
    page.setPixmap(picture);
}

} // namespace

TEST_F(OptionalQuestions, everyQuestionOfTheCardIsNumberedOnSave)
{
    PageSheet& page = addPage(0);
    page.addSection(objective({{1, 5}, {6, 10}}));
    page.addSection(subjective(11, 12));
    // A merged block without partner is numbered like any other.
    page.addSection(subjective(22, 23));
    onlyBlock(page, 2).merge = true;
    ASSERT_TRUE(card.checkOptionalMarks());
    EXPECT_EQ(page.sections[0].branch[0].ixList, (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(page.sections[0].branch[1].ixList, (QList<int>{6, 7, 8, 9, 10}));
    EXPECT_EQ(onlyBlock(page, 1).ixList, (QList<int>{11, 12}));
    EXPECT_EQ(onlyBlock(page, 2).ixList, (QList<int>{13, 14}));
}

TEST_F(OptionalQuestions, mergedBlockTakesItsPartnersIndexesAndMarks)
{
    PageSheet& front = addPage(0);
    front.addSection(objective({{1, 13}}));
    front.addSection(subjective(22, 23, 2));
    onlyBlock(front, 1).chooseTopicGroup = 4;
    onlyBlock(front, 1).chooseTopicModel = 1;
    PageSheet& back = addPage(0);
    back.addSection(subjective(22, 23));
    onlyBlock(back, 0).merge = true;
    back.addSection(subjective(24, 24));

    ASSERT_TRUE(card.checkOptionalMarks());
    const SubArea& partner = onlyBlock(card.sheets[0][0], 1);
    const SubArea& merged = onlyBlock(card.sheets[0][1], 0);
    EXPECT_EQ(partner.ixList, (QList<int>{14, 15}));
    EXPECT_EQ(merged.ixList, (QList<int>{14, 15}));
    EXPECT_EQ(merged.choosePosition, partner.choosePosition);
    EXPECT_EQ(merged.chooseTopicGroup, 4);
    EXPECT_EQ(merged.chooseTopicModel, 1);
    EXPECT_EQ(onlyBlock(card.sheets[0][1], 1).ixList, QList<int>{16});
}

TEST_F(OptionalQuestions, mergedBlockNeverTakesIndexesLeftByAnEarlierSave)
{
    // The block with the same numbers comes later in the card and still
    // holds the indexes of the last save.
    PageSheet& front = addPage(0);
    front.addSection(subjective(30, 31));
    onlyBlock(front, 0).merge = true;
    PageSheet& back = addPage(0);
    back.addSection(subjective(30, 31));
    onlyBlock(back, 0).ixList = {99, 100};

    for (int save = 0; save < 2; ++save) {
        ASSERT_TRUE(card.checkOptionalMarks());
        EXPECT_EQ(onlyBlock(card.sheets[0][0], 0).ixList, (QList<int>{1, 2})) << save;
        EXPECT_EQ(onlyBlock(card.sheets[0][1], 0).ixList, (QList<int>{3, 4})) << save;
    }
}

TEST_F(OptionalQuestions, cardChangedWhileTheCheckLetsEventsRunIsNotReadPastItsEnd)
{
    addPage(0).addSection(subjective(22, 23, 2));
    addPage(1).addSection(subjective(22, 23));
    onlyBlock(card.sheets[1][0], 0).merge = true;

    // The event loop runs before each paper; before the second one, the
    // first paper's pages (the merged block's partner) go away.
    AnswerSheet gone;
    bool firstPaperWasNumbered = false;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            firstPaperWasNumbered = !onlyBlock(card.sheets[0][0], 0).ixList.isEmpty();
            gone.sheets = {card.sheets[0]};
            card.sheets[0].clear();
        });
    });
    ASSERT_TRUE(card.checkOptionalMarks());
    ASSERT_TRUE(firstPaperWasNumbered);
    EXPECT_EQ(onlyBlock(card.sheets[1][0], 0).ixList, (QList<int>{3, 4}));
    gone.clearPages();
}

TEST_F(OptionalQuestions, marksAreScoredWhereTheyLieOnThePage)
{
    PageSheet& page = addPage(0);
    page.addSection(subjective(21, 22, 2));
    // Frame (100, 100) + area (20, 30) + box (10, 10): the first box covers
    // (130, 140) on the page; the second, 100 further right, is left empty
    // with its printed outline.
    fillOnPage(page, QRect(130, 140, 40, 30));
    QPixmap picture = page.image.pixmap;
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(QRect(230, 140, 39, 29));
    painter.end();
    page.setPixmap(picture);

    ASSERT_TRUE(card.checkOptionalMarks());
    const QList<int>& scores = onlyBlock(card.sheets[0][0], 0).choseScore;
    ASSERT_EQ(scores.size(), 2);
    EXPECT_GT(scores[0], 220);
    EXPECT_LT(scores[1], 40);
    EXPECT_GT(scores[0] - scores[1], 180);

    // Moving the section frame moves its marks with it.
    onlyBlock(card.sheets[0][0], 0).choseScore = {1, 2, 3};
    card.sheets[0][0].sections[0].frame->setPos(200, 100);
    ASSERT_TRUE(card.checkOptionalMarks());
    EXPECT_LT(onlyBlock(card.sheets[0][0], 0).choseScore[0], 40);
    EXPECT_EQ(onlyBlock(card.sheets[0][0], 0).choseScore.size(), 2);

    // A box deleted on the canvas is not scored.
    onlyBlock(card.sheets[0][0], 0).choosePosition[0]->setValid(0);
    ASSERT_TRUE(card.checkOptionalMarks());
    EXPECT_EQ(onlyBlock(card.sheets[0][0], 0).choseScore.size(), 1);
}

TEST_F(OptionalQuestions, markPartlyOffThePageIsScoredOnItsVisiblePart)
{
    // A 300 x 200 page; the box reaches from x 260 to 340, its visible part
    // is filled.
    PageSheet& page = addPage(0, 300, 200);
    page.addSection(subjective(5, 5, 0, QRectF(200, 100, 90, 90)));
    SubArea& answer = onlyBlock(page, 0);
    answer.choosePosition.append(new EIRectItem(QRectF(60, 20, 80, 40), true, 3, page.sections[0].frame));
    fillOnPage(page, QRect(260, 120, 40, 40));
    ASSERT_TRUE(card.checkOptionalMarks());
    ASSERT_EQ(onlyBlock(card.sheets[0][0], 0).choseScore.size(), 1);
    EXPECT_GT(onlyBlock(card.sheets[0][0], 0).choseScore[0], 220);
}

TEST_F(OptionalQuestions, aMarkThatCannotBeScoredStopsTheCheck)
{
    PageSheet& page = addPage(0);
    page.addSection(subjective(1, 2, 2));
    page.addSection(subjective(3, 4, 2));
    page.addSection(subjective(5, 5));
    onlyBlock(page, 1).choosePosition[1]->setPos(3000, 10);
    onlyBlock(page, 2).ixList = {42};

    EXPECT_FALSE(card.checkOptionalMarks());
    EXPECT_EQ(card.errorString(), QStringLiteral("选做题标记不合格！可能被污染。"));
    const PageSheet& checked = card.sheets[0][0];
    EXPECT_EQ(checked.sections[0].branch[0].choseScore.size(), 2);
    EXPECT_EQ(checked.sections[0].branch[0].ixList, (QList<int>{1, 2}));
    EXPECT_EQ(checked.sections[2].branch[0].ixList, QList<int>{42});
}

TEST_F(OptionalQuestions, singleMarkBlocksOfAPaperFormOneGroup)
{
    PageSheet& page = addPage(0);
    for (int number : {22, 23, 24})
        page.addSection(subjective(number, number, 1));
    OptionalGroupList groups = card.optionalGroups();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0].questions, (QList<int>{22, 23, 24}));
    EXPECT_EQ(groups[0].groupId, 1);
    EXPECT_EQ(groups[0].answerCount, 1);
    EXPECT_TRUE(groups[0].oneQuestionPerBlock);

    page.addSection(subjective(25, 25, 1));
    page.addSection(subjective(26, 26, 1));
    groups = card.optionalGroups();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0].questions.size(), 5);
    EXPECT_EQ(groups[0].answerCount, 2);
}

TEST_F(OptionalQuestions, multiMarkBlocksAreGroupsOfTheirOwn)
{
    PageSheet& page = addPage(0);
    page.addSection(subjective(20, 21, 2));
    page.addSection(subjective(30, 33, 4));
    page.addSection(subjective(40, 40));   // no marks: not optional
    const OptionalGroupList groups = card.optionalGroups();
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0].questions, (QList<int>{20, 21}));
    EXPECT_EQ(groups[0].groupId, 1);
    EXPECT_EQ(groups[0].answerCount, 1);
    EXPECT_FALSE(groups[0].oneQuestionPerBlock);
    EXPECT_EQ(groups[1].groupId, 2);
    EXPECT_EQ(groups[1].answerCount, 2);
}

TEST_F(OptionalQuestions, mergedBlockIsNotOfferedAsAGroupOfItsOwn)
{
    addPage(0).addSection(subjective(22, 23, 2));
    addPage(0).addSection(subjective(22, 23));
    onlyBlock(card.sheets[0][1], 0).merge = true;
    ASSERT_TRUE(card.checkOptionalMarks());   // the merged block now holds the marks too
    const OptionalGroupList groups = card.optionalGroups();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0].questions, (QList<int>{22, 23}));
}

TEST_F(OptionalQuestions, associatedBlocksAppearOncePerGroup)
{
    addPage(0).addSection(subjective(27, 27, 1));
    card.sheets[0][0].addSection(subjective(25, 25, 1));
    addPage(0).addSection(subjective(26, 26, 1));
    for (PageSheet& page : card.sheets[0]) {
        for (Section& section : page.sections) {
            section.branch[0].chooseTopicGroup = 3;
            section.branch[0].chooseTopicModel = 1;
        }
    }
    const OptionalGroupList groups = card.optionalGroups();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0].groupId, 3);
    EXPECT_EQ(groups[0].questions, (QList<int>{27, 25, 26}));
    EXPECT_EQ(groups[0].answerCount, 1);
}

TEST_F(OptionalQuestions, groupsOfTwoPapersAreSortedByFirstQuestion)
{
    PageSheet& first = addPage(1);
    first.addSection(subjective(30, 31, 2));
    PageSheet& second = addPage(0);
    second.addSection(subjective(22, 22, 1));
    second.addSection(subjective(23, 23, 1));
    const OptionalGroupList groups = card.optionalGroups();
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0].questions, (QList<int>{22, 23}));
    EXPECT_EQ(groups[1].questions, (QList<int>{30, 31}));
    // The singles of a paper do not use up their id.
    EXPECT_EQ(groups[0].groupId, 1);
    EXPECT_EQ(groups[1].groupId, 1);
}

TEST_F(OptionalQuestions, storingGroupsWritesThemIntoTheBlocks)
{
    PageSheet& page = addPage(0);
    page.addSection(subjective(22, 22, 1));
    page.addSection(subjective(23, 23, 1));
    page.addSection(subjective(24, 24, 1));
    page.addSection(subjective(25, 25));   // no marks, never grouped
    onlyBlock(page, 2).chooseTopicGroup = 2;
    onlyBlock(page, 2).chooseTopicModel = 1;

    EXPECT_FALSE(card.setOptionalGroups({}));
    EXPECT_EQ(onlyBlock(card.sheets[0][0], 2).chooseTopicGroup, 2);
    EXPECT_EQ(card.optionalGroupCnt, 0);

    ASSERT_TRUE(card.setOptionalGroups({OptionalGroup({22, 23, 25}, 1, 1, true)}));
    const PageSheet& stored = card.sheets[0][0];
    EXPECT_EQ(stored.sections[0].branch[0].chooseTopicGroup, 1);
    EXPECT_EQ(stored.sections[0].branch[0].chooseTopicModel, 1);
    EXPECT_EQ(stored.sections[1].branch[0].chooseTopicGroup, 1);
    // 24 left every group: it keeps no id from the earlier association.
    EXPECT_EQ(stored.sections[2].branch[0].chooseTopicGroup, 0);
    EXPECT_EQ(stored.sections[2].branch[0].chooseTopicModel, 0);
    EXPECT_EQ(stored.sections[3].branch[0].chooseTopicGroup, 0);
    EXPECT_EQ(card.optionalGroupCnt, 1);

    // What was stored is what the dialog is given next time.
    const OptionalGroupList groups = card.optionalGroups();
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0].questions, (QList<int>{22, 23}));
    EXPECT_EQ(groups[1].questions, QList<int>{24});
}

TEST_F(OptionalQuestions, findingAQuestionFramedTwice)
{
    addPage(0);
    PageSheet& back = addPage(0);
    back.addSection(objective({{7, 8}}));
    back.addSection(subjective(7, 8));
    back.addSection(subjective(9, 10, 2));

    QuestionLocation where;
    EXPECT_FALSE(card.findSubjectiveByNumList({7}, where));
    EXPECT_EQ(where.pageIndex, -1);
    ASSERT_TRUE(card.findSubjectiveByNumList({7, 8}, where));
    EXPECT_EQ(where.side, 1);
    EXPECT_EQ(where.pageIndex, 1);
    EXPECT_FALSE(where.hasMarks);
    ASSERT_TRUE(card.findSubjectiveByNumList({9, 10}, where));
    EXPECT_TRUE(where.hasMarks);
}

TEST_F(OptionalQuestions, lastQuestionOfAPageOrOfTheCard)
{
    PageSheet& front = addPage(0);
    front.addSection(objective({{1, 5}, {6, 9}}));
    PageSheet& back = addPage(0);
    back.addSection(subjective(10, 10));
    Section empty;
    empty.type = sectionTypeObject;
    back.addSection(empty);
    addPage(1);

    EXPECT_EQ(card.lastQuestion(0, false).numList.first(), 6);
    EXPECT_EQ(card.lastQuestion(1, false).numList, QList<int>{10});
    EXPECT_EQ(card.lastQuestion(2, true).numList, QList<int>{10});
    const SubArea none = card.lastQuestion(2, false);
    EXPECT_EQ(none.orientation, 2);
    EXPECT_EQ(none.subAreaTopicType, -1);
    EXPECT_TRUE(none.numList.isEmpty());
}
