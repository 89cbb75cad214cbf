// The card's road through the scanner: SANE's test backend scans four
// blank A3 faces; nothing on them can be framed, so the road goes as far
// as the program lets it, saves the unfinished card and imports it again.

#include "tests/app/scantest.h"
#include "tests/roads/roadtest.h"
#include "tests/support/sanedserver.h"

using namespace roadtest;
using namespace scantest;

namespace {

using ScanCardRoad = Scanning<Road>;

} // namespace

TEST_F(ScanCardRoad, blankFacesScannedSavedUnfinishedAndImportedAgain)
{
    shoot(QStringLiteral("start"));
    newCard(QStringLiteral("卡1"), 1, 1);
    chooseScanner();
    EXPECT_EQ(pressScan().states, QList<int>({1}));
    ASSERT_EQ(shownPage(), viewer);
    EXPECT_EQ(label(), "第一张正面");
    EXPECT_EQ(viewer->graphicsView()->pixmap().size(), a3At200.transposed());
    EXPECT_EQ(pagesOnDisk().size(), 4);
    shoot(QStringLiteral("scanned"));

    // No line to straighten by: the operator leaves the step empty.
    clickNext();
    ASSERT_TRUE(onStep(StepLines));
    answerNext(QStringLiteral("否"));
    clickNext();
    EXPECT_EQ(desk.texts(), Texts({"如果图像有倾斜建议框选线段以矫正,是否需要矫正？"}));
    ASSERT_TRUE(onStep(StepTitles));
    EXPECT_EQ(enabledSteps(), QList<int>({0, 1, 2}));
    shoot(QStringLiteral("titles"));

    // Blank faces carry no title: the card is saved as it is, unfinished.
    folderAnswers = QStringList{out};
    shootNextMessage(QStringLiteral("save-message"));
    clickSave();
    EXPECT_EQ(desk.texts(), Texts({"已保存成功!请在所有步骤框选完成后进行绑定！   "}));
    const QString folder = out + QStringLiteral("/卡1_(未完成)");
    const QStringList saved = {"卡1.json", "卡1_0.jpg", "卡1_1.jpg", "卡1_2.jpg", "卡1_3.jpg"};
    ASSERT_EQ(QDir(folder).entryList(QDir::Files), saved);
    const QString json = folder + QStringLiteral("/卡1.json");
    const QJsonObject card = readJson(json);
    EXPECT_EQ(card.value("isComplete"), QJsonValue(false));
    EXPECT_EQ(card.value("jumpLines"), QJsonValue(true));
    for (const QString& picture : saved.mid(1))
        EXPECT_EQ(pictureSize(folder + QLatin1Char('/') + picture), a3At200.transposed()) << picture.toStdString();

    // Imported again over the open card, it resumes on the titles.
    answerNext(QStringLiteral("是"));
    importCard(json);
    EXPECT_EQ(desk.texts(), Texts({"导入将会清空当前未保存的操作，是否继续？"}));
    EXPECT_EQ(cardTitle(), QStringLiteral("卡1"));
    EXPECT_TRUE(onStep(StepTitles));
    EXPECT_EQ(enabledSteps(), QList<int>({0, 1, 2}));
    EXPECT_EQ(label(), "第一张正面");
    EXPECT_EQ(viewer->graphicsView()->pixmap().size(), a3At200.transposed());
    shoot(QStringLiteral("imported"));
}

TEST_F(ScanCardRoad, aFlatbedTakesTheCardSheetBySheetAsTheOperatorLaysThem)
{
    if (!SanedServer::available())
        GTEST_SKIP() << "saned (package sane-utils) is not installed";
    SanedServer flatbed({true, 0});
    ASSERT_TRUE(flatbed.start());
    newCard(QStringLiteral("卡1"), 1, 1);
    chooseScannerNamed(flatbed.productName());
    // After each of the first three faces the operator lays the next one.
    for (int sheet = 0; sheet < 3; ++sheet)
        answerNext(QStringLiteral("确定"));
    shootNextMessage(QStringLiteral("next-sheet"));

    QSignalSpy done(window->ioController(), &IOController::scanComplete);
    iotest::click(button(QStringLiteral("扫描答题卡模板")));
    for (int waited = 0; done.isEmpty() && waited < 30000; waited += 20)
        QTest::qWait(20);
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done[0].at(0).value<IOController::State>(), IOController::State::Done);
    EXPECT_EQ(desk.texts(), Texts(3, "请放入下一页后点击确定"));
    EXPECT_FALSE(overlayUp());
    EXPECT_EQ(pagesOnDisk().size(), 4);
    ASSERT_EQ(shownPage(), viewer);
    EXPECT_EQ(label(), "第一张正面");
    EXPECT_EQ(viewer->graphicsView()->pixmap().size(), a3At200.transposed());
    shoot(QStringLiteral("flatbed-scanned"));
}
