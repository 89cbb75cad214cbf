#pragma once

// The message box's form: an icon label and the text between spacers.

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace Ui {

struct EIMessageBox
{
    QFrame* centerFrame = nullptr;
    QVBoxLayout* verticalLayout = nullptr;
    QSpacerItem* verticalSpacer = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QSpacerItem* horizontalSpacer = nullptr;
    QLabel* messageIcon = nullptr;
    QSpacerItem* iconSpacer = nullptr;
    QLabel* messageContent = nullptr;
    QSpacerItem* horizontalSpacer_2 = nullptr;
    QSpacerItem* verticalSpacer_2 = nullptr;
    QSpacerItem* verticalSpacer_3 = nullptr;

    void setupUi(QWidget* box);
    void retranslateUi(QWidget* box);
};

} // namespace Ui
