// The write side of the template folder: where a save goes, and the order
// in which it touches the disk. The new folder is written whole beside the
// card's folder and takes its place in one step, so a save refused, failed
// or killed at any instant leaves the earlier folder or the new one.

#include "model/templatefolder.h"

#include "model/answersheet.h"
#include "model/cardname.h"
#include "model/global.h"
#include "model/infra/appstate.h"
#include "model/infra/logger.h"
#include "platform/durablefiles.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QRegularExpression>

const QString TemplateFolder::unfinishedSuffix = QStringLiteral("_(未完成)");

namespace {

const QString stagingMark = QStringLiteral(".saving-");

void logFailure(const QString& path, const QString& reason)
{
    fileLogger(LogWarning) << "template save: " << path.toStdString() << ": " << reason.toStdString();
}

// One page picture of the new folder: the file whose bytes already stand
// for the page, or else the picture to encode.
struct PagePicture
{
    QString path;
    QString copyFrom;
    platform::FileStamp stamp;
    QImage image;
};

bool writePicture(const PagePicture& page)
{
    QString error;
    if (!page.copyFrom.isEmpty()) {
        const platform::CopyResult copied = platform::copyToNewFile(page.copyFrom, page.stamp, page.path, &error);
        if (copied == platform::CopyResult::Copied)
            return true;
        if (copied == platform::CopyResult::Failed) {
            logFailure(page.path, error);
            return false;
        }
    }
    if (page.image.isNull()) {
        logFailure(page.path, QStringLiteral("the page has no picture"));
        return false;
    }
    // The encoder's default quality.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPG");
    if (!writer.write(page.image)) {
        logFailure(page.path, writer.errorString());
        return false;
    }
    if (!platform::writeNewFile(page.path, bytes, &error)) {
        logFailure(page.path, error);
        return false;
    }
    return true;
}

// Every page as folder/name_pageIndex.jpg, each on its own worker; true
// when all were written.
bool writePagePictures(const AnswerSheet& card, const QString& folder, const QString& name)
{
    // Pixmaps and files are looked at on this thread; the workers copy or
    // encode.
    QVector<PagePicture> pages;
    card.forEachPage([&](const PageSheet& page) {
        PagePicture picture;
        picture.path = folder + QLatin1Char('/') + name + QLatin1Char('_') + QString::number(page.pageIndex)
            + QStringLiteral(".jpg");
        picture.copyFrom = page.image.unchangedJpegFile();
        picture.stamp = page.image.jpegStamp();
        // Also when copying: the file may still change before it is read.
        picture.image = page.image.pixmap.toImage();
        pages.append(picture);
    });
    const int count = pages.size();
    QVector<char> written(count, 0);
#pragma omp parallel for schedule(static)
    for (int i = 0; i < count; ++i)
        written[i] = writePicture(pages[i]);
    return !written.contains(0);
}

// The files a save writes into the card's folder, and what an older save
// cut short left beside them ("卡1.json.Ab12Cd"): none of them is carried
// over from the earlier folder. Page pictures of a former, larger page
// count go too: the folder holds the template it was saved with.
QRegularExpression cardsOwnFiles(const QString& name)
{
    return QRegularExpression(
        QStringLiteral("^%1(\\.json|_\\d+\\.jpg)(\\.[A-Za-z0-9]{6})?$").arg(QRegularExpression::escape(name)));
}

// Writes the whole new folder into `staging`: the template file, every
// page picture, and everything else the earlier folder `target` holds;
// each file synced, then the folder.
bool stage(AnswerSheet& card, const QByteArray& json, const QString& staging, const QString& target)
{
    const QString name = card.paperName;
    QString error;
    if (!platform::writeNewFile(staging + QLatin1Char('/') + name + QStringLiteral(".json"), json, &error)) {
        logFailure(staging, error);
        return false;
    }
    if (!writePagePictures(card, staging, name))
        return false;
    // The operator's own files in the card's folder stay with it.
    const QRegularExpression own = cardsOwnFiles(name);
    const auto ownFile = [&](const QString& entry) {
        const QFileInfo file(target + QLatin1Char('/') + entry);
        return file.isFile() && !file.isSymLink() && own.match(entry).hasMatch();
    };
    if (QFileInfo(target).isDir() && !platform::linkContents(target, staging, ownFile, &error)) {
        logFailure(target, error);
        return false;
    }
    if (!platform::syncFolder(staging, &error)) {
        logFailure(staging, error);
        return false;
    }
    return true;
}

void removeFolder(const QString& folder)
{
    const QFileInfo info(folder);
    const bool removed = info.isSymLink() ? QFile::remove(folder) : QDir(folder).removeRecursively();
    if (!removed)
        logFailure(folder, QStringLiteral("not removed completely"));
}

// Whether `other` is this card's other folder, which a save may remove:
// beside savePath or inside it (never savePath itself), named after the
// card, a real folder and not a link, and holding the card's file.
bool isCardsOtherFolder(const QString& other, const QString& savePath, const QString& name)
{
    const QFileInfo folder(other);
    if (folder.isSymLink() || !folder.isDir())
        return false;
    const QString chosen = QDir::cleanPath(QFileInfo(savePath).absoluteFilePath());
    const QString path = QDir::cleanPath(folder.absoluteFilePath());
    const QString parent = QDir::cleanPath(folder.absolutePath());
    if (path == chosen || (parent != chosen && parent != QFileInfo(chosen).absolutePath()))
        return false;
    if (folder.fileName() != name && folder.fileName() != name + TemplateFolder::unfinishedSuffix)
        return false;
    return QFileInfo(path + QLatin1Char('/') + name + QStringLiteral(".json")).isFile();
}

// Staging folders that saves of either variant of the card, or of the
// folder `target` a link stands for, left in `parent` when cut short.
void removeLeftovers(const QString& parent, const QString& name, const QString& target)
{
    QStringList prefixes = {QLatin1Char('.') + name + stagingMark,
                            QLatin1Char('.') + name + TemplateFolder::unfinishedSuffix + stagingMark,
                            QLatin1Char('.') + target + stagingMark};
    prefixes.removeDuplicates();
    const QDir folder(parent);
    for (const QString& entry : folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        for (const QString& prefix : prefixes) {
            if (entry.startsWith(prefix) && entry.size() == prefix.size() + 6 && TemplateFolder::isStagingFolder(entry))
                removeFolder(folder.filePath(entry));
        }
    }
}

} // namespace

bool TemplateFolder::isStagingFolder(const QString& folderName)
{
    static const QRegularExpression staging(QStringLiteral("^\\..+\\.saving-[A-Za-z0-9]{6}$"));
    return staging.match(folderName).hasMatch();
}

QString TemplateFolder::withoutUnfinishedSuffix(const QString& folder)
{
    const QString path = QDir::cleanPath(folder);
    // A folder named only "_(未完成)" is a place of its own, not a card's.
    if (path.endsWith(unfinishedSuffix) && QFileInfo(path).fileName().size() > unfinishedSuffix.size())
        return path.left(path.size() - unfinishedSuffix.size());
    return path;
}

TemplateFolder::SavePlaces TemplateFolder::savePlaces(const QString& savePath, const QString& name, bool finished)
{
    const QString place = QDir::cleanPath(savePath);
    SavePlaces places;
    places.cardFolder = QFileInfo(place).fileName() == name ? place : QDir::cleanPath(place + QLatin1Char('/') + name);
    const QString unfinished = places.cardFolder + unfinishedSuffix;
    places.written = finished ? places.cardFolder : unfinished;
    places.other = finished ? unfinished : places.cardFolder;
    return places;
}

TemplateFolder::SaveOutcome TemplateFolder::write(AnswerSheet& card, const QString& savePath, bool finished)
{
    SaveOutcome outcome;
    const QString name = card.paperName;
    // The name becomes a folder: one that climbs out of savePath or names
    // it is never a place to write to or remove.
    if (cardNameFault(name) != CardNameFault::None) {
        outcome.result = SaveResult::BadName;
        return outcome;
    }
    outcome.places = savePlaces(savePath, name, finished);
    const SavePlaces& places = outcome.places;

    const QByteArray json = card.serialize(finished);
    if (json.isEmpty()) {
        outcome.result = SaveResult::Refused;
        return outcome;
    }

    // A link standing for the card's folder stays, and the folder it
    // names is the one replaced.
    QFileInfo target(places.written);
    if (target.isSymLink())
        target = QFileInfo(target.canonicalFilePath());
    const QString targetPath = QDir::cleanPath(target.absoluteFilePath());
    const QString parent = target.absolutePath();
    // An earlier template whose folder cannot be replaced: a locked folder
    // is one the operator keeps as it is.
    const bool earlier = QFileInfo(targetPath + QLatin1Char('/') + name + QStringLiteral(".json")).isFile();
    outcome.result = earlier ? SaveResult::NotReplaced : SaveResult::NotWritten;
    if (targetPath.isEmpty() || (target.exists() && (!target.isDir() || !target.isWritable()))) {
        logFailure(places.written, QStringLiteral("not a folder this program can replace"));
        return outcome;
    }

    Global::makeParentDir(parent);
    QString error;
    const QString prefix = QLatin1Char('.') + target.fileName() + stagingMark;
    const QString staging = platform::makeFreshFolder(parent, prefix, targetPath, &error);
    if (staging.isEmpty()) {
        logFailure(parent, error);
        return outcome;
    }
    if (!stage(card, json, staging, targetPath)) {
        removeFolder(staging);
        outcome.result = SaveResult::NotWritten;
        return outcome;
    }
    const QString parked = platform::freshName(parent, prefix);
    const platform::Swap swap = platform::putInPlace(staging, targetPath, parked, &error);
    if (!error.isEmpty())
        logFailure(targetPath, error);
    if (swap == platform::Swap::Failed) {
        removeFolder(staging);
        return outcome;
    }

    // The new folder stands; what it replaced, the card's other variant
    // and what earlier saves cut short left can go.
    outcome.result = SaveResult::Written;
    projectDir = places.written;
    if (swap == platform::Swap::Exchanged)
        removeFolder(staging);
    else if (swap == platform::Swap::Parked)
        removeFolder(parked);
    // The other variant is set aside first, so that a kill while its
    // files go leaves no half-emptied card folder in sight.
    if (isCardsOtherFolder(places.other, savePath, name)) {
        const QString aside = platform::freshName(QFileInfo(places.other).absolutePath(),
                                                  QLatin1Char('.') + QFileInfo(places.other).fileName() + stagingMark);
        if (QDir().rename(places.other, aside))
            removeFolder(aside);
        else
            logFailure(places.other, QStringLiteral("not set aside for removal"));
    }
    removeLeftovers(parent, name, target.fileName());

    // The pages' files are now the ones just written.
    forEachPageOf(card.sheets, [&](PageSheet& page) {
        const QString path = places.written + QLatin1Char('/') + name + QLatin1Char('_')
            + QString::number(page.pageIndex) + QStringLiteral(".jpg");
        page.image.noteJpegFile(path, platform::fileStamp(path));
    });
    return outcome;
}
