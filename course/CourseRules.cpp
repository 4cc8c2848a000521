#include "course/CourseRules.h"

#include "course/CourseData.h"
#include "course/CourseGrid.h"

bool IsWallCell(const CourseData& course, int32_t x, int32_t y) {
    if (IsBlockedCell(course, x, y)) {
        return true;
    }
    const bool blockedAfter = IsBlockedCell(course, x + 1, y) || IsBlockedCell(course, x, y + 1);
    // A post, or a start cell, whose low edge is a fence line (the race pole, or the rope of
    // the post before it, stands there).
    return blockedAfter && (IsPostCell(course, x, y) || IsFencedStart(course, x, y));
}

int32_t GroundHeight(const CourseData& course, int32_t x, int32_t z) {
    return CourseData::GroundHeight(course._heights, course._heightDivisor, x, z);
}

int32_t MarkBorderCells(CourseData& course) {
    int32_t marked = 0;
    for (int32_t x = 0; x < course._courseWidth; ++x) {
        for (int32_t y = 0; y < course._courseLength; ++y) {
            if (course.GetCell(x, y) == kFreeCell && IsPostCell(course, x, y)) {
                course.SetCell(x, y, kMarkerCell);
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
            if (course.GetCell(x, y) != kStartCell) {
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
