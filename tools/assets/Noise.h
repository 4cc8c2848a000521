// Seeded integer hashing and value noise for the generated pictures: no global state and no
// library random numbers, so every run draws the same noise.
#pragma once

#include <cstdint>

// A well-mixed 32-bit hash of a lattice point and a seed.
uint32_t Hash(int32_t x, int32_t y, uint32_t seed);

// The hash as a number in [0, 1).
double HashUnit(int32_t x, int32_t y, uint32_t seed);

// Smoothly interpolated lattice noise in [0, 1] at (x, y) in lattice units. The lattice
// repeats every `period` points in both directions, so a picture `period` lattice units
// wide tiles without a seam.
double ValueNoise(double x, double y, int32_t period, uint32_t seed);

// Octaves of value noise over one tile: (u, v) in tile units (1.0 = one tile), the first
// octave with `cells` lattice cells across the tile, each further octave with twice as many
// and half the weight. The result lies in [-1, 1] and tiles with period 1.0.
double TileFbm(double u, double v, int32_t cells, int32_t octaves, uint32_t seed);
