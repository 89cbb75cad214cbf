#pragma once

// Shared by the widget kit's tests. Mouse events go through the window
// system (QTEST_QPA_MOUSE_HANDLING), as a real pointer's would, so that the
// frameless window sees them before its children; every test file of this
// suite includes <QtTest> through here so they all agree on it.

#define QTEST_QPA_MOUSE_HANDLING
#include <QtTest>

#include <QPushButton>
#include <QWidget>

namespace kittest {

// The visible push buttons inside `root`, in creation order.
inline QList<QPushButton*> visibleButtons(const QWidget* root)
{
    QList<QPushButton*> shown;
    for (QPushButton* button : root->findChildren<QPushButton*>())
        if (button->isVisible())
            shown.append(button);
    return shown;
}

// The visible buttons of an EIDialog's button row (not its title bar's).
inline QList<QPushButton*> dialogButtons(const QWidget* dialog)
{
    const QWidget* card = dialog->findChild<QWidget*>(QStringLiteral("centeralFrame"));
    return card ? visibleButtons(card) : QList<QPushButton*>();
}

inline QStringList texts(const QList<QPushButton*>& buttons)
{
    QStringList list;
    for (const QPushButton* button : buttons)
        list.append(button->text());
    return list;
}

// The first visible child of type T inside `root`, or null.
template <typename T>
T* visibleChild(const QWidget* root)
{
    for (T* child : root->findChildren<T*>())
        if (child->isVisible())
            return child;
    return nullptr;
}

inline void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

} // namespace kittest
