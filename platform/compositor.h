#pragma once

#include <optional>

namespace platform {

// Whether top-level windows with a translucent background are composited.
// On an X11 display without a compositing manager Qt still gives such a
// window an alpha visual, and its transparent pixels come out black; those
// windows must paint every pixel opaque. Other platforms always composite.
bool translucentWindowsSupported();

// Lets tests force either answer; std::nullopt asks the display again.
void overrideTranslucentWindowsSupported(std::optional<bool> supported);

} // namespace platform
