#pragma once

#include "launcher/ui_launcher.h"

#include <QMainWindow>
#include <QString>

// The launcher's window. It is built for form's sake and never shown: the
// launcher only starts the main program and ends.
class Launcher : public QMainWindow
{
    Q_OBJECT

public:
    explicit Launcher(QWidget* parent = nullptr);

private:
    Ui_LauncherClass ui;
};

namespace launcher {

// The build of the main program for a Windows version as Qt reports it,
// relative to the working folder: "./kestrun" from Vista (0x80) on,
// "./dovrane" before, each with the system's program suffix.
QString mainProgramFor(int windowsVersion);

// Starts that build for the running version, detached and without
// arguments, and returns 0; or warns that it is missing (or a folder) or
// would not start, and returns 1. Runs no event loop of its own (the
// warning waits in its box). Needs the application object.
int launchMainProgram();

} // namespace launcher
