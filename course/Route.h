// The route of a race round the course, found from the grid alone: the centre line of the
// ground inside the fence, from the start line round to it, going straight on where the track
// crosses itself, and the gates across it that a racer passes in order. Worked out once for a
// course (it takes a few milliseconds); the laps (race/Laps.h), the checker and the bench's
// driver use it.
#pragma once

#include <cstdint>
#include <vector>

#include "course/CourseGrid.h"
#include "course/MarkerPlacement.h"

class CourseData;
struct Fence;

// A line across the track from fence to fence, and the way a racer passes it going forward.
struct RouteGate {
    WorldSpot a;        // its ends: on the fence, or a little beyond it
    WorldSpot b;
    WorldSpot centre;   // where the route crosses it
    WorldSpot forward;  // the unit direction of driving through it
    float station;      // world units along the route from the start line
};

// What stands in the way of a race, found while the route is worked out.
enum class RouteProblem : uint8_t {
    StartRowShort,    // the start row does not reach across the track: `other` is the first
                      // track cell beyond it
    NoLoop,           // nothing comes round from the start line back to it
    Fork,             // racers could leave the route at `cell`
    ShallowCrossing,  // the track crosses itself at `cell` at `angle` degrees: too flat for
                      // the route to go straight through
};

struct RouteIssue {
    RouteProblem problem;
    GridCell cell;   // where: the fork or the crossing; for the start row, its first cell
    GridCell other;  // the start row's last cell, or the track cell beyond it
    float angle;     // degrees between the lines of a crossing
};

// A course's route. Without a route (`points` empty) the course can be driven, not raced.
struct Route {
    std::vector<WorldSpot> points;   // the centre line in driving order, about a unit apart,
                                     // from the start line round to it: the last point is the first
    std::vector<float> stations;     // world units along the route to each point
    std::vector<RouteGate> gates;    // in driving order, all between the start line's crossings
    RouteGate startLine;             // through the start places, forward toward -z (heading 0)
    float length = 0.0f;             // world units round the route
    std::vector<RouteIssue> issues;  // what the course's author should know
};

// Angles of a crossing below this are too flat to go straight through, degrees.
constexpr float kShallowestCrossing = 40.0f;

// The route of the course, over its fence (the course's own once laid out, else one built here).
// The start line is the row of start cells' low-z edge, the line the start places stand on,
// from fence to fence; the racers face across it toward -z.
Route FindRoute(const CourseData& course);

// The point of the route `station` world units from the start line (wrapping round a lap), and
// the unit direction of driving there.
WorldSpot RoutePointAt(const Route& route, float station);
WorldSpot RouteDirectionAt(const Route& route, float station);

// The station of the route point nearest to `at` among those from `low` to `high` (stations).
float NearestStation(const Route& route, WorldSpot at, float low, float high);
