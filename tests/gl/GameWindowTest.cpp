#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include <GL/glut.h>

#include "ConsoleCapture.h"
#include "GLContext.h"
#include "ScopedEnv.h"
#include "TempDir.h"
#include "VirtualPads.h"
#include "app/Game.h"
#include "course/Fence.h"
#include "platform/Clock.h"

namespace {
std::array<float, 16> Projection() {
    std::array<float, 16> m{};
    glGetFloatv(GL_PROJECTION_MATRIX, m.data());
    return m;
}
} // namespace

TEST(GameWindow, OpensTheWindowWithItsModeAndIgnoresKeyRepeat) {
    EnsureGLContext();
    {
        Game game;
        ASSERT_TRUE(game.InitWindow());
        ASSERT_GT(game._windowId, 0);
        EXPECT_NE(TestWindowId(), game._windowId);
        EXPECT_EQ(game._windowId, glutGetWindow());
        EXPECT_EQ(640, glutGet(GLUT_WINDOW_WIDTH));
        EXPECT_EQ(480, glutGet(GLUT_WINDOW_HEIGHT));
        EXPECT_EQ(1, glutGet(GLUT_WINDOW_DOUBLEBUFFER));
        EXPECT_GT(glutGet(GLUT_WINDOW_DEPTH_SIZE), 0);
        EXPECT_GT(glutGet(GLUT_WINDOW_RED_SIZE), 0);
        EXPECT_EQ(1, glutDeviceGet(GLUT_DEVICE_IGNORE_KEY_REPEAT));
    }
    // The game closed its window when it went; the test's own window is still there.
    glutSetWindow(TestWindowId());
    EXPECT_EQ(TestWindowId(), glutGetWindow());
}

TEST(GameWindow, ReshapeGivesBothCamerasTheAspectOfOneHalf) {
    EnsureGLContext();
    Game game;
    game.Reshape(800, 601);
    EXPECT_EQ(800, game._width);
    EXPECT_EQ(601, game._height);
    EXPECT_EQ(300, game._halfHeight);
    EXPECT_FLOAT_EQ(800.0f / 300.0f, game._camera1.aspect);
    EXPECT_FLOAT_EQ(800.0f / 300.0f, game._camera2.aspect);
    const double f = 1.0 / std::tan(M_PI / 6.0);
    EXPECT_NEAR(f * 300.0 / 800.0, Projection()[0], 1e-5);
    EXPECT_NEAR(f, Projection()[5], 1e-5);
}

TEST(GameWindow, BadSizeKeepsTheOldSizeAndProjection) {
    EnsureGLContext();
    Game game;
    game.Reshape(640, 480);
    const auto before = Projection();
    ConsoleCapture capture;
    game.Reshape(5, 400);
    EXPECT_EQ("Game::Reshape - bad window size: 5, 400\n", capture.Text());
    EXPECT_EQ(640, game._width);
    EXPECT_EQ(240, game._halfHeight);
    EXPECT_FLOAT_EQ(640.0f / 240.0f, game._camera1.aspect);
    EXPECT_EQ(before, Projection());
    capture.Clear();
    game.Reshape(6, 6); // the smallest size taken
    EXPECT_EQ("", capture.Text());
    EXPECT_EQ(3, game._halfHeight);
}

// With the player's settings: the items on the course, a cap of 30 frames a second.
TEST(GameStart, InitReadsTheLevelOpensTheWindowAndSetsTheRacersOff) {
    EnsureGLContext();
    TempDir dir;
    dir.Enter();
    dir.Write("levels/test.txt", "skyboxes/none\ncourses/test.txt\n");
    dir.Write("courses/test.txt", "8 8 11111111 10000001 10222201 10000001 10000001 10000001 "
                                  "10000001 11111111\n");
    ScopedEnv silent("SDL_AUDIODRIVER", "dummy");  // the same start with or without a sound card
    PlayerSettings settings;
    settings.itemsOnCourse = true;
    settings.frameCap = 30;
    Game game(settings);
    ConsoleCapture capture;
    ASSERT_TRUE(game.Init("levels/test.txt")) << capture.Text();
    EXPECT_EQ(0u, capture.Text().find("Reading level description file 'levels/test.txt'...\n"
                                      "  skybox path: skyboxes/none\n"
                                      "  course filename: courses/test.txt\n"));
    EXPECT_GT(game._windowId, 0);
    for (const Camera* camera : {&game._camera1, &game._camera2}) {
        EXPECT_FLOAT_EQ(0.0f, camera->_speed);
        EXPECT_FLOAT_EQ(0.0f, camera->_heading);
        EXPECT_FLOAT_EQ(50.0f, camera->_baseHeight);
        EXPECT_FLOAT_EQ(0.0f, camera->_pitch);
        EXPECT_FLOAT_EQ(0.005f, camera->_acceleration);
        EXPECT_FLOAT_EQ(0.1f, camera->_turnRate);
        EXPECT_FLOAT_EQ(0.0f, camera->_eye.y);
    }
    const Course& course = game._world._course;
    EXPECT_EQ(course._start1X, game._camera1._eye.x);
    EXPECT_EQ(course._start1Z, game._camera1._eye.z);
    EXPECT_EQ(course._start2X, game._camera2._eye.x);
    EXPECT_EQ(course._start2Z, game._camera2._eye.z);
    for (int i = 0; i < kItemCount; ++i) {  // the player's items = course
        EXPECT_TRUE(IsInsideFence(course, float(game._world._billboardX[i]),
                                  float(game._world._billboardZ[i]))) << "item " << i;
    }
    // The start-up started the pads: one plugged in now drives racer 1 at the next idle step.
    SDL_JoystickSetVirtualButton(PlugPad("Pad One"), SDL_CONTROLLER_BUTTON_A, 1);
    game.Idle();
    EXPECT_EQ(1, game._padKeys['w']);
    // At the cap of 30 the idle step waits: twelve more take at least ten periods of the clock
    // (a late frame may start the count afresh), however fast the machine.
    const int from = ElapsedMillis();
    for (int frame = 0; frame < 12; ++frame) {
        game.Idle();
    }
    EXPECT_LE(from + 333, ElapsedMillis());
    EXPECT_NE(std::string::npos, capture.Text().find("Racer 1: gamepad Pad One\n")) << capture.Text();
}

TEST(GameStart, ABadLevelOpensNoWindow) {
    EnsureGLContext();
    TempDir dir;
    dir.Enter();
    Game game;
    ConsoleCapture capture;
    EXPECT_FALSE(game.Init("missing.txt"));
    EXPECT_EQ("Reading level description file 'missing.txt'...\n"
              "Game::ReadLevel() - ERROR opening file.\n"
              "Game::Init() - ERROR loading level description.\n",
              capture.Text());
    EXPECT_EQ(-1, game._windowId);
}
