#pragma once

// Tells the operator that the program is about to end after a crash. The
// platform layer calls it on the GUI thread only, after the crash file is
// written; the process ends when it returns.
void crashHandler();

// Installs crashHandler for fatal signals and std::terminate; call it on
// the GUI thread once the application object exists.
void setupCrashHandler();
