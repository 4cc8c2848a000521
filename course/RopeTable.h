// Where each marker's rope goes: the rope table, which points a marker's rope at the next post
// along the fence. The fence (course/Fence.h) lays every rope out with it once.
#pragma once

#include <cstdint>

#include "course/FenceRope.h"

class CourseData;

// The values before the first marker of a view: angle 90, A 0, B 0, 5 units long.
RopePlacement FirstRopePlacement();

// The rope of marker (x, y), from its post to the post of the first of its eight neighbours
// that is a marker (the rows of the rope table, looked at in order), reaching 0.5 units past
// both posts on a side and about as far on a diagonal. Where the neighbour toward +x or -z is
// a start cell on the fence line, the rope reaches over the start cells in that direction to
// the next marker: the fence runs on past the race pole. A marker without a marker neighbour
// gets the first values, a rope centred on its own post. Offsets and length follow the cell
// size (the table's values are for 4-unit cells). A neighbour outside the grid is no marker.
// The fence places every marker's rope with it once, and the drawing reads that placement.
RopePlacement PlaceRope(const CourseData& course, int32_t x, int32_t y);

// Length of a rope along its direction on 4-unit cells: 7 for the angles 45 and 135, 1 + 4
// sqrt(2) for 225 and 315, 5 for the sides (and any other angle).
float RopeLength(int32_t angle);

// The cell a rope joins, for a marker whose rope table found one: the neighbour's offset from
// the marker in cells (one step, or several over start cells). False for a marker without a
// marker neighbour.
bool RopeNeighbour(const CourseData& course, int32_t x, int32_t y, int32_t& dx, int32_t& dy);
