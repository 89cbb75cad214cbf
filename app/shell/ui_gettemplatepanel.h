#pragma once

// The get-template page's form: the tip line, the two logos and the two
// buttons, centred between spacers.

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace Ui {

struct GetTemplatePanel
{
    QVBoxLayout* verticalLayout = nullptr;
    QLabel* label = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QLabel* labelScanLogo = nullptr;
    QLabel* labelImportLogo = nullptr;
    QHBoxLayout* horizontalLayout_2 = nullptr;
    QPushButton* btnScanImage = nullptr;
    QPushButton* btnImportImage = nullptr;

    void setupUi(QWidget* panel);
    void retranslateUi(QWidget* panel);
};

} // namespace Ui
