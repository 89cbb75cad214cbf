#pragma once

#include <QPoint>
#include <QSize>

class EIMainWindow;

// Where a window of size `window` sits centred on a desktop of size
// `desktop`; a window larger than the desktop overhangs both sides equally.
QPoint centredPosition(const QSize& desktop, const QSize& window);

// Centres the main window on the primary screen and shows it: normally on
// Windows 10, full screen on any other version.
void showMainWindow(EIMainWindow& window);
