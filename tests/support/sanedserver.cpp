#include "tests/support/sanedserver.h"

#include <QAtomicInt>
#include <QByteArrayList>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace {

constexpr quint16 sanePort = 6566;

QString sanedPath()
{
    const QString found = QStandardPaths::findExecutable(QStringLiteral("saned"));
    return found.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("saned"), {QStringLiteral("/usr/sbin")})
                           : found;
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
    if (fd < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(sanePort);
    inet_pton(AF_INET, host.toLatin1().constData(), &address.sin_addr);
    const bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

void setHosts(const QStringList& hosts)
{
    if (hosts.isEmpty())
        qunsetenv("SANE_NET_HOSTS");
    else
        qputenv("SANE_NET_HOSTS", hosts.join(QLatin1Char(':')).toLatin1());
}

QStringList hosts()
{
    return QString::fromLatin1(qgetenv("SANE_NET_HOSTS")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

} // namespace

bool SanedServer::available()
{
    return !sanedPath().isEmpty();
}

SanedServer::SanedServer(Device device) : device(device), host(nextAddress())
{
    QByteArray test = "number_of_devices 1\n"
                      "geometry_min 0.0\ngeometry_max 420.0\ngeometry_quant 1.0\n";
    if (device.onlyDotsPerInch > 0)
        test += QByteArray("resolution_min ") + QByteArray::number(device.onlyDotsPerInch) + "\nresolution_max "
              + QByteArray::number(device.onlyDotsPerInch) + "\nresolution "
              + QByteArray::number(device.onlyDotsPerInch) + "\n";
    testsupport::writeFile(config.file(QStringLiteral("dll.conf")), "test\n");
    testsupport::writeFile(config.file(QStringLiteral("test.conf")), test);
    testsupport::writeFile(config.file(QStringLiteral("saned.conf")), "127.0.0.0/8\n");
    setHosts(hosts() << host);
}

SanedServer::~SanedServer()
{
    kill();
    QStringList others = hosts();
    others.removeAll(host);
    setHosts(others);
}

QString SanedServer::productName() const
{
    // Beside the suite's own test devices of the same vendor and model.
    return QStringLiteral("Noname frontend-tester (net:%1:test:0)").arg(host);
}

bool SanedServer::start()
{
    if (pid > 0)
        return true;
    const QString program = sanedPath();
    if (program.isEmpty())
        return false;

    // Everything the child needs is made before the fork: it only execs.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SANE_CONFIG_DIR"), config.path());
    environment.remove(QStringLiteral("SANE_NET_HOSTS"));
    if (device.flatbedOnly)
        environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(TOLLIVAR_FLATBED_SHIM));
    else
        environment.remove(QStringLiteral("LD_PRELOAD"));
    QByteArrayList storage;
    for (const QString& entry : environment.toStringList())
        storage.append(entry.toLocal8Bit());
    std::vector<char*> envp;
    for (QByteArray& entry : storage)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    QByteArrayList arguments = {program.toLocal8Bit(), "-l", "-e", "-d", "1", "-b", host.toLatin1()};
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const QByteArray logPath = config.file(QStringLiteral("saned.log")).toLocal8Bit();
    const int log = open(logPath.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);

    pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        if (log >= 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    if (log >= 0)
        close(log);
    if (pid < 0) {
        pid = 0;
        return false;
    }
    setpgid(pid, pid);
    for (int waited = 0; waited < 5000; waited += 10) {
        if (answers(host))
            return true;
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = 0;
            return false;
        }
        QThread::msleep(10);
    }
    kill();
    return false;
}

void SanedServer::kill()
{
    if (pid <= 0)
        return;
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = 0;
}

void SanedServer::freeze()
{
    if (pid > 0)
        ::kill(-pid, SIGSTOP);
}
