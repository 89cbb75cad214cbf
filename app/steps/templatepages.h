#pragma once

#include "model/answersheet.h"

// True when some page of the program-wide template passes `test`; papers
// and their faces are walked in order and the walk stops at the first.
template <typename Test>
bool anyTemplatePage(Test test)
{
    for (const QVector<PageSheet>& paper : qAsConst(answerSheet.sheets)) {
        for (const PageSheet& page : paper) {
            if (test(page))
                return true;
        }
    }
    return false;
}
