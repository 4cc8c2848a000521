// kestrun-check-course: reads course files with the game's own reader and reports, one line
// each, what would make the game misbehave. Exit status 0 when every file is sound, 1 when
// one is not (or cannot be read).
#include <iostream>
#include <sstream>
#include <string>

#include "CourseCheck.h"
#include "course/Course.h"

namespace {
// Reads the file through Course::Init. Its console lines are shown only when the read fails:
// they name what is wrong (missing file, bad dimensions, missing cells).
bool ReadCourse(const char* path, Course& course) {
    std::ostringstream echo;
    std::streambuf* console = std::cout.rdbuf(echo.rdbuf());
    const bool ok = course.Init(path);
    std::cout.rdbuf(console);
    if (!ok) {
        std::cout << echo.str();
    }
    return ok;
}

bool CheckFile(const char* path) {
    Course course;
    if (!ReadCourse(path, course)) {
        std::cout << path << ": the game cannot read this course" << std::endl;
        return false;
    }
    const CourseReport report = CheckCourse(course);
    std::cout << path << ": " << course._courseWidth << " x " << course._courseLength
              << " cells of " << report.cellSize << " units, " << report.startCells
              << " start cells" << std::endl;
    for (const std::string& problem : report.problems) {
        std::cout << path << ": " << problem << std::endl;
    }
    std::cout << path << ": the game will build " << report.markers
              << (report.markers == 1 ? " marker" : " markers") << std::endl;
    if (report.problems.empty()) {
        std::cout << path << ": sound" << std::endl;
    } else {
        std::cout << path << ": " << report.problems.size()
                  << (report.problems.size() == 1 ? " problem" : " problems") << std::endl;
    }
    return report.problems.empty();
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cout << "usage: kestrun-check-course COURSE_FILE..." << std::endl;
        return 1;
    }
    bool sound = true;
    for (int i = 1; i < argc; ++i) {
        sound = CheckFile(argv[i]) && sound;
    }
    return sound ? 0 : 1;
}
