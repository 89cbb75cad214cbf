#pragma once

#include "scanner/protocol/scanprotocol.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The program's one connection to a scanner, on SANE. It plays the part
// that the TWAIN connection plays on Windows: the same operations in the
// same order, and the same three events through one callback, so the
// scanner object above it reads the same either way.
//
// The program itself never calls SANE: every SANE call runs in the scanner
// process (tollivar-scanner beside the program, scanner/device/), one
// process per session. Each listing starts a fresh one, at once: an
// earlier process still running (a scanner that froze under it) is killed,
// never waited for. A scan's end ends its process: it is told to end, and
// killed when it has not within a few seconds. A backend that crashes or a
// device that stops answering can only take that process down, and the
// scan then ends as one that lost a page.
//
// Every operation is called on the GUI thread (the thread of the
// application object), and every event reaches the callback there, in the
// order the device produced it, from the event loop: the window keeps
// painting while pages arrive. Listing and opening a scanner wait for the
// process in a local event loop that takes no user input, each within a
// bound of its own.
namespace SaneConnection {

// What the callback hears.
enum Event {
    EventPageReady = 1001,    // a page was read: transferFile() stores it
    EventBatchDone = 1002,    // every page of the batch was handed over
    EventCloseRequest = 1003, // the scan was cancelled or the connection ended
                              // during it; the connection is already closed
    EventPageStarting = 1010, // a page begins to be read
    EventSheetWanted = 1011,  // a flatbed read its sheet: nextSheet() says
                              // whether the operator laid another
};

// (context, event, pages still expected after this one or -1 when unknown,
// text). The text is always empty.
using Callback = void (*)(void* context, int event, int pendingCount, const char* text);

using Source = scanprotocol::Source;
using DeviceOption = scanprotocol::DeviceOption;
using PixelType = scanprotocol::PixelType;
using PaperKind = scanprotocol::PaperKind;
constexpr PixelType PixelGray = scanprotocol::PixelGray;
constexpr PixelType PixelColor = scanprotocol::PixelColor;
constexpr PaperKind PaperA3 = scanprotocol::PaperA3;
constexpr PaperKind PaperA4 = scanprotocol::PaperA4;
constexpr PaperKind PaperWhole = scanprotocol::PaperWhole;
constexpr PaperKind PaperA4Also = scanprotocol::PaperA4Also;

// A device that sends nothing for this long while a page is read has
// stalled; sane_start (a lamp warming up, a slow paper feed) has longer.
constexpr int stallTimeoutMs = 30000;
constexpr int startTimeoutMs = 90000;

// Stores the callback (when not null) and its context. False off the
// application's thread, where no event could be delivered, or when the
// scanner process's program is missing.
bool init(Callback callback, void* context);
bool isInitialised();

// Appends the scanners in SANE's order, listed by a fresh scanner process.
// False when the connection is not initialised or the scanners could not
// be listed (the list is left empty).
bool enumSources(QList<Source>& sources);
// Selects the scanner whose product name has exactly these bytes. A name
// that is not found (or is empty) fails and selects nothing new.
bool selectSourceByName(const QByteArray& productName);
// Selects the first scanner.
bool selectDefaultSource();

// Opens the selected scanner (the first one when none is selected), makes
// the settings and starts reading. A device without a feeder reads one
// sheet per page and asks for each further one (EventSheetWanted). Pages
// come at 200 dpi: scanned at the smallest resolution at or above it the
// device offers, else at its highest and enlarged. True when the scan
// runs, and also when it was cancelled at its start: the connection is
// then closed and the callback hears EventCloseRequest, so a caller
// waiting for the end is never left waiting. False when it could not
// start (nothing is open).
bool startScan(bool duplex, int paperKind, int count, int pixelType);

// Where the pages of the next scan are written: the scanner process
// writes them into a hidden folder inside it, so that storing is a rename
// and the GUI thread never writes a page. Without it the system's
// temporary folder is used.
void setPageFolder(const QString& folder);

// Inside the callback of EventPageReady: stores that page as a BMP file
// (8-bit grey or 24-bit colour) at `path`. False when the page was not
// read whole or could not be stored.
bool transferFile(const QString& path);

// After EventSheetWanted: true reads the next sheet, false ends the batch
// with the pages read (EventBatchDone).
void nextSheet(bool another);

// Stops a running scan and ends the scanner process. Called from outside
// the callback while a scan runs, it also sends EventCloseRequest (from
// the event loop), so that whoever waits for the scan hears that it ended.
void closeAll();

// For the tests: shorter bounds than stallTimeoutMs and startTimeoutMs.
void setStallTimeout(int milliseconds);
void setStartTimeout(int milliseconds);
// For the tests: the options set on the device (see DeviceOption).
void setDeviceOptions(const QList<DeviceOption>& options);
// For the tests: where the scanner process's program is (by default
// "tollivar-scanner" beside the program), and entries ("NAME=value") added
// to the environment it starts with.
void setScannerProgram(const QString& program, const QStringList& environment = QStringList());

} // namespace SaneConnection
