#pragma once

// The title bar's form, laid out as the designer form it was drawn in.

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>
#include <QWidget>

namespace Ui {

struct EITitleBar
{
    QHBoxLayout* horizontalLayout = nullptr;
    QLabel* labelTitleLogo = nullptr;
    QLabel* labelTitleText = nullptr;
    QSpacerItem* horizontalSpacer = nullptr;
    QLabel* vSpacer = nullptr;
    QPushButton* btnMenu = nullptr;
    QPushButton* btnMin = nullptr;
    QPushButton* btnMax = nullptr;
    QPushButton* btnRestore = nullptr;
    QPushButton* btnClose = nullptr;

    void setupUi(QWidget* bar);
    void retranslateUi(QWidget* bar);
};

} // namespace Ui
