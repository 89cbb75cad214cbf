#pragma once

#include <QString>

struct AnswerSheet;

// The saved template as a whole: a folder holding the card's JSON file and
// beside it one picture per page, named after the card and the page index
// ("期中卡_0.jpg"). Reading it here runs every check a card must pass
// before the program can show it, so the project I/O only asks and shows.
namespace TemplateFolder {

// Template files are a few megabytes at most (the marks' pictures travel
// inside as Base64 text); anything far larger is not one.
constexpr qint64 maxFileSize = 64 * 1024 * 1024;

// Reads the template file at `jsonPath` and the page pictures beside it
// into `card`, which the caller has reset; projectDir becomes the file's
// folder. Returns why the card cannot be used, or an empty text: a file
// that does not open or does not parse (the system's or the reader's own
// text goes to the log), a page picture that is missing or unreadable, a
// card name or page order the program cannot hold. importError is empty
// afterwards.
QString read(AnswerSheet& card, const QString& jsonPath);

// Why the card's papers cannot be shown page by page (a paper without its
// front, a page out of its place, a page count that disagrees), or an
// empty text.
QString pageStructureFault(const AnswerSheet& card);

} // namespace TemplateFolder
