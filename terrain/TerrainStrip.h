// The order in which a terrain pass sends the mesh: one triangle strip of 32 bands of step 8.
#pragma once

#include <cstdint>
#include <functional>

#include "base/Vec3.h"
#include "base/WorldUnits.h"

constexpr int32_t kTerrainBands = 32;
constexpr int32_t kTerrainVerticesPerPass = kTerrainBands * 33 * 2;   // 2112

// One vertex of the strip as the pass sends it.
struct TerrainVertex {
    int32_t x = 0;        // grid point, a multiple of 8 from 0 to 256
    int32_t z = 0;
    float height = 0;     // world height: raw height / divisor, in integers
    Vec3 normal;          // the seven-point vertex normal (level ground gives 0, -1, 0)
};

// Visits the vertices of one pass in drawing order. Each band runs up or down in z as
// g_stripReversed says, and the flag turns after every band (32 turns: false again at the end).
void WalkTerrainStrip(const unsigned char* field, int32_t heightDivisor,
                      const std::function<void(const TerrainVertex&)>& visit);
