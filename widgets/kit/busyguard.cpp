#include "widgets/kit/busyguard.h"

BusyGuard::BusyGuard(BusyOverlayHost* host, Start start) : host(host)
{
    if (start == Raise)
        parent();
}

BusyGuard::~BusyGuard()
{
    if (closing)
        close();
}

QWidget* BusyGuard::parent()
{
    closing = true;
    return host ? host->messageParent() : nullptr;
}

void BusyGuard::handOver()
{
    closing = false;
}

void BusyGuard::close()
{
    closing = false;
    if (host)
        host->closeFloatingPanel();
}
