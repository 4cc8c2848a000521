#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "ConsoleCapture.h"
#include "TempDir.h"
#include "TestCourses.h"
#include "course/CourseData.h"
#include "course/CourseGrid.h"
#include "course/CourseRules.h"

namespace {
// The cells of the grid in storage order.
std::string Storage(const CourseData& course) {
    return std::string(course._courseMap,
                       static_cast<size_t>(course._courseWidth) * course._courseLength);
}

// A course file of `width` lines of `length` cells, every cell `code`.
std::string UniformCourse(const std::string& widthToken, int width, int length, char code) {
    std::string text = widthToken + " " + std::to_string(length) + "\n";
    for (int x = 0; x < width; ++x) {
        text += std::string(static_cast<size_t>(length), code) + "\n";
    }
    return text;
}

const char* const kDimensionsError =
    "  dimensions: Course::Init() - ERROR reading course dimensions.\n";
}  // namespace

TEST(CourseFile, StoresCellsByColumnAndEchoesThem) {
    CourseData course;
    std::string console;
    ASSERT_TRUE(ReadCourseText(course, "2 3 012 345\n", &console));
    EXPECT_EQ(std::string("0314") + "25", std::string(course._courseMap, 6));
    EXPECT_EQ("  dimensions: ( 2 x 3 )\n  map: \n2 3\n012\n345\nSUCCESS!\n", console);
    EXPECT_EQ('0', course.GetCell(0, 0));
    EXPECT_EQ('2', course.GetCell(0, 2));
    EXPECT_EQ('3', course.GetCell(1, 0));
    EXPECT_EQ('5', course.GetCell(1, 2));
}

TEST(CourseFile, LineStructureIsIrrelevant) {
    CourseData lines;
    CourseData oneLine;
    std::string linesConsole;
    std::string oneLineConsole;
    ASSERT_TRUE(ReadCourseText(lines, "2 2\n0 1\n\t1\r\n 0\n", &linesConsole));
    ASSERT_TRUE(ReadCourseText(oneLine, "2 2 0110", &oneLineConsole));
    EXPECT_EQ(Storage(oneLine), Storage(lines));
    EXPECT_EQ("0110", Storage(lines)); // (0,0) (1,0) (0,1) (1,1)
    EXPECT_EQ("  dimensions: ( 2 x 2 )\n  map: \n2 2\n01\n10\nSUCCESS!\n", linesConsole);
    EXPECT_EQ(linesConsole, oneLineConsole);
}

TEST(CourseFile, AnyOtherCharacterIsStoredAsRead) {
    CourseData course;
    ASSERT_TRUE(ReadCourseText(course, "1 4 a;#9"));
    EXPECT_EQ("a;#9", Storage(course));
}

TEST(CourseFile, LastCellAtEndOfFileIsRead) {
    CourseData course;
    std::string console;
    ASSERT_TRUE(ReadCourseText(course, "2 2\n01\n12", &console));
    EXPECT_EQ('2', course.GetCell(1, 1));
    EXPECT_EQ("  dimensions: ( 2 x 2 )\n  map: \n2 2\n01\n12\nSUCCESS!\n", console);
}

// A map that ends early: the line names the first missing cell and the grid is released.
TEST(CourseFile, MapEndingEarlyNamesTheMissingCellAndReleasesTheGrid) {
    const struct {
        const char* text;
        const char* dimensions;
        const char* cell;
    } cases[] = {
        {"3 4\n1111\n1001\n111\n", "3 x 4", "2,3"}, // one cell short
        {"64 64", "64 x 64", "0,0"},                // the dimensions end the file
        {"64 64\n", "64 x 64", "0,0"},
        {"1 65535 01", "1 x 65535", "0,2"}, // the largest 16-bit dimension is accepted
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CourseData course;
        std::string console;
        EXPECT_FALSE(ReadCourseText(course, c.text, &console));
        EXPECT_EQ(std::string("  dimensions: ( ") + c.dimensions +
                      " )\n  map: \nCourse::Init() - ERROR reading map data: " + c.cell + "\n",
                  console);
        EXPECT_EQ(nullptr, course._courseMap);
        EXPECT_EQ(0, course._courseWidth);
        EXPECT_EQ(0, course._courseLength);
        EXPECT_FALSE(course.Contains(0, 0));
    }
}

TEST(CourseFile, BadDimensionsAllocateNothing) {
    // Missing, one only, not numeric, past 16 bits, zero, negative, hex prefix without digits.
    for (const char* text :
         {"", "   \n", "64", "64\n", "x 4", "4 y 0", "65536 1 0", "1 65536 0", "99999999999 1",
          "0 5 00000", "5 0 0", "-1 2 00", "2 -1 00", "0x 1 0"}) {
        SCOPED_TRACE(text);
        CourseData course;
        std::string console;
        EXPECT_FALSE(ReadCourseText(course, text, &console));
        EXPECT_EQ(kDimensionsError, console);
        EXPECT_EQ(nullptr, course._courseMap);
        EXPECT_EQ(0, course._courseWidth);
        EXPECT_EQ(0, course._courseLength);
    }
}

TEST(CourseFile, WidthInHexadecimalAndOctal) {
    for (const char* token : {"0x40", "0X40", "0100", "64"}) {
        SCOPED_TRACE(token);
        CourseData course;
        std::string console;
        ASSERT_TRUE(ReadCourseText(course, UniformCourse(token, 64, 2, '1'), &console));
        EXPECT_EQ(64, course._courseWidth);
        EXPECT_EQ(2, course._courseLength);
        EXPECT_EQ(0, console.find("  dimensions: ( 64 x 2 )\n  map: \n64 2\n11\n"));
    }
}

TEST(CourseFile, CellsPerUnitFollowsTheWidthOnly) {
    const struct {
        int width;
        float cellsPerUnit;
    } cases[] = {{64, 0.25f}, {100, 0.390625f}, {128, 0.5f}, {256, 1.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        CourseData course;
        ASSERT_TRUE(
            ReadCourseText(course, UniformCourse(std::to_string(c.width), c.width, 3, '0')));
        EXPECT_EQ(c.cellsPerUnit, course._cellsPerUnit);
    }
}

TEST(CourseFile, SecondReadReplacesTheGrid) {
    CourseData course;
    ASSERT_TRUE(ReadCourseText(course, "2 3 012 345"));
    std::string console;
    ASSERT_TRUE(ReadCourseText(course, "3 2 ab cd ef", &console));
    EXPECT_EQ(3, course._courseWidth);
    EXPECT_EQ(2, course._courseLength);
    EXPECT_EQ("acebdf", Storage(course));
    EXPECT_EQ("  dimensions: ( 3 x 2 )\n  map: \n3 2\nab\ncd\nef\nSUCCESS!\n", console);
}

TEST(CourseFile, BadDimensionsOnASecondReadKeepTheFirstGrid) {
    CourseData course;
    ASSERT_TRUE(ReadCourseText(course, "2 3 012 345"));
    EXPECT_FALSE(ReadCourseText(course, "0 3"));
    EXPECT_EQ(2, course._courseWidth);
    EXPECT_EQ(3, course._courseLength);
    EXPECT_EQ("031425", Storage(course));
}

TEST(CourseFile, InitReadsTheFileAndEchoesEveryRow) {
    TempDir dir;
    const std::string path = dir.Write("level1.course", UniformCourse("64", 64, 64, '1'));
    CourseData course;
    ConsoleCapture capture;
    ASSERT_TRUE(course.Init(path.c_str()));
    const std::string console = capture.Text();
    std::istringstream lines(console);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        if (count == 1) {
            EXPECT_EQ("Reading course file '" + path + "'...", line);
        } else if (count == 2) {
            EXPECT_EQ("  dimensions: ( 64 x 64 )", line);
        } else if (count == 3) {
            EXPECT_EQ("  map: ", line);
        } else if (count == 4) {
            EXPECT_EQ("64 64", line);
        } else if (count <= 68) {
            EXPECT_EQ(std::string(64, '1'), line);
        } else {
            EXPECT_EQ("SUCCESS!", line);
        }
    }
    EXPECT_EQ(69, count); // four heading lines, 64 rows, SUCCESS!
    EXPECT_EQ(0.25f, course._cellsPerUnit);
}

TEST(CourseFile, MissingFileLeavesTheGridAsItWas) {
    CourseData course;
    ASSERT_TRUE(ReadCourseText(course, "2 3 012 345"));
    TempDir dir;
    const std::string path = dir.File("missing.course");
    ConsoleCapture capture;
    EXPECT_FALSE(course.Init(path.c_str()));
    EXPECT_EQ("Reading course file '" + path + "'...\nCourse::Init() - ERROR opening file.\n",
              capture.Text());
    EXPECT_EQ("031425", Storage(course));
}

TEST(CourseFile, RacersStartAtTheCameraStartUntilTheMarkersAreBuilt) {
    CourseData course;
    EXPECT_EQ(128.0f, course._start1X);
    EXPECT_EQ(128.0f, course._start1Z);
    EXPECT_EQ(128.0f, course._start2X);
    EXPECT_EQ(128.0f, course._start2Z);
    EXPECT_EQ(10, course._heightDivisor);
    EXPECT_EQ(nullptr, course._courseMap);
    EXPECT_EQ(nullptr, course._heights);
}

TEST(CourseFileDeathTest, CellOutsideTheGridStopsTheProgram) {
    const char* const expected =
        "x >= 0 && x < _courseWidth && y >= 0 && y < _courseLength.*course";
    CourseData course;
    ASSERT_TRUE(ReadCourseText(course, "2 3 012 345"));
    EXPECT_DEATH(course.GetCell(2, 0), expected);
    EXPECT_DEATH(course.GetCell(0, 3), expected);
    EXPECT_DEATH(course.GetCell(-1, 0), expected);
    EXPECT_DEATH(course.SetCell(0, -1, '1'), expected);
    CourseData empty;
    EXPECT_DEATH(empty.GetCell(0, 0), expected);
}

TEST(CourseFile, OutsideTheGridIsBlockedForTheMarkerRule) {
    CourseData course;
    ASSERT_TRUE(ReadCourseText(course, "3 3 000 010 000"));
    EXPECT_EQ(8, MarkBorderCells(course)); // every '0' touches the '1' or the edge
    EXPECT_EQ('1', CellOrBlocked(course, -1, 0));
    EXPECT_EQ('1', CellOrBlocked(course, 0, 3));
}
