#include "app/shell/startup.h"

#include "app/shell/eimainwindow.h"
#include "platform/windowsversion.h"

#include <QGuiApplication>
#include <QScreen>

QPoint centredPosition(const QSize& desktop, const QSize& window)
{
    // Integer division truncates toward zero, also for an overhang.
    return QPoint((desktop.width() - window.width()) / 2, (desktop.height() - window.height()) / 2);
}

void showMainWindow(EIMainWindow& window)
{
    QRect desktop;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        desktop = screen->geometry();
    window.move(desktop.topLeft() + centredPosition(desktop.size(), window.size()));
    if (platform::windowsVersion() == platform::WindowsVersion10)
        window.showNormal();
    else
        window.showFullScreen();
}
