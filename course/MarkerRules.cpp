#include "course/MarkerRules.h"

#include "course/Course.h"

char CellOrBlocked(const Course& course, int32_t x, int32_t y) {
    return course.Contains(x, y) ? course.GetCell(x, y) : '1';
}

bool HasBlockedSide(const Course& course, int32_t x, int32_t y) {
    return CellOrBlocked(course, x + 1, y) == '1' || CellOrBlocked(course, x, y + 1) == '1' ||
           CellOrBlocked(course, x - 1, y) == '1' || CellOrBlocked(course, x, y - 1) == '1';
}

int32_t MarkBorderCells(Course& course) {
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

int32_t CollectStartCells(const Course& course, int32_t* xs, int32_t* ys, int32_t capacity) {
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

int32_t CountCells(const Course& course, char code) {
    int32_t count = 0;
    for (int32_t x = 0; x < course._courseWidth; ++x) {
        for (int32_t y = 0; y < course._courseLength; ++y) {
            count += course.GetCell(x, y) == code ? 1 : 0;
        }
    }
    return count;
}
