#include "launcher/launcher.h"
#include "platform/windowsversion.h"
#include "tests/support/testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A working folder holding stand-ins for the main program's builds: each
// appends its name to the file "started" there.
class LauncherTest : public ::testing::Test
{
protected:
    void SetUp() override { previousFolder = QDir::currentPath(); }

    void TearDown() override
    {
        QDir::setCurrent(previousFolder);
        platform::overrideWindowsVersion(std::nullopt);
    }

    void addBuild(const QString& name)
    {
        const QString path = scratch.file(name);
        ASSERT_TRUE(testsupport::writeFile(path, "#!/bin/sh\necho " + name.toUtf8() + " >> started\n"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // What the stand-ins wrote, once something did (they run detached).
    QString started() const
    {
        QElapsedTimer clock;
        clock.start();
        while (!QFile::exists(scratch.file(QStringLiteral("started"))) && clock.elapsed() < 10000)
            QThread::msleep(20);
        // Lets a second, wrongly started build write too.
        QThread::msleep(200);
        return QString::fromUtf8(testsupport::readFile(scratch.file(QStringLiteral("started")))).trimmed();
    }

    testsupport::Watchdog watchdog{60};
    testsupport::ScratchDir scratch;
    QString previousFolder;
};

} // namespace

TEST_F(LauncherTest, startsTheBuildForTheWindowsVersionFromTheWorkingFolder)
{
    struct Case
    {
        int version;
        QString build;
    };
    // Windows 10, Windows 7 and XP: only versions before Vista take dovrane.
    const QList<Case> cases = {{0xC0, "kestrun"}, {0x90, "kestrun"}, {0x70, "dovrane"}};
    addBuild(QStringLiteral("kestrun"));
    addBuild(QStringLiteral("dovrane"));
    ASSERT_TRUE(QDir::setCurrent(scratch.path()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        QFile::remove(scratch.file(QStringLiteral("started")));
        platform::overrideWindowsVersion(c.version);
        EXPECT_EQ(launcher::launchMainProgram(), 0);
        EXPECT_EQ(started(), c.build);
    }
}

TEST_F(LauncherTest, aMissingBuildIsReportedAndTheOtherIsNotStarted)
{
    addBuild(QStringLiteral("dovrane"));
    ASSERT_TRUE(QDir::setCurrent(scratch.path()));
    platform::overrideWindowsVersion(0xC0);

    QString title, text;
    QStringList buttons;
    bool windowShown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QStringLiteral("LauncherClass") && widget->isVisible())
                windowShown = true;
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible())
                continue;
            poll.stop();
            title = box->windowTitle();
            text = box->text();
            for (QAbstractButton* button : box->buttons())
                buttons.append(button->text());
            box->button(QMessageBox::Ok)->click();
            return;
        }
    });
    poll.start(10);

    EXPECT_EQ(launcher::launchMainProgram(), 0);
    EXPECT_EQ(title, QStringLiteral("提示"));
    EXPECT_EQ(text, QStringLiteral("程序文件缺失，请重新安装！"));
    EXPECT_EQ(buttons.size(), 1);
    EXPECT_FALSE(windowShown);
    QThread::msleep(200);
    EXPECT_FALSE(QFile::exists(scratch.file(QStringLiteral("started"))));
}

TEST_F(LauncherTest, theProgramEndsByItselfWithZeroOnceTheBuildIsStarted)
{
    // Run from a folder that is not its own: an event loop would keep it
    // running, since it shows no window that could close.
    addBuild(QStringLiteral("kestrun"));
    QProcess launcherProcess;
    launcherProcess.setWorkingDirectory(scratch.path());
    launcherProcess.start(QStringLiteral(TOLLIVAR_LAUNCHER_PATH), QStringList());
    ASSERT_TRUE(launcherProcess.waitForFinished(20000)) << "the launcher did not end";
    EXPECT_EQ(launcherProcess.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(launcherProcess.exitCode(), 0);
    EXPECT_EQ(started(), QStringLiteral("kestrun"));
}
