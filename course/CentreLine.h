// The centre line of a course's track, for its route (course/Route.h): the ground a racer can
// reach, sampled on a raster, thinned down to lines that keep every loop of the ground, and the
// loop through the start line followed round it. Where lines meet, the loop goes on along the
// line that continues straightest.
#pragma once

#include <cstdint>
#include <vector>

#include "course/MarkerPlacement.h"

class CourseData;
struct Fence;

// The ground a racer can reach from a place inside the fence, sampled every `step` world units:
// sample (i, j) stands for the point ((i + 0.5) step, (j + 0.5) step), entry i * size + j.
struct GroundRaster {
    int32_t size = 0;            // samples a side, over the 256 x 256 units of the terrain
    float step = 1.0f;           // world units between samples
    std::vector<uint8_t> ground; // 1 where a racer can reach
    std::vector<int32_t> depth;  // distance to the nearest sample off that ground, in thirds of
                                 // a step (3 a side step, 4 a diagonal one); 0 off it
};

// The ground a racer reaches from `from` without crossing the fence (side by side samples
// inside it), a step of a quarter cell, at least half a unit and at most one.
GroundRaster ReachableGround(const CourseData& course, const Fence& fence, WorldSpot from);

// The sample that holds a world point, or -1 off the raster.
int32_t SampleAt(const GroundRaster& ground, WorldSpot at);

// A place where centre lines meet.
struct CentreJunction {
    WorldSpot at;
    int32_t lines;   // lines that leave it
    bool crossing;   // two lines crossing, both on the loop; otherwise a fork (or the meeting
                     // of more than two lines), where racers could leave the loop
    float angle;     // for a crossing: degrees between its two lines, 0 to 90
};

struct CentreLoop {
    std::vector<WorldSpot> points;           // round the loop in driving order, about a step
                                             // apart; empty when the line across is on no loop
    std::vector<CentreJunction> junctions;   // every meeting of more than two lines
};

// The loop of the ground's centre lines that crosses the line from `lineA` to `lineB` going
// `forward`, followed round from that crossing back to it.
CentreLoop FollowCentreLine(const GroundRaster& ground, WorldSpot lineA, WorldSpot lineB,
                            WorldSpot forward);
