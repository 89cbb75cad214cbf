#pragma once

#include "scanner/protocol/scanprotocol.h"

#include <sane/sane.h>

// What a device does once the scan's settings are made.
struct DeviceSetup
{
    bool flatbed = false;   // no feeder: one sheet per frame, laid by the operator
    double dotsPerInch = 0; // what it scans at (0 when it does not say)
};

// Makes the scan's settings on an open device, in this order: the source
// (a duplex feeder where asked for and there is one, else a feeder), the
// colour mode, the resolution (the page resolution where offered, else as
// chooseResolution picks), deskew on, blank-page discarding and double-feed
// detection off, the scan area of the paper kind, then the request's own
// device options of page 1. Each one the device lacks or refuses is
// skipped, and logged; the scan goes on with the device's own value.
DeviceSetup applySettings(SANE_Handle handle, const scanprotocol::ScanRequest& request);

// One device option given as text; returns the SANE status.
SANE_Status applyDeviceOption(SANE_Handle handle, const scanprotocol::DeviceOption& option);
