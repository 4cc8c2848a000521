// Where the markers, the race poles and the racers go: the layout of the course that needs no
// OpenGL, kept apart from the drawing so that it can be checked without a window.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "base/WorldUnits.h"

class CourseData;

constexpr float kPostHeight = 5.0f;     // a post spans this much, centred on kMarkerHeight
constexpr float kNoStartPosition = 128.0f;  // a racer's start on a course without start cells

// A place on the ground, world x and z.
struct WorldSpot {
    float x;
    float z;
};

// The rope of one marker: its angle about the vertical in degrees, its offsets along (A) and
// across (B) that direction in half world units, and its length in world units.
struct RopePlacement {
    int32_t angle;
    float along;
    float across;
    float length;
};

// The values before the first marker of a view: angle 90, A 0, B 0, 5 units long.
RopePlacement FirstRopePlacement();

// The rope of marker (x, y), from its post to the post of the first of its eight neighbours
// that is a marker (the rows of the rope table, looked at in order), reaching 0.5 units past
// both posts on a side and about as far on a diagonal. Where the neighbour toward +x or -z is
// a start cell on the fence line, the rope reaches over the start cells in that direction to
// the next marker: the fence runs on past the race pole. A marker without a marker neighbour
// gets the first values, a rope centred on its own post; `previous` is not used for it any
// more but kept for the drawing's loop. Offsets and length follow the cell size (the table's
// values are for 4-unit cells). A neighbour outside the grid is no marker.
RopePlacement PlaceRope(const CourseData& course, int32_t x, int32_t y, const RopePlacement& previous);

// Length of a rope along its direction on 4-unit cells: 7 for the angles 45 and 135, 1 + 4
// sqrt(2) for 225 and 315, 5 for the sides (and any other angle).
float RopeLength(int32_t angle);

// The cell a rope joins, for a marker whose rope table found one: the neighbour's offset from
// the marker in cells (one step, or several over start cells). False for a marker without a
// marker neighbour.
bool RopeNeighbour(const CourseData& course, int32_t x, int32_t y, int32_t& dx, int32_t& dy);

// World units per cell: 256 / width in integers, and 0 for a width of 0.
float CellSizeForWidth(int32_t width);

// The racers' starts: racer 1 on entry count / 2, racer 2 on the entry before it. One start
// cell holds both racers; none leaves both at (128, 128).
void PlaceRacers(const int32_t* xs, const int32_t* ys, int32_t count, float cellSize,
                 WorldSpot& racer1, WorldSpot& racer2);

// The race poles stand on the first and the last start cell. Returns how many are drawn:
// two, one when there is a single start cell, none without start cells.
int32_t PlaceRacePoles(const int32_t* xs, const int32_t* ys, int32_t count, float cellSize,
                       WorldSpot poles[2]);

// The console line for a course whose start-cell count lies outside 2 to 10, telling what the
// game does instead; empty when the count is usable as it is.
std::string StartCellNote(int32_t found);

// Everything the marker build does apart from textures and display lists: cell size, marker
// cells, start table, start positions, visible lists and quadtree. A course without a grid is
// scanned not at all. A start-cell note (StartCellNote) goes to the console, standard output
// when none is given.
void LayOutMarkers(CourseData& course);
void LayOutMarkers(CourseData& course, std::ostream& console);
