#include "tests/app/iotest.h"

#include "app/shell/gettemplatepanel.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(GetTemplatePanel, eachButtonEmitsItsOwnSignalOnce)
{
    testsupport::Watchdog watchdog;
    GetTemplatePanel panel;
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QSignalSpy scan(&panel, &GetTemplatePanel::scanImage);
    QSignalSpy import(&panel, &GetTemplatePanel::importImage);

    QStringList names;
    for (const QPushButton* button : panel.findChildren<QPushButton*>())
        names.append(button->objectName());
    EXPECT_EQ(names, QStringList({"themeBtn", "themeBtn"}));

    ASSERT_TRUE(iotest::clickButton(&panel, QStringLiteral("扫描答题卡模板")));
    EXPECT_EQ(scan.size(), 1);
    EXPECT_EQ(import.size(), 0);
    ASSERT_TRUE(iotest::clickButton(&panel, QStringLiteral("导入答题卡图片")));
    EXPECT_EQ(scan.size(), 1);
    EXPECT_EQ(import.size(), 1);
}
