#pragma once

// The item edit panel's form: a dark title strip, the two step boxes and a
// row of minus, value and plus for each of the four grid values.

#include <QDoubleSpinBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

class QDialog;

namespace Ui {

struct ItemEditPanel
{
    QFrame* frame_2 = nullptr;
    QLabel* label_5 = nullptr;
    QPushButton* btnTitleClose = nullptr;
    QPushButton* btnClose = nullptr;
    QLabel* label_3 = nullptr;
    QSpinBox* boxSizeStep = nullptr;
    QLabel* label_2 = nullptr;
    QDoubleSpinBox* boxOffsetStep = nullptr;
    QLabel* label = nullptr;
    QPushButton* btnMinWidth = nullptr;
    QLabel* widthLabel = nullptr;
    QPushButton* btnAddWidth = nullptr;
    QLabel* label_4 = nullptr;
    QPushButton* btnMinHeight = nullptr;
    QLabel* heightLabel = nullptr;
    QPushButton* btnAddHeight = nullptr;
    QLabel* label_9 = nullptr;
    QPushButton* btnMinRowOffset = nullptr;
    QLabel* rowOffsetLabel = nullptr;
    QPushButton* btnAddRowOffset = nullptr;
    QLabel* label_11 = nullptr;
    QPushButton* btnMinColOffset = nullptr;
    QLabel* colOffsetLabel = nullptr;
    QPushButton* btnAddColOffset = nullptr;

    void setupUi(QDialog* panel);
    void retranslateUi(QDialog* panel);
};

} // namespace Ui
