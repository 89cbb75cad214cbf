#include "widgets/kit/ui_eidialog.h"

#include "widgets/kit/eititlebar.h"

#include <QCoreApplication>

namespace Ui {

namespace {

const char* const dialogStyle =
    "QWidget#EIDialog{background:white;border-top-left-radius:6px;border-top-right-radius:6px;}\n"
    "*{font-family:Microsoft YaHei;}\n"
    "QPushButton#themeBtn{border-image:url(:/Resources/Quindle/images/button_normal.png);"
    "min-width:90;min-height:30;color:#51A7E6;}\n"
    "QPushButton#themeBtn:hover{color:#16A05D;border-image:url(:/Resources/Quindle/images/button_hover.png);}\n"
    "QPushButton#themeBtn:pressed{color:#153064;padding-top:2px;"
    "border-image:url(:/Resources/Quindle/images/button_pressed.png);}\n"
    "QWidget:focus{outline:none;}\n"
    "*{font-family:Microsoft YaHei;}\n"
    "QComboBox#boxPaperNum{width:200px;height:30px;background:rgba(255,255,255,1);"
    "border:1px solid rgba(177, 177, 177, 1);border-radius:2px;}\n"
    "QComboBox::drop-down{subcontrol-origin:padding;subcontrol-position:top right;width:15px;"
    "border-left:none;border-top-right-radius:3px;border-bottom-right-radius:3px;}\n"
    "QComboBox::down-arrow{min-width:13px;image:url(:/Resources/Quindle/images/arrow_down.png);}\n"
    "QComboBox QAbstractItemView{color:#666666;border:1px solid rgba(81, 167, 230, 1);border-radius:2px;}\n"
    "QComboBox QAbstractItemView::item{font-family:Microsoft YaHei;font-size:14px;height:25px;"
    "border:1px solid #999999;border-top:none;border-right:none;border-left:none;}\n"
    "QComboBox QAbstractItemView::item:selected{color:#666666;background-color:#A2D3F8;}\n";

const char* const contentLabelStyle =
    "QFrame#contentFrame{border:none;}"
    "QLabel{width:303px;height:167px;font-size:14px;font-family:Microsoft YaHei;font-weight:400;"
    "color:rgba(102,102,102,1);line-height:18px;}";

QPushButton* dialogButton(QWidget* parent, const QString& objectName)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(objectName);
    button->setFixedSize(90, 30);
    return button;
}

} // namespace

void EIDialog::setupUi(QWidget* dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("EIDialog"));
    dialog->resize(557, 323);
    dialog->setStyleSheet(QString::fromUtf8(dialogStyle));

    verticalLayout = new QVBoxLayout(dialog);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setSpacing(0);
    verticalLayout->setContentsMargins(0, 0, 0, 0);

    titlebar = new ::EITitleBar(dialog);
    titlebar->setObjectName(QStringLiteral("titlebar"));
    titlebar->setMinimumSize(QSize(1, 40));
    titlebar->setMaximumSize(QSize(16777215, 45));
    titlebar->setStyleSheet(QStringLiteral("background-color:#383A42;border-top-left-radius:6px;"
                                           "border-top-right-radius:6px;"));
    verticalLayout->addWidget(titlebar);

    centeralFrame = new QFrame(dialog);
    centeralFrame->setObjectName(QStringLiteral("centeralFrame"));
    centeralFrame->setFrameShape(QFrame::StyledPanel);
    centeralFrame->setFrameShadow(QFrame::Raised);
    centeralFrame->setStyleSheet(QStringLiteral("QFrame#centeralFrame{background:white;border:none;"
                                                "border-bottom-left-radius:6px;border-bottom-right-radius:6px;}"));
    verticalLayout_2 = new QVBoxLayout(centeralFrame);
    verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
    verticalLayout_2->setSpacing(0);
    verticalLayout_2->setContentsMargins(0, 0, 0, 0);

    contentFrame = new QFrame(centeralFrame);
    contentFrame->setObjectName(QStringLiteral("contentFrame"));
    contentFrame->setFrameShape(QFrame::StyledPanel);
    contentFrame->setFrameShadow(QFrame::Raised);
    // No minimum height of its own: the message box and the folded-corner
    // option are fixed lower than a 176-pixel content area plus the button
    // row, and a frame held at that height slid under the buttons with its
    // bottom edge and a strip of card showing below them.
    contentFrame->setStyleSheet(QString::fromUtf8(contentLabelStyle));
    verticalLayout_6 = new QVBoxLayout(contentFrame);
    verticalLayout_6->setObjectName(QStringLiteral("verticalLayout_6"));
    verticalLayout_6->setSpacing(0);
    verticalLayout_6->setContentsMargins(0, 0, 0, 0);
    contentLayout_5 = new QVBoxLayout();
    contentLayout_5->setObjectName(QStringLiteral("contentLayout_5"));
    contentLayout_5->setSpacing(6);
    verticalLayout_6->addLayout(contentLayout_5);
    verticalLayout_2->addWidget(contentFrame);

    verticalSpacer = new QSpacerItem(20, 5, QSizePolicy::Minimum, QSizePolicy::Fixed);
    verticalLayout_2->addItem(verticalSpacer);

    horizontalLayout_2 = new QHBoxLayout();
    horizontalLayout_2->setObjectName(QStringLiteral("horizontalLayout_2"));
    horizontalLayout_2->setSpacing(6);
    horizontalSpacer = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    horizontalLayout_2->addItem(horizontalSpacer);
    buttonOk = dialogButton(centeralFrame, QStringLiteral("buttonOk"));
    horizontalLayout_2->addWidget(buttonOk);
    middleSpacer = new QSpacerItem(28, 20, QSizePolicy::Fixed, QSizePolicy::Minimum);
    horizontalLayout_2->addItem(middleSpacer);
    buttonCancel = dialogButton(centeralFrame, QStringLiteral("buttonCancel"));
    horizontalLayout_2->addWidget(buttonCancel);
    horizontalSpacer_2 = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    horizontalLayout_2->addItem(horizontalSpacer_2);
    verticalLayout_2->addLayout(horizontalLayout_2);

    verticalSpacer_2 = new QSpacerItem(20, 31, QSizePolicy::Minimum, QSizePolicy::Fixed);
    verticalLayout_2->addItem(verticalSpacer_2);

    verticalLayout->addWidget(centeralFrame);

    retranslateUi(dialog);
    QMetaObject::connectSlotsByName(dialog);
}

void EIDialog::retranslateUi(QWidget* dialog)
{
    dialog->setWindowTitle(QCoreApplication::translate("EIDialog", "EIDialog"));
    buttonOk->setText(QCoreApplication::translate("EIDialog", "确定"));
    buttonCancel->setText(QCoreApplication::translate("EIDialog", "取消"));
}

} // namespace Ui
