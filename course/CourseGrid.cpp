#include "course/CourseGrid.h"

#include <cmath>

#include "course/CourseData.h"

namespace {
// One world coordinate as a cell index, rounded down; far-off values stay far off the grid.
int32_t WorldToCellIndex(float world, float cellsPerUnit) {
    const float cell = std::floor(world * cellsPerUnit);
    if (!(cell >= -1.0f)) {
        return -1;
    }
    if (cell > 65536.0f) {
        return 65536;
    }
    return static_cast<int32_t>(cell);
}
}  // namespace

GridCell WorldToCell(const CourseData& course, float x, float z) {
    return GridCell{WorldToCellIndex(x, course._cellsPerUnit),
                    WorldToCellIndex(z, course._cellsPerUnit)};
}

char CellOrBlocked(const CourseData& course, int32_t x, int32_t y) {
    return course.Contains(x, y) ? course.GetCell(x, y) : kBlockedCell;
}

bool IsBlockedCell(const CourseData& course, int32_t x, int32_t y) {
    return CellOrBlocked(course, x, y) == kBlockedCell;
}

bool HasBlockedSide(const CourseData& course, int32_t x, int32_t y) {
    return IsBlockedCell(course, x + 1, y) || IsBlockedCell(course, x, y + 1) ||
           IsBlockedCell(course, x - 1, y) || IsBlockedCell(course, x, y - 1);
}

bool IsPostCell(const CourseData& course, int32_t x, int32_t y) {
    const char code = CellOrBlocked(course, x, y);
    return code == kMarkerCell || (code == kFreeCell && HasBlockedSide(course, x, y));
}

bool IsFencedStart(const CourseData& course, int32_t x, int32_t y) {
    return CellOrBlocked(course, x, y) == kStartCell && HasBlockedSide(course, x, y);
}
