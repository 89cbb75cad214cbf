#pragma once

// The new-project dialog's form: every control at a fixed place on the
// dialog, over the base's content area.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QWidget>

namespace Ui {

struct NewProjectPanel
{
    QLabel* label = nullptr;
    QLineEdit* inputCardName = nullptr;
    QPushButton* clearBtn = nullptr;
    QLabel* label_3 = nullptr;
    QPushButton* btnHorizontal = nullptr;
    QLabel* label_2 = nullptr;
    QPushButton* btnVertical = nullptr;
    QLabel* label_6 = nullptr;
    QLabel* label_5 = nullptr;
    QComboBox* boxPaperNum = nullptr;
    QStackedWidget* stackedPages = nullptr;
    QWidget* page = nullptr;
    QLabel* label_4 = nullptr;
    QCheckBox* checkDoublePage = nullptr;
    QWidget* page_2 = nullptr;
    QLabel* label_8 = nullptr;
    QComboBox* boxPagesType = nullptr;
    QLabel* labelAbentMark = nullptr;
    QComboBox* boxAbsentMark = nullptr;
    QLabel* labelRedCard = nullptr;
    QCheckBox* checkRedCard = nullptr;

    void setupUi(QWidget* dialog);
    void retranslateUi(QWidget* dialog);
};

} // namespace Ui
