// One run of the real game binary as a player would have it: a private X server, a data
// folder of the test's own as the working folder, the game's output in files, and real
// input through xdotool. Everything it started is ended when the run object goes, also when
// a test fails half way.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "GameTitle.h"
#include "Image.h"
#include "Process.h"
#include "SoundMeasure.h"
#include "TempDir.h"
#include "XServer.h"

// Generous, because the tests share a busy machine and may run the sanitizer build.
constexpr Millis kStartTimeout(60000);
constexpr Millis kExitTimeout(30000);
constexpr Millis kOutputTimeout(30000);

// The game binary under test: $KESTRUN_GAME when set (a relative path from the folder the
// tests run in), else the kestrun of this build.
std::string GameBinary();
// The game's data as the build makes it (build/data), and the text data it copies (data/).
std::string BuiltDataDir();
std::string ShippedDataDir();

class GameRun {
public:
    GameRun();
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    // --- files ---
    // The game's working folder, where the test lays out its data.
    std::string DataDir() const;
    // Writes a file under the data folder and returns its path relative to it. A linked file
    // of the built data is replaced, never written through.
    std::string WriteData(const std::string& relative, const std::string& contents) const;
    // Lays out the built data in the data folder: its folders are made and its files linked,
    // so that a test may remove or replace single files.
    ::testing::AssertionResult UseBuiltData() const;
    void RemoveData(const std::string& relative) const;
    // A folder for the run's own files (logs, screenshots).
    std::string ScratchFile(const std::string& name) const;
    // Writes the player's settings file the game reads ($XDG_CONFIG_HOME/kestrun/settings, in
    // a folder of the run's own: never the player's) and returns its path.
    std::string WriteSettings(const std::string& contents) const;
    // A file in the run's own XDG folders: "config/...", "share/...", "state/...", "cache/...".
    std::string PlayerFile(const std::string& relative) const { return _root.File(relative); }

    // --- sound ---
    // The environment that has the game play into SoundFile() through SDL's disk driver
    // (stereo float samples at the game's 48 kHz, in real time). Without it the game plays to
    // SDL's silent dummy driver, the same on every machine.
    EnvChanges RecordSound() const;
    std::string SoundFile() const { return ScratchFile("sound.raw"); }
    // What the game has played so far, left and right.
    StereoTrack Recording() const;
    // The recording once it holds at least `frames` (SDL's disk driver writes in real time and
    // falls behind on a busy machine), or as it is when the time is up.
    StereoTrack RecordingOf(size_t frames, Millis timeout = kOutputTimeout) const;

    // --- processes ---
    ::testing::AssertionResult StartX(const std::string& screen = "1280x1024x24",
                                      bool resetWhenIdle = false);
    // Starts the game with the arguments in the data folder, on the private display unless
    // env changes DISPLAY.
    ::testing::AssertionResult Launch(const std::vector<std::string>& args,
                                      const EnvChanges& env = {});
    // The same with another program in the game's place (the installed launcher).
    ::testing::AssertionResult LaunchProgram(const std::string& program,
                                             const std::vector<std::string>& args,
                                             const EnvChanges& env = {});
    ExitStatus WaitForExit(Millis timeout = kExitTimeout);
    bool GameRunning() { return _game.Running(); }
    pid_t GamePid() const { return _game.Pid(); }
    // Ends the game (if it still runs) and the X server.
    void StopAll();

    // --- output ---
    std::string Out() const;
    std::string Err() const;
    // Waits until the game's standard output contains text.
    ::testing::AssertionResult WaitForOutput(const std::string& text,
                                             Millis timeout = kOutputTimeout);
    // What the game wrote and how it ended, for failure messages.
    std::string Transcript();
    // The reports of AddressSanitizer, LeakSanitizer or UBSan on the game's standard error
    // (empty when there are none).
    std::string SanitizerReport() const;
    // Quits with "q" and expects status 0 and no sanitizer report.
    ::testing::AssertionResult Quit();

    // --- the window and input ---
    // Waits until a visible window with exactly this title exists and keeps its id.
    ::testing::AssertionResult FindWindow(const std::string& title = kGameTitle,
                                          Millis timeout = kStartTimeout);
    const std::string& Window() const { return _window; }
    // Moves the window (with no window manager GLUT leaves it at -1, -1, its top row and
    // left column off the screen).
    ::testing::AssertionResult PlaceWindow(int x, int y);
    // FindWindow, PlaceWindow at 0, 0 and Focus: the window ready for keys and screenshots.
    ::testing::AssertionResult OpenWindow();
    ::testing::AssertionResult Focus();
    // Presses and releases keys (xdotool key names: "q", "Escape", "shift+w").
    ::testing::AssertionResult Key(const std::string& keys);
    ::testing::AssertionResult KeyDown(const std::string& keys);
    ::testing::AssertionResult KeyUp(const std::string& keys);
    ::testing::AssertionResult Resize(int width, int height);
    ::testing::AssertionResult Geometry(Rect* rect);
    // Opens the pop-up menu with the right button inside the window and releases the button
    // over entry position (1 = first) of a menu with the given number of entries; or, when that
    // entry opens a submenu, over entry subPosition of its subEntries.
    ::testing::AssertionResult ChooseMenuEntry(int position, int entries, int subPosition = 0,
                                               int subEntries = 0);

    // --- dialogs ---
    // Waits for a visible window with exactly this title (the game's message box).
    ::testing::AssertionResult FindDialog(const std::string& title, std::string* id,
                                          Millis timeout = kStartTimeout);
    // Presses Enter in the dialog and waits until it is gone.
    ::testing::AssertionResult DismissDialog(const std::string& id);

    // --- screenshots ---
    ::testing::AssertionResult Screenshot(Image* image, const std::string& name = "screen");
    // The game window's content (the window must lie on the screen: see OpenWindow).
    ::testing::AssertionResult WindowShot(Image* image, const std::string& name = "window");
    // Takes window shots until ready(shot) holds or the time is up; the last shot stays in
    // *image. "what" names the awaited view in the failure message.
    ::testing::AssertionResult WaitForShot(Image* image,
                                           const std::function<bool(const Image&)>& ready,
                                           const std::string& what, Millis timeout = kStartTimeout);
    // Waits until both halves show the heads-up line, which the game first writes a second
    // after start-up, and then for a shot that differs from that first one: frames are being
    // drawn at the window's current size, and the first frame (drawn before the fog is set)
    // is gone.
    ::testing::AssertionResult WaitForFrames(Image* image, Millis timeout = kStartTimeout);
    // Holds a key down until a window shot satisfies ready, then lets it go (also when the
    // wait fails). The racers' motion grows with frames, so the time this takes depends on
    // the frame rate.
    ::testing::AssertionResult HoldKeyUntil(const std::string& key, Image* image,
                                            const std::function<bool(const Image&)>& ready,
                                            const std::string& what,
                                            Millis timeout = kStartTimeout);

    // Runs an X client on the private display (argv[0] from PATH).
    CommandResult RunX(const std::vector<std::string>& argv, Millis timeout = Millis(20000));

private:
    ::testing::AssertionResult Xdotool(const std::vector<std::string>& args,
                                       std::string* out = nullptr, Millis timeout = Millis(20000));

    TempDir _root;
    XServer _x;
    Process _game;
    std::string _window;
};

// The end of a test's game: quits it if it still runs, and expects no sanitizer report.
void EndTestGame(GameRun& game);

// Starts X and the game with the built data on the level, and waits until its window is on
// the screen, focused, and drawing frames; *shot is the first shot with the heads-up line.
::testing::AssertionResult StartGame(GameRun& game, const std::string& level, Image* shot);

// A test on the game running the default level: SetUp starts it and keeps in start the first
// shot with the heads-up line; TearDown ends it (EndTestGame).
template <class TestBase = ::testing::Test>
class RunningGame : public TestBase {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartGame(game, "levels/default.txt", &start)) << game.Transcript();
    }
    void TearDown() override { EndTestGame(game); }

    GameRun game;
    Image start;
};

// Lays out the smallest level the game starts with: a level file naming a sky box folder
// that does not exist and a small walled course with two start cells. Returns the level
// file's path relative to the data folder.
std::string WriteSmallLevel(const GameRun& game);
