#pragma once

// The exam number dialog's form: every control at a fixed place on the
// dialog, over the base's content area.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QWidget>

namespace Ui {

struct DrawStuNoPanel
{
    QLabel* label = nullptr;
    QComboBox* boxAlign = nullptr;
    QLabel* label_2 = nullptr;
    QSpinBox* boxStuNoLens = nullptr;
    QLabel* label_3 = nullptr;
    QSpinBox* boxChosenCnt = nullptr;
    QLabel* label_4 = nullptr;
    QComboBox* boxBorderType = nullptr;
    QLabel* label_6 = nullptr;
    QCheckBox* checkExistLine = nullptr;

    void setupUi(QWidget* dialog);
    void retranslateUi(QWidget* dialog);
};

} // namespace Ui
