#pragma once

// Showing a folder in the desktop's file manager, as after a finished save.

#include <QString>

#include <functional>

namespace platform {

// Opens `folder` in the file manager; false when the desktop refused.
bool openFolder(const QString& folder);

// Replaces what openFolder does (tests record the folder instead of opening
// a window); an empty function goes back to the desktop's file manager.
using FolderOpener = std::function<bool(const QString& folder)>;
void setFolderOpener(FolderOpener opener);

// The command line that shows `folder` in Explorer on Windows: "explorer",
// two blanks, the folder with backslashes and a trailing backslash.
QString explorerCommandLine(const QString& folder);

} // namespace platform
