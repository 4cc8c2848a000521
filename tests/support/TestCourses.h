// Courses made in a test from a few cells, read through the game's own reader.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ConsoleCapture.h"
#include "course/Course.h"

// A width x width course of plain free ground '3' (which never becomes a marker) with
// markers ';' at the given (x, y) cells.
inline void ReadMarkerCourse(Course& course, int width,
                             const std::vector<std::pair<int, int>>& markers) {
    std::vector<std::string> lines(width, std::string(width, '3'));
    for (const auto& marker : markers) {
        lines[marker.first][marker.second] = ';';
    }
    std::string text = std::to_string(width) + " " + std::to_string(width) + "\n";
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    ConsoleCapture quiet;
    std::istringstream in(text);
    ASSERT_TRUE(course.Read(in));
}
