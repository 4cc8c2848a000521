// The terrain's two textures: the base colour map, one texel per world unit (texel (x, z)
// colours the ground square of sample (x, z); its bottom row is world z = 0), and the fine
// repeating detail map, mid-grey on average.
#pragma once

#include <vector>

#include "Canvas.h"
#include "HeightDesign.h"

// Colour by height and slope (water, shore, grass, rock, snow), with the painted course's
// free cells drawn as a road with kerbs and a chequered start line, and the free cells of
// the other courses (`trails`, one byte per sample) as dirt trails.
Canvas TerrainBase(const HeightField& field, const std::vector<char>& paintedCells,
                   const std::vector<uint8_t>& trails);

Canvas TerrainDetail();
