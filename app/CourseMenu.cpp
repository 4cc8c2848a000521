#include "app/CourseMenu.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include <GL/freeglut.h>  // glutGet(GLUT_FULL_SCREEN) and the frame sizes

#include "app/Game.h"
#include "app/GameCallbacks.h"
#include "base/LevelWords.h"
#include "base/PlayerFolders.h"
#include "base/Settings.h"
#include "platform/Display.h"
#include "platform/Relaunch.h"
#include "platform/Sound.h"

namespace fs = std::filesystem;

namespace {
// The courses of the submenu, the first under kFirstCourseValue.
std::vector<CourseEntry> g_courses;

// Why the game could not play the level; empty when it can.
std::string LevelProblem(const fs::path& level) {
    std::ifstream in(level);
    char sky[kLevelFieldSize];
    char course[kLevelFieldSize];
    if (!in.is_open()) {
        return "it cannot be opened";
    }
    if (!ReadLevelToken(in, sky) || !ReadLevelToken(in, course)) {
        return "the game cannot read its two words";
    }
    std::error_code error;
    if (!fs::is_regular_file(course, error)) {
        return std::string("its course ") + course + " is not there";
    }
    return "";
}

// By name, whatever the letters' case; names that differ only there, by their bytes.
bool ByName(const CourseEntry& a, const CourseEntry& b) {
    const auto lower = [](std::string name) {
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return name;
    };
    const std::string left = lower(a.name), right = lower(b.name);
    return left != right ? left < right : a.name < b.name;
}

// The levels in a folder that the game can play, by name.
std::vector<CourseEntry> LevelsIn(const std::string& folder, bool own, std::ostream& problems) {
    std::vector<CourseEntry> levels;
    std::error_code error;
    fs::directory_iterator entry(folder, error);
    if (error && error != std::errc::no_such_file_or_directory) {
        problems << "kestrun: cannot list the levels in " << folder << " (" << error.message()
                 << ")" << std::endl;
    }
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        const fs::path& path = entry->path();
        if (path.filename().string()[0] == '.' || path.extension() != ".txt") {
            continue;
        }
        const std::string problem = LevelProblem(path);
        if (problem.empty()) {
            levels.push_back({path.stem().string(), path.string(), own});
        } else {
            problems << "kestrun: the Course menu leaves out the level " << path.string() << ": "
                     << problem << std::endl;
        }
    }
    std::sort(levels.begin(), levels.end(), ByName);
    return levels;
}

// A name in the menu's font, which is Latin-1: a letter of Latin-1 written in UTF-8 as its
// code, every other character, and every byte that is not UTF-8, as '?'.
std::string MenuText(const std::string& name) {
    std::string text;
    for (size_t at = 0; at < name.size();) {
        const auto lead = static_cast<unsigned char>(name[at]);
        const size_t sequence = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 1;
        size_t length = std::min(sequence, name.size() - at);
        for (size_t i = 1; i < length; ++i) {
            if ((static_cast<unsigned char>(name[at + i]) & 0xc0) != 0x80) {
                length = 1;  // not UTF-8: the lead byte alone
            }
        }
        unsigned char key = 0;
        const bool shown = lead == ' ' || ReadKey(name.substr(at, length), &key);
        text += !shown ? '?' : lead == ' ' ? ' ' : static_cast<char>(key);
        at += length;
    }
    return text;
}

// The variable's text for the window, and the window read back from it (false for any other
// text).
std::string HandedWindowText(const HandedWindow& window) {
    return std::to_string(window.x) + "," + std::to_string(window.y) + "," +
           std::to_string(window.width) + "," + std::to_string(window.height) +
           (window.fullscreen ? ",fullscreen" : "");
}

bool ReadHandedWindow(const std::string& text, HandedWindow* window) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, ',');) {
        parts.push_back(part);
    }
    HandedWindow read;
    int* const numbers[] = {&read.x, &read.y, &read.width, &read.height};
    if (parts.size() < 4 || parts.size() > 5 || text.back() == ',' ||
        (parts.size() == 5 && parts[4] != "fullscreen")) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        if (!ReadWholeNumber(parts[i].c_str(), i < 2 ? 0 : 1, 65535, numbers[i])) {
            return false;
        }
    }
    read.given = true;
    read.fullscreen = parts.size() == 5;
    *window = read;
    return true;
}

// The window as it stands: the place of its frame (the window less its border and title bar)
// and its size; covering the screen, the window F11 gives back. Off the screen's left or top
// edge, it comes back at the edge.
HandedWindow WindowNow() {
    if (glutGet(GLUT_FULL_SCREEN)) {
        const Game::WindowPlace& windowed = g_game->_windowed;
        return {true, std::max(0, windowed.x), std::max(0, windowed.y), windowed.width,
                windowed.height, true};
    }
    return {true, std::max(0, glutGet(GLUT_WINDOW_X) - glutGet(GLUT_WINDOW_BORDER_WIDTH)),
            std::max(0, glutGet(GLUT_WINDOW_Y) - glutGet(GLUT_WINDOW_HEADER_HEIGHT)),
            glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT), false};
}
}  // namespace

CourseList ListCourses(const std::string& shippedFolder, const std::string& ownFolder,
                       std::ostream& problems) {
    CourseList list;
    list.ownFolder = ownFolder;
    list.courses = LevelsIn(shippedFolder, false, problems);
    const std::vector<CourseEntry> own = LevelsIn(ownFolder, true, problems);
    list.courses.insert(list.courses.end(), own.begin(), own.end());
    if (list.courses.size() > kMostCoursesListed) {
        list.more = static_cast<int>(list.courses.size()) - kMostCoursesListed;
        list.courses.resize(kMostCoursesListed);
    }
    return list;
}

std::vector<MenuLine> CourseMenuLines(const CourseList& list, const std::string& playing) {
    std::vector<MenuLine> lines;
    for (const CourseEntry& course : list.courses) {
        std::error_code error;
        const bool played = fs::equivalent(course.level, playing, error);
        lines.push_back({(played ? "* " : "") + MenuText(course.name),
                         kFirstCourseValue + static_cast<int>(lines.size())});
    }
    if (list.more > 0) {
        lines.push_back(
            {"... " + std::to_string(list.more) + " more in " + MenuText(list.ownFolder), 0});
    }
    if (lines.empty()) {
        lines.push_back({"no levels", 0});
    }
    return lines;
}

void AddCourseMenu(const std::string& playing) {
    const std::string data = DataFolder();
    const CourseList list = ListCourses("levels", data.empty() ? "" : data + "/levels", std::cerr);
    g_courses = list.courses;
    const int menu = glutGetMenu();
    const int submenu = glutCreateMenu(menuCallback);
    for (const MenuLine& line : CourseMenuLines(list, playing)) {
        glutAddMenuEntry(line.text.c_str(), line.value);
    }
    glutSetMenu(menu);
    glutAddSubMenu("Course", submenu);
    // Every menu's entries, the submenu's too, are chosen where the button is let go.
    glutMenuStatusFunc(
        [](int status, int, int) { LetMenusTakeTheirClicks(status == GLUT_MENU_IN_USE); });
}

void ChooseCourse(int value) {
    const size_t index = static_cast<size_t>(value - kFirstCourseValue);
    if (value < kFirstCourseValue || index >= g_courses.size()) {
        return;
    }
    const CourseEntry& course = g_courses[index];
    const char* launcher = EnvironmentSetting(kLauncherVariable);
    const std::string program = launcher ? launcher : OwnProgram();
    // The launcher finds a shipped level by its name, and runs the game on that course's ground.
    const std::string level = launcher && !course.own ? course.name : course.level;
    const std::string cannot = CannotRun(program);
    if (!cannot.empty()) {
        std::cerr << "kestrun: cannot start " << program << " on the level " << level << " ("
                  << cannot << "); the game goes on" << std::endl;
        return;
    }
    setenv(kHandedWindowVariable, HandedWindowText(WindowNow()).c_str(), 1);
    EndSound();
    const std::string reason = ReplaceProcess(program, {program, level});
    std::cerr << "kestrun: cannot start " << program << " on the level " << level << " ("
              << reason << ")" << std::endl;
    std::exit(1);
}

HandedWindow TakeHandedWindow(std::ostream& problems) {
    HandedWindow window;
    const char* text = std::getenv(kHandedWindowVariable);
    if (text && !ReadHandedWindow(text, &window)) {
        problems << "kestrun: " << kHandedWindowVariable
                 << " must be X,Y,WIDTH,HEIGHT or X,Y,WIDTH,HEIGHT,fullscreen, not '" << text
                 << "'; the window opens as it always does" << std::endl;
    }
    unsetenv(kHandedWindowVariable);
    return window;
}
