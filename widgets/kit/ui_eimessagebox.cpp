#include "widgets/kit/ui_eimessagebox.h"

#include <QCoreApplication>

namespace Ui {

void EIMessageBox::setupUi(QWidget* box)
{
    if (box->objectName().isEmpty())
        box->setObjectName(QStringLiteral("EIMessageBox"));
    box->resize(510, 220);

    centerFrame = new QFrame(box);
    centerFrame->setObjectName(QStringLiteral("centerFrame"));
    centerFrame->setGeometry(QRect(0, 10, 511, 151));
    centerFrame->setMinimumSize(QSize(0, 0));
    centerFrame->setFrameShape(QFrame::StyledPanel);
    centerFrame->setFrameShadow(QFrame::Raised);
    // Its panel edge would cut the white card above the button row.
    centerFrame->setStyleSheet(QStringLiteral("QFrame#centerFrame{border:none;}"));

    verticalLayout = new QVBoxLayout(centerFrame);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setSpacing(6);
    verticalLayout->setContentsMargins(11, 11, 11, 11);

    verticalSpacer = new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding);
    verticalLayout->addItem(verticalSpacer);

    horizontalLayout = new QHBoxLayout();
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->setSpacing(6);
    horizontalSpacer = new QSpacerItem(90, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    horizontalLayout->addItem(horizontalSpacer);
    messageIcon = new QLabel(centerFrame);
    messageIcon->setObjectName(QStringLiteral("messageIcon"));
    messageIcon->setMinimumSize(QSize(50, 50));
    messageIcon->setMaximumSize(QSize(50, 50));
    horizontalLayout->addWidget(messageIcon);
    iconSpacer = new QSpacerItem(13, 20, QSizePolicy::Fixed, QSizePolicy::Minimum);
    horizontalLayout->addItem(iconSpacer);
    messageContent = new QLabel(centerFrame);
    messageContent->setObjectName(QStringLiteral("messageContent"));
    messageContent->setStyleSheet(QStringLiteral(
        "QLabel#messageContent{\nfont-size:14px;\nfont-family:Microsoft YaHei;\ncolor:rgba(102,102,102,1);\n}"));
    horizontalLayout->addWidget(messageContent);
    horizontalSpacer_2 = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    horizontalLayout->addItem(horizontalSpacer_2);
    verticalLayout->addLayout(horizontalLayout);

    verticalSpacer_2 = new QSpacerItem(20, 7, QSizePolicy::Minimum, QSizePolicy::Expanding);
    verticalLayout->addItem(verticalSpacer_2);
    verticalSpacer_3 = new QSpacerItem(20, 45, QSizePolicy::Minimum, QSizePolicy::Fixed);
    verticalLayout->addItem(verticalSpacer_3);

    retranslateUi(box);
    QMetaObject::connectSlotsByName(box);
}

void EIMessageBox::retranslateUi(QWidget* box)
{
    box->setWindowTitle(QCoreApplication::translate("EIMessageBox", "EIMessageBox"));
    messageIcon->setText(QCoreApplication::translate("EIMessageBox", "TextLabel"));
    messageContent->setText(QCoreApplication::translate("EIMessageBox", "TextLabel"));
}

} // namespace Ui
