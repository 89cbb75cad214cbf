#include "app/project/iocontroller.h"

#include "app/shell/eimainwindow.h"
#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "model/removeditems.h"
#include "model/templatelimits.h"
#include "widgets/kit/busyguard.h"
#include "widgets/kit/eimessagebox.h"
#include "widgets/dialogs/newprojectpanel.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace {

const QString messageTitle = QStringLiteral("提示");

// Why the new-project dialog refuses a card name, in the order the
// operator is told; empty when the name is good.
QString cardNameFault(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("请输入答题卡名称!");
    if (name.size() > maxCardNameLength)
        return QStringLiteral("答题卡名称过长，请重新输入!");
    for (QChar c : forbiddenNameCharacters) {
        if (name.contains(c))
            return QStringLiteral("答题卡名称不能包含以下字符 \\ / : * ? \" < > |");
    }
    // The name becomes a folder: these two would be the chosen folder itself
    // or the one above it.
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("答题卡名称不合法，请重新输入!");
    return QString();
}

// The message about the first page of the card that has no picture, or
// an empty text. A page whose entry names no picture is as unusable as
// one whose file is gone.
QString missingPictureFault()
{
    for (const QVector<PageSheet>& paper : qAsConst(answerSheet.sheets)) {
        for (const PageSheet& page : paper) {
            if (page.image.pixmap.isNull())
                return QStringLiteral("图像 \"%1_%2.jpg\" 不存在,导入失败！").arg(answerSheet.paperName).arg(page.pageIndex);
        }
    }
    return QString();
}

// Fills the card from the template file at `path`; why the card cannot be
// used, or an empty text.
QString readTemplate(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return file.errorString();
    if (!answerSheet.unserialized(file.readAll()))
        return answerSheet.errorString();
    if (!importError.isEmpty())
        return importError;
    // The only name the reader takes that the new-project dialog refuses.
    if (answerSheet.paperName.isEmpty())
        return QStringLiteral("答题卡名称不合法，导入失败！");
    const QString structureFault = IOController::pageStructureFault();
    if (!structureFault.isEmpty())
        return structureFault;
    return missingPictureFault();
}

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
      })
{
}

IOController::IOController(QObject* parent) : QObject(parent), mainWindow(qobject_cast<EIMainWindow*>(parent))
{
    // Known by name to queued connections and signal spies.
    qRegisterMetaType<State>();
}

IOController::~IOController() = default;

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

QString IOController::pageStructureFault()
{
    const AnswerSheet& card = answerSheet;
    const QString fault = QStringLiteral("答题卡页面不完整，导入失败！");
    if (card.paperCnt < 1 || card.sheets.size() != card.paperCnt)
        return fault;
    int pages = 0;
    for (int paper = 0; paper < card.sheets.size(); ++paper) {
        const QVector<PageSheet>& faces = card.sheets[paper];
        // Only the last paper may go without its back.
        const bool last = paper == card.sheets.size() - 1;
        if (faces.isEmpty() || faces.size() > 2 || (!last && faces.size() < 2))
            return fault;
        for (int face = 0; face < faces.size(); ++face) {
            if (faces[face].side != face || faces[face].pageIndex != paper * 2 + face)
                return fault;
        }
        pages += faces.size();
    }
    return pages == card.pageCnt ? QString() : fault;
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
        const QString fault = cardNameFault(dialog.cardName());
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
    importError.clear();
    projectDir = info.absolutePath();
    savePath = projectDir;

    const QString fault = readTemplate(path);
    if (fault.isEmpty()) {
        state = State::Done;
    } else {
        state = State::Failed;
        lastError = fault;
        refuseImport(fault);
    }
    emit importProjectDone(state);
}
