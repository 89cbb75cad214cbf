#pragma once

#include <QString>

struct AnswerSheet;

// The saved template as a whole: a folder holding the card's JSON file and
// beside it one picture per page, named after the card and the page index
// ("期中卡_0.jpg"). Reading it here runs every check a card must pass
// before the program can show it, and writing it keeps the last good
// folder until a new one is whole, so the project I/O only asks and shows.
namespace TemplateFolder {

// Template files are a few megabytes at most (the marks' pictures travel
// inside as Base64 text); anything far larger is not one.
constexpr qint64 maxFileSize = 64 * 1024 * 1024;

// Reads the template file at `jsonPath` and the page pictures beside it
// into `card`, which the caller has reset; projectDir becomes the file's
// folder. Returns why the card cannot be used, or an empty text: a file
// in a save's staging folder (isStagingFolder), one that does not open or
// does not parse (the system's or the reader's own
// text goes to the log), a page picture that is missing or unreadable, a
// card name or page order the program cannot hold, a page picture of
// another size than the file records. importError is empty
// afterwards.
QString read(AnswerSheet& card, const QString& jsonPath);

// Why the card's papers cannot be shown page by page (a paper without its
// front, a page out of its place, a page count that disagrees), or an
// empty text.
QString pageStructureFault(const AnswerSheet& card);

// The end of a card folder's name while its template is not finished.
extern const QString unfinishedSuffix;   // "_(未完成)"

// `folder` without the unfinished suffix at its end: choosing a card's
// unfinished folder chooses the card's place.
QString withoutUnfinishedSuffix(const QString& folder);

// Where a save of the card `name` into `savePath` (its suffix already
// taken off) goes.
struct SavePlaces
{
    QString cardFolder;   // savePath when its last component is `name`, else savePath/name
    QString written;      // cardFolder, with the unfinished suffix while unfinished
    QString other;        // the variant this save replaces
};
SavePlaces savePlaces(const QString& savePath, const QString& name, bool finished);

enum class SaveResult {
    Written,       // the new folder, whole, stands in the card's place
    BadName,       // the card name cannot name a folder; nothing changed
    Refused,       // the card's writer refused (its errorString says why); nothing changed
    NotWritten,    // the file, a page picture or the folder could not be written; nothing changed
    NotReplaced,   // an earlier template stands in a folder that cannot be replaced (a locked one)
};

struct SaveOutcome
{
    SaveResult result = SaveResult::NotWritten;
    SavePlaces places;
};

// Saves `card` as its folder under `savePath`. The new folder is written
// whole beside the card's folder, in a hidden staging folder (see below):
// the template file, every page picture (copied from its file while the
// page is unchanged, else encoded) and the operator's other files of the
// earlier folder, each synced. It then takes the earlier folder's place in
// one step, and only then are the earlier folder, the card's other variant
// (when it is this card's own: beside the written one, not savePath
// itself, not a link, holding name.json) and staging folders of earlier
// saves removed. A save refused, failed or killed at any instant leaves
// the earlier folder or the new one, whole. Afterwards each page's file is
// the one just written.
SaveOutcome write(AnswerSheet& card, const QString& savePath, bool finished);

// Whether a folder of this name is one a save stages the new folder in
// (".卡1.saving-Ab12Cd"), or, once that took its place, the earlier folder
// waiting to be removed. Neither is a template to import.
bool isStagingFolder(const QString& folderName);

} // namespace TemplateFolder
