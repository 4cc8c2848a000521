// The marker layout without a window: marker cells, start table, racers' starts, race poles,
// and the console line for unusual start-cell counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "course/Course.h"
#include "course/MarkerPlacement.h"
#include "course/MarkerRules.h"

namespace {
struct Cell {
    int x;
    int y;
    char code;
};

// Course text of width x length cells of `fill`, with the given cells set; line x holds y.
std::string CourseText(int width, int length, char fill, const std::vector<Cell>& cells) {
    std::vector<std::string> lines(width, std::string(length, fill));
    for (const Cell& cell : cells) {
        lines[cell.x][cell.y] = cell.code;
    }
    std::string text = std::to_string(width) + " " + std::to_string(length) + "\n";
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

void ReadCourse(Course& course, const std::string& text) {
    ConsoleCapture quiet;
    std::istringstream in(text);
    ASSERT_TRUE(course.Read(in));
}

// Lays the course out and returns what it wrote on the console.
std::string LayOut(Course& course) {
    ConsoleCapture capture;
    LayOutMarkers(course);
    return capture.Text();
}

std::vector<Cell> StartCells(const std::vector<std::pair<int, int>>& places) {
    std::vector<Cell> cells;
    for (const auto& place : places) {
        cells.push_back({place.first, place.second, '2'});
    }
    return cells;
}

void ExpectSpot(const WorldSpot& spot, float x, float z) {
    EXPECT_FLOAT_EQ(x, spot.x);
    EXPECT_FLOAT_EQ(z, spot.z);
}

void ExpectStarts(const Course& course, float x1, float z1, float x2, float z2) {
    EXPECT_FLOAT_EQ(x1, course._start1X);
    EXPECT_FLOAT_EQ(z1, course._start1Z);
    EXPECT_FLOAT_EQ(x2, course._start2X);
    EXPECT_FLOAT_EQ(z2, course._start2Z);
}
}  // namespace

// ---------------------------------------------------------------- marker cells

TEST(MarkerRule, FreeCellBesideBlockedBecomesMarkerButNotDiagonallyNorStartCells) {
    Course course;
    ReadCourse(course, CourseText(12, 12, '3', {{5, 5, '0'}, {6, 5, '1'}, {2, 2, '0'},
                                                {3, 3, '1'}, {8, 8, '2'}, {8, 9, '1'}}));
    LayOut(course);
    EXPECT_EQ(';', course.GetCell(5, 5));
    EXPECT_EQ('0', course.GetCell(2, 2));  // its only '1' is the diagonal (3, 3)
    EXPECT_EQ('2', course.GetCell(8, 8));
    EXPECT_EQ(1, course._markerCount);
}

TEST(MarkerRule, EachSideNeighbourAloneMakesAMarker) {
    const Cell sides[4] = {{6, 5, '1'}, {5, 6, '1'}, {4, 5, '1'}, {5, 4, '1'}};
    for (const Cell& side : sides) {
        Course course;
        ReadCourse(course, CourseText(12, 12, '3', {{5, 5, '0'}, side}));
        LayOut(course);
        EXPECT_EQ(';', course.GetCell(5, 5)) << "blocked side at " << side.x << "," << side.y;
    }
}

TEST(MarkerRule, FreeCellsOnTheGridEdgeGetPostsAsIfOutsideWereBlocked) {
    Course course;
    ReadCourse(course, CourseText(4, 5, '0', {}));
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
    std::vector<Cell> cells;
    for (int y = 1; y < 64; ++y) {
        cells.push_back({20, y, ';'});
    }
    cells.push_back({40, 40, '0'});
    cells.push_back({41, 40, '1'});
    Course course;
    ReadCourse(course, CourseText(64, 64, '3', cells));
    LayOut(course);
    EXPECT_EQ(1, course._markerCount);

    // Planes not yet taken from a view let every area through: all 64 markers are collected.
    course.CollectVisible(course._quadTree, 0, 0, 256, 256, 4);
    EXPECT_EQ(64, course._visibleCountX);
    EXPECT_EQ(64, course._visibleCountY);
}

// ---------------------------------------------------------------- start cells

TEST(StartCells, FourCellsPutTheRacersOnTheMiddleTwoAndThePolesOnTheEnds) {
    Course course;
    ReadCourse(course, CourseText(64, 64, '3', StartCells({{10, 20}, {10, 21}, {10, 22}, {10, 23}})));
    EXPECT_EQ("", LayOut(course));
    EXPECT_FLOAT_EQ(4.0f, course._cellSize);
    ASSERT_EQ(4, g_startCount);
    ExpectStarts(course, 40.0f, 88.0f, 40.0f, 84.0f);

    WorldSpot poles[2];
    ASSERT_EQ(2, PlaceRacePoles(g_startX, g_startY, g_startCount, course._cellSize, poles));
    ExpectSpot(poles[0], 40, 80);
    ExpectSpot(poles[1], 40, 92);
}

TEST(StartCells, TwoAndThreeCellsPutRacerOneOnTheSecondAndRacerTwoOnTheFirst) {
    Course two;
    ReadCourse(two, CourseText(64, 64, '3', StartCells({{5, 7}, {6, 7}})));
    EXPECT_EQ("", LayOut(two));
    EXPECT_FLOAT_EQ(24.0f, two._start1X);
    EXPECT_FLOAT_EQ(20.0f, two._start2X);
    WorldSpot poles[2];
    ASSERT_EQ(2, PlaceRacePoles(g_startX, g_startY, g_startCount, two._cellSize, poles));
    ExpectSpot(poles[0], 20, 28);
    ExpectSpot(poles[1], 24, 28);

    Course three;
    ReadCourse(three, CourseText(64, 64, '3', StartCells({{5, 7}, {6, 7}, {7, 7}})));
    EXPECT_EQ("", LayOut(three));
    EXPECT_FLOAT_EQ(24.0f, three._start1X);
    EXPECT_FLOAT_EQ(20.0f, three._start2X);
    ASSERT_EQ(2, PlaceRacePoles(g_startX, g_startY, g_startCount, three._cellSize, poles));
    ExpectSpot(poles[1], 28, 28);
}

TEST(StartCells, AreOrderedByXFirst) {
    Course course;
    ReadCourse(course, CourseText(16, 16, '3', StartCells({{4, 1}, {3, 9}})));
    LayOut(course);
    ASSERT_EQ(2, g_startCount);
    EXPECT_EQ(3, g_startX[0]);
    EXPECT_EQ(9, g_startY[0]);
    EXPECT_EQ(4, g_startX[1]);
    EXPECT_EQ(1, g_startY[1]);
}

TEST(StartCells, NoneLeavesBothRacersAt128AndNoPoleWithOneLine) {
    Course course;
    ReadCourse(course, CourseText(64, 64, '3', {}));
    EXPECT_EQ("Course::BuildMarkers() - no start cells: both racers start at (128, 128), "
              "no race pole is drawn.\n",
              LayOut(course));
    EXPECT_EQ(0, g_startCount);
    ExpectStarts(course, 128.0f, 128.0f, 128.0f, 128.0f);
    WorldSpot poles[2];
    EXPECT_EQ(0, PlaceRacePoles(g_startX, g_startY, g_startCount, course._cellSize, poles));
}

TEST(StartCells, OnePutsBothRacersAndOnePoleOnItWithOneLine) {
    Course course;
    ReadCourse(course, CourseText(64, 64, '3', StartCells({{12, 30}})));
    EXPECT_EQ("Course::BuildMarkers() - one start cell: both racers start on it.\n", LayOut(course));
    EXPECT_EQ(1, g_startCount);
    ExpectStarts(course, 48.0f, 120.0f, 48.0f, 120.0f);
    WorldSpot poles[2];
    ASSERT_EQ(1, PlaceRacePoles(g_startX, g_startY, g_startCount, course._cellSize, poles));
    ExpectSpot(poles[0], 48, 120);
}

TEST(StartCells, PastTheTenthAreCountedInTheLineButIgnored) {
    std::vector<std::pair<int, int>> places;
    for (int y = 0; y < 25; ++y) {
        places.push_back({10, y});
    }
    Course course;
    ReadCourse(course, CourseText(64, 64, '3', StartCells(places)));
    EXPECT_EQ("Course::BuildMarkers() - 25 start cells: only the first 10 are used.\n",
              LayOut(course));
    ASSERT_EQ(10, g_startCount);
    EXPECT_EQ(9, g_startY[9]);
    EXPECT_FLOAT_EQ(20.0f, course._start1Z);  // entry 5 of the ten
    EXPECT_FLOAT_EQ(16.0f, course._start2Z);
    WorldSpot poles[2];
    ASSERT_EQ(2, PlaceRacePoles(g_startX, g_startY, g_startCount, course._cellSize, poles));
    ExpectSpot(poles[1], 40, 36);  // the tenth cell
}

TEST(StartCells, TenFitWithoutALineAndElevenGetOne) {
    std::vector<std::pair<int, int>> places;
    for (int y = 0; y < 10; ++y) {
        places.push_back({3, y});
    }
    Course ten;
    ReadCourse(ten, CourseText(32, 32, '3', StartCells(places)));
    EXPECT_EQ("", LayOut(ten));
    EXPECT_EQ(10, g_startCount);

    places.push_back({3, 10});
    Course eleven;
    ReadCourse(eleven, CourseText(32, 32, '3', StartCells(places)));
    EXPECT_EQ("Course::BuildMarkers() - 11 start cells: only the first 10 are used.\n",
              LayOut(eleven));
    EXPECT_EQ(10, g_startCount);
}

// ---------------------------------------------------------------- no grid, odd widths

TEST(MarkerLayout, WithoutAGridScansNothingAndLeavesAnEmptyTree) {
    Course course;  // Init never succeeded
    const std::string console = LayOut(course);
    EXPECT_EQ(1u, std::count(console.begin(), console.end(), '\n'));
    EXPECT_FLOAT_EQ(0.0f, course._cellSize);
    EXPECT_EQ(0, course._markerCount);
    EXPECT_EQ(0, g_startCount);
    EXPECT_FLOAT_EQ(128.0f, course._start1X);
    EXPECT_FLOAT_EQ(128.0f, course._start2Z);
    ASSERT_NE(nullptr, course._quadTree.children[0]);
    EXPECT_EQ(0, course._quadTree.markerCount);
    course.CollectVisible(course._quadTree, 0, 0, 256, 256, 4);
    EXPECT_EQ(0, course._visibleCountX);
}

TEST(MarkerLayout, AFailedReadWithWidthZeroDividesByNothing) {
    Course course;
    {
        ConsoleCapture quiet;
        std::istringstream in("0 5\n00000\n");
        ASSERT_FALSE(course.Read(in));
    }
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
    Course course;
    ReadCourse(course, CourseText(100, 100, '3', StartCells({{10, 10}, {10, 11}})));
    LayOut(course);
    EXPECT_FLOAT_EQ(2.0f, course._cellSize);
    EXPECT_FLOAT_EQ(0.390625f, course._cellsPerUnit);
    EXPECT_FLOAT_EQ(22.0f, course._start1Z);
    EXPECT_FLOAT_EQ(20.0f, course._start2Z);
}

TEST(MarkerLayout, ASecondLayoutStartsTheStartTableAfresh) {
    Course course;
    ReadCourse(course, CourseText(64, 64, '3', StartCells({{10, 20}, {10, 21}, {10, 22}, {10, 23}})));
    LayOut(course);
    LayOut(course);
    EXPECT_EQ(4, g_startCount);
    EXPECT_FLOAT_EQ(88.0f, course._start1Z);
}
