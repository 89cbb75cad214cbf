#pragma once

// Shared by the program shell's tests, on top of the I/O tests' helpers
// (which also switch on QTEST_QPA_MOUSE_HANDLING for the whole suite).

#include "tests/app/iotest.h"

#include <QApplication>

#include <functional>
#include <ostream>

// Readable positions in failure messages.
inline void PrintTo(const QPoint& point, std::ostream* out)
{
    *out << "(" << point.x() << ", " << point.y() << ")";
}

namespace apptest {

using iotest::click;
using iotest::Message;

// The message box on screen: inside `root` when given, else a top level.
inline EIMessageBox* visibleMessageBox(const QWidget* root = nullptr)
{
    QList<EIMessageBox*> boxes;
    if (root) {
        boxes = root->findChildren<EIMessageBox*>();
    } else {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<EIMessageBox*>(widget))
                boxes.append(box);
    }
    for (EIMessageBox* box : boxes)
        if (box->isVisible())
            return box;
    return nullptr;
}

// Waits in the event loop until a message box shows, records it, runs
// `whileShown`, then presses its button `answer`. Set it up before the
// action that opens the box.
inline void answerWhenShown(const QWidget* root, const QString& answer, Message* record,
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
            *record = iotest::read(box);
        if (whileShown)
            whileShown();
        if (!iotest::clickButton(box, answer))
            ADD_FAILURE() << "no button " << answer.toStdString();
    });
    poll->start();
}

} // namespace apptest
