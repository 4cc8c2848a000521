#include "GameRun.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <chrono>
#include <thread>

#include "View.h"

namespace fs = std::filesystem;

namespace {
using Clock = std::chrono::steady_clock;

std::string FirstLine(const std::string& text) {
    const size_t end = text.find('\n');
    return end == std::string::npos ? text : text.substr(0, end);
}

// The value of NAME=value in xdotool's --shell output, or -1.
int ShellValue(const std::string& text, const std::string& name) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, name.size() + 1, name + "=") == 0) {
            return std::atoi(line.c_str() + name.size() + 1);
        }
    }
    return -1;
}

::testing::AssertionResult Failed(const std::string& what, const CommandResult& result) {
    return ::testing::AssertionFailure()
           << what << " failed (" << result.status.Describe() << "): " << result.err << result.out;
}
} // namespace

std::string GameBinary() {
    const char* chosen = std::getenv("KESTRUN_GAME");
    if (!chosen || chosen[0] == '\0') {
        return KESTRUN_GAME_BINARY;
    }
    // The game starts in its data folder: a relative path means the folder the tests run in.
    const std::string path = chosen;
    return path.find('/') == std::string::npos ? path : std::filesystem::absolute(path).string();
}

std::string BuiltDataDir() {
    return KESTRUN_BUILD_DIR "/data";
}

std::string ShippedDataDir() {
    return KESTRUN_SOURCE_DIR "/data";
}

GameRun::GameRun() {
    fs::create_directories(DataDir());
    fs::create_directories(_root.File("run"));
}

GameRun::~GameRun() {
    StopAll();
}

std::string GameRun::DataDir() const {
    return _root.File("data");
}

std::string GameRun::WriteData(const std::string& relative, const std::string& contents) const {
    RemoveData(relative);
    _root.Write("data/" + relative, contents);
    return relative;
}

::testing::AssertionResult GameRun::UseBuiltData() const {
    const fs::path from = BuiltDataDir();
    std::error_code error;
    if (!fs::is_directory(from / "terrain_data", error)) {
        return ::testing::AssertionFailure()
               << from << " holds no game data: build it first (scripts/build.sh)";
    }
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from, error)) {
        const fs::path to = fs::path(DataDir()) / entry.path().lexically_relative(from);
        if (entry.is_directory()) {
            fs::create_directories(to, error);
        } else {
            fs::create_symlink(entry.path(), to, error);
        }
        if (error) {
            return ::testing::AssertionFailure()
                   << "cannot lay out " << to << ": " << error.message();
        }
    }
    return ::testing::AssertionSuccess();
}

void GameRun::RemoveData(const std::string& relative) const {
    std::error_code ignored;
    fs::remove(fs::path(DataDir()) / relative, ignored);
}

std::string GameRun::ScratchFile(const std::string& name) const {
    return _root.File("run/" + name);
}

std::string GameRun::WriteSettings(const std::string& contents) const {
    return _root.Write("config/kestrun/settings", contents);
}

EnvChanges GameRun::RecordSound() const {
    return {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", SoundFile()}};
}

StereoTrack GameRun::Recording() const {
    const std::string bytes = ReadFileBytes(SoundFile());
    const size_t frames = bytes.size() / (2 * sizeof(float));
    std::vector<float> samples(2 * frames);
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
    return SplitStereo(samples.data(), frames);
}

StereoTrack GameRun::RecordingOf(size_t frames, Millis timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    StereoTrack track = Recording();
    while (track.left.size() < frames && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(Millis(100));
        track = Recording();
    }
    return track;
}

::testing::AssertionResult GameRun::StartX(const std::string& screen, bool resetWhenIdle) {
    std::string error;
    if (!_x.Start(screen, ScratchFile("xvfb.log"), &error, resetWhenIdle)) {
        return ::testing::AssertionFailure() << error;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult GameRun::Launch(const std::vector<std::string>& args,
                                               const EnvChanges& env) {
    return LaunchProgram(GameBinary(), args, env);
}

::testing::AssertionResult GameRun::LaunchProgram(const std::string& program,
                                                      const std::vector<std::string>& args,
                                                      const EnvChanges& env) {
    ProcessOptions options;
    options.argv = {program};
    options.argv.insert(options.argv.end(), args.begin(), args.end());
    options.workDir = DataDir();
    options.env = env;
    if (env.count("DISPLAY") == 0) {
        options.env["DISPLAY"] = _x.Display();
    }
    options.env.emplace("XDG_CACHE_HOME", _root.File("cache"));  // never the player's cache
    options.env.emplace("XDG_CONFIG_HOME", _root.File("config"));  // nor the player's settings
    options.env.emplace("XDG_DATA_HOME", _root.File("share"));  // nor levels, nor last played
    options.env.emplace("XDG_STATE_HOME", _root.File("state"));
    options.env.emplace("SDL_AUDIODRIVER", "dummy");  // no sound card needed, nothing heard
    options.stdoutFile = ScratchFile("stdout.txt");
    options.stderrFile = ScratchFile("stderr.txt");
    std::string error;
    if (!_game.Start(options, &error)) {
        return ::testing::AssertionFailure() << error;
    }
    return ::testing::AssertionSuccess();
}

ExitStatus GameRun::WaitForExit(Millis timeout) {
    return _game.Wait(timeout);
}

void GameRun::StopAll() {
    _game.Stop();
    _x.Stop();
}

std::string GameRun::Out() const {
    return ReadFileBytes(ScratchFile("stdout.txt"));
}
std::string GameRun::Err() const {
    return ReadFileBytes(ScratchFile("stderr.txt"));
}

::testing::AssertionResult GameRun::WaitForOutput(const std::string& text, Millis timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Out().find(text) == std::string::npos) {
        if (Clock::now() >= deadline || !_game.Running()) {
            if (Out().find(text) != std::string::npos) {
                break; // written just before the game ended
            }
            return ::testing::AssertionFailure() << "the game did not print \"" << text << "\"\n"
                                                 << Transcript();
        }
        std::this_thread::sleep_for(Millis(20));
    }
    return ::testing::AssertionSuccess();
}

std::string GameRun::Transcript() {
    std::ostringstream text;
    text << "--- game "
         << (_game.Started() ? _game.Running() ? "still running" : _game.Status().Describe()
                             : "not started")
         << "\n--- stdout:\n"
         << Out() << "--- stderr:\n"
         << Err() << "---";
    return text.str();
}

std::string GameRun::SanitizerReport() const {
    std::istringstream lines(Err());
    std::string line;
    std::string report;
    while (std::getline(lines, line)) {
        if (line.find("Sanitizer") != std::string::npos ||
            line.find("runtime error:") != std::string::npos) {
            report += line + "\n";
        }
    }
    return report;
}

::testing::AssertionResult GameRun::Quit() {
    auto step = Key("q");
    if (!step) {
        return step;
    }
    const ExitStatus status = WaitForExit();
    if (!status.ExitedWith(0)) {
        return ::testing::AssertionFailure() << "after \"q\" the game " << status.Describe() << "\n"
                                             << Transcript();
    }
    const std::string report = SanitizerReport();
    if (!report.empty()) {
        return ::testing::AssertionFailure() << "sanitizer report:\n" << Transcript();
    }
    return ::testing::AssertionSuccess();
}

CommandResult GameRun::RunX(const std::vector<std::string>& argv, Millis timeout) {
    return RunCommand(argv, {{"DISPLAY", _x.Display()}}, timeout);
}

::testing::AssertionResult GameRun::Xdotool(const std::vector<std::string>& args,
                                                std::string* out, Millis timeout) {
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    const CommandResult result = RunX(argv, timeout);
    if (!result.Ok()) {
        std::string command;
        for (const std::string& arg : args) {
            command += " " + arg;
        }
        return Failed("xdotool" + command, result) << "\n" << Transcript();
    }
    if (out) {
        *out = result.out;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult GameRun::FindWindow(const std::string& title, Millis timeout) {
    std::string out;
    auto found =
        Xdotool({"search", "--sync", "--onlyvisible", "--name", "^" + title + "$"}, &out, timeout);
    if (!found) {
        return found;
    }
    _window = FirstLine(out);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult GameRun::PlaceWindow(int x, int y) {
    return Xdotool({"windowmove", "--sync", _window, std::to_string(x), std::to_string(y)});
}

::testing::AssertionResult GameRun::OpenWindow() {
    auto step = FindWindow();
    if (step) {
        step = PlaceWindow(0, 0);
    }
    if (step) {
        step = Focus();
    }
    return step;
}

::testing::AssertionResult GameRun::Focus() {
    return Xdotool({"windowfocus", "--sync", _window});
}

::testing::AssertionResult GameRun::Key(const std::string& keys) {
    return Xdotool({"key", keys});
}

::testing::AssertionResult GameRun::KeyDown(const std::string& keys) {
    return Xdotool({"keydown", keys});
}

::testing::AssertionResult GameRun::KeyUp(const std::string& keys) {
    return Xdotool({"keyup", keys});
}

::testing::AssertionResult GameRun::Resize(int width, int height) {
    return Xdotool(
        {"windowsize", "--sync", _window, std::to_string(width), std::to_string(height)});
}

::testing::AssertionResult GameRun::Geometry(Rect* rect) {
    std::string out;
    auto asked = Xdotool({"getwindowgeometry", "--shell", _window}, &out);
    if (!asked) {
        return asked;
    }
    *rect = {ShellValue(out, "X"), ShellValue(out, "Y"), ShellValue(out, "WIDTH"),
             ShellValue(out, "HEIGHT")};
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult GameRun::ChooseMenuEntry(int position, int entries,
                                                     int subPosition, int subEntries) {
    auto step = Xdotool({"mousemove", "--sync", "--window", _window, "40", "40"});
    if (step) {
        step = Xdotool({"mousedown", "3"});
    }
    const auto deadline = Clock::now() + kStartTimeout;
    std::string menu, out;  // the menu pointed into, and xdotool's answers
    const std::pair<int, int> choices[] = {{position, entries}, {subPosition, subEntries}};
    for (const auto& [at, of] : choices) {
        for (const std::string parent = menu; step && at > 0 && menu == parent;) {  // it opened
            step = Xdotool({"search", "--sync", "--onlyvisible", "--name", "^freeglut menu$"},
                           &out);
            std::istringstream ids(out);
            for (std::string id; std::getline(ids, id);) {
                menu = id == parent ? menu : id;
            }
            if (menu == parent && Clock::now() >= deadline) {
                step = ::testing::AssertionFailure() << "no submenu opened";
            }
        }
        if (step && at > 0 && (step = Xdotool({"getwindowgeometry", "--shell", menu}, &out))) {
            // The entries share the menu's height evenly; aim at the middle of the chosen one.
            const int y = ShellValue(out, "HEIGHT") * (2 * at - 1) / (2 * of);
            step = Xdotool({"mousemove", "--sync", "--window", menu,
                            std::to_string(ShellValue(out, "WIDTH") / 2), std::to_string(y)});
        }
    }
    if (step) {
        step = Xdotool({"mouseup", "3"});
    }
    return step;
}

::testing::AssertionResult GameRun::FindDialog(const std::string& title, std::string* id,
                                                   Millis timeout) {
    std::string out;
    auto found =
        Xdotool({"search", "--sync", "--onlyvisible", "--name", "^" + title + "$"}, &out, timeout);
    if (found) {
        *id = FirstLine(out);
    }
    return found;
}

::testing::AssertionResult GameRun::DismissDialog(const std::string& id) {
    auto step = Xdotool({"windowfocus", "--sync", id});
    if (step) {
        step = Xdotool({"key", "Return"});
    }
    const auto deadline = Clock::now() + kStartTimeout;
    while (step) {
        const CommandResult shown = RunX({"xdotool", "search", "--onlyvisible", "--name", "."});
        if (("\n" + shown.out).find("\n" + id + "\n") == std::string::npos) {
            break;
        }
        if (Clock::now() >= deadline) {
            return ::testing::AssertionFailure() << "the dialog " << id << " stays up\n"
                                                 << Transcript();
        }
        std::this_thread::sleep_for(Millis(100));
    }
    return step;
}

namespace {
::testing::AssertionResult Import(GameRun& game, const std::string& window,
                                  const std::string& path, Image* image) {
    const CommandResult result =
        game.RunX({"import", "-window", window, "-depth", "8", "ppm:" + path}, Millis(60000));
    if (!result.Ok()) {
        return Failed("import -window " + window, result);
    }
    std::string error;
    if (!image->LoadPpm(path, &error)) {
        return ::testing::AssertionFailure() << "screenshot " << path << ": " << error;
    }
    return ::testing::AssertionSuccess();
}
} // namespace

::testing::AssertionResult GameRun::Screenshot(Image* image, const std::string& name) {
    return Import(*this, "root", ScratchFile(name + ".ppm"), image);
}

::testing::AssertionResult GameRun::WindowShot(Image* image, const std::string& name) {
    if (_window.empty()) {
        return ::testing::AssertionFailure() << "no game window yet";
    }
    return Import(*this, _window, ScratchFile(name + ".ppm"), image);
}

::testing::AssertionResult GameRun::WaitForShot(Image* image,
                                                    const std::function<bool(const Image&)>& ready,
                                                    const std::string& what, Millis timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        auto shot = WindowShot(image, "wait");
        if (!shot) {
            return shot;
        }
        if (ready(*image)) {
            return ::testing::AssertionSuccess();
        }
        if (Clock::now() >= deadline || !_game.Running()) {
            return ::testing::AssertionFailure() << "the window never showed " << what << " (top "
                                                 << MeasureTop(*image).Describe() << "; bottom "
                                                 << MeasureBottom(*image).Describe() << ")\n"
                                                 << Transcript();
        }
        std::this_thread::sleep_for(Millis(200));
    }
}

// The first frame is drawn before the frame's fog values are set and with racer 1's eye still
// at its start-up height; when start-up takes more than a second it already carries the
// heads-up line. Waiting for a shot that differs from the first one with the line makes sure
// a later frame is shown.
::testing::AssertionResult GameRun::WaitForFrames(Image* image, Millis timeout) {
    auto shown =
        WaitForShot(image, ShowsHudInBothHalves, "the heads-up line in both halves", timeout);
    if (!shown) {
        return shown;
    }
    const Image first = *image;
    auto later = [&first](const Image& shot) {
        return ShowsHudInBothHalves(shot) && Image::MeanDifference(first, shot) != 0.0;
    };
    return WaitForShot(image, later, "a frame after the first with the heads-up line", timeout);
}

::testing::AssertionResult GameRun::HoldKeyUntil(const std::string& key, Image* image,
                                                     const std::function<bool(const Image&)>& ready,
                                                     const std::string& what, Millis timeout) {
    auto step = KeyDown(key);
    if (!step) {
        return step;
    }
    auto waited = WaitForShot(image, ready, what + " while \"" + key + "\" was held", timeout);
    step = KeyUp(key);
    return waited ? step : waited;
}

void EndTestGame(GameRun& game) {
    if (game.GameRunning()) {
        EXPECT_TRUE(game.Quit());
    }
    EXPECT_EQ("", game.SanitizerReport()) << game.Transcript();
}

::testing::AssertionResult StartGame(GameRun& game, const std::string& level, Image* shot) {
    auto step = game.StartX();
    if (step) {
        step = game.UseBuiltData();
    }
    if (step) {
        step = game.Launch({level});
    }
    if (step) {
        step = game.OpenWindow();
    }
    if (step) {
        step = game.WaitForFrames(shot);
    }
    return step;
}

std::string WriteSmallLevel(const GameRun& game) {
    game.WriteData("courses/small.txt", "8 8\n"
                                           "11111111\n"
                                           "10000001\n"
                                           "10200201\n"
                                           "10000001\n"
                                           "10000001\n"
                                           "10000001\n"
                                           "10000001\n"
                                           "11111111\n");
    return game.WriteData("levels/small.txt", "skyboxes/none\ncourses/small.txt\n");
}
