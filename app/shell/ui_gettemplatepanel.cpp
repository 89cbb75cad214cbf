#include "app/shell/ui_gettemplatepanel.h"

#include <QCoreApplication>
#include <QSpacerItem>

namespace Ui {

namespace {

QSpacerItem* horizontalGap(int width)
{
    return new QSpacerItem(width, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
}

QLabel* logo(QWidget* parent, const QString& name, const QSize& size, const QString& image)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFixedSize(size);
    label->setStyleSheet(QStringLiteral("QLabel#%1{\nbackground-image:url(:/Resources/Quindle/images/%2);\n}")
                             .arg(name, image));
    return label;
}

QPushButton* button(QWidget* parent, const QString& name)
{
    auto* pushButton = new QPushButton(parent);
    pushButton->setObjectName(name);
    pushButton->setFixedSize(120, 30);
    return pushButton;
}

} // namespace

void GetTemplatePanel::setupUi(QWidget* panel)
{
    if (panel->objectName().isEmpty())
        panel->setObjectName(QStringLiteral("GetTemplatePanel"));
    panel->resize(939, 539);

    verticalLayout = new QVBoxLayout(panel);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setSpacing(6);
    verticalLayout->setContentsMargins(11, 11, 11, 11);

    label = new QLabel(panel);
    label->setObjectName(QStringLiteral("label"));
    label->setStyleSheet(QStringLiteral("QLabel#label{\nmargin-top:12px;\nmargin-left:66px;\nwidth:322px;\n"
                                        "height:14px;\nfont-size:14px;\nfont-family:Microsoft YaHei;\n"
                                        "font-weight:400;\ncolor:rgba(102,102,102,1);\nline-height:32px;\n}"));
    verticalLayout->addWidget(label);
    verticalLayout->addItem(new QSpacerItem(20, 145, QSizePolicy::Minimum, QSizePolicy::Expanding));

    horizontalLayout = new QHBoxLayout();
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->setSpacing(6);
    horizontalLayout->addItem(horizontalGap(40));
    labelScanLogo = logo(panel, QStringLiteral("labelScanLogo"), QSize(116, 96), QStringLiteral("scanImage.png"));
    horizontalLayout->addWidget(labelScanLogo);
    horizontalLayout->addItem(horizontalGap(95));
    labelImportLogo =
        logo(panel, QStringLiteral("labelImportLogo"), QSize(108, 84), QStringLiteral("importImage.png"));
    horizontalLayout->addWidget(labelImportLogo);
    horizontalLayout->addItem(horizontalGap(40));
    verticalLayout->addLayout(horizontalLayout);

    verticalLayout->addItem(new QSpacerItem(20, 31, QSizePolicy::Minimum, QSizePolicy::Minimum));

    horizontalLayout_2 = new QHBoxLayout();
    horizontalLayout_2->setObjectName(QStringLiteral("horizontalLayout_2"));
    horizontalLayout_2->setSpacing(6);
    horizontalLayout_2->addItem(horizontalGap(40));
    btnScanImage = button(panel, QStringLiteral("btnScanImage"));
    horizontalLayout_2->addWidget(btnScanImage);
    horizontalLayout_2->addItem(horizontalGap(80));
    btnImportImage = button(panel, QStringLiteral("btnImportImage"));
    horizontalLayout_2->addWidget(btnImportImage);
    horizontalLayout_2->addItem(horizontalGap(40));
    verticalLayout->addLayout(horizontalLayout_2);

    verticalLayout->addItem(new QSpacerItem(20, 144, QSizePolicy::Minimum, QSizePolicy::Expanding));

    retranslateUi(panel);
    QMetaObject::connectSlotsByName(panel);
}

void GetTemplatePanel::retranslateUi(QWidget* panel)
{
    panel->setWindowTitle(QCoreApplication::translate("GetTemplatePanel", "GetTemplatePanel"));
    label->setText(QCoreApplication::translate(
        "GetTemplatePanel", "温馨提示：请检查模板，确保<b>以学生未填涂的答题卡为模板</b>，且模板印刷清晰，无破损"));
    btnScanImage->setText(QCoreApplication::translate("GetTemplatePanel", "扫描答题卡模板"));
    btnImportImage->setText(QCoreApplication::translate("GetTemplatePanel", "导入答题卡图片"));
}

} // namespace Ui
