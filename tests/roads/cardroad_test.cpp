// The whole road of a new card: two papers, four faces, lying (A3), taken
// in from picture files through Qt's own file dialog, framed step by step,
// saved finished, then read back and saved again by a fresh program.

#include "tests/roads/roadtest.h"

#include "app/shell/indexwidget.h"

using namespace roadtest;

namespace {

const char* const savedCardVariable = "TOLLIVAR_ROAD_CARD";

using CardRoad = Road;
using CardRoadAgain = Road;

const QString answerQuestion = QStringLiteral("解答题");

} // namespace

TEST_F(CardRoad, newCardFromPictureFilesFramedSavedAndSavedAgainByAFreshProgram)
{
    EXPECT_EQ(shownPage(), window->indexWidget());
    shoot(QStringLiteral("start"));

    newCard(QStringLiteral("卡1"), 1, 1);
    EXPECT_EQ(cardTitle(), QStringLiteral("卡1"));
    EXPECT_EQ(shownPage(), window->getTemplatePanel());
    shoot(QStringLiteral("get-template"));

    // The pictures through Qt's own dialog, once; the first front fed askew.
    const QStringList files = writeFaces(4, 0);
    const FileDialogs scripted = dialogs;
    dialogs.openFileNames = FileDialogs().openFileNames;
    window->ioController()->setFileDialogs(dialogs);
    answerFileDialog(files);
    iotest::click(button(QStringLiteral("导入答题卡图片")));
    dialogs = scripted;
    window->ioController()->setFileDialogs(dialogs);
    ASSERT_EQ(shownPage(), viewer);
    EXPECT_EQ(label(), "第一张正面");
    EXPECT_EQ(viewer->graphicsView()->pixmap().size(), a3Page);
    EXPECT_EQ(tipText(), QStringLiteral("温馨提示：请根据实际情况设置答题卡的页码与正反面"));
    shoot(QStringLiteral("viewer"));

    // 1: a line on the askew page straightens it.
    clickNext();
    ASSERT_TRUE(onStep(StepLines));
    const QPixmap askew = page(0, FaceFront).image.pixmap;
    drawFrame(aroundLine(roadLine, true, a3Page));
    ASSERT_EQ(page(0, FaceFront).lineCount(), 1);
    EXPECT_TRUE(shownItems().contains(page(0, FaceFront).lines[0]));
    EXPECT_NE(viewer->graphicsView()->pixmap().cacheKey(), askew.cacheKey());
    shoot(QStringLiteral("line"));

    // 2: a title on every face.
    clickNext();
    ASSERT_TRUE(onStep(StepTitles));
    for (int face = 0; face < 4; ++face) {
        turnTo(face / 2, face % 2);
        drawFrame(around(face % 2 == FaceFront ? mainTitle : backTitle));
        ASSERT_FALSE(page(face / 2, face % 2).title.isEmpty()) << face;
        EXPECT_TRUE(shownItems().contains(page(face / 2, face % 2).title.item));
        shoot(QStringLiteral("title"));
    }

    // 3: the exam-number grid, counted in its dialog; the second paper
    // takes the first one's without asking.
    clickNext();
    ASSERT_TRUE(onStep(StepExamNumber));
    turnTo(0, FaceFront);
    examNumberDialogs.then([this](DrawStuNoPanel* dialog) {
        EXPECT_EQ(spin(dialog, "boxStuNoLens"), 10);
        shoot(QStringLiteral("exam-number-dialog"));
        pressOk(dialog);
    });
    drawFrame(examGrid.frame());
    turnTo(1, FaceFront);
    drawFrame(examGrid.frame());
    for (int paper = 0; paper < 2; ++paper) {
        ASSERT_TRUE(page(paper, FaceFront).ticketNum.enabled) << paper;
        EXPECT_EQ(page(paper, FaceFront).ticketNum.count, 10);
    }
    EXPECT_EQ(examNumberDialogs.shown, 1);
    shoot(QStringLiteral("exam-number"));

    // 4: two objective blocks on the first front, the second continuing
    // the first one's numbers.
    clickNext();
    ASSERT_TRUE(onStep(StepObjective));
    turnTo(0, FaceFront);
    objectiveDialogs.then([](DrawObjectivePanel* dialog) { pressOk(dialog); });
    drawFrame(firstRoadBlock.frame());
    objectiveDialogs.then([this](DrawObjectivePanel* dialog) {
        EXPECT_EQ(spin(dialog, "boxNumberBegin"), 6);
        EXPECT_EQ(spin(dialog, "boxCols"), 4);
        shoot(QStringLiteral("objective-dialog"));
        pressOk(dialog);
    });
    drawFrame(secondRoadBlock.frame());
    ASSERT_EQ(page(0, FaceFront).sections.size(), 1);
    const QVector<SubArea>& blocks = page(0, FaceFront).sections[0].branch;
    ASSERT_EQ(blocks.size(), 2);
    // The printed boxes, not the letters on them.
    expectGridOver(blocks[0].frame, firstRoadBlock.boxAt(0, 0), firstRoadBlock.boxAt(4, 3), 2);
    expectGridOver(blocks[1].frame, secondRoadBlock.boxAt(0, 0), secondRoadBlock.boxAt(4, 3), 2);
    EXPECT_EQ(captionOf(blocks[0].frame), QStringLiteral("第1~5题(单选)"));
    EXPECT_EQ(captionOf(blocks[1].frame), QStringLiteral("第6~10题(单选)"));
    shoot(QStringLiteral("objective"));

    // 5: an answer area on every face, the first back's a set of three
    // optional questions with its marks, then their association.
    clickNext();
    ASSERT_TRUE(onStep(StepSubjective));
    frameAnswerArea(answerAreas[0], answerQuestion, 11, 12);
    turnTo(0, FaceBack);
    frameAnswerArea(answerAreas[2], answerQuestion, 13, 15, true);
    ASSERT_EQ(page(0, FaceBack).sections.size(), 1);
    const Section& optional = page(0, FaceBack).sections[0];
    EXPECT_EQ(captionOf(optional.frame), QStringLiteral("请框选选做题标记"));
    shoot(QStringLiteral("optional-set"));
    drawFrame(markFrame);
    ASSERT_EQ(optional.branch[0].choosePosition.size(), 3);
    EXPECT_EQ(captionOf(optional.frame), QStringLiteral("第13~15题"));
    shoot(QStringLiteral("optional-marks"));
    turnTo(1, FaceFront);
    frameAnswerArea(answerAreas[1], answerQuestion, 16, 17);
    turnTo(1, FaceBack);
    frameAnswerArea(answerAreas[0], answerQuestion, 18, 18);
    associationDialogs.then([this](OptionalAssociatePanel* dialog) {
        EXPECT_EQ(dialog->findChildren<QWidget*>(QStringLiteral("optionalBox")).size(), 1);
        shoot(QStringLiteral("association-dialog"));
        pressOk(dialog);
    });
    clickNext();
    EXPECT_EQ(answerSheet.optionalGroupCnt, 1);

    // 6: page numbers on both fronts.
    ASSERT_TRUE(onStep(StepPageNumber));
    turnTo(0, FaceFront);
    drawFrame(around(pageNumberMark, 20));
    turnTo(1, FaceFront);
    drawFrame(around(pageNumberMark, 20));
    for (int paper = 0; paper < 2; ++paper)
        EXPECT_EQ(page(paper, FaceFront).pageNum.size(), 1) << paper;
    shoot(QStringLiteral("page-number"));

    // 7: an absent mark on each paper, and the save into a new folder.
    clickNext();
    ASSERT_TRUE(onStep(StepOtherMarks));
    turnTo(0, FaceFront);
    drawFrame(around(absentBox, 10));
    turnTo(1, FaceFront);
    drawFrame(around(absentBox, 10));
    EXPECT_TRUE(page(0, FaceFront).testmark.enabled && page(1, FaceFront).testmark.enabled);
    shoot(QStringLiteral("absent-marks"));
    EXPECT_TRUE(desk.texts().empty());

    folderAnswers = QStringList{out};
    shootNextMessage(QStringLiteral("save-message"));
    answerNext(QStringLiteral("是"));
    clickSave();
    EXPECT_EQ(desk.texts(), Texts({"保存完成，是否打开所在文件夹?"}));
    const QString folder = out + QStringLiteral("/卡1");
    EXPECT_EQ(openedFolders, QStringList({folder}));
    const QStringList saved = {"卡1.json", "卡1_0.jpg", "卡1_1.jpg", "卡1_2.jpg", "卡1_3.jpg"};
    ASSERT_EQ(QDir(out).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList({"卡1"}));
    ASSERT_EQ(QDir(folder).entryList(QDir::Files), saved);
    const QString json = folder + QStringLiteral("/卡1.json");
    EXPECT_EQ(readJson(json).value("isComplete"), QJsonValue(true));
    const QByteArray firstText = testsupport::readFile(json);
    for (const QString& picture : saved.mid(1))
        EXPECT_EQ(pictureSize(folder + QLatin1Char('/') + picture), a3Page) << picture.toStdString();

    // A fresh program reads the card back and saves the very same text.
    const QString childFolder = scratch.file(QStringLiteral("child"));
    ASSERT_TRUE(QDir().mkpath(childFolder));
    ASSERT_TRUE(runChild(QStringLiteral("CardRoadAgain.*"), savedCardVariable, json, childFolder));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), saved);
    EXPECT_EQ(testsupport::readFile(json).toStdString(), firstText.toStdString());
    for (const QString& picture : saved.mid(1))
        EXPECT_EQ(pictureSize(folder + QLatin1Char('/') + picture), a3Page) << picture.toStdString();
}

// Run by the road above in a process of its own.
TEST_F(CardRoadAgain, DISABLED_importsTheCardResumesOnTheLastStepAndSavesIt)
{
    const QString card = qEnvironmentVariable(savedCardVariable);
    ASSERT_FALSE(card.isEmpty());
    importCard(card);
    EXPECT_EQ(cardTitle(), QStringLiteral("卡1"));
    EXPECT_TRUE(onStep(StepOtherMarks));
    EXPECT_EQ(label(), "第一张正面");
    EXPECT_EQ(enabledSteps(), QList<int>({0, 1, 2, 3, 4, 5, 6, 7}));
    shoot(QStringLiteral("imported"));
    shootNextMessage(QStringLiteral("save-message"));
    answerNext(QStringLiteral("否"));
    clickSave();
    EXPECT_EQ(desk.texts(), Texts({"保存完成，是否打开所在文件夹?"}));
    EXPECT_EQ(folderAsks, 0);
}
