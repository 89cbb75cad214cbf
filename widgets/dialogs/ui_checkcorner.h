#pragma once

// The folded-corner option dialog's form: two choices in a row, placed over
// the base's content area.

#include <QRadioButton>
#include <QWidget>

namespace Ui {

struct CheckCorner
{
    QWidget* widget = nullptr;
    QRadioButton* btnCheck = nullptr;
    QRadioButton* btnNotCheck = nullptr;

    void setupUi(QWidget* dialog);
    void retranslateUi(QWidget* dialog);
};

} // namespace Ui
