#include "base/FramePacer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
constexpr double kTickMillis = 1000.0 / kTicksPerSecond;
// A frame within a millisecond (the clock's step) of its period comes on time.
constexpr double kOnTimeMillis = 1.0;

// Milliseconds from `then` to `now` on a clock that wraps: the difference of two readings less
// than 24.8 days apart, whichever side of the wrap they lie.
int32_t MillisBetween(int then, int now) {
    return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(then));
}
}  // namespace

FramePacer::FramePacer(int maxFramesPerSecond)
    : _framePeriod(maxFramesPerSecond > 0 ? 1000.0 / maxFramesPerSecond : 0.0) {}

int FramePacer::WaitMillis(int now) const {
    if (_framePeriod <= 0.0 || !_started) {
        return 0;
    }
    const double due = _nextFrame - MillisBetween(_lastStart, now);
    // A clock that went back never makes the wait longer than a period.
    return static_cast<int>(std::ceil(std::clamp(due, 0.0, _framePeriod)));
}

float FramePacer::StartFrame(int now) {
    if (_framePeriod <= 0.0) {
        return kOneTick;
    }
    const double onTime = _framePeriod / kTickMillis;
    if (!_started) {
        _started = true;
        _lastStart = now;
        _nextFrame = _framePeriod;
        _owed = 0.0;
        return static_cast<float>(onTime);
    }
    const double since = std::max(0, MillisBetween(_lastStart, now));
    _lastStart = now;
    // The next frame may start a period after this one was due; a late frame does not make the
    // ones after it come sooner than now.
    _nextFrame = std::max(_nextFrame + _framePeriod - since, 0.0);
    const double owed = _owed + since;
    if (owed <= _framePeriod + kOnTimeMillis) {
        // On time: exactly one period, whatever the clock's whole milliseconds made of it. A
        // frame ahead by more than a period (a clock that went back) counts from now on.
        _owed = owed - _framePeriod;
        if (_owed < -_framePeriod) {
            _owed = 0.0;
        }
        return static_cast<float>(onTime);
    }
    // Late: the real time since the last frame; past the longest frame the race slows down.
    _owed = 0.0;
    return static_cast<float>(std::min(owed, kMaxTicksPerFrame * kTickMillis) / kTickMillis);
}
