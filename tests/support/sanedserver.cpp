#include "tests/support/sanedserver.h"

#include <QAtomicInt>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString sanedPath()
{
    return QStandardPaths::findExecutable(QStringLiteral("saned"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
}

// 127.<100 + n>.<pid bytes>: apart from every other server of this process
// and, through the process id, of the suites running beside it.
QString nextAddress()
{
    static QAtomicInt made;
    const int n = made.fetchAndAddRelaxed(1) % 150;
    const int pid = int(getpid());
    return QStringLiteral("127.%1.%2.%3").arg(100 + n).arg((pid >> 8) & 0xff).arg(pid & 0xff);
}

bool answers(const QString& host)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(6566);
    inet_pton(AF_INET, host.toLatin1().constData(), &address.sin_addr);
    const bool connected = fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        close(fd);
    return connected;
}

QStringList netHosts()
{
    return QString::fromLatin1(qgetenv("SANE_NET_HOSTS")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

void setNetHosts(const QStringList& hosts)
{
    qputenv("SANE_NET_HOSTS", hosts.join(QLatin1Char(':')).toLatin1());
}

} // namespace

void GroupLeaderProcess::setupChildProcess()
{
    setpgid(0, 0);
    // A test that dies takes its server with it; the children serving its
    // connections end as those connections close.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
}

bool SanedServer::available()
{
    return !sanedPath().isEmpty();
}

SanedServer::SanedServer(Device device) : device(device), host(nextAddress())
{
    QByteArray test = "number_of_devices 1\ngeometry_min 0.0\ngeometry_max 420.0\ngeometry_quant 1.0\n";
    if (device.onlyDotsPerInch > 0) {
        const QByteArray dpi = QByteArray::number(device.onlyDotsPerInch);
        test += "resolution_min " + dpi + "\nresolution_max " + dpi + "\nresolution " + dpi + "\n";
    }
    testsupport::writeFile(config.file(QStringLiteral("dll.conf")), "test\n");
    testsupport::writeFile(config.file(QStringLiteral("test.conf")), test);
    testsupport::writeFile(config.file(QStringLiteral("saned.conf")), "127.0.0.0/8\n");
    setNetHosts(netHosts() << host);
}

SanedServer::~SanedServer()
{
    kill();
    QStringList others = netHosts();
    others.removeAll(host);
    setNetHosts(others);
}

QString SanedServer::productName() const
{
    // Beside the suite's own test devices of the same vendor and model.
    return QStringLiteral("Noname frontend-tester (net:%1:test:0)").arg(host);
}

bool SanedServer::start()
{
    if (process.state() != QProcess::NotRunning)
        return true;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SANE_CONFIG_DIR"), config.path());
    environment.remove(QStringLiteral("SANE_NET_HOSTS"));
    environment.remove(QStringLiteral("LD_PRELOAD"));
    if (device.flatbedOnly)
        environment.insert(QStringLiteral("TOLLIVAR_SHIM_FLATBED"), QStringLiteral("1"));
    if (!device.listedDotsPerInch.isEmpty()) {
        QStringList listed;
        for (int dotsPerInch : device.listedDotsPerInch)
            listed.append(QString::number(dotsPerInch));
        environment.insert(QStringLiteral("TOLLIVAR_SHIM_RESOLUTIONS"), listed.join(QLatin1Char(',')));
    }
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(TOLLIVAR_DEVICE_SHIM));
    process.setProcessEnvironment(environment);
    const QString log = config.file(QStringLiteral("saned.log"));
    process.setStandardOutputFile(log, QIODevice::Append);
    process.setStandardErrorFile(log, QIODevice::Append);
    // A server started again on the address of one just killed may find
    // the address not yet free on a busy machine, and ends at once: it is
    // given a few more tries.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt > 0)
            QThread::msleep(300);
        process.start(sanedPath(), {"-l", "-e", "-d", "1", "-b", host});
        if (!process.waitForStarted(5000))
            continue;
        for (int waited = 0; waited < 10000; waited += 10) {
            if (answers(host))
                return true;
            if (process.state() == QProcess::NotRunning)
                break;
            QThread::msleep(10);
        }
        kill();
    }
    QFile file(log);
    if (file.open(QIODevice::ReadOnly))
        qWarning("saned did not start on %s:\n%s", qPrintable(host), file.readAll().right(2000).constData());
    return false;
}

void SanedServer::kill()
{
    if (process.state() == QProcess::NotRunning)
        return;
    ::kill(-pid_t(process.processId()), SIGKILL);
    process.waitForFinished(5000);
}

void SanedServer::freeze()
{
    if (process.state() != QProcess::NotRunning)
        ::kill(-pid_t(process.processId()), SIGSTOP);
}
