#include "tests/app/iotest.h"

#include "widgets/dialogs/checkcorner.h"

#include <QMenu>
#include <QRadioButton>

using namespace iotest;

namespace {

class FoldedCornerOption : public IOTest
{
protected:
    // Picks "折角检测" from the title bar's menu button, chooses `pick` (if
    // any) and presses `answer` (the title bar's close when empty). Returns
    // the choice the dialog opened with.
    QString chooseFromMenu(const char* pick, const QString& answer)
    {
        QString preset;
        script
            .on<QMenu>([](QMenu* menu) {
                // By keyboard: the menu opens inside the button's press, where a
                // click would read as a drag. Deferred, so this step ends first.
                menu->setActiveAction(menu->actions().value(0));
                EXPECT_EQ(menu->activeAction()->text(), QStringLiteral("折角检测"));
                QTimer::singleShot(0, menu, [menu] { QTest::keyClick(menu, Qt::Key_Return); });
            })
            .on<CheckCorner>([&](CheckCorner* dialog) {
                EXPECT_EQ(dialog->titleBar()->titleLabel()->text(), QStringLiteral("折角检测设置"));
                EXPECT_EQ(dialog->parentWidget(), window.findChild<MaskForm*>());
                for (QRadioButton* choice : dialog->findChildren<QRadioButton*>())
                    if (choice->isChecked())
                        preset = choice->text();
                if (pick)
                    click(dialog->findChild<QRadioButton*>(QLatin1String(pick)));
                if (answer.isEmpty())
                    closeByTitleBar(dialog);
                else
                    clickButton(dialog, answer);
            });
        click(window.findChild<QPushButton*>(QStringLiteral("btnMenu")));
        EXPECT_EQ(script.pending(), 0) << "the menu or the dialog never came up";
        QCoreApplication::processEvents(); // the settings file is written from the event loop
        return preset;
    }
};

} // namespace

TEST_F(FoldedCornerOption, onlyAnOkThatChangesTheChoiceWritesItAndTheNextIntakeFollows)
{
    // As a hand-edited file might hold it: rewriting the same value would
    // turn it into "false".
    const QString path = scratch.file(QStringLiteral("config.ini"));
    const QByteArray before = "[ALGORITHM]\nis_check_corner=0\n";
    ASSERT_TRUE(testsupport::writeFile(path, before));
    config.init(path);
    const QString ok = QStringLiteral("确定");

    // Cancel, the title bar's close and an OK on the stored choice keep the file.
    EXPECT_EQ(chooseFromMenu("btnCheck", QStringLiteral("取消")), QStringLiteral("不检测折角"));
    EXPECT_EQ(chooseFromMenu("btnCheck", QString()), QStringLiteral("不检测折角"));
    EXPECT_EQ(chooseFromMenu(nullptr, ok), QStringLiteral("不检测折角"));
    EXPECT_EQ(testsupport::readFile(path), before);

    chooseFromMenu("btnCheck", ok);
    EXPECT_TRUE(testsupport::readFile(path).contains("is_check_corner=true"));
    EXPECT_EQ(chooseFromMenu(nullptr, QStringLiteral("取消")), QStringLiteral("检测折角"));

    // The next intake checks the pages for folded corners.
    project(1, 1);
    openFilesAnswers = {{writeImage(QStringLiteral("folded.jpg"), sheet(QSize(600, 420), 120))}};
    Message refused;
    script.message(&refused, ok);
    io.importImages();
    EXPECT_EQ(refused.text, QStringLiteral("图像校验失败！请检查扫描图片是否有折角，破损等 !"));
}
