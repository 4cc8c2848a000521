// The rules a course file has to keep for the game to behave, checked on a grid that the
// game's own reader has read: each broken rule gives one line of text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Course;

struct CourseReport {
    std::vector<std::string> problems;
    int32_t startCells;  // '2' cells in the grid
    int32_t markers;     // posts and ropes the game will build
    int32_t cellSize;    // world units per cell, as the game computes it
};

// Checks a course that was read successfully. Runs the game's marker rule on the grid to
// count the markers, so the grid holds ';' cells afterwards.
CourseReport CheckCourse(Course& course);
