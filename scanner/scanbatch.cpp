#include "scanner/scanbatch.h"

#include "model/infra/logger.h"
#include "scanner/bmpfile.h"
#include "scanner/saneoptions.h"
#include "scanner/scannedpage.h"

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

} // namespace

QString ScanBatch::stage(const ScannedPage& page) const
{
    const QByteArray bmp = encodeBmp(page, plan.dotsPerInch);
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
    room.wait(lock, [this] { return stopFlag.load() || held < pagesInFlight; });
    if (stopFlag.load())
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
        stopFlag = true;
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
    thread = std::thread([this] { run(); });
}

ScanBatch::~ScanBatch()
{
    stop();
}

void ScanBatch::stop()
{
    flow->stop();
    if (thread.joinable())
        thread.join();
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
        post(last);
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
        frameStart = std::chrono::steady_clock::now();
        ScannedPage page;
        const SANE_Status status = readPage(plan.handle, flow->stopped(), page);
        if (flow->stopped().load())
            return {};
        switch (status) {
        case SANE_STATUS_GOOD:
            ready->stagedFile = stage(page);
            // A page that cannot be stored ends the batch.
            if (ready->stagedFile.isEmpty())
                return {SaneConnection::EventPageReady, pending, std::move(ready)};
            post({SaneConnection::EventPageReady, pending, std::move(ready)});
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
