// The pick-up item: a faceted gem turning about its upright axis, drawn as 128 x 128 RGBA
// frames on a transparent background. The gem looks the same after a quarter turn, so the
// frames, a fifth of a quarter turn apart, loop without a jump.
#pragma once

#include <cstdint>

#include "Canvas.h"

constexpr int32_t kGemFrames = 5;
constexpr int32_t kGemSize = 128;  // the item texture's width and height

// One frame, `size` pixels square (the game's icon draws the same gem larger and smaller).
Canvas GemFrame(int32_t frame, int32_t size = kGemSize);
