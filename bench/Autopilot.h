// The scripted drivers of the frame benchmark: both racers drive a lap of the course through
// the key table, the way two players would, and a frame clock that advances a fixed step per
// frame so that every run drives the same way whatever the machine's speed.
#pragma once

#include <cstdint>

class Game;

// Milliseconds of game time added per frame (the clock the game reads during a run).
constexpr int32_t kBenchFrameMillis = 16;

// Installs the frame clock as the game's clock, starting at `startMillis`.
void UseFrameClock(int32_t startMillis);
// Advances the frame clock by one frame.
void AdvanceFrameClock();

// Sets the key table for the next frame: each racer steers toward a point of the course's route
// (course/Route.h, found at the first call) a little ahead of where it is along the route,
// accelerates while it points roughly that way and holds its speed while it turns harder.
// Where it is along the route comes from its laps (race/Laps.h), each call a frame of one tick.
void DriveBoth(Game& game);

// How many laps racer 1 has driven since the first DriveBoth, in fractions of a lap.
double LapsDriven();
