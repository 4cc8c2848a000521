#include "race/RaceTimeText.h"

#include <cmath>
#include <cstdio>

#include "base/FramePacer.h"

namespace {
constexpr double kLongestHundredths = 100.0 * 3600.0 * 100.0;  // 100 hours

// The time in whole hundredths of a second; -1 for no time.
long long Hundredths(double ticks) {
    const double hundredths = std::round(ticks * 100.0 / kTicksPerSecond);
    return ticks >= 0.0 && hundredths < kLongestHundredths ? static_cast<long long>(hundredths)
                                                            : -1;
}

std::string Text(long long hundredths, bool minutesAlways) {
    if (hundredths < 0) {
        return "-:--.--";
    }
    const long long minutes = hundredths / 6000;
    const long long seconds = hundredths / 100 % 60;
    char text[32];
    if (minutes > 0 || minutesAlways) {
        std::snprintf(text, sizeof text, "%lld:%02lld.%02lld", minutes, seconds, hundredths % 100);
    } else {
        std::snprintf(text, sizeof text, "%lld.%02lld", seconds, hundredths % 100);
    }
    return text;
}
}  // namespace

std::string RaceTimeText(float ticks) {
    return Text(Hundredths(ticks), true);
}

std::string GapText(float ticks) {
    const long long hundredths = Hundredths(std::fabs(ticks));
    return (ticks < 0.0f && hundredths > 0 ? "-" : "+") + Text(hundredths, false);
}
