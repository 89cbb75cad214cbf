#pragma once

// Moving and resizing a frameless top-level window with the mouse. The
// window system does the work where it offers it (QWindow::startSystemMove
// and startSystemResize); where it refuses (no window manager, the
// offscreen platform) the window follows the pointer itself.

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWindow>

namespace platform {

// The window edges that the point `pos` (window coordinates) lies on, for
// resize zones `border` pixels wide. An axis whose size is fixed has no zone.
Qt::Edges frameEdgesAt(const QSize& windowSize, const QPoint& pos, int border, bool resizeWidth, bool resizeHeight);

// The pointer shape that announces a resize of these edges; the arrow for none.
Qt::CursorShape resizeCursor(Qt::Edges edges);

// `start` with the given edges dragged by `delta`, its size kept between
// `minSize` and `maxSize`; the opposite edges stay where they were.
QRect resizedGeometry(const QRect& start, Qt::Edges edges, const QPoint& delta, const QSize& minSize,
                      const QSize& maxSize);

class WindowDrag
{
public:
    // Starts moving (no edges) or resizing `window` from the pointer at
    // `globalPos`. False when there is no window.
    bool begin(QWindow* window, Qt::Edges edges, const QPoint& globalPos);

    // Follows the pointer while the window system does not; true when the
    // window was moved or resized.
    bool follow(const QPoint& globalPos);

    void end();

    // A drag that this object carries out itself is under way.
    bool following() const { return !window.isNull(); }

private:
    QPointer<QWindow> window;
    Qt::Edges edges;
    QPoint pressGlobal;
    QRect startGeometry;
};

} // namespace platform
