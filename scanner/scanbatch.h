#pragma once

#include "scanner/saneconnection.h"

#include <QList>
#include <QString>

#include <sane/sane.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

struct ScannedPage;

// Pages read but not yet taken by the GUI thread are held back to a few,
// so a fast feeder cannot fill memory while the GUI thread is busy. The
// flag also tells the reader to stop.
class PageFlow
{
public:
    // Waits for room for one more page; false once the batch is stopped.
    bool acquire();
    void release();
    void stop();
    const std::atomic<bool>& stopped() const { return stopFlag; }

private:
    std::mutex mutex;
    std::condition_variable room;
    int held = 0;
    std::atomic<bool> stopFlag{false};
};

// A page on its way to the GUI thread, already written as a BMP file under
// a hidden temporary name (empty when the page could not be read or
// written), so that storing it is only a rename. When the last holder lets
// go, a file nobody took is removed and the page's room in the flow is
// given back, whether or not it was delivered.
struct ReadyPage
{
    QString stagedFile;
    std::shared_ptr<PageFlow> flow;
    ~ReadyPage();
};

struct BatchEvent
{
    int event = 0;         // a SaneConnection::Event
    int pendingCount = -1; // pages still expected after this one, -1 unknown
    std::shared_ptr<ReadyPage> page;
};

struct BatchPlan
{
    SANE_Handle handle = nullptr;
    int count = 0;          // 0: until the feeder is empty
    double dotsPerInch = 0; // written into each BMP
    QString stagingFolder;  // where pages are written as they are read
    QList<SaneConnection::DeviceOption> laterOptions;
};

// Reads the pages of one scan on its own thread and hands each event to
// `post`, which is called on that thread. The batch ends with one event:
// EventBatchDone, EventCloseRequest (the device cancelled), or a page ready
// with no file (a page was lost); nothing follows it. A stopped batch
// sends nothing more. Either way the thread ends the device's batch
// (sane_cancel) before it finishes.
class ScanBatch
{
public:
    using Post = std::function<void(BatchEvent)>;

    // Starts the thread; throws std::system_error when it cannot.
    ScanBatch(BatchPlan plan, Post post);
    ~ScanBatch();
    ScanBatch(const ScanBatch&) = delete;
    ScanBatch& operator=(const ScanBatch&) = delete;

    // Tells the reader to stop and waits for it.
    void stop();

private:
    void run();
    // Reads until the batch ends; returns its last event (none when stopped).
    BatchEvent readPages();
    // Ends the device's frame or batch, from this thread.
    void endFrames();
    void applyOptions(int page);
    // The page as a BMP file under a hidden name; empty when it failed.
    QString stage(const ScannedPage& page) const;

    BatchPlan plan;
    Post post;
    std::shared_ptr<PageFlow> flow;
    std::chrono::steady_clock::time_point frameStart{};
    std::thread thread;
};
