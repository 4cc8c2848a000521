// The marker quadtree and the frustum test, without a window: the tree's shape, where markers
// go, and which leaves a view collects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ConsoleCapture.h"
#include "TestCourses.h"
#include "app/Camera.h"
#include "base/Matrix.h"
#include "course/CourseData.h"
#include "course/MarkerPlacement.h"
#include "course/QuadTree.h"

namespace {
const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// A width x width course of free ground with markers ';' at the given cells, laid out.
void MarkerCourse(CourseData& course, int width, const std::vector<std::pair<int, int>>& markers) {
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

// The markers a view collects, in the walk's order; planes never taken from a view (all zero)
// let every area through.
std::vector<std::pair<int, int>> CollectedInOrder(const CourseData& course,
                                                  const Frustum& frustum = Frustum()) {
    std::vector<int32_t> xs(course._quadTree.markerCount);
    std::vector<int32_t> ys(course._quadTree.markerCount);
    const int32_t count = CollectVisibleMarkers(course._quadTree, frustum, xs.data(), ys.data());
    std::vector<std::pair<int, int>> markers;
    for (int i = 0; i < count; ++i) {
        markers.push_back({xs[i], ys[i]});
    }
    return markers;
}

std::set<std::pair<int, int>> Collected(const CourseData& course,
                                        const Frustum& frustum = Frustum()) {
    const std::vector<std::pair<int, int>> markers = CollectedInOrder(course, frustum);
    return {markers.begin(), markers.end()};
}

// A view that only moves the world by (x, y, z).
void Translation(float x, float y, float z, float m[16]) {
    std::copy(kIdentity, kIdentity + 16, m);
    m[12] = x;
    m[13] = y;
    m[14] = z;
}

// True when some part of the post at world (x, z), heights 14.5 to 19.5, lies in the view
// volume. Along the post, each of the clip conditions w -+ x, y, z >= 0 of P x M x (x, y, z, 1)
// is linear, so it holds over one interval of the post.
bool PostInView(const float projection[16], const float modelview[16], float x, float z) {
    double clip[2][4] = {};
    for (int end = 0; end < 2; ++end) {
        const double point[4] = {x, end == 0 ? 14.5 : 19.5, z, 1};
        for (int row = 0; row < 4; ++row) {
            for (int k = 0; k < 4; ++k) {
                for (int j = 0; j < 4; ++j) {
                    clip[end][row] += projection[4 * k + row] * modelview[4 * j + k] * point[j];
                }
            }
        }
    }
    double from = 0;
    double to = 1;
    for (int condition = 0; condition < 6; ++condition) {
        const double sign = condition % 2 ? 1 : -1;
        const double a = clip[0][3] + sign * clip[0][condition / 2];
        const double b = clip[1][3] + sign * clip[1][condition / 2];
        if (a < 0 && b < 0) return false;
        if (a < 0) from = std::max(from, a / (a - b));
        if (b < 0) to = std::min(to, a / (a - b));
    }
    return from <= to;
}

void ExpectPlane(const float* plane, float a, float b, float c, float d) {
    EXPECT_NEAR(a, plane[0], 1e-5);
    EXPECT_NEAR(b, plane[1], 1e-5);
    EXPECT_NEAR(c, plane[2], 1e-5);
    EXPECT_NEAR(d, plane[3], 1e-3);
}
}  // namespace

TEST(QuadTree, HasEightyFiveFilledNodesDownToLeavesOf32) {
    CourseData course;
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
    CourseData course;
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
    CourseData course;
    MarkerCourse(course, 64, {{0, 5}, {5, 0}, {0, 0}, {5, 5}, {63, 63}});
    EXPECT_EQ(nullptr, LeafOf(course._quadTree, 0, 5));
    EXPECT_EQ(nullptr, LeafOf(course._quadTree, 5, 0));
    const std::set<std::pair<int, int>> everything = Collected(course);  // planes still zero
    EXPECT_EQ((std::set<std::pair<int, int>>{{5, 5}, {63, 63}}), everything);
    Frustum frustum;
    frustum.Update(kIdentity, kIdentity);
    EXPECT_EQ((std::set<std::pair<int, int>>{{5, 5}}), Collected(course, frustum));
}

TEST(QuadTree, LeavesAreCollectedDepthFirstInGridScanOrder) {
    CourseData course;
    MarkerCourse(course, 64, {{20, 2}, {2, 3}, {2, 1}, {3, 1}, {40, 60}});
    EXPECT_EQ((std::vector<std::pair<int, int>>{{2, 1}, {2, 3}, {3, 1}, {20, 2}, {40, 60}}),
              CollectedInOrder(course));
}

TEST(Frustum, IdentityMatricesGiveTheUnitCubeFacingInwards) {
    Frustum frustum;
    frustum.Update(kIdentity, kIdentity);
    ExpectPlane(frustum._planes[0], -1, 0, 0, 1);  // right
    ExpectPlane(frustum._planes[1], 1, 0, 0, 1);   // left
    ExpectPlane(frustum._planes[2], 0, 1, 0, 1);   // bottom
    ExpectPlane(frustum._planes[3], 0, -1, 0, 1);  // top
    ExpectPlane(frustum._planes[4], 0, 0, -1, 1);  // far
    ExpectPlane(frustum._planes[5], 0, 0, 1, 1);   // near
}

TEST(Frustum, IdentityViewCollectsOnlyTheLeafAtTheOrigin) {
    CourseData course;
    MarkerCourse(course, 64, {{1, 1}, {8, 8}, {9, 8}, {8, 9}, {30, 30}});
    Frustum frustum;
    frustum.Update(kIdentity, kIdentity);
    EXPECT_EQ((std::set<std::pair<int, int>>{{1, 1}, {8, 8}}), Collected(course, frustum));
}

TEST(Frustum, PointsLessThanTwentyUnitsOutsideCountAsInside) {
    Frustum frustum;
    frustum.Update(kIdentity, kIdentity);
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
    PerspectiveMatrix(90, 1, 1, 100, projection);
    Frustum frustum;
    frustum.Update(projection, kIdentity);
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
    Translation(-100, 0, -50, modelview);
    float projection[16];
    PerspectiveMatrix(90, 1, 1, 100, projection);
    Frustum frustum;
    frustum.Update(projection, modelview);
    EXPECT_TRUE(frustum.PointInside(100, 0, 0));     // 50 ahead
    EXPECT_FALSE(frustum.PointInside(100, 0, 80));   // 30 behind
    EXPECT_FALSE(frustum.PointInside(100, 0, -80));  // 30 past the far plane
    EXPECT_TRUE(frustum.PointInside(100, 0, -65));   // 15 past it
}

TEST(Frustum, AnAreaTheViewCrossesBetweenItsCornersIsCollected) {
    // A small box around world (32, 17, 32): every ground corner of the areas above the leaf at
    // the origin lies 31 or more units outside, yet the post at (32, 32) stands in view.
    float modelview[16];
    Translation(-32, -17, -32, modelview);
    CourseData course;
    MarkerCourse(course, 64, {{8, 8}});
    Frustum frustum;
    frustum.Update(kIdentity, modelview);
    EXPECT_FALSE(frustum.PointInside(0, 0, 0));
    EXPECT_EQ((std::set<std::pair<int, int>>{{8, 8}}), Collected(course, frustum));
}

TEST(Frustum, EveryPostInViewIsCollectedOnTheShippedCourse) {
    // Racers all over the course's free ground looking every way, at the lowest and highest
    // eye, in the default window's halves and in 4:3 halves.
    CourseData course;
    {
        ConsoleCapture quiet;
        ASSERT_TRUE(course.Init(KESTRUN_SOURCE_DIR "/data/courses/default.txt"));
        LayOutMarkers(course);
    }
    const Camera camera;
    int checked = 0;
    for (float aspect : {640.0f / 240.0f, 4.0f / 3.0f}) {
        float projection[16];
        PerspectiveMatrix(camera.fov, aspect, camera.nearClip, camera.farClip, projection);
        for (float eyeY : {1.8f, 27.2f}) {
            for (int eye = 0; eye < 22 * 22; ++eye) {
                const float eyeX = 2.0f + 12 * (eye % 22);
                const float eyeZ = 2.0f + 12 * (eye / 22);
                if (course.GetCell(static_cast<int>(eyeX * course._cellsPerUnit),
                                   static_cast<int>(eyeZ * course._cellsPerUnit)) == '1') {
                    continue;  // a racer never stands on blocked ground
                }
                for (int degrees = 0; degrees < 360; degrees += 6) {
                    float modelview[16];
                    LookAlongMatrix(eyeX, eyeY, eyeZ, degrees * 3.14159265f / 180, modelview);
                    Frustum frustum;
                    frustum.Update(projection, modelview);
                    const std::set<std::pair<int, int>> collected = Collected(course, frustum);
                    for (int i = 0; i < course._quadTree.markerCount; ++i) {
                        const std::pair<int, int> post{course._quadTree.markerX[i],
                                                       course._quadTree.markerY[i]};
                        ++checked;
                        ASSERT_TRUE(collected.count(post) ||
                                    !PostInView(projection, modelview, post.first * course._cellSize,
                                                post.second * course._cellSize))
                            << "post " << post.first << "," << post.second << " from " << eyeX
                            << "," << eyeY << "," << eyeZ << " at " << degrees << " degrees, aspect "
                            << aspect;
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 1000000);
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
