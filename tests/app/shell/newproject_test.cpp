#include "tests/app/iotest.h"

#include "widgets/dialogs/newprojectpanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

using namespace iotest;

namespace {

void enterName(NewProjectPanel* dialog, const QString& name)
{
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("inputCardName"));
    field->clear();
    QInputMethodEvent typed;
    typed.setCommitString(name);
    QApplication::sendEvent(field, &typed);
}

void pressOk(NewProjectPanel* dialog)
{
    ASSERT_TRUE(iotest::clickButton(dialog, QStringLiteral("确定")));
}

} // namespace

using NewProject = IOTest;

TEST_F(NewProject, refusedNamesShowTheirMessageAndTheDialogComesBackAsLeft)
{
    QSignalSpy done(&io, &IOController::newProjectDone);
    const QString longName = QString(40, QChar(0x5361)) + QStringLiteral("/") + QString(40, QLatin1Char('x'));
    const QString goodName = QString(80, QChar(0x5361));
    Message empty, tooLong, slash, dots;
    QList<int> pagesSeen;

    script
        .on<NewProjectPanel>([](NewProjectPanel* dialog) {
            dialog->findChild<QComboBox*>(QStringLiteral("boxPaperNum"))->setCurrentIndex(1);
            dialog->findChild<QComboBox*>(QStringLiteral("boxPagesType"))->setCurrentIndex(0);
            iotest::click(dialog->findChild<QPushButton*>(QStringLiteral("btnVertical")));
            dialog->findChild<QCheckBox*>(QStringLiteral("checkRedCard"))->setChecked(true);
            pressOk(dialog);
        })
        .message(&empty, QStringLiteral("确定"))
        .on<NewProjectPanel>([&](NewProjectPanel* dialog) {
            pagesSeen.append(dialog->pageCount());
            enterName(dialog, longName);
            pressOk(dialog);
        })
        .message(&tooLong, QStringLiteral("确定"))
        .on<NewProjectPanel>([&](NewProjectPanel* dialog) {
            enterName(dialog, QStringLiteral("期中/期末"));
            pressOk(dialog);
        })
        .message(&slash, QStringLiteral("确定"))
        .on<NewProjectPanel>([&](NewProjectPanel* dialog) {
            EXPECT_EQ(dialog->cardName(), QStringLiteral("期中/期末"));
            enterName(dialog, QStringLiteral(".."));
            pressOk(dialog);
        })
        .message(&dots, QStringLiteral("确定"))
        .on<NewProjectPanel>([&](NewProjectPanel* dialog) {
            pagesSeen.append(dialog->pageCount());
            EXPECT_EQ(dialog->orientation(), QStringLiteral("vertical"));
            EXPECT_TRUE(dialog->isRedCard());
            enterName(dialog, goodName);
            pressOk(dialog);
        });
    io.newProject();

    EXPECT_EQ(empty.text, QStringLiteral("请输入答题卡名称!"));
    EXPECT_EQ(empty.title, QStringLiteral("提示"));
    EXPECT_EQ(empty.buttons, QStringList({"确定"}));
    // Over 80 characters is told first, whatever else is wrong.
    EXPECT_EQ(tooLong.text, QStringLiteral("答题卡名称过长，请重新输入!"));
    EXPECT_EQ(slash.text, QStringLiteral("答题卡名称不能包含以下字符 \\ / : * ? \" < > |"));
    EXPECT_EQ(dots.text, QStringLiteral("答题卡名称不合法，请重新输入!"));
    EXPECT_EQ(pagesSeen, QList<int>({3, 3}));

    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done.at(0).at(0).toInt(), 1);
    EXPECT_EQ(answerSheet.paperName, goodName);
    EXPECT_EQ(answerSheet.paperCnt, 2);
    EXPECT_EQ(answerSheet.pageCnt, 3);
    EXPECT_EQ(answerSheet.orientation, QStringLiteral("vertical"));
    EXPECT_TRUE(answerSheet.redCard);
    EXPECT_EQ(answerSheet.absentMarkCnt, 2);
    // Paper p holds pages 2p and 2p + 1; the last paper has only its front.
    ASSERT_EQ(answerSheet.sheets.size(), 2);
    ASSERT_EQ(answerSheet.sheets[0].size(), 2);
    ASSERT_EQ(answerSheet.sheets[1].size(), 1);
    EXPECT_EQ(answerSheet.sheets[0][0].pageIndex, 0);
    EXPECT_EQ(answerSheet.sheets[0][0].side, int(FaceFront));
    EXPECT_EQ(answerSheet.sheets[0][1].pageIndex, 1);
    EXPECT_EQ(answerSheet.sheets[0][1].side, int(FaceBack));
    EXPECT_EQ(answerSheet.sheets[1][0].pageIndex, 2);
    EXPECT_EQ(answerSheet.sheets[1][0].side, int(FaceFront));
    EXPECT_TRUE(answerSheet.sheets[1][0].image.pixmap.isNull());
}

TEST_F(NewProject, oneSidedSinglePaperGivesOneFrontPage)
{
    QSignalSpy done(&io, &IOController::newProjectDone);
    script.on<NewProjectPanel>([](NewProjectPanel* dialog) {
        dialog->findChild<QCheckBox*>(QStringLiteral("checkDoublePage"))->setChecked(false);
        enterName(dialog, QStringLiteral("单面卡"));
        QTest::keyClick(dialog->findChild<QLineEdit*>(QStringLiteral("inputCardName")), Qt::Key_Return);
    });
    io.newProject();

    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done.at(0).at(0).toInt(), 1);
    EXPECT_EQ(answerSheet.paperCnt, 1);
    EXPECT_EQ(answerSheet.pageCnt, 1);
    EXPECT_EQ(answerSheet.orientation, QStringLiteral("horizontal"));
    EXPECT_FALSE(answerSheet.redCard);
    ASSERT_EQ(answerSheet.sheets.size(), 1);
    ASSERT_EQ(answerSheet.sheets[0].size(), 1);
    EXPECT_EQ(answerSheet.sheets[0][0].side, int(FaceFront));
}

TEST_F(NewProject, cancelOrCloseGivesTwoAndLeavesAnEmptyTemplate)
{
    for (bool byTitleBar : {false, true}) {
        SCOPED_TRACE(byTitleBar);
        project(2, 4);
        QSignalSpy done(&io, &IOController::newProjectDone);
        script.on<NewProjectPanel>([byTitleBar](NewProjectPanel* dialog) {
            enterName(dialog, QStringLiteral("不要的卡"));
            if (byTitleBar)
                closeByTitleBar(dialog);
            else
                ASSERT_TRUE(iotest::clickButton(dialog, QStringLiteral("取消")));
        });
        io.newProject();

        ASSERT_EQ(done.size(), 1);
        EXPECT_EQ(done.at(0).at(0).toInt(), 2);
        EXPECT_EQ(answerSheet.paperName, QStringLiteral("unknown"));
        EXPECT_TRUE(answerSheet.sheets.isEmpty());
        EXPECT_FALSE(overlayShown());
    }
}
