#include "scanner/device/scanbatch.h"

#include "scanner/device/bmpfile.h"
#include "scanner/device/devicelog.h"
#include "scanner/device/devicesettings.h"
#include "scanner/device/pagescale.h"
#include "scanner/device/processchannel.h"
#include "scanner/device/scannedpage.h"

#include <QDir>
#include <QFile>

#include <chrono>
#include <thread>

using scanprotocol::Message;
using scanprotocol::pack;

namespace {

// A flatbed asked for "all pages" would never run out.
constexpr int maxPagesPerBatch = 500;
// How long a frame runs before it may be cancelled (see endFrames).
constexpr auto settleTime = std::chrono::milliseconds(50);
// How often the program hears that bytes still come.
constexpr auto progressInterval = std::chrono::milliseconds(100);
// The longest side a page may have, in inches: A3 is 16.5 long.
constexpr double maxPageInches = 20;

using Clock = std::chrono::steady_clock;

class Batch
{
public:
    Batch(const BatchPlan& plan, ProcessChannel& channel) : plan(plan), channel(channel) {}

    void run()
    {
        const End end = readPages();
        endFrames();
        switch (end) {
        case End::Done:
            channel.send(Message::BatchDone);
            break;
        case End::Cancelled:
            channel.send(Message::Cancelled);
            break;
        case End::PageLost:
            channel.send(Message::PageReady, pack(qint32(-1), QString()));
            break;
        case End::Stopped:
            break; // by the program, which asks to hear nothing more
        }
    }

private:
    enum class End { Done, Cancelled, PageLost, Stopped };

    // Reads until the batch ends.
    End readPages();
    // The page as a BMP file in the staging folder; its name, empty when it failed.
    QString store(const ScannedPage& page, int number) const;
    void applyLaterOptions(int page);
    // Ends the device's frame or batch.
    void endFrames();
    bool stopRequested();

    const BatchPlan& plan;
    ProcessChannel& channel;
    bool stopped = false;
    Clock::time_point frameStart{};
    Clock::time_point lastProgress{};
};

bool Batch::stopRequested()
{
    // Only the end of the channel is listened for while a frame is read.
    Message message;
    QByteArray body;
    while (!stopped) {
        const ProcessChannel::Read read = channel.read(false, message, body);
        if (read == ProcessChannel::Read::Closed)
            stopped = true;
        if (read != ProcessChannel::Read::Command)
            break;
    }
    return stopped;
}

void Batch::applyLaterOptions(int page)
{
    for (const scanprotocol::DeviceOption& option : plan.laterOptions) {
        if (option.fromPage != page)
            continue;
        const SANE_Status status = applyDeviceOption(plan.handle, option);
        if (status != SANE_STATUS_GOOD)
            DeviceLog(DeviceLog::Warning) << "option " << option.name.constData() << ": " << sane_strstatus(status);
    }
}

QString Batch::store(const ScannedPage& page, int number) const
{
    const QByteArray bmp = encodeBmp(page, scanprotocol::pageDotsPerInch);
    if (bmp.isEmpty())
        return QString();
    const QString name = QStringLiteral("page-%1.bmp").arg(number);
    QFile file(QDir(plan.stagingFolder).filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bmp) != bmp.size() || !file.flush()) {
        DeviceLog(DeviceLog::Error) << "page " << number << " not written: " << file.errorString().toStdString();
        file.close();
        file.remove();
        return QString();
    }
    return name;
}

Batch::End Batch::readPages()
{
    ReadWatch watch;
    watch.stopRequested = [this] { return stopRequested(); };
    watch.frameStarted = [this] {
        lastProgress = Clock::now();
        channel.send(Message::FrameStarted);
    };
    watch.bytesCame = [this] {
        const Clock::time_point now = Clock::now();
        if (now - lastProgress >= progressInterval) {
            lastProgress = now;
            channel.send(Message::Progress);
        }
    };
    if (plan.dotsPerInch > 0)
        watch.maxSidePixels = int(maxPageInches * plan.dotsPerInch);

    for (int stored = 0;; ++stored) {
        if ((plan.count > 0 && stored >= plan.count) || stored >= maxPagesPerBatch)
            return End::Done;
        const int number = stored + 1;
        const qint32 pending = plan.count > 0 ? plan.count - number : -1;

        applyLaterOptions(number);
        channel.send(Message::PageStarting, pack(pending));
        frameStart = Clock::now();
        ScannedPage page;
        const SANE_Status status = readPage(plan.handle, watch, page);
        if (stopped)
            return End::Stopped;
        switch (status) {
        case SANE_STATUS_GOOD: {
            channel.send(Message::FrameRead);
            scaleToResolution(page, plan.dotsPerInch, scanprotocol::pageDotsPerInch);
            const QString name = store(page, number);
            // A page that cannot be stored ends the batch.
            if (name.isEmpty())
                return End::PageLost;
            channel.send(Message::PageReady, pack(pending, name));
            if (plan.flatbed && pending != 0 && number < maxPagesPerBatch) {
                // The glass holds one sheet: the next waits for the operator.
                channel.send(Message::SheetWanted, pack(pending));
                endFrames();
                Message message;
                QByteArray body;
                bool another = false;
                for (;;) {
                    if (channel.read(true, message, body) == ProcessChannel::Read::Closed) {
                        stopped = true;
                        return End::Stopped;
                    }
                    if (message == Message::NextSheet && scanprotocol::unpack(body, another))
                        break;
                }
                if (!another)
                    return End::Done;
            }
            break;
        }
        case SANE_STATUS_NO_DOCS:
            DeviceLog(DeviceLog::Info) << "feeder empty after " << stored << " pages";
            return End::Done;
        case SANE_STATUS_CANCELLED:
            DeviceLog(DeviceLog::Info) << "scan cancelled by the device at page " << number;
            return End::Cancelled;
        default:
            DeviceLog(DeviceLog::Error) << "page " << number << ": " << sane_strstatus(status);
            return End::PageLost;
        }
    }
}

void Batch::endFrames()
{
    // Backends that read on a thread of their own stop it with an
    // asynchronous cancel; one that lands while that thread is still
    // setting up (allocating its buffer) leaves a lock held for good. A
    // frame is therefore never cancelled in its first moments.
    const Clock::time_point settled = frameStart + settleTime;
    if (frameStart.time_since_epoch().count() != 0 && Clock::now() < settled)
        std::this_thread::sleep_until(settled);
    sane_cancel(plan.handle);
}

} // namespace

void runBatch(const BatchPlan& plan, ProcessChannel& channel)
{
    Batch(plan, channel).run();
}
