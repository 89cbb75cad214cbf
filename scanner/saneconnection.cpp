#include "scanner/saneconnection.h"

#include "model/infra/logger.h"
#include "scanner/sanecalls.h"
#include "scanner/saneoptions.h"
#include "scanner/sanesources.h"
#include "scanner/scanbatch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>

#include <sane/saneopts.h>

#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace SaneConnection {

namespace {

constexpr int scanDotsPerInch = 200;
// How long the GUI thread waits for a session to end. A device that does
// not answer in that time is left to finish on its own.
constexpr auto endWait = std::chrono::seconds(2);

// Ending one scanner and, with it, possibly the session: the reader is
// stopped and joined, the scanner closed, SANE left. Any of these may wait
// on a device that no longer answers, so they run on a thread of their own
// and each waits for the one before it.
struct Ending
{
    std::shared_ptr<Ending> previous;
    std::unique_ptr<ScanBatch> batch;
    SANE_Handle handle = nullptr;
    bool endSession = false;

    std::mutex mutex;
    std::condition_variable over;
    bool done = false;

    void run()
    {
        if (previous)
            previous->wait();
        previous.reset();
        if (batch)
            batch->stop();
        else if (handle)
            sane_cancel(handle);
        batch.reset();
        if (handle)
            sane_close(handle);
        if (endSession)
            sane_exit();
        {
            std::lock_guard<std::mutex> lock(mutex);
            done = true;
        }
        over.notify_all();
    }

    void wait()
    {
        std::unique_lock<std::mutex> lock(mutex);
        over.wait(lock, [this] { return done; });
    }

    bool waitFor(std::chrono::milliseconds time)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return over.wait_for(lock, time, [this] { return done; });
    }
};

struct State
{
    Callback callback = nullptr;
    void* context = nullptr;
    bool initialised = false;
    QList<Source> sources;
    bool sourcesListed = false;
    // The selection survives closeAll, as a chosen scanner should.
    bool sourceSelected = false;
    QByteArray selectedDevice;
    SANE_Handle handle = nullptr;
    int transferCount = 0;
    double dotsPerInch = 0;
    bool flatbed = false;
    std::chrono::milliseconds stallTimeout{30000};
    // An ending still waiting on its device; the next session waits for it.
    std::shared_ptr<Ending> unfinished;
    QString pageFolder;
    QList<DeviceOption> deviceOptions;
    std::unique_ptr<ScanBatch> batch;

    // Each started scan has its own number; events of an older one are dropped.
    quint64 generation = 0;
    bool scanOpen = false;     // the scan `generation` was opened and not yet closed
    bool endDelivered = false; // the callback has heard how it ended
    // What the callback is handling now (0 and null outside it).
    quint64 deliveringGeneration = 0;
    std::shared_ptr<ReadyPage> deliveringPage;
};

State& state()
{
    static State instance;
    return instance;
}

void deliver(quint64 generation, const BatchEvent& event, bool fromConnection);

// Queues an event for the GUI thread; events posted from one thread arrive
// in the order they were posted.
void post(quint64 generation, BatchEvent event, bool fromConnection)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return;
    QMetaObject::invokeMethod(
        application, [generation, event, fromConnection] { deliver(generation, event, fromConnection); },
        Qt::QueuedConnection);
}

// Stops the reader and closes the scanner, and with endSession SANE too.
void endDevice(bool endSession)
{
    State& s = state();
    auto ending = std::make_shared<Ending>();
    ending->batch = std::move(s.batch);
    ending->handle = std::exchange(s.handle, nullptr);
    ending->endSession = endSession && std::exchange(s.initialised, false);
    s.scanOpen = false;
    if (!ending->batch && !ending->handle && !ending->endSession)
        return;
    ending->previous = std::move(s.unfinished);
    try {
        std::thread([ending] { ending->run(); }).detach();
    } catch (const std::system_error&) {
        ending->run();
    }
    if (!ending->waitFor(endWait)) {
        fileLogger(LogError) << "SaneConnection: the scanner does not answer; its session ends when it does";
        s.unfinished = std::move(ending);
    }
}

void closeDevice()
{
    endDevice(false);
}

// Everything closeAll does, without telling anyone.
void release()
{
    State& s = state();
    endDevice(true);
    s.sources.clear();
    s.sourcesListed = false;
}

// sane_init, once the last session has ended.
bool openSession()
{
    State& s = state();
    if (s.initialised)
        return true;
    if (s.unfinished) {
        if (!s.unfinished->waitFor(endWait)) {
            fileLogger(LogError) << "SaneConnection: the last session has not ended yet";
            return false;
        }
        s.unfinished.reset();
    }
    SANE_Int version = 0;
    const SANE_Status status = sanecall::init(&version, nullptr);
    if (status != SANE_STATUS_GOOD) {
        fileLogger(LogError) << "SaneConnection: sane_init: " << sane_strstatus(status);
        return false;
    }
    s.initialised = true;
    return true;
}

void deliver(quint64 generation, const BatchEvent& event, bool fromConnection)
{
    State& s = state();
    if (generation != s.generation || s.endDelivered || (!fromConnection && !s.scanOpen))
        return;
    if (event.event == EventBatchDone || event.event == EventCloseRequest)
        s.endDelivered = true;
    // The connection closes before it asks to be closed, so that a caller
    // who starts the next scan from the callback finds it free.
    if (event.event == EventCloseRequest && s.scanOpen)
        release();
    if (!s.callback)
        return;

    const quint64 outerGeneration = s.deliveringGeneration;
    std::shared_ptr<ReadyPage> outerPage = std::move(s.deliveringPage);
    s.deliveringGeneration = generation;
    s.deliveringPage = event.page;
    s.callback(s.context, event.event, event.pendingCount, "");
    s.deliveringGeneration = outerGeneration;
    s.deliveringPage = std::move(outerPage);
}

void logRefused(const char* what, int status)
{
    if (status != SANE_STATUS_GOOD)
        fileLogger(LogInfo) << "SaneConnection: " << what << " left as the device has it ("
                            << sane_strstatus(SANE_Status(status)) << ")";
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
    return openSession();
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
    // While pages are read the device list is not asked for again: backends
    // are not obliged to answer two threads at once.
    if (s.batch) {
        sources += s.sources;
        return true;
    }
    // A fresh session: one that listed a network scanner before it went
    // away still holds its dead connection.
    release();
    if (!openSession())
        return false;
    const SANE_Device** devices = nullptr;
    const SANE_Status status = sanecall::getDevices(&devices, SANE_FALSE);
    if (status != SANE_STATUS_GOOD) {
        fileLogger(LogError) << "SaneConnection: sane_get_devices: " << sane_strstatus(status);
        s.sources.clear();
        s.sourcesListed = false;
        return false;
    }
    s.sources = namedSources(devices);
    s.sourcesListed = true;
    sources += s.sources;
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
        closeDevice();
        // The session must not be used while part of it still waits on a device.
        if (s.unfinished) {
            release();
            return false;
        }
    }
    if (!s.sourceSelected && !selectDefaultSource())
        return false;

    ++s.generation;
    s.endDelivered = false;
    const SANE_Status opened = sanecall::open(s.selectedDevice.constData(), &s.handle);
    if (opened == SANE_STATUS_CANCELLED) {
        // Cancelled at its start still ends as a scan does, with a close request.
        s.handle = nullptr;
        s.scanOpen = true;
        closeAll();
        return true;
    }
    if (opened != SANE_STATUS_GOOD) {
        fileLogger(LogError) << "SaneConnection: sane_open " << s.selectedDevice.constData() << ": "
                             << sane_strstatus(opened);
        s.handle = nullptr;
        release();
        return false;
    }
    s.scanOpen = true;

    // Without any feeder the device is a flatbed: one sheet per frame.
    const QList<QByteArray> sourceEntries = saneoptions::listedValues(s.handle, SANE_NAME_SCAN_SOURCE);
    s.flatbed = saneoptions::chooseSource(sourceEntries, true).isEmpty();
    logRefused("source", setCapability(CapDuplex, duplex ? 1 : 0));
    logRefused("mode", setCapability(CapPixelType, pixelType));
    logRefused("resolution", setCapability(CapResolution, scanDotsPerInch));
    const double dotsPerInch = saneoptions::numberValue(s.handle, SANE_NAME_SCAN_RESOLUTION, 0);
    if (dotsPerInch > 0 && std::abs(dotsPerInch - scanDotsPerInch) >= 0.5) {
        const double nearest = saneoptions::nearestAllowed(s.handle, SANE_NAME_SCAN_RESOLUTION, scanDotsPerInch);
        if (nearest > 0)
            saneoptions::setNumber(s.handle, SANE_NAME_SCAN_RESOLUTION, nearest);
    }
    logRefused("deskew", setCapability(CapDeskew, 1));
    logRefused("blank-page discarding", setCapability(CapBlankPageDiscard, 0));
    logRefused("double-feed detection", setCapability(CapDoubleFeedDetect, 0));
    logRefused("scan area", setCapability(CapPaperSize, paperKind));
    setCapability(CapTransferCount, count);
    for (const DeviceOption& option : qAsConst(s.deviceOptions))
        if (option.fromPage <= 1)
            logRefused(option.name.constData(), saneoptions::setFromText(s.handle, option.name, option.value));
    // What the device will really scan at; other resolutions are scaled.
    s.dotsPerInch = saneoptions::numberValue(s.handle, SANE_NAME_SCAN_RESOLUTION, 0);
    if (s.dotsPerInch > 0 && std::abs(s.dotsPerInch - scanDotsPerInch) >= 0.5)
        fileLogger(LogInfo) << "SaneConnection: scanning at " << s.dotsPerInch << " dpi, pages scaled to "
                            << scanDotsPerInch;
    if (s.flatbed)
        fileLogger(LogInfo) << "SaneConnection: no feeder, one sheet at a time";

    const int enabled = enableSource();
    if (enabled == SANE_STATUS_GOOD)
        return true;
    fileLogger(LogError) << "SaneConnection: the scan did not start: " << sane_strstatus(SANE_Status(enabled));
    release();
    return false;
}

int setCapability(Capability capability, int value)
{
    SANE_Handle handle = state().handle;
    if (!handle)
        return SANE_STATUS_INVAL;
    switch (capability) {
    case CapDuplex: {
        const QByteArray source =
            saneoptions::chooseSource(saneoptions::listedValues(handle, SANE_NAME_SCAN_SOURCE), value != 0);
        return source.isEmpty() ? SANE_STATUS_UNSUPPORTED
                                : saneoptions::setString(handle, SANE_NAME_SCAN_SOURCE, source);
    }
    case CapPixelType:
        if (value != PixelGray && value != PixelColor)
            return SANE_STATUS_INVAL;
        return saneoptions::setString(handle, SANE_NAME_SCAN_MODE,
                                      value == PixelColor ? SANE_VALUE_SCAN_MODE_COLOR : SANE_VALUE_SCAN_MODE_GRAY);
    case CapResolution:
        return saneoptions::setNumber(handle, SANE_NAME_SCAN_RESOLUTION, value);
    case CapDeskew:
        return saneoptions::setSwitches(handle, {"deskew"}, value != 0);
    case CapBlankPageDiscard: {
        const SANE_Status switched = saneoptions::setSwitches(handle, {"blank"}, value != 0);
        // Some backends take a blank-page threshold instead, 0 meaning off.
        if (value == 0 && saneoptions::setNumber(handle, "swskip", 0) == SANE_STATUS_GOOD)
            return SANE_STATUS_GOOD;
        return switched;
    }
    case CapDoubleFeedDetect:
        return saneoptions::setSwitches(handle, {"double-feed", "doublefeed"}, value != 0);
    case CapPaperSize:
        switch (value) {
        case PaperA3:
            return saneoptions::setScanArea(handle, 297, 420);
        case PaperA4:
        case PaperA4Also:
            return saneoptions::setScanArea(handle, 210, 297);
        case PaperWhole:
            return saneoptions::setScanArea(handle, 0, 0);
        default:
            return SANE_STATUS_UNSUPPORTED;
        }
    case CapTransferCount:
        state().transferCount = qMax(0, value);
        return SANE_STATUS_GOOD;
    }
    return SANE_STATUS_UNSUPPORTED;
}

int enableSource()
{
    State& s = state();
    if (!s.handle)
        return SANE_STATUS_INVAL;
    if (s.batch)
        return SANE_STATUS_DEVICE_BUSY;
    BatchPlan plan;
    plan.handle = s.handle;
    plan.count = s.transferCount;
    plan.dotsPerInch = s.dotsPerInch;
    plan.pageDotsPerInch = s.dotsPerInch > 0 ? scanDotsPerInch : 0;
    plan.flatbed = s.flatbed;
    plan.stallTimeout = s.stallTimeout;
    plan.stagingFolder = s.pageFolder.isEmpty() ? QDir::tempPath() : s.pageFolder;
    for (const DeviceOption& option : qAsConst(s.deviceOptions))
        if (option.fromPage > 1)
            plan.laterOptions.append(option);
    const quint64 generation = s.generation;
    try {
        s.batch = std::make_unique<ScanBatch>(std::move(plan),
                                              [generation](BatchEvent event) { post(generation, std::move(event), false); });
    } catch (const std::system_error& error) {
        fileLogger(LogError) << "SaneConnection: no reader thread: " << error.what();
        return SANE_STATUS_NO_MEM;
    }
    return SANE_STATUS_GOOD;
}

void disableSource()
{
    State& s = state();
    if (s.batch) {
        s.batch->stop();
        s.batch.reset();
    }
    // The reader ends its own batch; this covers a scanner opened and
    // never started.
    if (s.handle)
        sane_cancel(s.handle);
}

void nextSheet(bool another)
{
    if (state().batch)
        state().batch->answerSheet(another);
}

void setStallTimeout(int milliseconds)
{
    state().stallTimeout = std::chrono::milliseconds(qMax(1, milliseconds));
}

void setPageFolder(const QString& folder)
{
    state().pageFolder = folder;
}

bool transferFile(const QString& path)
{
    const std::shared_ptr<ReadyPage>& page = state().deliveringPage;
    if (!page || page->stagedFile.isEmpty() || path.isEmpty())
        return false;
    // Across file systems the rename copies, and leaves nothing half-written.
    if (!QFile::rename(page->stagedFile, path)) {
        fileLogger(LogError) << "SaneConnection: the page could not be stored as " << path.toStdString();
        return false;
    }
    page->stagedFile.clear();
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
    if (announce) {
        fileLogger(LogInfo) << "SaneConnection: closed during the scan";
        post(s.generation, {EventCloseRequest, 0, nullptr}, true);
    }
}

void setDeviceOptions(const QList<DeviceOption>& options)
{
    state().deviceOptions = options;
}

} // namespace SaneConnection
