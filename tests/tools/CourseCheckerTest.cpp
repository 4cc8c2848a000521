// The course checker: accepts every shipped course, and names each broken rule on a line of
// its own with exit status 1.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "ConsoleCapture.h"
#include "TempDir.h"
#include "TestCourses.h"
#include "ToolRun.h"
#include "app/LevelFile.h"

namespace {

ToolResult Check(const std::vector<std::string>& files) {
    return RunTool(KESTRUN_CHECK_TOOL, files);
}

struct BadCourse {
    const char* name;
    std::string text;
    const char* line;  // the line the checker must print
    int exitStatus = 1;  // 2: the game runs the course, with warnings
    const char* option = nullptr;  // --level-words: the text is a level's
};

// Open ground with n lone posts in the lines near its top (each a '0' before a blocked cell)
// and two start cells far below them, from where one view holds every post.
std::string LonePosts(int n) {
    std::string text = "64 64\n" + std::string(64, '1') + "\n";
    for (int line = 1; line < 63; ++line) {
        std::string cells = "1" + std::string(62, '.') + "1\n";
        for (int y = 2; y < 61 && n > 0 && line > 1; y += 3, --n) cells.replace(y, 2, "01");
        text += line == 56 ? cells.replace(30, 2, "22") : cells;
    }
    return text + std::string(64, '1') + "\n";
}

const BadCourse kBadCourses[] = {
    {"dimensions", "64 x\n", "Course::Init() - ERROR reading course dimensions."},
    {"cell count", "2 3\n012\n34\n", "Course::Init() - ERROR reading map data: 1,2"},
    {"one start cell", "4 4 1111 1201 1001 1111\n",
     "1 start cell ('2'); the game needs 2 to 10"},
    {"no start cell", "4 4 1111 1001 1001 1111\n",
     "0 start cells ('2'); the game needs 2 to 10"},
    {"twelve start cells", "8 8 11111111 12222221 12222221 10000001 10000001 10000001 10000001 11111111\n",
     "12 start cells ('2'); the game has room for no more than 10"},
    {"marker cells", "4 4 1111 1221 10;1 1111\n",
     "1 marker cell (';') in the file, first at line 1, column 17"},
    {"edge", "4 4 1101 1221 1001 1111\n",
     "1 free cell ('0') on the grid's edge, first at line 1, column 7"},
    {"width", "6 6 111111 122001 100001 100001 100001 111111\n",
     "width 6 does not divide 256: the markers stand every 42 units, but the cells that stop "
     "racers are 256 / 6 units wide"},
    {"length", "4 8 11111111 12200001 10000001 11111111\n",
     "length 8 is greater than width 4: racers can drive off the grid"},
    {"racer on a wall", "4 4 1111 1221 1001 1111\n",
     "racer 1 starts on a wall: the start cell at line 1, column 12 has blocked ground right "
     "after it, beyond its fence line"},
    {"level of one word", "skyboxes/day\n", ": no course file (the level's second word)\n", 1,
     "--level-words"},
    {"level of no word", " \n", ": no sky box folder (the level's first word)\n", 1,
     "--level-words"},
    {"level word too long", "skyboxes/day\n" + std::string(256, 'c') + "\n",
     ": the course file (the level's second word) is longer than 255 characters\n", 1,
     "--level-words"},
    {"invisible wall",
     "8 8\n11111111\n10222201\n1.000001\n10000001\n10000001\n10000001\n10000001\n11111111\n",
     "warning: line 4, column 2: invisible wall: '.' borders blocked ground but gets no post or "
     "rope (make it '0')", 2},
    {"racer on the fence line",
     "8 8\n11111111\n10020001\n10020001\n10000001\n10000001\n10000001\n10000001\n11111111\n",
     "warning: line 3, column 4: racer 2 starts on the fence line: its start cell has blocked "
     "ground right before it, so it stands on a rope and can drive along it as far as the next "
     "post", 2},
    {"both racers on the fence line",
     "8 8\n11111111\n10000001\n12000001\n12000001\n10000001\n10000001\n10000001\n11111111\n",
     "warning: line 4, column 2: racer 2 starts on the fence line", 2},
    // Race lines name what stands in a race's way, and change no exit status.
    {"race: start row short of the fence",
     DrawnCourse(64, {{10, 50}, {10, 12}, {54, 12}, {54, 50}}, 3.3f, 32, 9, 11),
     "race: the start row at line 11, column 33 does not reach across the track: it goes on at "
     "line 10, column 33", 0},
    {"race: no loop", DrawnCourse(64, {{10, 50}, {10, 12}}, 2.3f, 32, 8, 12),
     "race: no route, so the course can be driven but not raced\n", 0},
    {"race: island", DrawnCourse(64, {{10, 50}, {10, 12}, {54, 12}, {54, 50}}, 4.3f, 32, 6, 14,
                                 {{30, 10, '1'}, {31, 10, '1'}, {30, 11, '1'}, {31, 11, '1'}}),
     "race: a fork at line ", 0},
    {"race: flat crossing", DrawnCourse(64, {{10, 38}, {10, 26}, {54, 38}, {54, 26}}, 2.3f, 32, 8, 12),
     "degrees, too flat to go straight through (cross at 40 degrees or more)", 0},
    {"cost despite warnings",
     "8 8\n11111111\n10222201\n1.000001\n10000001\n10000001\n10000001\n10000001\n11111111\n",
     ": the most markers any one view will hold: ", 2},
    // The frame-rate budget holds up to 229 markers in a view (0.8 of the reference scene).
    {"light up to 229 in a view", LonePosts(229),
     ": 229 (the default course: 210); on a machine without a GPU it runs as smoothly", 2},
    {"heavy from 230 in a view", LonePosts(230), ": 230 (the default course: 210); heavy: ", 2},
};

void PrintTo(const BadCourse& course, std::ostream* out) { *out << course.name; }

class CourseCheckerRejects : public ::testing::TestWithParam<BadCourse> {};
}  // namespace

TEST(CourseChecker, AcceptsEveryShippedCourse) {
    const std::string dir = std::string(KESTRUN_SOURCE_DIR) + "/data/courses";
    int courses = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string path = entry.path().string();
        const std::string name = entry.path().stem().string();
        // Over the ground the build generated, flat under every course, and over the course's
        // own ground folder: no invisible wall, no cell off the flat ground.
        for (const std::string& data :
             {std::string(KESTRUN_DATA_DIR),
              name == "default" ? KESTRUN_DATA_DIR : KESTRUN_DATA_DIR "/grounds/" + name}) {
            const ToolResult run = Check({"--data", data, path});
            EXPECT_EQ(0, run.exitStatus) << run.output;
            EXPECT_TRUE(Contains(run.output, path + ": sound\n")) << run.output;
            EXPECT_TRUE(Contains(run.output, ": ground from " + data + "/terrain_data/")) << run.output;
            EXPECT_TRUE(Contains(run.output, path + ": 64 x 64 cells of 4 units, 4 start cells\n"))
                << run.output;
            // A route, and nothing in a race's way: one race line.
            EXPECT_TRUE(Contains(run.output, path + ": race: the route is ")) << run.output;
            EXPECT_EQ(run.output.find(": race: "), run.output.rfind(": race: ")) << run.output;
        }
        ++courses;
    }
    EXPECT_GE(courses, 2);
}

TEST(CourseChecker, CountsTheMarkersTheGameWillBuild) {
    TempDir dir;
    const std::string ring = dir.Write("ring.txt", RingCourse());
    const ToolResult run = Check({ring});
    EXPECT_EQ(0, run.exitStatus) << run.output;
    EXPECT_EQ(ring + ": 16 x 16 cells of 16 units, 4 start cells\n" + ring +
                  ": the game will build 74 markers\n" + ring +
                  ": the most markers any one view will hold: 74 (the default course: 210); on a "
                  "machine without a GPU it runs as smoothly as the default course\n" +
                  ring + ": race: the route is 583 units round (19.4 s at top speed), with 58 gates\n" +
                  ring + ": sound\n",
              run.output);
}

// A pocket of track with 16 posts round it, and lone posts far off: 3 at A and 2 at B, about
// 105 degrees apart as seen from the pocket, and 1 in the corner behind it. A racer's view from
// the pocket holds the pocket's posts, A and B, but never the corner's as well: 21 of 22. A view
// narrower than half the window's cannot hold both A and B; from a lone post (a wall, where no
// racer stands) or from the pocket's mirror image across the diagonal, one view holds all 22.
TEST(CourseChecker, CountsOnlyTheMarkersOneViewCanHold) {
    std::vector<CourseCell> cells = {{62, 57, '0'}, {60, 57, '0'}, {62, 59, '0'},  // A
                                     {16, 2, '0'},  {16, 4, '0'},  {2, 62, '0'}};  // B, corner
    for (int x = 16; x <= 20; ++x) {
        for (int y = 44; y <= 48; ++y) {
            cells.push_back({x, y, x == 18 && y > 44 && y < 48 ? '2' : '0'});
        }
    }
    TempDir dir;
    const ToolResult run = Check({dir.Write("pocket.txt", CourseText(64, 64, '1', cells))});
    EXPECT_TRUE(Contains(run.output, ": the game will build 22 markers\n")) << run.output;
    EXPECT_TRUE(Contains(run.output, ": the most markers any one view will hold: 21 ("))
        << run.output;
}

TEST(CourseChecker, FindsGroundOffHeightInTheCoursesDataFolder) {
    TempDir dir;
    const std::string ring = dir.Write("courses/ring.txt", RingCourse());
    std::string heights(256 * 256, static_cast<char>(155));
    heights[70 * 256 + 40] = static_cast<char>(120);  // world 12, inside cell 2,4 (16 units)
    dir.Write("terrain_data/terrain1.raw", heights);
    const ToolResult run = Check({ring});
    EXPECT_EQ(2, run.exitStatus) << run.output;
    EXPECT_TRUE(Contains(run.output, ring + ": warning: line 4, column 5: ground at height 12 to "
                                            "15 under a drivable cell, not 15\n"))
        << run.output;
}

TEST_P(CourseCheckerRejects, NamesTheBrokenRule) {
    TempDir dir;
    const std::string path = dir.Write("bad.txt", GetParam().text);
    const ToolResult run = GetParam().option ? Check({GetParam().option, path}) : Check({path});
    EXPECT_EQ(GetParam().exitStatus, run.exitStatus) << run.output;
    EXPECT_TRUE(Contains(run.output, GetParam().line)) << run.output;
    EXPECT_EQ(GetParam().exitStatus == 0, Contains(run.output, ": sound")) << run.output;
}

INSTANTIATE_TEST_SUITE_P(EachRule, CourseCheckerRejects, ::testing::ValuesIn(kBadCourses),
                         [](const ::testing::TestParamInfo<BadCourse>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(CourseChecker, GivesEveryProblemItsOwnLine) {
    TempDir dir;
    const std::string path = dir.Write("bad.txt", "4 6 011111 1;1111 111111 111111\n");
    const ToolResult run = Check({path});
    EXPECT_EQ(1, run.exitStatus);
    EXPECT_EQ(path + ": 4 x 6 cells of 64 units, 0 start cells\n" +
                  path + ": 0 start cells ('2'); the game needs 2 to 10 to place both racers and the race poles\n" +
                  path + ": 1 marker cell (';') in the file, first at line 1, column 13; the game makes its markers from '0' cells itself\n" +
                  path + ": 1 free cell ('0') on the grid's edge, first at line 1, column 5; keep '0' cells off the edge\n" +
                  path + ": length 6 is greater than width 4: racers can drive off the grid\n" +
                  path + ": the game will build 1 marker\n" +
                  path + ": 4 problems\n",
              run.output);
}

TEST(CourseChecker, ReportsAMissingFileWithTheReadersLine) {
    TempDir dir;
    const ToolResult run = Check({dir.File("missing.txt")});
    EXPECT_EQ(1, run.exitStatus);
    EXPECT_TRUE(Contains(run.output, "Course::Init() - ERROR opening file.\n")) << run.output;
    EXPECT_TRUE(Contains(run.output, "missing.txt: the game cannot read this course\n"))
        << run.output;
    const ToolResult level = Check({"--level-words", dir.File("missing.txt")});
    EXPECT_EQ(dir.File("missing.txt") + ": the game cannot open this level\n", level.output);
}

TEST(CourseChecker, FailsWhenAnyOfSeveralFilesIsBad) {
    TempDir dir;
    const std::string good = dir.Write("ring.txt", RingCourse());
    const std::string bad = dir.Write("bad.txt", "4 4 1111 1201 1001 1111\n");
    const std::string warned = dir.Write("warned.txt", kBadCourses[std::size(kBadCourses) - 1].text);
    const ToolResult run = Check({good, bad, warned, good});  // a warning after a problem: still 1
    EXPECT_EQ(1, run.exitStatus);
    EXPECT_TRUE(Contains(run.output, good + ": sound\n")) << run.output;
    EXPECT_TRUE(Contains(run.output, bad + ": 1 problem\n")) << run.output;
}

// --level-words, for the launcher: each level read by the game's own reader, from the file as
// the game opens it, gives the checker's answer: the two words the game reports, or status 1
// and one line where the game refuses the level.
TEST(CourseChecker, ReadsALevelsWordsAsTheGameDoes) {
    const std::string fits(255, 'a'), tooLong(256, 'b');
    const struct {
        std::string text;
        bool written = true;
    } kLevels[] = {
        {"skyboxes/day\ncourses/default.txt\n"},
        {"skyboxes/sunset\tcourses/mine.txt\r\n"},
        {"\v\fskyboxes/day\r\rcourses/default.txt\f"},
        {"skyboxes/day courses/default.txt"},  // no line end after the last word
        {"skyboxes/day courses/default.txt courses/other.txt\n"},
        {"skyboxes/day\n"},
        {""},
        {" \n\t"},
        {fits + "\n" + fits},
        {tooLong + "\ncourses/default.txt\n"},
        {"skyboxes/day\n" + tooLong + "\n"},
        {"", false},  // no level file
    };
    TempDir dir;
    for (const auto& c : kLevels) {
        const std::string level = dir.File("level.txt");
        std::filesystem::remove(level);
        if (c.written) {
            dir.Write("level.txt", c.text);
        }
        char skybox[kLevelFieldSize];
        char course[kLevelFieldSize];
        std::ifstream in(level);
        ConsoleCapture console;
        const bool read = ReadLevelFields(in, skybox, course);
        const ToolResult run = Check({"--level-words", level});
        const std::string row = "row " + std::to_string(&c - kLevels) + "\n" + run.output;
        EXPECT_EQ(read ? 0 : 1, run.exitStatus) << row;
        if (read) {
            EXPECT_EQ(std::string(skybox) + "\n" + course + "\n", run.output) << row;
        } else {
            EXPECT_EQ(0u, run.output.find(level + ": ")) << row;
            EXPECT_EQ(1, std::count(run.output.begin(), run.output.end(), '\n')) << row;
        }
    }
}

TEST(CourseChecker, NeedsAFile) {
    const ToolResult run = Check({});
    EXPECT_EQ(1, run.exitStatus);
    EXPECT_TRUE(Contains(run.output, "usage: kestrun-check-course [--data DIR] COURSE_FILE...")) << run.output;
}

// The cost figure, found from the layout alone, is never below the most markers the bench saw
// in a view while both racers drove a lap (docs/benchmarks.md), and of the same order: on the
// shipped courses and on the README's drawing made a course at two sizes.
TEST(CourseChecker, StatesACostThatBoundsWhatTheBenchSaw) {
    TempDir dir;
    const std::string drawing = KESTRUN_SOURCE_DIR "/docs/courses/example-track.png";
    for (const char* size : {"64", "128"}) {
        RunTool(KESTRUN_COURSE_TOOL, {"from-image", drawing, dir.File(size) + ".txt", "--size", size});
    }
    const struct {
        std::string course;
        int benchMost;
    } kBench[] = {
        {KESTRUN_SOURCE_DIR "/data/courses/default.txt", 192},
        {KESTRUN_SOURCE_DIR "/data/courses/figure-eight.txt", 369},
        {dir.File("64.txt"), 353},
        {dir.File("128.txt"), 709},
    };
    const std::string figure = "the most markers any one view will hold: ";
    for (const auto& c : kBench) {
        const ToolResult run = Check({c.course});
        const size_t at = run.output.find(figure);
        ASSERT_NE(std::string::npos, at) << run.output;
        const int most = std::atoi(run.output.c_str() + at + figure.size());
        EXPECT_GE(most, c.benchMost) << c.course;
        EXPECT_LT(most, 3 * c.benchMost) << c.course;
        if (c.course.find("default.txt") != std::string::npos) {  // the figure it is compared with
            EXPECT_TRUE(Contains(run.output, figure + std::to_string(most) + " (the default course: " +
                                                 std::to_string(most) + ")"))
                << run.output;
        }
    }
}
