#pragma once

// The association dialog's form: the group count above a scroll area that
// holds the groups, over the base's content area.

#include <QScrollArea>
#include <QWidget>

class EILabel;
class EISpainBox;

namespace Ui {

struct OptionalAssociatePanel
{
    EILabel* label = nullptr;
    EISpainBox* boxGroupCnt = nullptr;
    EILabel* label_8 = nullptr;
    QScrollArea* scrollArea = nullptr;
    QWidget* widget = nullptr;

    void setupUi(QWidget* dialog);
    void retranslateUi(QWidget* dialog);
};

} // namespace Ui
