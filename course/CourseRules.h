// The course rules that need no OpenGL, asked by the game, the terrain, the checker and the
// asset generator alike: which cells stand beyond the rope line, the ground height, which cells
// the marker layout makes posts, and which are the start cells. The cells themselves and the
// post rule are in course/CourseGrid.h; the fence, the course's wall, in course/Fence.h.
#pragma once

#include <cstdint>

class CourseData;

// True for a cell beyond the rope line: blocked ground ('1', or outside the grid), and a fenced
// cell (one that carries a post, or a start cell) with blocked ground right after it in +x or
// +z. A post stands at its cell's low corner, so the rope of such a cell runs along the cell's
// low edge, a whole cell before the blocked ground. (The wall step itself asks the fence.)
// Gives the same answer before and after the markers are built.
bool IsWallCell(const CourseData& course, int32_t x, int32_t y);

// The terraced ground height, in world units, at the integer terrain point (x, z) of the
// course's height field (CourseData::GroundHeight).
int32_t GroundHeight(const CourseData& course, int32_t x, int32_t z);

// Turns every '0' cell with a blocked side neighbour into a marker ';' and returns how many.
int32_t MarkBorderCells(CourseData& course);

// Scans the grid, x outermost, for '2' cells. Stores at most `capacity` of them and returns
// how many the grid holds in all (which may be more than were stored).
int32_t CollectStartCells(const CourseData& course, int32_t* xs, int32_t* ys, int32_t capacity);

// How many cells hold the code.
int32_t CountCells(const CourseData& course, char code);
