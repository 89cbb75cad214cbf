#pragma once

// Drives a graphics view with real mouse events, addressed in scene units.

#define QTEST_QPA_MOUSE_HANDLING
#include <QtTest>

#include <QGraphicsItem>
#include <QGraphicsView>

namespace viewdriver {

inline QPoint pixelOf(QGraphicsView* view, const QPointF& scenePoint)
{
    return view->mapFromScene(scenePoint);
}

inline void moveTo(QGraphicsView* view, const QPointF& scenePoint)
{
    QTest::mouseMove(view->viewport(), pixelOf(view, scenePoint));
}

inline void press(QGraphicsView* view, const QPointF& scenePoint, Qt::MouseButton button = Qt::LeftButton)
{
    moveTo(view, scenePoint);
    QTest::mousePress(view->viewport(), button, Qt::NoModifier, pixelOf(view, scenePoint));
}

inline void release(QGraphicsView* view, const QPointF& scenePoint, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseRelease(view->viewport(), button, Qt::NoModifier, pixelOf(view, scenePoint));
}

inline void click(QGraphicsView* view, const QPointF& scenePoint, Qt::MouseButton button = Qt::LeftButton)
{
    press(view, scenePoint, button);
    release(view, scenePoint, button);
}

// Press, move in `steps` even steps, no release.
inline void dragWithoutRelease(QGraphicsView* view, const QPointF& from, const QPointF& to,
                               Qt::MouseButton button = Qt::LeftButton, int steps = 4)
{
    press(view, from, button);
    for (int i = 1; i <= steps; ++i)
        moveTo(view, from + (to - from) * i / steps);
}

inline void drag(QGraphicsView* view, const QPointF& from, const QPointF& to,
                 Qt::MouseButton button = Qt::LeftButton, int steps = 4)
{
    dragWithoutRelease(view, from, to, button, steps);
    release(view, to, button);
}

// Paints the viewport now, so items run their paint-time layout (handles).
inline void paintNow(QGraphicsView* view)
{
    QCoreApplication::processEvents();
    view->viewport()->repaint();
}

template<typename T>
QList<T*> childrenOfType(QGraphicsItem* parent)
{
    QList<T*> found;
    for (QGraphicsItem* child : parent->childItems()) {
        if (child->type() == T::Type)
            found.append(static_cast<T*>(child));
    }
    return found;
}

} // namespace viewdriver
