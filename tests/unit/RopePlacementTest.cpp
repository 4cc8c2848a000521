// Which way each marker's rope runs, from the markers around it, and the ropes the layout
// places once for the drawing, without a window.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "TestCourses.h"
#include "course/CourseData.h"
#include "course/Fence.h"
#include "course/MarkerPlacement.h"
#include "course/RopeTable.h"

namespace {
// A width x width course of free ground '3' with markers ';' at the given cells.
void MarkerCourse(CourseData& course, int width, const std::vector<std::pair<int, int>>& markers) {
    ReadMarkerCourse(course, width, markers);
    course.ComputeCellSize();
}
}  // namespace

TEST(RopePlacement, AStraightRunPointsEachRopeToTheNextPost) {
    for (const int width : {64, 32, 128}) {  // cells of 4, 8 and 2 units
        CourseData course;
        MarkerCourse(course, width, {{10, 5}, {11, 5}, {12, 5}, {13, 5}});
        for (int x = 10; x < 13; ++x) {
            const RopePlacement rope = PlaceRope(course, x, 5);
            EXPECT_EQ(0, rope.angle);
            EXPECT_FLOAT_EQ(0.0f, rope.across);
            // From half a unit behind this post to half a unit past the next, one cell away.
            EXPECT_FLOAT_EQ(-0.5f, 2 * rope.along - rope.length / 2) << width;
            EXPECT_FLOAT_EQ(course._cellSize + 0.5f, 2 * rope.along + rope.length / 2) << width;
        }
    }
}

TEST(RopePlacement, TheFirstMarkerWithoutNeighboursLiesAlongMinusZOnItsPost) {
    CourseData course;
    MarkerCourse(course, 64, {{20, 20}});
    const RopePlacement rope = PlaceRope(course, 20, 20);
    EXPECT_EQ(90, rope.angle);
    EXPECT_FLOAT_EQ(0.0f, rope.along);
    EXPECT_FLOAT_EQ(0.0f, rope.across);
    EXPECT_FLOAT_EQ(5.0f, RopeLength(rope.angle));
}

TEST(RopePlacement, AMarkerWithoutNeighboursDoesNotTakeTheValuesOfTheOneBefore) {
    // The layout places each marker's rope once, on its own: a lone marker after a run in scan
    // order (and so in the drawing) gets the first values, not the run's.
    CourseData course;
    ReadMarkerCourse(course, 64, {{10, 5}, {11, 5}, {30, 30}});
    std::ostringstream quiet;
    LayOutMarkers(course, quiet);
    const FenceRope* run = RopeOfMarker(course._fence, 10, 5);
    const FenceRope* lone = RopeOfMarker(course._fence, 30, 30);
    ASSERT_NE(nullptr, run);
    ASSERT_NE(nullptr, lone);
    EXPECT_EQ(0, run->placement.angle);
    EXPECT_EQ(90, lone->placement.angle);
    EXPECT_FLOAT_EQ(0.0f, lone->placement.along);
    EXPECT_FLOAT_EQ(0.0f, lone->placement.across);
    EXPECT_FLOAT_EQ(5.0f, lone->placement.length);
    EXPECT_EQ(nullptr, RopeOfMarker(course._fence, 30, 31));
}

TEST(RopePlacement, EachNeighbourAloneSetsItsRow) {
    // Every rope reaches its neighbour's post: the first four rows as they always were, the
    // others (which pointed away or sideways) from behind this post to half a unit past that one.
    const float diagonal = 4.0f * std::sqrt(2.0f);
    const struct {
        int dx, dy, angle;
        float along, across, length;
    } rows[] = {{1, 0, 0, 1.0f, 0.0f, 5.0f},
                {1, -1, 45, 1.2f, 0.0f, 7.0f},
                {0, -1, 90, 1.0f, 0.0f, 5.0f},
                {-1, -1, 135, 1.0f, 0.0f, 7.0f},
                {-1, 0, 180, 1.0f, 0.0f, 5.0f},
                {-1, 1, 225, diagonal / 4.0f, 0.0f, diagonal + 1.0f},
                {0, 1, 270, 1.0f, 0.0f, 5.0f},
                {1, 1, 315, diagonal / 4.0f, 0.0f, diagonal + 1.0f}};
    for (const auto& row : rows) {
        CourseData course;
        MarkerCourse(course, 64, {{20, 20}, {20 + row.dx, 20 + row.dy}});
        const RopePlacement rope = PlaceRope(course, 20, 20);
        EXPECT_EQ(row.angle, rope.angle) << row.dx << "," << row.dy;
        EXPECT_FLOAT_EQ(row.along, rope.along) << row.dx << "," << row.dy;
        EXPECT_FLOAT_EQ(row.across, rope.across) << row.dx << "," << row.dy;
        EXPECT_NEAR(row.length, rope.length, 1e-5) << row.dx << "," << row.dy;
        EXPECT_NEAR(row.length, RopeLength(row.angle), 1e-5) << row.angle;
    }
}

TEST(RopePlacement, TheFirstNeighbourInTableOrderWins) {
    // (x + 1, y + 1) is looked at last, (x, y - 1) before (x - 1, y).
    CourseData course;
    MarkerCourse(course, 64, {{20, 20}, {21, 21}, {20, 19}, {19, 20}});
    EXPECT_EQ(90, PlaceRope(course, 20, 20).angle);
}

TEST(RopePlacement, NeighboursOutsideTheGridAreNoMarkers) {
    CourseData course;
    MarkerCourse(course, 8, {{0, 0}, {7, 7}, {0, 7}});
    for (const auto& corner : {std::make_pair(0, 0), std::make_pair(7, 7), std::make_pair(0, 7)}) {
        const RopePlacement rope = PlaceRope(course, corner.first, corner.second);
        EXPECT_EQ(90, rope.angle) << corner.first << "," << corner.second;
    }
}
