#include "tests/support/scannerprocesses.h"

#include "tests/support/logwatch.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <unistd.h>

namespace scannerprocesses {

int count()
{
    // The kernel keeps 15 characters of a program's name.
    const QByteArray name = QByteArray("tollivar-scanner").left(15);
    int found = 0;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isProcess = false;
        entry.toInt(&isProcess);
        if (!isProcess)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold blanks, the bracket ends it.
        const QByteArray line = stat.readAll();
        const int open = line.indexOf('(');
        const int close = line.lastIndexOf(')');
        if (open < 0 || close < open)
            continue;
        const QList<QByteArray> rest = line.mid(close + 2).split(' ');
        if (line.mid(open + 1, close - open - 1) == name && rest.size() > 1 && rest[1].toLongLong() == getpid())
            ++found;
    }
    return found;
}

bool waitUntilGone(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (count() > 0) {
        if (clock.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    // Reaped; the program hears of it from its event loop, and lets go of
    // what it kept for it.
    for (int round = 0; round < 5; ++round) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(10);
    }
    return true;
}

std::string failedSince(const logwatch::LogWatch& since)
{
    return since.newRecords(QStringLiteral("Error"), QStringLiteral("SaneConnection: the scanner process ended with code"))
        .join(QLatin1Char('\n'))
        .toStdString();
}

QStringList environment(const QString& alsoPreload)
{
    QString preload = QStringLiteral(TOLLIVAR_SCANNER_SHIM);
    if (!alsoPreload.isEmpty())
        preload += QLatin1Char(':') + alsoPreload;
    return {QStringLiteral("LD_PRELOAD=") + preload};
}

QString abortingReadShim()
{
    return QStringLiteral(TOLLIVAR_ABORTING_READ_SHIM);
}

} // namespace scannerprocesses
