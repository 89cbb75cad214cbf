#pragma once

#include "platform/windowdrag.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

// The base of the main window: a top-level window without the system
// caption and frame that still moves by its title bar and resizes by its
// edges. Pressing on an empty part of the registered title bar (or on one of
// its ignored children) drags the window, a double click there maximises
// or restores it where the system offers a maximise box, and the outer
// borderWidth pixels resize it with the matching pointer shape.
class CFramelessWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit CFramelessWindow(QWidget* parent = nullptr);
    ~CFramelessWindow() override;

    // The widget that acts as caption; null stops dragging (the busy
    // overlay does that while it is up).
    void setTitleBar(QWidget* bar);
    // A child of the title bar over which a press still drags the window.
    void addIgnoreWidget(QWidget* widget);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchNativeWindow();
    bool onCaption(const QPoint& windowPos) const;
    Qt::Edges resizeEdgesAt(const QPoint& windowPos) const;
    void showResizeCursor(Qt::Edges edges);
    bool handleMouse(QMouseEvent* event);

    QPointer<QWidget> titleBar;
    QList<QWidget*> ignoreWidgets;
    // Resize zone width in device-independent pixels.
    int borderWidth = 5;
    bool resizeable = true;

    QPointer<QWindow> watched;
    // A press waiting for the pointer to move before a drag starts, so
    // that clicks and double clicks on the caption stay clicks.
    bool pressPending = false;
    Qt::Edges pressEdges;
    QPoint pressGlobal;
    platform::WindowDrag drag;
    bool cursorShown = false;
};
