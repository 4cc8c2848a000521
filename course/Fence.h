// The fence: the ropes as segments in the ground plane, worked out once from the marker layout.
// It is the course's wall: a racer's move that would cross a rope, or run into a post, is
// stopped, and the ground inside the fence is drivable everywhere, also over the corners of
// blocked cells that a diagonal rope leaves on the track side. Blocked ground stops a racer
// only where no rope stands before it. The game's wall step, the checker, the course picture,
// the asset kit and the bench's driver all ask these functions.
#pragma once

#include <cstdint>
#include <vector>

#include "course/FenceRope.h"

class CourseData;

// A course's fence, held by its data (CourseData::_fence): its ropes, one for each marker in
// scan order, and which parts of each cell lie inside it. A cell's two diagonals cut it into
// four parts, each touching one side of the cell: its entry (index x * length + y) holds bit 0
// for the part on its low-x side, 1 low z, 2 high x, 3 high z, set for a part inside the fence.
struct Fence {
    std::vector<FenceRope> ropes;
    std::vector<uint8_t> insideParts;
};

// How far either side of a rope's centre line a move counts as touching it, world units
// (about the rope's half width).
constexpr float kRopeHalfWidth = 0.2f;

// The ropes of every marker cell (';', or a '0' with a blocked side neighbour, so that the
// answer is the same before and after the marker build), in scan order, each placed once by
// the rope table (course/RopeTable.h: PlaceRope): the drawing draws that placement.
// With them, which parts of each cell lie inside the fence (Fence::insideParts).
Fence BuildFence(const CourseData& course);

// Builds the fence into the course (CourseData::_fence); the marker layout does it for the game.
void LayOutFence(CourseData& course);

// The rope the fence placed for the marker (x, y), or null for a cell that carries none.
const FenceRope* RopeOfMarker(const Fence& fence, int32_t x, int32_t y);

// True when a racer's move from (fromX, fromZ) to (toX, toZ) crosses the fence: it reaches a
// rope from the track side, or, standing on a rope's line, goes on away from the track, or it
// comes within kRopeHalfWidth of a post (every marker's own). A move along a rope, or away from
// it toward the track, crosses nothing but the posts in its way: a racer on a rope's line
// drives along it as far as the next post, never through one.
bool MoveCrossesFence(const CourseData& course, float fromX, float fromZ, float toX, float toZ);
bool MoveCrossesFence(const Fence& fence, float fromX, float fromZ, float toX, float toZ);

// True when (x, z) lies on a rope's line: within kRopeHalfWidth of a rope as drawn, where only
// the posts stop a move along it.
bool IsOnFenceLine(const Fence& fence, float x, float z);

// True for ground inside the fence, just where a racer can drive: the ground on the track side
// of the ropes (also a corner of a blocked cell that a diagonal rope leaves there, and no free
// ground beyond a rope), and where no rope bounds it, every cell that is not blocked. Off the
// grid is outside. Looked up in the parts the fence worked out (Fence::insideParts); a course
// without a fence laid out has only its cells.
bool IsInsideFence(const CourseData& course, float x, float z);
// The same with a fence of the caller's (BuildFence), for a course whose markers are not laid out.
bool IsInsideFence(const CourseData& course, const Fence& fence, float x, float z);

// True when the world position (x, z) lies on blocked ground ('1', or off the grid) outside
// the fence: where the wall step stops a racer that crossed no rope.
bool IsBlockedGround(const CourseData& course, float x, float z);
