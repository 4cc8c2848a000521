// kestrun-course: makes a course and its level from a picture of the track (from-image), and
// draws a course from above (picture). Both keep the course file's layout: picture rows are
// the file's lines, picture columns its columns, and the racers face the picture's left.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "CoursePicture.h"
#include "FromImage.h"
#include "Png.h"
#include "base/LevelWords.h"
#include "base/PlayerFolders.h"
#include "course/CourseData.h"

namespace fs = std::filesystem;

namespace {
constexpr int kSound = 0;
constexpr int kProblem = 1;
constexpr int kWarned = 2;

const char* const kUsage =
    "usage: kestrun-course from-image PICTURE.png COURSE.txt [--size N] [--sky day|sunset]\n"
    "       kestrun-course from-image --install PICTURE.png NAME [--size N] [--sky day|sunset]\n"
    "       kestrun-course picture COURSE.txt PICTURE.png [--data DIR]\n"
    "\n"
    "from-image turns a picture of a track into a course and its level. The picture is laid\n"
    "over an N x N grid (64 unless --size: 16, 32, 64, 128 or 256) as the course file is laid\n"
    "out: picture rows are the file's lines, picture columns its columns. Each cell takes the\n"
    "class of the pixels it covers. A pixel is red when its red exceeds both its green and its\n"
    "blue by 80 or more (of 255), else light when its luminance 0.299 R + 0.587 G + 0.114 B is\n"
    "128 or more, else dark; a transparent pixel (alpha below 128) is dark. A cell with at\n"
    "least a third red pixels is on the start stroke, else it is track when it has more light\n"
    "pixels than dark ones, else blocked ground.\n"
    "Draw the track light on dark ground, at least 3 cells wide whichever way it runs (about\n"
    "3.6 cells where it runs aslant; the tool names the width in pixels when it is too thin or\n"
    "too narrow), as one closed loop, and one red stroke up-down across a stretch of it that\n"
    "runs left-right: the start cells, 3 to 10 (4 is best). The racers drive off toward the\n"
    "picture's left. Red beyond the track's edges counts as blocked ground. The tool fences the\n"
    "whole track with posts and ropes, keeps the grid's edge blocked, and writes COURSE.txt and\n"
    "beside it the level COURSE-level.txt (sky box skyboxes/day unless --sky sunset, and the\n"
    "course by its absolute path). Problems are named by their place in the picture, in\n"
    "pixels from its top left corner. A picture that is not square is stretched to the grid\n"
    "(a warning says how). The start stroke may cross a stretch aslant by up to about 30\n"
    "degrees; it needs to be two thirds of a cell wide. The tool states the most markers any\n"
    "one view will hold and what that costs on a machine without a GPU, and gives the command\n"
    "that plays the level.\n"
    "With --install it writes the course and its level as NAME.txt in courses/ and levels/ of\n"
    "the player's data folder ($XDG_DATA_HOME/kestrun, else ~/.local/share/kestrun), where the\n"
    "game's menu lists the level under Course; it writes nothing over a course of that name.\n"
    "\n"
    "picture draws a course from above, about 512 pixels across, in the same layout: blocked\n"
    "ground, track, wall cells, posts and ropes, start cells, race poles, and the racers'\n"
    "starts as arrows pointing the way they face. With --data DIR the blocked ground shows the\n"
    "water and hills of DIR/terrain_data/terrain1.raw.\n"
    "\n"
    "Pictures are PNG files of at most 16384 pixels a side and 16 million pixels in all.\n"
    "Exit status: 0 done; 1 a problem, nothing written; 2 written, with warnings.";

int UsageError(const std::string& reason) {
    std::cout << "kestrun-course: " << reason
              << "; nothing written (kestrun-course --help says more)" << std::endl;
    return kProblem;
}

// Positional arguments and the options the command takes, each with its value.
struct Arguments {
    std::vector<std::string> files;
    std::vector<std::pair<std::string, std::string>> options;
};

bool Split(int argc, char** argv, const std::vector<std::string>& known, Arguments& parsed,
           std::string& error) {
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) {
            parsed.files.push_back(arg);
            continue;
        }
        if (std::find(known.begin(), known.end(), arg) == known.end()) {
            error = "unknown option " + arg;
            return false;
        }
        if (i + 1 >= argc) {
            error = arg + " needs a value";
            return false;
        }
        parsed.options.emplace_back(arg, argv[++i]);
    }
    if (parsed.files.size() != 2) {
        error = "needs two files, the input and the output";
        return false;
    }
    return true;
}

// True when the two paths name one existing file: writing would destroy the input.
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

// The level beside a course: mine.txt -> mine-level.txt.
fs::path LevelPathFor(const fs::path& course) {
    return course.parent_path() / (course.stem().string() + "-level" + course.extension().string());
}

// Writes the text beside `path` under a temporary name, for RenameIntoPlace to put in place
// once every file of the output is whole. A name taken by something that is not a file the
// player may write (a folder, a read-only file) is refused first and stays as it is.
bool WriteTemporary(const fs::path& path, const std::string& text, fs::path& temporary,
                    std::string& error) {
    std::error_code status;
    if (fs::is_directory(path, status)) {
        error = std::strerror(EISDIR);
        return false;
    }
    if (fs::exists(path, status) && access(path.c_str(), W_OK) != 0) {
        error = std::strerror(errno);
        return false;
    }
    temporary = path;
    temporary += ".partial";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out) {
        out << text;
        out.close();
    }
    if (!out) {
        error = std::strerror(errno != 0 ? errno : EIO);
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

// The command that starts the game on the level, from the folder the tool was started in: in
// the source tree (the tool is the build's, beside the build's launcher) its ./run; installed,
// the launcher beside the tool, by name when it is the one on the PATH.
std::string PlayCommand(const std::string& level) {
    std::error_code error;
    const fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
    if (!error && fs::exists(folder / "kestrun-launcher", error)) {
        const fs::path run = fs::path(KESTRUN_SOURCE_DIR) / "run";
        if (!fs::exists(run, error)) {
            return (folder / "kestrun-launcher").string() + " " + level;
        }
        const bool inTree = fs::equivalent(run.parent_path(), fs::current_path(error), error);
        return (inTree ? std::string("./run") : run.string()) + " " + level;
    }
    const fs::path launcher = folder / "kestrun";
    std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    for (std::string entry; std::getline(path, entry, ':');) {
        if (!entry.empty() && fs::equivalent(fs::path(entry) / "kestrun", launcher, error)) {
            return "kestrun " + level;
        }
    }
    return (fs::exists(launcher, error) ? launcher.string() : std::string("kestrun")) + " " +
           level;
}

// Where --install puts the course NAME: NAME.txt in courses/ and levels/ of the player's data
// folder. False, having said why, for a name that is not a file's, without a data folder, or
// with a course or level of that name there already.
bool InstallPaths(std::string name, fs::path& course, fs::path& level) {
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0) {
        name.resize(name.size() - 4);
    }
    const std::string data = DataFolder();
    std::string problem;
    if (name.empty() || name[0] == '.' || name.find('/') != std::string::npos) {
        problem = name + ": a course's name is a file name, with no folder and no leading '.'";
    } else if (data.empty()) {
        problem = "kestrun-course: no data folder to install into (neither XDG_DATA_HOME nor HOME "
                  "is a full path)";
    }
    course = fs::path(data) / "courses" / (name + ".txt");
    level = fs::path(data) / "levels" / (name + ".txt");
    for (const fs::path& path : {course, level}) {
        std::error_code error;
        if (problem.empty() && fs::exists(fs::symlink_status(path, error))) {
            problem = path.string() + ": a course named " + name +
                      " is installed already; remove its course and level, or choose another name";
        }
    }
    if (!problem.empty()) {
        std::cout << problem << "; nothing written" << std::endl;
    }
    return problem.empty();
}

int FromImage(const Arguments& args, bool install) {
    int32_t size = 64;
    std::string sky = "skyboxes/day";
    for (const auto& [option, value] : args.options) {
        if (option == "--size") {
            std::istringstream in(value);
            if (!(in >> size) || !in.eof() || !IsCourseSize(size)) {
                return UsageError("--size must be 16, 32, 64, 128 or 256, not " + value);
            }
        } else if (value == "day" || value == "sunset") {
            sky = "skyboxes/" + value;
        } else {
            return UsageError("--sky must be day or sunset, not " + value);
        }
    }
    const std::string& input = args.files[0];
    const std::string& output = args.files[1];
    std::error_code error;
    fs::path course = fs::absolute(output, error).lexically_normal();
    fs::path level = LevelPathFor(course);
    if (install && !InstallPaths(output, course, level)) {
        return kProblem;
    }
    const std::string coursePath = course.string();
    if (error || course.filename().empty()) {
        std::cout << output << ": not a file name; nothing written" << std::endl;
        return kProblem;
    }
    if (!ReadsAsOneLevelWord(coursePath)) {
        std::cout << output << ": the level file names the course by its absolute path, which the "
                  << "game reads only without spaces and up to " << kLevelFieldSize - 1
                  << " characters; nothing written" << std::endl;
        return kProblem;
    }
    if (SameFile(input, output) || SameFile(input, level.string())) {
        std::cout << output << ": would overwrite the picture " << input << "; nothing written"
                  << std::endl;
        return kProblem;
    }
    Picture picture;
    std::string reason;
    if (!ReadPng(input, picture, reason)) {
        std::cout << input << ": " << reason << "; nothing written" << std::endl;
        return kProblem;
    }
    if (picture.width < uint32_t(size) || picture.height < uint32_t(size)) {
        std::cout << input << ": the picture is " << picture.width << " x " << picture.height
                  << " pixels; a " << size << " x " << size
                  << " course needs at least a pixel a cell; nothing written" << std::endl;
        return kProblem;
    }
    const CourseFromPicture made = CourseFromImage(picture, size);
    for (const std::string& note : made.notes) {
        std::cout << input << ": " << note << std::endl;
    }
    for (const std::string& problem : made.problems) {
        std::cout << input << ": " << problem << std::endl;
    }
    for (const std::string& warning : made.warnings) {
        std::cout << input << ": warning: " << warning << std::endl;
    }
    if (!made.problems.empty()) {
        std::cout << input << ": " << made.problems.size()
                  << (made.problems.size() == 1 ? " problem" : " problems") << "; nothing written"
                  << std::endl;
        return kProblem;
    }
    // Both files are written whole under temporary names before either takes its place, so a
    // failure leaves the player's old course and level as they were.
    fs::path courseTemporary, levelTemporary;
    if (install) {
        std::error_code ignored;  // a folder that cannot be made: the file cannot be written
        fs::create_directories(course.parent_path(), ignored);
        fs::create_directories(level.parent_path(), ignored);
    }
    const bool courseWritten = WriteTemporary(course, made.courseText, courseTemporary, reason);
    if (!courseWritten ||
        !WriteTemporary(level, sky + "\n" + coursePath + "\n", levelTemporary, reason)) {
        std::error_code ignored;
        fs::remove(courseTemporary, ignored);
        std::cout << (courseWritten ? level.string() : output) << ": cannot be written (" << reason
                  << "); nothing written" << std::endl;
        return kProblem;
    }
    std::error_code renamed;
    fs::rename(courseTemporary, course, renamed);
    if (!renamed) {
        fs::rename(levelTemporary, level, renamed);
    }
    if (renamed) {
        std::error_code ignored;
        fs::remove(courseTemporary, ignored);
        fs::remove(levelTemporary, ignored);
        std::cout << output << ": cannot be written (" << renamed.message() << ")" << std::endl;
        return kProblem;
    }
    std::cout << (install ? coursePath : output) << ": written, with its level "
              << level.string() << " (play it with: " << PlayCommand(level.string())
              << (install ? ", or choose " + course.stem().string() + " in the game's menu, Course"
                          : std::string())
              << ")" << std::endl;
    return made.warnings.empty() ? kSound : kWarned;
}

int DrawPicture(const Arguments& args) {
    const std::string& input = args.files[0];
    const std::string& output = args.files[1];
    std::string dataFolder;
    for (const auto& option : args.options) {
        dataFolder = option.second;  // --data, the only option
    }
    if (SameFile(input, output)) {
        std::cout << output << ": would overwrite the course; nothing written" << std::endl;
        return kProblem;
    }
    CourseData course;
    std::ostringstream echo;
    const bool read = course.Init(input.c_str(), echo);
    if (!read) {
        std::cout << echo.str() << input << ": the game cannot read this course; nothing written"
                  << std::endl;
        return kProblem;
    }
    if (course.GetWidth() > kLargestCourseDrawn || course.GetLength() > kLargestCourseDrawn) {
        std::cout << input << ": " << course.GetWidth() << " x " << course.GetLength()
                  << " cells; the tool draws courses of at most " << kLargestCourseDrawn
                  << " cells a side; nothing written" << std::endl;
        return kProblem;
    }
    std::vector<unsigned char> heights;
    if (!dataFolder.empty()) {
        heights.assign(size_t(kTerrainSize) * kTerrainSize, 0);
        const std::string file = (fs::path(dataFolder) / "terrain_data" / "terrain1.raw").string();
        if (!CourseData::ReadRaw(heights.data(), file.c_str(), kTerrainSize, kTerrainSize)) {
            std::cout << file << ": cannot read the height file; nothing written" << std::endl;
            return kProblem;
        }
    }
    const Picture picture = DrawCourse(course, heights.empty() ? nullptr : heights.data());
    std::string reason;
    if (!WritePng(output, picture, reason)) {
        std::cout << output << ": cannot be written (" << reason << "); nothing written"
                  << std::endl;
        return kProblem;
    }
    std::cout << output << ": " << picture.width << " x " << picture.height << " pixels, "
              << CellPixels(course.GetWidth(), course.GetLength()) << " a cell" << std::endl;
    return kSound;
}
}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--help") {
            std::cout << kUsage << std::endl;
            return kSound;
        }
    }
    const std::string command = argc > 1 ? argv[1] : "";
    const bool fromImage = command == "from-image";
    // --install stands alone, with no value: it is taken out before the other options.
    char** const end = fromImage ? std::remove(argv + 2, argv + argc, std::string("--install"))
                                 : argv + argc;
    const bool install = end != argv + argc;
    argc = static_cast<int>(end - argv);
    if (command.empty()) {
        std::cout << kUsage << std::endl;
        return kProblem;
    }
    if (!fromImage && command != "picture") {
        return UsageError("unknown command " + command);
    }
    Arguments args;
    std::string error;
    const std::vector<std::string> known = fromImage ? std::vector<std::string>{"--size", "--sky"}
                                                     : std::vector<std::string>{"--data"};
    if (!Split(argc, argv, known, args, error)) {
        return UsageError(error);
    }
    return fromImage ? FromImage(args, install) : DrawPicture(args);
}
