#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>

#include "GLContext.h"
#include "TestClock.h"
#include "scene/World.h"

// The heads-up line as drawn into a half of the window.
namespace {
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
        g_hudText[0] = '\0';  // the game's one line, empty as at start-up
        PrepareOverlay(world);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, 640.0 / 240.0, 0.1, 512.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(10.0, 5.0, 10.0, 10.0, 5.0, 9.0, 0.0, 1.0, 0.0);
    }
    void TearDown() override { g_hudText[0] = '\0'; }

    TestClock clock{500};
    World world;
};
}  // namespace

TEST_F(HudDraw, EachHalfShowsTheWholeLineInsideItself) {
    // Bitmaps are not clipped by the viewport: a line placed too high spills into the other
    // half or off the window. The first window is tall enough for the line at any place; in a
    // wide, short one the half is lower than the line is long; in the last the glyphs are cut
    // but the line still runs from its first character to its last.
    std::strcpy(g_hudText, "FPS:1234.56 Time:7890.12");
    long wholeLine = 0;
    std::pair<long, long> wholeSpan{0, 0};
    for (const auto& [width, height] :
         {std::pair{1280, 2000}, {640, 480}, {1280, 720}, {1600, 200}, {300, 21}}) {
        OffscreenTarget target(width, height);
        for (int racer : {1, 2}) {
            const int half = height / 2;
            const int bottom = racer == 1 ? half : 0;
            glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);  // as the frame starts
            glViewport(0, bottom, width, half);
            world.DrawHud(racer);
            const std::vector<unsigned char> pixels = target.Read();
            long lit = 0;
            long outside = 0;
            std::pair<long, long> span{width, -1};  // the first and last lit column
            for (size_t i = 0; i < pixels.size(); i += 4) {
                const long x = static_cast<long>(i / 4) % width;
                const long y = static_cast<long>(i / 4) / width;
                lit += pixels[i] > 0;
                outside += pixels[i] > 0 && (y < bottom || y >= bottom + half);
                span = pixels[i] > 0 ? std::pair{std::min(span.first, x), std::max(span.second, x)}
                                     : span;
            }
            wholeLine = wholeLine ? wholeLine : lit;
            wholeSpan = wholeSpan.second ? wholeSpan : span;
            EXPECT_EQ(0, outside) << width << " x " << height << ", racer " << racer;
            EXPECT_TRUE(half < 14 ? lit > 0 : lit == wholeLine) << width << " x " << height;
            ASSERT_GT(wholeLine, 100) << "the line was not drawn";
            EXPECT_TRUE(std::abs(span.first - wholeSpan.first) <= 1 &&
                        std::abs(span.second - wholeSpan.second) <= 1)
                << width << " x " << height << ", racer " << racer << ": columns " << span.first
                << ".." << span.second << ", not " << wholeSpan.first << ".." << wholeSpan.second;
        }
    }
}

TEST_F(HudDraw, EveryCharacterOfTheLineIsDrawn) {
    glViewport(0, 0, 640, 480);
    clock.Set(1001);
    world.DrawHud(2);
    ASSERT_STREQ("FPS:1.00 Time:1.00", g_hudText);
    GLfloat position[4];
    RasterPosition(position);
    EXPECT_NEAR(9.0 * std::strlen(g_hudText), position[0], 0.01);  // 9 pixels a character
    EXPECT_NEAR(480.0 - 12.0, position[1], 0.01);
    world.DrawHud(2, " Lap 2");  // the racer's own words follow on the line
    RasterPosition(position);
    EXPECT_NEAR(9.0 * (std::strlen(g_hudText) + 6), position[0], 0.01);
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

    clock.Set(2000);
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
