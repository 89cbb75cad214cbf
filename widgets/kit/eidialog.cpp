#include "widgets/kit/eidialog.h"

#include "platform/compositor.h"
#include "widgets/kit/eititlebar.h"
#include "widgets/kit/ui_eidialog.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

EIDialog::EIDialog(QWidget* parent) : QWidget(parent), ui(new Ui::EIDialog)
{
    ui->setupUi(this);

    // No window type: with a parent this is a child widget, not a window.
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    ui->titlebar->setLogoVisible(false);
    ui->titlebar->setWindowButtons(0);

    ui->buttonOk->setObjectName(QStringLiteral("themeBtn"));
    ui->buttonCancel->setObjectName(QStringLiteral("themeBtn"));

    // Through the virtual table, so a subclass's doOk is what OK runs.
    connect(ui->buttonOk, &QPushButton::clicked, this, [this] { doOk(); });
    connect(ui->buttonCancel, &QPushButton::clicked, this, [this] { doCancel(); });
    connect(ui->titlebar, &EITitleBar::onClose, this, [this] { doClose(); });
}

EIDialog::~EIDialog()
{
    // Destroyed while exec() waits (its parent went away): let exec return.
    if (loop)
        loop->exit(0);
    delete ui;
}

int EIDialog::exec()
{
    // A run ended by a bare close (not by a button) must not repeat the
    // answer of an earlier run, such as the OK of a rejected card name.
    result = Cancel;
    setWindowModality(Qt::WindowModal);
    show();
    // Centred in the parent's own rectangle: a child's position is in its
    // parent's coordinates, so the parent's offset in its own parent must
    // not be added.
    if (QWidget* p = parentWidget())
        move((p->width() - width()) / 2, (p->height() - height()) / 2);

    QPointer<EIDialog> alive(this);
    QEventLoop eventLoop;
    QEventLoop* outer = loop;
    loop = &eventLoop;
    eventLoop.exec();
    if (!alive)
        return Cancel;
    loop = outer;
    return result;
}

void EIDialog::setButtons(int kind)
{
    auto wideGap = [this] {
        ui->middleSpacer->changeSize(28, 32, QSizePolicy::Minimum, QSizePolicy::Minimum);
    };
    switch (kind) {
    case 0:
        ui->buttonOk->setText(QStringLiteral("确定"));
        ui->middleSpacer->changeSize(1, 32, QSizePolicy::Minimum, QSizePolicy::Minimum);
        ui->buttonCancel->hide();
        break;
    case 1:
        ui->buttonOk->setText(QStringLiteral("确定"));
        wideGap();
        ui->buttonCancel->setText(QStringLiteral("取消"));
        break;
    case 3:
        ui->buttonOk->setText(QStringLiteral("是"));
        wideGap();
        ui->buttonCancel->setText(QStringLiteral("否"));
        break;
    case 4:
        ui->buttonOk->hide();
        ui->buttonCancel->hide();
        break;
    default:
        return;
    }
    ui->horizontalLayout_2->invalidate();
}

void EIDialog::setButtonTexts(QString firstText, QString secondText)
{
    ui->buttonOk->setText(firstText);
    ui->buttonCancel->setText(secondText);
}

void EIDialog::setMovable(bool canMove)
{
    movable = canMove;
}

void EIDialog::setTitle(const QString& title)
{
    ui->titlebar->setTitle(title);
}

EITitleBar* EIDialog::titleBar() const
{
    return ui->titlebar;
}

void EIDialog::addContentWidget(QWidget* widget)
{
    ui->contentLayout_5->addWidget(widget);
}

void EIDialog::finish(int code)
{
    result = code;
    switch (code) {
    case Ok:
        emit onOk();
        break;
    case Cancel:
        emit onCancel();
        break;
    case Retry:
        emit onRetry();
        break;
    default:
        emit onClose();
        break;
    }
    close();
}

void EIDialog::doOk()
{
    finish(Ok);
}

void EIDialog::doCancel()
{
    finish(Cancel);
}

void EIDialog::doRetry()
{
    finish(Retry);
}

void EIDialog::doClose()
{
    finish(Close);
}

void EIDialog::mousePressEvent(QMouseEvent* event)
{
    pressed = false;
    if (event->button() == Qt::LeftButton && movable) {
        pressed = true;
        pressPos = event->pos();
        return;
    }
    QWidget::mousePressEvent(event);
}

void EIDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (pressed && movable) {
        move(pos() + event->pos() - pressPos);
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void EIDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && movable) {
        pressed = false;
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void EIDialog::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isWindow() && !platform::translucentWindowsSupported())
        painter.fillRect(rect(), Qt::white);
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    painter.setPen(Qt::transparent);
    painter.drawRoundedRect(rect().adjusted(0, 0, -1, -1), 6.0, 6.0, Qt::AbsoluteSize);
    QWidget::paintEvent(event);
}

void EIDialog::closeEvent(QCloseEvent* event)
{
    if (loop)
        loop->exit(0);
    event->accept();
}
