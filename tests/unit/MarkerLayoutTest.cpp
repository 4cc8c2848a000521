// The marker layout without a window: marker cells, start table, racers' starts, race poles,
// and the console line for unusual start-cell counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "TestCourses.h"
#include "course/CourseData.h"
#include "course/CourseRules.h"
#include "course/MarkerPlacement.h"
#include "course/QuadTree.h"

namespace {
// Lays the course out and returns what it wrote on the console.
std::string LayOut(CourseData& course) {
    ConsoleCapture capture;
    LayOutMarkers(course);
    return capture.Text();
}

std::vector<CourseCell> StartCellsAt(const std::vector<std::pair<int, int>>& places) {
    std::vector<CourseCell> cells;
    for (const auto& place : places) {
        cells.push_back({place.first, place.second, '2'});
    }
    return cells;
}

void ExpectSpot(const WorldSpot& spot, float x, float z) {
    EXPECT_FLOAT_EQ(x, spot.x);
    EXPECT_FLOAT_EQ(z, spot.z);
}

void ExpectStarts(const CourseData& course, float x1, float z1, float x2, float z2) {
    EXPECT_FLOAT_EQ(x1, course._start1X);
    EXPECT_FLOAT_EQ(z1, course._start1Z);
    EXPECT_FLOAT_EQ(x2, course._start2X);
    EXPECT_FLOAT_EQ(z2, course._start2Z);
}
}  // namespace

// ---------------------------------------------------------------- marker cells

TEST(MarkerRule, FreeCellBesideBlockedBecomesMarkerButNotDiagonallyNorStartCells) {
    CourseData course;
    ReadGoodCourse(course, CourseText(12, 12, '3', {{5, 5, '0'}, {6, 5, '1'}, {2, 2, '0'},
                                                {3, 3, '1'}, {8, 8, '2'}, {8, 9, '1'}}));
    LayOut(course);
    EXPECT_EQ(';', course.GetCell(5, 5));
    EXPECT_EQ('0', course.GetCell(2, 2));  // its only '1' is the diagonal (3, 3)
    EXPECT_EQ('2', course.GetCell(8, 8));
    EXPECT_EQ(1, course._markerCount);
}

TEST(MarkerRule, EachSideNeighbourAloneMakesAMarker) {
    const CourseCell sides[4] = {{6, 5, '1'}, {5, 6, '1'}, {4, 5, '1'}, {5, 4, '1'}};
    for (const CourseCell& side : sides) {
        CourseData course;
        ReadGoodCourse(course, CourseText(12, 12, '3', {{5, 5, '0'}, side}));
        LayOut(course);
        EXPECT_EQ(';', course.GetCell(5, 5)) << "blocked side at " << side.x << "," << side.y;
    }
}

TEST(MarkerRule, FreeCellsOnTheGridEdgeGetPostsAsIfOutsideWereBlocked) {
    CourseData course;
    ReadGoodCourse(course, CourseText(4, 5, '0', {}));
    LayOut(course);
    EXPECT_EQ(14, course._markerCount);  // every cell of the border ring
    EXPECT_EQ(';', course.GetCell(0, 0));
    EXPECT_EQ(';', course.GetCell(3, 4));
    EXPECT_EQ(';', course.GetCell(0, 2));
    EXPECT_EQ('0', course.GetCell(1, 1));
    EXPECT_EQ('0', course.GetCell(2, 3));
}

TEST(MarkerRule, MarkersFromTheFileAreNotCountedButFitTheVisibleLists) {
    // A whole column of ';' written in the file, and one marker the build makes.
    std::vector<CourseCell> cells;
    for (int y = 1; y < 64; ++y) {
        cells.push_back({20, y, ';'});
    }
    cells.push_back({40, 40, '0'});
    cells.push_back({41, 40, '1'});
    CourseData course;
    ReadGoodCourse(course, CourseText(64, 64, '3', cells));
    LayOut(course);
    EXPECT_EQ(1, course._markerCount);

    // Planes not yet taken from a view let every area through: all 64 markers are collected
    // into lists with room for the tree's markers.
    std::vector<int32_t> xs(course._quadTree.markerCount);
    std::vector<int32_t> ys(course._quadTree.markerCount);
    EXPECT_EQ(64, CollectVisibleMarkers(course._quadTree, Frustum(), xs.data(), ys.data()));
}

// ---------------------------------------------------------------- start cells

// Each row: the course's width and length and its start cells, the line the layout writes, how
// many cells the start table keeps and its first, where the racers stand and where the race
// poles stand.
struct StartCase {
    const char* name;
    int width;
    int length;
    std::vector<std::pair<int, int>> places;
    std::string line;
    int count;
    std::pair<int, int> first;
    float x1, z1, x2, z2;
    std::vector<WorldSpot> poles;
};

std::vector<std::pair<int, int>> Column(int x, int cells) {
    std::vector<std::pair<int, int>> places;
    for (int y = 0; y < cells; ++y) {
        places.push_back({x, y});
    }
    return places;
}

class StartCells : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartCells, PlaceTheRacersAndThePoles) {
    const StartCase& c = GetParam();
    CourseData course;
    ReadGoodCourse(course, CourseText(c.width, c.length, '3', StartCellsAt(c.places)));
    EXPECT_EQ(c.line, LayOut(course));
    ASSERT_EQ(c.count, g_startCount);
    if (c.count > 0) {
        EXPECT_EQ(c.first.first, g_startX[0]);
        EXPECT_EQ(c.first.second, g_startY[0]);
    }
    ExpectStarts(course, c.x1, c.z1, c.x2, c.z2);
    WorldSpot poles[2];
    ASSERT_EQ(static_cast<int>(c.poles.size()),
              PlaceRacePoles(g_startX, g_startY, g_startCount, course._cellSize, poles));
    for (size_t i = 0; i < c.poles.size(); ++i) {
        ExpectSpot(poles[i], c.poles[i].x, c.poles[i].z);
    }
}

// Two or more cells: racer 1 on entry count / 2, racer 2 on the one before, poles on the first
// and the last entry. At most ten entries are kept.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, StartCells,
    ::testing::Values(
        StartCase{"FourPutRacersOnTheMiddleTwo", 64, 64,
                  {{10, 20}, {10, 21}, {10, 22}, {10, 23}},
                  "", 4, {10, 20}, 40, 88, 40, 84, {{40, 80}, {40, 92}}},
        // Cells of 256 / 64 units across a course half as long as it is wide.
        StartCase{"OnAWideCourseStandOnCellsSizedByTheWidth", 64, 32,
                  {{20, 10}, {21, 10}, {22, 10}},
                  "", 3, {20, 10}, 84, 40, 80, 40, {{80, 40}, {88, 40}}},
        StartCase{"TwoPutRacerOneOnTheSecond", 64, 64, {{5, 7}, {6, 7}},
                  "", 2, {5, 7}, 24, 28, 20, 28, {{20, 28}, {24, 28}}},
        StartCase{"ThreePutRacerOneOnTheSecond", 64, 64, {{5, 7}, {6, 7}, {7, 7}},
                  "", 3, {5, 7}, 24, 28, 20, 28, {{20, 28}, {28, 28}}},
        StartCase{"AreOrderedByXFirst", 16, 16, {{4, 1}, {3, 9}},
                  "", 2, {3, 9}, 64, 16, 48, 144, {{48, 144}, {64, 16}}},
        StartCase{"NoneLeavesBothRacersAt128", 64, 64, {},
                  "Course::BuildMarkers() - no start cells: both racers start at (128, 128), "
                  "no race pole is drawn.\n",
                  0, {}, 128, 128, 128, 128, {}},
        StartCase{"OnePutsBothRacersAndOnePoleOnIt", 64, 64, {{12, 30}},
                  "Course::BuildMarkers() - one start cell: both racers start on it.\n",
                  1, {12, 30}, 48, 120, 48, 120, {{48, 120}}},
        StartCase{"TenFitWithoutALine", 32, 32, Column(3, 10),
                  "", 10, {3, 0}, 24, 40, 24, 32, {{24, 0}, {24, 72}}},
        StartCase{"ElevenGetALine", 32, 32, Column(3, 11),
                  "Course::BuildMarkers() - 11 start cells: only the first 10 are used.\n",
                  10, {3, 0}, 24, 40, 24, 32, {{24, 0}, {24, 72}}},
        StartCase{"PastTheTenthAreCountedButIgnored", 64, 64, Column(10, 25),
                  "Course::BuildMarkers() - 25 start cells: only the first 10 are used.\n",
                  10, {10, 0}, 40, 20, 40, 16, {{40, 0}, {40, 36}}}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return info.param.name; });
// clang-format on

// ---------------------------------------------------------------- no grid, odd widths

TEST(MarkerLayout, WithoutAGridScansNothingAndLeavesAnEmptyTree) {
    CourseData course;  // Init never succeeded
    const std::string console = LayOut(course);
    EXPECT_EQ(1u, std::count(console.begin(), console.end(), '\n'));
    EXPECT_FLOAT_EQ(0.0f, course._cellSize);
    EXPECT_EQ(0, course._markerCount);
    EXPECT_EQ(0, g_startCount);
    EXPECT_FLOAT_EQ(128.0f, course._start1X);
    EXPECT_FLOAT_EQ(128.0f, course._start2Z);
    ASSERT_NE(nullptr, course._quadTree.children[0]);
    EXPECT_EQ(0, course._quadTree.markerCount);
    EXPECT_EQ(0, CollectVisibleMarkers(course._quadTree, Frustum(), nullptr, nullptr));
}

TEST(MarkerLayout, AFailedReadWithWidthZeroDividesByNothing) {
    CourseData course;
    ASSERT_FALSE(ReadCourseText(course, "0 5\n00000\n"));
    EXPECT_EQ(0, course._courseWidth);
    LayOut(course);
    EXPECT_FLOAT_EQ(0.0f, course._cellSize);
    EXPECT_EQ(0, course._markerCount);
    EXPECT_FLOAT_EQ(128.0f, course._start1X);
}

TEST(MarkerLayout, CellSizeIs256OverWidthInIntegers) {
    EXPECT_FLOAT_EQ(4.0f, CellSizeForWidth(64));
    EXPECT_FLOAT_EQ(2.0f, CellSizeForWidth(100));  // not 2.56
    EXPECT_FLOAT_EQ(1.0f, CellSizeForWidth(256));
    EXPECT_FLOAT_EQ(0.0f, CellSizeForWidth(300));
    EXPECT_FLOAT_EQ(0.0f, CellSizeForWidth(0));
}

TEST(MarkerLayout, WidthHundredPlacesMarkersTwoUnitsApart) {
    CourseData course;
    ReadGoodCourse(course, CourseText(100, 100, '3', StartCellsAt({{10, 10}, {10, 11}})));
    LayOut(course);
    EXPECT_FLOAT_EQ(2.0f, course._cellSize);
    EXPECT_FLOAT_EQ(0.390625f, course._cellsPerUnit);
    EXPECT_FLOAT_EQ(22.0f, course._start1Z);
    EXPECT_FLOAT_EQ(20.0f, course._start2Z);
}

TEST(MarkerLayout, ASecondLayoutStartsTheStartTableAfresh) {
    CourseData course;
    ReadGoodCourse(course,
                   CourseText(64, 64, '3', StartCellsAt({{10, 20}, {10, 21}, {10, 22}, {10, 23}})));
    LayOut(course);
    LayOut(course);
    EXPECT_EQ(4, g_startCount);
    EXPECT_FLOAT_EQ(88.0f, course._start1Z);
}
