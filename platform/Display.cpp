#include "platform/Display.h"

#include <initializer_list>

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

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

void LetMenusTakeTheirClicks(bool menuShown) {
    Display* display = glXGetCurrentDisplay();
    int pointer = 0;
    if (!display || !XIGetClientPointer(display, None, &pointer)) {
        return;
    }
    if (!menuShown) {
        XIUngrabDevice(display, pointer, CurrentTime);
        return;
    }
    // The grab the button's press began, taken over with the pointer's events going to the
    // game's window under it: a menu's own window, which freeglut reads rightly.
    unsigned char events[XIMaskLen(XI_LASTEVENT)] = {};
    for (const int event : {XI_ButtonPress, XI_ButtonRelease, XI_Motion, XI_Enter, XI_Leave}) {
        XISetMask(events, event);
    }
    XIEventMask mask = {pointer, sizeof events, events};
    XIGrabDevice(display, pointer, glXGetCurrentDrawable(), CurrentTime, None, XIGrabModeAsync,
                 XIGrabModeAsync, True, &mask);
}
