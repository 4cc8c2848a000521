#include "course/MarkerPlacement.h"

#include <algorithm>
#include <iostream>

#include "course/CourseData.h"
#include "course/CourseRules.h"
#include "course/Fence.h"

namespace {
bool HasGrid(const CourseData& course) {
    return course._courseMap != nullptr && course._courseWidth > 0 && course._courseLength > 0;
}

WorldSpot SpotOf(const int32_t* xs, const int32_t* ys, int32_t entry, float cellSize) {
    return WorldSpot{static_cast<float>(xs[entry]) * cellSize,
                     static_cast<float>(ys[entry]) * cellSize};
}
}  // namespace

void PlaceRacers(const int32_t* xs, const int32_t* ys, int32_t count, float cellSize,
                 WorldSpot& racer1, WorldSpot& racer2) {
    if (count <= 0) {
        racer1 = racer2 = WorldSpot{kNoStartPosition, kNoStartPosition};
        return;
    }
    const int32_t half = count / 2;
    racer1 = SpotOf(xs, ys, half, cellSize);
    racer2 = SpotOf(xs, ys, std::max(half - 1, 0), cellSize);
}

int32_t PlaceRacePoles(const int32_t* xs, const int32_t* ys, int32_t count, float cellSize,
                       WorldSpot poles[2]) {
    if (count <= 0) {
        return 0;
    }
    poles[0] = SpotOf(xs, ys, 0, cellSize);
    if (count == 1) {
        return 1;
    }
    poles[1] = SpotOf(xs, ys, count - 1, cellSize);
    return 2;
}

std::string StartCellNote(int32_t found) {
    const std::string origin = "Course::BuildMarkers() - ";
    if (found <= 0) {
        return origin + "no start cells: both racers start at (128, 128), no race pole is drawn.";
    }
    if (found == 1) {
        return origin + "one start cell: both racers start on it.";
    }
    if (found > kStartTableSize) {
        return origin + std::to_string(found) + " start cells: only the first " +
               std::to_string(kStartTableSize) + " are used.";
    }
    return "";
}

int32_t g_startX[kStartTableSize];
int32_t g_startY[kStartTableSize];
int32_t g_startCount = 0;

void LayOutMarkers(CourseData& course) {
    LayOutMarkers(course, std::cout);
}

void LayOutMarkers(CourseData& course, std::ostream& console) {
    course.ComputeCellSize();
    course._markerCount = 0;
    g_startCount = 0;
    int32_t found = 0;
    const bool hasGrid = HasGrid(course);
    if (hasGrid) {
        course._markerCount = MarkBorderCells(course);
        LayOutFence(course);
        found = CollectStartCells(course, g_startX, g_startY, kStartTableSize);
        g_startCount = std::min(found, kStartTableSize);
    }
    const std::string note = StartCellNote(found);
    if (!note.empty()) {
        console << note << std::endl;
    }

    WorldSpot racer1{};
    WorldSpot racer2{};
    PlaceRacers(g_startX, g_startY, g_startCount, course._cellSize, racer1, racer2);
    course._start1X = racer1.x;
    course._start1Z = racer1.z;
    course._start2X = racer2.x;
    course._start2Z = racer2.z;

    course.BuildQuadTree(course._quadTree, 0.0f, 0.0f, kTerrainSize, kTerrainSize, 4);
}
