#include "widgets/kit/maskform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

MaskForm::MaskForm(QWidget* parent)
    : QFrame(parent), label(new QLabel(QStringLiteral("正在处理, 请稍后..."), this)), progress(new QLabel(this)),
      cancelButton(new QPushButton(QStringLiteral("取消"), this))
{
    auto* layout = new QVBoxLayout(this);
    label->setStyleSheet(QStringLiteral("font-size:16px;color:white;"));
    label->setAlignment(Qt::AlignCenter);
    layout->addStretch();
    layout->addWidget(label);
    progress->setStyleSheet(QStringLiteral("font-size:16px;color:white;"));
    progress->setAlignment(Qt::AlignCenter);
    progress->hide();
    layout->addWidget(progress);
    // The look of the window's blue action buttons, carried by the button
    // itself: a sheet on the overlay would reach the dialogs laid on it.
    cancelButton->setObjectName(QStringLiteral("themeBtn"));
    cancelButton->setFixedSize(90, 30);
    cancelButton->setStyleSheet(QStringLiteral(
        "QPushButton{background-color:rgba(81,167,230,1);border-radius:4px;font-size:14px;color:white;"
        "font-family:Microsoft YaHei;}"
        "QPushButton:pressed{background-color:#155D91;}"
        "QPushButton:hover{background-color:#2491E0;}"));
    cancelButton->hide();
    layout->addWidget(cancelButton, 0, Qt::AlignHCenter);
    layout->addStretch();
    connect(cancelButton, &QPushButton::clicked, this, &MaskForm::cancelClicked);
    setMouseTracking(false);
    // Holding the focus keeps keys (arrows on the canvas, space on a
    // button) away from the widgets underneath.
    setFocusPolicy(Qt::StrongFocus);
}

MaskForm::~MaskForm() = default;

void MaskForm::setProgressText(const QString& text)
{
    progress->setText(text);
    progress->setVisible(!text.isEmpty());
}

QString MaskForm::progressText() const
{
    return progress->isHidden() ? QString() : progress->text();
}

void MaskForm::showCancelButton()
{
    cancelButton->show();
}

bool MaskForm::isCancelButtonShown() const
{
    return !cancelButton->isHidden();
}

void MaskForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(156, 156, 156, 180));
}

void MaskForm::closeEvent(QCloseEvent* event)
{
    event->accept();
}

void MaskForm::showEvent(QShowEvent*)
{
    raise();
    activateWindow();
    QWidget* current = QApplication::focusWidget();
    if (current && current != this && !isAncestorOf(current))
        focusBefore = current;
    if (!current || !isAncestorOf(current))
        setFocus(Qt::OtherFocusReason);
}

void MaskForm::hideEvent(QHideEvent* event)
{
    QFrame::hideEvent(event);
    // The next operation under the overlay says for itself how far it is;
    // a minimised window keeps the current one's.
    if (!event->spontaneous()) {
        setProgressText(QString());
        cancelButton->hide();
    }
    if (focusBefore && focusBefore->isVisible() && focusBefore->isEnabled())
        focusBefore->setFocus(Qt::OtherFocusReason);
    focusBefore.clear();
}

// Tab must not walk out of the overlay into the widgets it covers: the
// focus moves only among the overlay and what lies on it (a dialog's fields).
bool MaskForm::focusNextPrevChild(bool next)
{
    QWidget* start = QApplication::focusWidget();
    if (!start || (start != this && !isAncestorOf(start)))
        start = this;
    QWidget* candidate = start;
    do {
        candidate = next ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
        const bool inside = candidate == this || isAncestorOf(candidate);
        if (inside && candidate->isVisibleTo(this) && candidate->isEnabled() &&
            (candidate->focusPolicy() & Qt::TabFocus)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    } while (candidate != start);
    return true;
}
