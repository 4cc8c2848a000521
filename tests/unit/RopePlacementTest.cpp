// Which way each marker's rope runs, from the markers around it, without a window.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestCourses.h"
#include "course/Course.h"
#include "course/MarkerPlacement.h"

namespace {
// A width x width course of free ground '3' with markers ';' at the given cells.
void MarkerCourse(Course& course, int width, const std::vector<std::pair<int, int>>& markers) {
    ReadMarkerCourse(course, width, markers);
    course.ComputeCellSize();
}
}  // namespace

TEST(RopePlacement, AStraightRunPointsEachRopeToTheNextPost) {
    Course course;
    MarkerCourse(course, 64, {{10, 5}, {11, 5}, {12, 5}, {13, 5}});
    RopePlacement rope = FirstRopePlacement();
    for (int x = 10; x < 13; ++x) {
        rope = PlaceRope(course, x, 5, rope);
        EXPECT_EQ(0, rope.angle);
        EXPECT_FLOAT_EQ(1.0f, rope.along);
        EXPECT_FLOAT_EQ(0.0f, rope.across);
        const float length = RopeLength(rope.angle);
        EXPECT_FLOAT_EQ(5.0f, length);
        // From half a unit behind this post to half a unit past the next, one cell away.
        EXPECT_FLOAT_EQ(-0.5f, 2 * rope.along - length / 2);
        EXPECT_FLOAT_EQ(course._cellSize + 0.5f, 2 * rope.along + length / 2);
    }
}

TEST(RopePlacement, TheFirstMarkerWithoutNeighboursLiesAlongMinusZOnItsPost) {
    Course course;
    MarkerCourse(course, 64, {{20, 20}});
    const RopePlacement rope = PlaceRope(course, 20, 20, FirstRopePlacement());
    EXPECT_EQ(90, rope.angle);
    EXPECT_FLOAT_EQ(0.0f, rope.along);
    EXPECT_FLOAT_EQ(0.0f, rope.across);
    EXPECT_FLOAT_EQ(5.0f, RopeLength(rope.angle));
}

TEST(RopePlacement, AMarkerWithoutNeighboursKeepsTheValuesOfTheOneBefore) {
    Course course;
    MarkerCourse(course, 64, {{30, 30}});
    const RopePlacement before{225, -1.0f, 1.0f};
    const RopePlacement rope = PlaceRope(course, 30, 30, before);
    EXPECT_EQ(225, rope.angle);
    EXPECT_FLOAT_EQ(-1.0f, rope.along);
    EXPECT_FLOAT_EQ(1.0f, rope.across);
    EXPECT_FLOAT_EQ(7.0f, RopeLength(rope.angle));
}

TEST(RopePlacement, EachNeighbourAloneSetsItsRow) {
    const struct {
        int dx, dy, angle;
        float along, across;
    } rows[] = {{1, 0, 0, 1.0f, 0.0f},    {1, -1, 45, 1.2f, 0.0f},  {0, -1, 90, 1.0f, 0.0f},
                {-1, -1, 135, 1.0f, 0.0f}, {-1, 0, -45, 1.5f, 9.0f}, {-1, 1, 225, -1.0f, 1.0f},
                {0, 1, 270, -1.0f, 0.0f},  {1, 1, 315, 1.0f, 1.0f}};  // a left neighbour keeps across
    for (const auto& row : rows) {
        Course course;
        MarkerCourse(course, 64, {{20, 20}, {20 + row.dx, 20 + row.dy}});
        const RopePlacement rope = PlaceRope(course, 20, 20, {7, 9.0f, 9.0f});
        EXPECT_EQ(row.angle, rope.angle) << row.dx << "," << row.dy;
        EXPECT_FLOAT_EQ(row.along, rope.along) << row.dx << "," << row.dy;
        EXPECT_FLOAT_EQ(row.across, rope.across) << row.dx << "," << row.dy;
    }
}

TEST(RopePlacement, TheFirstNeighbourInTableOrderWins) {
    // (x + 1, y + 1) is looked at last, (x, y - 1) before (x - 1, y).
    Course course;
    MarkerCourse(course, 64, {{20, 20}, {21, 21}, {20, 19}, {19, 20}});
    EXPECT_EQ(90, PlaceRope(course, 20, 20, FirstRopePlacement()).angle);
}

TEST(RopePlacement, NeighboursOutsideTheGridAreNoMarkers) {
    Course course;
    MarkerCourse(course, 8, {{0, 0}, {7, 7}, {0, 7}});
    for (const auto& corner : {std::make_pair(0, 0), std::make_pair(7, 7), std::make_pair(0, 7)}) {
        const RopePlacement rope = PlaceRope(course, corner.first, corner.second, {135, 1.0f, 0.0f});
        EXPECT_EQ(135, rope.angle) << corner.first << "," << corner.second;
    }
}

TEST(RopePlacement, OnlyTheDiagonalAnglesGetTheLongRope) {
    for (int angle : {45, 135, 225, 315, -45}) {
        EXPECT_FLOAT_EQ(7.0f, RopeLength(angle)) << angle;
    }
    for (int angle : {0, 90, 270}) {
        EXPECT_FLOAT_EQ(5.0f, RopeLength(angle)) << angle;
    }
}
