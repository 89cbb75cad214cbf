#include "widgets/kit/cframelesswindow.h"

#include "platform/windowsversion.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

CFramelessWindow::CFramelessWindow(QWidget* parent) : QMainWindow(parent)
{
    setWindowFlags(windowFlags() | Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint);
}

CFramelessWindow::~CFramelessWindow()
{
    if (watched)
        watched->removeEventFilter(this);
}

void CFramelessWindow::setTitleBar(QWidget* bar)
{
    titleBar = bar;
}

void CFramelessWindow::addIgnoreWidget(QWidget* widget)
{
    if (widget && !ignoreWidgets.contains(widget))
        ignoreWidgets.append(widget);
}

bool CFramelessWindow::event(QEvent* event)
{
    // The native window appears (or is made anew) at these two moments.
    if (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show)
        watchNativeWindow();
    return QMainWindow::event(event);
}

void CFramelessWindow::watchNativeWindow()
{
    QWindow* window = windowHandle();
    if (!window || window == watched)
        return;
    if (watched)
        watched->removeEventFilter(this);
    watched = window;
    // Filtering the window, not the widgets, sees every press before the
    // child under the pointer does, as a system frame would.
    window->installEventFilter(this);
}

bool CFramelessWindow::onCaption(const QPoint& windowPos) const
{
    if (!titleBar || !titleBar->isVisible())
        return false;
    const QPoint local = titleBar->mapFrom(this, windowPos);
    if (!titleBar->rect().contains(local))
        return false;
    QWidget* child = titleBar->childAt(local);
    return !child || ignoreWidgets.contains(child);
}

Qt::Edges CFramelessWindow::resizeEdgesAt(const QPoint& windowPos) const
{
    // A maximised or full-screen window has no edges to drag.
    if (!resizeable || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return {};
    return platform::frameEdgesAt(size(), windowPos, borderWidth, minimumWidth() != maximumWidth(),
                                  minimumHeight() != maximumHeight());
}

void CFramelessWindow::showResizeCursor(Qt::Edges edges)
{
    if (edges) {
        setCursor(platform::resizeCursor(edges));
        cursorShown = true;
    } else if (cursorShown) {
        unsetCursor();
        cursorShown = false;
    }
}

bool CFramelessWindow::eventFilter(QObject* object, QEvent* event)
{
    if (object == watched) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            if (handleMouse(static_cast<QMouseEvent*>(event)))
                return true;
            break;
        case QEvent::Leave:
            if (!drag.following() && !pressPending)
                showResizeCursor({});
            break;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(object, event);
}

bool CFramelessWindow::handleMouse(QMouseEvent* event)
{
    const QPoint pos = event->pos();
    switch (event->type()) {
    case QEvent::MouseMove:
        if (drag.following()) {
            drag.follow(event->globalPos());
            return true;
        }
        if (pressPending) {
            if (!(event->buttons() & Qt::LeftButton)) {
                pressPending = false;
                return false;
            }
            const bool resizing = bool(pressEdges);
            const int moved = (event->globalPos() - pressGlobal).manhattanLength();
            if (resizing || moved >= QApplication::startDragDistance()) {
                pressPending = false;
                if (drag.begin(windowHandle(), pressEdges, pressGlobal))
                    drag.follow(event->globalPos());
            }
            return true;
        }
        if (event->buttons() == Qt::NoButton)
            showResizeCursor(resizeEdgesAt(pos));
        return false;

    case QEvent::MouseButtonPress:
        if (event->button() != Qt::LeftButton)
            return false;
        pressEdges = resizeEdgesAt(pos);
        if (!pressEdges && !onCaption(pos))
            return false;
        pressPending = true;
        pressGlobal = event->globalPos();
        return true;

    case QEvent::MouseButtonRelease:
        if (event->button() != Qt::LeftButton || (!pressPending && !drag.following()))
            return false;
        pressPending = false;
        drag.end();
        return true;

    case QEvent::MouseButtonDblClick:
        if (event->button() != Qt::LeftButton || resizeEdgesAt(pos) || !onCaption(pos))
            return false;
        pressPending = false;
        drag.end();
        // The system's double click maximises only windows that have a
        // maximise box, which the frameless window keeps on Windows 10 only.
        if (platform::windowsVersion() == platform::WindowsVersion10) {
            if (windowState() & Qt::WindowMaximized)
                showNormal();
            else if (!(windowState() & Qt::WindowFullScreen))
                showMaximized();
        }
        return true;

    default:
        return false;
    }
}
