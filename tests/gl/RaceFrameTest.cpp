#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>

#include "GLContext.h"
#include "Racers.h"
#include "SoundMeasure.h"
#include "TestClock.h"
#include "TestCourses.h"
#include "VirtualPads.h"
#include "app/FrameSteps.h"
#include "app/Game.h"
#include "course/CourseRules.h"
#include "course/Fence.h"
#include "platform/Clock.h"
#include "scene/Random.h"

// The game rules of a frame and the split-screen frame itself, in a real context, on a
// course read from text and, where the ground matters, a height field made by hand.
namespace {
// The generator's state after its first `draws` numbers, worked out apart from the game's.
uint32_t StateAfter(int draws) {
    uint32_t state = 1;
    for (int i = 0; i < draws; ++i) {
        state = state * 214013u + 2531011u;
    }
    return state;
}

// A game ready to draw frames in a window 64 wide and 41 high, racer 1 at (100, 100),
// racer 2 at (150, 150), the items where every run starts them.
class RaceFrame : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGLContext();
        game = std::make_unique<Game>();
        World& world = game->_world;
        ReadGoodCourse(world._course, "4 4  0000 0000 0000 0000");
        world._fogMode = GL_LINEAR;
        const float fogColor[4] = {1.0f, 0.8f, 0.5f, 0.0f};
        std::copy(fogColor, fogColor + 4, world._fogColor);
        world._hudWidth = 640;
        world._hudHeight = 480;
        world._hudFont = GLUT_BITMAP_9_BY_15;
        ResetRandom();
        g_hudText[0] = '\0';  // no heads-up text left over: it is drawn past the viewport
        world.PlaceItems();
        world._pickupRadius = 3;
        world.BuildBillboardList();
        world._skybox._displayList = glGenLists(1);  // a sky with no faces
        glNewList(world._skybox._displayList, GL_COMPILE);
        glEndList();
        StartRacerAt(game->_camera1, 100.0f, 100.0f);
        StartRacerAt(game->_camera2, 150.0f, 150.0f);
        game->_width = 64;
        game->_height = 41;
        game->_halfHeight = 20;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, 64.0 / 20.0, 0.1, 512.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        mixer = &game->_sound.MixerForTesting();
    }
    void TearDown() override { game.reset(); }

    // What the game's sound plays over the next `frames`, from clips the test gives it.
    StereoTrack Heard(size_t frames) {
        std::vector<float> stereo(2 * frames);
        mixer->Mix(stereo.data(), static_cast<int>(frames));
        return SplitStereo(stereo.data(), frames);
    }

    TestClock clock{500};
    std::unique_ptr<Game> game;
    SoundMixer* mixer = nullptr;
};
}  // namespace

// ---- The rule steps for one racer ----

TEST(RaceRules, BlockedGroundStopsTheRacerAndSetsItBackOneUnit) {
    EnsureGLContext();
    Course course;
    ReadGoodCourse(course, "4 4  0000 0100 0000 0000");  // cell (1, 1): x and z from 64 to 128
    Camera camera;
    StartRacerAt(camera, 100.0f, 128.2f);
    camera._speed = 0.3f;
    MoveRacer(camera, kOneTick);  // looking toward -z, into the blocked cell

    StopAtWall(course, camera, kOneTick);
    EXPECT_EQ(0.0f, camera._speed);
    EXPECT_EQ(0.0f, camera._acceleration);
    EXPECT_FLOAT_EQ(100.0f, camera._eye.x);
    EXPECT_FLOAT_EQ(128.9f, camera._eye.z);

    // Standing there, the wall step leaves it alone.
    MoveRacer(camera, kOneTick);
    StopAtWall(course, camera, kOneTick);
    EXPECT_FLOAT_EQ(128.9f, camera._eye.z);

    // Backing into it (the one frame a slowing speed is below 0) with no rope before it: a
    // set-back would take it deeper in, so it stays where it was before the move.
    StartRacerAt(camera, 100.0f, 128.2f);
    camera._heading = static_cast<float>(M_PI);  // looking toward +z, the blocked cell behind
    camera._speed = -0.3f;
    MoveRacer(camera, kOneTick);
    StopAtWall(course, camera, kOneTick);
    EXPECT_EQ(0.0f, camera._speed);
    EXPECT_FLOAT_EQ(100.0f, camera._eye.x);
    EXPECT_FLOAT_EQ(128.2f, camera._eye.z);
}

TEST(RaceRules, ASetBackBeyondTheFenceLeavesTheRacerWhereItWas) {
    EnsureGLContext();
    Course course;
    // A rope along x = 64 on the low edge of line 1 (blocked ground at x < 64).
    ReadGoodCourse(course, "4 4  1111 0000 0000 0000");
    MarkBorderCells(course);
    LayOutFence(course);
    Camera camera;
    StartRacerAt(camera, 64.1f, 100.0f);
    camera._heading = static_cast<float>(M_PI / 2);  // looking toward +x, the rope behind it
    camera._speed = -0.2f;                           // the one frame a slowing speed is below 0
    MoveRacer(camera, kOneTick);

    StopAtWall(course, camera, kOneTick);
    EXPECT_EQ(0.0f, camera._speed);
    EXPECT_FLOAT_EQ(64.1f, camera._eye.x);
    EXPECT_FLOAT_EQ(100.0f, camera._eye.z);
}

TEST(RaceRules, RacerOffTheTerrainIsStoppedLikeAtAWall) {
    EnsureGLContext();
    Course course;
    ReadGoodCourse(course, "4 4  0000 0000 0000 0000");
    Camera camera;
    StartRacerAt(camera, 0.0f, 10.0f);
    camera._heading = static_cast<float>(-M_PI / 2);  // looking toward -x
    camera._speed = 0.5f;
    MoveRacer(camera, kOneTick);

    StopAtWall(course, camera, kOneTick);
    EXPECT_EQ(0.0f, camera._speed);
    EXPECT_EQ(0.0f, camera._acceleration);
    EXPECT_NEAR(0.5f, camera._eye.x, 1e-5);
    EXPECT_NEAR(10.0f, camera._eye.z, 1e-5);
}

TEST(RaceRules, RacerPastTheLastRowIsStoppedWithoutReadingOutsideTheGrid) {
    EnsureGLContext();
    Course course;
    ReadGoodCourse(course, "4 2  00 00 00 00");  // rows end at z = 128
    Camera camera;
    StartRacerAt(camera, 10.0f, 127.8f);
    camera._heading = static_cast<float>(M_PI);  // looking toward +z
    camera._speed = 0.5f;
    MoveRacer(camera, kOneTick);

    StopAtWall(course, camera, kOneTick);
    EXPECT_EQ(0.0f, camera._speed);
    EXPECT_NEAR(127.3f, camera._eye.z, 1e-5);
}

TEST(RaceRules, EyeFloatsTwoUnitsAboveTheGroundPlusBobbing) {
    EnsureGLContext();
    Course course;
    course._heights = new unsigned char[kTerrainSize * kTerrainSize]();
    course._heights[34 * kTerrainSize + 12] = 57;   // world height 5 at (12, 34)
    course._heights[34 * kTerrainSize + 13] = 200;  // the neighbours do not count
    course._heights[35 * kTerrainSize + 12] = 200;
    Camera camera;
    StartRacerAt(camera, 12.9f, 34.9f);
    camera.Turn(0.0f);
    Camera::_bobPhase = 0.0f;

    FollowGround(course, camera, kOneTick);
    EXPECT_EQ(7.0f, camera._baseHeight);
    EXPECT_FLOAT_EQ(static_cast<float>(std::sin(90.0) * 0.2 + 7.0), camera._eye.y);
    EXPECT_FLOAT_EQ(0.01f, Camera::_bobPhase);
    EXPECT_EQ(12.9f, camera._eye.x);
    EXPECT_EQ(34.9f, camera._eye.z);
    EXPECT_EQ(5, GroundHeight(course, 12, 34));
    EXPECT_EQ(20, GroundHeight(course, 13, 34));
}

TEST(RaceRules, ItemsStandTwoUnitsAboveTheirGround) {
    EnsureGLContext();
    World world;
    world._course._heights = new unsigned char[kTerrainSize * kTerrainSize]();
    world._course._heights[10 * kTerrainSize + 10] = 57;  // world height 5 at (10, 10)
    for (int i = 0; i < kItemCount; ++i) {
        world._billboardX[i] = 10;
        world._billboardZ[i] = 10;
    }
    world.BuildBillboardList();
    g_itemFrame = 0;

    // Looking toward -z from (10, 0, 15) through an orthographic view 16 units square:
    // 4 pixels a unit, the view's centre at pixel (32, 32).
    OffscreenTarget target(64, 64);
    ASSERT_TRUE(target.Complete());
    ClearToOrthoView(64, 8.0);
    glTranslatef(-10.0f, 0.0f, -15.0f);
    DrawItems(world);

    // The square spans 1 unit either side of (10, 5 + 2): x 9 to 11, y 6 to 8.
    const std::vector<unsigned char> pixels = target.Read();
    int top = -1, bottom = 64, left = 64, right = -1;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            if (pixels[(static_cast<size_t>(y) * 64 + x) * 4] == 255) {
                top = std::max(top, y);
                bottom = std::min(bottom, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    EXPECT_EQ(56, bottom);
    EXPECT_EQ(63, top);
    EXPECT_EQ(28, left);
    EXPECT_EQ(35, right);
}

// ---- Whole frames ----

TEST_F(RaceFrame, FogValuesAreSetAfterTheFrame) {
    game->Display();
    EXPECT_EQ(GL_LINEAR, GetInteger(GL_FOG_MODE));
    GLfloat color[4] = {};
    glGetFloatv(GL_FOG_COLOR, color);
    EXPECT_FLOAT_EQ(1.0f, color[0]);
    EXPECT_FLOAT_EQ(0.8f, color[1]);
    EXPECT_FLOAT_EQ(0.5f, color[2]);
    EXPECT_FLOAT_EQ(0.0f, color[3]);
    GLfloat value = 0.0f;
    glGetFloatv(GL_FOG_DENSITY, &value);
    EXPECT_FLOAT_EQ(0.15f, value);
    glGetFloatv(GL_FOG_START, &value);
    EXPECT_FLOAT_EQ(1.0f, value);
    glGetFloatv(GL_FOG_END, &value);
    EXPECT_FLOAT_EQ(300.0f, value);
    EXPECT_EQ(GL_NICEST, GetInteger(GL_FOG_HINT));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(RaceFrame, FrameLeavesTheMatrixStacksAsItFoundThem) {
    const GLint modelview = GetInteger(GL_MODELVIEW_STACK_DEPTH);
    const GLint projection = GetInteger(GL_PROJECTION_STACK_DEPTH);
    game->Display();
    game->Display();
    EXPECT_EQ(modelview, GetInteger(GL_MODELVIEW_STACK_DEPTH));
    EXPECT_EQ(projection, GetInteger(GL_PROJECTION_STACK_DEPTH));
    EXPECT_EQ(GL_MODELVIEW, GetInteger(GL_MATRIX_MODE));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(RaceFrame, ItemAnimationAdvancesOncePerFrameThroughFortyOneValues) {
    g_itemFrame = 0;
    game->Display();
    EXPECT_EQ(1, g_itemFrame);  // once per frame, not once per half
    for (int frame = 2; frame <= 40; ++frame) {
        game->Display();
    }
    EXPECT_EQ(40, g_itemFrame);
    game->Display();
    EXPECT_EQ(0, g_itemFrame);
}

TEST_F(RaceFrame, ItemTakenInTheTopHalfHasMovedForTheOtherRacerToo) {
    // Both racers where item 0 stands within reach; racer 1 takes it first.
    StartRacerAt(game->_camera1, 43.9f, 33.0f);
    StartRacerAt(game->_camera2, 43.9f, 33.0f);
    ResetRandom();
    game->_world.PlaceItems();

    game->Display();
    EXPECT_EQ(31, game->_world._billboardX[0]);
    EXPECT_EQ(3, game->_world._billboardZ[0]);
    EXPECT_EQ(StateAfter(42), g_randomState);  // one re-placement only

    // A racer one unit further does not reach it.
    StartRacerAt(game->_camera1, 34.0f, 3.0f);
    StartRacerAt(game->_camera2, 150.0f, 150.0f);
    game->Display();
    EXPECT_EQ(31, game->_world._billboardX[0]);
    EXPECT_EQ(StateAfter(42), g_randomState);
}

// The chime on the taker's side: racer 1's on the left, racer 2's on the right.
TEST_F(RaceFrame, EachRacerTakesTheItemItReachesAndFloatsTwoAboveTheGround) {
    mixer->SetClip(SoundClip::Pickup, std::vector<float>(512, 0.5f));
    for (int racer : {1, 2}) {
        Camera& taker = game->_racers[racer - 1].camera;
        StartRacerAt(game->_camera1, 150.0f, 150.0f);
        StartRacerAt(game->_camera2, 150.0f, 150.0f);
        StartRacerAt(taker, 43.9f, 33.0f);  // item 0 stands at (41, 35)
        ResetRandom();
        game->_world.PlaceItems();

        game->Display();
        EXPECT_EQ(31, game->_world._billboardX[0]) << "racer " << racer;
        EXPECT_EQ(3, game->_world._billboardZ[0]) << "racer " << racer;
        for (const Camera* camera : {&game->_camera1, &game->_camera2}) {
            EXPECT_EQ(2.0f, camera->_baseHeight) << "racer " << racer;  // the ground is 0
            EXPECT_NEAR(2.0f, camera->_eye.y, 0.2f) << "racer " << racer;
        }
        const StereoTrack chime = Heard(512);
        EXPECT_GT(Rms(racer == 1 ? chime.left : chime.right, 0, 512),
                  1.5 * Rms(racer == 1 ? chime.right : chime.left, 0, 512)) << "racer " << racer;
    }
}

// Racer 2 alone at full speed: its engine (a steady clip: heard as its loudness) swells; racer
// 1's, standing, stays as it was.
TEST_F(RaceFrame, EachEngineFollowsItsOwnRacersSpeed) {
    for (int racer : {1, 2}) {
        mixer->SetClip(SoundClip::Engine1, std::vector<float>(racer == 1 ? 64 : 0, 0.5f));
        mixer->SetClip(SoundClip::Engine2, std::vector<float>(racer == 2 ? 64 : 0, 0.5f));
        game->_camera2._speed = 0.0f;
        game->Display();
        const double standing = Rms(Heard(Sound::kRate).left, Sound::kRate - 512, 512);
        game->_camera2._speed = kTopSpeed;
        game->Display();
        const double heard = Rms(Heard(Sound::kRate).left, Sound::kRate - 512, 512);
        EXPECT_NEAR(racer == 1 ? 1.0 : 2.3, heard / standing, 0.2) << "racer " << racer;
    }
}

TEST_F(RaceFrame, PadsDriveTheRacersThroughTheIdleStepAsOneWithTheKeys) {
    ASSERT_TRUE(game->_gamepads.Start());
    SDL_Joystick* pad1 = PlugPad("Pad One");
    SDL_JoystickSetVirtualButton(PlugPad("Pad Two"), SDL_CONTROLLER_BUTTON_A, 1);  // racer 2
    // Racer 1: w, then w and A, A alone, w alone: one press held all along. Frames a second
    // apart, without the frame-rate cap: one tick each.
    game->_pacer = FramePacer(0);
    const int w[] = {1, 1, 0, 1}, a[] = {0, 1, 1, 0};
    for (int frame = 0; frame < 4; ++frame) {
        game->_keys['w'] = w[frame];
        SDL_JoystickSetVirtualButton(pad1, SDL_CONTROLLER_BUTTON_A, a[frame]);
        clock.Set(500 + 1000 * frame);
        game->Idle();
        game->Display();
    }
    EXPECT_FLOAT_EQ(0.015f, game->_camera1._speed);  // 0.005 x 0.5 x (0 + 1 + 2 + 3) s
    EXPECT_FLOAT_EQ(0.015f, game->_camera2._speed);
    EXPECT_GT(150.0f, game->_camera2._eye.z);  // toward -z
}

// Heard as a knock on the stopped racer's side, louder the faster it went.
TEST_F(RaceFrame, RacersOnAWallAreStoppedInTheirOwnHalf) {
    ReadGoodCourse(game->_world._course, "4 4  0000 0100 0000 0000");
    mixer->SetClip(SoundClip::Wall, std::vector<float>(512, 0.5f));
    double knock[2] = {};
    for (float speed : {0.05f, 0.3f}) {
        StartRacerAt(game->_camera1, 100.0f, 100.0f);
        game->_camera1._speed = speed;
        game->_camera2._speed = speed;
        game->Display();
        EXPECT_EQ(0.0f, game->_camera1._speed);  // (100, 100) lies on the wall cell
        EXPECT_EQ(0.0f, game->_camera1._acceleration);
        EXPECT_EQ(speed, game->_camera2._speed);
        const StereoTrack heard = Heard(512);
        knock[speed > 0.1f] = Rms(heard.left, 0, 512);
        EXPECT_GT(knock[speed > 0.1f], 1.5 * Rms(heard.right, 0, 512));
    }
    EXPECT_GT(knock[1], 1.5 * knock[0]) << "no louder when faster";
}

TEST_F(RaceFrame, EachHalfCullsTheMarkersWithItsOwnRacersView) {
    // Racer 1 looks along the ring toward +z, racer 2 toward -z from beside it: most of what
    // racer 1 sees lies behind racer 2. Racer 2's half is drawn last and leaves its markers
    // listed: none more than a block (16) and the slack (20) behind racer 2's eye.
    Course& course = game->_world._course;
    ReadGoodCourse(course, RingCourse());
    course.BuildMarkers();
    course._heights = new unsigned char[kTerrainSize * kTerrainSize]();
    StartRacerAt(game->_camera1, 48.0f, 40.0f);
    game->_camera1._heading = static_cast<float>(M_PI);
    StartRacerAt(game->_camera2, 200.0f, 40.0f);
    game->Display();
    ASSERT_GT(course._visibleCountX, 0);
    for (int i = 0; i < course._visibleCountX; ++i) {
        EXPECT_LT(course._visibleY[i] * course._cellSize, 40.0f + 16.0f + 20.0f);
    }
}

TEST_F(RaceFrame, OddWindowHeightLeavesTheTopRowUndrawn) {
    // An off-screen target exactly as large as the window the game believes in.
    const int width = game->_width;
    const int height = game->_height;
    OffscreenTarget target(width, height);
    ASSERT_TRUE(target.Complete());

    // A sky that fills whatever viewport it is drawn in with green.
    GLuint sky = glGenLists(1);
    glNewList(sky, GL_COMPILE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(0.0f, 1.0f, 0.0f);
    glBegin(GL_QUADS);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, 0.0f);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glVertex3f(-1.0f, 1.0f, 0.0f);
    glEnd();
    glColor3f(1.0f, 1.0f, 1.0f);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEndList();
    game->_world._skybox._displayList = sky;

    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    game->Display();

    const std::vector<unsigned char> pixels = target.Read();
    auto isClearColour = [&](int x, int y) {
        const unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
        return p[0] == 255 && p[1] == 0 && p[2] == 0;
    };
    for (int x = 0; x < width; ++x) {
        EXPECT_TRUE(isClearColour(x, height - 1)) << "top row, x " << x;
        for (int y = 0; y < height - 1; ++y) {
            ASSERT_FALSE(isClearColour(x, y)) << "x " << x << ", y " << y;
        }
    }
}

// Feedback mode hands back what a frame draws, in order: the sky's, the race poles' and the
// items' lists mark themselves (s, c, i), the heads-up line comes back as bitmaps (h), the
// terrain as polygons (c). The rules: sky, course, hud, items on top; sky, hud, course, items below.
TEST_F(RaceFrame, EachHalfDrawsSkyCourseHudAndItemsInTheOrderOfTheRules) {
    World& world = game->_world;
    world._course._heights = new unsigned char[kTerrainSize * kTerrainSize]();
    std::strcpy(g_hudText, "FPS");
    for (auto [list, mark] : {std::pair{&world._skybox._displayList, 's'},
                              {&world._course._poleList, 'c'}, {&world._billboardList, 'i'}}) {
        *list = glGenLists(1);
        glNewList(*list, GL_COMPILE);
        glPassThrough(mark);
        glEndList();
    }
    std::vector<GLfloat> fed(1 << 23);
    glFeedbackBuffer(static_cast<GLsizei>(fed.size()), GL_3D, fed.data());
    glRenderMode(GL_FEEDBACK);
    game->Display();
    const GLint size = glRenderMode(GL_RENDER);
    g_hudText[0] = '\0';
    std::string drawn = " ";  // a letter for each run of the same drawing
    for (GLint i = 0; i < size;) {  // a vertex is 3 values; a polygon gives its count first
        const bool mark = fed[i] == GL_PASS_THROUGH_TOKEN, polygon = fed[i] == GL_POLYGON_TOKEN;
        const char seen = mark ? static_cast<char>(fed[i + 1]) : polygon ? 'c' : 'h';
        i += mark ? 2 : polygon ? 2 + 3 * static_cast<GLint>(fed[i + 1]) : 4;
        drawn += drawn.back() == seen ? "" : std::string(1, seen);
    }
    EXPECT_EQ(" schishci", drawn);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}
