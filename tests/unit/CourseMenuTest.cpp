// The Course submenu without a window: the levels it lists, and how.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "TempDir.h"
#include "app/CourseMenu.h"

// Shipped levels first, each part by name whatever the case; a level the game cannot play (one
// word, a course not there, a folder) left out with a line; the level played marked, however its
// path is written; names in the menu's Latin-1; past the most that fit, a line counting the rest.
TEST(CourseMenu, ListsThePlayableLevelsShippedFirstByName) {
    TempDir dir;
    const std::string good = "skyboxes/day " + dir.Write("course.txt", "") + "\n";
    const std::string own = dir.File("own");
    std::vector<std::pair<std::string, std::string>> many;
    for (int i = 0; i < 20; ++i) {
        many.emplace_back("l" + std::to_string(10 + i) + ".txt", good);
    }
    const struct {
        std::vector<std::pair<std::string, std::string>> own;  // files of the player's folder
        std::string playing;
        std::vector<std::string> lines;
        int problems;
    } kCases[] = {
        {{{"mine.txt", good}, {"Zed.txt", good}, {"my course.txt", good}, {".hidden.txt", good},
          {"a\xe2\x82\xac\xff.txt", good}, {"\xc3\xa9t\xc3\xa9.txt", good}, {"notes.md", good},
          {"one-word.txt", "skyboxes/day\n"}, {"gone.txt", "skyboxes/day courses/none.txt"},
          {"folder.txt/x", ""}},
         "own/./mine.txt",
         {"default", "figure-eight", "sunset", "a??", "* mine", "my course", "Zed", "\xe9t\xe9"},
         3},
        {{}, "shipped/../shipped/sunset.txt", {"default", "figure-eight", "* sunset"}, 0},
        {many, "", {"default", "figure-eight", "sunset", "l10", "l11", "l12", "l13", "l14", "l15",
                    "l16", "l17", "l18", "l19", "l20", "l21", "l22", "... 7 more in " + own}, 0},
    };
    for (const char* name : {"sunset.txt", "default.txt", "figure-eight.txt"}) {
        dir.Write(std::string("shipped/") + name, good);
    }
    for (const auto& c : kCases) {
        std::filesystem::remove_all(own);
        for (const auto& [file, text] : c.own) {
            dir.Write("own/" + file, text);
        }
        std::ostringstream problems;
        const CourseList list = ListCourses(dir.File("shipped"), own, problems);
        std::vector<MenuLine> expected;
        for (const std::string& line : c.lines) {
            const int value = kFirstCourseValue + static_cast<int>(expected.size());
            expected.push_back({line, line.rfind("... ", 0) == 0 ? 0 : value});
        }
        EXPECT_TRUE(expected == CourseMenuLines(list, dir.File(c.playing))) << c.playing;
        const std::string said = problems.str();
        EXPECT_EQ(c.problems, std::count(said.begin(), said.end(), '\n')) << said;
        EXPECT_EQ(c.problems ? 0 : std::string::npos, said.find("kestrun: the Course menu leaves "
                                                                "out the level " + own + "/"));
    }
}
