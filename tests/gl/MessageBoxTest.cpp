// The real message box on the test display, dismissed the ways a player would.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

// Before Xlib, which defines Status as a macro.
#include "ScopedEnv.h"
#include "TempDir.h"
#include "XServer.h"

#include <X11/Xlib.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/MessageBox.h"

extern char** environ;

namespace {
// Starts a shell command next to the test; the box blocks this thread meanwhile.
pid_t Spawn(const std::string& command) {
    pid_t pid = 0;
    const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        return -1;
    }
    return pid;
}

int ChildExitStatus(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Each test's box has a caption of its own, so that tests running side by side on one
// display do not dismiss each other's boxes.
const std::string kCaption = "Error " + std::to_string(getpid());
const std::string kFindBox = "xdotool search --sync --onlyvisible --name '^" + kCaption + "$'";

// The tests get an X server of their own: the pointer and the keyboard focus are shared by
// everything on a display, and other tests run side by side. The box keeps its one connection
// for the life of the process, so the tests of one process share that server, and the
// DISPLAY of the process comes back when they are done. A box that never goes away ends the
// test process instead of hanging it.
class MessageBoxOnDisplay : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_log = std::make_unique<TempDir>();
        s_server = std::make_unique<XServer>();
        if (s_server->Start("800x600x24", s_log->File("xvfb.log"), &s_error)) {
            s_display = std::make_unique<ScopedEnv>("DISPLAY", s_server->Display().c_str());
        }
    }
    static void TearDownTestSuite() {
        s_display.reset();
        s_server.reset();
        s_log.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(s_display) << s_error;
        alarm(60);
    }
    void TearDown() override { alarm(0); }

private:
    static inline std::unique_ptr<TempDir> s_log;
    static inline std::unique_ptr<XServer> s_server;
    static inline std::unique_ptr<ScopedEnv> s_display;
    static inline std::string s_error;
};

// Finds a top-level window by its title and asks it to close, as a window manager would.
bool CloseWindowNamed(const char* title) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    bool sent = false;
    for (int attempt = 0; attempt < 200 && !sent; ++attempt) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count && !sent; ++i) {
            char* name = nullptr;
            XWindowAttributes attributes;
            if (XFetchName(display, children[i], &name) && name && std::string(name) == title &&
                XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.map_state == IsViewable) {
                XEvent event{};
                event.xclient.type = ClientMessage;
                event.xclient.window = children[i];
                event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
                event.xclient.format = 32;
                event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
                event.xclient.data.l[1] = CurrentTime;
                XSendEvent(display, children[i], False, NoEventMask, &event);
                XFlush(display);
                sent = true;
            }
            if (name) XFree(name);
        }
        if (children) XFree(children);
        if (!sent) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    XCloseDisplay(display);
    return sent;
}
}  // namespace

TEST_F(MessageBoxOnDisplay, ReturnSentToTheWindowFoundByItsCaptionDismissesIt) {
    const pid_t helper = Spawn(kFindBox + " key --window %1 Return");
    ShowMessageBox("The shader program file could not be read.", kCaption.c_str());
    EXPECT_EQ(0, ChildExitStatus(helper));
}

TEST_F(MessageBoxOnDisplay, EscapeFromTheKeyboardDismissesIt) {
    // The box takes the keyboard focus when it appears.
    const pid_t helper = Spawn(kFindBox + " windowfocus --sync %1 key Escape");
    ShowMessageBox("Invalid profile type", kCaption.c_str());
    EXPECT_EQ(0, ChildExitStatus(helper));
}

TEST_F(MessageBoxOnDisplay, OtherKeysLeaveItOpen) {
    const pid_t helper = Spawn(kFindBox + " key --window %1 space a && sleep 0.3 && " + kFindBox +
                               " key --window %1 KP_Enter");
    ShowMessageBox("two\nlines", kCaption.c_str());
    EXPECT_EQ(0, ChildExitStatus(helper));   // the second search found the box still there
}

TEST_F(MessageBoxOnDisplay, ClickingOkDismissesIt) {
    // OK is centred along the bottom, 14 pixels up and 26 high.
    const pid_t helper = Spawn(
        "id=$(" + kFindBox + " | head -n 1) && eval $(xdotool getwindowgeometry --shell $id) && "
        "xdotool mousemove --window $id $((WIDTH / 2)) $((HEIGHT - 27)) click 1");
    ShowMessageBox("Failed To Create Cg Context", kCaption.c_str());
    EXPECT_EQ(0, ChildExitStatus(helper));
}

TEST_F(MessageBoxOnDisplay, ClickingBesideOkDoesNot) {
    const pid_t helper = Spawn(
        "id=$(" + kFindBox + " | head -n 1) && eval $(xdotool getwindowgeometry --shell $id) && "
        "xdotool mousemove --window $id 5 5 click 1 && sleep 0.3 && " + kFindBox +
        " key --window %1 Return");
    ShowMessageBox("Failed To Create Cg Context", kCaption.c_str());
    EXPECT_EQ(0, ChildExitStatus(helper));
}

TEST_F(MessageBoxOnDisplay, ClosingTheWindowDismissesIt) {
    std::atomic<bool> sent{false};
    std::thread closer([&] { sent = CloseWindowNamed(kCaption.c_str()); });
    ShowMessageBox("closed by the window manager", kCaption.c_str());
    closer.join();
    EXPECT_TRUE(sent);
}

TEST_F(MessageBoxOnDisplay, BoxesFollowingEachOtherEachWaitForTheirOwnDismissal) {
    for (const char* key : {"Return", "Escape", "KP_Enter"}) {
        const pid_t helper = Spawn(kFindBox + " key --window %1 " + key);
        ShowMessageBox(key, kCaption.c_str());
        EXPECT_EQ(0, ChildExitStatus(helper)) << key;
    }
}
