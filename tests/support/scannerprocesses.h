#pragma once

// The scanner processes (tollivar-scanner) the suites' program starts.

#include <string>

namespace logwatch {
class LogWatch;
}

namespace scannerprocesses {

// Handles events until none this process started is left unreaped, so
// that the program has also heard how each ended; false when some still
// run after `milliseconds`.
bool waitUntilGone(int milliseconds);

// What the program logged since `since` of scanner processes that ended on
// their own with another code than 0 (in the sanitizer build: those that
// made a report); empty when none did.
std::string failedSince(const logwatch::LogWatch& since);

// Starts them with tests/support/scannershim.cpp preloaded, and with
// `abortingRead` abortingread.cpp too (scannerprogram.cpp).
void useScannerProgram(bool abortingRead = false);
std::string preloads(bool abortingRead);

} // namespace scannerprocesses
