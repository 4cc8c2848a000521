#include "Autopilot.h"

#include <cmath>

#include "app/FrameSteps.h"
#include "app/Game.h"
#include "base/FramePacer.h"
#include "course/CourseData.h"
#include "course/Fence.h"
#include "course/Route.h"
#include "platform/Clock.h"
#include "race/Laps.h"

namespace {
int32_t g_frameMillis = 0;

int FrameClock() {
    return g_frameMillis;
}

constexpr float kPi = 3.14159265f;
constexpr float kLookAhead = 4.0f;     // cells of the route ahead of the racer that it steers to
constexpr float kSteerSlack = 0.04f;   // radians off the target it lets be
constexpr float kHoldAngle = 0.35f;    // radians off the target beyond which it stops speeding up

// A racer the autopilot drives: where it stood at the last call, and its laps.
struct Driven {
    WorldSpot last{};
    LapProgress laps;
};

Route g_route;
bool g_routeFound = false;
Driven g_driven[2];
double g_ticks = 0.0;  // race time of the calls, a tick each

// True when nothing stops a racer on the straight line from (x, z) to the point: no rope, and
// no blocked ground outside the fence.
bool ClearPath(const CourseData& course, float x, float z, const WorldSpot& point) {
    if (MoveCrossesFence(course, x, z, point.x, point.z)) {
        return false;
    }
    const float length = std::hypot(point.x - x, point.z - z);
    for (float along = 0.0f; along < length; along += 0.5f) {
        const float t = along / length;
        if (IsBlockedGround(course, x + (point.x - x) * t, z + (point.z - z) * t)) {
            return false;
        }
    }
    return true;
}

// The farthest point of the route a little ahead of the racer that it can drive to in a
// straight line: around a corner of the fence it aims short rather than into the rope.
WorldSpot Target(const CourseData& course, const RacerView& racer, const LapProgress& laps) {
    const float station = laps.lapFraction * g_route.length;
    const float cell = CellSizeForWidth(course.GetWidth());
    for (float ahead = kLookAhead * cell; ahead > cell; ahead -= cell / 2.0f) {
        const WorldSpot point = RoutePointAt(g_route, station + ahead);
        if (ClearPath(course, racer.x, racer.z, point)) {
            return point;
        }
    }
    return RoutePointAt(g_route, station + cell);
}

// Presses or releases a racer's key through the game's key handling, as a player does.
void Press(Game& game, unsigned char key, bool down) {
    if (down) {
        game.KeyDown(key, 0, 0);
    } else {
        game.KeyUp(key, 0, 0);
    }
}

void Drive(Game& game, const RacerView& racer, const RacerKeys& keys, Driven& driven) {
    const WorldSpot at{racer.x, racer.z};
    StepLaps(g_route, driven.laps, driven.last, at, g_ticks, kOneTick);
    driven.last = at;
    const WorldSpot target = Target(game.GetWorld().GetCourse(), racer, driven.laps);
    const float bearing = std::atan2(target.x - racer.x, -(target.z - racer.z));
    float off = std::fmod(bearing - racer.heading, 2.0f * kPi);
    off = off > kPi ? off - 2.0f * kPi : off < -kPi ? off + 2.0f * kPi : off;
    // A racer stopped by a wall answers the accelerate key only after a frame without it.
    const bool aimed = std::fabs(off) < kHoldAngle;
    Press(game, keys.accelerate, aimed && !racer.stopped);
    Press(game, keys.hold, !aimed && !racer.stopped);
    Press(game, keys.left, off < -kSteerSlack);
    Press(game, keys.right, off > kSteerSlack);
}
}  // namespace

void UseFrameClock(int32_t startMillis) {
    g_frameMillis = startMillis;
    SetClockForTesting(FrameClock);
}

void AdvanceFrameClock() {
    g_frameMillis += kBenchFrameMillis;
}

void DriveBoth(Game& game) {
    const RacerView racer1 = game.ViewOfRacer(1);
    const RacerView racer2 = game.ViewOfRacer(2);
    if (!g_routeFound) {
        g_route = FindRoute(game.GetWorld().GetCourse());
        g_routeFound = true;
        g_driven[0].last = WorldSpot{racer1.x, racer1.z};
        g_driven[1].last = WorldSpot{racer2.x, racer2.z};
    }
    if (g_route.gates.empty()) {
        return;
    }
    Drive(game, racer1, kRacer1Keys, g_driven[0]);
    Drive(game, racer2, kRacer2Keys, g_driven[1]);
    g_ticks += kOneTick;
}

double LapsDriven() {
    return g_driven[0].laps.laps + g_driven[0].laps.lapFraction;
}
