#pragma once

// How a scan ended, as EIScan::scanComplete reports it (its int type).
enum ScanCompletion {
    ScanDone = 1002,         // every page of the batch was stored: "扫描完成"
    ScanPageLost = 1004,     // a page was not stored, the scan is over: "启动扫描仪时遇到问题！"
    ScanSourceClosed = 1005, // cancelled, or the connection ended during the scan: "扫描完成"
};
