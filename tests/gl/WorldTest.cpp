#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include <GL/gl.h>
#include <GL/glut.h>
#include <GL/glx.h>

#include "ConsoleCapture.h"
#include "GLContext.h"
#include "ItemPlaces.h"
#include "TempDir.h"
#include "app/FrameSteps.h"
#include "platform/GLExtensions.h"
#include "scene/Random.h"
#include "scene/World.h"

namespace {
const char* const kFaces[6] = {"front.tif", "back.tif", "right.tif",
                               "left.tif",  "up.tif",   "down.tif"};

std::string MissingSkyLines(const std::string& folder) {
    std::string lines;
    for (const char* face : kFaces) {
        const std::string path = folder + "/" + face;
        lines += "loading TIFF texture: " + path + "\nError opening: " + path + "\n";
    }
    return lines + "Generating Skybox...done!\n";
}

std::vector<float> Floats(GLenum name, int count) {
    std::vector<float> values(16, -1.0f);
    glGetFloatv(name, values.data());
    values.resize(static_cast<size_t>(count));
    return values;
}

std::vector<float> Light(GLenum light, GLenum name) {
    std::vector<float> values(4, -1.0f);
    glGetLightfv(light, name, values.data());
    return values;
}

// A light's place (x, y, z), its ambient and diffuse colours, and no specular colour.
void ExpectLight(GLenum light, const std::vector<float>& place, const std::vector<float>& ambient,
                 const std::vector<float>& diffuse) {
    const std::vector<float> position = Light(light, GL_POSITION);
    EXPECT_EQ(place, std::vector<float>(position.begin(), position.begin() + 3));
    EXPECT_EQ(ambient, Light(light, GL_AMBIENT));
    EXPECT_EQ(diffuse, Light(light, GL_DIFFUSE));
    EXPECT_EQ((std::vector<float>{0, 0, 0, 1}), Light(light, GL_SPECULAR));
}

// A working directory with a small course and the billboard images, none for the terrain.
struct Level {
    TempDir dir;
    Level() {
        dir.Write("course.txt", "2 3 012 345\n");
        dir.Enter();
    }
};

// The driver's own lookup, short of one entry point.
void* LookupWithout(const char* missing, const char* name) {
    if (std::string(name) == missing) {
        return nullptr;
    }
    return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}
}  // namespace

// The sky box comes first, then the course, then the world's own error; the rest of the start-up
// runs all the same and its lines follow.
TEST(World, MissingCourseFileIsReportedAfterTheSkyBox) {
    EnsureGLContext();
    TempDir dir;
    dir.Enter();
    World world;
    ConsoleCapture capture;
    EXPECT_FALSE(world.Init("sky", "missing.course"));
    const std::string console = capture.Text();
    const std::string head = MissingSkyLines("sky") + "Reading course file 'missing.course'...\n"
                                                      "Course::Init() - ERROR opening file.\n"
                                                      "World: ERROR initializing course\n";
    ASSERT_EQ(head, console.substr(0, head.size()));
    const size_t terrain = console.find("World::Init - ERROR initializing terrain data\n");
    ASSERT_NE(std::string::npos, terrain);
    const std::string images = "Texture file not found: terrain_data/bb0.raw...Quitting."
                               "Texture file not found: terrain_data/bb1.raw...Quitting."
                               "Texture file not found: terrain_data/bb2.raw...Quitting."
                               "Texture file not found: terrain_data/bb3.raw...Quitting."
                               "Texture file not found: terrain_data/bb4.raw...Quitting.";
    ASSERT_GE(console.size(), images.size());
    EXPECT_EQ(images, console.substr(console.size() - images.size()));
    EXPECT_LT(terrain, console.size() - images.size());
    // The render state is set up all the same.
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_EQ(3, world._pickupRadius);
}

TEST(World, CourseReadGivesTrueEvenWithoutTerrain) {
    EnsureGLContext();
    Level level;
    World world;
    ConsoleCapture capture;
    EXPECT_TRUE(world.Init("sky", "course.txt"));
    const std::string console = capture.Text();
    EXPECT_NE(std::string::npos, console.find("2 3\n012\n345\nSUCCESS!\n"));
    EXPECT_EQ(std::string::npos, console.find("World: ERROR"));
    EXPECT_NE(std::string::npos, console.find("World::Init - ERROR initializing terrain data\n"));
}

TEST(World, RenderStateAfterInit) {
    EnsureGLContext();
    // Earlier tests of the process moved the view and drew with fog: back to a new context's.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFogi(GL_FOG_MODE, GL_EXP);
    Level level;
    World world;
    {
        ConsoleCapture quiet;
        world.Init("sky", "course.txt");
    }
    EXPECT_EQ(GL_SMOOTH, GetInteger(GL_SHADE_MODEL));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint polygonMode[2] = {-1, -1};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(GL_FILL, polygonMode[0]);
    EXPECT_EQ(GL_NICEST, GetInteger(GL_PERSPECTIVE_CORRECTION_HINT));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(GL_CCW, GetInteger(GL_FRONT_FACE));
    EXPECT_EQ(GL_BACK, GetInteger(GL_CULL_FACE_MODE));
    EXPECT_EQ(std::vector<float>{1.0f}, Floats(GL_DEPTH_CLEAR_VALUE, 1));
    EXPECT_EQ(GL_LEQUAL, GetInteger(GL_DEPTH_FUNC));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    // Both lights are set, neither is switched on.
    ExpectLight(GL_LIGHT0, {128, 0, 128}, {0.8f, 0.8f, 0.8f, 1.0f}, {0.8f, 0.8f, 0.8f, 1.0f});
    ExpectLight(GL_LIGHT1, {10, 10, 0}, {0.2f, 0.2f, 0.2f, 1.0f}, {0.8f, 0.8f, 0.8f, 1.0f});
    EXPECT_EQ((std::vector<float>{128, 0, 128}),
              std::vector<float>(world._lightPosition, world._lightPosition + 3));
    // Init() only stores the fog values: the first frame still has the default mode, and each
    // frame's fog step applies them.
    EXPECT_EQ(GL_EXP, GetInteger(GL_FOG_MODE));
    ApplyFog(world);
    EXPECT_EQ(GL_LINEAR, GetInteger(GL_FOG_MODE));
    EXPECT_EQ((std::vector<float>{1.0f, 0.8f, 0.5f, 0.0f}), Floats(GL_FOG_COLOR, 4));
    EXPECT_EQ(std::vector<float>{1.0f}, Floats(GL_FOG_START, 1));
    EXPECT_EQ(std::vector<float>{300.0f}, Floats(GL_FOG_END, 1));
    EXPECT_NE(nullptr, g_glActiveTextureARB);
    EXPECT_NE(nullptr, g_glMultiTexCoord2fARB);
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
}

TEST(World, OverlayValuesItemsAndPickupRadius) {
    EnsureGLContext();
    Level level;
    ResetRandom();
    World world;
    {
        ConsoleCapture quiet;
        world.Init("sky", "course.txt");
    }
    EXPECT_EQ(640, world._hudWidth);
    EXPECT_EQ(480, world._hudHeight);
    EXPECT_EQ(GLUT_BITMAP_9_BY_15, world._hudFont);
    EXPECT_EQ(0, world._hudLastUpdate);
    EXPECT_EQ(0, world._hudFrames);
    EXPECT_EQ(3, world._pickupRadius);
    ExpectStartUpPlaces(world);
    for (int i = 0; i < kItemCount; ++i) {
        EXPECT_GE(world._billboardX[i], 0);
        EXPECT_LT(world._billboardX[i], 256);
        EXPECT_GE(world._billboardZ[i], 0);
        EXPECT_LT(world._billboardZ[i], 256);
    }
}

TEST(World, ItemImagesAreUploadedAndAMissingOneKeepsTextureZero) {
    EnsureGLContext();
    Level level;
    for (int i : {0, 1, 3, 4}) {
        level.dir.Write("terrain_data/bb" + std::to_string(i) + ".raw",
                        std::string(kRawImageBytes, static_cast<char>(i)));
    }
    World world;
    ConsoleCapture capture;
    world.Init("sky", "course.txt");
    EXPECT_NE(std::string::npos,
              capture.Text().find("Texture file not found: terrain_data/bb2.raw...Quitting."));
    EXPECT_EQ(0u, world._billboardTextures[2].GetId());
    for (int i : {0, 1, 3, 4}) {
        SCOPED_TRACE(i);
        ASSERT_NE(0u, world._billboardTextures[i].GetId());
        glBindTexture(GL_TEXTURE_2D, world._billboardTextures[i].GetId());
        GLint value = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
        EXPECT_EQ(128, value);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
        EXPECT_EQ(GL_CLAMP_TO_EDGE, value);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
        EXPECT_EQ(GL_CLAMP_TO_EDGE, value);
        std::string texels(kRawImageBytes, '\0');
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        EXPECT_EQ(static_cast<char>(i), texels[0]);
    }
}

TEST(GLExtensions, LookupFindsTheMultitextureEntryPoints) {
    EnsureGLContext();
    EXPECT_NE(nullptr, GetGLProcAddress("glActiveTextureARB"));
    EXPECT_NE(nullptr, GetGLProcAddress("glMultiTexCoord2fARB"));
    SetGLProcAddressForTesting([](const char*) -> void* { return nullptr; });
    EXPECT_EQ(nullptr, GetGLProcAddress("glActiveTextureARB"));
    SetGLProcAddressForTesting(nullptr);
    EXPECT_NE(nullptr, GetGLProcAddress("glActiveTextureARB"));
}

// A driver without multitexturing ends the game with a failure status after the sky box and
// course lines; the message has no line end. The console is sent to standard error here so
// that the exit check can read it.
TEST(WorldDeathTest, MissingMultitextureEntryPointEndsWithStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const char* missing : {"glActiveTextureARB", "glMultiTexCoord2fARB"}) {
        SCOPED_TRACE(missing);
        EXPECT_EXIT(
            {
                EnsureGLContext();
                Level level;
                static const char* s_missing = nullptr;
                s_missing = missing;
                SetGLProcAddressForTesting(
                    [](const char* name) { return LookupWithout(s_missing, name); });
                std::cout.rdbuf(std::cerr.rdbuf());
                World world;
                world.Init("sky", "course.txt");
            },
            ::testing::ExitedWithCode(1),
            "Generating Skybox\\.\\.\\.done!\nReading course file 'course.txt'\\.\\.\\.\n"
            ".*SUCCESS!\nYour current setups does not support multitexturing$");
    }
}
