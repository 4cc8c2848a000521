// Feeds arbitrary bytes to the course reader, then runs the marker and start-cell rules on
// whatever grid it accepted.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>

#include "course/Course.h"
#include "course/MarkerRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::cout.setstate(std::ios::badbit);  // the reader's console lines are not of interest
    Course course;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    if (course.Read(in)) {
        int32_t xs[kStartTableSize];
        int32_t ys[kStartTableSize];
        MarkBorderCells(course);
        CollectStartCells(course, xs, ys, kStartTableSize);
        CountCells(course, ';');
    }
    return 0;
}
