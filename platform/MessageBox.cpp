// The message box: a small X11 window with the text and an OK button that holds the game's
// thread until the player presses OK, Enter or Escape or closes the window.
#include "platform/MessageBox.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {
MessageBoxHandler g_testHandler = nullptr;

constexpr int kMargin = 20;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kButtonBottomGap = 14;   // from the button's bottom to the window's bottom

struct BoxLayout {
    int width = 0;
    int height = 0;
    int lineHeight = 0;
    int ascent = 0;
    int buttonX = 0;
    int buttonY = 0;
};

std::vector<std::string> SplitLines(const char* text) {
    std::vector<std::string> lines;
    std::string line;
    for (const char* c = text; *c; ++c) {
        if (*c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += *c;
        }
    }
    lines.push_back(line);
    return lines;
}

BoxLayout LayOut(const std::vector<std::string>& lines, XFontStruct* font) {
    BoxLayout layout;
    layout.ascent = font ? font->ascent : 12;
    layout.lineHeight = font ? font->ascent + font->descent + 2 : 16;
    int textWidth = 0;
    for (const std::string& line : lines) {
        const int width = font ? XTextWidth(font, line.c_str(), static_cast<int>(line.size()))
                               : static_cast<int>(line.size()) * 8;
        textWidth = std::max(textWidth, width);
    }
    layout.width = std::max(260, textWidth + 2 * kMargin);
    const int textHeight = static_cast<int>(lines.size()) * layout.lineHeight;
    layout.height = kMargin + textHeight + kMargin + kButtonHeight + kButtonBottomGap;
    layout.buttonX = (layout.width - kButtonWidth) / 2;
    layout.buttonY = layout.height - kButtonBottomGap - kButtonHeight;
    return layout;
}

void Paint(Display* display, Window window, GC gc, const BoxLayout& layout,
           const std::vector<std::string>& lines) {
    XClearWindow(display, window);
    int y = kMargin + layout.ascent;
    for (const std::string& line : lines) {
        XDrawString(display, window, gc, kMargin, y, line.c_str(), static_cast<int>(line.size()));
        y += layout.lineHeight;
    }
    XDrawRectangle(display, window, gc, layout.buttonX, layout.buttonY, kButtonWidth,
                   kButtonHeight);
    const char* ok = "OK";
    XDrawString(display, window, gc, layout.buttonX + kButtonWidth / 2 - 7,
                layout.buttonY + kButtonHeight / 2 + layout.ascent / 2 - 1, ok, 2);
}

bool InButton(const BoxLayout& layout, int x, int y) {
    return x >= layout.buttonX && x <= layout.buttonX + kButtonWidth && y >= layout.buttonY &&
           y <= layout.buttonY + kButtonHeight;
}

// Titles the window for the window manager and for tools that look for it by name.
void SetTitle(Display* display, Window window, const char* caption) {
    XStoreName(display, window, caption);
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, netName, utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(caption),
                    static_cast<int>(std::strlen(caption)));
    const Atom windowType = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    Atom dialog = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(display, window, windowType, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&dialog), 1);
}

Window CreateBox(Display* display, const BoxLayout& layout, const char* caption, Atom deleteAtom) {
    const int screen = DefaultScreen(display);
    const int x = std::max(0, (DisplayWidth(display, screen) - layout.width) / 2);
    const int y = std::max(0, (DisplayHeight(display, screen) - layout.height) / 2);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), x, y,
                                              static_cast<unsigned>(layout.width),
                                              static_cast<unsigned>(layout.height), 1,
                                              BlackPixel(display, screen),
                                              WhitePixel(display, screen));
    SetTitle(display, window, caption);
    XSizeHints hints{};
    hints.flags = PPosition | PMinSize | PMaxSize;
    hints.x = x;
    hints.y = y;
    hints.min_width = hints.max_width = layout.width;
    hints.min_height = hints.max_height = layout.height;
    XSetWMNormalHints(display, window, &hints);
    Atom protocols[] = {deleteAtom};
    XSetWMProtocols(display, window, protocols, 1);
    XSelectInput(display, window,
                 ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                     StructureNotifyMask);
    return window;
}

bool IsDismissKey(XKeyEvent& event) {
    const KeySym key = XLookupKeysym(&event, 0);
    return key == XK_Return || key == XK_KP_Enter || key == XK_Escape;
}

int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

// What the box has seen of the player so far.
struct BoxInput {
    bool pressedInButton = false;
    unsigned pressedKey = 0;   // a dismissing key pressed while the box had the focus
    bool destroyed = false;    // someone else destroyed the window
};

// Handles one event of the box's window; true when it dismisses the box.
bool HandleEvent(const XEvent& event, const BoxLayout& layout, Atom deleteAtom, BoxInput& input) {
    switch (event.type) {
    case KeyPress: {
        XKeyEvent key = event.xkey;
        input.pressedKey = IsDismissKey(key) ? key.keycode : 0;
        return false;
    }
    case KeyRelease:
        // On release, so that the release does not go to whatever window lies below.
        return input.pressedKey != 0 && event.xkey.keycode == input.pressedKey;
    case ButtonPress:
        input.pressedInButton = event.xbutton.button == Button1 &&
                                InButton(layout, event.xbutton.x, event.xbutton.y);
        return false;
    case ButtonRelease: {
        const bool clicked = input.pressedInButton && InButton(layout, event.xbutton.x, event.xbutton.y);
        input.pressedInButton = false;
        return clicked;
    }
    case ClientMessage:
        return static_cast<Atom>(event.xclient.data.l[0]) == deleteAtom;
    case DestroyNotify:
        input.destroyed = true;
        return true;
    default:
        return false;
    }
}

// Shows a box until it is dismissed and hides it; returns its window, or 0 when it is gone.
Window RunBox(Display* display, const char* text, const char* caption) {
    const std::vector<std::string> lines = SplitLines(text);
    XFontStruct* font = XLoadQueryFont(display, "fixed");
    const BoxLayout layout = LayOut(lines, font);
    const Atom deleteAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);
    const Window window = CreateBox(display, layout, caption, deleteAtom);
    const GC gc = XCreateGC(display, window, 0, nullptr);
    if (font) XSetFont(display, gc, font->fid);
    XSetForeground(display, gc, BlackPixel(display, DefaultScreen(display)));
    XMapRaised(display, window);

    BoxInput input;
    bool dismissed = false;
    while (!dismissed) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.xany.window != window) {
            continue;   // late events for an earlier box
        }
        if (event.type == MapNotify) {
            XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
        } else if (event.type == Expose && event.xexpose.count == 0) {
            Paint(display, window, gc, layout, lines);
        }
        dismissed = HandleEvent(event, layout, deleteAtom, input);
    }
    XFreeGC(display, gc);
    if (font) XFreeFont(display, font);
    if (input.destroyed) return 0;
    XUnmapWindow(display, window);
    return window;
}

// One connection serves every box, and a dismissed box stays, hidden, until the next one:
// input tools may send a key's last events after the box has gone, and those must still
// find its window.
Display* g_display = nullptr;
Window g_hiddenBox = 0;
}  // namespace

void ShowMessageBox(const char* text, const char* caption) {
    text = text ? text : "";
    caption = caption ? caption : "";
    if (g_testHandler) {
        g_testHandler(text, caption);
        return;
    }
    if (!g_display) g_display = XOpenDisplay(nullptr);
    if (!g_display) {
        std::cerr << caption << ": " << text << std::endl;
        return;
    }
    // A focus request that comes too early must not end the game: X errors are ignored
    // while the box is up.
    const XErrorHandler previous = XSetErrorHandler(IgnoreXError);
    if (g_hiddenBox != 0) XDestroyWindow(g_display, g_hiddenBox);
    g_hiddenBox = RunBox(g_display, text, caption);
    XSync(g_display, False);
    XSetErrorHandler(previous);
}

void SetMessageBoxForTesting(MessageBoxHandler handler) {
    g_testHandler = handler;
}
