#include "widgets/dialogs/ui_optionalassociatepanel.h"

#include "widgets/dialogs/formparts.h"
#include "widgets/kit/eilabel.h"
#include "widgets/kit/eispainbox.h"
#include "widgets/kit/kitstyle.h"

#include <QCoreApplication>

namespace Ui {

void OptionalAssociatePanel::setupUi(QWidget* dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("OptionalAssociatePanel"));
    dialog->resize(473, 422);
    // The two labels are named after their place in the form, so the kit's
    // label rule (by object name) does not reach them.
    appendStyleSheet(dialog, QStringLiteral("QLabel#label,QLabel#label_8{font-size:14px;"
                                            "color:rgba(102,102,102,1);}"));

    label = place<EILabel>(dialog, "label", QRect(40, 71, 221, 20));
    boxGroupCnt = place<EISpainBox>(dialog, "boxGroupCnt", QRect(260, 71, 61, 21));
    label_8 = place<EILabel>(dialog, "label_8", QRect(340, 70, 54, 21));

    scrollArea = place<QScrollArea>(dialog, "scrollArea", QRect(30, 100, 411, 241));
    scrollArea->setStyleSheet(QStringLiteral("QScrollArea#scrollArea{background:white;\nborder:none;\n}"));
    scrollArea->setWidgetResizable(true);
    widget = new QWidget();
    widget->setObjectName(QStringLiteral("widget"));
    widget->setGeometry(QRect(0, 0, 411, 241));
    widget->setStyleSheet(QStringLiteral("background:white;\n"));
    scrollArea->setWidget(widget);

    retranslateUi(dialog);
    QMetaObject::connectSlotsByName(dialog);
}

void OptionalAssociatePanel::retranslateUi(QWidget* dialog)
{
    dialog->setWindowTitle(QCoreApplication::translate("OptionalAssociatePanel", "OptionalAssociatePanel"));
    label->setText(QCoreApplication::translate("OptionalAssociatePanel", "请设置将要关联的选做题组个数："));
    label_8->setText(QCoreApplication::translate("OptionalAssociatePanel", "组"));
}

} // namespace Ui
