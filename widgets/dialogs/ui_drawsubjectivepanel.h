#pragma once

// The subjective questions dialog's form: every control at a fixed place on
// the dialog, over the base's content area.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QWidget>

namespace Ui {

struct DrawSubjectivePanel
{
    QLabel* label = nullptr;
    QComboBox* boxType = nullptr;
    QLabel* label_2 = nullptr;
    QSpinBox* boxNumberBegin = nullptr;
    QLabel* label_8 = nullptr;
    QSpinBox* boxNumberEnd = nullptr;
    QCheckBox* checkOptional = nullptr;
    QLabel* infoLabel = nullptr;

    void setupUi(QWidget* dialog);
    void retranslateUi(QWidget* dialog);
};

} // namespace Ui
