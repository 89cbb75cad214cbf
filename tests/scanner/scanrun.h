#pragma once

// Runs one scan of EIScan to its end while watching the GUI thread: a
// 10 ms timer ticks throughout, and the longest gap between two ticks is
// how long the GUI thread was kept from its event loop.

#include "scanner/eiscan.h"
#include "tests/support/eventloopgaps.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QList>
#include <QPair>
#include <QThread>
#include <QTimer>

namespace scanrun {

struct Outcome
{
    bool started = false;
    QList<QPair<int, QString>> completions; // every scanComplete, in order
    bool onGuiThread = true;                // every one arrived on the GUI thread
    qint64 longestGapMs = 0;
};

// Starts a scan on `scanner` and waits for its end, then `afterMs` longer
// so that anything reported twice is seen too.
inline Outcome scan(const QByteArray& scanner, int afterMs = 300)
{
    Outcome outcome;
    EIScan* device = EIScan::instance();
    QEventLoop loop;
    QMetaObject::Connection watch = QObject::connect(device, &EIScan::scanComplete, &loop, [&](int type, QString msg) {
        outcome.completions.append({type, msg});
        outcome.onGuiThread = outcome.onGuiThread && QThread::currentThread() == qApp->thread();
        loop.quit();
    });

    EventLoopGaps gaps;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        gaps.tick();
        outcome.longestGapMs = gaps.longestMs;
    });
    ticker.start();
    gaps.start();

    outcome.started = device->startScan(scanner);
    if (outcome.started) {
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    QEventLoop settle;
    QTimer::singleShot(afterMs, &settle, &QEventLoop::quit);
    settle.exec();
    QObject::disconnect(watch);
    return outcome;
}

} // namespace scanrun
