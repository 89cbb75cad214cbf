#include "app/shell/gettemplatepanel.h"

#include "app/shell/ui_gettemplatepanel.h"

GetTemplatePanel::GetTemplatePanel(QWidget* parent) : QFrame(parent, Qt::WindowFlags()), ui(new Ui::GetTemplatePanel)
{
    ui->setupUi(this);
    // The application's style sheet styles the blue action buttons by this name.
    ui->btnScanImage->setObjectName(QStringLiteral("themeBtn"));
    ui->btnImportImage->setObjectName(QStringLiteral("themeBtn"));

    connect(ui->btnScanImage, &QPushButton::clicked, this, &GetTemplatePanel::scanImage);
    connect(ui->btnImportImage, &QPushButton::clicked, this, &GetTemplatePanel::importImage);
}

GetTemplatePanel::~GetTemplatePanel()
{
    delete ui;
}
