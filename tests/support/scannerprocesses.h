#pragma once

// The scanner processes (tollivar-scanner) the suites' program starts.

#include <QString>
#include <QStringList>

#include <string>

namespace logwatch {
class LogWatch;
}

namespace scannerprocesses {

// Those this process started that are not yet reaped, found by their
// parent and their program's name.
int count();
// Handles events until none is left, so that the program has also heard
// how each ended; false when some still run after `milliseconds`.
bool waitUntilGone(int milliseconds);

// What the program logged since `since` of scanner processes that ended
// on their own with another code than 0: in the sanitizer build, those
// that made a report. Empty when none did.
std::string failedSince(const logwatch::LogWatch& since);

// The environment the suites start it with: tests/support/scannershim.cpp
// preloaded, and `alsoPreload` after it.
QStringList environment(const QString& alsoPreload = QString());
// A backend that aborts the process at the first read of page 2
// (tests/support/abortingread.cpp).
QString abortingReadShim();

} // namespace scannerprocesses
