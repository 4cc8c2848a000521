// A course drawn from above, laid out as its file is: line x of the file is the picture's row
// band x (top first), column y its column band y (left first), one square of cells per cell,
// about 512 pixels across. Colours (the README's legend):
//   blocked ground  dark green    40  72  40  (with heights: water and hills, below)
//   track           sand         222 204 160
//   wall cell       tan          196 150 104  a fenced cell with blocked ground after it in +x
//                                             or +z, where the rope line stops a racer
//   start cell      red          214  40  40
//   post            black         20  20  20  at its cell's top-left (low) corner
//   rope            brown         96  56  24  from post to neighbouring post
//   race pole       white        255 255 255  at the corner of the first and last start cell
//   racer 1, 2      blue 70 150 255, yellow 255 220 0: a triangle at the racer's start,
//                                             pointing left, the way the racers face
//   water           blue          40  90 190  ground at height 1 or lower
//   hills           green, lighter with height: 30 + 2h, 60 + 3h, 30 + 1.5h at height h
#pragma once

#include <cstdint>

#include "Png.h"

class CourseData;

// The largest course drawn, in cells a side.
constexpr int32_t kLargestCourseDrawn = 1024;

// Pixels a side of each cell's square: 512 / the longer side, at least 1.
int32_t CellPixels(int32_t width, int32_t length);

// Draws a course the game's reader has read (its grid gets the game's ';' marker cells).
// With `heights` (256 x 256 bytes, z * 256 + x) the blocked ground shows its water and hills.
Picture DrawCourse(CourseData& course, const unsigned char* heights);
