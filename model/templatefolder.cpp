#include "model/templatefolder.h"

#include "model/answersheet.h"
#include "model/cardname.h"
#include "model/infra/appstate.h"
#include "model/infra/logger.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString tooLargeText = QStringLiteral("答题卡文件过大，导入失败！");
const QString unreadableText = QStringLiteral("答题卡文件无法打开，导入失败！");
const QString malformedText = QStringLiteral("模板文件格式有误，导入失败！");
const QString stagingText = QStringLiteral("模板文件夹是保存时的临时文件夹，导入失败！");

// The message about the first page that has no picture, or an empty text.
// A page whose entry names no picture is as unusable as one whose file is
// gone.
QString missingPictureFault(const AnswerSheet& card)
{
    for (const QVector<PageSheet>& paper : card.sheets) {
        for (const PageSheet& page : paper) {
            if (page.image.pixmap.isNull())
                return QStringLiteral("图像 \"%1_%2.jpg\" 不存在,导入失败！").arg(card.paperName).arg(page.pageIndex);
        }
    }
    return QString();
}

} // namespace

QString TemplateFolder::read(AnswerSheet& card, const QString& jsonPath)
{
    projectDir = QFileInfo(jsonPath).absolutePath();
    importError.clear();
    // Half written, or replaced and about to go; saving from there would
    // write into a folder the next save removes.
    if (isStagingFolder(QFileInfo(projectDir).fileName()))
        return stagingText;

    QFile file(jsonPath);
    // The operator reads a Chinese message; the log keeps the system's or
    // the reader's own words for whoever looks into the file.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        fileLogger(LogWarning) << "template import: " << jsonPath.toStdString() << ": " << file.errorString().toStdString();
        return unreadableText;
    }
    if (file.size() > maxFileSize)
        return tooLargeText;
    if (!card.unserialized(file.readAll())) {
        if (!card.notJson)
            return card.errorString();
        fileLogger(LogWarning) << "template import: " << jsonPath.toStdString() << ": " << card.errorString().toStdString();
        return malformedText;
    }

    const QString pictureFault = importError;
    importError.clear();
    if (!pictureFault.isEmpty())
        return pictureFault;
    // A file without "paperName" keeps the reset card's name, which the
    // reader did not see.
    if (cardNameFault(card.paperName) != CardNameFault::None)
        return cardNameImportMessage;
    const QString structureFault = pageStructureFault(card);
    if (!structureFault.isEmpty())
        return structureFault;
    return missingPictureFault(card);
}

QString TemplateFolder::pageStructureFault(const AnswerSheet& card)
{
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
