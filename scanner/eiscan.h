#pragma once

#include "scanner/saneconnection.h"

#include <QObject>
#include <QString>

// The scanner as the program sees it: one object for the whole run that
// keeps the scan settings, starts a scan on a chosen scanner, stores each
// page as a BMP file named by a fresh UUID in the image folder, appends its
// path to `scannedFiles` and reports the end with scanComplete (a
// ScanCompletion code and its text). Everything happens on the GUI thread.
class EIScan : public QObject
{
    Q_OBJECT

public:
    // The one scanner object, made on first use; it is never deleted.
    static EIScan* instance();
    // The scanner object, or null when none was made.
    static EIScan* existing();

    ~EIScan() override;

    // Empties `scannedFiles` and opens the connection; true when it opened.
    bool init();
    bool isInitialised() const { return initialised; }
    void setInitialised(bool value) { initialised = value; }

    // The scanners in SANE's order (opening the connection when needed).
    bool getSourceList(QList<SaneConnection::Source>& sources);
    // Selects by the product name's exact bytes; an empty name fails.
    bool selectSource(const QByteArray& productName);
    // Selects the scanner and starts a scan with the settings below. False
    // when it did not start (no such scanner, an empty name or image
    // folder, a device that would not open); then nothing more is reported.
    // True means that exactly one scanComplete will follow.
    bool startScan(const QByteArray& productName);
    // Ends a running scan: the pages stored so far stay, and the end is
    // reported as the source closing (ScanCompletion::SourceClosed).
    void close();
    // After sheetWanted: whether the operator laid another sheet (false
    // ends the scan with the pages it has, as done).
    void nextSheet(bool another);

    void setDuplex(bool value) { duplex = value; }
    void setImageDir(const QString& folder) { imageDir = folder; }
    void setScanCount(int count) { scanCount = count; }
    void setPaperSize(int kind) { paperSize = kind; }   // a SaneConnection::PaperKind
    void setPixelType(int type) { pixelType = type; }   // a SaneConnection::PixelType
    QString getImageDir() const { return imageDir; }
    bool isDuplex() const { return duplex; }
    int getScanCount() const { return scanCount; }
    int getPaperSize() const { return paperSize; }
    int getPixelType() const { return pixelType; }

signals:
    void scanComplete(int type, QString msg);
    // Page `number` (from 1) of `count` (0 when open-ended) begins to be read.
    void pageStarting(int number, int count);
    // A flatbed read its sheet and waits for the next one (nextSheet).
    void sheetWanted();

private:
    EIScan();

    static void scanCallback(void* context, int event, int pendingCount, const char* text);
    void storePage();
    void finishBatch();
    void sourceClosed();

    QString imageDir;
    bool initialised = false;
    bool duplex = true;
    int scanCount = 2; // 0: every page the feeder holds
    int paperSize = SaneConnection::PaperA3;
    int pixelType = SaneConnection::PixelGray;
    int pagesThisScan = 0;
};
