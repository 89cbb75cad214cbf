#pragma once

#include <QString>

// The rule a card name follows wherever one comes in (the new-project
// dialog, an imported template file): the name becomes a folder and the
// names of the template's files.

constexpr int maxCardNameLength = 80;   // in UTF-16 units
extern const QString forbiddenNameCharacters;   // \ / : * ? " < > |

enum class CardNameFault {
    None,
    Empty,
    TooLong,
    ForbiddenCharacter,
    Reserved,   // "." or "..": the chosen folder itself or the one above it
};

// The first fault of `name`, in the order the operator is told.
CardNameFault cardNameFault(const QString& name);

// What the new-project dialog tells the operator, who may type again;
// empty for a good name.
QString cardNameRetryMessage(const QString& name);

// An imported template whose name breaks the rule.
extern const QString cardNameImportMessage;   // "答题卡名称不合法，导入失败！"
