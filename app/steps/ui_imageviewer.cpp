#include "app/steps/ui_imageviewer.h"

namespace Ui {

namespace {

const char* const viewerStyle =
    "QToolTip{border:1px solid #999999;border-radius:3px;background:white;}"
    "QScrollBar:vertical{background:#F0F0F0;width:12px;margin:12px 0 12px 0;border:none;}"
    "QScrollBar::handle:vertical{background:#979797;min-height:20px;border-radius:3px;margin:0 2px;}"
    "QScrollBar::handle:vertical:hover{background:#676767;}"
    "QScrollBar::sub-line:vertical{height:12px;subcontrol-position:top;subcontrol-origin:margin;"
    "border-image:url(:/Resources/Quindle/images/up_normal.png);}"
    "QScrollBar::sub-line:vertical:hover{border-image:url(:/Resources/Quindle/images/up_hover.png);}"
    "QScrollBar::add-line:vertical{height:12px;subcontrol-position:bottom;subcontrol-origin:margin;"
    "border-image:url(:/Resources/Quindle/images/down_normal.png);}"
    "QScrollBar::add-line:vertical:hover{border-image:url(:/Resources/Quindle/images/down_hover.png);}"
    "QScrollBar:horizontal{background:#F0F0F0;height:12px;margin:0 12px 0 12px;border:none;}"
    "QScrollBar::handle:horizontal{background:#979797;min-width:20px;border-radius:3px;margin:2px 0;}"
    "QScrollBar::handle:horizontal:hover{background:#676767;}"
    "QScrollBar::sub-line:horizontal{width:12px;subcontrol-position:left;subcontrol-origin:margin;"
    "border-image:url(:/Resources/Quindle/images/left_normal.png);}"
    "QScrollBar::sub-line:horizontal:hover{border-image:url(:/Resources/Quindle/images/left_hover.png);}"
    "QScrollBar::add-line:horizontal{width:12px;subcontrol-position:right;subcontrol-origin:margin;"
    "border-image:url(:/Resources/Quindle/images/right_normal.png);}"
    "QScrollBar::add-line:horizontal:hover{border-image:url(:/Resources/Quindle/images/right_hover.png);}"
    "QScrollBar::add-page,QScrollBar::sub-page{background:none;}"
    "QPushButton#themeBtn{min-width:90px;max-width:90px;min-height:30px;max-height:30px;"
    "background-color:rgba(81,167,230,1);border-radius:4px;font-family:Microsoft YaHei;"
    "font-size:14px;color:white;}"
    "QPushButton#themeBtn:pressed{padding-top:2px;background-color:#155D91;}"
    "QPushButton#themeBtn:hover{background-color:#2491E0;}";

// The exam-number switch: two halves of one blue-edged control.
const char* const switchStyle =
    "QPushButton{border:1px solid rgba(81,167,230,1);background:white;color:rgba(81,167,230,1);"
    "font-size:14px;}"
    "QPushButton:checked{background:rgba(81,167,230,1);color:white;}";

const char* const pageLabelStyle = "font-size:13px;font-family:Microsoft YaHei;color:rgba(102,102,102,1);";

QPushButton* button(QFrame* viewer, const char* name, QSize size)
{
    auto* b = new QPushButton(viewer);
    b->setObjectName(QLatin1String(name));
    b->setMinimumSize(size);
    b->setMaximumSize(size);
    return b;
}

QPushButton* switchButton(QFrame* viewer, const char* name, bool checked)
{
    QPushButton* b = button(viewer, name, QSize(70, 30));
    b->setCheckable(true);
    b->setChecked(checked);
    b->setAutoExclusive(false);
    b->setStyleSheet(QLatin1String(switchStyle));
    return b;
}

// A page button: the arrow image, a lighter one under the pointer, a grey
// one when there is no page that way; it sinks 2 pixels when pressed.
QPushButton* pageButton(QFrame* viewer, const char* name, const QString& image)
{
    QPushButton* b = button(viewer, name, QSize(32, 32));
    const QString images = QStringLiteral(":/Resources/Quindle/images/");
    b->setStyleSheet(QStringLiteral("QPushButton{border-image:url(%1%2_hover.png);}"
                                    "QPushButton:hover{border-image:url(%1%2BtnDefault.png);}"
                                    "QPushButton:pressed{margin-top:2px;}"
                                    "QPushButton:disabled{border-image:url(%1%2_disabled.png);}")
                         .arg(images, image));
    return b;
}

QLabel* pageLabel(QFrame* viewer, const char* name)
{
    auto* l = new QLabel(viewer);
    l->setObjectName(QLatin1String(name));
    l->setStyleSheet(QLatin1String(pageLabelStyle));
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QVBoxLayout* pageColumn(QPushButton* b, QLabel* l)
{
    auto* column = new QVBoxLayout();
    column->addStretch();
    column->addWidget(b, 0, Qt::AlignHCenter);
    column->addWidget(l, 0, Qt::AlignHCenter);
    column->addStretch();
    return column;
}

} // namespace

void ImageViewer::setupUi(QFrame* viewer)
{
    if (viewer->objectName().isEmpty())
        viewer->setObjectName(QStringLiteral("ImageViewer"));
    viewer->resize(916, 590);
    viewer->setStyleSheet(QLatin1String(viewerStyle));

    verticalLayout = new QVBoxLayout(viewer);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setSpacing(6);
    verticalLayout->setContentsMargins(9, 9, 9, 9);

    topLayout = new QHBoxLayout();
    topLayout->setSpacing(6);
    labelTips = new QLabel(viewer);
    labelTips->setObjectName(QStringLiteral("labelTips"));
    labelTips->setWordWrap(true);
    topLayout->addWidget(labelTips, 1);
    btnStuNum = switchButton(viewer, "btnStuNum", true);
    btnStuBarCode = switchButton(viewer, "btnStuBarCode", false);
    btnAbsent = switchButton(viewer, "btnAbsent", true);
    // The two halves of the switch touch.
    auto* examNumberSwitch = new QHBoxLayout();
    examNumberSwitch->setSpacing(0);
    examNumberSwitch->addWidget(btnStuNum);
    examNumberSwitch->addWidget(btnStuBarCode);
    topLayout->addLayout(examNumberSwitch);
    topLayout->addWidget(btnAbsent);
    btnRotate = button(viewer, "btnRotate", QSize(27, 27));
    btnRotate->setStyleSheet(QStringLiteral("border-image:url(:/Resources/Quindle/images/btn_rotate.png);"));
    topLayout->addWidget(btnRotate);
    btnSetFront = new QPushButton(viewer);
    btnSetFront->setObjectName(QStringLiteral("btnSetFront"));
    btnSetFront->setMinimumSize(QSize(29, 29));
    btnSetFront->setMaximumSize(QSize(27, 27));
    btnSetFront->setStyleSheet(
        QStringLiteral("border-image:url(:/Resources/Quindle/images/btn_setfront.png);"));
    topLayout->addWidget(btnSetFront);
    faceSpacer = new QSpacerItem(150, 2, QSizePolicy::Minimum, QSizePolicy::Minimum);
    topLayout->addItem(faceSpacer);
    btnOptionalAssociate = button(viewer, "btnOptionalAssociate", QSize(90, 30));
    topLayout->addWidget(btnOptionalAssociate);
    verticalLayout->addLayout(topLayout);

    middleLayout = new QHBoxLayout();
    middleLayout->setSpacing(6);
    btnPrevious = pageButton(viewer, "btnPrevious", QStringLiteral("previous"));
    label = pageLabel(viewer, "label");
    middleLayout->addLayout(pageColumn(btnPrevious, label));
    graphicsView = new EIGraphicsView(viewer);
    graphicsView->setObjectName(QStringLiteral("graphicsView"));
    graphicsView->setFrameShape(QFrame::NoFrame);
    middleLayout->addWidget(graphicsView, 1);
    btnNext = pageButton(viewer, "btnNext", QStringLiteral("next"));
    label_2 = pageLabel(viewer, "label_2");
    middleLayout->addLayout(pageColumn(btnNext, label_2));
    verticalLayout->addLayout(middleLayout, 1);

    bottomLayout = new QHBoxLayout();
    bottomLayout->setSpacing(12);
    bottomLayout->addStretch();
    saveSpacer = new QSpacerItem(105, 5, QSizePolicy::Minimum, QSizePolicy::Minimum);
    bottomLayout->addItem(saveSpacer);
    btnSave = button(viewer, "btnSave", QSize(90, 30));
    bottomLayout->addWidget(btnSave);
    btnSkip = new QPushButton(viewer);
    btnSkip->setObjectName(QStringLiteral("btnSkip"));
    btnSkip->setMinimumSize(QSize(152, 32));
    btnSkip->setMaximumSize(QSize(150, 30));
    btnSkip->setStyleSheet(QStringLiteral(
        "QPushButton{border-image:url(:/Resources/Quindle/images/button_normal.png);color:#51A7E6;}"
        "QPushButton:hover{border-image:url(:/Resources/Quindle/images/button_hover.png);color:#16A05D;}"
        "QPushButton:pressed{border-image:url(:/Resources/Quindle/images/button_pressed.png);color:#153064;}"));
    bottomLayout->addWidget(btnSkip);
    btnDrawNext = button(viewer, "btnDrawNext", QSize(90, 30));
    bottomLayout->addWidget(btnDrawNext);
    btnNextStep = button(viewer, "btnNextStep", QSize(90, 30));
    bottomLayout->addWidget(btnNextStep);
    bottomLayout->addStretch();
    // As high as the skip button, which the other steps hide: the canvas
    // above keeps its size from step to step.
    bottomLayout->addItem(new QSpacerItem(0, btnSkip->minimumHeight(), QSizePolicy::Minimum, QSizePolicy::Fixed));
    verticalLayout->addLayout(bottomLayout);

    retranslateUi(viewer);
}

void ImageViewer::retranslateUi(QFrame* viewer)
{
    viewer->setWindowTitle(QStringLiteral("ImageViewer"));
    labelTips->setText(QStringLiteral("温馨提示"));
    btnStuNum->setText(QStringLiteral("准考证号"));
    btnStuBarCode->setText(QStringLiteral("条形码"));
    btnAbsent->setText(QStringLiteral("缺考"));
    btnRotate->setToolTip(QStringLiteral("旋转"));
    btnSetFront->setToolTip(QStringLiteral("设为正面"));
    btnOptionalAssociate->setText(QStringLiteral("关联选做题"));
    label->setText(QStringLiteral("上一页"));
    label_2->setText(QStringLiteral("下一页"));
    btnSave->setText(QStringLiteral("保存"));
    btnSkip->setText(QStringLiteral("     无客观题，直接跳过    "));
    btnDrawNext->setText(QStringLiteral("框选下一面"));
    btnNextStep->setText(QStringLiteral("下一步"));
}

} // namespace Ui
