#include "tests/app/apptest.h"
#include "tests/support/testsupport.h"

#include "app/shell/crashhandler.h"

#include <gtest/gtest.h>

#include <QScreen>

TEST(CrashMessage, tellsTheOperatorThatTheProgramEndsInTheMiddleOfTheScreen)
{
    testsupport::Watchdog watchdog(30);
    apptest::Message box;
    QPoint centre;
    apptest::answerWhenShown(nullptr, QStringLiteral("确定"), &box,
                             [&] { centre = apptest::visibleMessageBox()->frameGeometry().center(); });
    crashHandler();

    EXPECT_EQ(box.title, QStringLiteral("提示"));
    EXPECT_EQ(box.text, QStringLiteral("程序遇到异常，即将退出！"));
    EXPECT_EQ(box.buttons, QStringList({QStringLiteral("确定")}));
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((centre - screenCentre).manhattanLength(), 2);
    EXPECT_EQ(apptest::visibleMessageBox(), nullptr);
}
