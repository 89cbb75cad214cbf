#include "app/shell/indexwidget.h"

#include "app/shell/ui_indexwidget.h"

IndexWidget::IndexWidget(QWidget* parent) : QWidget(parent), ui(new Ui::IndexWidget)
{
    ui->setupUi(this);
    // The label reports its links instead of handing them to a browser.
    ui->label->setOpenExternalLinks(false);
    connect(ui->label, &QLabel::linkActivated, this, &IndexWidget::onLinkActivated);
}

IndexWidget::~IndexWidget()
{
    delete ui;
}

void IndexWidget::onLinkActivated(const QString& link)
{
    if (link == QLatin1String("new"))
        emit newProject();
    else if (link == QLatin1String("import"))
        emit importProject();
}
