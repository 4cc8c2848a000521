// The game's own pseudo-random generator: a linear congruential generator that is never
// seeded, so every run places the pick-up items in the same places.
#pragma once

#include <cstdint>

extern uint32_t g_randomState;

// Next number from 0 to 32767.
int NextRandom();

// Puts the generator back to its start (state 1), for tests.
void ResetRandom();
