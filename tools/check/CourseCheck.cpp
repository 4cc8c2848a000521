#include "CourseCheck.h"

#include <sstream>

#include "course/Course.h"
#include "course/MarkerRules.h"

namespace {
constexpr int32_t kWorldSize = 256;

bool OnEdge(const Course& course, int32_t x, int32_t y) {
    return x == 0 || y == 0 || x == course._courseWidth - 1 || y == course._courseLength - 1;
}

// How many cells with `code` pass the test, and the first of them in file order.
template <typename Test>
int32_t FindCells(const Course& course, char code, Test test, int32_t& firstX, int32_t& firstY) {
    int32_t found = 0;
    for (int32_t x = 0; x < course._courseWidth; ++x) {
        for (int32_t y = 0; y < course._courseLength; ++y) {
            if (course.GetCell(x, y) == code && test(x, y)) {
                if (found == 0) {
                    firstX = x;
                    firstY = y;
                }
                ++found;
            }
        }
    }
    return found;
}

std::string StartCellProblem(int32_t count) {
    std::ostringstream line;
    if (count < 2) {
        line << count << (count == 1 ? " start cell" : " start cells")
             << " ('2'); the game needs 2 to 10 to place both racers and the race poles";
    } else if (count > kStartTableSize) {
        line << count << " start cells ('2'); the game has room for no more than "
             << kStartTableSize;
    }
    return line.str();
}

std::string MarkerCellProblem(const Course& course) {
    int32_t x = 0;
    int32_t y = 0;
    const int32_t count = FindCells(course, ';', [](int32_t, int32_t) { return true; }, x, y);
    if (count == 0) {
        return "";
    }
    std::ostringstream line;
    line << count << " marker " << (count == 1 ? "cell" : "cells") << " (';') in the file, first at "
         << x << "," << y << "; the game makes its markers from '0' cells itself";
    return line.str();
}

std::string EdgeProblem(const Course& course) {
    int32_t x = 0;
    int32_t y = 0;
    const auto onEdge = [&course](int32_t cx, int32_t cy) { return OnEdge(course, cx, cy); };
    const int32_t count = FindCells(course, '0', onEdge, x, y);
    if (count == 0) {
        return "";
    }
    std::ostringstream line;
    line << count << " free " << (count == 1 ? "cell" : "cells") << " ('0') on the grid's edge, first at "
         << x << "," << y << "; keep '0' cells off the edge";
    return line.str();
}

std::string WidthProblem(const Course& course) {
    const int32_t width = course._courseWidth;
    if (width <= kWorldSize && kWorldSize % width == 0) {
        return "";
    }
    std::ostringstream line;
    line << "width " << width << " does not divide 256: the markers stand every "
         << kWorldSize / width << " units, but the cells that stop racers are 256 / " << width
         << " units wide";
    return line.str();
}

std::string LengthProblem(const Course& course) {
    if (course._courseLength <= course._courseWidth) {
        return "";
    }
    std::ostringstream line;
    line << "length " << course._courseLength << " is greater than width " << course._courseWidth
         << ": racers can drive off the grid";
    return line.str();
}
}  // namespace

CourseReport CheckCourse(Course& course) {
    CourseReport report;
    report.startCells = CollectStartCells(course, nullptr, nullptr, 0);
    report.cellSize = kWorldSize / course._courseWidth;
    for (const std::string& problem :
         {StartCellProblem(report.startCells), MarkerCellProblem(course), EdgeProblem(course),
          WidthProblem(course), LengthProblem(course)}) {
        if (!problem.empty()) {
            report.problems.push_back(problem);
        }
    }
    report.markers = MarkBorderCells(course);
    return report;
}
