#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The program's one connection to a scanner, on SANE. It plays the part
// that the TWAIN connection plays on Windows: the same operations in the
// same order, and the same three events through one callback, so the
// scanner object above it reads the same either way.
//
// SANE's reads block, so the pages of a scan are read on a worker thread.
// Every event still reaches the callback on the GUI thread (the thread of
// the application object), in the order the device produced it, and only
// from the event loop: the window keeps painting while pages arrive.
// Every other operation is called on the GUI thread.
//
// One SANE session (sane_init to sane_exit) serves one listing and the scan
// started from it: each listing begins a fresh session, and every scan's
// end, like closeAll, ends it. A network scanner that went away and came
// back is then reached anew, never through what the old session held.
// Ending a session waits only briefly for a device that does not answer;
// the session then ends by itself once the device answers or is gone, and
// the next one starts only after that.
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

// One scanner as the operator chooses it.
struct Source
{
    QByteArray deviceName;  // SANE's own name, such as "test:0"
    // The device's model, prefixed with its vendor where the model alone is
    // shared, and followed by the device name where both are: the bytes
    // exactly as the backend reported them, never re-encoded.
    QByteArray productName;
};

// The settings that startScan() makes, in its order. Each one a device
// lacks or refuses is skipped; the scan goes on with the device's own value.
enum Capability {
    CapDuplex,          // 1: a duplex feeder where there is one, else a feeder; 0: a feeder
    CapPixelType,       // PixelGray or PixelColor
    CapResolution,      // dots per inch
    CapDeskew,          // 1 on, 0 off, where the backend has such a switch
    CapBlankPageDiscard,// 1 on, 0 off, likewise
    CapDoubleFeedDetect,// 1 on, 0 off, likewise
    CapPaperSize,       // a PaperKind: the scan area, clamped to the device's range
    CapTransferCount,   // pages to read; 0 reads until the feeder is empty
};

enum PixelType { PixelGray = 1, PixelColor = 2 };
enum PaperKind { PaperA3 = 0, PaperA4 = 1, PaperWhole = 2, PaperA4Also = 3 };

// sane_init. The callback replaces the stored one when it is not null.
// False off the application's thread, where no event could be delivered.
bool init(Callback callback, void* context);
bool isInitialised();

// Appends the scanners in SANE's order, in a fresh session. False when the
// connection is not initialised or SANE could not list them (the list is
// left empty).
bool enumSources(QList<Source>& sources);
// Selects the scanner whose product name has exactly these bytes. A name
// that is not found (or is empty) fails and selects nothing new.
bool selectSourceByName(const QByteArray& productName);
// Selects the first scanner.
bool selectDefaultSource();

// Opens the selected scanner (the first one when none is selected), makes
// the settings and starts reading. A device without a feeder reads one
// sheet per page and asks for each further one (EventSheetWanted). Where
// 200 dpi cannot be set, the nearest resolution the device has is used and
// each page is scaled to 200 dpi as it is read. True when the scan runs, and also when
// it was cancelled at its start: the connection is then closed and the
// callback hears EventCloseRequest, so a caller waiting for the end is
// never left waiting. False when it could not start (nothing is open).
bool startScan(bool duplex, int paperKind, int count, int pixelType);
// One setting on the open scanner; returns the SANE status.
int setCapability(Capability capability, int value);
// Starts reading pages; returns the SANE status.
int enableSource();
// Stops reading pages and waits for the reader to finish.
void disableSource();

// Where the pages of the next scan are written as they are read, as BMP
// files under hidden temporary names: the folder transferFile() will store
// them in, so that storing is a rename and the GUI thread never writes a
// page. Without it the system's temporary folder is used.
void setPageFolder(const QString& folder);

// Inside the callback of EventPageReady: stores that page as a BMP file
// (8-bit grey or 24-bit colour) at `path`. False when the page was not
// read whole or could not be written; no partial file is left.
bool transferFile(const QString& path);

// After EventSheetWanted: true reads the next sheet, false ends the batch
// with the pages read (EventBatchDone).
void nextSheet(bool another);

// A device that sends nothing for this long while a page is read has
// stalled: the page is lost and the scan ends (30 s unless set).
void setStallTimeout(int milliseconds);

// Stops a running scan, closes the scanner and SANE. Called from outside
// the callback while a scan runs, it also sends EventCloseRequest (from the
// event loop), so that whoever waits for the scan hears that it ended.
void closeAll();

// Device options set after the program's own settings: `fromPage` 1 before
// the scan starts, a later page just before that page starts. This is how
// the tests make SANE's test backend jam, cancel, slow down or paint a
// picture; it is empty in the program.
struct DeviceOption
{
    QByteArray name;
    QByteArray value; // as text: "SANE_STATUS_JAMMED", "200", "yes"
    int fromPage = 1;
};
void setDeviceOptions(const QList<DeviceOption>& options);

} // namespace SaneConnection
