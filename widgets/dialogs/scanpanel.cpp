#include "widgets/dialogs/scanpanel.h"

#include "widgets/kit/eititlebar.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QStyledItemDelegate>

namespace Ui {

struct ScanPanel
{
    QLabel* label = nullptr;
    QComboBox* boxScannerName = nullptr;

    void setupUi(QWidget* dialog)
    {
        if (dialog->objectName().isEmpty())
            dialog->setObjectName(QStringLiteral("ScanPanel"));
        dialog->resize(510, 282);
        dialog->setMinimumSize(QSize(510, 282));
        dialog->setMaximumSize(QSize(510, 282));

        label = new QLabel(dialog);
        label->setObjectName(QStringLiteral("label"));
        label->setGeometry(QRect(80, 99, 81, 20));
        label->setStyleSheet(QStringLiteral("width:303px;\n"
                                            "height:167px;\n"
                                            "font-size:14px;\n"
                                            "font-family:Microsoft YaHei;\n"
                                            "font-weight:400;\n"
                                            "color:rgba(102,102,102,1);\n"
                                            "line-height:18px;"));

        boxScannerName = new QComboBox(dialog);
        boxScannerName->setObjectName(QStringLiteral("boxScannerName"));
        boxScannerName->setGeometry(QRect(167, 94, 260, 30));
        boxScannerName->setMinimumSize(QSize(260, 30));
        boxScannerName->setMaximumSize(QSize(200, 30));
        boxScannerName->setStyleSheet(QStringLiteral(
            "QComboBox{outline:none;font-family:Microsoft YaHei;background:white;height:30px;"
            "border:1px solid rgba(177, 177, 177, 1);border-radius:2px;}\n"
            "QComboBox:hover{border:1px solid rgba(81, 167, 230, 1);}\n"
            "QComboBox::drop-down{subcontrol-origin:padding;subcontrol-position:top right;width:15px;"
            "border-left:none;}\n"
            "QComboBox::down-arrow{image:url(:/Resources/Quindle/images/arrow_down.png);}\n"
            "QComboBox QAbstractItemView{outline:none;}\n"
            "QComboBox QAbstractItemView::item{height:25px;font-size:14px;border-bottom:1px solid #999999;}\n"
            "QComboBox QAbstractItemView::item:selected{background-color:#A2D3F8;color:#666666;}"));

        retranslateUi(dialog);
    }

    void retranslateUi(QWidget* dialog)
    {
        dialog->setWindowTitle(QCoreApplication::translate("ScanPanel", "ScanPanel"));
        label->setText(QCoreApplication::translate("ScanPanel", "选择扫描仪："));
    }
};

} // namespace Ui

ScanPanel::ScanPanel(QWidget* parent, const QStringList& sourceNames) : EIDialog(parent), form(new Ui::ScanPanel)
{
    form->setupUi(this);
    if (!sourceNames.isEmpty()) {
        form->boxScannerName->clear();
        form->boxScannerName->addItems(sourceNames);
    }
    // Without a delegate of its own the list ignores the style sheet's item
    // rules. Owned by the dialog so it outlives the box.
    form->boxScannerName->setItemDelegate(new QStyledItemDelegate(this));

    setTitle(QStringLiteral("扫描第三方答题卡"));
    setMovable(false);
    titleBar()->setRoundClose(true);
}

ScanPanel::~ScanPanel()
{
    delete form;
}

QString ScanPanel::currentScanner() const
{
    return form->boxScannerName->currentText();
}

int ScanPanel::currentIndex() const
{
    return form->boxScannerName->currentIndex();
}
