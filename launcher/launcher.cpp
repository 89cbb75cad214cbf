#include "launcher/launcher.h"

#include "platform/executablesuffix.h"
#include "platform/windowsversion.h"

#include <QFile>
#include <QMessageBox>
#include <QProcess>

namespace {
// QSysInfo::WV_VISTA: every later Windows takes the newer build too.
constexpr int windowsVista = 0x80;
} // namespace

Launcher::Launcher(QWidget* parent) : QMainWindow(parent)
{
    ui.setupUi(this);
}

namespace launcher {

QString mainProgramFor(int windowsVersion)
{
    const QString build = windowsVersion >= windowsVista ? QStringLiteral("./kestrun") : QStringLiteral("./dovrane");
    return build + platform::executableSuffix();
}

int launchMainProgram()
{
    Launcher window;
    // Looked up in the working folder, not beside the launcher's own file.
    const QString program = mainProgramFor(platform::windowsVersion());
    if (QFile::exists(program)) {
        // Its answer is not looked at: the launcher ends either way.
        QProcess::startDetached(program, {});
    } else {
        QMessageBox::warning(nullptr, QStringLiteral("提示"), QStringLiteral("程序文件缺失，请重新安装！"),
                             QMessageBox::Ok, QMessageBox::NoButton);
    }
    return 0;
}

} // namespace launcher
