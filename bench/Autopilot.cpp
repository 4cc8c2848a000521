#include "Autopilot.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <utility>
#include <vector>

#include "app/FrameSteps.h"
#include "app/Game.h"
#include "course/CourseGrid.h"
#include "course/CourseRules.h"
#include "course/Fence.h"
#include "platform/Clock.h"

namespace {
int32_t g_frameMillis = 0;

int FrameClock() {
    return g_frameMillis;
}

constexpr float kPi = 3.14159265f;
constexpr int kLookAhead = 6;          // route points ahead of the racer's own that it steers to
constexpr float kSteerSlack = 0.04f;   // radians off the target it lets be
constexpr float kHoldAngle = 0.35f;    // radians off the target beyond which it stops speeding up

struct RoutePoint {
    float x;
    float z;
};

// The route, and for every cell the route point it belongs to (-1: none).
struct Lap {
    std::vector<RoutePoint> points;
    std::vector<int32_t> stepOfCell;
    int32_t length = 0;   // grid length, for the cell index
};

Lap g_lap;
bool g_lapBuilt = false;
double g_laps = 0.0;
int32_t g_lastStep = -1;

std::vector<int32_t> StepsFromStart(const CourseData& course) {
    const int32_t width = course.GetWidth();
    const int32_t length = course.GetLength();
    std::vector<int32_t> steps(static_cast<size_t>(width) * length, -1);
    int32_t xs[kStartTableSize];
    int32_t ys[kStartTableSize];
    const int32_t starts = std::min(CollectStartCells(course, xs, ys, kStartTableSize), kStartTableSize);
    std::deque<std::pair<int32_t, int32_t>> pending;
    // The racers face -z: the lap begins on the cells just before the start row.
    for (int32_t i = 0; i < starts; ++i) {
        pending.emplace_back(xs[i], ys[i] - 1);
    }
    int32_t first = 0;
    for (auto& [x, y] : pending) {
        if (!IsWallCell(course, x, y) && course.GetCell(x, y) != '2') {
            steps[static_cast<size_t>(x) * length + y] = first;
        }
    }
    while (!pending.empty()) {
        const auto [x, y] = pending.front();
        pending.pop_front();
        const int32_t step = course.Contains(x, y) ? steps[static_cast<size_t>(x) * length + y] : -1;
        if (step < 0) {
            continue;
        }
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int32_t nx = x + dx;
            const int32_t ny = y + dy;
            if (IsWallCell(course, nx, ny) || course.GetCell(nx, ny) == '2' ||
                steps[static_cast<size_t>(nx) * length + ny] >= 0) {
                continue;
            }
            steps[static_cast<size_t>(nx) * length + ny] = step + 1;
            pending.emplace_back(nx, ny);
        }
    }
    return steps;
}

void BuildLap(const CourseData& course) {
    g_lap.length = course.GetLength();
    const double cellSize = CellSizeForWidth(course.GetWidth());
    g_lap.stepOfCell = StepsFromStart(course);
    int32_t last = -1;
    for (int32_t step : g_lap.stepOfCell) {
        last = std::max(last, step);
    }
    std::vector<double> sumX(last + 1, 0.0), sumZ(last + 1, 0.0), count(last + 1, 0.0);
    for (size_t cell = 0; cell < g_lap.stepOfCell.size(); ++cell) {
        const int32_t step = g_lap.stepOfCell[cell];
        if (step >= 0) {
            sumX[step] += (static_cast<double>(cell / g_lap.length) + 0.5) * cellSize;
            sumZ[step] += (static_cast<double>(cell % g_lap.length) + 0.5) * cellSize;
            count[step] += 1.0;
        }
    }
    g_lap.points.clear();
    for (int32_t step = 0; step <= last; ++step) {
        g_lap.points.push_back({static_cast<float>(sumX[step] / count[step]),
                                static_cast<float>(sumZ[step] / count[step])});
    }
}

// The route point of the cell under a racer, or -1 off the route (start row, walls).
int32_t StepAt(const CourseData& course, const RacerView& racer) {
    const GridCell cell = WorldToCell(course, racer.x, racer.z);
    return course.Contains(cell.x, cell.y)
               ? g_lap.stepOfCell[static_cast<size_t>(cell.x) * g_lap.length + cell.y]
               : -1;
}

// True when nothing stops a racer on the straight line from (x, z) to the point: no rope, and
// no blocked ground outside the fence.
bool ClearPath(const CourseData& course, float x, float z, const RoutePoint& point) {
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

// The farthest of the next few route points that the racer can drive to in a straight line:
// around a corner of the fence it aims short rather than into the rope.
RoutePoint Target(const CourseData& course, const RacerView& racer, int32_t step) {
    const int32_t count = static_cast<int32_t>(g_lap.points.size());
    for (int32_t ahead = kLookAhead; ahead > 1; --ahead) {
        const RoutePoint& point = g_lap.points[(std::max(step, 0) + ahead) % count];
        if (ClearPath(course, racer.x, racer.z, point)) {
            return point;
        }
    }
    return g_lap.points[(std::max(step, 0) + 1) % count];
}

// Presses or releases a racer's key through the game's key handling, as a player does.
void Press(Game& game, unsigned char key, bool down) {
    if (down) {
        game.KeyDown(key, 0, 0);
    } else {
        game.KeyUp(key, 0, 0);
    }
}

void Drive(Game& game, const RacerView& racer, const RacerKeys& keys, int32_t step) {
    const RoutePoint target = Target(game.GetWorld().GetCourse(), racer, step);
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
    const CourseData& course = game.GetWorld().GetCourse();
    if (!g_lapBuilt) {
        BuildLap(course);
        g_lapBuilt = true;
    }
    if (g_lap.points.empty()) {
        return;
    }
    const RacerView racer1 = game.ViewOfRacer(1);
    const RacerView racer2 = game.ViewOfRacer(2);
    const int32_t step1 = StepAt(course, racer1);
    const int32_t count = static_cast<int32_t>(g_lap.points.size());
    if (step1 >= 0) {
        if (g_lastStep >= 0) {
            int32_t moved = step1 - g_lastStep;
            moved += moved < -count / 2 ? count : moved > count / 2 ? -count : 0;
            g_laps += static_cast<double>(moved) / count;
        }
        g_lastStep = step1;
    }
    Drive(game, racer1, kRacer1Keys, step1);
    Drive(game, racer2, kRacer2Keys, StepAt(course, racer2));
}

double LapsDriven() {
    return g_laps;
}
