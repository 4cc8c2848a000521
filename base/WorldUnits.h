// The world's fixed measures, shared by the game and its tools: the terrain's size, the scale
// of its heights, the step of its mesh, and the heights a course needs.
#pragma once

#include <cstdint>

constexpr int32_t kTerrainSize = 256;       // world units, and height samples, along x and z
constexpr int32_t kHeightDivisor = 10;      // raw height / this = world height, in integers
constexpr int32_t kTerrainStep = 8;         // world units between the terrain mesh's vertices
constexpr float kMarkerHeight = 17.0f;      // every post, rope and race pole stands at this height
constexpr float kPostHeight = 5.0f;         // a post spans this much, centred on kMarkerHeight
constexpr int32_t kTrackHeight = 15;        // the ground a course needs: a racer's eye is 2 above
                                            // it, level with the ropes
constexpr float kTopSpeed = 0.5f;           // a racer's top speed, world units per tick
                                            // (base/FramePacer.h)
