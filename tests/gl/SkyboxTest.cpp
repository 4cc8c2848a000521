#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <GL/gl.h>
#include <GL/glu.h>

#include "../unit/TiffTestFiles.h"
#include "ConsoleCapture.h"
#include "GLContext.h"
#include "TempDir.h"
#include "scene/Skybox.h"

namespace {
const char* const kFaces[6] = {"front.tif", "back.tif", "right.tif",
                               "left.tif",  "up.tif",   "down.tif"};

// A distinct colour for each solid face (the front one is drawn from FrontQuadrants).
const uint8_t kFaceColours[6][3] = {{200, 0, 0},   {0, 200, 0},   {0, 0, 200},
                                    {200, 200, 0}, {0, 200, 200}, {200, 0, 200}};

// An 8 x 8 front image, top row first: red top left, green top right, blue bottom left,
// white bottom right (4 x 4 pixels each, so that filtering inside a quadrant keeps its colour).
std::vector<uint8_t> FrontQuadrants() {
    std::vector<uint8_t> rgb;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool top = y < 4;
            const bool left = x < 4;
            if (top) {
                rgb.insert(rgb.end(), {uint8_t(left ? 255 : 0), uint8_t(left ? 0 : 255), 0});
            } else {
                rgb.insert(rgb.end(), {uint8_t(left ? 0 : 255), uint8_t(left ? 0 : 255), 255});
            }
        }
    }
    return rgb;
}

void WriteSkyDirectory(const TempDir& dir, const std::string& folder) {
    dir.Write(folder + "/readme.txt", "sky images\n"); // makes the folder
    for (int i = 1; i < 6; ++i) {
        ASSERT_TRUE(WriteSolidTiff(dir.File(folder + "/" + kFaces[i]), 4, 2, kFaceColours[i][0],
                                   kFaceColours[i][1], kFaceColours[i][2]));
    }
    ASSERT_TRUE(WriteTiff(dir.File(folder + "/front.tif"), 8, 8, 3, FrontQuadrants()));
}

std::string LoadLines(const std::string& path, const char* result) {
    return "loading TIFF texture: " + path + "\n" + result + "\n";
}

// Draws the sky box from its centre with a 90-degree square view turned by (angle, axis),
// culling as the world does, and reads the colour at (fx, fy) of the view (0..1, from the
// lower left).
std::vector<int> SkyColourAt(const Skybox& sky, float angle, float ax, float ay, float fx,
                             float fy) {
    const int size = 200;
    glViewport(0, 0, size, size);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, 1.0, 0.1, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(angle, ax, ay, 0.0f);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glCallList(sky._displayList);
    glFinish();
    unsigned char rgba[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(static_cast<GLint>(fx * size), static_cast<GLint>(fy * size), 1, 1, GL_RGBA,
                 GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

std::vector<int> Colour(const uint8_t* c) {
    return {c[0], c[1], c[2]};
}
}  // namespace

TEST(Skybox, LoadsAllSixFacesThenBuildsTheList) {
    EnsureGLContext();
    TempDir dir;
    WriteSkyDirectory(dir, "sky");
    const std::string folder = dir.File("sky");
    Skybox sky;
    ConsoleCapture capture;
    EXPECT_TRUE(sky.Generate(folder.c_str()));
    std::string expected;
    for (int i = 0; i < 6; ++i) {
        expected += LoadLines(folder + "/" + kFaces[i],
                              i == 0 ? "Texture map (8 x 8) successfully loaded."
                                     : "Texture map (4 x 2) successfully loaded.");
    }
    expected += "Generating Skybox...done!\n";
    EXPECT_EQ(expected, capture.Text());
    EXPECT_TRUE(glIsList(sky._displayList));
    for (const Texture& face : sky._faces) {
        ASSERT_NE(0u, face.GetId());
        glBindTexture(GL_TEXTURE_2D, face.GetId());
        GLint wrapS = 0;
        GLint wrapT = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
        EXPECT_EQ(GL_CLAMP_TO_EDGE, wrapS);
        EXPECT_EQ(GL_CLAMP_TO_EDGE, wrapT);
    }
}

// The sky box of the six test faces, generated quietly.
class SkyboxSeen : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGLContext();
        WriteSkyDirectory(dir, "sky");
        ConsoleCapture quiet;
        sky.Generate(dir.File("sky").c_str());
    }

    TempDir dir;
    Skybox sky;
};

// Looking out from the centre, each direction shows its own image, none culled away.
TEST_F(SkyboxSeen, EachDirectionShowsItsFace) {
    const struct {
        const char* direction;
        float angle, ax, ay;
        int face;
    } views[] = {
        {"+z", 180, 0, 1, 1}, {"-x", -90, 0, 1, 2}, {"+x", 90, 0, 1, 3},
        {"+y", -90, 1, 0, 4}, {"-y", 90, 1, 0, 5},
    };
    for (const auto& view : views) {
        SCOPED_TRACE(view.direction);
        EXPECT_EQ(Colour(kFaceColours[view.face]),
                  SkyColourAt(sky, view.angle, view.ax, view.ay, 0.5f, 0.5f));
    }
}

// Seen from inside, the front image stands upright and unmirrored.
TEST_F(SkyboxSeen, FrontImageIsUprightAndUnmirrored) {
    EXPECT_EQ((std::vector<int>{255, 0, 0}), SkyColourAt(sky, 0, 0, 1, 0.25f, 0.75f));
    EXPECT_EQ((std::vector<int>{0, 255, 0}), SkyColourAt(sky, 0, 0, 1, 0.75f, 0.75f));
    EXPECT_EQ((std::vector<int>{0, 0, 255}), SkyColourAt(sky, 0, 0, 1, 0.25f, 0.25f));
    EXPECT_EQ((std::vector<int>{255, 255, 255}), SkyColourAt(sky, 0, 0, 1, 0.75f, 0.25f));
}

TEST(Skybox, MissingDirectoryStillBuildsTheList) {
    EnsureGLContext();
    TempDir dir;
    const std::string folder = dir.File("no-such-sky");
    Skybox sky;
    ConsoleCapture capture;
    EXPECT_TRUE(sky.Generate(folder.c_str()));
    std::string expected;
    for (const char* face : kFaces) {
        const std::string path = folder + "/" + face;
        expected += LoadLines(path, ("Error opening: " + path).c_str());
    }
    expected += "Generating Skybox...done!\n";
    EXPECT_EQ(expected, capture.Text());
    EXPECT_TRUE(glIsList(sky._displayList));
    for (const Texture& face : sky._faces) {
        EXPECT_EQ(0u, face.GetId());
    }
}

TEST(Skybox, TrailingSlashGivesADoubledSlashThatStillLoads) {
    EnsureGLContext();
    TempDir dir;
    WriteSkyDirectory(dir, "sky");
    const std::string folder = dir.File("sky") + "/";
    Skybox sky;
    ConsoleCapture capture;
    EXPECT_TRUE(sky.Generate(folder.c_str()));
    const std::string console = capture.Text();
    EXPECT_EQ(0u, console.find("loading TIFF texture: " + folder +
                               "/front.tif\n"
                               "Texture map (8 x 8) successfully loaded.\n"));
    EXPECT_NE(std::string::npos, console.find("//down.tif\nTexture map (4 x 2)"));
    for (const Texture& face : sky._faces) {
        EXPECT_NE(0u, face.GetId());
    }
}
