#pragma once

// Shared by the program shell's tests. Mouse events go through the window
// system (QTEST_QPA_MOUSE_HANDLING), as a real pointer's would, so that the
// frameless window and the canvas see them as they would see the user's.

#define QTEST_QPA_MOUSE_HANDLING
#include <QtTest>

#include "widgets/eimessagebox.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <functional>
#include <ostream>

// Readable positions in failure messages.
inline void PrintTo(const QPoint& point, std::ostream* out)
{
    *out << "(" << point.x() << ", " << point.y() << ")";
}

namespace apptest {

// The message box on screen: inside `root` when given, else any top level.
inline EIMessageBox* visibleMessageBox(const QWidget* root = nullptr)
{
    const QList<EIMessageBox*> boxes =
        root ? root->findChildren<EIMessageBox*>() : [] {
            QList<EIMessageBox*> found;
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<EIMessageBox*>(widget))
                    found.append(box);
            return found;
        }();
    for (EIMessageBox* box : boxes)
        if (box->isVisible())
            return box;
    return nullptr;
}

// What a reader of the box sees: its visible label texts and button texts.
struct SeenBox
{
    QStringList labels;
    QStringList buttons;
};

inline SeenBox seen(const QWidget* box)
{
    SeenBox result;
    for (const QLabel* label : box->findChildren<QLabel*>())
        if (label->isVisible() && !label->text().isEmpty())
            result.labels.append(label->text());
    for (const QPushButton* button : box->findChildren<QPushButton*>())
        if (button->isVisible() && !button->text().isEmpty())
            result.buttons.append(button->text());
    return result;
}

inline void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

inline bool clickButton(const QWidget* root, const QString& text)
{
    for (QPushButton* button : root->findChildren<QPushButton*>())
        if (button->isVisible() && button->text() == text) {
            click(button);
            return true;
        }
    return false;
}

// Waits in the event loop until a message box shows, records what it
// showed, then answers it with the button `answer`. Set it up before the
// action that opens the box.
inline void answerWhenShown(const QWidget* root, const QString& answer, SeenBox* record,
                            std::function<void()> whileShown = {})
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [=] {
        EIMessageBox* box = visibleMessageBox(root);
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        if (record)
            *record = seen(box);
        if (whileShown)
            whileShown();
        clickButton(box, answer);
    });
    poll->start();
}

} // namespace apptest
