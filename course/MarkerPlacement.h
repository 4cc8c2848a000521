// Where the markers, the race poles and the racers go: the layout of the course that needs no
// OpenGL, kept apart from the drawing so that it can be checked without a window. Each marker's
// rope comes from the rope table (course/RopeTable.h), laid out with the fence.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

class CourseData;

// A place on the ground, world x and z.
struct WorldSpot {
    float x;
    float z;
};

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
// cells, the fence with every marker's rope, start table, start positions and quadtree. A course without a grid is
// scanned not at all. A start-cell note (StartCellNote) goes to the console, standard output
// when none is given.
void LayOutMarkers(CourseData& course);
void LayOutMarkers(CourseData& course, std::ostream& console);
