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

// How far either side of a rope's centre line a move counts as touching it, world units
// (about the rope's half width).
constexpr float kRopeHalfWidth = 0.2f;

// The ropes of every marker cell (';', or a '0' with a blocked side neighbour, so that the
// answer is the same before and after the marker build), in scan order, each placed once by
// the rope table (course/RopeTable.h: PlaceRope): the drawing draws that placement.
std::vector<FenceRope> BuildFence(const CourseData& course);

// Builds the fence into the course (CourseData::_fence); the marker layout does it for the game.
void LayOutFence(CourseData& course);

// The rope the fence placed for the marker (x, y), or null for a cell that carries none.
const FenceRope* RopeOfMarker(const std::vector<FenceRope>& fence, int32_t x, int32_t y);

// True when a racer's move from (fromX, fromZ) to (toX, toZ) crosses the fence: it reaches a
// rope from the track side, or, standing on a rope's line, goes on away from the track, or it
// comes within kRopeHalfWidth of a post (every marker's own). A move along a rope, or away from
// it toward the track, crosses nothing but the posts in its way: a racer on a rope's line
// drives along it as far as the next post, never through one.
bool MoveCrossesFence(const CourseData& course, float fromX, float fromZ, float toX, float toZ);
bool MoveCrossesFence(const std::vector<FenceRope>& fence, float fromX, float fromZ, float toX,
                      float toZ);

// True when (x, z) lies on a rope's line: within kRopeHalfWidth of a rope as drawn, where only
// the posts stop a move along it.
bool IsOnFenceLine(const std::vector<FenceRope>& fence, float x, float z);

// True for ground inside the fence, where a racer drives freely. Within a cell of a rope the
// nearest rope tells, by the side the point is on (so a corner of a blocked cell that a
// diagonal rope leaves on the track side is inside, and free ground beyond a rope is not);
// farther from every rope, every cell that is not blocked.
bool IsInsideFence(const CourseData& course, float x, float z);
// The same with a fence of the caller's (BuildFence), for a course whose markers are not laid out.
bool IsInsideFence(const CourseData& course, const std::vector<FenceRope>& fence, float x, float z);

// True when the world position (x, z) lies on blocked ground ('1', or off the grid) outside
// the fence: where the wall step stops a racer that crossed no rope.
bool IsBlockedGround(const CourseData& course, float x, float z);
