#pragma once

#include <QFrame>
#include <QPixmap>
#include <QPoint>

class EIGraphicsView;
class QButtonGroup;
class QLabel;

namespace Ui {
struct ImageViewer;
}

// The framing page of the main window: the page image on the canvas with a
// red page label floating over it, the step tip, the buttons of the current
// step and the page buttons. It turns the step buttons into signals for the
// main window's step machine.
class ImageViewer : public QFrame
{
    Q_OBJECT

public:
    explicit ImageViewer(QWidget* parent = nullptr);
    ~ImageViewer() override;

    // The canvas; the scene is reached through it and never replaced.
    EIGraphicsView* graphicsView() const;
    // Shows a copy of the page image: fitted to the view, or at the current
    // zoom with keepZoom.
    void showPixmap(const QPixmap& pixmap, bool keepZoom);
    // The tip line reads "温馨提示：" and the text.
    void setTipText(const QString& text);
    // Moves the page label to `pos` (a null point keeps it where it is) and
    // sets its text size in pixels.
    void showTip(QPoint pos, int pixelSize);

signals:
    void showMessage(const QString& title, const QString& content);
    void nextStepClicked();
    void jumpClicked();
    void saveClicked();
    void optAssociate();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Keeps the floating page label in the canvas's bottom-right corner.
    void placeFacePanel();

    Ui::ImageViewer* ui;
    QLabel* pageLabel = nullptr;
    QButtonGroup* examNumberKindGroup = nullptr;
    QButtonGroup* absentGroup = nullptr;
};
