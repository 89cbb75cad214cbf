#pragma once

#include "scanner/protocol/scanprotocol.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QProcess>

#include <chrono>
#include <memory>

class QEventLoop;
class QTemporaryDir;

// One run of the scanner process (scanner/device/), as the program holds
// it: started with the program's environment plus a few entries, spoken to
// in scanprotocol frames on its standard input and output; its standard
// error goes to the program's own. What it sends waits in a queue until
// taken; a stream that breaks (a frame too long, too many messages left
// waiting) kills it, as if it had crashed.
//
// It is a child of the application object, so no run outlives the program:
// a run still going when the application ends is killed then.
class ScannerProcess : public QObject
{
    Q_OBJECT

public:
    using Message = scanprotocol::Message;

    explicit ScannerProcess(QObject* parent);
    ~ScannerProcess() override; // kills a run still going, then removes its staging folder

    // Starts `program`; false when it did not start.
    bool start(const QString& program, const QStringList& environment);
    bool isRunning() const { return process.state() != QProcess::NotRunning; }

    void send(Message message, const QByteArray& body = QByteArray());

    // Reads whatever the process wrote so far into the queue.
    void pump();
    // The same, first fetching what still waits in the pipe: the GUI
    // thread may have been busy meanwhile.
    void catchUp();
    bool hasMessage() const { return !queue.isEmpty(); }
    QPair<Message, QByteArray> takeMessage() { return queue.takeFirst(); }
    // Takes the first queued message of this kind, leaving the others.
    bool takeFirst(Message message, QByteArray& body);
    // Waits in a local event loop until `message` is queued (and takes it),
    // the process ends, or `wait` passes.
    bool waitFor(Message message, QByteArray& body, std::chrono::milliseconds wait);

    // A hidden folder inside `parent` in which this run writes its pages;
    // removed with this object, once the process is gone. Empty when it
    // could not be made.
    QString makeStagingFolder(const QString& parent);

    // Ends the run: its input closes (the process's cue to end), and it is
    // killed when it has not ended within `wait`. The object goes once the
    // process is gone; nothing more is heard from it.
    void retire(std::chrono::milliseconds wait);
    // Ends the run at once, without waiting for the process.
    void kill();

signals:
    // A message came (signalled before it is queued, and also for those
    // that only tell how a frame goes, which are not queued).
    void arrived(scanprotocol::Message message);
    // Messages wait in the queue.
    void queued();
    // The process is gone; emitted once.
    void ended();

private:
    void onFinished(int exitCode, QProcess::ExitStatus status);
    // Ended, though perhaps not yet heard of: the GUI thread may have been
    // busy when it did.
    bool hasExited() const;
    // Deleted from the event loop once retired and gone, unless a wait of
    // its own still runs.
    void goAway();

    QProcess process;
    scanprotocol::FrameReader reader;
    QList<QPair<Message, QByteArray>> queue;
    std::unique_ptr<QTemporaryDir> staging;
    bool killed = false;
    bool retired = false;
    bool hasEnded = false;
    int waiting = 0;
    QEventLoop* waitLoop = nullptr;
};
