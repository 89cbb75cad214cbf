#include "launcher/launcher.h"

#include "platform/executablesuffix.h"
#include "platform/windowsversion.h"

#include <QFileInfo>
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
    const QFileInfo file(program);
    QString fault;
    // A folder of that name is no program either.
    if (!file.exists() || file.isDir())
        fault = QStringLiteral("程序文件缺失，请重新安装！");
    else if (!QProcess::startDetached(program, {}))
        fault = QStringLiteral("程序启动失败，请重新安装！");
    if (fault.isEmpty())
        return 0;
    QMessageBox::warning(nullptr, QStringLiteral("提示"), fault, QMessageBox::Ok, QMessageBox::NoButton);
    return 1;
}

} // namespace launcher
