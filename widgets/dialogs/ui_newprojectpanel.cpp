#include "widgets/dialogs/ui_newprojectpanel.h"

#include "widgets/dialogs/formparts.h"
#include "widgets/kit/kitstyle.h"

#include <QCoreApplication>

namespace Ui {

namespace {

const char* const dialogStyle =
    "QLabel{font-size:14px;font-family:Microsoft YaHei;color:rgba(102,102,102,1);}\n"
    "QLineEdit#inputCardName{padding-left:7px;padding-right:22px;background:white;border:1px solid rgba(177, 177, 177, 1);"
    "border-radius:2px;}\n"
    "QLineEdit#inputCardName:hover{border:1px solid rgba(81, 167, 230, 1);}\n"
    "QPushButton#clearBtn{border-image:url(:/Resources/Quindle/images/lineClose.png);}\n"
    "QPushButton#clearBtn:hover{border-image:url(:/Resources/Quindle/images/line_close_press.png);}\n"
    "QPushButton#clearBtn:pressed{margin-top:1px;"
    "border-image:url(:/Resources/Quindle/images/line_close_press.png);}\n"
    "QPushButton#btnHorizontal{border-image:url(:/Resources/Quindle/images/huncheck.png);}\n"
    "QPushButton#btnHorizontal:hover{border-image:url(:/Resources/Quindle/images/hhover.png);}\n"
    "QPushButton#btnHorizontal:checked{border-image:url(:/Resources/Quindle/images/hchecked.png);}\n"
    "QPushButton#btnVertical{border-image:url(:/Resources/Quindle/images/vuncheck.png);}\n"
    "QPushButton#btnVertical:hover{border-image:url(:/Resources/Quindle/images/vhover.png);}\n"
    "QPushButton#btnVertical:checked{border-image:url(:/Resources/Quindle/images/vchecked.png);}\n"
    "QCheckBox{font-size:14px;font-family:Microsoft YaHei;color:rgba(102,102,102,1);}\n"
    "QCheckBox::indicator{width:18px;height:18px;}\n"
    "QCheckBox::indicator:checked{width:15px;height:15px;margin-left:2px;"
    "image:url(:/Resources/Quindle/images/check_checked.png);}\n"
    "QCheckBox::indicator:unchecked{image:url(:/Resources/Quindle/images/check_normal.png);}\n"
    "QCheckBox::indicator:unchecked:hover{image:url(:/Resources/Quindle/images/check_hover.png);}\n"
    "QComboBox{width:200px;height:30px;background:white;border:1px solid rgba(177, 177, 177, 1);"
    "border-radius:2px;}\n"
    "QComboBox::drop-down{subcontrol-origin:padding;subcontrol-position:top right;width:15px;border-left:none;}\n"
    "QComboBox::down-arrow{min-width:13px;image:url(:/Resources/Quindle/images/arrow_down.png);}\n"
    "QComboBox QAbstractItemView{color:#666666;}\n"
    "QComboBox QAbstractItemView::item{height:25px;}\n"
    "QComboBox QAbstractItemView::item:selected{color:#666666;background-color:#A2D3F8;}\n";

QPushButton* imageButton(QWidget* parent, const char* name, const QRect& geometry, bool checked)
{
    auto* button = place<QPushButton>(parent, name, geometry);
    button->setCheckable(true);
    button->setChecked(checked);
    button->setAutoExclusive(true);
    return button;
}

} // namespace

void NewProjectPanel::setupUi(QWidget* dialog)
{
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QStringLiteral("NewProjectPanel"));
    dialog->resize(510, 390);
    dialog->setMinimumSize(QSize(510, 390));
    dialog->setMaximumSize(QSize(510, 390));
    appendStyleSheet(dialog, QString::fromUtf8(dialogStyle));

    label = place<QLabel>(dialog, "label", QRect(80, 66, 81, 16));
    inputCardName = place<QLineEdit>(dialog, "inputCardName", QRect(168, 59, 260, 30));
    inputCardName->setFixedSize(260, 30);
    // Over the field's right end; the field's right padding keeps a long
    // name from running under it.
    clearBtn = place<QPushButton>(dialog, "clearBtn", QRect(410, 69, 10, 10));
    clearBtn->setFixedSize(10, 10);

    label_3 = place<QLabel>(dialog, "label_3", QRect(80, 105, 71, 16));
    btnHorizontal = imageButton(dialog, "btnHorizontal", QRect(168, 101, 40, 40), true);
    btnHorizontal->setMaximumSize(40, 40);
    label_2 = place<QLabel>(dialog, "label_2", QRect(173, 145, 54, 16));
    btnVertical = imageButton(dialog, "btnVertical", QRect(241, 101, 40, 40), false);
    btnVertical->setFixedSize(40, 40);
    label_6 = place<QLabel>(dialog, "label_6", QRect(245, 140, 54, 21));

    label_5 = place<QLabel>(dialog, "label_5", QRect(80, 178, 81, 16));
    boxPaperNum = place<QComboBox>(dialog, "boxPaperNum", QRect(168, 174, 261, 27));
    boxPaperNum->addItem(QString());
    boxPaperNum->addItem(QString());

    stackedPages = place<QStackedWidget>(dialog, "stackedPages", QRect(60, 210, 371, 41));
    page = new QWidget();
    page->setObjectName(QStringLiteral("page"));
    label_4 = place<QLabel>(page, "label_4", QRect(20, 0, 101, 20));
    checkDoublePage = place<QCheckBox>(page, "checkDoublePage", QRect(108, 3, 71, 20));
    checkDoublePage->setFixedSize(71, 20);
    checkDoublePage->setChecked(true);
    stackedPages->addWidget(page);
    page_2 = new QWidget();
    page_2->setObjectName(QStringLiteral("page_2"));
    label_8 = place<QLabel>(page_2, "label_8", QRect(20, 4, 81, 16));
    boxPagesType = place<QComboBox>(page_2, "boxPagesType", QRect(108, 0, 261, 27));
    stackedPages->addWidget(page_2);

    labelAbentMark = place<QLabel>(dialog, "labelAbentMark", QRect(82, 247, 81, 16));
    boxAbsentMark = place<QComboBox>(dialog, "boxAbsentMark", QRect(168, 244, 261, 27));
    boxAbsentMark->addItem(QString());
    boxAbsentMark->addItem(QString());
    labelRedCard = place<QLabel>(dialog, "labelRedCard", QRect(82, 284, 101, 20));
    checkRedCard = place<QCheckBox>(dialog, "checkRedCard", QRect(168, 286, 71, 20));
    checkRedCard->setFixedSize(71, 20);

    retranslateUi(dialog);
    stackedPages->setCurrentIndex(0);
    QMetaObject::connectSlotsByName(dialog);
}

void NewProjectPanel::retranslateUi(QWidget* dialog)
{
    dialog->setWindowTitle(QCoreApplication::translate("NewProjectPanel", "NewProjectPanel"));
    label->setText(QCoreApplication::translate("NewProjectPanel", "答题卡名称："));
    inputCardName->setPlaceholderText(QCoreApplication::translate("NewProjectPanel", "请输入您要制作的答题卡名称"));
    label_3->setText(QCoreApplication::translate("NewProjectPanel", "内容放置："));
    label_2->setText(QCoreApplication::translate("NewProjectPanel", "横置"));
    label_6->setText(QCoreApplication::translate("NewProjectPanel", "竖置"));
    label_5->setText(QCoreApplication::translate("NewProjectPanel", "纸张数量："));
    boxPaperNum->setItemText(0, QCoreApplication::translate("NewProjectPanel", "1"));
    boxPaperNum->setItemText(1, QCoreApplication::translate("NewProjectPanel", "2"));
    label_4->setText(QCoreApplication::translate("NewProjectPanel", "双面答题卡："));
    checkDoublePage->setText(QCoreApplication::translate("NewProjectPanel", "是"));
    label_8->setText(QCoreApplication::translate("NewProjectPanel", "面数："));
    labelAbentMark->setText(QCoreApplication::translate("NewProjectPanel", "缺考标记："));
    boxAbsentMark->setItemText(0, QCoreApplication::translate("NewProjectPanel", "双张双缺考标记"));
    boxAbsentMark->setItemText(1, QCoreApplication::translate("NewProjectPanel", "双张单缺考标记"));
    labelRedCard->setText(QCoreApplication::translate("NewProjectPanel", "红卡："));
    checkRedCard->setText(QCoreApplication::translate("NewProjectPanel", "是"));
}

} // namespace Ui
