// A course from a picture of it: the picture is laid over the grid as the course file is laid
// out (picture rows are the file's lines, grid x; picture columns are its columns, grid y),
// each cell takes the class of the pixels it covers, and the result is checked with the
// picture's own rules and then with the course checker's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Png.h"

// How a pixel is read. Transparent pixels are dark; a pixel whose red exceeds both its green
// and its blue by kRedMargin is red; any other is light when its luminance (0.299 R + 0.587 G
// + 0.114 B) is at least kLightLuminance, else dark.
constexpr int kOpaqueAlpha = 128;
constexpr int kRedMargin = 80;
constexpr int kLightLuminance = 128;
// How a cell is read from its pixels: on the start stroke when at least a third of them are
// red, else track when it holds more light pixels than dark ones, else blocked ground.
constexpr int kRedShareDivisor = 3;

constexpr int32_t kNarrowestTrack = 3;    // cells between the blocked ground on each side
constexpr int32_t kFewestStartCells = 3;  // with 2, racer 1 would start on the wall cell

struct CourseFromPicture {
    std::vector<std::string> notes;     // what was read, for the player
    std::vector<std::string> problems;  // nothing may be written
    std::vector<std::string> warnings;  // written, but worth a look
    std::string courseText;             // the course file; empty when there are problems
};

// The grid sizes the tool writes: widths that divide 256, no smaller than 16.
bool IsCourseSize(int32_t size);

// Builds and checks a size x size course from the picture, which must be at least size
// pixels a side.
CourseFromPicture CourseFromImage(const Picture& picture, int32_t size);
