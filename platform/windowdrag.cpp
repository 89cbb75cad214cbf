#include "platform/windowdrag.h"

#include <QtGlobal>

namespace platform {

Qt::Edges frameEdgesAt(const QSize& windowSize, const QPoint& pos, int border, bool resizeWidth, bool resizeHeight)
{
    Qt::Edges edges;
    if (border <= 0 || !QRect(QPoint(0, 0), windowSize).contains(pos))
        return edges;
    if (resizeWidth) {
        if (pos.x() < border)
            edges |= Qt::LeftEdge;
        else if (pos.x() >= windowSize.width() - border)
            edges |= Qt::RightEdge;
    }
    if (resizeHeight) {
        if (pos.y() < border)
            edges |= Qt::TopEdge;
        else if (pos.y() >= windowSize.height() - border)
            edges |= Qt::BottomEdge;
    }
    return edges;
}

Qt::CursorShape resizeCursor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool mainDiagonal = bool(edges & Qt::LeftEdge) == bool(edges & Qt::TopEdge);
        return mainDiagonal ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (horizontal)
        return Qt::SizeHorCursor;
    if (vertical)
        return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

QRect resizedGeometry(const QRect& start, Qt::Edges edges, const QPoint& delta, const QSize& minSize,
                      const QSize& maxSize)
{
    int left = start.left();
    int top = start.top();
    int width = start.width();
    int height = start.height();
    const int minWidth = qMax(1, minSize.width());
    const int minHeight = qMax(1, minSize.height());
    const int maxWidth = qMax(minWidth, maxSize.width());
    const int maxHeight = qMax(minHeight, maxSize.height());

    if (edges & Qt::LeftEdge) {
        width = qBound(minWidth, start.width() - delta.x(), maxWidth);
        left = start.left() + start.width() - width;
    } else if (edges & Qt::RightEdge) {
        width = qBound(minWidth, start.width() + delta.x(), maxWidth);
    }
    if (edges & Qt::TopEdge) {
        height = qBound(minHeight, start.height() - delta.y(), maxHeight);
        top = start.top() + start.height() - height;
    } else if (edges & Qt::BottomEdge) {
        height = qBound(minHeight, start.height() + delta.y(), maxHeight);
    }
    return QRect(left, top, width, height);
}

bool WindowDrag::begin(QWindow* target, Qt::Edges dragEdges, const QPoint& globalPos)
{
    end();
    if (!target)
        return false;
    const bool systemDoesIt = dragEdges ? target->startSystemResize(dragEdges) : target->startSystemMove();
    if (systemDoesIt)
        return true;
    window = target;
    edges = dragEdges;
    pressGlobal = globalPos;
    startGeometry = target->geometry();
    return true;
}

bool WindowDrag::follow(const QPoint& globalPos)
{
    if (!window)
        return false;
    const QPoint delta = globalPos - pressGlobal;
    if (!edges) {
        window->setPosition(startGeometry.topLeft() + delta);
        return true;
    }
    window->setGeometry(
        resizedGeometry(startGeometry, edges, delta, window->minimumSize(), window->maximumSize()));
    return true;
}

void WindowDrag::end()
{
    window.clear();
    edges = {};
}

} // namespace platform
