#include "widgets/kit/ui_eititlebar.h"

namespace Ui {

namespace {

// Each button image is a strip of four 27-pixel cells: normal, hovered,
// pressed (and a spare); the border-image slices pick one cell.
QString spriteStyle(const QString& objectName, const QString& image)
{
    const QString url = QStringLiteral("url(:/Resources/titlebar/%1)").arg(image);
    return QStringLiteral("QPushButton#%1{border-image:%2 0 81 0 0;min-width:27px;min-height:27px;}"
                          "QPushButton#%1:hover{border-image:%2 0 54 0 27;}"
                          "QPushButton#%1:pressed{border-image:%2 0 27 0 54;}")
        .arg(objectName, url);
}

QPushButton* windowButton(QWidget* bar, const QString& objectName, const QString& image)
{
    auto* button = new QPushButton(bar);
    button->setObjectName(objectName);
    button->setMinimumSize(QSize(29, 29));
    button->setMaximumSize(QSize(27, 27));
    button->setStyleSheet(spriteStyle(objectName, image));
    return button;
}

} // namespace

void EITitleBar::setupUi(QWidget* bar)
{
    if (bar->objectName().isEmpty())
        bar->setObjectName(QStringLiteral("EITitleBar"));
    bar->resize(638, 45);
    bar->setMinimumSize(QSize(0, 45));
    bar->setMaximumSize(QSize(16777215, 45));
    bar->setStyleSheet(QStringLiteral("QWidget#EITitleBar\n{\nbackground-color:#383A42;\n"
                                      "border-top-left-radius:6px;\nborder-top-right-radius:6px;\n}"));

    horizontalLayout = new QHBoxLayout(bar);
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->setSpacing(1);
    horizontalLayout->setContentsMargins(9, 0, 0, 16);

    labelTitleLogo = new QLabel(bar);
    labelTitleLogo->setObjectName(QStringLiteral("labelTitleLogo"));
    labelTitleLogo->setMinimumSize(QSize(60, 21));
    labelTitleLogo->setMaximumSize(QSize(16777215, 21));
    labelTitleLogo->setStyleSheet(
        QStringLiteral("QLabel#labelTitleLogo\n{\n\tborder-image: url(:/Resources/titlebar/logo.png);\n}"));
    labelTitleLogo->setMargin(2);
    horizontalLayout->addWidget(labelTitleLogo);

    labelTitleText = new QLabel(bar);
    labelTitleText->setObjectName(QStringLiteral("labelTitleText"));
    labelTitleText->setMinimumSize(QSize(100, 38));
    labelTitleText->setMaximumSize(QSize(65539, 38));
    labelTitleText->setStyleSheet(QStringLiteral(
        "QLabel#labelTitleText{\nmargin-left:6px;\nmargin-top:4px;\nmargin-bottom:2px;\nwidth:209px;\n"
        "height:17px;\nfont-size:16px;\nfont-family:Microsoft YaHei;\nfont-weight:400;\n"
        "color:rgba(255,255,255,1);\nline-height:55px;\n}"));
    horizontalLayout->addWidget(labelTitleText);

    horizontalSpacer = new QSpacerItem(331, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    horizontalLayout->addItem(horizontalSpacer);

    vSpacer = new QLabel(bar);
    vSpacer->setObjectName(QStringLiteral("vSpacer"));
    vSpacer->setMinimumSize(QSize(30, 0));
    vSpacer->setStyleSheet(QStringLiteral("color:white;"));
    vSpacer->setAlignment(Qt::AlignCenter);
    horizontalLayout->addWidget(vSpacer);

    btnMenu = windowButton(bar, QStringLiteral("btnMenu"), QStringLiteral("menu.png"));
    btnMin = windowButton(bar, QStringLiteral("btnMin"), QStringLiteral("min.png"));
    btnMax = windowButton(bar, QStringLiteral("btnMax"), QStringLiteral("max.png"));
    btnRestore = windowButton(bar, QStringLiteral("btnRestore"), QStringLiteral("restore.png"));
    btnClose = windowButton(bar, QStringLiteral("btnClose"), QStringLiteral("close1.png"));
    for (QPushButton* button : {btnMenu, btnMin, btnMax, btnRestore, btnClose})
        horizontalLayout->addWidget(button);

    retranslateUi(bar);
    QMetaObject::connectSlotsByName(bar);
}

void EITitleBar::retranslateUi(QWidget* bar)
{
    bar->setWindowTitle(QCoreApplication::translate("EITitleBar", "EITitleBar"));
    labelTitleLogo->setText(QString());
    labelTitleText->setText(QCoreApplication::translate("EITitleBar", "标题"));
    vSpacer->setText(QStringLiteral("|"));
    for (QPushButton* button : {btnMenu, btnMin, btnMax, btnRestore, btnClose})
        button->setText(QString());
}

} // namespace Ui
