#include "widgets/kit/eititlebar.h"

#include "widgets/kit/ui_eititlebar.h"

#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

namespace {

const char* const roundCloseStyle =
    "            QPushButton{            border-image:url(:/Resources/titlebar/close_round.png) 0 81 0 0;"
    "            min-width: 27px;            min-height: 27px;        }"
    "            QPushButton:hover {            border-image:url(:/Resources/titlebar/close_round.png) 0 54 0 27;"
    "        }            QPushButton#btnClose : pressed {"
    "            border-image:url(:/Resources/titlebar/close_round.png) 0 27 0 54;         }";

const char* const menuStyle =
    "QMenu{ border: 0px solid;background:rgba(254,254,254,1);border:1px solid rgb(193,193,193);}\t\t      "
    "QMenu::item{font-size: 14px;font-family: 'Microsoft YaHei';color: rgb(51, 51, 51);padding:8px 24px;"
    "padding-left:17px;padding-top:5px;border-bottom:1px solid rgb(193,193,193)}              "
    "QMenu::item:selected{background-color:rgb(178,223,255);}";

// The button's own image says that it opens a menu; the style's drop-down
// arrow would only be drawn over it.
const char* const noMenuArrowStyle = "QPushButton#btnMenu::menu-indicator{image:none;width:0px;height:0px;}";

// The normal cell of the menu sprite for every state, while the button rests.
const char* const menuAtRestStyle =
    "QPushButton#btnMenu:hover,QPushButton#btnMenu:pressed{"
    "border-image:url(:/Resources/titlebar/menu.png) 0 81 0 0;}";

} // namespace

EITitleBar::EITitleBar(QWidget* parent) : QWidget(parent), ui(new Ui::EITitleBar)
{
    ui->setupUi(this);

    ui->vSpacer->hide();
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    background = QColor(56, 58, 66, 255);
    setMenuVisible(false);
    dropMenu = new QMenu(this);
    dropMenu->setStyleSheet(QString::fromUtf8(menuStyle));
    menuButtonStyle = ui->btnMenu->styleSheet() + QString::fromLatin1(noMenuArrowStyle);
    ui->btnMenu->setStyleSheet(menuButtonStyle);
    ui->btnMenu->setMenu(dropMenu);
    // The button's menu loop only ends after the chosen item has run, so an
    // item that opens a dialog would find the button still drawn pressed.
    // It rests from the moment the menu hides until the pointer is back.
    connect(dropMenu, &QMenu::aboutToHide, this, [this] { setMenuButtonAtRest(true); });
    connect(dropMenu, &QMenu::aboutToShow, this, [this] { setMenuButtonAtRest(false); });
    ui->btnMenu->installEventFilter(this);

    connect(ui->btnClose, &QPushButton::clicked, this, &EITitleBar::onClose);
    connect(ui->btnMin, &QPushButton::clicked, this, &EITitleBar::onMin);
    connect(ui->btnMax, &QPushButton::clicked, this, &EITitleBar::onMax);
    connect(ui->btnRestore, &QPushButton::clicked, this, &EITitleBar::onRestore);
}

EITitleBar::~EITitleBar()
{
    delete ui;
}

void EITitleBar::setTitle(const QString& title)
{
    ui->labelTitleText->setText(title);
}

QLabel* EITitleBar::titleLabel() const
{
    return ui->labelTitleText;
}

void EITitleBar::setLogoVisible(bool visible)
{
    ui->labelTitleLogo->setVisible(visible);
}

void EITitleBar::setMenuVisible(bool visible)
{
    ui->btnMenu->setVisible(visible);
    ui->vSpacer->setVisible(visible);
}

void EITitleBar::setMaxVisible(bool visible)
{
    ui->btnMax->setVisible(visible);
}

void EITitleBar::setRestoreVisible(bool visible)
{
    ui->btnRestore->setVisible(visible);
}

void EITitleBar::setWindowButtons(int kind)
{
    if (kind == 0)
        ui->btnMin->hide();
    if (kind == 0 || kind == 1) {
        ui->btnMax->hide();
        ui->btnRestore->hide();
    }
}

void EITitleBar::setRoundClose(bool round)
{
    roundClose = round;
    if (!round)
        return;
    ui->btnClose->setStyleSheet(QString());
    ui->btnClose->setStyleSheet(QString::fromUtf8(roundCloseStyle));
}

void EITitleBar::setMenuButtonAtRest(bool rest)
{
    const QString style = rest ? menuButtonStyle + QString::fromLatin1(menuAtRestStyle) : menuButtonStyle;
    if (ui->btnMenu->styleSheet() != style)
        ui->btnMenu->setStyleSheet(style);
}

bool EITitleBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->btnMenu && event->type() == QEvent::Enter)
        setMenuButtonAtRest(false);
    return QWidget::eventFilter(watched, event);
}

void EITitleBar::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QBrush(background));
    painter.setPen(Qt::transparent);
    if (roundClose) {
        QRect card = rect();
        card.setHeight(card.height() - 1);
        painter.drawRoundedRect(card, 6.0, 6.0);
    } else {
        painter.drawRect(rect());
        painter.setBrush(QBrush(background));
        painter.drawRect(rect());
    }
    // Squares the lower corners again, so only the top ones stay round.
    QPainterPath lower;
    lower.setFillRule(Qt::WindingFill);
    lower.addRect(0, 10, width(), height() - 10);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.fillPath(lower, QBrush(background));
    QWidget::paintEvent(event);
}
