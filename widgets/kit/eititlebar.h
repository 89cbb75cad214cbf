#pragma once

#include <QColor>
#include <QLabel>
#include <QMenu>
#include <QWidget>

namespace Ui {
struct EITitleBar;
}

// The dark caption strip of the frameless main window and of every dialog:
// logo, title, a menu button and the window buttons. It moves no window
// itself; its owner connects the four signals.
class EITitleBar : public QWidget
{
    Q_OBJECT

public:
    explicit EITitleBar(QWidget* parent = nullptr);
    ~EITitleBar() override;

    void setTitle(const QString& title);
    QLabel* titleLabel() const;
    QMenu* menu() const { return dropMenu; }

    void setLogoVisible(bool visible);
    // The menu button and the separator before it go together.
    void setMenuVisible(bool visible);
    void setMaxVisible(bool visible);
    void setRestoreVisible(bool visible);
    // 0: close only; 1: minimise and close. It only ever hides buttons.
    void setWindowButtons(int kind);
    // The dialog look: round close button and rounded top corners.
    void setRoundClose(bool round);

signals:
    void onMin();
    void onMax();
    void onRestore();
    void onClose();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setMenuButtonAtRest(bool rest);

    Ui::EITitleBar* ui;
    QMenu* dropMenu = nullptr;
    QColor background;
    bool roundClose = false;
    QString menuButtonStyle;
};
