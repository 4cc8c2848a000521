// The route round a course and the laps along it: every course's gates reach from fence to
// fence, and a racer driving the route counts its laps at any frame rate, timed by the route's
// length, while shortcuts, backward laps and rocking over the line count nothing.
#include <gtest/gtest.h>

#include <sstream>

#include "RouteDriver.h"
#include "TestCourses.h"
#include "base/FramePacer.h"
#include "course/Fence.h"
#include "course/MarkerPlacement.h"

namespace {
// A loop on a 256-wide grid, a unit a cell, its track 9 cells wide.
std::string WideLoop() {
    return DrawnCourse(256, {{40, 200}, {40, 48}, {216, 48}, {216, 200}}, 4.4f, 128, 36, 44);
}

Route RouteOf(CourseData& course, const std::string& text) {
    ReadGoodCourse(course, text);
    std::ostringstream quiet;
    LayOutMarkers(course, quiet);
    return FindRoute(course);
}

Route RouteOfShipped(CourseData& course, const char* name) {
    return RouteOf(course, ReadFileBytes(KESTRUN_SOURCE_DIR "/data/courses/" + std::string(name)));
}
}  // namespace

// Each gate runs inside the fence from the route to just beyond the fence on both sides, and
// crosses no other: no racer passes beside one, or crosses two at once.
TEST(RaceRoute, EveryShippedCourseAndAWideOneHasALoopWithGatesFromFenceToFence) {
    std::vector<std::pair<std::string, std::string>> courses{{"wide loop", WideLoop()}};
    AddShippedCourses(courses);
    for (const auto& [name, text] : courses) {
        CourseData course;
        const Route route = RouteOf(course, text);
        ASSERT_FALSE(route.points.empty()) << name;
        EXPECT_TRUE(route.issues.empty()) << name;
        EXPECT_EQ(route.points.front().z, route.startLine.centre.z) << name;
        EXPECT_EQ(route.points.front().x, route.points.back().x) << name;
        EXPECT_GT(route.gates.size(), route.length / 8.0f) << name;
        // From racer 1's start place heading 0 runs with the route, and the first move crosses
        // the start line.
        LapProgress laps;
        const WorldSpot start{course._start1X, course._start1Z};
        EXPECT_FALSE(HeadingAgainstRoute(route, laps, start, 0.0f)) << name;
        StepLaps(route, laps, start, {start.x, start.z - kTopSpeed}, 0.0, 1.0f);
        EXPECT_TRUE(laps.leftStart) << name;
        for (size_t g = 0; g < route.gates.size(); ++g) {
            const RouteGate& gate = route.gates[g];
            const float length = std::hypot(gate.b.x - gate.a.x, gate.b.z - gate.a.z);
            EXPECT_FALSE(IsInsideFence(course, gate.a.x, gate.a.z)) << name << " gate " << g;
            EXPECT_FALSE(IsInsideFence(course, gate.b.x, gate.b.z)) << name << " gate " << g;
            for (float along = 0.5f; along <= length - 0.5f; along += 0.125f) {
                const float x = gate.a.x + (gate.b.x - gate.a.x) * along / length;
                const float z = gate.a.z + (gate.b.z - gate.a.z) * along / length;
                EXPECT_TRUE(IsInsideFence(course, x, z)) << name << " gate " << g << " at " << along;
            }
            EXPECT_LT(g > 0 ? route.gates[g - 1].station : 0.0f, gate.station) << name;
        }
    }
}

// Three laps of the default course's route at top speed, 4, 2, 1 and 0.42 ticks a frame: the
// first crossing from the start place counts nothing, each lap takes the route's length at top
// speed from GO on, the laps add up to the race time, and the lap's fraction follows the
// distance driven round.
TEST(RaceLaps, TheRouteDrivenAtAnyFrameRateCountsItsLapsTimedByItsLength) {
    CourseData course;
    const Route route = RouteOfShipped(course, "default.txt");
    const double lap = route.length / kTopSpeed / kTicksPerSecond;
    for (const float frameTicks : {4.0f, 2.0f, 1.0f, 0.42f}) {
        const DrivenPath driven = DrivePath(route, RouteLaps(route, 3, 1.0f), kTopSpeed, frameTicks);
        ASSERT_EQ(3, driven.laps.laps) << frameTicks;
        for (const double time : driven.laps.lapTimes) {
            EXPECT_NEAR(lap, time, 0.0005) << frameTicks;
        }
        EXPECT_NEAR(3.0 * lap, driven.laps.lapStart, 1e-4) << frameTicks;
        EXPECT_NEAR(driven.laps.lapTimes[0] + driven.laps.lapTimes[1] + driven.laps.lapTimes[2],
                    driven.laps.lapStart, 1e-9);
        EXPECT_EQ(*std::min_element(driven.laps.lapTimes.begin(), driven.laps.lapTimes.end()),
                  driven.laps.bestLap);
        EXPECT_FALSE(driven.laps.missedPart);
        EXPECT_LT(driven.fractionGap, 0.01f) << frameTicks;
        EXPECT_EQ(0, driven.againstFrames) << frameTicks;
    }
}

TEST(RaceLaps, RockingOverTheLineOrALapBackwardsCountsNothingAndGatesBackedOverAreUndone) {
    CourseData course;
    const Route route = RouteOfShipped(course, "default.txt");
    const WorldSpot line = route.points.front();
    std::vector<WorldSpot> rocking{line};
    for (int turn = 0; turn < 20; ++turn) {
        rocking.push_back({line.x, line.z - 3.0f});
        rocking.push_back({line.x, line.z + 3.0f});
    }
    const DrivenPath rocked = DrivePath(route, rocking, kTopSpeed, 1.0f);
    EXPECT_EQ(0, rocked.laps.laps);
    EXPECT_TRUE(rocked.laps.missedPart);
    const std::vector<WorldSpot> backwards(route.points.rbegin(), route.points.rend());
    const DrivenPath reversed = DrivePath(route, backwards, kTopSpeed, 1.0f);
    EXPECT_EQ(0, reversed.laps.laps);
    EXPECT_EQ(0, reversed.laps.nextGate);
    EXPECT_GT(reversed.againstFrames, reversed.frames * 9 / 10);
    // Half a lap, the whole lap backwards (its gates undone), then on to the line: no lap.
    const size_t half = route.points.size() / 2;
    std::vector<WorldSpot> undone(route.points.begin(), route.points.begin() + half + 1);
    undone.insert(undone.end(), backwards.end() - half, backwards.end());
    undone.insert(undone.end(), backwards.begin() + 1, backwards.end() - half);
    undone.insert(undone.end(), route.points.begin() + half, route.points.end());
    undone.push_back(RoutePointAt(route, 1.0f));
    EXPECT_EQ(0, DrivePath(route, undone, kTopSpeed, 1.0f).laps.laps);
    // Half a lap and 20 points back: the gates backed over are to pass again.
    std::vector<WorldSpot> backed(route.points.begin(), route.points.begin() + half + 1);
    backed.insert(backed.end(), route.points.rend() - half, route.points.rend() - half + 20);
    const LapProgress laps = DrivePath(route, backed, kTopSpeed, 1.0f).laps;
    const float station = route.stations[half - 20];
    EXPECT_EQ(std::count_if(route.gates.begin(), route.gates.end(),
                            [station](const RouteGate& gate) { return gate.station < station; }),
              laps.nextGate);
    EXPECT_NEAR(station / route.length, laps.lapFraction, 0.002f);
}

// On the figure-eight, turning off where the track crosses itself, back toward the start line,
// leaves out the other loop: no lap, and part of the course missed. The whole eight is a lap.
TEST(RaceLaps, OnTheFigureEightTheShortcutAtTheCrossingCountsNoLap) {
    CourseData course;
    const Route route = RouteOfShipped(course, "figure-eight.txt");
    size_t first = 0, second = 0;
    float nearest = 1e9f;
    for (size_t i = 0; i < route.points.size(); ++i) {
        for (size_t j = i + 1; j < route.points.size(); ++j) {
            const float d = std::hypot(route.points[i].x - route.points[j].x,
                                       route.points[i].z - route.points[j].z);
            if (route.stations[j] - route.stations[i] > route.length / 4.0f &&
                route.stations[j] - route.stations[i] < route.length * 0.75f && d < nearest) {
                nearest = d, first = i, second = j;
            }
        }
    }
    ASSERT_LT(nearest, 1.0f);
    std::vector<WorldSpot> shortcut(route.points.begin(), route.points.begin() + first);
    shortcut.insert(shortcut.end(), route.points.begin() + second, route.points.end());
    shortcut.push_back(RoutePointAt(route, 1.0f));
    const DrivenPath cut = DrivePath(route, shortcut, kTopSpeed, 1.0f);
    EXPECT_EQ(0, cut.laps.laps);
    EXPECT_TRUE(cut.laps.missedPart);
    EXPECT_EQ(1, DrivePath(route, RouteLaps(route, 1, 1.0f), kTopSpeed, 1.0f).laps.laps);
}

// On a course of a unit a cell, a frame at 4 ticks carries a racer 2 units, across a gate or two:
// it passes every one.
TEST(RaceLaps, OnAWideCourseAtFourTicksAFrameNoGateIsPassedBy) {
    CourseData course;
    const Route route = RouteOf(course, WideLoop());
    EXPECT_LT(route.length / static_cast<float>(route.gates.size()), 3.0f);
    const DrivenPath driven = DrivePath(route, RouteLaps(route, 2, 1.0f), kTopSpeed, 4.0f);
    EXPECT_EQ(2, driven.laps.laps);
    EXPECT_NEAR(route.length / kTopSpeed / kTicksPerSecond, driven.laps.bestLap, 0.0005);
}
