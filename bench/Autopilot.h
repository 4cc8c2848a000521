// The scripted drivers of the frame benchmark: both racers drive round the course through the
// key table, the way two players would, and a frame clock that advances a fixed step per frame
// so that every run drives the same way whatever the machine's speed.
#pragma once

#include <cstdint>

class Game;

// Milliseconds of game time added per frame (the clock the game reads during a run).
constexpr int32_t kBenchFrameMillis = 16;

// Installs the frame clock as the game's clock, starting at `startMillis`.
void UseFrameClock(int32_t startMillis);
// Advances the frame clock by one frame.
void AdvanceFrameClock();

// Sets the key table for the next frame: each racer accelerates while the ground ahead is
// free, and holds its speed and turns (racer 1 to the right, racer 2 to the left) while it is
// blocked; a racer a wall has stopped lets go of every key for one frame.
void DriveBoth(Game& game);
