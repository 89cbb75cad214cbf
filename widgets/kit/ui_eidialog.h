#pragma once

// The dialog base's form: title bar, white content area, two buttons.

#include <QFrame>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

class EITitleBar;

namespace Ui {

struct EIDialog
{
    QVBoxLayout* verticalLayout = nullptr;
    ::EITitleBar* titlebar = nullptr;
    QFrame* centeralFrame = nullptr;
    QVBoxLayout* verticalLayout_2 = nullptr;
    QFrame* contentFrame = nullptr;
    QVBoxLayout* verticalLayout_6 = nullptr;
    QVBoxLayout* contentLayout_5 = nullptr;
    QSpacerItem* verticalSpacer = nullptr;
    QHBoxLayout* horizontalLayout_2 = nullptr;
    QSpacerItem* horizontalSpacer = nullptr;
    QPushButton* buttonOk = nullptr;
    QSpacerItem* middleSpacer = nullptr;
    QPushButton* buttonCancel = nullptr;
    QSpacerItem* horizontalSpacer_2 = nullptr;
    QSpacerItem* verticalSpacer_2 = nullptr;

    void setupUi(QWidget* dialog);
    void retranslateUi(QWidget* dialog);
};

} // namespace Ui
