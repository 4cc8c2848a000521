// The menu's "Course" submenu, after its seven entries: the shipped levels and the player's own,
// and what choosing one does. The game ends as it always ends, the sound fading out, and its
// process becomes the launcher (or, for a game started without it, the game itself) on the
// chosen level, handing over the window's place, size and fullscreen; the players' settings
// travel with the environment and the settings file.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The submenu's values: the first course's, and one more for each next course. The menu's
// other values stay below it.
constexpr int kFirstCourseValue = 1000;
// The most courses the submenu lists. A menu entry is 25 pixels high, so with the line that
// counts the rest the submenu (17 entries, 429 pixels) fits a screen 480 pixels high.
constexpr int kMostCoursesListed = 16;
// Where the launcher is, for a course switch to start it again (set by the launcher).
constexpr const char* kLauncherVariable = "KESTRUN_LAUNCHER";
// The window a course switch hands to the game it starts: "X,Y,WIDTH,HEIGHT", the place of the
// window's frame and the window's size, and ",fullscreen" when it covered the screen (the
// place and size are then those F11 gives back).
constexpr const char* kHandedWindowVariable = "KESTRUN_WINDOW";

struct CourseEntry {
    std::string name;   // the level file's name without .txt
    std::string level;  // the level file: in the shipped folder as listed, or a full path
    bool own;           // one of the player's, not a shipped level
};

struct CourseList {
    std::vector<CourseEntry> courses;  // shipped first, each part by name; 16 at most
    int more = 0;                      // the levels the submenu has no room for
    std::string ownFolder;             // where the player's levels are
};

// The levels (*.txt) of both folders that the game can play: both words read by the level
// reader and a course file that is there (relative to the game's folder, or absolute). Each
// other level is left out with one line on `problems`. A folder that does not exist holds none.
CourseList ListCourses(const std::string& shippedFolder, const std::string& ownFolder,
                       std::ostream& problems);

struct MenuLine {
    std::string text;  // in the menu's font, Latin-1
    int value;         // 0 for a line that does nothing

    bool operator==(const MenuLine& other) const {
        return text == other.text && value == other.value;
    }
};

// The submenu: each course by name, "* " before the level being played, and when there are
// more, "... N more in FOLDER".
std::vector<MenuLine> CourseMenuLines(const CourseList& list, const std::string& playing);

// Adds the "Course" submenu to the menu being built: the courses of the game's levels/ and of
// the player's levels/ in the data folder. `playing` is the level file the game plays.
void AddCourseMenu(const std::string& playing);

// What the submenu's entry of this value does: starts the game again on its level. A program
// that cannot be started costs one line, and the game goes on.
void ChooseCourse(int value);

struct HandedWindow {
    bool given = false;
    int x = 0, y = 0, width = 0, height = 0;
    bool fullscreen = false;
};

// The window handed over by the switch that started this game, once: the variable is removed.
// A text that is not one costs one line, and the window opens as it always does.
HandedWindow TakeHandedWindow(std::ostream& problems);
