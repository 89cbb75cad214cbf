#include "model/infra/constants.h"

const QString questionTypes[questionTypeCount] = {
    QStringLiteral("SingleChoice"),   QStringLiteral("MultiChoice"), QStringLiteral("Judge"),
    QStringLiteral("FillBlank"),      QStringLiteral("AnswerQuestion"),
    QStringLiteral("Composition"),    QStringLiteral("EnglishComposition"),
};

const QString orientationNames[orientationCount] = {
    QStringLiteral("horizontal"),
    QStringLiteral("vertical"),
};

const QString chineseNumerals[chineseNumeralCount] = {
    QStringLiteral("零"),   QStringLiteral("一"),   QStringLiteral("二"),   QStringLiteral("三"),
    QStringLiteral("四"),   QStringLiteral("五"),   QStringLiteral("六"),   QStringLiteral("七"),
    QStringLiteral("八"),   QStringLiteral("九"),   QStringLiteral("十"),   QStringLiteral("十一"),
    QStringLiteral("十二"), QStringLiteral("十三"), QStringLiteral("十四"), QStringLiteral("十五"),
    QStringLiteral("十六"), QStringLiteral("十七"), QStringLiteral("十八"), QStringLiteral("十九"),
    QStringLiteral("二十"),
};

namespace {

template <int N>
QString nameAt(const QString (&table)[N], int code)
{
    return code >= 0 && code < N ? table[code] : QString();
}

template <int N>
int codeOf(const QString (&table)[N], const QString& name)
{
    for (int code = 0; code < N; ++code) {
        if (table[code] == name)
            return code;
    }
    return -1;
}

} // namespace

QString chineseNumeral(int n)
{
    return n >= 0 && n < chineseNumeralCount ? chineseNumerals[n] : QString::number(n);
}

QString questionTypeName(int code) { return nameAt(questionTypes, code); }
QString orientationName(int code) { return nameAt(orientationNames, code); }
int questionTypeCode(const QString& name) { return codeOf(questionTypes, name); }
int orientationCode(const QString& name) { return codeOf(orientationNames, name); }
