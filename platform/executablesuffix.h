#pragma once

#include <QString>

namespace platform {

// What the system adds to a program's file name: ".exe" on Windows.
inline QString executableSuffix()
{
#ifdef Q_OS_WIN
    return QStringLiteral(".exe");
#else
    return QString();
#endif
}

} // namespace platform
