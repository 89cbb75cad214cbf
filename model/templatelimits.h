#pragma once

#include <QJsonObject>
#include <QString>

// Limits on what a template file may ask this program to build. The
// dialogs never make more than 2 papers, 50 questions by 20 options or
// 15 digits by 15 options, so these leave ample room for hand-edited files
// while keeping a corrupt number from writing past the papers or
// allocating millions of option boxes.
constexpr int maxCardNameLength = 80;
constexpr int maxPaperCount = 20;
constexpr int maxGridRows = 100;
constexpr int maxGridColumns = 100;

// The characters a card name may not hold, as the new-project dialog
// refuses them: the name becomes a folder and file names.
extern const QString forbiddenNameCharacters;   // \ / : * ? " < > |

// True when `name` is safe as a folder and file name: not empty, at most
// 80 characters, none of the forbidden ones, and not "." or "..".
bool isAcceptableCardName(const QString& name);

// Why a parsed template file cannot be read into the card, or an empty
// text when it can. `paperCnt` is the card's count, used when the file
// has none.
QString templateFileFault(const QJsonObject& card, int paperCnt);
