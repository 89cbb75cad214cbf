#pragma once

#include <QPoint>
#include <QWidget>

class EITitleBar;
class QEventLoop;

namespace Ui {
struct EIDialog;
}

// The frameless dialog base: dark title bar with a close button, a white
// rounded card, up to two buttons and a blocking exec(). A dialog made with
// a parent is a child drawn inside it (usually the busy overlay) and exec()
// centres it there. Subclasses validate their fields in doOk() and call the
// base doOk() only when they are good.
class EIDialog : public QWidget
{
    Q_OBJECT

public:
    // What exec() returns.
    enum ResultCode { Cancel = 0, Ok = 1, Retry = 2, Close = 3 };

    explicit EIDialog(QWidget* parent = nullptr);
    ~EIDialog() override;

    // Shows the dialog and waits in a nested event loop until it closes.
    int exec();

    // 0 "确定"; 1 "确定" and "取消"; 3 "是" and "否"; 4 no buttons; other
    // kinds change nothing. A button hidden once stays hidden.
    void setButtons(int kind);
    void setButtonTexts(QString firstText, QString secondText);
    void setMovable(bool movable);
    void setTitle(const QString& title);
    EITitleBar* titleBar() const;
    void addContentWidget(QWidget* widget);

    virtual void doOk();
    virtual void doCancel();
    virtual void doRetry();
    virtual void doClose();

signals:
    void onOk();
    void onCancel();
    void onRetry();
    void onClose();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    Ui::EIDialog* ui;

private:
    void finish(int code);

    QEventLoop* loop = nullptr;
    // A close that no completion operation asked for reads as cancel.
    int result = Cancel;
    QPoint pressPos;
    bool pressed = false;
    bool movable = false;
};
