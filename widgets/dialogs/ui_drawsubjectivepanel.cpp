#include "widgets/dialogs/ui_drawsubjectivepanel.h"

#include "widgets/dialogs/formparts.h"
#include "widgets/kit/kitstyle.h"

#include <QCoreApplication>

namespace Ui {

void DrawSubjectivePanel::setupUi(QWidget* dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("DrawSubjectivePanel"));
    dialog->resize(510, 292);
    appendStyleSheet(dialog, propertyFormStyle());

    label = fieldLabel(dialog, "label", QRect(72, 76, 71, 16));
    boxType = place<QComboBox>(dialog, "boxType", QRect(150, 70, 260, 27));
    for (int i = 0; i < 4; ++i)
        boxType->addItem(QString());

    label_2 = fieldLabel(dialog, "label_2", QRect(72, 139, 71, 16));
    boxNumberBegin = place<QSpinBox>(dialog, "boxNumberBegin", QRect(150, 130, 91, 27));
    boxNumberBegin->setRange(0, 999);
    label_8 = fieldLabel(dialog, "label_8", QRect(250, 134, 61, 16));
    boxNumberEnd = place<QSpinBox>(dialog, "boxNumberEnd", QRect(320, 130, 91, 27));
    boxNumberEnd->setRange(0, 999);

    checkOptional = place<QCheckBox>(dialog, "checkOptional", QRect(150, 180, 71, 16));

    infoLabel = place<QLabel>(dialog, "infoLabel", QRect(80, 200, 331, 16));
    infoLabel->setStyleSheet(QStringLiteral("color:red;"));

    retranslateUi(dialog);
    QMetaObject::connectSlotsByName(dialog);
}

void DrawSubjectivePanel::retranslateUi(QWidget* dialog)
{
    dialog->setWindowTitle(QCoreApplication::translate("DrawSubjectivePanel", "DrawSubjectivePanel"));
    label->setText(QCoreApplication::translate("DrawSubjectivePanel", "试题类型："));
    boxType->setItemText(0, QCoreApplication::translate("DrawSubjectivePanel", "填空题"));
    boxType->setItemText(1, QCoreApplication::translate("DrawSubjectivePanel", "解答题"));
    boxType->setItemText(2, QCoreApplication::translate("DrawSubjectivePanel", "语文作文题"));
    boxType->setItemText(3, QCoreApplication::translate("DrawSubjectivePanel", "英语作文题"));
    label_2->setText(QCoreApplication::translate("DrawSubjectivePanel", "试题题号："));
    label_8->setText(QCoreApplication::translate("DrawSubjectivePanel", "----------"));
    checkOptional->setText(QCoreApplication::translate("DrawSubjectivePanel", "选做题"));
    infoLabel->setText(QString());
}

} // namespace Ui
