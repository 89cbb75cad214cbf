#include "tests/support/scannerprocesses.h"

#include "tests/support/logwatch.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <unistd.h>

namespace scannerprocesses {

namespace {

// Those this process started, found by their parent and their name (the
// kernel keeps 15 characters of it): "pid (name) state ppid ...".
int count()
{
    const QByteArray name = "(" + QByteArray("tollivar-scanner").left(15) + ") ";
    int found = 0;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!entry.at(0).isDigit() || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const int at = line.indexOf(name);
        const QList<QByteArray> rest = line.mid(at + name.size()).split(' ');
        found += at > 0 && rest.size() > 1 && rest[1].toLongLong() == getpid();
    }
    return found;
}

} // namespace

bool waitUntilGone(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    // A few rounds after they are reaped: the program hears of it from its
    // event loop, and lets go of what it kept for them.
    for (int roundsWithout = 0; roundsWithout < 5; roundsWithout = count() == 0 ? roundsWithout + 1 : 0) {
        if (clock.elapsed() > milliseconds)
            return false;
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

std::string preloads(bool abortingRead)
{
    return abortingRead ? TOLLIVAR_SCANNER_SHIM ":" TOLLIVAR_ABORTING_READ_SHIM : TOLLIVAR_SCANNER_SHIM;
}

} // namespace scannerprocesses
