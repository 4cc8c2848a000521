// The fence as plain data, made by the rope table and the fence (course/RopeTable.h,
// course/Fence.h) and held by the course's data.
#pragma once

#include <cstdint>
#include <vector>

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

// A course's fence: its ropes, one for each marker in scan order, and which parts of each cell
// lie inside it. A cell's two diagonals cut it into four parts, each touching one side of the
// cell: its entry (index x * length + y) holds bit 0 for the part on its low-x side, 1 low z,
// 2 high x, 3 high z, set for a part inside the fence.
struct Fence {
    std::vector<FenceRope> ropes;
    std::vector<uint8_t> insideParts;
};
