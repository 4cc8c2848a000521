#include <gtest/gtest.h>

#include <sstream>

#include "ConsoleCapture.h"
#include "course/Course.h"
#include "course/MarkerRules.h"

namespace {
bool ReadCourse(Course& course, const std::string& text, std::string* console = nullptr) {
    ConsoleCapture capture;
    std::istringstream in(text);
    const bool ok = course.Read(in);
    if (console) {
        *console = capture.Text();
    }
    return ok;
}
}  // namespace

TEST(CourseFile, StoresCellsByColumnAndEchoesThem) {
    Course course;
    std::string console;
    ASSERT_TRUE(ReadCourse(course, "2 3 012 345\n", &console));
    EXPECT_EQ(std::string("0314") + "25", std::string(course._courseMap, 6));
    EXPECT_EQ("  dimensions: ( 2 x 3 )\n  map: \n2 3\n012\n345\nSUCCESS!\n", console);
}

TEST(CourseFile, DimensionsAtEndOfFileAreReadThenTheMapIsMissing) {
    Course course;
    std::string console;
    EXPECT_FALSE(ReadCourse(course, "64 64", &console));
    EXPECT_EQ("  dimensions: ( 64 x 64 )\n  map: \nCourse::Init() - ERROR reading map data: 0,0\n",
              console);
    EXPECT_EQ(nullptr, course._courseMap);
    EXPECT_EQ(0, course._courseWidth);
}

TEST(CourseFile, OutsideTheGridIsBlockedForTheMarkerRule) {
    Course course;
    ASSERT_TRUE(ReadCourse(course, "3 3 000 010 000"));
    EXPECT_EQ(8, MarkBorderCells(course));  // every '0' touches the '1' or the edge
    EXPECT_EQ('1', CellOrBlocked(course, -1, 0));
    EXPECT_EQ('1', CellOrBlocked(course, 0, 3));
}
