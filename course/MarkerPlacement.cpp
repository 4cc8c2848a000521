#include "course/MarkerPlacement.h"

#include <algorithm>
#include <iostream>

#include "course/Course.h"
#include "course/CourseRules.h"

namespace {
// One row of the rope direction table: the neighbour looked at and the values it sets.
struct NeighbourRow {
    int32_t dx;
    int32_t dy;
    int32_t angle;
    float along;
    float across;
    bool keepsAcross;
};

// Looked at in this order; the first neighbour that is a marker wins.
const NeighbourRow kNeighbourRows[8] = {
    {1, 0, 0, 1.0f, 0.0f, false},     {1, -1, 45, 1.2f, 0.0f, false},
    {0, -1, 90, 1.0f, 0.0f, false},   {-1, -1, 135, 1.0f, 0.0f, false},
    {-1, 0, -45, 1.5f, 0.0f, true},   {-1, 1, 225, -1.0f, 1.0f, false},
    {0, 1, 270, -1.0f, 0.0f, false},  {1, 1, 315, 1.0f, 1.0f, false},
};

bool IsMarker(const Course& course, int32_t x, int32_t y) {
    return course.Contains(x, y) && course.GetCell(x, y) == ';';
}

bool HasGrid(const Course& course) {
    return course._courseMap != nullptr && course._courseWidth > 0 && course._courseLength > 0;
}

WorldSpot SpotOf(const int32_t* xs, const int32_t* ys, int32_t entry, float cellSize) {
    return WorldSpot{static_cast<float>(xs[entry]) * cellSize,
                     static_cast<float>(ys[entry]) * cellSize};
}

// Room for every marker cell the grid holds, also those the course file brought along.
void AllocateVisibleLists(Course& course, int32_t markers) {
    delete[] course._visibleX;
    delete[] course._visibleY;
    course._visibleX = new int32_t[markers];
    course._visibleY = new int32_t[markers];
    course._visibleCountX = 0;
    course._visibleCountY = 0;
}
}  // namespace

RopePlacement FirstRopePlacement() {
    return RopePlacement{90, 0.0f, 0.0f};
}

RopePlacement PlaceRope(const Course& course, int32_t x, int32_t y, const RopePlacement& previous) {
    for (const NeighbourRow& row : kNeighbourRows) {
        if (IsMarker(course, x + row.dx, y + row.dy)) {
            return RopePlacement{row.angle, row.along, row.keepsAcross ? previous.across : row.across};
        }
    }
    return previous;
}

float RopeLength(int32_t angle) {
    const bool diagonal =
        angle == 45 || angle == 135 || angle == 225 || angle == 315 || angle == -45;
    return diagonal ? 7.0f : 5.0f;
}

float CellSizeForWidth(int32_t width) {
    return width > 0 ? static_cast<float>(kTerrainSize / width) : 0.0f;
}

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

void LayOutMarkers(Course& course) {
    course.ComputeCellSize();
    course._markerCount = 0;
    g_startCount = 0;
    int32_t found = 0;
    const bool hasGrid = HasGrid(course);
    if (hasGrid) {
        course._markerCount = MarkBorderCells(course);
        found = CollectStartCells(course, g_startX, g_startY, kStartTableSize);
        g_startCount = std::min(found, kStartTableSize);
    }
    const std::string note = StartCellNote(found);
    if (!note.empty()) {
        std::cout << note << std::endl;
    }

    WorldSpot racer1{};
    WorldSpot racer2{};
    PlaceRacers(g_startX, g_startY, g_startCount, course._cellSize, racer1, racer2);
    course._start1X = racer1.x;
    course._start1Z = racer1.z;
    course._start2X = racer2.x;
    course._start2Z = racer2.z;

    AllocateVisibleLists(course, hasGrid ? CountCells(course, ';') : 0);
    course.BuildQuadTree(course._quadTree, 0.0f, 0.0f, kTerrainSize, kTerrainSize, 4);
}
