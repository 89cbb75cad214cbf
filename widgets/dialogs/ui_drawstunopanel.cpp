#include "widgets/dialogs/ui_drawstunopanel.h"

#include "widgets/dialogs/formparts.h"
#include "widgets/kit/kitstyle.h"

#include <QCoreApplication>

namespace Ui {

void DrawStuNoPanel::setupUi(QWidget* dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("DrawStuNoPanel"));
    dialog->resize(480, 280);
    dialog->setMinimumSize(QSize(480, 280));
    dialog->setMaximumSize(QSize(480, 280));
    appendStyleSheet(dialog, propertyFormStyle());

    label = fieldLabel(dialog, "label", QRect(72, 76, 71, 16));
    boxAlign = place<QComboBox>(dialog, "boxAlign", QRect(150, 70, 260, 27));
    boxAlign->addItem(QString());
    boxAlign->addItem(QString());

    label_2 = fieldLabel(dialog, "label_2", QRect(72, 112, 71, 21));
    boxStuNoLens = place<QSpinBox>(dialog, "boxStuNoLens", QRect(150, 110, 260, 27));
    boxStuNoLens->setRange(3, 15);
    boxStuNoLens->setValue(9);

    label_3 = fieldLabel(dialog, "label_3", QRect(72, 154, 71, 21));
    boxChosenCnt = place<QSpinBox>(dialog, "boxChosenCnt", QRect(150, 150, 260, 27));
    boxChosenCnt->setRange(3, 15);
    boxChosenCnt->setValue(10);

    label_4 = fieldLabel(dialog, "label_4", QRect(72, 193, 71, 21));
    boxBorderType = place<QComboBox>(dialog, "boxBorderType", QRect(150, 190, 260, 27));
    for (int i = 0; i < 3; ++i)
        boxBorderType->addItem(QString());

    label_6 = fieldLabel(dialog, "label_6", QRect(72, 228, 71, 21));
    checkExistLine = place<QCheckBox>(dialog, "checkExistLine", QRect(150, 230, 71, 16));
    checkExistLine->setChecked(true);

    retranslateUi(dialog);
    boxBorderType->setCurrentIndex(1);
    QMetaObject::connectSlotsByName(dialog);
}

void DrawStuNoPanel::retranslateUi(QWidget* dialog)
{
    dialog->setWindowTitle(QCoreApplication::translate("DrawStuNoPanel", "DrawStuNoPanel"));
    label->setText(QCoreApplication::translate("DrawStuNoPanel", "排列方式："));
    boxAlign->setItemText(0, QCoreApplication::translate("DrawStuNoPanel", "横向"));
    boxAlign->setItemText(1, QCoreApplication::translate("DrawStuNoPanel", "纵向"));
    label_2->setText(QCoreApplication::translate("DrawStuNoPanel", "考号长度："));
    label_3->setText(QCoreApplication::translate("DrawStuNoPanel", "选项个数："));
    label_4->setText(QCoreApplication::translate("DrawStuNoPanel", "边框类型："));
    boxBorderType->setItemText(0, QCoreApplication::translate("DrawStuNoPanel", "无边框"));
    boxBorderType->setItemText(1, QCoreApplication::translate("DrawStuNoPanel", "半封闭"));
    boxBorderType->setItemText(2, QCoreApplication::translate("DrawStuNoPanel", "全封闭"));
    boxBorderType->setCurrentText(QCoreApplication::translate("DrawStuNoPanel", "半封闭"));
    label_6->setText(QCoreApplication::translate("DrawStuNoPanel", "有无线条："));
    checkExistLine->setText(QCoreApplication::translate("DrawStuNoPanel", "有"));
}

} // namespace Ui
