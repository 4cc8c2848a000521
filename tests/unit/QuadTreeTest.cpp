// The marker quadtree and the frustum test, without a window: the tree's shape, where markers
// go, and which leaves a view collects.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "TestCourses.h"
#include "course/Course.h"
#include "course/MarkerPlacement.h"

namespace {
const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// A width x width course of free ground with markers ';' at the given cells, laid out.
void MarkerCourse(Course& course, int width, const std::vector<std::pair<int, int>>& markers) {
    ReadMarkerCourse(course, width, markers);
    LayOutMarkers(course);
}

int CountNodes(const QuadNode& node) {
    int count = 1;
    for (const QuadNode* child : node.children) {
        count += child ? CountNodes(*child) : 0;
    }
    return count;
}

// The leaf (a node without children) that lists the marker (x, y), or null.
const QuadNode* LeafOf(const QuadNode& node, int x, int y) {
    if (!node.children[0]) {
        for (int i = 0; i < node.markerCount; ++i) {
            if (node.markerX[i] == x && node.markerY[i] == y) {
                return &node;
            }
        }
        return nullptr;
    }
    for (const QuadNode* child : node.children) {
        if (const QuadNode* leaf = LeafOf(*child, x, y)) {
            return leaf;
        }
    }
    return nullptr;
}

std::set<std::pair<int, int>> Collected(Course& course) {
    course.CollectVisible(course._quadTree, 0, 0, 256, 256, 4);
    EXPECT_EQ(course._visibleCountX, course._visibleCountY);
    std::set<std::pair<int, int>> markers;
    for (int i = 0; i < course._visibleCountX; ++i) {
        markers.insert({course._visibleX[i], course._visibleY[i]});
    }
    return markers;
}

// An OpenGL-style perspective matrix, column-major.
void Perspective(float fovY, float aspect, float zNear, float zFar, float m[16]) {
    const float f = 1.0f / std::tan(fovY * 3.14159265f / 360.0f);
    for (int i = 0; i < 16; ++i) {
        m[i] = 0;
    }
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (zFar + zNear) / (zNear - zFar);
    m[11] = -1;
    m[14] = 2 * zFar * zNear / (zNear - zFar);
}

void ExpectPlane(const float* plane, float a, float b, float c, float d) {
    EXPECT_NEAR(a, plane[0], 1e-5);
    EXPECT_NEAR(b, plane[1], 1e-5);
    EXPECT_NEAR(c, plane[2], 1e-5);
    EXPECT_NEAR(d, plane[3], 1e-3);
}
}  // namespace

TEST(QuadTree, HasEightyFiveFilledNodesDownToLeavesOf32) {
    Course course;
    MarkerCourse(course, 64, {{5, 5}});
    EXPECT_EQ(85, CountNodes(course._quadTree));
    const QuadNode* node = &course._quadTree;
    const float sizes[4] = {256, 128, 64, 32};
    for (float size : sizes) {
        ASSERT_NE(nullptr, node);
        EXPECT_FLOAT_EQ(size, node->sizeX);
        EXPECT_FLOAT_EQ(size, node->sizeZ);
        node = node->children[3];
    }
    EXPECT_EQ(nullptr, node);  // the leaves have no children
    const QuadNode& quarter = *course._quadTree.children[1];
    EXPECT_FLOAT_EQ(128.0f, quarter.minX);
    EXPECT_FLOAT_EQ(0.0f, quarter.minZ);
    EXPECT_FLOAT_EQ(128.0f, course._quadTree.children[2]->minZ);
}

TEST(QuadTree, AreasAreOpenLowAndClosedHigh) {
    Course course;
    MarkerCourse(course, 64, {{8, 8}, {9, 8}, {8, 9}});
    const QuadNode* first = LeafOf(course._quadTree, 8, 8);  // world (32, 32)
    ASSERT_NE(nullptr, first);
    EXPECT_FLOAT_EQ(0.0f, first->minX);
    EXPECT_FLOAT_EQ(0.0f, first->minZ);
    const QuadNode* second = LeafOf(course._quadTree, 9, 8);  // world (36, 32)
    ASSERT_NE(nullptr, second);
    EXPECT_FLOAT_EQ(32.0f, second->minX);
    EXPECT_FLOAT_EQ(0.0f, second->minZ);
    const QuadNode* third = LeafOf(course._quadTree, 8, 9);  // world (32, 36)
    ASSERT_NE(nullptr, third);
    EXPECT_FLOAT_EQ(0.0f, third->minX);
    EXPECT_FLOAT_EQ(32.0f, third->minZ);
    EXPECT_EQ(3, course._quadTree.markerCount);
}

TEST(QuadTree, MarkersOnGridLineZeroAreNeverCollected) {
    Course course;
    MarkerCourse(course, 64, {{0, 5}, {5, 0}, {0, 0}, {5, 5}, {63, 63}});
    EXPECT_EQ(nullptr, LeafOf(course._quadTree, 0, 5));
    EXPECT_EQ(nullptr, LeafOf(course._quadTree, 5, 0));
    const std::set<std::pair<int, int>> everything = Collected(course);  // planes still zero
    EXPECT_EQ((std::set<std::pair<int, int>>{{5, 5}, {63, 63}}), everything);
    course._frustum.FromMatrices(kIdentity, kIdentity);
    EXPECT_EQ((std::set<std::pair<int, int>>{{5, 5}}), Collected(course));
}

TEST(QuadTree, LeavesAreCollectedDepthFirstInGridScanOrder) {
    Course course;
    MarkerCourse(course, 64, {{20, 2}, {2, 3}, {2, 1}, {3, 1}, {40, 60}});
    Collected(course);
    ASSERT_EQ(5, course._visibleCountX);
    const int expectedX[5] = {2, 2, 3, 20, 40};
    const int expectedY[5] = {1, 3, 1, 2, 60};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(expectedX[i], course._visibleX[i]) << i;
        EXPECT_EQ(expectedY[i], course._visibleY[i]) << i;
    }
}

TEST(Frustum, IdentityMatricesGiveTheUnitCubeFacingInwards) {
    Frustum frustum;
    frustum.FromMatrices(kIdentity, kIdentity);
    ExpectPlane(frustum._planes[0], -1, 0, 0, 1);  // right
    ExpectPlane(frustum._planes[1], 1, 0, 0, 1);   // left
    ExpectPlane(frustum._planes[2], 0, 1, 0, 1);   // bottom
    ExpectPlane(frustum._planes[3], 0, -1, 0, 1);  // top
    ExpectPlane(frustum._planes[4], 0, 0, -1, 1);  // far
    ExpectPlane(frustum._planes[5], 0, 0, 1, 1);   // near
}

TEST(Frustum, IdentityViewCollectsOnlyTheLeafAtTheOrigin) {
    Course course;
    MarkerCourse(course, 64, {{1, 1}, {8, 8}, {9, 8}, {8, 9}, {30, 30}});
    course._frustum.FromMatrices(kIdentity, kIdentity);
    EXPECT_EQ((std::set<std::pair<int, int>>{{1, 1}, {8, 8}}), Collected(course));
}

TEST(Frustum, PointsLessThanTwentyUnitsOutsideCountAsInside) {
    Frustum frustum;
    frustum.FromMatrices(kIdentity, kIdentity);
    EXPECT_FALSE(frustum.PointInside(0, 0, -21.0f));  // 20 outside the near plane
    EXPECT_TRUE(frustum.PointInside(0, 0, -20.9f));   // 19.9 outside
    EXPECT_FALSE(frustum.PointInside(21.0f, 0, 0));
    EXPECT_TRUE(frustum.PointInside(20.9f, 0, 0));
    EXPECT_FALSE(frustum.PointInside(0, -21.0f, 0));
    EXPECT_TRUE(frustum.PointInside(0, 20.9f, 20.9f));
}

TEST(Frustum, PerspectivePlanesMatchTheViewVolume) {
    // 90 degrees, square, near 1, far 100, looking down -z: the side planes are x = -z, x = z,
    // y = -z, y = z, the ends z = -1 and z = -100.
    float projection[16];
    Perspective(90, 1, 1, 100, projection);
    Frustum frustum;
    frustum.FromMatrices(projection, kIdentity);
    const float h = std::sqrt(0.5f);
    ExpectPlane(frustum._planes[0], -h, 0, -h, 0);
    ExpectPlane(frustum._planes[1], h, 0, -h, 0);
    ExpectPlane(frustum._planes[2], 0, h, -h, 0);
    ExpectPlane(frustum._planes[3], 0, -h, -h, 0);
    ExpectPlane(frustum._planes[4], 0, 0, 1, 100);
    ExpectPlane(frustum._planes[5], 0, 0, -1, -1);
}

TEST(Frustum, ModelviewMovesThePlanesIntoTheWorld) {
    // The camera moved to world (100, 0, 50): the modelview translates by (-100, 0, -50).
    float modelview[16];
    for (int i = 0; i < 16; ++i) {
        modelview[i] = kIdentity[i];
    }
    modelview[12] = -100;
    modelview[14] = -50;
    float projection[16];
    Perspective(90, 1, 1, 100, projection);
    Frustum frustum;
    frustum.FromMatrices(projection, modelview);
    EXPECT_TRUE(frustum.PointInside(100, 0, 0));     // 50 ahead
    EXPECT_FALSE(frustum.PointInside(100, 0, 80));   // 30 behind
    EXPECT_FALSE(frustum.PointInside(100, 0, -80));  // 30 past the far plane
    EXPECT_TRUE(frustum.PointInside(100, 0, -65));   // 15 past it
}

TEST(Frustum, AnAreaWhoseCornersAllLieOutsideIsSkippedEvenWithItsMiddleInView) {
    // A small box around world (32, 0, 32): every corner of the areas above the leaf at the
    // origin lies 31 or more units outside, so that leaf is never reached.
    float modelview[16];
    for (int i = 0; i < 16; ++i) {
        modelview[i] = kIdentity[i];
    }
    modelview[12] = -32;
    modelview[14] = -32;
    Course course;
    MarkerCourse(course, 64, {{8, 8}});
    course._frustum.FromMatrices(kIdentity, modelview);
    EXPECT_TRUE(course._frustum.PointInside(32, 0, 32));
    EXPECT_TRUE(Collected(course).empty());
}

TEST(Frustum, ADegeneratePlaneIsLeftAsItIs) {
    float planes[6][4] = {{0, 0, 0, 3}};
    NormalizePlane(planes, 0);
    EXPECT_FLOAT_EQ(3.0f, planes[0][3]);
    planes[1][0] = 3;
    planes[1][1] = 4;
    planes[1][3] = 10;
    NormalizePlane(planes, 1);
    EXPECT_FLOAT_EQ(0.6f, planes[1][0]);
    EXPECT_FLOAT_EQ(0.8f, planes[1][1]);
    EXPECT_FLOAT_EQ(2.0f, planes[1][3]);
}
