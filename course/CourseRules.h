// The course rules that need no OpenGL, asked by the game, the terrain, the checker and the
// asset generator alike: which cell lies under a point, which cells carry a post and rope,
// which stop a racer, and which are the start cells. Outside the grid counts as blocked ground.
#pragma once

#include <cstdint>

class CourseData;

// A cell of the grid: grid x is world x, grid y is world z.
struct GridCell {
    int32_t x;
    int32_t y;
};

// The cell under the world position (x, z): each coordinate times the course's cells per
// world unit (width / 256, on both axes), rounded down. A position far off the terrain gives
// a cell far off the grid, without overflowing.
GridCell WorldToCell(const CourseData& course, float x, float z);

// The cell code at (x, y), or '1' (blocked) for a position outside the grid.
char CellOrBlocked(const CourseData& course, int32_t x, int32_t y);

// True when the free cell (x, y) has a blocked side neighbour, looked at in the order
// (x + 1, y), (x, y + 1), (x - 1, y), (x, y - 1).
bool HasBlockedSide(const CourseData& course, int32_t x, int32_t y);

// True for a cell beyond the rope line: blocked ground ('1', or outside the grid), and a fenced
// cell (one that carries a post, or a start cell) with blocked ground right after it in +x or
// +z. A post stands at its cell's low corner, so the rope of such a cell runs along the cell's
// low edge, a whole cell before the blocked ground. (The wall step itself asks the fence.)
// Gives the same answer before and after the markers are built.
bool IsWallCell(const CourseData& course, int32_t x, int32_t y);

// True when the world position (x, z) lies on blocked ground ('1', or off the grid) outside
// the fence (course/Fence.h): where the wall step stops a racer that crossed no rope.
bool IsBlockedGround(const CourseData& course, float x, float z);

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
