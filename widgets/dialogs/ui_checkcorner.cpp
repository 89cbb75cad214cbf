#include "widgets/dialogs/ui_checkcorner.h"

#include <QCoreApplication>

namespace Ui {

void CheckCorner::setupUi(QWidget* dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("CheckCorner"));
    dialog->resize(511, 189);

    widget = new QWidget(dialog);
    widget->setObjectName(QStringLiteral("widget"));
    widget->setGeometry(QRect(70, 80, 371, 81));
    // Siblings in one parent, so choosing one clears the other.
    btnCheck = new QRadioButton(widget);
    btnCheck->setObjectName(QStringLiteral("btnCheck"));
    btnCheck->setGeometry(QRect(30, 30, 171, 16));
    btnCheck->setChecked(false);
    btnNotCheck = new QRadioButton(widget);
    btnNotCheck->setObjectName(QStringLiteral("btnNotCheck"));
    btnNotCheck->setGeometry(QRect(220, 30, 171, 16));

    retranslateUi(dialog);
    QMetaObject::connectSlotsByName(dialog);
}

void CheckCorner::retranslateUi(QWidget* dialog)
{
    dialog->setWindowTitle(QCoreApplication::translate("CheckCorner", "CheckCorner"));
    btnCheck->setText(QCoreApplication::translate("CheckCorner", "检测折角"));
    btnNotCheck->setText(QCoreApplication::translate("CheckCorner", "不检测折角"));
}

} // namespace Ui
