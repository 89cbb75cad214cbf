#pragma once

// The start page's form, laid out as the designer form it was drawn in.

#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <QWidget>

namespace Ui {

struct IndexWidget
{
    QVBoxLayout* verticalLayout = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QLabel* labelIndexLogo = nullptr;
    QLabel* label = nullptr;

    void setupUi(QWidget* page);
    void retranslateUi(QWidget* page);
};

} // namespace Ui
