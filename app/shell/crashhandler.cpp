#include "app/shell/crashhandler.h"

#include "platform/crashguard.h"
#include "widgets/kit/eimessagebox.h"

#include <QApplication>
#include <QScreen>

void crashHandler()
{
    // Without a GUI application (a crash while statics are destroyed) a
    // widget would only crash again.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    // Built here rather than through EIMessageBox::question: a box without
    // a parent would open in the screen's corner, far from the window.
    EIMessageBox box;
    box.setTitle(QStringLiteral("提示"));
    box.setText(QStringLiteral("程序遇到异常，即将退出！"));
    box.setIcon(EIMessageBox::Question);
    box.setButtons(0);
    box.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = box.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        box.move(frame.topLeft());
    }
    box.exec();
}

void setupCrashHandler()
{
    platform::installCrashHandler(&crashHandler);
}
