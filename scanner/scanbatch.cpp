#include "scanner/scanbatch.h"

#include "model/infra/logger.h"
#include "scanner/bmpfile.h"
#include "scanner/pagescale.h"
#include "scanner/sanecalls.h"
#include "scanner/saneoptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

namespace {

// Pages the GUI thread may have waiting at once.
constexpr int pagesInFlight = 2;
// A flatbed asked for "all pages" would never run out.
constexpr int maxPagesPerBatch = 500;
// How long a frame runs before it may be cancelled (see endFrames).
constexpr int settleMs = 50;
// How long a stopped reader may take to notice by itself before the
// device is told to cancel under it.
constexpr auto noticeTime = std::chrono::milliseconds(250);
// How often the watcher looks for a stalled device.
constexpr auto watchInterval = std::chrono::milliseconds(100);
// The longest side a page may have, in inches: A3 is 16.5 long.
constexpr double maxPageInches = 20;

} // namespace

QString ScanBatch::stage(const ScannedPage& page) const
{
    const QByteArray bmp = encodeBmp(page, plan.pageDotsPerInch);
    if (bmp.isEmpty())
        return QString();
    QTemporaryFile file(QDir(plan.stagingFolder).filePath(QStringLiteral(".scanpage-XXXXXX.part")));
    file.setAutoRemove(false);
    if (!file.open()) {
        fileLogger(LogError) << "SaneConnection: " << file.errorString().toStdString();
        return QString();
    }
    const bool written = file.write(bmp) == bmp.size() && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        fileLogger(LogError) << "SaneConnection: " << file.errorString().toStdString();
        file.remove();
        return QString();
    }
    return file.fileName();
}

bool PageFlow::acquire()
{
    std::unique_lock<std::mutex> lock(mutex);
    room.wait(lock, [this] { return stopped() || held < pagesInFlight; });
    if (stopped())
        return false;
    ++held;
    return true;
}

void PageFlow::release()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        --held;
    }
    room.notify_all();
}

void PageFlow::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        watch.cancelled = true;
    }
    room.notify_all();
}

PageFlow::Sheet PageFlow::waitForSheet()
{
    std::unique_lock<std::mutex> lock(mutex);
    room.wait(lock, [this] { return stopped() || sheetAnswer != 0; });
    if (stopped())
        return Sheet::Stopped;
    const int answer = std::exchange(sheetAnswer, 0);
    return answer == 1 ? Sheet::Another : Sheet::Finish;
}

void PageFlow::answerSheet(bool another)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        sheetAnswer = another ? 1 : 2;
    }
    room.notify_all();
}

ReadyPage::~ReadyPage()
{
    if (!stagedFile.isEmpty())
        QFile::remove(stagedFile);
    if (flow)
        flow->release();
}

ScanBatch::ScanBatch(BatchPlan plan, Post post)
    : plan(std::move(plan)), post(std::move(post)), flow(std::make_shared<PageFlow>())
{
    if (this->plan.dotsPerInch > 0)
        flow->watch.maxSidePixels = int(maxPageInches * this->plan.dotsPerInch);
    if (this->plan.pageDotsPerInch <= 0)
        this->plan.pageDotsPerInch = this->plan.dotsPerInch;
    thread = std::thread([this] { run(); });
    try {
        watcher = std::thread([this] { watchForStall(); });
    } catch (...) {
        stop();
        throw;
    }
}

ScanBatch::~ScanBatch()
{
    stop();
}

void ScanBatch::stop()
{
    flow->stop();
    if (thread.joinable()) {
        // A reader blocked in the device (a scanner that stopped answering)
        // never sees the flag: SANE lets another thread cancel under it.
        std::unique_lock<std::mutex> lock(watcherMutex);
        if (!watcherWake.wait_for(lock, noticeTime, [this] { return finished; })) {
            lock.unlock();
            sane_cancel(plan.handle);
        }
    }
    if (thread.joinable())
        thread.join();
    if (watcher.joinable())
        watcher.join();
}

void ScanBatch::postLast(BatchEvent event)
{
    if (!ended.exchange(true))
        post(std::move(event));
}

void ScanBatch::watchForStall()
{
    std::unique_lock<std::mutex> lock(watcherMutex);
    while (!watcherWake.wait_for(lock, watchInterval, [this] { return finished; })) {
        const qint64 last = flow->watch.lastActivity.load();
        if (last == 0 || flow->stopped())
            continue;
        const auto idle = std::chrono::steady_clock::now().time_since_epoch() - std::chrono::nanoseconds(last);
        if (idle < plan.stallTimeout)
            continue;
        fileLogger(LogError) << "SaneConnection: the scanner sent nothing for "
                             << std::chrono::duration_cast<std::chrono::seconds>(idle).count() << " s";
        flow->stop();
        // A lost page: the scan ends as when a read fails.
        postLast({SaneConnection::EventPageReady, -1, std::make_shared<ReadyPage>()});
        return;
    }
}

void ScanBatch::applyOptions(int page)
{
    for (const SaneConnection::DeviceOption& option : qAsConst(plan.laterOptions)) {
        if (option.fromPage != page)
            continue;
        const SANE_Status status = saneoptions::setFromText(plan.handle, option.name, option.value);
        if (status != SANE_STATUS_GOOD)
            fileLogger(LogWarning) << "SaneConnection: option " << option.name.constData() << ": "
                                   << sane_strstatus(status);
    }
}

void ScanBatch::run()
{
    const BatchEvent last = readPages();
    endFrames();
    if (last.event != 0)
        postLast(last);
    {
        std::lock_guard<std::mutex> lock(watcherMutex);
        finished = true;
    }
    watcherWake.notify_all();
}

BatchEvent ScanBatch::readPages()
{
    for (int stored = 0;; ++stored) {
        if ((plan.count > 0 && stored >= plan.count) || stored >= maxPagesPerBatch)
            return {SaneConnection::EventBatchDone, 0, nullptr};
        if (!flow->acquire())
            return {};
        auto ready = std::make_shared<ReadyPage>();
        ready->flow = flow;
        const int number = stored + 1;
        const int pending = plan.count > 0 ? plan.count - number : -1;

        applyOptions(number);
        post({SaneConnection::EventPageStarting, pending, nullptr});
        frameStart = std::chrono::steady_clock::now();
        ScannedPage page;
        const SANE_Status status = readPage(plan.handle, flow->watch, page);
        if (flow->stopped())
            return {};
        switch (status) {
        case SANE_STATUS_GOOD:
            scaleToResolution(page, plan.dotsPerInch, plan.pageDotsPerInch);
            ready->stagedFile = stage(page);
            // A page that cannot be stored ends the batch.
            if (ready->stagedFile.isEmpty())
                return {SaneConnection::EventPageReady, pending, std::move(ready)};
            post({SaneConnection::EventPageReady, pending, std::move(ready)});
            if (plan.flatbed && pending != 0 && number < maxPagesPerBatch) {
                // The glass holds one sheet: the next waits for the operator.
                post({SaneConnection::EventSheetWanted, pending, nullptr});
                endFrames();
                switch (flow->waitForSheet()) {
                case PageFlow::Sheet::Another:
                    break;
                case PageFlow::Sheet::Finish:
                    return {SaneConnection::EventBatchDone, 0, nullptr};
                case PageFlow::Sheet::Stopped:
                    return {};
                }
            }
            break;
        case SANE_STATUS_NO_DOCS:
            fileLogger(LogInfo) << "SaneConnection: feeder empty after " << stored << " pages";
            return {SaneConnection::EventBatchDone, 0, nullptr};
        case SANE_STATUS_CANCELLED:
            fileLogger(LogInfo) << "SaneConnection: scan cancelled by the device at page " << number;
            return {SaneConnection::EventCloseRequest, 0, nullptr};
        default:
            fileLogger(LogError) << "SaneConnection: page " << number << ": " << sane_strstatus(status);
            return {SaneConnection::EventPageReady, pending, std::move(ready)};
        }
    }
}

void ScanBatch::endFrames()
{
    // Backends that read on a thread of their own stop it with an
    // asynchronous cancel; one that lands while that thread is still
    // setting up (allocating its buffer) leaves a lock held for good. A
    // frame is therefore never cancelled in its first moments.
    const auto settled = frameStart + std::chrono::milliseconds(settleMs);
    if (frameStart.time_since_epoch().count() != 0 && std::chrono::steady_clock::now() < settled)
        std::this_thread::sleep_until(settled);
    sane_cancel(plan.handle);
}
