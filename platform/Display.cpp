#include "platform/Display.h"

#include <X11/Xlib.h>

namespace {
// The connection that answered the check stays open until the process ends. Closing it
// could be the server's last client going, and an X server that resets at that moment
// (as xvfb-run's does) refuses the game's own connection a moment later.
Display* g_checkedDisplay = nullptr;
}  // namespace

bool DisplayAvailable(const char* displayName) {
    Display* display = XOpenDisplay(displayName);
    if (!display) {
        return false;
    }
    if (g_checkedDisplay) {
        XCloseDisplay(g_checkedDisplay);
    }
    g_checkedDisplay = display;
    return true;
}
