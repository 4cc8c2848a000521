#include "platform/Display.h"

#include <X11/Xlib.h>

bool DisplayAvailable() {
    return DisplayAvailable(nullptr);
}

bool DisplayAvailable(const char* displayName) {
    Display* display = XOpenDisplay(displayName);
    if (!display) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}
