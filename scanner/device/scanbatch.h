#pragma once

#include "scanner/protocol/scanprotocol.h"

#include <QList>
#include <QString>

#include <sane/sane.h>

class ProcessChannel;

struct BatchPlan
{
    SANE_Handle handle = nullptr;
    int count = 0;          // 0: until the feeder is empty
    double dotsPerInch = 0; // what the device scans at
    bool flatbed = false;   // one sheet per frame, laid by the operator
    QString stagingFolder;  // where the pages are written as they are read
    QList<scanprotocol::DeviceOption> laterOptions;
};

// Reads the pages of one scan and tells the program of each step through
// the channel: PageStarting before each page's sane_start, FrameStarted,
// Progress and FrameRead while it is read, then PageReady with the page
// written as a BMP file at the page resolution into the staging folder; on
// a flatbed, after every page but the last, SheetWanted, and the reader
// waits for NextSheet. The batch ends with one message: BatchDone,
// Cancelled (the device cancelled), or PageReady without a file (a page was
// lost). The program closing the channel stops the batch at the next read,
// with no message. Either way the device's batch is ended (sane_cancel)
// before this returns; every SANE call is made on the calling thread.
void runBatch(const BatchPlan& plan, ProcessChannel& channel);
