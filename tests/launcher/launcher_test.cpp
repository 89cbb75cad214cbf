#include "launcher/launcher.h"
#include "platform/windowsversion.h"
#include "tests/support/testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <sys/prctl.h>
#include <sys/wait.h>

namespace {

// A working folder with stand-ins for the program's builds: each appends
// its name to the file "started" there. The test process adopts what the
// launcher starts detached, so it can wait for those programs to end.
class LauncherTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0); }

    void TearDown() override
    {
        ::prctl(PR_SET_CHILD_SUBREAPER, 0);
        QDir::setCurrent(previousFolder);
        platform::overrideWindowsVersion(std::nullopt);
    }

    void addBuild(const QByteArray& name)
    {
        const QString path = scratch.file(QString::fromLatin1(name));
        ASSERT_TRUE(testsupport::writeFile(path, "#!/bin/sh\necho " + name + " >> started\n"));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // What the stand-ins the launcher started wrote, once all of them
    // (none, when it started none) have ended; the watchdog bounds the wait.
    QString started() const
    {
        int status = 0;
        while (::waitpid(-1, &status, 0) > 0 || errno == EINTR) {
        }
        EXPECT_EQ(errno, ECHILD);
        return QString::fromUtf8(testsupport::readFile(marker())).trimmed();
    }

    QString marker() const { return scratch.file(QStringLiteral("started")); }

    testsupport::Watchdog watchdog{60};
    testsupport::ScratchDir scratch;
    const QString previousFolder = QDir::currentPath();
};

} // namespace

TEST_F(LauncherTest, startsTheBuildForTheWindowsVersionAndNeverTheOther)
{
    addBuild("kestrun");
    addBuild("dovrane");
    ASSERT_TRUE(QDir::setCurrent(scratch.path()));
    // Windows 10, 7 and XP: only versions before Vista take dovrane.
    const QList<QPair<int, QString>> cases = {{0xC0, "kestrun"}, {0x90, "kestrun"}, {0x70, "dovrane"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        QFile::remove(marker());
        platform::overrideWindowsVersion(c.first);
        EXPECT_EQ(launcher::launchMainProgram(), 0);
        EXPECT_EQ(started(), c.second);
    }

    // kestrun cannot be started on Windows 10: a warning saying why, a
    // failing exit code, and no fallback to dovrane.
    platform::overrideWindowsVersion(0xC0);
    const QString kestrun = scratch.file(QStringLiteral("kestrun"));
    struct Fault
    {
        const char* what;
        std::function<void()> make;
        QString text;
    };
    const QString missing = QStringLiteral("程序文件缺失，请重新安装！");
    const QList<Fault> faults = {
        {"missing", [&] { QFile::remove(kestrun); }, missing},
        {"a folder", [&] { QDir().mkdir(kestrun); }, missing},
        {"not executable", [&] {
             QDir(kestrun).removeRecursively();
             testsupport::writeFile(kestrun, "#!/bin/sh\necho kestrun >> started\n");
             QFile::setPermissions(kestrun, QFile::ReadOwner | QFile::WriteOwner);
         }, QStringLiteral("程序启动失败，请重新安装！")},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.what);
        fault.make();
        QFile::remove(marker());
        QString title, text;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            title = box->windowTitle();
            text = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        poll.start(10);
        EXPECT_EQ(launcher::launchMainProgram(), 1);
        EXPECT_EQ(title, QStringLiteral("提示"));
        EXPECT_EQ(text, fault.text);
        EXPECT_EQ(started(), QString());
    }
}

TEST_F(LauncherTest, theProgramLooksInItsWorkingFolderAndEndsByItselfWithZero)
{
    // An event loop would keep it running: it has no window that could close.
    addBuild("kestrun");
    QProcess program;
    program.setWorkingDirectory(scratch.path());
    program.start(QStringLiteral(TOLLIVAR_LAUNCHER_PATH), QStringList());
    ASSERT_TRUE(program.waitForFinished(20000)) << "the launcher did not end";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(started(), QStringLiteral("kestrun"));
}
