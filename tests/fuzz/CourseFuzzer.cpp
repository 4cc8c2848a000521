// Feeds arbitrary bytes to the course reader, then, on whatever grid it accepted, runs the
// marker build's layout (marker cells, start table, racers, quadtree), collects the markers
// in a view of the whole world the way the drawing does, and runs the course checker on a second copy of the grid.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "course/CourseData.h"
#include "course/CourseRules.h"
#include "course/Fence.h"
#include "course/MarkerPlacement.h"
#include "course/QuadTree.h"
#include "course/RopeTable.h"
#include "tools/check/CourseCheck.h"

namespace {
// The markers the quadtree's leaves hold: those standing inside the world, above 0 and at
// most 256 on both axes (the low edges belong to no leaf).
int32_t MarkersInsideTheWorld(const CourseData& course) {
    int32_t inside = 0;
    for (int32_t x = 0; x < course._courseWidth; ++x) {
        for (int32_t y = 0; y < course._courseLength; ++y) {
            const float worldX = static_cast<float>(x) * course._cellSize;
            const float worldZ = static_cast<float>(y) * course._cellSize;
            if (course.GetCell(x, y) == ';' && worldX > 0.0f && worldX <= 256.0f &&
                worldZ > 0.0f && worldZ <= 256.0f) {
                ++inside;
            }
        }
    }
    return inside;
}

void LayOutAndCollect(CourseData& course) {
    LayOutMarkers(course);
    if (g_startCount < 0 || g_startCount > kStartTableSize) {
        std::abort();
    }
    WorldSpot poles[2];
    PlaceRacePoles(g_startX, g_startY, g_startCount, course._cellSize, poles);

    // The frustum has not been updated: all its planes are zero and every leaf is in view,
    // so the walk collects each marker of the world exactly once.
    std::vector<int32_t> visibleX(course._quadTree.markerCount);
    std::vector<int32_t> visibleY(course._quadTree.markerCount);
    const int32_t visible =
        CollectVisibleMarkers(course._quadTree, Frustum(), visibleX.data(), visibleY.data());
    if (visible != MarkersInsideTheWorld(course)) {
        std::abort();
    }
    // The drawing draws the rope the layout placed for each marker it collects.
    for (int32_t i = 0; i < visible; ++i) {
        const FenceRope* rope = RopeOfMarker(course._fence, visibleX[i], visibleY[i]);
        if (rope == nullptr) {
            std::abort();
        }
        RopeLength(rope->placement.angle);
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::cout.setstate(std::ios::badbit);  // the reader's console lines are not of interest
    const std::string text(reinterpret_cast<const char*>(data), size);

    CourseData course;
    std::istringstream in(text);
    if (!course.Read(in)) {
        // A failed read leaves no grid behind; the layout copes with that as well.
        if (course._courseMap != nullptr || course._courseWidth != 0) {
            std::abort();
        }
        LayOutMarkers(course);
        return 0;
    }
    LayOutAndCollect(course);

    CourseData checked;
    std::istringstream again(text);
    if (!checked.Read(again)) {
        std::abort();  // the same text reads the same way twice
    }
    // Ground at track height everywhere but one hill, so both kinds of warning can come up.
    static std::vector<unsigned char> heights = [] {
        std::vector<unsigned char> field(static_cast<size_t>(kTerrainSize) * kTerrainSize, 155);
        field[100 * kTerrainSize + 100] = 200;
        return field;
    }();
    const CourseReport report = CheckCourse(checked, text, heights.data());
    if (report.markers != course._markerCount) {
        std::abort();  // the checker counts the markers the game builds
    }
    return 0;
}
