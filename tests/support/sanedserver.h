#pragma once

// A network scanner for the tests: saned serving one device of SANE's test
// backend ("net:<address>:test:0") on a loopback address of its own, so
// that suites running side by side never meet (the net backend always
// connects to port 6566). The suite's SANE configuration lists the net
// backend; each server adds its address to SANE_NET_HOSTS while it lives.
// Its processes form one group, so that killing or stopping the server
// reaches the children that serve each connection too; tests/support/
// deviceshim.cpp is preloaded into them.

#include "tests/support/testsupport.h"

#include <QList>
#include <QProcess>
#include <QString>

struct SanedDevice
{
    bool flatbedOnly = false;         // no document feeder (tests/support/deviceshim.cpp)
    int onlyDotsPerInch = 0;          // the one resolution it scans at; 0: any up to 1200
    QList<int> listedDotsPerInch = {}; // the only resolutions it offers, as a list (deviceshim.cpp)
};

// A process that leads a process group of its own, with the children it forks.
class GroupLeaderProcess : public QProcess
{
protected:
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    void setupChildProcess() override;
    QT_WARNING_POP
};

class SanedServer
{
public:
    using Device = SanedDevice;

    // Whether saned is installed; the tests that need it skip without.
    static bool available();

    explicit SanedServer(Device device = {});
    ~SanedServer();
    SanedServer(const SanedServer&) = delete;
    SanedServer& operator=(const SanedServer&) = delete;

    // Starts serving (again, after kill) and waits until it answers; false
    // when it did not.
    bool start();
    // Switched off: the server and every connection it serves end at once.
    void kill();
    // Frozen: connections stay open and nothing more arrives.
    void freeze();

    QString address() const { return host; }
    // The product name the program lists it by.
    QString productName() const;

private:
    Device device;
    QString host;
    testsupport::ScratchDir config;
    GroupLeaderProcess process;
};
