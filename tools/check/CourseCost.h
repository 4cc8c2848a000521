// What a course costs to draw, found from its layout before it is raced: every post in view is
// two draws, and on a software renderer each draw costs frame time and, until the frame is
// drawn, memory (llvmpipe keeps a copy of the texture state, about 33 KB, for every draw).
// The markers a view holds are counted with the game's own culling: its quadtree, its frustum
// test and its projection in a half of the 640 x 480 window, from every cell a racer can stand
// on, looking every way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CourseData;

// The figure for the default course, on which the game keeps its frame-rate budget.
constexpr int32_t kDefaultCourseMostInView = 210;

struct CourseCost {
    int32_t mostInView = 0;  // the most markers any one view holds
    int32_t peakMegabytes = 0;  // the game's expected peak memory, from mostInView
    int32_t ratePercent = 0;    // its frame rate in the busiest view, in % of the default course's
};

// Lays the markers out as the game does (no OpenGL) and looks from the centre of every cell a
// racer can stand on, at eye height, in 72 directions. The course must have been read.
CourseCost CostOfCourse(CourseData& course);

// True when the game falls below its frame-rate budget (0.8 of the bench's reference scene) in
// the course's busiest views, by the fitted frame time: from 230 markers in a view on.
bool IsHeavy(const CourseCost& cost);

// The smaller grid sizes worth a try for a heavy course drawn `width` cells wide: 128 and 64,
// those below the width, largest first.
std::vector<int32_t> SmallerCourseSizes(int32_t width);

// One line for the author: the figure, what it means for smoothness on a machine without a
// GPU, and for a heavy course what to change: a smaller --size among `smallerSizes` (none
// named when it is empty), or bends.
std::string CostLine(const CourseCost& cost, const std::vector<int32_t>& smallerSizes);
