#include "tests/support/testsupport.h"
#include "tests/widgets/kittest.h"

#include "platform/compositor.h"
#include "widgets/kit/eidialog.h"
#include "widgets/kit/eititlebar.h"

#include <gtest/gtest.h>

#include <QPointer>

using testsupport::later;
using testsupport::Watchdog;

namespace {

// A host window for dialogs drawn inside it, as the busy overlay hosts them.
struct Host
{
    QWidget window;
    Host()
    {
        window.resize(800, 600);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

// Clicks the visible button with this text in the dialog, from the event
// loop that exec() runs.
void answerWith(EIDialog* dialog, const QString& text)
{
    later(0, [dialog, text] {
        for (QPushButton* button : kittest::dialogButtons(dialog))
            if (button->text() == text) {
                kittest::click(button);
                return;
            }
        ADD_FAILURE() << "no visible button " << text.toStdString();
        dialog->doCancel();
    });
}

// A property dialog that accepts OK only once `valid` is set.
class PickyDialog : public EIDialog
{
public:
    using EIDialog::EIDialog;
    bool valid = false;
    int rejected = 0;
    void doOk() override
    {
        if (!valid) {
            ++rejected;
            return;
        }
        EIDialog::doOk();
    }
};

} // namespace

TEST(EIDialog, returnsTheCodeOfWhatClosedIt)
{
    Watchdog watchdog;
    Host host;
    EIDialog dialog(&host.window);
    dialog.setButtons(1);
    dialog.setTitle(QStringLiteral("新建答题卡"));

    // A close that no button asked for is no OK, before any answer and
    // after an earlier OK alike.
    later(0, [&] { dialog.close(); });
    EXPECT_EQ(dialog.exec(), EIDialog::Cancel);

    answerWith(&dialog, QStringLiteral("确定"));
    EXPECT_EQ(dialog.exec(), EIDialog::Ok);
    EXPECT_FALSE(dialog.isVisible());
    later(0, [&] { dialog.close(); });
    EXPECT_EQ(dialog.exec(), EIDialog::Cancel);

    answerWith(&dialog, QStringLiteral("取消"));
    EXPECT_EQ(dialog.exec(), EIDialog::Cancel);

    // The title bar shows the title and, of its window buttons, only close.
    later(0, [&] {
        EXPECT_EQ(dialog.titleBar()->titleLabel()->text(), QStringLiteral("新建答题卡"));
        const QList<QPushButton*> windowButtons = kittest::visibleButtons(dialog.titleBar());
        EXPECT_EQ(windowButtons.size(), 1);
        kittest::click(windowButtons.value(0));
    });
    EXPECT_EQ(dialog.exec(), EIDialog::Close);

    later(0, [&] { dialog.doRetry(); });
    EXPECT_EQ(dialog.exec(), EIDialog::Retry);
}

TEST(EIDialog, rejectedOkKeepsTheDialogOpenUntilTheFieldsAreGood)
{
    Watchdog watchdog;
    Host host;
    PickyDialog dialog(&host.window);
    later(0, [&] {
        QPushButton* ok = kittest::dialogButtons(&dialog).value(0);
        kittest::click(ok);
        EXPECT_TRUE(dialog.isVisible());
        dialog.valid = true;
        kittest::click(ok);
    });
    EXPECT_EQ(dialog.exec(), EIDialog::Ok);
    EXPECT_EQ(dialog.rejected, 1);
}

TEST(EIDialog, destroyedWhileWaitingLetsTheCallerGoOn)
{
    Watchdog watchdog;
    auto* host = new QWidget;
    host->resize(600, 400);
    host->show();
    QPointer<EIDialog> dialog = new EIDialog(host);
    later(0, [host] { delete host; });
    EXPECT_EQ(dialog->exec(), EIDialog::Cancel);
    EXPECT_TRUE(dialog.isNull());
}

TEST(EIDialog, execCentresTheDialogInItsParent)
{
    Watchdog watchdog;
    QWidget window;
    window.resize(900, 700);
    QWidget parent(&window);
    parent.setGeometry(0, 0, 400, 300);
    window.show();

    EIDialog dialog(&parent);
    dialog.resize(557, 323);
    later(0, [&] {
        EXPECT_EQ(dialog.pos(), QPoint(-78, -11));
        dialog.doCancel();
    });
    dialog.exec();

    // Odd differences truncate toward zero; the parent's own offset inside
    // its window must not push the dialog off centre.
    parent.setGeometry(50, 40, 401, 301);
    EIDialog small(&parent);
    small.setFixedSize(100, 100);
    later(0, [&] {
        EXPECT_EQ(small.pos(), QPoint(150, 100));
        small.doCancel();
    });
    small.exec();
}

TEST(EIDialog, buttonSetsChooseTextsAndHideButtonsForGood)
{
    Host host;
    EIDialog dialog(&host.window);
    dialog.show();
    const QStringList both = {QStringLiteral("确定"), QStringLiteral("取消")};
    EXPECT_EQ(kittest::texts(kittest::dialogButtons(&dialog)), both);

    dialog.setButtons(2);
    dialog.setButtons(7);
    EXPECT_EQ(kittest::texts(kittest::dialogButtons(&dialog)), both);

    dialog.setButtons(3);
    EXPECT_EQ(kittest::texts(kittest::dialogButtons(&dialog)), QStringList({"是", "否"}));

    dialog.setButtons(0);
    dialog.setButtons(1);
    EXPECT_EQ(kittest::texts(kittest::dialogButtons(&dialog)), QStringList({"确定"}));
    const QList<QPushButton*> all = dialog.findChildren<QPushButton*>(QStringLiteral("themeBtn"));
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[1]->text(), QStringLiteral("取消"));
    EXPECT_FALSE(all[1]->isVisible());

    dialog.setButtonTexts(QStringLiteral("重新扫描"), QString());
    EXPECT_EQ(all[0]->text(), QStringLiteral("重新扫描"));
    EXPECT_EQ(all[1]->text(), QString());

    dialog.setButtons(4);
    EXPECT_TRUE(kittest::dialogButtons(&dialog).isEmpty());
}

TEST(EIDialog, lowDialogsKeepTheButtonRowOnAPlainWhiteCard)
{
    Host host;
    // The message box's and the folded-corner option's heights are below a
    // full content area plus the button row; the new-project dialog's is not.
    for (const int height : {220, 240, 350}) {
        EIDialog dialog(&host.window);
        dialog.setFixedSize(510, height);
        dialog.show();
        QCoreApplication::processEvents();
        const QWidget* content = dialog.findChild<QWidget*>(QStringLiteral("contentFrame"));
        const QPushButton* ok = kittest::dialogButtons(&dialog).value(0);
        ASSERT_TRUE(content && ok);
        const int contentBottom = content->mapTo(&dialog, QPoint(0, content->height() - 1)).y();
        const QRect okRect(ok->mapTo(&dialog, QPoint(0, 0)), ok->size());
        EXPECT_LT(contentBottom, okRect.top()) << height;
        EXPECT_GE(height - 1 - okRect.bottom(), 31) << height;
        // No frame edge or strip across the card, left of the buttons.
        const QImage card = dialog.grab().toImage();
        for (int y = 50; y < height - 10; ++y)
            ASSERT_EQ(card.pixel(20, y), qRgb(255, 255, 255)) << height << " at y " << y;
    }
}

TEST(EIDialog, dragsOnlyWhenMovable)
{
    Host host;
    EIDialog dialog(&host.window);
    dialog.move(100, 100);
    dialog.show();
    QWidget* content = dialog.findChild<QWidget*>(QStringLiteral("contentFrame"));
    ASSERT_NE(content, nullptr);
    const QPoint start = content->mapTo(&dialog, QPoint(10, 10));

    auto dragBy = [&](QPoint delta) {
        QTest::mousePress(&dialog, Qt::LeftButton, Qt::NoModifier, start);
        const QPoint before = dialog.pos();
        QTest::mouseMove(&dialog, start + delta);
        // A dragged dialog carries the press point along under the pointer.
        const QPoint under = start + delta - (dialog.pos() - before);
        QTest::mouseRelease(&dialog, Qt::LeftButton, Qt::NoModifier, under);
    };
    dragBy(QPoint(20, 15));
    EXPECT_EQ(dialog.pos(), QPoint(100, 100));

    dialog.setMovable(true);
    dragBy(QPoint(20, 15));
    EXPECT_EQ(dialog.pos(), QPoint(120, 115));
}

TEST(EIDialog, topLevelDialogIsPaintedOpaqueWithoutACompositor)
{
    EIDialog dialog;
    dialog.resize(300, 200);

    platform::overrideTranslucentWindowsSupported(true);
    const QImage composited = dialog.grab().toImage();
    platform::overrideTranslucentWindowsSupported(false);
    const QImage plain = dialog.grab().toImage();
    platform::overrideTranslucentWindowsSupported(std::nullopt);

    // The rounded corner is see-through only where a compositor blends it.
    EXPECT_EQ(qAlpha(composited.pixel(0, composited.height() - 1)), 0);
    EXPECT_EQ(plain.pixel(0, plain.height() - 1), qRgb(255, 255, 255));
    EXPECT_EQ(plain.pixel(plain.width() / 2, plain.height() - 5), qRgb(255, 255, 255));
}
