#include "platform/compositor.h"

#include <QGuiApplication>

#ifdef TOLLIVAR_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <string>
#endif

namespace platform {

namespace {

std::optional<bool> forced;
std::optional<bool> cached;

#ifdef TOLLIVAR_HAVE_XCB
// A compositing manager owns the selection _NET_WM_CM_S<screen> (EWMH).
bool x11CompositorRunning()
{
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    if (!connection || xcb_connection_has_error(connection)) {
        if (connection)
            xcb_disconnect(connection);
        return false;
    }
    const std::string name = "_NET_WM_CM_S" + std::to_string(screen);
    bool owned = false;
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    if (atom) {
        xcb_get_selection_owner_reply_t* owner =
            xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
        if (owner) {
            owned = owner->owner != XCB_NONE;
            std::free(owner);
        }
        std::free(atom);
    }
    xcb_disconnect(connection);
    return owned;
}
#endif

bool askDisplay()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return true;
#ifdef TOLLIVAR_HAVE_XCB
    return x11CompositorRunning();
#else
    return false; // unknown: opaque windows are never wrong, only less round
#endif
}

} // namespace

bool translucentWindowsSupported()
{
    if (forced)
        return *forced;
    // Asked once: the answer is read on every paint of such a window.
    if (!cached)
        cached = askDisplay();
    return *cached;
}

void overrideTranslucentWindowsSupported(std::optional<bool> supported)
{
    forced = supported;
    if (!supported)
        cached.reset();
}

} // namespace platform
