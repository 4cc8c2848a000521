// A long race with no one at the wheel: the release game on the default level, under an X
// server of its own, gets a fixed pseudo-random sequence of the racers' keys, held and
// released, for three minutes. It must keep running, quit cleanly at the end, and its resident
// memory at the end must not have grown by more than a few percent since the first minute.
// Memory is read from VmRSS in /proc/PID/status ten times a second.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "GameTitle.h"
#include "Process.h"
#include "TempDir.h"
#include "XServer.h"

namespace {
using Clock = std::chrono::steady_clock;

constexpr const char* kKeys[] = {"w", "s", "a", "d", "i", "k", "j", "l"};
constexpr int kKeyCount = 8;
constexpr uint32_t kSeed = 20240607;     // the same key sequence every run
constexpr double kAllowedGrowth = 0.05;  // memory may grow by 5 % after the first minute
constexpr Millis kBatch(1000);           // keys sent per xdotool run
constexpr Millis kSampleEvery(100);      // resident memory is read this often
// The game's memory swings by tens of MB from one frame to the next as Mesa's rasterizer takes
// and frees its work memory; what stays allocated is the least of a window of samples.
constexpr Millis kWindow(15000);

// Run length in seconds: KESTRUN_SOAK_SECONDS, or three minutes.
int SoakSeconds() {
    const char* text = std::getenv("KESTRUN_SOAK_SECONDS");
    const int seconds = text ? std::atoi(text) : 0;
    return seconds > 0 ? seconds : 180;
}

// The resident memory of a process in kB (VmRSS in /proc/PID/status), or -1.
long ResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, 6, "VmRSS:") == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

std::string Tail(const std::string& text, size_t bytes = 2000) {
    return text.size() <= bytes ? text : "..." + text.substr(text.size() - bytes);
}

// Resident memory samples over the run: their floor over a time window, their peak, and a
// short record for the failure message.
class Memory {
public:
    void Add(Millis when, long kb) { _samples.push_back({when, kb}); }

    // The least sample taken from `from` to `to`, or -1 when there is none.
    long Floor(Millis from, Millis to) const {
        long least = -1;
        for (const Sample& sample : _samples) {
            if (sample.when >= from && sample.when <= to && (least < 0 || sample.kb < least)) {
                least = sample.kb;
            }
        }
        return least;
    }

    long Peak() const {
        long most = 0;
        for (const Sample& sample : _samples) {
            most = std::max(most, sample.kb);
        }
        return most;
    }

    // "10s:least-most" for every ten seconds of the run.
    std::string Trend() const {
        std::ostringstream text;
        const Millis step(10000);
        for (Millis from(0); !_samples.empty() && from <= _samples.back().when; from += step) {
            long least = -1;
            long most = -1;
            for (const Sample& sample : _samples) {
                if (sample.when >= from && sample.when < from + step) {
                    least = least < 0 ? sample.kb : std::min(least, sample.kb);
                    most = std::max(most, sample.kb);
                }
            }
            text << " " << (from + step).count() / 1000 << "s:" << least << "-" << most;
        }
        return text.str();
    }

private:
    struct Sample {
        Millis when;
        long kb;
    };
    std::vector<Sample> _samples;
};

// The fixed key sequence: each step picks one racer key and flips it (pressed keys are
// released, released keys pressed), then waits a while with the keys as they are.
class KeySequence {
public:
    KeySequence() : _random(kSeed) {}

    // xdotool commands for about `length` of play: key changes with sleeps between them.
    std::vector<std::string> Next(Millis length) {
        std::vector<std::string> commands;
        Millis planned(0);
        while (planned < length) {
            const int key = static_cast<int>(_random() % kKeyCount);
            commands.push_back(_held[key] ? "keyup" : "keydown");
            commands.push_back(kKeys[key]);
            _held[key] = !_held[key];
            const Millis pause(20 + _random() % 380);
            commands.push_back("sleep");
            commands.push_back(Seconds(pause));
            planned += pause;
        }
        return commands;
    }

    // xdotool commands that release every key still held.
    std::vector<std::string> ReleaseAll() {
        std::vector<std::string> commands;
        for (int key = 0; key < kKeyCount; ++key) {
            if (_held[key]) {
                commands.push_back("keyup");
                commands.push_back(kKeys[key]);
                _held[key] = false;
            }
        }
        return commands;
    }

private:
    static std::string Seconds(Millis pause) {
        std::ostringstream text;
        text << pause.count() / 1000 << "." << (pause.count() % 1000) / 100
             << (pause.count() % 100) / 10 << pause.count() % 10;
        return text.str();
    }

    std::mt19937 _random;
    bool _held[kKeyCount] = {};
};

class Soak : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(_x.Start("1024x768x24", _scratch.File("xvfb.log"), &error)) << error;
        ProcessOptions options;
        options.argv = {KESTRUN_GAME_BINARY, "levels/default.txt"};
        options.workDir = KESTRUN_DATA_DIR;
        options.env["DISPLAY"] = _x.Display();
        options.env["SDL_AUDIODRIVER"] = "dummy";  // the engines mixed all along, heard nowhere
        options.env["XDG_CONFIG_HOME"] = _scratch.File("config");  // no player's settings
        options.env["XDG_STATE_HOME"] = _scratch.File("state");  // nor the level they played last
        // Mesa compiles shaders as new views need them and frees the large work memory again;
        // with glibc's default the heap keeps the high-water mark of those compiles. Fixed
        // thresholds hand large blocks back at once, so that what stays is what is in use.
        options.env["MALLOC_MMAP_THRESHOLD_"] = "65536";
        options.env["MALLOC_TRIM_THRESHOLD_"] = "131072";
        options.stdoutFile = _scratch.File("stdout.txt");
        options.stderrFile = _scratch.File("stderr.txt");
        ASSERT_TRUE(_game.Start(options, &error)) << error;
        std::string window;
        ASSERT_TRUE(Xdotool({"search", "--sync", "--onlyvisible", "--name",
                             std::string("^") + kGameTitle + "$"},
                            Millis(90000), &window));
        window = window.substr(0, window.find('\n'));
        ASSERT_TRUE(Xdotool({"windowmove", "--sync", window, "0", "0"}));
        ASSERT_TRUE(Xdotool({"windowfocus", "--sync", window}));
    }

    void TearDown() override {
        _game.Stop();
        _x.Stop();
    }

    ::testing::AssertionResult Xdotool(const std::vector<std::string>& args,
                                       Millis timeout = Millis(30000),
                                       std::string* out = nullptr) {
        std::vector<std::string> argv = {"xdotool"};
        argv.insert(argv.end(), args.begin(), args.end());
        const CommandResult result = RunCommand(argv, {{"DISPLAY", _x.Display()}}, timeout);
        if (!result.Ok()) {
            return ::testing::AssertionFailure()
                   << "xdotool " << args.front() << " failed (" << result.status.Describe()
                   << "): " << result.err << "\n"
                   << Transcript();
        }
        if (out) {
            *out = result.out;
        }
        return ::testing::AssertionSuccess();
    }

    std::string Transcript() {
        std::ostringstream text;
        text << "--- game " << (_game.Running() ? "still running" : _game.Status().Describe())
             << "\n--- stdout (end):\n"
             << Tail(ReadFileBytes(_scratch.File("stdout.txt"))) << "\n--- stderr (end):\n"
             << Tail(ReadFileBytes(_scratch.File("stderr.txt"))) << "\n---";
        return text.str();
    }

    TempDir _scratch;
    XServer _x;
    Process _game;
};
}  // namespace

TEST_F(Soak, RandomKeysNeitherCrashNorGrowMemory) {
    const Millis total(SoakSeconds() * 1000);
    const Millis checkpoint = total / 3;  // the first minute of the default three
    KeySequence keys;
    Memory memory;
    const auto start = Clock::now();
    const auto elapsed = [&start] {
        return std::chrono::duration_cast<Millis>(Clock::now() - start);
    };
    while (elapsed() < total) {
        // The keys of the next second go to xdotool while the memory is sampled beside it.
        Process xdotool;
        ProcessOptions options;
        options.argv = {"xdotool"};
        const std::vector<std::string> batch = keys.Next(kBatch);
        options.argv.insert(options.argv.end(), batch.begin(), batch.end());
        options.env["DISPLAY"] = _x.Display();
        options.stderrFile = _scratch.File("xdotool.txt");
        std::string error;
        ASSERT_TRUE(xdotool.Start(options, &error)) << error;
        while (xdotool.Running()) {
            ASSERT_TRUE(_game.Running()) << "the game ended during the run\n" << Transcript();
            const long resident = ResidentKb(_game.Pid());
            ASSERT_GT(resident, 0);
            memory.Add(elapsed(), resident);
            std::this_thread::sleep_for(kSampleEvery);
        }
        ASSERT_TRUE(xdotool.Status().ExitedWith(0))
            << "xdotool: " << ReadFileBytes(_scratch.File("xdotool.txt")) << "\n" << Transcript();
    }
    const std::vector<std::string> release = keys.ReleaseAll();
    if (!release.empty()) {
        ASSERT_TRUE(Xdotool(release));
    }
    ASSERT_TRUE(_game.Running()) << Transcript();

    const long afterFirst = memory.Floor(checkpoint - kWindow, checkpoint);
    const long atEnd = memory.Floor(elapsed() - kWindow, elapsed());
    std::cout << "resident memory (least of " << kWindow.count() / 1000 << " s) after "
              << checkpoint.count() / 1000 << " s: " << afterFirst << " kB; at the end: " << atEnd
              << " kB; peak: " << memory.Peak() << " kB\n"
              << "least and most kB in each 10 s: " << memory.Trend() << std::endl;
    ASSERT_GT(afterFirst, 0);
    EXPECT_LE(atEnd, static_cast<long>(afterFirst * (1.0 + kAllowedGrowth)))
        << "least and most kB in each 10 s: " << memory.Trend();

    ASSERT_TRUE(Xdotool({"key", "q"}));
    const ExitStatus status = _game.Wait(Millis(30000));
    EXPECT_TRUE(status.ExitedWith(0)) << Transcript();
}
