#pragma once

#include <QFrame>
#include <QPointer>

class QLabel;
class QPushButton;

// The grey busy layer laid over the whole main window while a long
// operation runs or a dialog is open. Dialogs take it as their parent, so
// they are drawn above it; everything under it gets neither mouse nor keys.
// A long operation that can be stopped (a scan) adds a line saying how far
// it is and a "取消" button; both go when the overlay is hidden.
class MaskForm : public QFrame
{
    Q_OBJECT

public:
    explicit MaskForm(QWidget* parent = nullptr);
    ~MaskForm() override;

    // The line under the busy text; empty hides it.
    void setProgressText(const QString& text);
    QString progressText() const;
    // Shows the "取消" button, which emits cancelClicked.
    void showCancelButton();
    bool isCancelButtonShown() const;

signals:
    void cancelClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    QLabel* label;
    QLabel* progress;
    QPushButton* cancelButton;
    // Where the keyboard focus was before the overlay took it.
    QPointer<QWidget> focusBefore;
};
