#pragma once

// How long the GUI thread is kept from its event loop: tick() runs from a
// short timer, and the longest gap between two ticks is the answer. The
// time the thread spent waiting for a CPU in the meantime is taken off, so
// that other programs on a busy machine do not count as our own holding.

#include "tests/support/addresssanitizer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QList>

class EventLoopGaps
{
public:
    static constexpr bool underAddressSanitizer = TOLLIVAR_UNDER_ASAN;

    // A bound set for the Release build, allowing for the threefold
    // slowdown of a sanitizer build.
    static constexpr qint64 bound(qint64 releaseMs) { return underAddressSanitizer ? 3 * releaseMs : releaseMs; }

    void start()
    {
        clock.start();
        lastTickMs = 0;
        lastQueuedNs = queuedNs();
    }

    void tick()
    {
        const qint64 nowMs = clock.elapsed();
        const qint64 queued = queuedNs();
        const qint64 gap = nowMs - lastTickMs - (queued - lastQueuedNs) / 1000000;
        longestMs = qMax(longestMs, gap);
        lastTickMs = nowMs;
        lastQueuedNs = queued;
    }

    qint64 longestMs = 0;

private:
    // The second figure of the thread's scheduler statistics: nanoseconds
    // spent runnable but waiting for a CPU. 0 where the kernel keeps none.
    static qint64 queuedNs()
    {
        QFile stats(QStringLiteral("/proc/thread-self/schedstat"));
        if (!stats.open(QIODevice::ReadOnly))
            return 0;
        const QList<QByteArray> fields = stats.readAll().simplified().split(' ');
        return fields.size() > 1 ? fields.at(1).toLongLong() : 0;
    }

    QElapsedTimer clock;
    qint64 lastTickMs = 0;
    qint64 lastQueuedNs = 0;
};
