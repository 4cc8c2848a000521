// Courses made in a test from a few cells, read through the game's own reader.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ConsoleCapture.h"
#include "TempDir.h"
#include "course/CourseData.h"

// A 16 x 16 ring of track four cells wide round a blocked middle, with four start cells across
// its top straight: a sound course whose track meets blocked ground on all four sides.
inline std::string RingCourse() {
    std::string text = "16 16\n1111111111111111\n";
    for (int x = 1; x < 15; ++x) {
        text += x < 5 ? "1000000200000001\n" : x < 11 ? "1000011111100001\n" : "1000000000000001\n";
    }
    return text + "1111111111111111\n";
}

// One cell of a course text: line x, column y.
struct CourseCell {
    int x;
    int y;
    char code;
};

// Course text of width lines of length cells of `fill`, with the given cells set.
inline std::string CourseText(int width, int length, char fill,
                              const std::vector<CourseCell>& cells) {
    std::vector<std::string> lines(width, std::string(length, fill));
    for (const CourseCell& cell : cells) {
        lines[cell.x][cell.y] = cell.code;
    }
    std::string text = std::to_string(width) + " " + std::to_string(length) + "\n";
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// A size x size course: track `halfWidth` cells either side of the closed line through the
// `corners` (line, column), blocked ground elsewhere, start cells in column `startColumn` from
// line `startFirst` to `startLast`, and then the `extra` cells.
inline std::string DrawnCourse(int size, const std::vector<std::pair<float, float>>& corners,
                               float halfWidth, int startColumn, int startFirst, int startLast,
                               std::vector<CourseCell> extra = {}) {
    std::vector<CourseCell> cells;
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) {
            for (size_t k = 0; k < corners.size(); ++k) {
                const auto [ax, ay] = corners[k];
                const auto [bx, by] = corners[(k + 1) % corners.size()];
                const float dx = bx - ax, dy = by - ay, px = x + 0.5f - ax, py = y + 0.5f - ay;
                const float t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
                if (std::hypot(px - t * dx, py - t * dy) <= halfWidth) {
                    cells.push_back({x, y, x >= startFirst && x <= startLast && y == startColumn ? '2' : '0'});
                    break;
                }
            }
        }
    }
    cells.insert(cells.end(), extra.begin(), extra.end());
    return CourseText(size, size, '1', cells);
}

// Reads a course from text; what the reader wrote on the console goes to *console.
inline bool ReadCourseText(CourseData& course, const std::string& text,
                           std::string* console = nullptr) {
    ConsoleCapture capture;
    std::istringstream in(text);
    const bool ok = course.Read(in);
    if (console) {
        *console = capture.Text();
    }
    return ok;
}

// Reads a course the test expects to be good.
inline void ReadGoodCourse(CourseData& course, const std::string& text) {
    ASSERT_TRUE(ReadCourseText(course, text)) << text;
}

// A width x width course of plain free ground '3' (which never becomes a marker) with
// markers ';' at the given (x, y) cells.
inline void ReadMarkerCourse(CourseData& course, int width,
                             const std::vector<std::pair<int, int>>& markers) {
    std::vector<CourseCell> cells;
    for (const auto& marker : markers) {
        cells.push_back({marker.first, marker.second, ';'});
    }
    ReadGoodCourse(course, CourseText(width, width, '3', cells));
}

// Each course the game ships (data/courses), by file name, added to `courses`.
inline void AddShippedCourses(std::vector<std::pair<std::string, std::string>>& courses) {
    for (const auto& file : std::filesystem::directory_iterator(KESTRUN_SOURCE_DIR "/data/courses")) {
        courses.emplace_back(file.path().filename().string(), ReadFileBytes(file.path().string()));
    }
}
