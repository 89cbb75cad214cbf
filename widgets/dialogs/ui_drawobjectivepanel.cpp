#include "widgets/dialogs/ui_drawobjectivepanel.h"

#include "widgets/dialogs/formparts.h"
#include "widgets/kit/kitstyle.h"

#include <QCoreApplication>

namespace Ui {

void DrawObjectivePanel::setupUi(QWidget* dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("DrawObjectivePanel"));
    dialog->resize(480, 300);
    dialog->setMinimumSize(QSize(480, 300));
    dialog->setMaximumSize(QSize(480, 300));
    appendStyleSheet(dialog, propertyFormStyle());

    label = fieldLabel(dialog, "label", QRect(72, 72, 71, 21));
    boxType = place<QComboBox>(dialog, "boxType", QRect(150, 70, 260, 27));
    for (int i = 0; i < 3; ++i)
        boxType->addItem(QString());

    label_2 = fieldLabel(dialog, "label_2", QRect(72, 113, 81, 21));
    boxAlign = place<QComboBox>(dialog, "boxAlign", QRect(150, 110, 260, 27));
    boxAlign->addItem(QString());
    boxAlign->addItem(QString());

    label_4 = fieldLabel(dialog, "label_4", QRect(72, 152, 71, 21));
    boxNumberBegin = place<QSpinBox>(dialog, "boxNumberBegin", QRect(150, 150, 91, 27));
    boxNumberBegin->setRange(1, 999);
    boxNumberBegin->setValue(1);
    label_8 = fieldLabel(dialog, "label_8", QRect(250, 152, 61, 16));
    boxNumberEnd = place<QSpinBox>(dialog, "boxNumberEnd", QRect(320, 150, 91, 27));
    boxNumberEnd->setRange(1, 999);
    boxNumberEnd->setValue(5);

    label_5 = fieldLabel(dialog, "label_5", QRect(70, 191, 71, 21));
    boxCols = place<QSpinBox>(dialog, "boxCols", QRect(150, 190, 260, 27));
    boxCols->setValue(4);

    label_6 = fieldLabel(dialog, "label_6", QRect(72, 233, 71, 21));
    boxBorderType = place<QComboBox>(dialog, "boxBorderType", QRect(150, 230, 260, 27));
    for (int i = 0; i < 3; ++i)
        boxBorderType->addItem(QString());

    infoLabel = place<QLabel>(dialog, "infoLabel", QRect(90, 270, 271, 16));
    infoLabel->setStyleSheet(QStringLiteral("color:red;"));

    retranslateUi(dialog);
    QMetaObject::connectSlotsByName(dialog);
}

void DrawObjectivePanel::retranslateUi(QWidget* dialog)
{
    dialog->setWindowTitle(QCoreApplication::translate("DrawObjectivePanel", "DrawObjectivePanel"));
    label->setText(QCoreApplication::translate("DrawObjectivePanel", "试题类型："));
    boxType->setItemText(0, QCoreApplication::translate("DrawObjectivePanel", "单选题"));
    boxType->setItemText(1, QCoreApplication::translate("DrawObjectivePanel", "多选题"));
    boxType->setItemText(2, QCoreApplication::translate("DrawObjectivePanel", "判断题"));
    label_2->setText(QCoreApplication::translate("DrawObjectivePanel", "排列方式："));
    boxAlign->setItemText(0, QCoreApplication::translate("DrawObjectivePanel", "横排"));
    boxAlign->setItemText(1, QCoreApplication::translate("DrawObjectivePanel", "竖排"));
    label_4->setText(QCoreApplication::translate("DrawObjectivePanel", "试题题号："));
    label_8->setText(QCoreApplication::translate("DrawObjectivePanel", "----------"));
    label_5->setText(QCoreApplication::translate("DrawObjectivePanel", "选项个数："));
    label_6->setText(QCoreApplication::translate("DrawObjectivePanel", "边框类型："));
    boxBorderType->setItemText(0, QCoreApplication::translate("DrawObjectivePanel", "半封闭"));
    boxBorderType->setItemText(1, QCoreApplication::translate("DrawObjectivePanel", "全封闭"));
    boxBorderType->setItemText(2, QCoreApplication::translate("DrawObjectivePanel", "无边框"));
    infoLabel->setText(QString());
}

} // namespace Ui
