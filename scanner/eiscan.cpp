#include "scanner/eiscan.h"

#include "model/infra/appstate.h"
#include "model/infra/logger.h"
#include "scanner/scancodes.h"

#include <QUuid>

namespace {

EIScan* scanner = nullptr;

const QString doneText = QStringLiteral("扫描完成");
const QString pageLostText = QStringLiteral("启动扫描仪时遇到问题！");

} // namespace

EIScan* EIScan::instance()
{
    if (!scanner)
        scanner = new EIScan;
    return scanner;
}

EIScan* EIScan::existing()
{
    return scanner;
}

EIScan::EIScan()
{
    init();
}

EIScan::~EIScan()
{
    if (scanner == this)
        scanner = nullptr;
    SaneConnection::closeAll();
}

bool EIScan::init()
{
    scannedFiles.clear();
    initialised = SaneConnection::init(&EIScan::scanCallback, this);
    return initialised;
}

bool EIScan::getSourceList(QList<SaneConnection::Source>& sources)
{
    if (!initialised || !SaneConnection::isInitialised())
        init();
    const bool listed = SaneConnection::enumSources(sources);
    initialised = SaneConnection::isInitialised();
    return listed;
}

bool EIScan::selectSource(const QByteArray& productName)
{
    if (!initialised)
        init();
    return SaneConnection::selectSourceByName(productName);
}

bool EIScan::startScan(const QByteArray& productName)
{
    if (!initialised)
        init();

    if (!selectSource(productName)) {
        fileLogger(LogInfo) << "EIScan: SelectScanTool Fail:" << productName.constData();
        // The listing's scanner process has nothing more to do.
        SaneConnection::closeAll();
        initialised = false;
        return false;
    }
    fileLogger(LogInfo) << "EIScan: SelectScanTool OK:" << productName.constData();

    // Without a folder the pages would land in the file system's root.
    if (imageDir.isEmpty()) {
        fileLogger(LogInfo) << "EIScan: StartScan Fail: no image folder";
        SaneConnection::closeAll();
        initialised = false;
        return false;
    }
    SaneConnection::setPageFolder(imageDir);
    pagesThisScan = 0;
    if (SaneConnection::startScan(duplex, paperSize, scanCount, pixelType)) {
        fileLogger(LogInfo) << "EIScan: StartScan OK:" << productName.constData();
        // A start cancelled at once has already closed the connection; its
        // close request is on its way.
        initialised = SaneConnection::isInitialised();
        return true;
    }
    fileLogger(LogInfo) << "EIScan: StartScan Fail:" << productName.constData();
    initialised = false;
    return false;
}

void EIScan::close()
{
    SaneConnection::closeAll();
    initialised = false;
}

void EIScan::nextSheet(bool another)
{
    SaneConnection::nextSheet(another);
}

void EIScan::scanCallback(void* /*context*/, int event, int /*pendingCount*/, const char* /*text*/)
{
    EIScan* self = existing();
    if (!self)
        return;
    switch (event) {
    case SaneConnection::EventPageReady:
        self->storePage();
        break;
    case SaneConnection::EventBatchDone:
        self->finishBatch();
        break;
    case SaneConnection::EventCloseRequest:
        self->sourceClosed();
        break;
    case SaneConnection::EventPageStarting:
        emit self->pageStarting(self->pagesThisScan + 1, self->scanCount);
        break;
    case SaneConnection::EventSheetWanted:
        emit self->sheetWanted();
        break;
    default:
        break;
    }
}

void EIScan::storePage()
{
    const QString name = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString path = imageDir;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    path += name + QStringLiteral(".bmp");

    if (SaneConnection::transferFile(path)) {
        fileLogger(LogInfo) << "Store ScanImage:" << path.toStdString();
        scannedFiles.append(path);
        ++pagesThisScan;
        return;
    }
    fileLogger(LogError) << "Store ScanImage" << path.toStdString();
    SaneConnection::closeAll();
    initialised = false;
    emit scanComplete(int(ScanCompletion::PageLost), pageLostText);
}

void EIScan::finishBatch()
{
    fileLogger(LogInfo) << "ScanComplate";
    SaneConnection::closeAll();
    initialised = false;
    fileLogger(LogDebug) << "scan finished with " << scannedFiles.size() << " pages";
    emit scanComplete(int(ScanCompletion::Done), doneText);
}

void EIScan::sourceClosed()
{
    initialised = false;
    emit scanComplete(int(ScanCompletion::SourceClosed), doneText);
}
