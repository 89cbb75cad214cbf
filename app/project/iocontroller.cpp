#include "app/project/iocontroller.h"

#include "app/shell/eimainwindow.h"
#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "model/removeditems.h"
#include "model/templatefolder.h"
#include "scanner/eiscan.h"
#include "widgets/kit/busyguard.h"
#include "widgets/kit/eimessagebox.h"
#include "widgets/dialogs/newprojectpanel.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace {

const QString messageTitle = QStringLiteral("提示");

// A new card's template. clear() keeps what a new project sets again; a
// file read into it, or refused, must not inherit the last card's red-card
// colour filter or absent-mark count.
void resetTemplate()
{
    answerSheet.clear();
    const AnswerSheet fresh;
    answerSheet.redCard = fresh.redCard;
    answerSheet.absentMarkCnt = fresh.absentMarkCnt;
}

} // namespace

FileDialogs::FileDialogs()
    : openFileName([](QWidget* parent, const QString& caption, const QString& folder, const QString& filter) {
          return QFileDialog::getOpenFileName(parent, caption, folder, filter);
      }),
      openFileNames([](QWidget* parent, const QString& caption, const QString& folder, const QString& filter) {
          return QFileDialog::getOpenFileNames(parent, caption, folder, filter);
      }),
      existingDirectory([](QWidget* parent, const QString& caption, const QString& folder) {
          return QFileDialog::getExistingDirectory(parent, caption, folder,
                                                   QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
      })
{
}

IOController::IOController(QObject* parent)
    : QObject(parent), mainWindow(qobject_cast<EIMainWindow*>(parent)), scanner(EIScan::instance()),
      programDir(QCoreApplication::applicationDirPath())
{
    // Known by name to queued connections and signal spies.
    qRegisterMetaType<State>();
    connect(scanner, &EIScan::scanComplete, this, [this](int type, const QString& msg) {
        if (!scanRunning)
            return;
        scanRunning = false;
        onScanComplete(static_cast<ScanCompletion>(type), msg);
    });
    connect(scanner, &EIScan::pageStarting, this, [this](int number, int) {
        if (scanRunning)
            showScanProgress(number);
    });
    // Asked outside the scanner's callback, which must not wait on a dialog.
    connect(scanner, &EIScan::sheetWanted, this, &IOController::onSheetWanted, Qt::QueuedConnection);
}

IOController::~IOController()
{
    // A scan whose end no one would check stops here.
    if (scanRunning)
        scanner->close();
}

BusyOverlayHost* IOController::overlayHost() const
{
    return mainWindow.data();
}

int IOController::ask(const QString& text, const QString& retryText)
{
    // Raised again for each message, as an intake started again from an
    // earlier message closes it; the command's guard closes it at the end.
    BusyOverlayHost* host = overlayHost();
    return EIMessageBox::question(host ? host->messageParent() : nullptr, messageTitle, text, retryText);
}

void IOController::setUpPages(int pageCount)
{
    AnswerSheet& card = answerSheet;
    card.pageCnt = pageCount;
    card.sheets.clear();
    card.sheets.resize(card.paperCnt);
    for (int i = 0; i < pageCount && i / 2 < card.sheets.size(); ++i) {
        PageSheet page;
        page.setPageIndex(i);
        page.setSide(i % 2);
        card.sheets[i / 2].append(page);
    }
}

void IOController::newProject()
{
    BusyGuard busy(overlayHost());
    State state = State::Cancelled;
    NewProjectPanel dialog(busy.parent());
    // Reset first, so that even a cancelled dialog leaves an empty template.
    answerSheet.clear();
    savePath.clear();

    while (dialog.exec() == EIDialog::Ok) {
        const QString fault = dialog.cardNameFault();
        if (!fault.isEmpty()) {
            ask(fault);
            continue;
        }
        answerSheet.paperName = dialog.cardName();
        answerSheet.absentMarkCnt = dialog.absentMarkCount();
        answerSheet.paperCnt = dialog.paperCount();
        answerSheet.orientation = dialog.orientation();
        answerSheet.redCard = dialog.isRedCard();
        setUpPages(dialog.pageCount());
        state = State::Done;
        break;
    }
    // Down before the answer goes out.
    busy.close();
    emit newProjectDone(state);
}

void IOController::refuseImport(const QString& reason)
{
    ask(reason);
    resetTemplate();
    importError.clear();
    savePath.clear();
}

void IOController::importProject()
{
    BusyGuard busy(overlayHost());
    State state = State::Cancelled;
    const QString path = fileDialogs.openFileName(busy.parent(), QStringLiteral("选择答题卡json"),
                                                  QStringLiteral("./"), QStringLiteral("Files (*.json);;"));
    if (path.isEmpty()) {
        emit importProjectDone(state);
        return;
    }
    const QFileInfo info(path);
    if (!info.exists() || info.size() < 2) {
        ask(QStringLiteral("文件为空或不存在！"));
        busy.close();
        emit importProjectDone(state);
        return;
    }

    deletedRecords.clear();
    resetTemplate();
    const QString fault = TemplateFolder::read(answerSheet, path);
    if (fault.isEmpty()) {
        state = State::Done;
        savePath = projectDir;
    } else {
        state = State::Failed;
        lastError = fault;
        refuseImport(fault);
    }
    emit importProjectDone(state);
}
