#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QList>
#include <QString>

// What the program and its scanner process (scanner/device/) say to each
// other over the process's standard input and output. Every message is one
// frame: a 4-byte length (little-endian), then that many bytes, the first
// of which names the message; the rest is its body in QDataStream form.
// A frame's length is checked before anything is allocated for it: one
// that is empty or longer than maxFrameBytes breaks the stream, and the
// side that reads it ends the conversation.
namespace scanprotocol {

// Room for the longest list of scanners (256 names) with some to spare.
constexpr int maxFrameBytes = 1 << 20;

enum class Message : quint8 {
    // To the scanner process.
    List = 1,      // the scanners: answered with Sources
    Start = 2,     // a ScanRequest: answered with Started
    NextSheet = 3, // bool: the operator laid another sheet (else the batch ends)
    // From the scanner process.
    Sources = 20,      // bool listed, QList<Source>
    Started = 21,      // int SANE status (0: the scan runs), double dots per inch scanned at
    PageStarting = 22, // int pages still expected after this one (-1 unknown); sane_start follows
    FrameStarted = 23, // sane_start returned: from now on bytes are awaited
    Progress = 24,     // bytes of the frame came
    FrameRead = 25,    // the frame's last byte came
    PageReady = 26,    // int pending, QString file in the staging folder (empty: the page was lost)
    SheetWanted = 27,  // int pending: a flatbed waits for NextSheet
    BatchDone = 28,    // every page was handed over
    Cancelled = 29,    // the device cancelled the scan
    Log = 30,          // int level (as the program's logger), QByteArray text
};

// One scanner as the operator chooses it.
struct Source
{
    QByteArray deviceName; // SANE's own name, such as "test:0"
    // The device's model, prefixed with its vendor where the model alone is
    // shared, and followed by the device name where both are: the bytes
    // exactly as the backend reported them, never re-encoded.
    QByteArray productName;
    bool operator==(const Source& other) const
    {
        return deviceName == other.deviceName && productName == other.productName;
    }
};

// A device option set after the program's own settings: `fromPage` 1 before
// the scan starts, a later page just before that page starts. This is how
// the tests make SANE's test backend jam, cancel, slow down or paint a
// picture; the program sets none.
struct DeviceOption
{
    QByteArray name;
    QByteArray value; // as text: "SANE_STATUS_JAMMED", "200", "yes"
    int fromPage = 1;
};

enum PixelType { PixelGray = 1, PixelColor = 2 };
enum PaperKind { PaperA3 = 0, PaperA4 = 1, PaperWhole = 2, PaperA4Also = 3 };

// The resolution every page is delivered at, whatever the device scans at.
constexpr double pageDotsPerInch = 200;

// The SANE statuses the program tells apart in Started; it does not see
// SANE's own header.
constexpr int statusGood = 0;
constexpr int statusCancelled = 2;

struct ScanRequest
{
    QByteArray deviceName;
    bool duplex = false;       // a duplex feeder where there is one
    int paperKind = PaperA4;   // the scan area, clamped to the device's range
    int count = 0;             // pages to read; 0 reads until the feeder is empty
    int pixelType = PixelGray;
    QString stagingFolder;     // where the pages are written as they are read
    QList<DeviceOption> deviceOptions;
};

QDataStream& operator<<(QDataStream& out, const Source& source);
QDataStream& operator>>(QDataStream& in, Source& source);
QDataStream& operator<<(QDataStream& out, const DeviceOption& option);
QDataStream& operator>>(QDataStream& in, DeviceOption& option);
QDataStream& operator<<(QDataStream& out, const ScanRequest& request);
QDataStream& operator>>(QDataStream& in, ScanRequest& request);

// Lists travel as a count and their entries. Qt's own list reading makes
// room for the count it reads before any entry arrives; these refuse a
// count past `maxCount` (or past what the bytes left could hold) first.
constexpr int maxSources = 256;
constexpr int maxDeviceOptions = 64;
QDataStream& operator<<(QDataStream& out, const QList<Source>& sources);
QDataStream& operator>>(QDataStream& in, QList<Source>& sources);
QDataStream& operator<<(QDataStream& out, const QList<DeviceOption>& options);
QDataStream& operator>>(QDataStream& in, QList<DeviceOption>& options);

// The body of a message from its fields.
template <typename... Fields>
QByteArray pack(const Fields&... fields)
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_15);
    (out << ... << fields);
    return body;
}

// The fields of a body; false unless it held exactly these.
template <typename... Fields>
bool unpack(const QByteArray& body, Fields&... fields)
{
    QDataStream in(body);
    in.setVersion(QDataStream::Qt_5_15);
    (in >> ... >> fields);
    return in.status() == QDataStream::Ok && in.atEnd();
}

// A whole frame: length, message, body.
QByteArray frame(Message message, const QByteArray& body = QByteArray());

// Cuts the bytes of a stream into frames as they arrive. Whoever feeds it
// takes the whole frames out before adding more, so it never holds much
// more than one frame.
class FrameReader
{
public:
    // Takes more bytes; false once the stream is broken.
    bool append(const char* data, qint64 size);
    // The next whole frame, when one has arrived.
    bool next(Message& message, QByteArray& body);
    bool broken() const { return fault; }

private:
    void checkLength();

    QByteArray pending;
    bool fault = false;
};

} // namespace scanprotocol
