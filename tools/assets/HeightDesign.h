// The ground the courses need: flat at world height 15 under and around their free cells
// (the posts and ropes stand at height 17 and a racer's eye is 2 above the ground), hills
// beyond, and low basins where the water moves. The field is 256 x 256 samples, byte
// z * 256 + x, and tiles at 256 like the game's lookup.
#pragma once

#include <cstdint>
#include <vector>

#include "course/CourseData.h"

// Raw height of the course ground: world height kTrackHeight, midway between the raw values
// that give it, so that smoothing never takes it to the next terrace.
constexpr int32_t kTrackRaw = kTrackHeight * kHeightDivisor + kHeightDivisor / 2;
constexpr int32_t kWaterTopRaw = 29;  // the highest raw height of the water (world 2)

// The cell code that covers the ground of each sample (x, z), the square from (x, z) to
// (x + 1, z + 1) in which the game takes that sample as the ground; '1' outside the grid.
std::vector<char> CellsUnderSamples(const CourseData& course);

// The same, as the ground a racer can reach: '1' outside the fence (course/Fence.h:
// IsInsideFence at the sample's middle), and '0' for blocked ground inside it (a corner of a
// blocked cell that a diagonal rope leaves on the track side). It ends at the rope line.
std::vector<char> RoadUnderSamples(const CourseData& course);

// True for every sample whose code is not '1'.
std::vector<uint8_t> FreeSamples(const std::vector<char>& cells);

// Euclidean distance, in world units, from every sample to the nearest marked sample, the
// field wrapping at 256 on both axes; `cap` for samples farther than that (or no mark at all).
std::vector<double> DistanceField(const std::vector<uint8_t>& marks, int32_t cap);

struct HeightField {
    std::vector<double> smooth;  // designed height in raw units, before rounding
    std::vector<uint8_t> raw;    // the bytes of terrain1.raw
};

// 1 for every sample in a blocked cell that the course encloses (the flood of blocked cells
// from the grid's border does not reach it), 0 elsewhere.
std::vector<uint8_t> InfieldSamples(const CourseData& course);

// Heights from the distance to the nearest free sample of any course: flat at kTrackRaw up to
// 8 units from it, falling into lakes in the infield and rising into hills outside.
HeightField DesignHeights(const std::vector<double>& distanceToCourse,
                          const std::vector<uint8_t>& infield);
