// The rules a course file has to keep for the game to behave, checked on a grid that the
// game's own reader has read: each broken rule gives one line of text. Warnings name cells
// the game runs with but a racer would find wrong (by line and column of the file): invisible
// walls, a racer that starts on the fence line, ground off the track's height.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CourseData;

struct CourseReport {
    std::vector<std::string> problems;
    std::vector<std::string> warnings;
    int32_t startCells;  // '2' cells in the grid
    int32_t markers;     // posts and ropes the game will build
    int32_t cellSize;    // world units per cell, as the game computes it
};

// Where a cell stands in the course text, both counted from 1.
struct CellPlace {
    int32_t line;
    int32_t column;
};

// The place of every cell of the text, index x * length + y (the file's order); shorter when
// the text holds fewer cells.
std::vector<CellPlace> LocateCells(const std::string& text, int32_t width, int32_t length);

// Checks a course that was read successfully from `text`. With `heights` (the 256 x 256 bytes
// of the height file) it also looks at the ground under every drivable cell. Runs the game's
// marker rule on the grid to count the markers, so the grid holds ';' cells afterwards.
CourseReport CheckCourse(CourseData& course, const std::string& text, const unsigned char* heights);

// Whether the course can be raced, for the checker and the course tool alike: its route's
// length in units and in seconds at top speed, and its gates, or that it has none; then one line
// for each thing in a race's way, naming its cells (a start row short of the fence, no loop
// back to the start line, a fork, a crossing too flat to go straight through). Each line begins
// "race: ". None of them is a problem: the free drive plays the course all the same.
std::vector<std::string> RaceLines(const CourseData& course, const std::string& text);
