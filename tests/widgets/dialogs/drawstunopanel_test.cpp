#include "tests/widgets/dialogs/dialoghost.h"

#include "widgets/dialogs/drawstunopanel.h"

using dialogtest::child;
using dialogtest::DialogHost;
using testsupport::later;

TEST_F(DialogHost, DrawStuNoPanelOpensWithDefaultsBoundsItsPrefillAndPassesHiddenFields)
{
    DrawStuNoPanel dialog(&window);
    later(0, [&] {
        EXPECT_EQ(dialog.minimumSize(), QSize(480, 280));
        EXPECT_EQ(dialog.maximumSize(), QSize(480, 280));
        EXPECT_EQ(dialogtest::title(dialog), QStringLiteral("准考证号属性   "));
        EXPECT_EQ(dialogtest::items(child<QComboBox>(&dialog, "boxAlign")), QStringList({"横向", "纵向"}));
        dialogtest::expectRange(child<QSpinBox>(&dialog, "boxStuNoLens"), 3, 15, 9);
        dialogtest::expectRange(child<QSpinBox>(&dialog, "boxChosenCnt"), 3, 15, 10);
        for (const char* hidden : {"boxBorderType", "label_4", "checkExistLine", "label_6"})
            EXPECT_FALSE(child<QWidget>(&dialog, hidden)->isVisible()) << hidden;
        dialogtest::finishWithOk(dialog);
    });
    ASSERT_EQ(dialog.exec(), 1);
    TicketNum result = dialog.properties();
    EXPECT_EQ(result.direction, 0);
    EXPECT_EQ(result.count, 9);
    EXPECT_EQ(result.rows, 10);
    EXPECT_EQ(result.borderType, 1);   // "半封闭"
    EXPECT_TRUE(result.existsLine);

    TicketNum record;
    record.direction = 1;
    record.count = 20;
    record.rows = 2;
    record.borderType = 0;
    record.existsLine = false;
    dialog.setProperties(record);
    result = dialog.properties();
    EXPECT_EQ(result.direction, 1);
    EXPECT_EQ(result.count, 15);
    EXPECT_EQ(result.rows, 3);
    EXPECT_EQ(result.borderType, 0);
    EXPECT_FALSE(result.existsLine);
    dialog.setNumberLength(12);
    EXPECT_EQ(dialog.properties().count, 12);

    later(0, [&] { kittest::click(kittest::visibleButtons(dialog.titleBar()).value(0)); });
    EXPECT_EQ(dialog.exec(), 3);
}
