#include "tests/support/testsupport.h"
#include "tests/widgets/kittest.h"

#include "widgets/dialogs/scanpanel.h"
#include "widgets/kit/eititlebar.h"

#include <QComboBox>
#include <QLabel>

#include <gtest/gtest.h>

using testsupport::later;

namespace {

class ScanPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(1000, 700);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Presses the first visible button of the dialog's button row ("确定").
    static void pressOk(ScanPanel* dialog)
    {
        later(0, [dialog] {
            const QList<QPushButton*> buttons = kittest::dialogButtons(dialog);
            if (buttons.isEmpty())
                dialog->doCancel();
            else
                kittest::click(buttons.first());
        });
    }

    testsupport::Watchdog watchdog;
    QWidget window;
};

} // namespace

TEST_F(ScanPanelTest, listsTheScannersInTheirOrderInAFixedDialogThatCannotBeDragged)
{
    const QStringList names = {QStringLiteral("Noname frontend-tester (test:0)"),
                               QStringLiteral("Noname frontend-tester (test:1)")};
    ScanPanel dialog(&window, names);
    auto* box = dialog.findChild<QComboBox*>(QStringLiteral("boxScannerName"));
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("label"));
    ASSERT_TRUE(box && label);

    QStringList listed;
    for (int i = 0; i < box->count(); ++i)
        listed.append(box->itemText(i));
    EXPECT_EQ(listed, names);
    EXPECT_EQ(dialog.currentScanner(), names[0]);
    EXPECT_EQ(dialog.titleBar()->titleLabel()->text(), QStringLiteral("扫描第三方答题卡"));
    EXPECT_EQ(label->text(), QStringLiteral("选择扫描仪："));
    EXPECT_EQ(dialog.minimumSize(), QSize(510, 282));
    EXPECT_EQ(dialog.maximumSize(), QSize(510, 282));
    EXPECT_EQ(box->width(), 260);

    // Not movable: a drag on its body leaves it where it is.
    dialog.move(100, 100);
    dialog.show();
    EXPECT_EQ(dialog.size(), QSize(510, 282));
    const QPoint grip = label->geometry().center() + QPoint(0, 40);
    QTest::mousePress(&dialog, Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(&dialog, grip + QPoint(60, 40));
    QTest::mouseRelease(&dialog, Qt::LeftButton, Qt::NoModifier, grip + QPoint(60, 40));
    EXPECT_EQ(dialog.pos(), QPoint(100, 100));

    later(0, [&] { box->setCurrentIndex(1); });
    pressOk(&dialog);
    EXPECT_EQ(dialog.exec(), 1);
    EXPECT_EQ(dialog.currentScanner(), names[1]);
    EXPECT_EQ(dialog.currentIndex(), 1);
}

TEST_F(ScanPanelTest, withoutScannersOkGivesAnEmptyChoiceThatNamesNoScanner)
{
    ScanPanel dialog(&window, QStringList());
    pressOk(&dialog);
    EXPECT_EQ(dialog.exec(), 1);
    EXPECT_TRUE(dialog.currentScanner().isEmpty());
    EXPECT_EQ(dialog.currentIndex(), -1);
}
