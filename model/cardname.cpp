#include "model/cardname.h"

const QString forbiddenNameCharacters = QStringLiteral("\\/:*?\"<>|");
const QString cardNameImportMessage = QStringLiteral("答题卡名称不合法，导入失败！");

CardNameFault cardNameFault(const QString& name)
{
    if (name.isEmpty())
        return CardNameFault::Empty;
    if (name.size() > maxCardNameLength)
        return CardNameFault::TooLong;
    for (QChar c : forbiddenNameCharacters) {
        if (name.contains(c))
            return CardNameFault::ForbiddenCharacter;
    }
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return CardNameFault::Reserved;
    return CardNameFault::None;
}

QString cardNameRetryMessage(const QString& name)
{
    switch (cardNameFault(name)) {
    case CardNameFault::None:
        return QString();
    case CardNameFault::Empty:
        return QStringLiteral("请输入答题卡名称!");
    case CardNameFault::TooLong:
        return QStringLiteral("答题卡名称过长，请重新输入!");
    case CardNameFault::ForbiddenCharacter:
        return QStringLiteral("答题卡名称不能包含以下字符 \\ / : * ? \" < > |");
    case CardNameFault::Reserved:
        return QStringLiteral("答题卡名称不合法，请重新输入!");
    }
    return QString();
}
