// A racer that drives a path of points at a steady speed, frame after frame, through the laps
// of race/Laps.h, and the paths it drives round a course's route.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "course/Route.h"
#include "race/Laps.h"

struct DrivenPath {
    LapProgress laps;
    double ticks = 0.0;           // race time at the end
    float fractionGap = 0.0f;     // the most the lap's fraction strayed from the distance driven
                                  // round the route (for a path along the route)
    int againstFrames = 0;        // frames that ended heading against the route
    int frames = 0;
};

// Drives the path from its first point to its last at `speed` units a tick, `frameTicks` a frame.
inline DrivenPath DrivePath(const Route& route, const std::vector<WorldSpot>& path, float speed,
                            float frameTicks) {
    DrivenPath driven;
    std::vector<double> along{0.0};
    for (size_t k = 1; k < path.size(); ++k) {
        along.push_back(along.back() + std::hypot(path[k].x - path[k - 1].x, path[k].z - path[k - 1].z));
    }
    WorldSpot last = path.front();
    for (size_t k = 1; driven.ticks * speed < along.back();) {
        const double distance = std::min((driven.ticks + frameTicks) * speed, along.back());
        while (k + 1 < path.size() && along[k] < distance) {
            ++k;
        }
        const WorldSpot a = path[k - 1], b = path[k];
        const float t = static_cast<float>((distance - along[k - 1]) / (along[k] - along[k - 1]));
        const WorldSpot at{a.x + (b.x - a.x) * t, a.z + (b.z - a.z) * t};
        StepLaps(route, driven.laps, last, at, driven.ticks, frameTicks);
        driven.ticks += frameTicks;
        last = at;
        const float round = static_cast<float>(std::fmod(distance, route.length) / route.length);
        const float gap = std::fabs(driven.laps.lapFraction - round);
        driven.fractionGap = std::max(driven.fractionGap, std::min(gap, 1.0f - gap));
        driven.againstFrames += HeadingAgainstRoute(route, driven.laps, at, std::atan2(b.x - a.x, a.z - b.z));
        ++driven.frames;
    }
    return driven;
}

// The route's centre line `laps` times round from the start line, and `beyond` units on.
inline std::vector<WorldSpot> RouteLaps(const Route& route, int laps, float beyond) {
    std::vector<WorldSpot> path{route.points.front()};
    for (int lap = 0; lap < laps; ++lap) {
        path.insert(path.end(), route.points.begin() + 1, route.points.end());
    }
    for (float station = 0.5f; station <= beyond; station += 0.5f) {
        path.push_back(RoutePointAt(route, station));
    }
    return path;
}
