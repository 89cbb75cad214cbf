#include "canvas/ui_itemeditpanel.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFile>

namespace {

const char* const panelStyle =
    "QWidget#centralWidget{background:white;}\n"
    "*{font-family:Microsoft YaHei;}\n"
    "QPushButton#editAdd{border-image:url(:/Resources/Quindle/images/edit_add.png);"
    " min-width:27px; min-height:27px;}\n"
    "QPushButton#editAdd:hover{border-image:url(:/Resources/Quindle/images/edit_add_hover.png);}\n"
    "QPushButton#editMin{border-image:url(:/Resources/Quindle/images/edit_min.png);"
    " min-width:27px; min-height:27px;}\n"
    "QPushButton#editMin:hover{border-image:url(:/Resources/Quindle/images/edit_min_hover.png);}\n"
    "QPushButton{margin-top:2px;}\n"
    "QLabel{height:13px; font-size:14px; color:rgba(102,102,102,1);}";

const char* const titleStripStyle =
    "margin-left:1px; margin-right:1px; min-height:32px; background:#383A42;"
    " border-top-left-radius:2px; border-top-right-radius:2px;";

// close1.png is a strip of four slices; the offsets pick one per state.
const char* const titleCloseStyle =
    "QPushButton{border:none; background:#383A42;"
    " border-image:url(:/Resources/titlebar/close1.png) 0 81 0 0;}\n"
    "QPushButton:hover{border-image:url(:/Resources/titlebar/close1.png) 0 54 0 27;}\n"
    "QPushButton:pressed{border-image:url(:/Resources/titlebar/close1.png) 0 27 0 54;}";

const char* const valueLabelStyle = "border-top:1px solid #C6C6C6; border-bottom:1px solid #C6C6C6;";

// The kit's spin-box look, read from the shared bundle: the kit itself
// lies above the canvas.
QString spinBoxStyle()
{
    QString sheet;
    QFile file(QStringLiteral(":/Resources/Quindle/style.css"));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        sheet = QString::fromUtf8(file.readAll());
    return sheet + QStringLiteral("\nQSpinBox,QDoubleSpinBox{padding-left:5px;}");
}

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

QPushButton* makeStepButton(QWidget* parent, const char* name, int x, int y)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(QRect(x, y, 28, 28));
    button->setFixedSize(28, 28);
    button->setCheckable(false);
    // Holding a button keeps stepping.
    button->setAutoRepeat(true);
    return button;
}

QLabel* makeValueLabel(QWidget* parent, const char* name, const QRect& geometry)
{
    QLabel* label = makeLabel(parent, name, geometry);
    label->setFixedSize(103, 24);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QLatin1String(valueLabelStyle));
    return label;
}

} // namespace

namespace Ui {

void ItemEditPanel::setupUi(QDialog* panel)
{
    if (panel->objectName().isEmpty())
        panel->setObjectName(QStringLiteral("ItemEditPanel"));
    panel->resize(293, 284);
    panel->setMinimumSize(QSize(293, 70));
    panel->setStyleSheet(QLatin1String(panelStyle));

    frame_2 = new QFrame(panel);
    frame_2->setObjectName(QStringLiteral("frame_2"));
    frame_2->setGeometry(QRect(3, 4, 287, 32));
    frame_2->setStyleSheet(QLatin1String(titleStripStyle));
    frame_2->setFrameShape(QFrame::StyledPanel);
    frame_2->setFrameShadow(QFrame::Raised);
    label_5 = makeLabel(frame_2, "label_5", QRect(10, 2, 101, 32));
    label_5->setStyleSheet(QStringLiteral("color:white; font-size:13px;"));
    btnTitleClose = new QPushButton(frame_2);
    btnTitleClose->setObjectName(QStringLiteral("btnTitleClose"));
    btnTitleClose->setGeometry(QRect(257, 0, 29, 31));
    btnTitleClose->setMaximumSize(QSize(29, 29));
    btnTitleClose->setStyleSheet(QLatin1String(titleCloseStyle));

    btnClose = new QPushButton(panel);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(QRect(105, 240, 82, 32));
    btnClose->setStyleSheet(QStringLiteral("min-width:80px; min-height:25px; margin-top:5px;"));

    const QString spinStyle = spinBoxStyle();
    label_3 = makeLabel(panel, "label_3", QRect(23, 43, 87, 20));
    boxSizeStep = new QSpinBox(panel);
    boxSizeStep->setObjectName(QStringLiteral("boxSizeStep"));
    boxSizeStep->setGeometry(QRect(120, 43, 157, 26));
    boxSizeStep->setMinimum(1);
    boxSizeStep->setValue(1);
    boxSizeStep->setStyleSheet(spinStyle);
    label_2 = makeLabel(panel, "label_2", QRect(23, 77, 87, 20));
    boxOffsetStep = new QDoubleSpinBox(panel);
    boxOffsetStep->setObjectName(QStringLiteral("boxOffsetStep"));
    boxOffsetStep->setGeometry(QRect(120, 77, 157, 26));
    boxOffsetStep->setMinimum(0.01);
    boxOffsetStep->setSingleStep(0.1);
    boxOffsetStep->setValue(0.3);
    boxOffsetStep->setStyleSheet(spinStyle);

    label = makeLabel(panel, "label", QRect(17, 114, 42, 20));
    btnMinWidth = makeStepButton(panel, "btnMinWidth", 120, 111);
    widthLabel = makeValueLabel(panel, "widthLabel", QRect(146, 114, 103, 24));
    widthLabel->setMinimumSize(QSize(103, 24));
    widthLabel->setMaximumSize(QSize(QWIDGETSIZE_MAX, 24));
    btnAddWidth = makeStepButton(panel, "btnAddWidth", 249, 111);

    label_4 = makeLabel(panel, "label_4", QRect(17, 146, 42, 20));
    btnMinHeight = makeStepButton(panel, "btnMinHeight", 120, 146);
    heightLabel = makeValueLabel(panel, "heightLabel", QRect(150, 149, 103, 24));
    btnAddHeight = makeStepButton(panel, "btnAddHeight", 249, 146);

    label_9 = makeLabel(panel, "label_9", QRect(17, 181, 70, 20));
    btnMinRowOffset = makeStepButton(panel, "btnMinRowOffset", 120, 181);
    rowOffsetLabel = makeValueLabel(panel, "rowOffsetLabel", QRect(148, 184, 103, 24));
    btnAddRowOffset = makeStepButton(panel, "btnAddRowOffset", 249, 181);

    label_11 = makeLabel(panel, "label_11", QRect(17, 216, 70, 20));
    btnMinColOffset = makeStepButton(panel, "btnMinColOffset", 120, 216);
    colOffsetLabel = makeValueLabel(panel, "colOffsetLabel", QRect(148, 219, 103, 24));
    btnAddColOffset = makeStepButton(panel, "btnAddColOffset", 249, 216);

    retranslateUi(panel);
    QObject::connect(btnClose, SIGNAL(clicked(bool)), panel, SLOT(hide()));
    QObject::connect(btnTitleClose, SIGNAL(clicked(bool)), btnClose, SLOT(click()));
    QMetaObject::connectSlotsByName(panel);
}

void ItemEditPanel::retranslateUi(QDialog* panel)
{
    panel->setWindowTitle(QCoreApplication::translate("ItemEditPanel", "调整对话框"));
    label_5->setText(QCoreApplication::translate("ItemEditPanel", "位置调整"));
    btnClose->setText(QCoreApplication::translate("ItemEditPanel", "确定"));
    label_3->setText(QCoreApplication::translate("ItemEditPanel", "调整尺寸步长:"));
    label_2->setText(QCoreApplication::translate("ItemEditPanel", "调整偏移步长:"));
    label->setText(QCoreApplication::translate("ItemEditPanel", "宽度："));
    label_4->setText(QCoreApplication::translate("ItemEditPanel", "高度："));
    label_9->setText(QCoreApplication::translate("ItemEditPanel", "上下偏移："));
    label_11->setText(QCoreApplication::translate("ItemEditPanel", "左右偏移："));
    const QString initial = QCoreApplication::translate("ItemEditPanel", "25");
    widthLabel->setText(initial);
    heightLabel->setText(initial);
    rowOffsetLabel->setText(initial);
    colOffsetLabel->setText(initial);
}

} // namespace Ui
