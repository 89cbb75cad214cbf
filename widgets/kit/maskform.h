#pragma once

#include <QFrame>
#include <QPointer>

class QLabel;

// The grey busy layer laid over the whole main window while a long
// operation runs or a dialog is open. Dialogs take it as their parent, so
// they are drawn above it; everything under it gets neither mouse nor keys.
class MaskForm : public QFrame
{
    Q_OBJECT

public:
    explicit MaskForm(QWidget* parent = nullptr);
    ~MaskForm() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    QLabel* label;
    // Where the keyboard focus was before the overlay took it.
    QPointer<QWidget> focusBefore;
};
