#pragma once

#include <QString>

// Vocabulary of the template file and the Chinese numerals of the user
// interface. The index of an entry is its code.

constexpr int questionTypeCount = 7;
constexpr int firstSubjectiveType = 3; // codes below are choice types
extern const QString questionTypes[questionTypeCount];

constexpr int orientationCount = 2;
extern const QString orientationNames[orientationCount];

constexpr int chineseNumeralCount = 21;
extern const QString chineseNumerals[chineseNumeralCount];

// The numeral of n for 0 to 20; any other number is written in decimal
// digits, so no caller can read past the table.
QString chineseNumeral(int n);

// The name of a code, or an empty text for a code outside the table.
QString questionTypeName(int code);
QString orientationName(int code);

// The code of a name, or -1 when the name is not in the table.
int questionTypeCode(const QString& name);
int orientationCode(const QString& name);
