#include "course/CourseRules.h"

#include <cmath>

#include "course/CourseData.h"
#include "course/Fence.h"

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
    return course.Contains(x, y) ? course.GetCell(x, y) : '1';
}

bool HasBlockedSide(const CourseData& course, int32_t x, int32_t y) {
    return CellOrBlocked(course, x + 1, y) == '1' || CellOrBlocked(course, x, y + 1) == '1' ||
           CellOrBlocked(course, x - 1, y) == '1' || CellOrBlocked(course, x, y - 1) == '1';
}

namespace {
// A cell whose low edge is a fence line: a post (a '0' that will carry one, or one that does)
// or a start cell, where a race pole or the neighbouring post's rope stands.
bool IsFenced(const CourseData& course, int32_t x, int32_t y, char code) {
    return code == ';' || code == '2' || (code == '0' && HasBlockedSide(course, x, y));
}
}  // namespace

bool IsWallCell(const CourseData& course, int32_t x, int32_t y) {
    const char code = CellOrBlocked(course, x, y);
    if (code == '1') {
        return true;
    }
    const bool blockedAfter =
        CellOrBlocked(course, x + 1, y) == '1' || CellOrBlocked(course, x, y + 1) == '1';
    return blockedAfter && IsFenced(course, x, y, code);
}

bool IsBlockedGround(const CourseData& course, float x, float z) {
    const GridCell cell = WorldToCell(course, x, z);
    return CellOrBlocked(course, cell.x, cell.y) == '1' && !IsInsideFence(course, x, z);
}

int32_t GroundHeight(const CourseData& course, int32_t x, int32_t z) {
    return CourseData::GroundHeight(course._heights, course._heightDivisor, x, z);
}

int32_t MarkBorderCells(CourseData& course) {
    int32_t marked = 0;
    for (int32_t x = 0; x < course._courseWidth; ++x) {
        for (int32_t y = 0; y < course._courseLength; ++y) {
            if (course.GetCell(x, y) == '0' && HasBlockedSide(course, x, y)) {
                course.SetCell(x, y, ';');
                ++marked;
            }
        }
    }
    return marked;
}

int32_t CollectStartCells(const CourseData& course, int32_t* xs, int32_t* ys, int32_t capacity) {
    int32_t found = 0;
    for (int32_t x = 0; x < course._courseWidth; ++x) {
        for (int32_t y = 0; y < course._courseLength; ++y) {
            if (course.GetCell(x, y) != '2') {
                continue;
            }
            if (found < capacity) {
                xs[found] = x;
                ys[found] = y;
            }
            ++found;
        }
    }
    return found;
}

int32_t CountCells(const CourseData& course, char code) {
    int32_t count = 0;
    for (int32_t x = 0; x < course._courseWidth; ++x) {
        for (int32_t y = 0; y < course._courseLength; ++y) {
            count += course.GetCell(x, y) == code ? 1 : 0;
        }
    }
    return count;
}
