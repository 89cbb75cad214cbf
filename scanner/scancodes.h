#pragma once

// How a scan ended, as the scanner layer reports it when the scan is over.
// The numbers continue the scanner's own event numbers (1001 a page is
// ready, 1003 the source asks to close) and stay as they are.
enum class ScanCompletion {
    Done = 1002,          // every page was stored
    PageLost = 1004,      // a page could not be stored
    SourceClosed = 1005,  // the source closed, or the operator cancelled in it
};
