#pragma once

// The objective questions dialog's form: every control at a fixed place on
// the dialog, over the base's content area.

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QWidget>

namespace Ui {

struct DrawObjectivePanel
{
    QLabel* label = nullptr;
    QComboBox* boxType = nullptr;
    QLabel* label_2 = nullptr;
    QComboBox* boxAlign = nullptr;
    QLabel* label_4 = nullptr;
    QSpinBox* boxNumberBegin = nullptr;
    QLabel* label_8 = nullptr;
    QSpinBox* boxNumberEnd = nullptr;
    QLabel* label_5 = nullptr;
    QSpinBox* boxCols = nullptr;
    QLabel* label_6 = nullptr;
    QComboBox* boxBorderType = nullptr;
    QLabel* infoLabel = nullptr;

    void setupUi(QWidget* dialog);
    void retranslateUi(QWidget* dialog);
};

} // namespace Ui
