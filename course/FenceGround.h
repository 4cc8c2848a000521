// The ground inside the fence, part by part: each cell cut into four parts by its diagonals,
// and which of them lie on the track side of the ropes. Worked out once with the fence
// (course/Fence.h: BuildFence); IsInsideFence looks it up.
#pragma once

#include <cstdint>
#include <vector>

#include "course/FenceRope.h"

class CourseData;

// The parts of a cell that its two diagonals cut it into, each named by the side of the cell it
// touches; bit p of a cell's entry in Fence::insideParts stands for part p.
enum CellPart : int32_t { kLowXPart, kLowZPart, kHighXPart, kHighZPart };

// The part of a cell that holds the point (fx, fz), given in cells from its low corner.
int32_t CellPartAt(float fx, float fz);

// For every cell (entry x * length + y), the bits of its parts inside the fence. The ropes with
// a side are laid on the grid from post to post (along the sides of cells, and across cells
// from corner to corner) and the parts flooded from both sides of every rope, the flood never
// crossing one. The flood from a rope's track side keeps off blocked cells that no rope
// crosses; the one from its other side keeps to blocked cells, post and start cells and cells a
// rope crosses, so that neither runs through a gap in the fence into open ground. A part the
// track side's flood reaches first is inside; where no flood comes, a cell is inside unless it
// is blocked.
std::vector<uint8_t> InsideParts(const CourseData& course, const std::vector<FenceRope>& ropes);
