#pragma once

#include "scanner/saneconnection.h"
#include "scanner/scannedpage.h"

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

// Pages read but not yet taken by the GUI thread are held back to a few,
// so a fast feeder cannot fill memory while the GUI thread is busy. The
// flag also tells the reader to stop. On a flatbed the reader also waits
// here for the operator to lay the next sheet.
class PageFlow
{
public:
    // Waits for room for one more page; false once the batch is stopped.
    bool acquire();
    void release();
    void stop();
    bool stopped() const { return watch.cancelled.load(); }

    enum class Sheet { Another, Finish, Stopped };
    // Waits until the operator answers whether another sheet lies ready.
    Sheet waitForSheet();
    void answerSheet(bool another);

    // Shared with the page being read.
    ReadWatch watch;

private:
    std::mutex mutex;
    std::condition_variable room;
    int held = 0;
    int sheetAnswer = 0; // 0 none yet, 1 another, 2 finish
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
    int count = 0;           // 0: until the feeder is empty
    double dotsPerInch = 0;  // what the device scans at
    double pageDotsPerInch = 0; // what each BMP is scaled to and says
    bool flatbed = false;    // one sheet per frame, laid by the operator
    QString stagingFolder;   // where pages are written as they are read
    QList<SaneConnection::DeviceOption> laterOptions;
    // A device that sends nothing for this long while a page is read has stalled.
    std::chrono::milliseconds stallTimeout{30000};
};

// Reads the pages of one scan on its own thread and hands each event to
// `post`, which is called on that thread (or on the watcher's, for a
// stall). Before each page comes EventPageStarting; on a flatbed, after
// every page but the last, EventSheetWanted, and the reader waits for
// answerSheet. The batch ends with one event: EventBatchDone,
// EventCloseRequest (the device cancelled), or a page ready with no file
// (a page was lost, or the device stalled); nothing follows it. A stopped
// batch sends nothing more. Either way the device's batch is ended
// (sane_cancel) before the thread finishes.
class ScanBatch
{
public:
    using Post = std::function<void(BatchEvent)>;

    // Starts the thread; throws std::system_error when it cannot.
    ScanBatch(BatchPlan plan, Post post);
    ~ScanBatch();
    ScanBatch(const ScanBatch&) = delete;
    ScanBatch& operator=(const ScanBatch&) = delete;

    // Tells the reader to stop and waits for it; a reader still inside the
    // device after a moment is interrupted with sane_cancel first.
    void stop();
    void answerSheet(bool another) { flow->answerSheet(another); }

private:
    void run();
    // Watches for a device that stopped sending; ends the batch as a lost page.
    void watchForStall();
    // Posts the batch's last event, unless one was posted already.
    void postLast(BatchEvent event);
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
    std::atomic<bool> ended{false};
    std::mutex watcherMutex;
    std::condition_variable watcherWake;
    bool finished = false;
    std::thread thread;
    std::thread watcher;
};
