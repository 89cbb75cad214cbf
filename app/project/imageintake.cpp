#include "app/project/iocontroller.h"

#include "algorithms/pagecorner.h"
#include "model/answersheet.h"
#include "model/pictureread.h"
#include "model/templatefolder.h"
#include "model/infra/appstate.h"
#include "model/infra/eiconfig.h"
#include "model/infra/logger.h"
#include "platform/threadid.h"
#include "scanner/eiscan.h"
#include "scanner/scanfolder.h"
#include "widgets/dialogs/scanpanel.h"
#include "widgets/kit/busyguard.h"
#include "widgets/kit/eimessagebox.h"
#include "widgets/kit/maskform.h"

#include <QCoreApplication>
#include <QDir>

namespace {

const QString importRetryText = QStringLiteral("重新导入");
const QString scanRetryText = QStringLiteral("重新扫描");

// Reads every file on its own worker; a slot stays empty when its file is
// refused (not a picture, damaged, or asking for too many pixels).
QVector<PageImage> loadPages(const QStringList& files)
{
    QVector<PageImage> images(files.size());
    const int count = files.size();
#pragma omp parallel for schedule(static)
    for (int i = 0; i < count; ++i) {
        Picture picture = readPicture(files[i]);
        if (picture.fault == PictureFault::None)
            images[i].set(QPixmap::fromImage(std::move(picture.image)), files[i]);
    }
    return images;
}

// The turn that lays a page the way the project's sheets lie.
int turnFor(const QSize& size, const QString& orientation)
{
    const bool horizontal = orientation == QLatin1String("horizontal");
    if (size.width() < size.height() && horizontal)
        return -90;
    if (size.width() >= size.height() && !horizontal)
        return 90;
    return 0;
}

// Turns and checks the pages of one paper, each on its own worker, and
// true when all passed. Workers write only their own slot.
bool checkPaper(QVector<PageImage>& images, int paper, int pageCount, const QSize& reference, bool checkCorner)
{
    const QString orientation = answerSheet.orientation;
    const bool redCard = answerSheet.redCard;
    QVector<char> passed(pageCount, 0);
#pragma omp parallel for schedule(static)
    for (int j = 0; j < pageCount; ++j) {
        fileLogger(LogDebug) << "checking page " << j << " of paper " << paper << " on thread "
                             << platform::currentThreadId();
        PageImage& slot = images[paper * 2 + j];
        const int turn = turnFor(slot.pixmap.size(), orientation);
        if (turn != 0)
            slot.rotate(turn);
        passed[j] = checkPageCorner(&slot.pixmap, reference.width(), reference.height(), redCard, checkCorner);
    }
    return !passed.contains(0);
}

} // namespace

QString IOController::pictureFileFilter()
{
    // No semicolon after the list: Qt's own file dialog reads "name (patterns)"
    // only when the closing bracket ends the filter, and shows nothing else.
    return QStringLiteral("图像 (*.jpg *.jpeg *.tif *.bmp *.png)");
}

void IOController::importImages()
{
    {
        BusyGuard busy(overlayHost());
        scannedFiles = fileDialogs.openFileNames(busy.parent(), QStringLiteral("选择本地图像"), QString(),
                                                 pictureFileFilter());
    }
    if (scannedFiles.isEmpty())
        return;
    fromImport = true;
    emit importImagesDone(checkImages(scannedFiles) ? State::Done : State::Cancelled);
}

void IOController::scanImage()
{
    BusyGuard busy(overlayHost());
    // Left empty when the scanners cannot be listed.
    QList<SaneConnection::Source> sources;
    scanner->getSourceList(sources);
    QStringList names;
    for (const SaneConnection::Source& source : qAsConst(sources))
        names.append(QString::fromUtf8(source.productName));

    int choice = -1;
    {
        ScanPanel dialog(busy.parent(), names);
        if (dialog.exec() != EIDialog::Ok) {
            // The listing's session ends with the choice.
            scanner->close();
            busy.close();
            emit scanComplete(State::Cancelled);
            return;
        }
        choice = dialog.currentIndex();
    }
    fromImport = false;
    QCoreApplication::processEvents();

    const QString folder = scanImageFolder(programDir);
    if (folder.isEmpty()) {
        // Not the scanner's fault: say which folders would not take the pages.
        scanner->close();
        QStringList candidates;
        for (const QString& candidate : scanFolderCandidates(programDir))
            candidates.append(QDir::toNativeSeparators(candidate));
        ask(QStringLiteral("扫描图片无法保存，文件夹不可写入，请检查权限后重新扫描!\n") + candidates.join(QLatin1Char('\n')));
        return;
    }
    const int pageCount = answerSheet.pageCnt;
    scanner->setDuplex(pageCount > 1);
    scanner->setImageDir(folder);
    scanner->setScanCount((pageCount + 1) / 2 * 2);
    scanner->setPaperSize(answerSheet.orientation == QLatin1String("horizontal") ? SaneConnection::PaperA3
                                                                                 : SaneConnection::PaperA4);
    // Set for every card: a red card's colour must not carry over to the next.
    scanner->setPixelType(answerSheet.redCard ? SaneConnection::PixelColor : SaneConnection::PixelGray);
    scannedFiles.clear();

    // The scanner is named by the bytes its device reported, not by the
    // text the dialog showed. No choice, or no folder to write pages to,
    // is a start that failed.
    const QByteArray productName = choice >= 0 && choice < sources.size() ? sources[choice].productName : QByteArray();
    if (!scanner->startScan(productName)) {
        ask(QStringLiteral("扫描仪启动失败, 请检查扫描仪连接!"));
        return;
    }
    // Pages arrive through the event loop; the overlay keeps the operator
    // out until the end reaches onScanComplete, and offers "取消".
    scanRunning = true;
    busy.handOver();
    showScanProgress(scannedFiles.size() + 1);
}

void IOController::showScanProgress(int number)
{
    BusyOverlayHost* host = overlayHost();
    auto* overlay = host ? qobject_cast<MaskForm*>(host->messageParent()) : nullptr;
    if (!overlay)
        return;
    // The card's pages: a surplus image asked of the scanner is not one.
    const int pageCount = answerSheet.pageCnt;
    overlay->setProgressText(
        QStringLiteral("正在扫描第%1页，共%2页").arg(qMin(number, pageCount)).arg(pageCount));
    overlay->showCancelButton();
    connect(overlay, &MaskForm::cancelClicked, this, &IOController::cancelScan, Qt::UniqueConnection);
}

void IOController::cancelScan()
{
    // The end comes back as the source closing, through onScanComplete.
    if (scanRunning)
        scanner->close();
}

void IOController::onSheetWanted()
{
    if (!scanRunning)
        return;
    // A flatbed is asked for no more sheets than the card has.
    if (scannedFiles.size() >= answerSheet.pageCnt) {
        scanner->nextSheet(false);
        return;
    }
    BusyOverlayHost* host = overlayHost();
    const int answer = EIMessageBox::warning(host ? host->messageParent() : nullptr, QStringLiteral("提示"),
                                             QStringLiteral("请放入下一页后点击确定"), 1);
    // The scan may have ended meanwhile (the window closing).
    if (!scanRunning)
        return;
    if (answer == EIDialog::Ok)
        scanner->nextSheet(true);
    else
        cancelScan();
}

void IOController::onScanComplete(ScanCompletion type, const QString& msg)
{
    // The scan handed its overlay over to this slot. It goes down before the
    // checks, as after the file dialog of an import; messages raise it again.
    BusyGuard scan(overlayHost(), BusyGuard::TakeOver);
    scan.close();
    switch (type) {
    case ScanCompletion::Done:
        emit scanComplete(checkImages(scannedFiles) ? State::Done : State::Cancelled);
        break;
    case ScanCompletion::PageLost:
        ask(msg);
        emit scanComplete(State::Cancelled);
        break;
    case ScanCompletion::SourceClosed:
        emit scanComplete(State::Cancelled);
        break;
    }
    // "重新扫描" in a check's message started a new scan; the answers to
    // this one took its overlay down.
    if (scanRunning) {
        scan.parent();
        scan.handOver();
    }
}

void IOController::restartIntake()
{
    if (fromImport)
        importImages();
    else
        scanImage();
}

bool IOController::checkImages(const QStringList& files)
{
    // Messages raise the overlay; a refusal closes it, a pass leaves it to
    // the intake slot that asked.
    BusyGuard busy(overlayHost(), BusyGuard::TakeOver);
    savePath.clear();
    fileLogger(LogInfo) << scannedFiles.size() << " pageSize";
    fileLogger(LogInfo) << files.size() << " fileNameList";

    const int pageCount = answerSheet.pageCnt;
    QStringList intake = files;
    if (!fromImport) {
        // A scan asks for an even number of images; the surplus goes.
        while (scannedFiles.size() > pageCount)
            scannedFiles.removeLast();
        while (intake.size() > pageCount)
            intake.removeLast();
    }

    if (intake.size() != pageCount) {
        const int answer = fromImport
                               ? ask(QStringLiteral("导入图片数量有误，校验不通过，请确认后重新导入!"), importRetryText)
                               : ask(QStringLiteral("扫描图片数量有误，校验不通过，请确认后重新扫描!"), scanRetryText);
        if (answer == EIDialog::Ok)
            restartIntake();
        return false;
    }

    QVector<PageImage> images = loadPages(intake);
    for (const PageImage& slot : qAsConst(images)) {
        if (!slot.pixmap.isNull())
            continue;
        const int answer = fromImport ? ask(QStringLiteral("导入图片格式有误，校验不通过，请确认后重新导入!"),
                                            importRetryText)
                                      : ask(QStringLiteral("扫描图片格式有误，校验不通过 !"), scanRetryText);
        if (answer != EIDialog::Cancel)
            restartIntake();
        return false;
    }

    const bool checkCorner = config.value(configGroupAlgorithm, configKeyCheckCorner).toBool();
    QSize reference = images[0].pixmap.size();
    if (turnFor(reference, answerSheet.orientation) != 0)
        reference.transpose();

    // A template without its papers (one reset after a failed import) gets
    // them now, so every image has a page to go to.
    if (!TemplateFolder::pageStructureFault(answerSheet).isEmpty()) {
        answerSheet.clearPages();
        setUpPages(pageCount);
    }

    for (int paper = 0; paper < answerSheet.sheets.size(); ++paper) {
        if (!checkPaper(images, paper, answerSheet.sheets[paper].size(), reference, checkCorner)) {
            ask(QStringLiteral("图像校验失败！请检查扫描图片是否有折角，破损等 !"));
            return false;
        }
    }

    // Stored only once every page passed, so a refused intake leaves the
    // template's pages as they were.
    for (int paper = 0; paper < answerSheet.sheets.size(); ++paper) {
        QVector<PageSheet>& faces = answerSheet.sheets[paper];
        for (int face = 0; face < faces.size(); ++face)
            faces[face].setImage(images[paper * 2 + face]);
    }
    busy.handOver();
    return true;
}
