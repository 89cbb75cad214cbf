#include "tests/app/iotest.h"

#include "widgets/dialogs/checkcorner.h"

#include <QMenu>
#include <QRadioButton>

using namespace iotest;

namespace {

// What the operator saw of the dialog when it came up.
struct Shown
{
    QString title;
    bool checkSelected = false;
    bool notCheckSelected = false;
    QStringList buttons;
    bool onOverlay = false;
};

class FoldedCornerOption : public IOTest
{
protected:
    void SetUp() override
    {
        IOTest::SetUp();
        // Written as a hand-edited file might hold it: a rewrite of the same
        // value would show as "false".
        ASSERT_TRUE(testsupport::writeFile(configPath(), "[ALGORITHM]\nis_check_corner=0\n"));
        config.init(configPath());
    }

    QString configPath() const { return scratch.file(QStringLiteral("config.ini")); }

    // Picks "折角检测" from the title bar's menu button; `answer` then acts
    // on the dialog. Returns once the dialog has closed and pending setting
    // writes have reached the file.
    Shown chooseFromMenu(std::function<void(CheckCorner*)> answer)
    {
        Shown shown;
        script
            .on<QMenu>([](QMenu* menu) {
                // Picked with the keyboard: the menu opens inside the menu
                // button's press, so a mouse click on it would read as a drag.
                for (QAction* action : menu->actions())
                    if (action->text() == QStringLiteral("折角检测"))
                        menu->setActiveAction(action);
                // Later, so that this step is done before the dialog's starts.
                QTimer::singleShot(0, menu, [menu] { QTest::keyClick(menu, Qt::Key_Return); });
            })
            .on<CheckCorner>([&](CheckCorner* dialog) {
                shown.title = dialog->titleBar()->titleLabel()->text();
                shown.checkSelected = dialog->findChild<QRadioButton*>(QStringLiteral("btnCheck"))->isChecked();
                shown.notCheckSelected = dialog->findChild<QRadioButton*>(QStringLiteral("btnNotCheck"))->isChecked();
                for (const QPushButton* button : dialog->findChild<QWidget*>(QStringLiteral("centeralFrame"))
                                                     ->findChildren<QPushButton*>())
                    if (button->isVisible())
                        shown.buttons.append(button->text());
                shown.onOverlay = dialog->parentWidget() == window.findChild<MaskForm*>() &&
                                  dialog->parentWidget()->isVisible();
                answer(dialog);
            });
        click(window.findChild<QPushButton*>(QStringLiteral("btnMenu")));
        EXPECT_EQ(script.pending(), 0) << "the menu or the dialog never came up";
        // The settings file is written from the event loop.
        QCoreApplication::processEvents();
        return shown;
    }

    static void choose(CheckCorner* dialog, const char* name)
    {
        click(dialog->findChild<QRadioButton*>(QLatin1String(name)));
    }
};

} // namespace

TEST_F(FoldedCornerOption, onlyAnOkThatChangesTheChoiceWritesItAndTheNextIntakeFollows)
{
    const QByteArray before = testsupport::readFile(configPath());

    // Cancel and the title bar's close keep the file, whatever was chosen.
    Shown shown = chooseFromMenu([](CheckCorner* dialog) {
        choose(dialog, "btnCheck");
        clickButton(dialog, QStringLiteral("取消"));
    });
    EXPECT_EQ(shown.title, QStringLiteral("折角检测设置"));
    EXPECT_FALSE(shown.checkSelected);
    EXPECT_TRUE(shown.notCheckSelected);
    EXPECT_EQ(shown.buttons, QStringList({QStringLiteral("确定"), QStringLiteral("取消")}));
    EXPECT_TRUE(shown.onOverlay);
    EXPECT_EQ(testsupport::readFile(configPath()), before);

    chooseFromMenu([](CheckCorner* dialog) {
        choose(dialog, "btnCheck");
        closeByTitleBar(dialog);
    });
    EXPECT_EQ(testsupport::readFile(configPath()), before);

    // OK on the stored choice writes nothing either.
    shown = chooseFromMenu([](CheckCorner* dialog) { clickButton(dialog, QStringLiteral("确定")); });
    EXPECT_TRUE(shown.notCheckSelected) << "the dialog opens as the file says, not as it was last left";
    EXPECT_EQ(testsupport::readFile(configPath()), before);

    chooseFromMenu([](CheckCorner* dialog) {
        choose(dialog, "btnCheck");
        clickButton(dialog, QStringLiteral("确定"));
    });
    EXPECT_TRUE(testsupport::readFile(configPath()).contains("is_check_corner=true"));
    shown = chooseFromMenu([](CheckCorner* dialog) { clickButton(dialog, QStringLiteral("取消")); });
    EXPECT_TRUE(shown.checkSelected);

    // The next intake checks the pages for folded corners.
    project(1, 1);
    openFilesAnswers = {{writeImage(QStringLiteral("folded.jpg"), sheet(QSize(600, 420), 120))}};
    Message refused;
    script.message(&refused, QStringLiteral("确定"));
    io.importImages();
    EXPECT_EQ(refused.text, QStringLiteral("图像校验失败！请检查扫描图片是否有折角，破损等 !"));
}
