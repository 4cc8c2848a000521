// The grid's cells and the questions every rule of the course asks of them: what the codes are,
// which cell lies under a point, what lies outside the grid, which cells are blocked and which
// carry a post. The post rule is written here alone; the rope table, the fence, the walls, the
// marker layout and the tools all ask it.
#pragma once

#include <cstdint>

class CourseData;

// The codes of a course file's cells. Any other character is free ground that never gets a post.
constexpr char kBlockedCell = '1';  // blocked ground
constexpr char kFreeCell = '0';     // free ground; beside blocked ground it gets a post
constexpr char kStartCell = '2';    // a start cell
constexpr char kMarkerCell = ';';   // a post with its rope, made from a '0' by the marker layout

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

// True for blocked ground: a '1', or outside the grid.
bool IsBlockedCell(const CourseData& course, int32_t x, int32_t y);

// True when the cell (x, y) has a blocked side neighbour, looked at in the order
// (x + 1, y), (x, y + 1), (x - 1, y), (x, y - 1). Diagonal neighbours do not count.
bool HasBlockedSide(const CourseData& course, int32_t x, int32_t y);

// The post rule: a marker ';', or a '0' with a blocked side neighbour, which the marker layout
// makes one. So the answer is the same before and after the layout.
bool IsPostCell(const CourseData& course, int32_t x, int32_t y);

// A start cell with a blocked side neighbour: it stands on the fence line, its race pole (or
// the rope of the post before it) where a post would be.
bool IsFencedStart(const CourseData& course, int32_t x, int32_t y);
