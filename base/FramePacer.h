// The frame rate: at most the player's cap (max_fps or KESTRUN_MAX_FPS, base/SettingsFile.h;
// 0 for none: frames back to back, one tick each, as the benchmarks run them), and the time
// each frame stands for, in ticks. The game's rules are amounts per tick, a 60th of a second
// (speeds, the turning, the bobbing, the water's wave, the item animation), and each frame
// applies them for the time it stands for: a frame that comes on time at the cap of 60 is
// exactly one tick, so the game does exactly what the per-tick rules give; a frame that comes
// later stands for the real time since the one before, a fraction of ticks, so that the race
// keeps its pace and moves evenly at any frame rate.
#pragma once

constexpr int kTicksPerSecond = 60;       // the rate the per-tick rules are written for
constexpr float kOneTick = 1.0f;          // a frame's time at the cap of 60, on time
constexpr int kMaxTicksPerFrame = 4;      // below 15 frames a second the race slows down

// Paces the frames on the game's millisecond clock, which may wrap from the largest int to the
// smallest (GLUT's does after 24.8 days): only differences of readings are used.
class FramePacer {
public:
    explicit FramePacer(int maxFramesPerSecond);

    // Milliseconds to wait before the next frame may start; 0 without a cap.
    int WaitMillis(int now) const;
    // Called when a frame starts: the ticks it stands for (one cap period while frames come on
    // time, the real time since the last frame when they come later, at most
    // kMaxTicksPerFrame; one tick each without a cap), and the start of the cap's wait for the
    // next one.
    float StartFrame(int now);

private:
    double _framePeriod;  // ms; 0 without a cap
    bool _started = false;
    int _lastStart = 0;        // the clock at the last frame's start
    double _nextFrame = 0.0;   // ms after _lastStart when the next frame may start
    double _owed = 0.0;        // ms of real time up to _lastStart not yet given to a frame
};
