// A racer's laps round a course's route (course/Route.h): its progress through the gates, the
// laps it has driven and their times. Race time is the sum of the frames' ticks, from GO at 0;
// no clock is read. A lap counts when the racer crosses the start line forward after passing
// every gate in order; a gate passed backwards is undone. The first crossing from the start
// place begins lap 1, which is timed from GO.
#pragma once

#include <cstdint>
#include <vector>

#include "course/MarkerPlacement.h"

struct Route;

// One racer's record of its race.
struct LapProgress {
    int32_t laps = 0;              // laps driven
    double lapStart = 0.0;         // race time the lap being driven began, seconds: GO or the
                                   // end of the last lap
    std::vector<double> lapTimes;  // each lap's time, seconds, in order
    double bestLap = 0.0;          // the shortest lap, seconds; 0 before the first
    bool missedPart = false;       // the last crossing of the start line came with part of the
                                   // route missed: no lap, and the lap is to drive again
    float lapFraction = 0.0f;      // how much of the lap is done, 0 to 1 along the route
    int32_t nextGate = 0;          // the gate to pass next; the gate count once all are passed
    bool leftStart = false;        // it has crossed the start line once from its start place
};

// One frame of a racer: its move from `from`, where it stood at the end of the last frame, to
// `to`, where it stands now, during the frame that began at race time `raceTicks` and stood for
// `frameTicks`. Each crossing is timed where it lies along the move, so laps come out the same
// at any frame rate. A few segment tests: the next gate, the last one, the start line.
void StepLaps(const Route& route, LapProgress& progress, WorldSpot from, WorldSpot to,
              double raceTicks, float frameTicks);

// True when a racer at `at` faces more than a right angle away from the way the route runs
// where it is: `heading` in radians, 0 toward -z, growing toward +x.
bool HeadingAgainstRoute(const Route& route, const LapProgress& progress, WorldSpot at,
                         float heading);
