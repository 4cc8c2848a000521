#include "course/Route.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "course/CentreLine.h"
#include "course/CourseData.h"
#include "course/CourseRules.h"
#include "course/Fence.h"

namespace {
constexpr int32_t kSmoothing = 3;      // route points each side averaged into one
constexpr float kWidestGate = 3.0f;    // a gate may be this many times the track's width there

WorldSpot Add(WorldSpot a, WorldSpot b, float scale = 1.0f) {
    return WorldSpot{a.x + b.x * scale, a.z + b.z * scale};
}

WorldSpot Minus(WorldSpot a, WorldSpot b) {
    return WorldSpot{a.x - b.x, a.z - b.z};
}

float Dot(WorldSpot a, WorldSpot b) {
    return a.x * b.x + a.z * b.z;
}

float Distance(WorldSpot a, WorldSpot b) {
    return std::hypot(a.x - b.x, a.z - b.z);
}

// True when the segments from a to b and from c to d cross or touch.
bool SegmentsCross(WorldSpot a, WorldSpot b, WorldSpot c, WorldSpot d) {
    const auto side = [](WorldSpot p, WorldSpot q, WorldSpot r) {
        return (q.x - p.x) * (r.z - p.z) - (q.z - p.z) * (r.x - p.x);
    };
    const float d1 = side(a, b, c);
    const float d2 = side(a, b, d);
    const float d3 = side(c, d, a);
    const float d4 = side(c, d, b);
    return ((d1 <= 0.0f && d2 >= 0.0f) || (d1 >= 0.0f && d2 <= 0.0f)) &&
           ((d3 <= 0.0f && d4 >= 0.0f) || (d3 >= 0.0f && d4 <= 0.0f));
}

// The row of start cells the racers stand on: the column of racer 1's start cell, and the
// start cells next to it in that column. `middle` is between the two racers' start places.
struct StartRow {
    int32_t column = 0;
    int32_t first = 0;
    int32_t last = 0;
    WorldSpot middle{};
};

bool FindStartRow(const CourseData& course, float cell, StartRow& row) {
    int32_t xs[kStartTableSize];
    int32_t ys[kStartTableSize];
    const int32_t count = std::min(CollectStartCells(course, xs, ys, kStartTableSize),
                                   kStartTableSize);
    if (count <= 0) {
        return false;
    }
    const int32_t racer1 = count / 2;
    const int32_t racer2 = std::max(racer1 - 1, 0);
    row.column = ys[racer1];
    row.first = row.last = xs[racer1];
    while (CellOrBlocked(course, row.first - 1, row.column) == kStartCell) {
        --row.first;
    }
    while (CellOrBlocked(course, row.last + 1, row.column) == kStartCell) {
        ++row.last;
    }
    const int32_t other = ys[racer2] == row.column ? xs[racer2] : xs[racer1];
    row.middle = WorldSpot{static_cast<float>(xs[racer1] + other) * cell / 2.0f,
                           static_cast<float>(row.column) * cell};
    return true;
}

// How far from `from` along the unit direction the ground stays inside the fence, in steps of
// `step`, up to `limit`; `limit` itself when it never leaves it.
float Reach(const CourseData& course, const Fence& fence, WorldSpot from, WorldSpot direction,
            float step, float limit) {
    float reach = 0.0f;
    while (reach + step <= limit) {
        const WorldSpot at = Add(from, direction, reach + step);
        if (!IsInsideFence(course, fence, at.x, at.z)) {
            return reach;
        }
        reach += step;
    }
    return limit;
}

// Points every `spacing` along the closed line through `points`, each the average of its
// neighbours within kSmoothing points.
std::vector<WorldSpot> EvenAndSmooth(const std::vector<WorldSpot>& points, float spacing) {
    std::vector<WorldSpot> even;
    float carried = 0.0f;
    for (size_t k = 0; k < points.size(); ++k) {
        const WorldSpot p = points[k];
        const WorldSpot q = points[(k + 1) % points.size()];
        const float length = Distance(p, q);
        for (; carried < length; carried += spacing) {
            even.push_back(Add(p, Minus(q, p), carried / length));
        }
        carried -= length;
    }
    const int32_t size = static_cast<int32_t>(even.size());
    std::vector<WorldSpot> smooth(even.size());
    for (int32_t k = 0; k < size; ++k) {
        WorldSpot sum{0.0f, 0.0f};
        for (int32_t d = -kSmoothing; d <= kSmoothing; ++d) {
            sum = Add(sum, even[((k + d) % size + size) % size]);
        }
        smooth[k] = WorldSpot{sum.x / (2 * kSmoothing + 1), sum.z / (2 * kSmoothing + 1)};
    }
    return smooth;
}

// The closed line begun where it crosses the start line forward (nearest the line's middle),
// ending there again; empty when it does not cross it.
std::vector<WorldSpot> BeginAtTheLine(const std::vector<WorldSpot>& loop, const RouteGate& line) {
    const size_t size = loop.size();
    size_t best = size;
    WorldSpot crossing{};
    for (size_t k = 0; k < size; ++k) {
        const WorldSpot p = loop[k];
        const WorldSpot q = loop[(k + 1) % size];
        const float before = Dot(Minus(p, line.centre), line.forward);
        const float after = Dot(Minus(q, line.centre), line.forward);
        if (!(before <= 0.0f && after > 0.0f) || !SegmentsCross(p, q, line.a, line.b)) {
            continue;
        }
        const WorldSpot at = Add(p, Minus(q, p), before / (before - after));
        if (best == size || Distance(at, line.centre) < Distance(crossing, line.centre)) {
            best = k;
            crossing = at;
        }
    }
    if (best == size) {
        return {};
    }
    crossing.z = line.centre.z;  // on the line exactly: the start places stand there
    std::vector<WorldSpot> route{crossing};
    for (size_t k = 1; k <= size; ++k) {
        route.push_back(loop[(best + k) % size]);
    }
    route.push_back(crossing);
    return route;
}

void MeasureStations(Route& route) {
    route.stations.assign(1, 0.0f);
    for (size_t k = 1; k < route.points.size(); ++k) {
        route.stations.push_back(route.stations.back() +
                                 Distance(route.points[k - 1], route.points[k]));
    }
    route.length = route.stations.back();
}

GridCell CellOf(const CourseData& course, WorldSpot at) {
    return WorldToCell(course, at.x, at.z);
}

// What the route works from: the course, its fence, the ground a racer reaches.
struct RouteGround {
    const CourseData& course;
    const Fence& fence;
    const GroundRaster& raster;
    float cell;
};

float DepthAt(const GroundRaster& raster, WorldSpot at) {
    const int32_t sample = SampleAt(raster, at);
    return sample < 0 ? 0.0f : static_cast<float>(raster.depth[sample]) / 3.0f * raster.step;
}

// The gate across the route at `station`: perpendicular to it from fence to fence, unless it
// reaches no fence within a few widths of the track, crosses the route elsewhere (where lines
// cross) or crosses a gate already placed.
bool PlaceGate(const RouteGround& ground, const Route& route, float station, RouteGate& gate) {
    const WorldSpot centre = RoutePointAt(route, station);
    const WorldSpot forward = RouteDirectionAt(route, station);
    const WorldSpot across{-forward.z, forward.x};
    const float step = ground.raster.step / 4.0f;
    const float limit = kWidestGate * 2.0f * DepthAt(ground.raster, centre) + ground.raster.step;
    const float left = Reach(ground.course, ground.fence, centre, across, step, limit);
    const float right =
        Reach(ground.course, ground.fence, centre, WorldSpot{-across.x, -across.z}, step, limit);
    if (DepthAt(ground.raster, centre) <= 0.0f || left >= limit || right >= limit) {
        return false;
    }
    gate = RouteGate{Add(centre, across, left + 2.0f * step),
                     Add(centre, across, -(right + 2.0f * step)), centre, forward, station};
    const float near = std::max(left, right) + 2.0f * ground.cell;
    for (size_t k = 0; k + 1 < route.points.size(); ++k) {
        const float apart = std::fabs(route.stations[k] - station);
        if (std::min(apart, route.length - apart) > near &&
            SegmentsCross(gate.a, gate.b, route.points[k], route.points[k + 1])) {
            return false;
        }
    }
    if (SegmentsCross(gate.a, gate.b, route.startLine.a, route.startLine.b)) {
        return false;
    }
    for (const RouteGate& placed : route.gates) {
        if (SegmentsCross(gate.a, gate.b, placed.a, placed.b)) {
            return false;
        }
    }
    return true;
}

// Marks the samples a line passes through, as a wall for a flood from side to side.
void MarkLine(const GroundRaster& raster, const RouteGate& gate, std::vector<uint8_t>& wall) {
    const float length = Distance(gate.a, gate.b);
    const float step = raster.step / 4.0f;
    for (float along = 0.0f; along <= length + step; along += step) {
        const int32_t sample =
            SampleAt(raster, Add(gate.a, Minus(gate.b, gate.a), std::min(along, length) / length));
        if (sample >= 0) {
            wall[sample] = 1;
        }
    }
}

// Floods the ground between the gates and the start line, side neighbours only, and labels
// each piece.
std::vector<int32_t> Pieces(const GroundRaster& raster, const Route& route) {
    std::vector<uint8_t> wall(raster.ground.size(), 0);
    MarkLine(raster, route.startLine, wall);
    for (const RouteGate& gate : route.gates) {
        MarkLine(raster, gate, wall);
    }
    std::vector<int32_t> piece(raster.ground.size(), -1);
    int32_t pieces = 0;
    for (int32_t seed = 0; seed < static_cast<int32_t>(piece.size()); ++seed) {
        if (raster.ground[seed] == 0 || wall[seed] != 0 || piece[seed] >= 0) {
            continue;
        }
        std::vector<int32_t> pending{seed};
        piece[seed] = pieces;
        while (!pending.empty()) {
            const int32_t p = pending.back();
            pending.pop_back();
            const int32_t i = p / raster.size;
            const int32_t j = p % raster.size;
            for (const auto& [di, dj] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const int32_t q = (i + di) * raster.size + (j + dj);
                if (i + di >= 0 && j + dj >= 0 && i + di < raster.size && j + dj < raster.size &&
                    raster.ground[q] != 0 && wall[q] == 0 && piece[q] < 0) {
                    piece[q] = pieces;
                    pending.push_back(q);
                }
            }
        }
        ++pieces;
    }
    return piece;
}

// The piece of ground a little way from the gate's centre, `side` (1 ahead, -1 behind).
int32_t PieceBeside(const GroundRaster& raster, const std::vector<int32_t>& pieces,
                    const RouteGate& gate, float side) {
    for (int32_t steps = 2; steps <= 6; ++steps) {
        const int32_t sample =
            SampleAt(raster, Add(gate.centre, gate.forward, side * raster.step * steps * 0.75f));
        if (sample >= 0 && pieces[sample] >= 0) {
            return pieces[sample];
        }
    }
    return -1;
}

// True when the gate's two sides stay apart with every other gate open: no way leads from one
// to the other but through the gate. Ways through a crossing do not count (through one, a
// racer drives the other loop backwards).
bool NoWayRound(const std::vector<std::pair<int32_t, int32_t>>& sides, size_t gate,
                const std::vector<uint8_t>& crossing) {
    std::vector<int32_t> root(crossing.size());
    std::iota(root.begin(), root.end(), 0);
    const auto find = [&root](int32_t k) {
        while (root[k] != k) {
            k = root[k] = root[root[k]];
        }
        return k;
    };
    for (size_t other = 0; other < sides.size(); ++other) {
        const auto [behind, ahead] = sides[other];
        if (other != gate && behind >= 0 && ahead >= 0 && crossing[behind] == 0 &&
            crossing[ahead] == 0) {
            root[find(behind)] = find(ahead);
        }
    }
    return find(sides[gate].first) != find(sides[gate].second);
}

// Keeps the gates that no racer can drive round: with the gates and the start line standing as
// walls, the ground falls into pieces, and each gate's two sides must lie in pieces that nothing
// joins but the gate itself (or a crossing at `crossings`). Where a gate ends at an island, the
// ground round the island's other side joins them, and the gate goes.
void KeepGatesNoneDrivesRound(const GroundRaster& raster, const std::vector<WorldSpot>& crossings,
                              Route& route) {
    for (bool dropped = true; dropped;) {
        dropped = false;
        const std::vector<int32_t> pieces = Pieces(raster, route);
        std::vector<uint8_t> crossing(
            static_cast<size_t>(*std::max_element(pieces.begin(), pieces.end()) + 1), 0);
        for (const WorldSpot at : crossings) {
            const int32_t sample = SampleAt(raster, at);
            if (sample >= 0 && pieces[sample] >= 0) {
                crossing[pieces[sample]] = 1;
            }
        }
        std::vector<std::pair<int32_t, int32_t>> sides;
        for (const RouteGate& gate : route.gates) {
            sides.emplace_back(PieceBeside(raster, pieces, gate, -1.0f),
                               PieceBeside(raster, pieces, gate, 1.0f));
        }
        std::vector<RouteGate> kept;
        for (size_t g = 0; g < sides.size(); ++g) {
            const auto [behind, ahead] = sides[g];
            if (behind >= 0 && ahead >= 0 && behind != ahead &&
                (crossing[behind] != 0 || crossing[ahead] != 0 || NoWayRound(sides, g, crossing))) {
                kept.push_back(route.gates[g]);
            } else {
                dropped = true;
            }
        }
        route.gates = kept;
    }
}

void PlaceGates(const RouteGround& ground, const std::vector<WorldSpot>& crossings, Route& route) {
    const float spacing = std::clamp(ground.cell, 2.0f, 8.0f);
    for (float station = spacing; station < route.length - spacing / 2.0f;) {
        RouteGate gate{};
        if (PlaceGate(ground, route, station, gate)) {
            route.gates.push_back(gate);
            station += spacing;
        } else {
            station += spacing / 4.0f;
        }
    }
    KeepGatesNoneDrivesRound(ground.raster, crossings, route);
}

// The start line through the start places, from fence to fence; a note for each side where the
// track goes on beyond the start cells.
RouteGate StartLine(const RouteGround& ground, const StartRow& row, std::vector<RouteIssue>& issues) {
    const float step = ground.raster.step / 4.0f;
    const float limit = static_cast<float>(kTerrainSize);
    const float low = Reach(ground.course, ground.fence, row.middle, {-1.0f, 0.0f}, step, limit);
    const float high = Reach(ground.course, ground.fence, row.middle, {1.0f, 0.0f}, step, limit);
    const GridCell first{row.first, row.column};
    if (row.middle.x - low < static_cast<float>(row.first) * ground.cell - ground.raster.step) {
        issues.push_back({RouteProblem::StartRowShort, first, {row.first - 1, row.column}, 0.0f});
    }
    if (row.middle.x + high > static_cast<float>(row.last + 1) * ground.cell + ground.raster.step) {
        issues.push_back({RouteProblem::StartRowShort, first, {row.last + 1, row.column}, 0.0f});
    }
    return RouteGate{{row.middle.x - low - 2.0f * step, row.middle.z},
                     {row.middle.x + high + 2.0f * step, row.middle.z},
                     row.middle,
                     {0.0f, -1.0f},
                     0.0f};
}

void NoteJunctions(const CourseData& course, const CentreLoop& loop, std::vector<RouteIssue>& issues) {
    for (const CentreJunction& junction : loop.junctions) {
        const GridCell cell = CellOf(course, junction.at);
        if (!junction.crossing) {
            issues.push_back({RouteProblem::Fork, cell, cell, 0.0f});
        } else if (junction.angle < kShallowestCrossing) {
            issues.push_back({RouteProblem::ShallowCrossing, cell, cell, junction.angle});
        }
    }
}
}  // namespace

Route FindRoute(const CourseData& course) {
    Route route;
    const float cell = CellSizeForWidth(course.GetWidth());
    StartRow row;
    if (course._courseMap == nullptr || cell <= 0.0f || !FindStartRow(course, cell, row)) {
        return route;
    }
    const Fence built = course._fence.insideParts.empty() ? BuildFence(course) : Fence{};
    const Fence& fence = course._fence.insideParts.empty() ? built : course._fence;
    const GroundRaster raster = ReachableGround(course, fence, row.middle);
    const RouteGround ground{course, fence, raster, cell};
    route.startLine = StartLine(ground, row, route.issues);
    const CentreLoop loop =
        FollowCentreLine(raster, route.startLine.a, route.startLine.b, route.startLine.forward);
    NoteJunctions(course, loop, route.issues);
    if (!loop.points.empty()) {
        route.points = BeginAtTheLine(EvenAndSmooth(loop.points, raster.step), route.startLine);
    }
    if (route.points.empty()) {
        route.issues.push_back(
            {RouteProblem::NoLoop, {row.first, row.column}, {row.last, row.column}, 0.0f});
        return route;
    }
    MeasureStations(route);
    std::vector<WorldSpot> crossings;
    for (const CentreJunction& junction : loop.junctions) {
        if (junction.crossing) {
            crossings.push_back(junction.at);
        }
    }
    PlaceGates(ground, crossings, route);
    return route;
}

WorldSpot RoutePointAt(const Route& route, float station) {
    if (route.points.empty()) {
        return WorldSpot{0.0f, 0.0f};
    }
    station = std::fmod(station, route.length);
    station += station < 0.0f ? route.length : 0.0f;
    const size_t k = static_cast<size_t>(
        std::upper_bound(route.stations.begin(), route.stations.end(), station) -
        route.stations.begin());
    if (k == 0 || k >= route.points.size()) {
        return route.points[k == 0 ? 0 : route.points.size() - 1];
    }
    const float span = route.stations[k] - route.stations[k - 1];
    const float t = span > 0.0f ? (station - route.stations[k - 1]) / span : 0.0f;
    return Add(route.points[k - 1], Minus(route.points[k], route.points[k - 1]), t);
}

WorldSpot RouteDirectionAt(const Route& route, float station) {
    const WorldSpot way = Minus(RoutePointAt(route, station + 1.0f), RoutePointAt(route, station - 1.0f));
    const float length = std::hypot(way.x, way.z);
    return length > 0.0f ? WorldSpot{way.x / length, way.z / length} : WorldSpot{0.0f, -1.0f};
}

float NearestStation(const Route& route, WorldSpot at, float low, float high) {
    float best = low;
    float nearest = 1e30f;
    const size_t first = static_cast<size_t>(
        std::upper_bound(route.stations.begin(), route.stations.end(), low) -
        route.stations.begin());
    for (size_t k = first == 0 ? 0 : first - 1; k + 1 < route.points.size(); ++k) {
        if (route.stations[k] > high) {
            break;
        }
        const WorldSpot p = route.points[k];
        const WorldSpot way = Minus(route.points[k + 1], p);
        const float length2 = Dot(way, way);
        const float t = length2 > 0.0f ? std::clamp(Dot(Minus(at, p), way) / length2, 0.0f, 1.0f) : 0.0f;
        const float distance = Distance(at, Add(p, way, t));
        if (distance < nearest) {
            nearest = distance;
            best = route.stations[k] + t * (route.stations[k + 1] - route.stations[k]);
        }
    }
    return std::clamp(best, low, high);
}
