#include "base/FramePacer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
constexpr double kTickMillis = 1000.0 / kTicksPerSecond;
int g_frameTicks = 1;
}  // namespace

int MaxFramesPerSecond(const char* value) {
    if (value == nullptr || *value == '\0' || std::strlen(value) > 2) {
        return kMaxFramesPerSecond;
    }
    char* end = nullptr;
    const long fps = std::strtol(value, &end, 10);
    if (*end != '\0' || fps < 0 || fps > kMaxFramesPerSecond) {
        return kMaxFramesPerSecond;
    }
    return static_cast<int>(fps);
}

FramePacer::FramePacer(int maxFramesPerSecond)
    : _framePeriod(maxFramesPerSecond > 0 ? 1000.0 / maxFramesPerSecond : 0.0) {}

int FramePacer::WaitMillis(int now) const {
    if (_framePeriod <= 0.0 || !_started) {
        return 0;
    }
    return static_cast<int>(std::max(0.0, std::ceil(_nextFrame - now)));
}

int FramePacer::StartFrame(int now) {
    if (_framePeriod <= 0.0) {
        return 1;
    }
    if (!_started) {
        _started = true;
        _nextFrame = now + _framePeriod;
        _ticksUpTo = now;
        return 1;
    }
    // The next frame may start a period after this one was due; a late frame does not make the
    // ones after it come sooner than that.
    _nextFrame = std::max(_nextFrame + _framePeriod, static_cast<double>(now));
    const double behind = (now - _ticksUpTo) / kTickMillis;
    const int ticks = std::clamp(static_cast<int>(std::lround(behind)), 1, kMaxTicksPerFrame);
    _ticksUpTo += ticks * kTickMillis;
    // Slower than the last tick can make up, or ahead of the clock: count from now on.
    if (now - _ticksUpTo > kTickMillis || _ticksUpTo - now > kTickMillis) {
        _ticksUpTo = now;
    }
    return ticks;
}

int FrameTicks() {
    return g_frameTicks;
}

void SetFrameTicks(int ticks) {
    g_frameTicks = ticks;
}
