// The frame rate: at most kMaxFramesPerSecond frames a second by default (KESTRUN_MAX_FPS), and
// the number of ticks each frame stands for. The game's rules are per-frame amounts at 60
// frames a second (speeds, the turning, the bobbing, the water's wave, the item animation); a
// frame that comes later than that stands for more than one tick, so that a slower machine
// runs the race at the same pace. At 60 frames a second every frame is one tick and the game
// does exactly what the per-frame rules give.
#pragma once

constexpr int kTicksPerSecond = 60;        // the rate the per-frame rules are written for
constexpr int kMaxFramesPerSecond = 60;    // the cap without KESTRUN_MAX_FPS
constexpr int kMaxTicksPerFrame = 4;       // below 15 frames a second the race slows down

// The cap that KESTRUN_MAX_FPS asks for: a whole number from 1 to 60, or 0 for none (frames
// back to back, one tick each: the per-frame rules, as the benchmarks run them). Anything else,
// or no value, gives the default 60.
int MaxFramesPerSecond(const char* value);

class FramePacer {
public:
    explicit FramePacer(int maxFramesPerSecond);

    // Milliseconds to wait before the next frame may start; 0 without a cap.
    int WaitMillis(int now) const;
    // Called when a frame starts: the ticks it stands for (1 while frames come at the cap, more
    // when they come slower), and the start of the cap's wait for the next one.
    int StartFrame(int now);

private:
    double _framePeriod;  // ms; 0 without a cap
    bool _started = false;
    double _nextFrame = 0.0;   // ms, when the next frame may start
    double _ticksUpTo = 0.0;   // ms of game time the ticks so far stand for
};

// The ticks of the frame being drawn (1 until a pacer sets them).
int FrameTicks();
void SetFrameTicks(int ticks);
