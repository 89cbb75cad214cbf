// What an operator's hand does beside the intended frame: a second click
// on a dialog's OK, the wheel and step changes while aiming, deleting
// associated questions, framing optional questions no group could take.

#include "tests/app/steps/questionstest.h"

#include "app/steps/framingstep.h"
#include "canvas/editmenu.h"
#include "tests/app/savetest.h"
#include "widgets/kit/eicheckbox.h"

#include <QDirIterator>
#include <QJsonArray>

using namespace questionstest;

namespace {

// A click as the window system delivers it, at `time` ms; a second one
// soon after the first makes Qt send its press as a double click alone.
void windowClick(QWidget* window, QPoint at, int time)
{
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        qt_handleMouseEvent(window->windowHandle(), at, window->mapToGlobal(at),
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton, type,
                            Qt::NoModifier, time++);
}

class OperatorSlips : public QuestionSheetRoad
{
protected:
    void drag(const QRectF& r) { viewdriver::drag(viewer->graphicsView(), r.topLeft(), r.bottomRight()); }
    void clearPage()
    {
        answerSheet.clearPages();
        viewer->graphicsView()->clearScene();
        showPage(0, FaceFront);
    }
    // The front's exam number, choice blocks, answer areas and marks.
    QString framings()
    {
        int counts[] = {page(0, FaceFront).ticketNum.enabled, 0, 0, 0};
        for (const Section& s : page(0, FaceFront).sections) {
            counts[1] += s.type == sectionTypeObject ? s.branch.size() : 0;
            counts[2] += s.type == sectionTypeSubjective;
            counts[3] += s.branch.isEmpty() ? 0 : s.branch[0].choosePosition.size();
        }
        return QStringLiteral("%1 %2 %3 %4").arg(counts[0]).arg(counts[1]).arg(counts[2]).arg(counts[3]);
    }
    static QRectF setFrame(int at) { return QRectF(150 + at % 4 * 540, 250 + at / 4 * 230, 480, 200); }
    // An optional set framed and marked earlier, one mark per question.
    void addSet(const QList<int>& numbers, int group = 0, int answer = 0)
    {
        Section section{sectionTypeSubjective, FramingItems::plain(setFrame(page(0, FaceFront).sections.size()))};
        SubArea block;
        block.frame = FramingItems::plain(section.frame->sceneRect());
        block.numList = numbers;
        block.chooseArea = FramingItems::optionalMarkArea(QRectF(20, 20, 80 * numbers.size(), 50), section.frame);
        for (int i = 0; i < numbers.size(); ++i)
            block.choosePosition.append(FramingItems::optionalMarkBox(QRectF(10 + 80 * i, 10, 40, 26), block.chooseArea));
        std::tie(block.chooseTopicGroup, block.chooseTopicModel) = std::make_pair(group, answer);
        section.addSubArea(block);
        page(0, FaceFront).addSection(section);
        viewer->refreshPageItems(StepSubjective, true);
    }
    // The saved file's optional questions as "numbers:group:answer", then its group count.
    static std::string savedGroups(const QString& folder)
    {
        QDirIterator files(folder, {QStringLiteral("*.json")}, QDir::Files, QDirIterator::Subdirectories);
        const QJsonObject card = savetest::readJson(files.hasNext() ? files.next() : QString());
        std::string saved;
        for (const QJsonValue& page : card.value("pageSheets").toArray())
            for (const QJsonValue& section : page["sections"].toArray())
                for (const QJsonValue& b : section["contents"]["branch"].toArray())
                    if (!b["choosePosition"].toArray().isEmpty())
                        saved += QJsonDocument(b["numList"].toArray()).toJson(QJsonDocument::Compact).toStdString() + ":"
                                 + std::to_string(b["chooseTopicGroup"].toInt()) + ":"
                                 + std::to_string(b["chooseTopicModel"].toInt()) + " ";
        return saved + "/ " + std::to_string(card.value("optionalGroupCnt").toInt(-1));
    }
};

} // namespace

TEST_F(OperatorSlips, aSecondClickOnOkNeverStoresOrOffersAFrameAgain)
{
    QPoint okAt;
    int clickTime = 0;
    const auto firstClick = [&](QWidget* dialog) {
        for (QPushButton* ok : dialog->findChildren<QPushButton*>())
            if (ok->isVisible() && ok->text() == QStringLiteral("确定"))
                okAt = ok->mapTo(window, ok->rect().center());
        windowClick(window, okAt, clickTime = QTest::lastMouseTimestamp += 1000);
    };
    const auto secondClick = [&](bool soon) {
        windowClick(window, okAt, clickTime + (soon ? 50 : 1000));
        QTest::lastMouseTimestamp += 2000;
    };
    const QString solve = QStringLiteral("解答题");
    const struct
    {
        int step;
        QRectF frame;
        std::function<void()> expect;
        QString framed;  // exam number, blocks, answer areas, marks
    } cases[] = {
        {StepExamNumber, ExamGrid{QPoint(200, 300), 9}.frame(), [&] { examNumberDialogs.then(firstClick); }, "1 0 0 0"},
        {StepObjective, firstBlock.frame(), [&] { objectiveDialogs.then(firstClick); }, "1 1 0 0"},
        {StepSubjective, around(answerAreas[0], 10),
         [&] { subjectiveDialogs.then(answerSubjective(solve, 1, 1, false, firstClick)); }, "1 1 1 0"},
        // An optional set waits for its marks: none is taken from its own frame.
        {StepSubjective, around(answerAreas[2], 10),
         [&] { subjectiveDialogs.then(answerSubjective(solve, 6, 8, true, firstClick)); }, "1 1 2 0"},
    };
    for (bool soon : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.framed.toStdString() + (soon ? ", double click" : ", second click later"));
            goToStep(c.step);
            c.expect();
            drag(c.frame);
            secondClick(soon);
            EXPECT_EQ(framings(), c.framed);
        }
        clearPage();
    }

    // The association's OK: an answer area drawn and cancelled just before
    // is not offered again.
    subjectiveDialogs.then(answerSubjective(solve, 6, 8, true));
    frame(around(answerAreas[2], 10));
    frame(markFrame);
    subjectiveDialogs.then([](DrawSubjectivePanel* dialog) { press(dialog, QStringLiteral("取消")); });
    drag(around(answerAreas[1], 10));
    associationDialogs.then(firstClick);
    iotest::click(button(QStringLiteral("关联选做题")));
    secondClick(true);
    EXPECT_EQ(framings(), "0 0 1 3");
    EXPECT_EQ(answerSheet.optionalGroupCnt, 1);
}

// Zoomed off the middle, where a zoom about the centre would move the
// page, the page stays put through the steps and frames that follow.
TEST_F(OperatorSlips, thePageStaysUnderTheMouseThroughZoomStepsAndFrames)
{
    goToStep(StepExamNumber);
    EIGraphicsView* view = viewer->graphicsView();
    const QPoint mouse = view->mapFromScene(QPointF(firstBlock.boxAt(0, 0).center()));
    const QPointF aim = view->mapToScene(mouse);
    for (int i = 0; i < 3; ++i) {
        QWheelEvent event(mouse, view->viewport()->mapToGlobal(mouse), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &event);
        QTest::qWait(20);  // scroll bars come and go from the event loop
    }
    ASSERT_GT(view->zoomScale(), view->fitScale());
    objectiveDialogs.then([](DrawObjectivePanel* dialog) { pressOk(dialog); });
    const std::function<void()> acts[] = {[] {}, [&] { goToStep(StepObjective); }, [&] { drag(firstBlock.frame()); },
                                          [&] { goToStep(StepSubjective); }};
    for (int after = 0; after < 4; ++after) {
        acts[after]();
        EXPECT_LE((QPointF(view->mapFromScene(aim)) - QPointF(mouse)).manhattanLength(), 1.0)
            << "after the wheel, a step, a frame and a step: " << after;
    }
}

TEST_F(OperatorSlips, deletedQuestionsLeaveTheirGroupsAndTheSaveAsksForTheAssociationAgain)
{
    const struct
    {
        QList<QList<int>> sets;
        QList<int> groups;  // answered: one of a set of two, else two
        QList<int> deleted;
        bool sevenJoinsTheFirstGroup;  // left alone in its group
        std::string saved;
    } cases[] = {
        {{{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}, {11, 12}, {13, 14}, {15, 16}, {17, 18}, {19, 20}},
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {2}, false,
         "[1,2]:1:1 [3,4]:2:1 [7,8]:3:1 [9,10]:4:1 [11,12]:5:1 [13,14]:6:1 [15,16]:7:1 [17,18]:8:1 [19,20]:9:1 / 9"},
        {{{1}, {2}, {3}, {4}, {5}, {6}, {7}}, {1, 1, 1, 1, 2, 2, 2}, {5, 4}, true,
         "[1]:1:3 [2]:1:3 [3]:1:3 [4]:1:3 [7]:1:3 / 1"},
    };
    goToStep(StepSubjective);
    const QString out = scratch.file(QStringLiteral("out"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        for (int i = 0; i < c.sets.size(); ++i)
            addSet(c.sets[i], c.groups[i], c.sets[i].size() == 2 ? 1 : 2);
        answerSheet.optionalGroupCnt = c.groups.last();
        for (int at : c.deleted) {
            viewdriver::click(viewer->graphicsView(), setFrame(at).bottomRight() - QPointF(60, 40));
            iotest::click(viewer->graphicsView()->menu()->findChild<QPushButton*>(QStringLiteral("btnDelete")));
        }
        associationDialogs.then([&](OptionalAssociatePanel* dialog) {
            setSpin(dialog, "boxGroupCnt", c.sevenJoinsTheFirstGroup ? 1 : spin(dialog, "boxGroupCnt"));
            for (EICheckBox* box : dialog->findChildren<EICheckBox*>())
                if (c.sevenJoinsTheFirstGroup && box->isVisible() && box->text() == QStringLiteral("7"))
                    iotest::click(box);
            pressOk(dialog);
        });
        folderAnswers = QStringList{out};  // asked once; the next save goes there too
        clickSave();
        EXPECT_EQ(desk.texts(), Texts({"请进行选做题的关联!", "已保存成功!请在所有步骤框选完成后进行绑定！   "}));
        EXPECT_EQ(savedGroups(out), c.saved);
        QDir(out).removeRecursively();
        clearPage();
    }
}

TEST_F(OperatorSlips, anOptionalQuestionNoGroupCouldTakeIsRefusedWhenFramed)
{
    const struct
    {
        int setsOfTwo, singles, framed;
        bool refused;
    } cases[] = {{6, 0, 1, true}, {5, 0, 1, true}, {4, 5, 1, true}, {4, 5, 2, true}, {4, 4, 1, false}};
    goToStep(StepSubjective);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.setsOfTwo << " sets of two, " << c.singles << " singles, then " << c.framed);
        int next = 1;
        for (int i = 0; i < c.setsOfTwo; ++i, next += 2)
            addSet({next, next + 1});
        for (int i = 0; i < c.singles; ++i)
            addSet({next++});
        subjectiveDialogs.then(answerSubjective(QStringLiteral("解答题"), next, next + c.framed - 1, true));
        frame(around(answerAreas[0], 10));
        const std::string numbers = std::to_string(next) + (c.framed == 1 ? "" : "~" + std::to_string(next + 1));
        EXPECT_EQ(desk.texts(), c.refused ? Texts{"选做题最多关联5组, 每组最多5题, 第" + numbers + "题已无法关联!"} : Texts());
        EXPECT_EQ(page(0, FaceFront).sections.size(), c.setsOfTwo + c.singles + !c.refused);
        // What was taken can always be associated.
        associationDialogs.then([](OptionalAssociatePanel* dialog) { pressOk(dialog); });
        page(0, FaceFront).sections.last().step = 0;
        iotest::click(button(QStringLiteral("关联选做题")));
        EXPECT_TRUE(answerSheet.optionalGroupsNumbered() && !answerSheet.hasUnassociatedOptional());
        EXPECT_EQ(answerSheet.optionalGroupCnt, c.setsOfTwo + (c.singles > 0));
        clearPage();
    }
}
