// The write side of the template folder: where a save goes, and the order
// in which it touches the disk so that a refused or failed save never
// costs the last good folder.

#include "model/templatefolder.h"

#include "model/answersheet.h"
#include "model/cardname.h"
#include "model/global.h"
#include "model/infra/appstate.h"
#include "model/infra/logger.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#include <memory>

const QString TemplateFolder::unfinishedSuffix = QStringLiteral("_(未完成)");

namespace {

void logFailure(const QString& path, const QString& reason)
{
    fileLogger(LogWarning) << "template save: " << path.toStdString() << ": " << reason.toStdString();
}

// Why the template file could not be put in place. An earlier file in a
// folder that cannot be written to cannot be replaced either.
TemplateFolder::SaveResult templateFileFault(const QSaveFile& file, bool earlier)
{
    logFailure(file.fileName(), file.errorString());
    const bool lockedFolder = !QFileInfo(QFileInfo(file.fileName()).absolutePath()).isWritable();
    if (earlier && (file.error() == QFileDevice::RenameError || lockedFolder))
        return TemplateFolder::SaveResult::FileNotReplaced;
    return TemplateFolder::SaveResult::FileFailed;
}

bool writePicture(const QImage& image, const QString& path)
{
    if (image.isNull()) {
        logFailure(path, QStringLiteral("the page has no picture"));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        logFailure(path, file.errorString());
        return false;
    }
    // The encoder's default quality; an unfinished file is dropped with
    // `file` and the earlier picture stays.
    QImageWriter writer(&file, "JPG");
    if (!writer.write(image)) {
        logFailure(path, writer.errorString());
        return false;
    }
    if (!file.commit()) {
        logFailure(path, file.errorString());
        return false;
    }
    return true;
}

// Every page as base_pageIndex.jpg, each on its own worker; true when all
// were written.
bool writePagePictures(const AnswerSheet& card, const QString& base)
{
    // Pixmaps stay on this thread; the workers encode images.
    QVector<QImage> images;
    QStringList paths;
    card.forEachPage([&](const PageSheet& page) {
        images.append(page.image.pixmap.toImage());
        paths.append(base + QLatin1Char('_') + QString::number(page.pageIndex) + QStringLiteral(".jpg"));
    });
    const int count = images.size();
    QVector<char> written(count, 0);
#pragma omp parallel for schedule(static)
    for (int i = 0; i < count; ++i)
        written[i] = writePicture(images[i], paths[i]);
    return !written.contains(0);
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

} // namespace

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

    const bool newFolder = !QFileInfo::exists(places.written);
    Global::makeParentDir(places.written);
    const QString base = places.written + QLatin1Char('/') + name;
    const QString jsonPath = base + QStringLiteral(".json");
    const bool earlier = QFileInfo::exists(jsonPath);

    // The template file is the folder's commit point: its text goes beside
    // the earlier one first (a full disk shows here, before any picture is
    // touched), the pictures follow, and the rename comes last. A save cut
    // short leaves the earlier file, which the reader refuses beside
    // pictures of another size.
    auto file = std::make_unique<QSaveFile>(jsonPath);
    // Text mode, as the reader opens it.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Text) || file->write(json) != json.size() || !file->flush()) {
        outcome.result = templateFileFault(*file, earlier);
        // Its unfinished text goes with it, so an empty new folder can go too.
        file.reset();
        if (newFolder)
            QDir().rmdir(places.written);
        return outcome;
    }
    const bool allPictures = writePagePictures(card, base);
    if (!file->commit()) {
        outcome.result = templateFileFault(*file, earlier);
        return outcome;
    }
    outcome.result = SaveResult::Written;
    projectDir = places.written;

    if (!allPictures) {
        // The other variant stays: it may be the only whole copy.
        outcome.result = SaveResult::SomePagesFailed;
        return outcome;
    }
    if (isCardsOtherFolder(places.other, savePath, name) && !QDir(places.other).removeRecursively())
        logFailure(places.other, QStringLiteral("the card's other folder was not removed completely"));
    return outcome;
}
