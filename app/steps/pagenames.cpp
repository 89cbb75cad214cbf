#include "app/steps/pagenames.h"

#include "model/answersheet.h"
#include "model/infra/appstate.h"
#include "model/infra/constants.h"

QString paperName(int pageIndex)
{
    if (answerSheet.paperCnt <= 1)
        return QString();
    return QStringLiteral("第") + chineseNumeral(pageIndex / 2 + 1) + QStringLiteral("张");
}

QString faceName(int side)
{
    return side == FaceBack ? QStringLiteral("反面") : QStringLiteral("正面");
}
