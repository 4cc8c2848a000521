// kestrun-check-course: reads course files with the game's own reader and reports, one line
// each, what would make the game misbehave (problems) and what a racer would find wrong
// (warnings, by line and column). Inside a data folder, or with --data, it also reads the
// folder's height file and looks at the ground under the course. With --level-words it reads a
// level file as the game does and prints its two words, for the launcher.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "CourseCheck.h"
#include "CourseCost.h"
#include "base/LevelWords.h"
#include "course/CourseData.h"

namespace fs = std::filesystem;

namespace {
constexpr int kSound = 0;
constexpr int kProblem = 1;
constexpr int kWarned = 2;

const char* const kUsage =
    "usage: kestrun-check-course [--data DIR] COURSE_FILE...\n"
    "       kestrun-check-course --level-words LEVEL_FILE\n"
    "Checks course files the way the game reads them. With --data DIR, or for a course in the\n"
    "courses folder of a data folder, it also checks that the ground of DIR's\n"
    "terrain_data/terrain1.raw is at height 15 under every drivable cell. For a course with no\n"
    "problems it states the most markers any one view will hold (from the course's layout, with\n"
    "the game's culling) and what that costs on a machine without a GPU, then whether it can be\n"
    "raced (lines beginning 'race:'): its route's length and gates, or that it has none, and what\n"
    "stands in a race's way. The race lines never change the exit status.\n"
    "Exit status: 0 every course is sound; 1 a course the game cannot read or will run wrongly\n"
    "(problems); 2 no problems, but warnings (invisible walls, a racer that starts on the fence\n"
    "line, ground off height 15).\n"
    "With --level-words it reads a level file as the game does and prints its two words, the sky\n"
    "box folder and the course file, one a line (status 0); when the game would refuse the level\n"
    "it says why in one line (status 1).";

// Reads the file through CourseData::Init. Its console lines are shown only when the read fails:
// they name what is wrong (missing file, bad dimensions, missing cells).
bool ReadCourse(const char* path, CourseData& course) {
    std::ostringstream echo;
    const bool ok = course.Init(path, echo);
    if (!ok) {
        std::cout << echo.str();
    }
    return ok;
}

// The data folder of a course file in its courses folder: the one holding the height file.
std::string DataFolderOf(const char* path) {
    std::error_code error;
    const fs::path folder = fs::absolute(path, error).parent_path().parent_path();
    return fs::exists(folder / "terrain_data" / "terrain1.raw", error) ? folder.string() : "";
}

// The height file of a data folder, read by the game's reader; empty when it cannot be read.
std::vector<unsigned char> ReadHeights(const std::string& dataFolder) {
    std::vector<unsigned char> heights(static_cast<size_t>(kTerrainSize) * kTerrainSize, 0);
    const std::string file = (fs::path(dataFolder) / "terrain_data" / "terrain1.raw").string();
    if (!CourseData::ReadRaw(heights.data(), file.c_str(), kTerrainSize, kTerrainSize)) {
        heights.clear();
    }
    return heights;
}

int CheckFile(const char* path, const std::string& dataOption) {
    CourseData course;
    if (!ReadCourse(path, course)) {
        std::cout << path << ": the game cannot read this course" << std::endl;
        return kProblem;
    }
    std::ifstream in(path);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string dataFolder = dataOption.empty() ? DataFolderOf(path) : dataOption;
    std::vector<unsigned char> heights;
    if (!dataFolder.empty()) {
        heights = ReadHeights(dataFolder);
        if (heights.empty()) {
            std::cout << path << ": cannot read the height file terrain_data/terrain1.raw of "
                      << dataFolder << std::endl;
            return kProblem;
        }
    }
    const CourseReport report = CheckCourse(course, text, heights.empty() ? nullptr : heights.data());
    std::cout << path << ": " << course.GetWidth() << " x " << course.GetLength()
              << " cells of " << report.cellSize << " units, " << report.startCells
              << " start cells" << std::endl;
    if (!heights.empty()) {
        std::cout << path << ": ground from " << dataFolder << "/terrain_data/terrain1.raw"
                  << std::endl;
    }
    for (const std::string& problem : report.problems) {
        std::cout << path << ": " << problem << std::endl;
    }
    for (const std::string& warning : report.warnings) {
        std::cout << path << ": warning: " << warning << std::endl;
    }
    std::cout << path << ": the game will build " << report.markers
              << (report.markers == 1 ? " marker" : " markers") << std::endl;
    if (report.problems.empty()) {
        const std::vector<int32_t> sizes = SmallerCourseSizes(course.GetWidth());
        std::cout << path << ": " << CostLine(CostOfCourse(course), sizes) << std::endl;
        for (const std::string& line : RaceLines(course, text)) {
            std::cout << path << ": " << line << std::endl;
        }
    }
    if (!report.problems.empty()) {
        std::cout << path << ": " << report.problems.size()
                  << (report.problems.size() == 1 ? " problem" : " problems") << std::endl;
        return kProblem;
    }
    if (!report.warnings.empty()) {
        std::cout << path << ": no problems, warnings above" << std::endl;
        return kWarned;
    }
    std::cout << path << ": sound" << std::endl;
    return kSound;
}

// The level's two words, one a line, as the game reads them; or, when the game would refuse
// the level, one line that says why.
int PrintLevelWords(const char* path) {
    std::ifstream in(path);
    if (!in.good()) {
        std::cout << path << ": the game cannot open this level" << std::endl;
        return kProblem;
    }
    const char* const names[] = {"sky box folder (the level's first word)",
                                 "course file (the level's second word)"};
    char words[2][kLevelFieldSize];
    for (int i = 0; i < 2; ++i) {
        if (ReadLevelToken(in, words[i])) {
            continue;
        }
        if (words[i][0] == '\0') {
            std::cout << path << ": no " << names[i] << std::endl;
        } else if (std::strlen(words[i]) + 1 == kLevelFieldSize) {
            std::cout << path << ": the " << names[i] << " is longer than "
                      << kLevelFieldSize - 1 << " characters" << std::endl;
        } else {
            std::cout << path << ": the game cannot read this level" << std::endl;
        }
        return kProblem;
    }
    std::cout << words[0] << "\n" << words[1] << std::endl;
    return kSound;
}
}  // namespace

int main(int argc, char** argv) {
    std::string dataFolder;
    const char* levelFile = nullptr;
    std::vector<const char*> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::cout << kUsage << std::endl;
            return kSound;
        }
        if (arg == "--data" && i + 1 < argc) {
            dataFolder = argv[++i];
        } else if (arg == "--level-words" && i + 1 < argc) {
            levelFile = argv[++i];
        } else {
            files.push_back(argv[i]);
        }
    }
    if (levelFile != nullptr && files.empty()) {
        return PrintLevelWords(levelFile);
    }
    if (levelFile != nullptr || files.empty()) {
        std::cout << kUsage << std::endl;
        return kProblem;
    }
    int status = kSound;
    for (const char* file : files) {
        const int result = CheckFile(file, dataFolder);
        status = result == kProblem || status == kProblem ? kProblem : std::max(status, result);
    }
    return status;
}
