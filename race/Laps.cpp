#include "race/Laps.h"

#include <algorithm>
#include <cmath>

#include "base/FramePacer.h"
#include "course/Route.h"

namespace {
float Dot(WorldSpot a, WorldSpot b) {
    return a.x * b.x + a.z * b.z;
}

WorldSpot Minus(WorldSpot a, WorldSpot b) {
    return WorldSpot{a.x - b.x, a.z - b.z};
}

// Where along the move (0 to 1) it passes through the gate, forward or backward; -1 where it
// does not. On the line counts as behind it: a racer standing on the start line crosses it with
// its first move forward.
float Crossing(const RouteGate& gate, WorldSpot from, WorldSpot to, bool forward) {
    const float before = Dot(Minus(from, gate.centre), gate.forward);
    const float after = Dot(Minus(to, gate.centre), gate.forward);
    const bool passes = forward ? before <= 0.0f && after > 0.0f : before > 0.0f && after <= 0.0f;
    if (!passes) {
        return -1.0f;
    }
    const float t = before / (before - after);
    const WorldSpot along = Minus(gate.b, gate.a);
    const WorldSpot at{from.x + (to.x - from.x) * t, from.z + (to.z - from.z) * t};
    const float u = Dot(Minus(at, gate.a), along);
    return u >= 0.0f && u <= Dot(along, along) ? t : -1.0f;
}

void CrossStartLine(LapProgress& progress, int32_t gates, double seconds) {
    if (!progress.leftStart) {
        progress.leftStart = true;  // from the start place: lap 1 runs from GO
    } else if (progress.nextGate == gates) {
        const double lap = seconds - progress.lapStart;
        progress.lapTimes.push_back(lap);
        progress.bestLap = progress.laps == 0 ? lap : std::min(progress.bestLap, lap);
        ++progress.laps;
        progress.lapStart = seconds;
        progress.missedPart = false;
    } else {
        progress.missedPart = true;
    }
    progress.nextGate = 0;
}

// The stretch of the route between the last gate passed and the next.
void Stretch(const Route& route, const LapProgress& progress, float& low, float& high) {
    const int32_t next = progress.nextGate;
    low = next > 0 ? route.gates[next - 1].station : 0.0f;
    high = next < static_cast<int32_t>(route.gates.size()) ? route.gates[next].station : route.length;
}
}  // namespace

void StepLaps(const Route& route, LapProgress& progress, WorldSpot from, WorldSpot to,
              double raceTicks, float frameTicks) {
    const int32_t gates = static_cast<int32_t>(route.gates.size());
    if (gates == 0) {
        return;
    }
    enum class Event { None, Next, Back, Line };
    bool lineCrossed = false;
    for (float done = 0.0f;;) {
        Event event = Event::None;
        float first = 2.0f;
        const auto consider = [&](Event kind, float t) {
            if (t >= done && t < first) {
                first = t;
                event = kind;
            }
        };
        if (progress.nextGate < gates) {
            consider(Event::Next, Crossing(route.gates[progress.nextGate], from, to, true));
        }
        if (progress.nextGate > 0) {
            consider(Event::Back, Crossing(route.gates[progress.nextGate - 1], from, to, false));
        }
        if (!lineCrossed) {
            consider(Event::Line, Crossing(route.startLine, from, to, true));
        }
        if (event == Event::None) {
            break;
        }
        done = first;
        if (event == Event::Next) {
            ++progress.nextGate;
        } else if (event == Event::Back) {
            --progress.nextGate;
        } else {
            lineCrossed = true;
            CrossStartLine(progress, gates, (raceTicks + first * frameTicks) / kTicksPerSecond);
        }
    }
    float low = 0.0f;
    float high = 0.0f;
    Stretch(route, progress, low, high);
    progress.lapFraction = NearestStation(route, to, low, high) / route.length;
}

bool HeadingAgainstRoute(const Route& route, const LapProgress& progress, WorldSpot at,
                         float heading) {
    if (route.gates.empty()) {
        return false;
    }
    float low = 0.0f;
    float high = 0.0f;
    Stretch(route, progress, low, high);
    float station = NearestStation(route, at, low, high);
    // Off that stretch (turned off where the track crosses itself): the nearest of the route.
    const WorldSpot near = RoutePointAt(route, station);
    const RouteGate& gate = route.gates[std::min<size_t>(progress.nextGate, route.gates.size() - 1)];
    if (std::hypot(near.x - at.x, near.z - at.z) > std::hypot(gate.a.x - gate.b.x, gate.a.z - gate.b.z)) {
        station = NearestStation(route, at, 0.0f, route.length);
    }
    const WorldSpot way = RouteDirectionAt(route, station);
    return Dot(way, WorldSpot{std::sin(heading), -std::cos(heading)}) < 0.0f;
}
