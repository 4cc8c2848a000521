// The race's pace: the same race at any frame rate, each frame carrying the racer for its own
// time, and the cap on the frame rate with each frame's ticks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Racers.h"
#include "ScopedEnv.h"
#include "app/FrameSteps.h"
#include "app/Game.h"
#include "base/FramePacer.h"
#include "scene/World.h"

// How racer 1 drove, holding "d" for `seconds` and "w" for the first `holdSeconds` (coasting
// after), on a machine that can draw `fps` frames a second, under the cap `cap`, on a clock of
// whole milliseconds: the distance, its heading, the bobbing phase, the item steps, and for each
// frame the distance it carried the racer per millisecond since the frame before.
struct Pace {
    std::vector<double> totals;
    std::vector<double> perMillisecond;
};
Pace RaceFor(int cap, double fps, int seconds, int holdSeconds) {
    FramePacer pacer(cap);
    Racer driven;
    Camera& racer = driven.camera;
    StartRacerAt(racer, 128.0f, 128.0f);
    unsigned char keys[256] = {};
    keys['d'] = 1;
    Camera::_bobPhase = 0.0f;
    g_itemFrame = 0;
    float carried = 0.0f;
    Pace pace;
    double distance = 0.0, itemSteps = 0.0;
    int last = 0;
    for (double ready = 1000.0; ready < 1000.0 + seconds * 1000; ready += 1000.0 / fps) {
        int now = static_cast<int>(ready);
        now += pacer.WaitMillis(now);
        ready = std::max(ready, static_cast<double>(now));
        const float ticks = pacer.StartFrame(now);
        keys['w'] = now < 1000 + holdSeconds * 1000;
        UpdateRacer(driven, keys, static_cast<float>(now), ticks);
        const Vec3 before = racer._eye;
        MoveRacer(racer, ticks);
        const double step = std::hypot(racer._eye.x - before.x, racer._eye.z - before.z);
        distance += step;
        if (last > 0) {
            pace.perMillisecond.push_back(step / (now - last));
        }
        last = now;
        const int item = g_itemFrame;
        AnimateItems(ticks, carried);
        itemSteps += (g_itemFrame - item + 41) % 41;
    }
    pace.totals = {distance, racer._heading, Camera::_bobPhase, itemSteps};
    return pace;
}

// The same race on machines of every speed, capped at 60 and at their own rates above it.
TEST(RacePace, TheSameDistanceTurnBobbingAndItemsPerSecondAtAnyFrameRate) {
    const std::pair<int, int> runs[] = {{2, 2}, {6, 6}, {6, 3}};  // seconds, and "w" held (then coasting)
    const std::pair<int, double> rates[] = {{60, 30}, {60, 45}, {60, 20}, {120, 120},
                                            {144, 144}, {500, 500}};  // cap, frames a second
    for (const auto& [seconds, hold] : runs) {
        const std::vector<double> sixty = RaceFor(60, 60, seconds, hold).totals;
        EXPECT_NEAR(seconds * 60, sixty[3], 2);
        for (const auto& [cap, fps] : rates) {
            const std::vector<double> pace = RaceFor(cap, fps, seconds, hold).totals;
            for (size_t i = 0; i < pace.size(); ++i) {
                EXPECT_NEAR(sixty[i], pace[i], 0.05 * sixty[i]) << fps << " a second, " << i;
            }
        }
    }
}

// At a steady speed every frame carries the racer as far as its time allows: at 45 frames a
// second on whole milliseconds (22, 22, 23 ms) no frame moves it in a stutter.
TEST(RacePace, EveryFrameCarriesTheRacerForItsOwnTime) {
    for (const double fps : {45.0, 30.0, 55.0}) {
        std::vector<double> steady = RaceFor(60, fps, 6, 6).perMillisecond;
        steady.erase(steady.begin(), steady.end() - static_cast<long>(fps));  // the last second
        const auto [low, high] = std::minmax_element(steady.begin(), steady.end());
        EXPECT_LT(*high / *low, 1.03) << fps << " a second";
    }
}

TEST(RacePace, OnTimeAtTheCapEveryFrameIsItsPeriodLateFramesTheirOwnTime) {
    FramePacer pacer(60);
    int now = 500;
    for (int frame = 0; frame < 600; ++frame, now += 3) {
        now += pacer.WaitMillis(now);
        EXPECT_EQ(1.0f, pacer.StartFrame(now)) << frame;
    }
    EXPECT_NEAR(500 + 600 * 1000 / 60, now, 20);
    FramePacer fast(120);
    for (int frame = 0; frame < 100; ++frame, now += 1) {
        now += fast.WaitMillis(now);
        EXPECT_EQ(0.5f, fast.StartFrame(now)) << frame;
    }
    // Frames on the machine's whole milliseconds at 30, 20 and 15 a second (33, 33, 34 ms...):
    // each after the first stands for its own gap; one of over four ticks for four.
    for (const int fps : {30, 20, 15, 5}) {
        FramePacer slow(60);
        slow.StartFrame(0);
        for (int frame = 1; frame < 60; ++frame) {
            const int gap = frame * 1000 / fps - (frame - 1) * 1000 / fps;
            EXPECT_NEAR(std::min(gap * 0.06, 4.0), slow.StartFrame(frame * 1000 / fps), 1e-5)
                << fps << " a second, " << frame;
        }
    }
    FramePacer uncapped(0);
    EXPECT_EQ(0, uncapped.WaitMillis(1000));
    EXPECT_EQ(1.0f, uncapped.StartFrame(5000));
    EXPECT_EQ(1.0f, uncapped.StartFrame(5001));
}

// GLUT's clock is an int that wraps from the largest to the smallest after 24.8 days: the cap
// holds across it, each frame still one tick and no wait longer than a period.
TEST(RacePace, TheCapHoldsWhereTheClockWraps) {
    for (const int cap : {60, 1000}) {
        FramePacer pacer(cap);
        uint32_t clock = 0x7fffffffu - 10 * 1000 / cap;
        int waited = 0;
        for (int frame = 0; frame < 20; ++frame) {
            const int wait = pacer.WaitMillis(static_cast<int>(clock));
            EXPECT_LE(0, wait) << frame;
            EXPECT_GE(1000 / cap + 1, wait) << frame;
            clock += static_cast<uint32_t>(wait);
            waited += wait;
            EXPECT_NEAR(60.0 / cap, pacer.StartFrame(static_cast<int>(clock)), 1e-6) << frame;
        }
        EXPECT_NEAR(19 * 1000 / cap, waited, 2) << cap;
        EXPECT_LT(static_cast<int>(clock), 0) << "the clock wrapped";
    }
}

// The game's cap: KESTRUN_MAX_FPS over the settings file's max_fps, and 0 from either is none.
TEST(RacePace, KestrunMaxFpsSetsTheCap) {
    const struct {
        const char* variable;
        int file;
        bool waits;
    } kGames[] = {{nullptr, 0, false}, {nullptr, 30, true}, {"0", 30, false}, {"30", 0, true}};
    for (const auto& c : kGames) {
        ScopedEnv cap("KESTRUN_MAX_FPS", c.variable);
        std::istringstream file("max_fps = " + std::to_string(c.file));
        std::ostringstream problems;
        PlayerSettings settings;
        ReadSettings(file, "F", &settings, problems);
        Game game(settings);
        game._pacer.StartFrame(1000);
        EXPECT_EQ(c.waits, game._pacer.WaitMillis(1000) > 0)
            << (c.variable ? c.variable : "unset") << " over " << c.file;
    }
}
