#include "platform/folderopener.h"

#include <QDesktopServices>
#include <QUrl>

#ifdef Q_OS_WIN
#include <QProcess>
#endif

namespace platform {

namespace {

const QString explorer = QStringLiteral("explorer");

bool openWithDesktop(const QString& folder)
{
#ifdef Q_OS_WIN
    // Explorer reads its command line whole; Qt would quote a path with
    // blanks in it, so the line is handed over as it is.
    QProcess process;
    process.setProgram(explorer);
    process.setNativeArguments(explorerCommandLine(folder).mid(explorer.size() + 1));
    return process.startDetached();
#else
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
#endif
}

FolderOpener& currentOpener()
{
    static FolderOpener opener;
    return opener;
}

} // namespace

bool openFolder(const QString& folder)
{
    const FolderOpener& opener = currentOpener();
    return opener ? opener(folder) : openWithDesktop(folder);
}

void setFolderOpener(FolderOpener opener)
{
    currentOpener() = std::move(opener);
}

QString explorerCommandLine(const QString& folder)
{
    // Built for Windows on every platform, so QDir::toNativeSeparators
    // (which knows only the running system) does not serve.
    QString path = QStringLiteral(" ") + folder + QStringLiteral("/");
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return explorer + QStringLiteral(" ") + path;
}

} // namespace platform
