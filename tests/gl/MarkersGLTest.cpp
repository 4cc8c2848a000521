// The markers in a real OpenGL context: the display lists, the frustum of a real camera, and
// posts, ropes and race poles showing up on screen where they stand.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "GLContext.h"
#include "TestCourses.h"
#include "terrain/Course.h"

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 480;
const GLubyte kBackground[3] = {51, 77, 204};

// A 64 x 64 course of free ground '3' with the given cells set, read and built.
void BuildCourse(Course& course, const std::vector<CourseCell>& cells,
                 std::string* console = nullptr) {
    ReadGoodCourse(course, CourseText(64, 64, '3', cells));
    ConsoleCapture capture;
    course.BuildMarkers();
    if (console) {
        *console = capture.Text();
    }
}

// A camera at `eye` looking at `target`, with the render state the game draws in.
void LookAt(float eyeX, float eyeY, float eyeZ, float targetX, float targetY, float targetZ) {
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, static_cast<double>(kWidth) / kHeight, 1.0, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eyeX, eyeY, eyeZ, targetX, targetY, targetZ, 0, 1, 0);
    glClearColor(kBackground[0] / 255.0f, kBackground[1] / 255.0f, kBackground[2] / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glEnable(GL_LIGHTING);
}

// True when the pixel at (x, y), counted from the lower left, is not the background.
bool Drawn(int x, int y) {
    GLubyte pixel[4] = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return pixel[0] != kBackground[0] || pixel[1] != kBackground[1] || pixel[2] != kBackground[2];
}
}  // namespace

TEST(MarkersGL, BuildCompilesThreeListsEvenWithoutTextures) {
    EnsureGLContext();
    Course course;
    BuildCourse(course, {{10, 20, '2'}, {10, 21, '2'}});
    EXPECT_TRUE(glIsList(course._postList));
    EXPECT_TRUE(glIsList(course._ropeList));
    EXPECT_TRUE(glIsList(course._poleList));
    EXPECT_NE(course._postList, course._ropeList);
    EXPECT_NE(course._ropeList, course._poleList);
    EXPECT_EQ(0u, course._postTexture.GetId());  // no image: the lists bind texture 0
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
}

TEST(MarkersGL, WithoutAGridTheListsAreStillMadeAndNothingIsDrawnButTheTerrain) {
    EnsureGLContext();
    Course course;  // the course file failed to load
    ConsoleCapture capture;
    course.BuildMarkers();
    EXPECT_TRUE(glIsList(course._postList));
    EXPECT_TRUE(glIsList(course._poleList));
    LookAt(128, 20, 128, 128, 20, 0);
    course.UpdateFrustum();
    course.DrawMarkers();
    EXPECT_EQ(0, course._visibleCountX);
    EXPECT_FALSE(Drawn(kWidth / 2, kHeight / 2));
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
}

TEST(MarkersGL, ARealCameraCollectsTheMarkersAheadAndNotThoseBehind) {
    EnsureGLContext();
    Course course;
    // Grid (32, 10) stands at world (128, 40), ahead; (32, 60) at (128, 240), behind.
    BuildCourse(course, {{32, 10, ';'}, {32, 60, ';'}, {31, 8, ';'}});
    LookAt(128, 20, 128, 128, 20, 0);
    course.UpdateFrustum();

    float projection[16];
    float modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    Frustum expected;
    expected.Update(projection, modelview);
    for (int plane = 0; plane < 6; ++plane) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(expected._planes[plane][i], course._frustum._planes[plane][i]);
        }
    }
    EXPECT_TRUE(course._frustum.PointInside(128, 17, 40));
    EXPECT_FALSE(course._frustum.PointInside(128, 17, 240));

    course.CollectVisible();
    std::vector<std::pair<int, int>> seen;
    for (int i = 0; i < course._visibleCountX; ++i) {
        seen.push_back({course._visibleX[i], course._visibleY[i]});
    }
    EXPECT_NE(seen.end(), std::find(seen.begin(), seen.end(), std::make_pair(32, 10)));
    EXPECT_NE(seen.end(), std::find(seen.begin(), seen.end(), std::make_pair(31, 8)));
    EXPECT_EQ(seen.end(), std::find(seen.begin(), seen.end(), std::make_pair(32, 60)));
}

TEST(MarkersGL, APostAndItsRopeShowUpWhereTheyStand) {
    EnsureGLContext();
    Course course;
    std::string console;
    // World (124, 124), near the corner (128, 128) that the areas above its leaf share, so that
    // the corner test lets them through from close by. No start cells.
    BuildCourse(course, {{31, 31, ';'}}, &console);
    // Besides the texture lines, one line says that no start cell was found.
    EXPECT_NE(std::string::npos, console.find("no start cells: both racers start at (128, 128)"));
    // Ten units west of the post, looking east: world +z is to the right on screen.
    LookAt(114, 17, 124, 124, 17, 124);
    course.UpdateFrustum();
    course.DrawMarkers();
    glFinish();
    ASSERT_EQ(1, course._visibleCountX);
    // About 42 pixels per unit at that distance: the post is 5 units tall and half a unit
    // wide; its only rope, with no neighbour, runs 5 units along z at the post's middle.
    const int cx = kWidth / 2;
    const int cy = kHeight / 2;
    EXPECT_TRUE(Drawn(cx, cy + 60));         // post, above the rope
    EXPECT_TRUE(Drawn(cx, cy - 60));         // post, below the rope
    EXPECT_TRUE(Drawn(cx + 60, cy));         // rope
    EXPECT_TRUE(Drawn(cx - 60, cy));         // rope
    EXPECT_FALSE(Drawn(cx + 60, cy + 60));   // beside the post, above the rope
    EXPECT_FALSE(Drawn(cx, cy + 150));       // above the post's top at 19.5
    EXPECT_FALSE(Drawn(cx + 150, cy));       // past the rope's end
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());

    // Two posts in a row along x: each rope runs along x, as the layout laid it, so from the
    // west both are seen end on and nothing is drawn beside the posts.
    Course pair;
    BuildCourse(pair, {{30, 31, ';'}, {31, 31, ';'}});
    LookAt(114, 17, 124, 124, 17, 124);
    pair.UpdateFrustum();
    pair.DrawMarkers();
    glFinish();
    ASSERT_EQ(2, pair._visibleCountX);
    EXPECT_TRUE(Drawn(cx, cy + 60));    // the nearer post
    EXPECT_FALSE(Drawn(cx + 60, cy));   // no rope across the view
    EXPECT_FALSE(Drawn(cx - 60, cy));
}

TEST(MarkersGL, TheRacePolesStandOnTheFirstAndLastStartCells) {
    EnsureGLContext();
    Course course;
    BuildCourse(course, {{32, 20, '2'}, {32, 21, '2'}});  // world (128, 80) and (128, 84)
    EXPECT_FLOAT_EQ(84.0f, course._start1Z);
    EXPECT_FLOAT_EQ(80.0f, course._start2Z);
    LookAt(118, 17, 82, 128, 17, 82);
    course.UpdateFrustum();
    course.DrawMarkers();
    glFinish();
    const int cx = kWidth / 2;
    const int cy = kHeight / 2;
    EXPECT_TRUE(Drawn(cx - 83, cy + 60));   // the pole at z = 80, 2 units left
    EXPECT_TRUE(Drawn(cx + 83, cy + 60));   // the pole at z = 84, 2 units right
    EXPECT_FALSE(Drawn(cx, cy));            // between them
    EXPECT_FALSE(Drawn(cx - 83, cy + 150));  // above the poles' tops at 19.5
}
