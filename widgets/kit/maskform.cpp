#include "widgets/kit/maskform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

MaskForm::MaskForm(QWidget* parent) : QFrame(parent), label(new QLabel(QStringLiteral("正在处理, 请稍后..."), this))
{
    auto* layout = new QVBoxLayout(this);
    label->setStyleSheet(QStringLiteral("font-size:16px;color:white;"));
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    setMouseTracking(false);
    // Holding the focus keeps keys (arrows on the canvas, space on a
    // button) away from the widgets underneath.
    setFocusPolicy(Qt::StrongFocus);
}

MaskForm::~MaskForm() = default;

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
