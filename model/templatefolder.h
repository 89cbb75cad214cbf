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
// that does not open or does not parse (the system's or the reader's own
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
    Written,           // the template file and every page picture
    SomePagesFailed,   // the template file, but not every page picture
    BadName,           // the card name cannot name a folder; nothing changed
    Refused,           // the card's writer refused (its errorString says why); nothing changed
    FileFailed,        // the template file was not written; an earlier one stands
    FileNotReplaced,   // an earlier template file stands and could not be replaced (a locked folder)
};

struct SaveOutcome
{
    SaveResult result = SaveResult::FileFailed;
    SavePlaces places;
};

// Saves `card` as its folder under `savePath`. Nothing on disk changes
// before the card's JSON text exists and has been written beside the
// earlier template file; the page pictures then replace theirs (each in one
// step), and the template file replaces the earlier one last, in one step:
// a save cut short leaves the earlier file. Only when all of it was written
// is the other variant removed, and only when it is this card's own folder:
// beside the written one, not savePath itself, not a link, holding name.json.
SaveOutcome write(AnswerSheet& card, const QString& savePath, bool finished);

} // namespace TemplateFolder
