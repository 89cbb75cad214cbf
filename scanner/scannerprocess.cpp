#include "scanner/scannerprocess.h"

#include "model/infra/logger.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <cerrno>

#include <sys/wait.h>

namespace {

// Messages a healthy process never leaves waiting in such numbers.
constexpr int maxQueued = 4096;
constexpr int readChunk = 64 * 1024;
constexpr int startWaitMs = 10000;

bool onlyTellsHowAFrameGoes(scanprotocol::Message message)
{
    using scanprotocol::Message;
    return message == Message::FrameStarted || message == Message::Progress || message == Message::FrameRead;
}

} // namespace

ScannerProcess::ScannerProcess(QObject* parent) : QObject(parent)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(&process, &QProcess::readyReadStandardOutput, this, &ScannerProcess::pump);
    connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &ScannerProcess::onFinished);
}

ScannerProcess::~ScannerProcess()
{
    disconnect(&process, nullptr, this, nullptr);
    if (isRunning()) {
        process.kill();
        process.waitForFinished(5000);
    }
}

bool ScannerProcess::start(const QString& program, const QStringList& environment)
{
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : environment) {
        const int equals = entry.indexOf(QLatin1Char('='));
        if (equals > 0)
            variables.insert(entry.left(equals), entry.mid(equals + 1));
    }
    process.setProcessEnvironment(variables);
    process.start(program, QStringList());
    if (process.waitForStarted(startWaitMs))
        return true;
    fileLogger(LogError) << "SaneConnection: the scanner process did not start: "
                         << process.errorString().toStdString();
    return false;
}

void ScannerProcess::send(Message message, const QByteArray& body)
{
    if (isRunning())
        process.write(scanprotocol::frame(message, body));
}

void ScannerProcess::pump()
{
    char buffer[readChunk];
    bool added = false;
    while (!reader.broken()) {
        const qint64 got = process.read(buffer, sizeof buffer);
        if (got <= 0)
            break;
        reader.append(buffer, got);
        Message message;
        QByteArray body;
        while (reader.next(message, body)) {
            emit arrived(message);
            if (onlyTellsHowAFrameGoes(message))
                continue;
            queue.append({message, body});
            added = true;
        }
        if (queue.size() > maxQueued)
            break;
    }
    if (reader.broken() || queue.size() > maxQueued) {
        fileLogger(LogError) << "SaneConnection: the scanner process sent what is no message; it is stopped";
        queue.clear();
        kill();
        return;
    }
    if (added)
        emit queued();
}

void ScannerProcess::catchUp()
{
    if (isRunning())
        process.waitForReadyRead(0);
    pump();
}

bool ScannerProcess::takeFirst(Message message, QByteArray& body)
{
    for (int i = 0; i < queue.size(); ++i) {
        if (queue[i].first == message) {
            body = queue.takeAt(i).second;
            return true;
        }
    }
    return false;
}

bool ScannerProcess::waitFor(Message message, QByteArray& body, std::chrono::milliseconds wait)
{
    pump();
    bool found = takeFirst(message, body);
    if (found)
        return true;
    // Not deleted under its own feet while the local loop runs.
    ++waiting;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &ScannerProcess::arrived, &loop, [&](Message kind) {
        if (kind == message)
            loop.quit();
    });
    connect(this, &ScannerProcess::ended, &loop, &QEventLoop::quit);
    timeout.start(int(wait.count()));
    waitLoop = &loop;
    while (!found && isRunning() && timeout.isActive() && !retired) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        found = takeFirst(message, body);
    }
    found = found || (!retired && takeFirst(message, body));
    waitLoop = nullptr;
    --waiting;
    if (retired && !isRunning())
        goAway();
    return found;
}

QString ScannerProcess::makeStagingFolder(const QString& parent)
{
    auto folder = std::make_unique<QTemporaryDir>(parent + QStringLiteral("/.scanning-XXXXXX"));
    if (!folder->isValid()) {
        fileLogger(LogError) << "SaneConnection: no staging folder in " << parent.toStdString() << ": "
                             << folder->errorString().toStdString();
        return QString();
    }
    staging = std::move(folder);
    return staging->path();
}

void ScannerProcess::retire(std::chrono::milliseconds wait)
{
    retired = true;
    if (waitLoop)
        waitLoop->quit();
    // Nothing more is heard from it.
    disconnect(this, &ScannerProcess::queued, nullptr, nullptr);
    disconnect(this, &ScannerProcess::ended, nullptr, nullptr);
    disconnect(this, &ScannerProcess::arrived, nullptr, nullptr);
    queue.clear();
    if (!isRunning()) {
        goAway();
        return;
    }
    process.closeWriteChannel();
    QTimer::singleShot(int(wait.count()), this, [this] {
        if (isRunning() && !hasExited()) {
            fileLogger(LogError) << "SaneConnection: the scanner process did not end in time";
            kill();
        }
    });
}

void ScannerProcess::kill()
{
    if (!isRunning() || hasExited())
        return;
    killed = true;
    process.kill();
}

bool ScannerProcess::hasExited() const
{
    // Looked at without reaping it: Qt does that from the event loop.
    const qint64 pid = process.processId();
    siginfo_t info{};
    if (pid <= 0)
        return true;
    if (waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
        return errno == ECHILD;
    return info.si_pid == pid;
}

void ScannerProcess::onFinished(int exitCode, QProcess::ExitStatus status)
{
    pump();
    if (killed)
        fileLogger(LogInfo) << "SaneConnection: the scanner process was stopped";
    else if (status == QProcess::CrashExit)
        fileLogger(LogError) << "SaneConnection: the scanner process crashed";
    else if (exitCode != 0)
        fileLogger(LogError) << "SaneConnection: the scanner process ended with code " << exitCode;
    if (!hasEnded) {
        hasEnded = true;
        emit ended();
    }
    if (retired)
        goAway();
}

void ScannerProcess::goAway()
{
    if (waiting == 0)
        deleteLater();
}
