// The refused road: a card of one paper framed and saved finished, then a
// save onto a disk too full for it, and a save refused for an optional mark
// that a hand edit put off its page; neither touches the finished folder.

#include "tests/roads/roadtest.h"

#include <QRegularExpression>

#include <csignal>
#include <sys/resource.h>

using namespace roadtest;

namespace {

const char* const savedCardVariable = "TOLLIVAR_ROAD_CARD";

using RefusedRoad = Road;
using RefusedRoadOnAFullDisk = Road;

// The template text with the first optional mark moved `dx` pixels to
// the right, as an edit by hand would leave it; empty when it has none.
QByteArray withFirstMarkMoved(const QByteArray& json, int dx)
{
    QString text = QString::fromUtf8(json);
    const QRegularExpressionMatch left =
        QRegularExpression(QStringLiteral("\"left\": *(-?[0-9.]+)")).match(text, text.indexOf(QStringLiteral("\"choosePosition\"")));
    if (!text.contains(QStringLiteral("\"choosePosition\"")) || !left.hasMatch())
        return QByteArray();
    text.replace(left.capturedStart(1), left.capturedLength(1), QString::number(left.captured(1).toDouble() + dx));
    return text.toUtf8();
}

} // namespace

TEST_F(RefusedRoad, aFullDiskAndAPollutedMarkLeaveTheFinishedFolderAsItWas)
{
    // One paper, both faces: lines left out, a title on each face, a
    // barcode, no objective questions, an answer area on each face with a
    // set of optional questions on the front, an absent mark.
    newCard(QStringLiteral("卡1"), 0, 0);
    importImages(writeFaces(2));
    ASSERT_EQ(shownPage(), viewer);
    shoot(QStringLiteral("viewer"));
    clickNext();
    answerNext(QStringLiteral("否"));
    clickNext();
    EXPECT_EQ(desk.texts(), Texts({"如果图像有倾斜建议框选线段以矫正,是否需要矫正？"}));
    ASSERT_TRUE(onStep(StepTitles));
    drawFrame(around(mainTitle));
    turnTo(0, FaceBack);
    drawFrame(around(backTitle));
    shoot(QStringLiteral("titles"));
    clickNext();
    ASSERT_TRUE(onStep(StepExamNumber));
    turnTo(0, FaceFront);
    iotest::click(viewer->findChild<QPushButton*>(QStringLiteral("btnStuBarCode")));
    drawFrame(examGrid.frame());
    EXPECT_TRUE(page(0, FaceFront).barCode.enabled);
    shoot(QStringLiteral("barcode"));
    clickNext();
    ASSERT_TRUE(onStep(StepObjective));
    iotest::click(button(QStringLiteral("无客观题，直接跳过")));
    ASSERT_TRUE(onStep(StepSubjective));
    frameAnswerArea(answerAreas[2], QStringLiteral("解答题"), 1, 3, true);
    drawFrame(markFrame);
    turnTo(0, FaceBack);
    frameAnswerArea(answerAreas[0], QStringLiteral("解答题"), 4, 5);
    shoot(QStringLiteral("answer-areas"));
    associationDialogs.then([](OptionalAssociatePanel* dialog) { pressOk(dialog); });
    clickNext();
    ASSERT_TRUE(onStep(StepOtherMarks));
    drawFrame(around(absentBox, 10));
    shoot(QStringLiteral("absent-mark"));
    folderAnswers = QStringList{out};
    answerNext(QStringLiteral("否"));
    clickSave();
    EXPECT_EQ(desk.texts(), Texts({"保存完成，是否打开所在文件夹?"}));
    const QString folder = out + QStringLiteral("/卡1");
    const auto finished = snapshot(folder);
    ASSERT_EQ(finished.size(), 3u);

    // A fresh program saves the card onto a disk too full for it.
    const QString json = folder + QStringLiteral("/卡1.json");
    const QString childFolder = scratch.file(QStringLiteral("child"));
    ASSERT_TRUE(QDir().mkpath(childFolder));
    EXPECT_TRUE(runChild(QStringLiteral("RefusedRoadOnAFullDisk.*"), savedCardVariable, json, childFolder));
    EXPECT_EQ(snapshot(folder), finished);

    // Edited by hand, the card's first optional mark lies off its page: the
    // card still reads, but the save cannot score the mark and refuses.
    const QByteArray edited = withFirstMarkMoved(testsupport::readFile(json), a3Page.width());
    ASSERT_FALSE(edited.isEmpty());
    ASSERT_TRUE(testsupport::writeFile(json, edited));
    const auto handEdited = snapshot(folder);
    answerNext(QStringLiteral("是"));
    importCard(json);
    EXPECT_EQ(desk.texts(), Texts({"导入将会清空当前未保存的操作，是否继续？"}));
    ASSERT_TRUE(onStep(StepOtherMarks));
    shoot(QStringLiteral("imported"));
    shootNextMessage(QStringLiteral("refused-message"));
    clickSave();
    EXPECT_EQ(desk.texts(), Texts({"选做题标记不合格！可能被污染。"}));
    EXPECT_EQ(snapshot(folder), handEdited);
    EXPECT_EQ(folderAsks, 1);
}

// Run by the road above in a process of its own: a file may grow to half
// the template's text only.
TEST_F(RefusedRoadOnAFullDisk, DISABLED_importsTheCardAndSavesItOntoAFullDisk)
{
    importCard(qEnvironmentVariable(savedCardVariable));
    ASSERT_TRUE(onStep(StepOtherMarks));
    shoot(QStringLiteral("imported"));
    // No picture can be written past the limit.
    desk.whileShown = {};
    const rlim_t limit = answerSheet.serialize(true).size() / 2;
    ASSERT_GT(limit, 1000u);
    const rlimit fileSize{limit, limit};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &fileSize), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    clickSave();
    EXPECT_EQ(desk.texts(), Texts({"数据保存失败,请重试!"}));
    EXPECT_EQ(folderAsks, 0);
}
