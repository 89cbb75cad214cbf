#include "scanner/saneconnection.h"

#include "model/infra/logger.h"
#include "platform/executablesuffix.h"
#include "scanner/scannerprocess.h"
#include "scanner/stallwatch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <memory>

namespace SaneConnection {

namespace {

using scanprotocol::Message;
using scanprotocol::pack;
using scanprotocol::unpack;

// How long the scanner process may take to list the scanners: each
// network scanner that does not answer holds the listing up to its own
// bound there (scanner/device/devicesession.cpp).
constexpr auto listingWait = std::chrono::seconds(60);
// How long it may take to open the chosen scanner and make the settings.
constexpr auto openWait = std::chrono::seconds(30);
// How long it may take to end once told to, before it is killed.
constexpr auto endWait = std::chrono::seconds(2);
// How often a running scan is looked at for a stalled device.
constexpr auto watchInterval = std::chrono::milliseconds(100);

struct State
{
    Callback callback = nullptr;
    void* context = nullptr;
    bool initialised = false;
    QString program;
    QStringList environment;
    QList<Source> sources;
    bool sourcesListed = false;
    // The selection survives closeAll, as a chosen scanner should.
    bool sourceSelected = false;
    QByteArray selectedDevice;
    // The session's process; earlier ones may still be ending.
    QPointer<ScannerProcess> process;
    QList<QPointer<ScannerProcess>> earlier;
    QString pageFolder;
    QList<DeviceOption> deviceOptions;
    std::chrono::milliseconds stallTimeout{stallTimeoutMs};
    std::chrono::milliseconds startTimeout{startTimeoutMs};

    // Each started scan has its own number; events of an older one are dropped.
    quint64 generation = 0;
    bool scanOpen = false;     // the scan `generation` was opened and not yet closed
    bool endDelivered = false; // the callback has heard how it ended
    QString stagingFolder;     // where its process writes the pages
    std::unique_ptr<StallWatch> watch;
    // Messages wait while the program waits for an answer, and while the
    // callback still handles an earlier one.
    int holding = 0;
    bool delivering = false;
    // What the callback is handling now (0 and empty outside it).
    quint64 deliveringGeneration = 0;
    QString deliveringFile;
};

State& state()
{
    static State instance;
    return instance;
}

void handleQueued();

QString scannerProgram()
{
    const State& s = state();
    if (!s.program.isEmpty())
        return s.program;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tollivar-scanner")
                                                                 + platform::executableSuffix());
}

// Messages that came during a wait are handled from the event loop, after
// whoever waited has gone on.
struct Hold
{
    Hold() { ++state().holding; }
    ~Hold()
    {
        if (--state().holding == 0)
            QMetaObject::invokeMethod(QCoreApplication::instance(), &handleQueued, Qt::QueuedConnection);
    }
};

void stopWatch()
{
    state().watch.reset();
}

// Ends the session's process: told to end, and killed when it has not in time.
void endSession()
{
    State& s = state();
    stopWatch();
    s.scanOpen = false;
    if (s.process) {
        s.earlier.append(s.process);
        s.process->retire(endWait);
        s.process = nullptr;
    }
}

// Everything closeAll does, without telling anyone.
void release()
{
    State& s = state();
    endSession();
    s.sources.clear();
    s.sourcesListed = false;
}

void deliver(quint64 generation, int event, int pendingCount, bool fromConnection, const QString& file = QString())
{
    State& s = state();
    if (generation != s.generation || s.endDelivered || (!fromConnection && !s.scanOpen))
        return;
    if (event == EventBatchDone || event == EventCloseRequest)
        s.endDelivered = true;
    // The connection closes before it asks to be closed, so that a caller
    // who starts the next scan from the callback finds it free.
    if (event == EventCloseRequest && s.scanOpen)
        release();
    if (s.callback) {
        const quint64 outerGeneration = s.deliveringGeneration;
        const QString outerFile = s.deliveringFile;
        s.deliveringGeneration = generation;
        s.deliveringFile = file;
        s.callback(s.context, event, pendingCount, "");
        s.deliveringGeneration = outerGeneration;
        s.deliveringFile = outerFile;
    }
    // A page nobody took goes.
    if (!file.isEmpty() && QFile::exists(file))
        QFile::remove(file);
}

// The page ends the scan as lost: its process is stopped.
void losePage()
{
    State& s = state();
    stopWatch();
    if (s.process)
        s.process->kill();
    deliver(s.generation, EventPageReady, -1, false);
}

// A page's file as the process names it, inside its staging folder; empty
// for a lost page or a name that leads anywhere else.
QString stagedFile(const QString& name)
{
    const State& s = state();
    if (name.isEmpty() || s.stagingFolder.isEmpty() || name.startsWith(QLatin1Char('.'))
        || QFileInfo(name).fileName() != name)
        return QString();
    return QDir(s.stagingFolder).filePath(name);
}

// A message the process cannot have meant: it is stopped, and the scan
// ends as one that lost its page.
void refuse(Message message)
{
    fileLogger(LogError) << "SaneConnection: the scanner process sent a broken message (" << int(message) << ")";
    losePage();
}

void handle(Message message, const QByteArray& body)
{
    State& s = state();
    qint32 pending = 0;
    switch (message) {
    case Message::Log: {
        qint32 level = LogInfo;
        QByteArray text;
        if (unpack(body, level, text))
            fileLogger(qBound(int(LogDebug), int(level), int(LogError))) << "tollivar-scanner: " << text.constData();
        break;
    }
    case Message::PageStarting:
        if (!unpack(body, pending))
            return refuse(message);
        deliver(s.generation, EventPageStarting, pending, false);
        break;
    case Message::PageReady: {
        QString name;
        if (!unpack(body, pending, name))
            return refuse(message);
        const QString file = stagedFile(name);
        if (file.isEmpty())
            stopWatch();
        deliver(s.generation, EventPageReady, pending, false, file);
        break;
    }
    case Message::SheetWanted:
        if (!unpack(body, pending))
            return refuse(message);
        deliver(s.generation, EventSheetWanted, pending, false);
        break;
    case Message::BatchDone:
        deliver(s.generation, EventBatchDone, 0, false);
        break;
    case Message::Cancelled:
        fileLogger(LogInfo) << "SaneConnection: the device cancelled the scan";
        deliver(s.generation, EventCloseRequest, 0, false);
        break;
    default:
        break; // an answer nobody waits for any more
    }
}

void handleQueued()
{
    State& s = state();
    if (s.holding > 0 || s.delivering)
        return;
    s.delivering = true;
    while (s.process && s.process->hasMessage()) {
        const QPair<Message, QByteArray> next = s.process->takeMessage();
        handle(next.first, next.second);
    }
    s.delivering = false;
}

void watchSaw(Message message)
{
    State& s = state();
    if (!s.watch)
        return;
    const StallWatch::Clock::time_point now = StallWatch::Clock::now();
    switch (message) {
    case Message::PageStarting:
        s.watch->pageStarting(now);
        break;
    case Message::FrameStarted:
        s.watch->frameStarted(now);
        break;
    case Message::Progress:
        s.watch->bytesCame(now);
        break;
    case Message::FrameRead:
    case Message::PageReady:
    case Message::SheetWanted:
        s.watch->idle();
        break;
    default:
        break;
    }
}

void checkWatch()
{
    State& s = state();
    if (!s.watch || !s.process)
        return;
    // What came while the GUI thread was busy counts before the verdict.
    s.process->catchUp();
    if (!s.watch || !s.process)
        return;
    const StallWatch::Clock::time_point now = StallWatch::Clock::now();
    const StallWatch::Verdict verdict = s.watch->verdict(now);
    if (verdict == StallWatch::Verdict::Fine)
        return;
    const qint64 seconds = std::chrono::duration_cast<std::chrono::seconds>(s.watch->waited(now)).count();
    if (verdict == StallWatch::Verdict::Stalled)
        fileLogger(LogError) << "SaneConnection: the scanner sent nothing for " << seconds << " s";
    else
        fileLogger(LogError) << "SaneConnection: the scanner did not start the page in " << seconds << " s";
    losePage();
}

void processEnded(ScannerProcess* process)
{
    State& s = state();
    if (process != s.process)
        return;
    // Whatever it sent before it went is heard first.
    if (s.delivering || s.holding > 0) {
        QTimer::singleShot(0, process, [process] { processEnded(process); });
        return;
    }
    handleQueued();
    if (process != s.process)
        return;
    if (s.scanOpen && !s.endDelivered) {
        fileLogger(LogError) << "SaneConnection: the scanner process ended during the scan";
        losePage();
    }
    // Nothing more can be asked of it.
    endSession();
}

// A fresh scanner process for the session; any earlier one is killed at
// once, never waited for.
bool openSession()
{
    State& s = state();
    if (s.process && s.process->isRunning())
        return true;
    release();
    for (const QPointer<ScannerProcess>& process : qAsConst(s.earlier))
        if (process)
            process->kill();
    s.earlier.clear();

    auto* process = new ScannerProcess(QCoreApplication::instance());
    if (!process->start(scannerProgram(), s.environment)) {
        delete process;
        return false;
    }
    s.process = process;
    QObject::connect(process, &ScannerProcess::arrived, process, &watchSaw);
    QObject::connect(process, &ScannerProcess::queued, process, &handleQueued);
    QObject::connect(process, &ScannerProcess::ended, process, [process] { processEnded(process); });
    return true;
}

} // namespace

bool init(Callback callback, void* context)
{
    State& s = state();
    // Events reach the callback through the application's event loop, so
    // the connection belongs to the thread that runs it.
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread())
        return false;
    if (callback)
        s.callback = callback;
    s.context = context;
    const QFileInfo program(scannerProgram());
    if (!program.isFile() || !program.isExecutable()) {
        fileLogger(LogError) << "SaneConnection: no scanner process at " << program.filePath().toStdString();
        return false;
    }
    s.initialised = true;
    return true;
}

bool isInitialised()
{
    return state().initialised;
}

bool enumSources(QList<Source>& sources)
{
    State& s = state();
    if (!s.initialised)
        return false;
    // While pages are read the device list is not asked for again.
    if (s.scanOpen && !s.endDelivered) {
        sources += s.sources;
        return true;
    }
    // A fresh session: one that listed a network scanner before it went
    // away still holds its dead connection.
    release();
    if (!openSession())
        return false;
    QPointer<ScannerProcess> process = s.process;
    process->send(Message::List);
    QByteArray answer;
    bool answered = false;
    {
        const Hold hold;
        answered = process->waitFor(Message::Sources, answer, listingWait);
    }
    bool listed = false;
    QList<Source> found;
    if (!answered || process != s.process || !unpack(answer, listed, found) || !listed) {
        if (!answered)
            fileLogger(LogError) << "SaneConnection: the scanners were not listed in time";
        if (process)
            process->kill();
        release();
        return false;
    }
    s.sources = found;
    s.sourcesListed = true;
    sources += found;
    return true;
}

bool selectSourceByName(const QByteArray& productName)
{
    State& s = state();
    if (productName.isEmpty())
        return false;
    if (!s.sourcesListed) {
        QList<Source> listed;
        enumSources(listed);
    }
    for (const Source& source : qAsConst(s.sources)) {
        if (source.productName == productName) {
            s.selectedDevice = source.deviceName;
            s.sourceSelected = true;
            return true;
        }
    }
    fileLogger(LogInfo) << "SaneConnection: no scanner named " << productName.constData();
    return false;
}

bool selectDefaultSource()
{
    State& s = state();
    if (!s.sourcesListed) {
        QList<Source> listed;
        enumSources(listed);
    }
    if (s.sources.isEmpty())
        return false;
    s.selectedDevice = s.sources.first().deviceName;
    s.sourceSelected = true;
    return true;
}

bool startScan(bool duplex, int paperKind, int count, int pixelType)
{
    State& s = state();
    if (!s.initialised)
        return false;
    if (s.scanOpen) {
        if (!s.endDelivered) {
            fileLogger(LogWarning) << "SaneConnection: a scan is still running";
            return false;
        }
        endSession();
    }
    if (!s.sourceSelected && !selectDefaultSource()) {
        release();
        return false;
    }
    // One scan per process: the listing's, or a fresh one.
    if (!openSession())
        return false;
    QPointer<ScannerProcess> process = s.process;
    const QString staging =
        process->makeStagingFolder(s.pageFolder.isEmpty() ? QDir::tempPath() : QDir(s.pageFolder).absolutePath());
    if (staging.isEmpty()) {
        release();
        return false;
    }

    scanprotocol::ScanRequest request;
    request.deviceName = s.selectedDevice;
    request.duplex = duplex;
    request.paperKind = paperKind;
    request.count = count;
    request.pixelType = pixelType;
    request.stagingFolder = staging;
    request.deviceOptions = s.deviceOptions;
    ++s.generation;
    s.endDelivered = false;
    // Watching from the first message on: page 1 may begin during the wait.
    s.watch = std::make_unique<StallWatch>(s.startTimeout, s.stallTimeout);
    process->send(Message::Start, pack(request));
    QByteArray answer;
    bool answered = false;
    {
        const Hold hold;
        answered = process->waitFor(Message::Started, answer, openWait);
    }
    qint32 status = -1;
    double dotsPerInch = 0;
    if (!answered || process != s.process || !unpack(answer, status, dotsPerInch)) {
        if (!answered)
            fileLogger(LogError) << "SaneConnection: the scanner did not open in time";
        if (process)
            process->kill();
        release();
        return false;
    }
    if (status != scanprotocol::statusGood)
        stopWatch();
    if (status == scanprotocol::statusCancelled) {
        // Cancelled at its start still ends as a scan does, with a close request.
        s.scanOpen = true;
        closeAll();
        return true;
    }
    if (status != scanprotocol::statusGood) {
        fileLogger(LogError) << "SaneConnection: the scan did not start (SANE status " << status << ")";
        release();
        return false;
    }
    s.scanOpen = true;
    s.stagingFolder = staging;
    auto* ticker = new QTimer(process);
    QObject::connect(ticker, &QTimer::timeout, process, [process] {
        if (process == state().process)
            checkWatch();
    });
    ticker->start(int(std::chrono::milliseconds(watchInterval).count()));
    return true;
}

void nextSheet(bool another)
{
    State& s = state();
    if (s.process && s.scanOpen && !s.endDelivered)
        s.process->send(Message::NextSheet, pack(another));
}

void setPageFolder(const QString& folder)
{
    state().pageFolder = folder;
}

bool transferFile(const QString& path)
{
    State& s = state();
    if (s.deliveringFile.isEmpty() || path.isEmpty())
        return false;
    // Within one folder the rename is one step, and leaves nothing half-written.
    if (!QFile::rename(s.deliveringFile, path)) {
        fileLogger(LogError) << "SaneConnection: the page could not be stored as " << path.toStdString();
        return false;
    }
    s.deliveringFile.clear();
    return true;
}

void closeAll()
{
    State& s = state();
    const bool fromCallback = s.deliveringGeneration != 0 && s.deliveringGeneration == s.generation;
    const bool announce = s.scanOpen && !fromCallback && !s.endDelivered;
    if (fromCallback)
        s.endDelivered = true;
    release();
    s.initialised = false;
    if (announce) {
        fileLogger(LogInfo) << "SaneConnection: closed during the scan";
        const quint64 generation = s.generation;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [generation] { deliver(generation, EventCloseRequest, 0, true); },
            Qt::QueuedConnection);
    }
}

void setStallTimeout(int milliseconds)
{
    state().stallTimeout = std::chrono::milliseconds(qMax(1, milliseconds));
}

void setStartTimeout(int milliseconds)
{
    state().startTimeout = std::chrono::milliseconds(qMax(1, milliseconds));
}

void setDeviceOptions(const QList<DeviceOption>& options)
{
    state().deviceOptions = options;
}

void setScannerProgram(const QString& program, const QStringList& environment)
{
    state().program = program;
    state().environment = environment;
}

} // namespace SaneConnection
