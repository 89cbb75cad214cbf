#include "tests/support/testsupport.h"
#include "tests/widgets/kittest.h"

#include "widgets/kit/eimessagebox.h"
#include "widgets/kit/eititlebar.h"
#include "widgets/kit/maskform.h"

#include <gtest/gtest.h>

#include <functional>

using testsupport::later;
using testsupport::Watchdog;

namespace {

// What the operator saw of the open box, and how it was answered.
struct Seen
{
    QString title;
    QString text;
    QStringList buttons;
    bool iconShown = true;
    bool iconLoaded = false;
};

// Looks at the box that `parent` shows once the box is up, then presses
// the button with `answer` (or the title bar's close button when empty).
void inspectAndAnswer(QWidget* parent, Seen& seen, const QString& answer)
{
    later(0, [parent, &seen, answer] {
        auto* box = kittest::visibleChild<EIMessageBox>(parent);
        if (!box) {
            ADD_FAILURE() << "no message box shown";
            return;
        }
        seen.title = box->titleBar()->titleLabel()->text();
        auto* content = box->findChild<QLabel*>(QStringLiteral("messageContent"));
        seen.text = content ? content->text() : QString();
        auto* icon = box->findChild<QLabel*>(QStringLiteral("messageIcon"));
        seen.iconShown = icon && icon->isVisible();
        seen.iconLoaded = icon && !icon->pixmap(Qt::ReturnByValue).isNull();
        const QList<QPushButton*> buttons = kittest::dialogButtons(box);
        seen.buttons = kittest::texts(buttons);
        if (answer.isEmpty()) {
            kittest::click(kittest::visibleButtons(box->titleBar()).value(0));
            return;
        }
        for (QPushButton* button : buttons)
            if (button->text() == answer) {
                kittest::click(button);
                return;
            }
        ADD_FAILURE() << "no button " << answer.toStdString();
        box->doCancel();
    });
}

class MessageBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(1000, 700);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    Watchdog watchdog;
    QWidget window;
    Seen seen;
};

} // namespace

TEST_F(MessageBoxTest, informationShowsOneOkButtonAndAnswersOkOrClose)
{
    inspectAndAnswer(&window, seen, QStringLiteral("确定"));
    EXPECT_EQ(EIMessageBox::information(&window, QStringLiteral("提示"), QStringLiteral("保存成功")), 1);
    EXPECT_EQ(seen.title, QStringLiteral("提示"));
    EXPECT_EQ(seen.text, QStringLiteral("保存成功"));
    EXPECT_EQ(seen.buttons, QStringList({"确定"}));

    inspectAndAnswer(&window, seen, QString());
    EXPECT_EQ(EIMessageBox::information(&window, QStringLiteral("提示"), QStringLiteral("保存成功")), 3);
}

TEST_F(MessageBoxTest, questionRelabelsItsSingleButtonWithTheExtraText)
{
    inspectAndAnswer(&window, seen, QStringLiteral("重新导入"));
    EXPECT_EQ(EIMessageBox::question(&window, QStringLiteral("提示"), QStringLiteral("图片数量不符"),
                                     QStringLiteral("重新导入")),
              1);
    EXPECT_EQ(seen.buttons, QStringList({"重新导入"}));

    inspectAndAnswer(&window, seen, QStringLiteral("确定"));
    EXPECT_EQ(EIMessageBox::question(&window, QStringLiteral("提示"), QStringLiteral("程序遇到异常，即将退出！")), 1);
    EXPECT_EQ(seen.buttons, QStringList({"确定"}));
}

TEST_F(MessageBoxTest, warningOffersTheCallersButtonSet)
{
    struct Case
    {
        int buttons;
        QStringList shown;
        QString answer;
        int expected;
    };
    const QList<Case> cases = {
        {0, {"确定"}, "确定", 1},
        {1, {"确定", "取消"}, "确定", 1},
        {1, {"确定", "取消"}, "取消", 0},
        {3, {"是", "否"}, "是", 1},
        {3, {"是", "否"}, "否", 0},
        {4, {}, QString(), 3},
        // A set outside the table leaves the buttons as the form made them.
        {9, {"确定", "取消"}, "取消", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.buttons);
        inspectAndAnswer(&window, seen, c.answer);
        EXPECT_EQ(EIMessageBox::warning(&window, QStringLiteral("警告"), QStringLiteral("确定要退出程序吗？"), c.buttons),
                  c.expected);
        EXPECT_EQ(seen.buttons, c.shown);
        EXPECT_EQ(seen.title, QStringLiteral("警告"));
    }
}

TEST_F(MessageBoxTest, neverShowsItsIconWhateverTheKind)
{
    for (int kind : {0, 1, 2, 5}) {
        SCOPED_TRACE(kind);
        inspectAndAnswer(&window, seen, QStringLiteral("确定"));
        EIMessageBox::showMessage(&window, QStringLiteral("提示"), QStringLiteral("文本"), kind, 0, true, QString());
        EXPECT_FALSE(seen.iconShown);
        // The kind still loads its image into the hidden label.
        EXPECT_EQ(seen.iconLoaded, kind <= 2);
    }
}

TEST_F(MessageBoxTest, answeredBoxIsFreedAndModelessBoxStaysUp)
{
    inspectAndAnswer(&window, seen, QStringLiteral("确定"));
    EIMessageBox::information(&window, QStringLiteral("提示"), QStringLiteral("一"));
    EXPECT_TRUE(window.findChildren<EIMessageBox*>().isEmpty());

    EXPECT_EQ(EIMessageBox::showMessage(&window, QStringLiteral("提示"), QStringLiteral("二"), 0, 0, false, QString()),
              -1);
    auto* box = kittest::visibleChild<EIMessageBox>(&window);
    ASSERT_NE(box, nullptr);
    kittest::click(kittest::dialogButtons(box).value(0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.findChildren<EIMessageBox*>().isEmpty(); }, 1000));
}

TEST_F(MessageBoxTest, boxOnTheBusyOverlayIsDrawnAboveItAndTakesInput)
{
    MaskForm overlay(&window);
    overlay.setGeometry(window.rect());
    overlay.show();
    later(0, [&] {
        auto* box = kittest::visibleChild<EIMessageBox>(&overlay);
        ASSERT_NE(box, nullptr);
        QPushButton* ok = kittest::dialogButtons(box).value(0);
        ASSERT_NE(ok, nullptr);
        const QPoint centre = ok->mapTo(&window, ok->rect().center());
        EXPECT_EQ(window.childAt(centre), ok);
        QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, centre);
    });
    EXPECT_EQ(EIMessageBox::warning(&overlay, QStringLiteral("提示"), QStringLiteral("确定要退出程序吗？"), 1), 1);
}
