#pragma once

class QWidget;

// A window that lays the busy overlay over itself (the main window).
class BusyOverlayHost
{
public:
    // Raises the overlay when it is not up and returns it: the parent of
    // the dialogs and messages shown meanwhile.
    virtual QWidget* messageParent() = 0;
    // Closes the overlay; nothing when it is not up.
    virtual void closeFloatingPanel() = 0;

protected:
    ~BusyOverlayHost() = default;
};

// Keeps the busy overlay up for one command and closes it on every way
// out of the command's scope, returns and exceptions alike. Guards do not
// count: the first one to close takes the overlay down, and the next
// parent() raises it again. Without a host (a controller used on its own)
// there is no overlay and dialogs are top-level windows.
class BusyGuard
{
public:
    enum Start {
        Raise,     // raise the overlay now
        TakeOver,  // raise nothing now, but close whatever overlay is up on
                   // the way out: the one an earlier command handed over,
                   // or the one a message of this command raises
    };

    explicit BusyGuard(BusyOverlayHost* host, Start start = Raise);
    ~BusyGuard();
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

    // The overlay, raised again should a command run inside this one have
    // closed it; null without a host.
    QWidget* parent();
    // Leaves the overlay up when the scope ends: the command it is handed
    // to closes it (a slot answering a signal, the I/O controller).
    void handOver();
    // Closes the overlay before the scope ends, for instance before a
    // signal whose receivers expect it closed.
    void close();

private:
    BusyOverlayHost* host;
    bool closing = true;
};
