#include "app/shell/ui_indexwidget.h"

namespace Ui {

void IndexWidget::setupUi(QWidget* page)
{
    if (page->objectName().isEmpty())
        page->setObjectName(QStringLiteral("IndexWidget"));
    page->resize(683, 526);
    page->setStyleSheet(QStringLiteral("*{font-family:Microsoft YaHei;}"));

    verticalLayout = new QVBoxLayout(page);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setSpacing(6);
    verticalLayout->setContentsMargins(11, 11, 11, 11);
    verticalLayout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));

    horizontalLayout = new QHBoxLayout();
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->setSpacing(6);
    horizontalLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    labelIndexLogo = new QLabel(page);
    labelIndexLogo->setObjectName(QStringLiteral("labelIndexLogo"));
    labelIndexLogo->setFixedSize(QSize(124, 111));
    labelIndexLogo->setAlignment(Qt::AlignCenter);
    labelIndexLogo->setStyleSheet(QStringLiteral(
        "QLabel#labelIndexLogo\n{\nbackground-image:url(:/Resources/Quindle/images/getTemplate.png);\n}\n"));
    horizontalLayout->addWidget(labelIndexLogo);
    horizontalLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    verticalLayout->addLayout(horizontalLayout);

    label = new QLabel(page);
    label->setObjectName(QStringLiteral("label"));
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::RichText);
    label->setStyleSheet(QStringLiteral("QLabel#label{\nwidth:308px;\nheight:14px;\nfont-size:14px;\n"
                                        "font-family:Microsoft YaHei;\nfont-weight:400;\n"
                                        "color:rgba(102,102,102,1);\nline-height:32px;\n}"));
    verticalLayout->addWidget(label);
    verticalLayout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));

    retranslateUi(page);
}

void IndexWidget::retranslateUi(QWidget* page)
{
    page->setWindowTitle(QStringLiteral("IndexWidget"));
    label->setText(QStringLiteral(
        "<html><head/><body><p><span style=\" font-size:12pt;\">请通过左上角按钮，</span>"
        "<a href=\"new\"><span style=\" font-size:12pt; text-decoration: underline; color:#0092fe;\">新建</span></a>"
        "<span style=\" font-size:12pt;\">或</span>"
        "<a href=\"import\"><span style=\" font-size:12pt; text-decoration: underline; "
        "color:#0092fe;\">导入</span></a>"
        "<span style=\" font-size:12pt;\">第三方答题卡</span></p></body></html>"));
}

} // namespace Ui
