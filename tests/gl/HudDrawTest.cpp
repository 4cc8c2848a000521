#include <gtest/gtest.h>

#include <cstring>

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>

#include "GLContext.h"
#include "base/Clock.h"
#include "scene/World.h"

// The heads-up line as drawn into a half of the window.
namespace {
int g_now = 500;
int TestClock() {
    return g_now;
}

GLint GetInteger(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

void PrepareOverlay(World& world) {
    world._hudWidth = 640;
    world._hudHeight = 480;
    world._hudFont = GLUT_BITMAP_9_BY_15;
}

// Where the next character would go, in window pixels.
void RasterPosition(GLfloat position[4]) {
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
}

class HudDraw : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGLContext();
        g_now = 500;
        SetClockForTesting(TestClock);
        PrepareOverlay(world);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, 640.0 / 240.0, 0.1, 512.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(10.0, 5.0, 10.0, 10.0, 5.0, 9.0, 0.0, 1.0, 0.0);
    }
    void TearDown() override { SetClockForTesting(nullptr); }

    World world;
};
}  // namespace

TEST_F(HudDraw, LineStartsAtTheSamePlaceOfTheOverlayForAnyViewport) {
    // Before the first refresh the line is empty and the raster stays at its start:
    // the left edge, 12/480 of the viewport's height below its top.
    const struct {
        int x, y, width, height;
    } viewports[] = {{0, 240, 640, 240}, {0, 0, 1000, 301}, {20, 100, 320, 100}};
    for (const auto& v : viewports) {
        glViewport(v.x, v.y, v.width, v.height);
        world.DrawHud(1);
        GLfloat position[4];
        RasterPosition(position);
        EXPECT_TRUE(GetInteger(GL_CURRENT_RASTER_POSITION_VALID));
        EXPECT_NEAR(v.x, position[0], 0.01) << v.width << " x " << v.height;
        EXPECT_NEAR(v.y + v.height * (1.0 - 12.0 / 480.0), position[1], 0.01)
            << v.width << " x " << v.height;
    }
    EXPECT_STREQ("", g_hudText);
}

TEST_F(HudDraw, EveryCharacterOfTheLineIsDrawn) {
    glViewport(0, 0, 640, 480);
    g_now = 1001;
    world.DrawHud(2);
    ASSERT_STREQ("FPS:1.00 Time:1.00", g_hudText);
    GLfloat position[4];
    RasterPosition(position);
    EXPECT_NEAR(9.0 * std::strlen(g_hudText), position[0], 0.01);  // 9 pixels a character
    EXPECT_NEAR(480.0 - 12.0, position[1], 0.01);
}

TEST_F(HudDraw, MatricesComeBackAndTexturingIsLeftOff) {
    glViewport(0, 0, 640, 240);
    GLfloat projection[16];
    GLfloat modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const GLint projectionDepth = GetInteger(GL_PROJECTION_STACK_DEPTH);
    const GLint modelviewDepth = GetInteger(GL_MODELVIEW_STACK_DEPTH);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);

    g_now = 2000;
    world.DrawHud(1);

    GLfloat after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    EXPECT_EQ(0, std::memcmp(projection, after, sizeof after));
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(0, std::memcmp(modelview, after, sizeof after));
    EXPECT_EQ(projectionDepth, GetInteger(GL_PROJECTION_STACK_DEPTH));
    EXPECT_EQ(modelviewDepth, GetInteger(GL_MODELVIEW_STACK_DEPTH));
    EXPECT_EQ(GL_MODELVIEW, GetInteger(GL_MATRIX_MODE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}
