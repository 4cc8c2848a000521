// A marker's rope as plain data: where the rope table places it about its post
// (course/RopeTable.h) and where it lies on the ground, as the fence (course/Fence.h) holds it.
#pragma once

#include <cstdint>

// The rope of one marker: its angle about the vertical in degrees, its offsets along (A) and
// across (B) that direction in half world units, and its length in world units.
struct RopePlacement {
    int32_t angle;
    float along;
    float across;
    float length;
};

// One marker's rope: where the drawing puts it about the marker's post, its two ends as drawn
// (a little past the posts it joins), the two posts, and the unit normal that points away from
// the track, toward the blocked ground it stands before; (0, 0) when the grid does not tell
// which side that is.
struct FenceRope {
    int32_t cellX, cellY;      // the marker's cell
    int32_t joinsX, joinsY;    // the cell of the post it joins (its own for none)
    RopePlacement placement;   // the rope table's values for it (course/RopeTable.h: PlaceRope)
    float x0, z0;
    float x1, z1;
    float outX, outZ;
    float postX0, postZ0;  // its own post
    float postX1, postZ1;  // the post it joins (its own again for a marker with no neighbour)
};
