#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <GL/gl.h>

#include "ConsoleCapture.h"
#include "GLContext.h"
#include "ItemPlaces.h"
#include "TempDir.h"
#include "scene/Random.h"
#include "scene/World.h"

// The items as drawn: facing the viewer whatever the view, with the image of the frame.
namespace {
void ModelView(GLfloat m[16]) {
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
}

// A view with translation, rotation and uneven scale.
void LoadTwistedView() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(5.0f, -6.0f, -7.0f);
    glRotatef(30.0f, 1.0f, 2.0f, 3.0f);
    glScalef(2.0f, 3.0f, 4.0f);
}

// Draws one item into a 64 x 64 target under an orthographic view 8 units wide and counts
// the pixels it covered.
int CoveredPixels(World& world, void (*view)()) {
    OffscreenTarget target(64, 64);
    ClearToOrthoView(64, 4.0);
    view();
    world.DrawBillboard(0.0f, 0.0f, -5.0f, 0);

    const std::vector<unsigned char> pixels = target.Read();
    int covered = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        covered += pixels[i] == 255 ? 1 : 0;
    }
    return covered;
}
}  // namespace

TEST(ItemDraw, FacingStepKeepsOnlyTheTranslationOfTheView) {
    EnsureGLContext();
    World world;
    LoadTwistedView();
    GLfloat before[16];
    ModelView(before);
    const GLint depth = GetInteger(GL_MODELVIEW_STACK_DEPTH);

    world.BeginBillboard();
    GLfloat facing[16];
    ModelView(facing);
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(column == row ? 1.0f : 0.0f, facing[4 * column + row])
                << "column " << column << ", row " << row;
        }
    }
    for (int i : {3, 7, 11, 12, 13, 14, 15}) {
        EXPECT_EQ(before[i], facing[i]) << "element " << i;
    }
    EXPECT_EQ(depth + 1, GetInteger(GL_MODELVIEW_STACK_DEPTH));

    world.EndBillboard();
    GLfloat after[16];
    ModelView(after);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(before[i], after[i]) << "element " << i;
    }
    EXPECT_EQ(depth, GetInteger(GL_MODELVIEW_STACK_DEPTH));
}

TEST(ItemDraw, EachTenFramesShowTheNextImageAndFrameFortyTheLast) {
    EnsureGLContext();
    World world;
    GLuint ids[kItemImages];
    glGenTextures(kItemImages, ids);
    for (int i = 0; i < kItemImages; ++i) {
        world._billboardTextures[i]._textureId = ids[i];
    }
    world.BuildBillboardList();
    const struct {
        int frame;
        int image;
    } cases[] = {{0, 0}, {9, 0}, {10, 1}, {25, 2}, {39, 3}, {40, 4}};
    for (const auto& c : cases) {
        world.DrawBillboard(10.0f, 2.0f, 10.0f, c.frame);
        EXPECT_EQ(ids[c.image], BoundTexture()) << "frame " << c.frame;
    }
}

TEST(ItemDraw, ItemKeepsItsSizeWhateverTheViewTurnsOrScales) {
    EnsureGLContext();
    World world;
    world.BuildBillboardList();
    // The square is a front face under the game's culling state.
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);

    // A 2 x 2 square in an 8-unit view of 64 pixels: 16 x 16 pixels.
    EXPECT_EQ(256, CoveredPixels(world, [] {}));
    EXPECT_EQ(256, CoveredPixels(world, [] { glScalef(0.5f, 0.5f, 0.5f); }));
    EXPECT_EQ(256, CoveredPixels(world, [] { glScalef(2.0f, 0.5f, 1.0f); }));
    EXPECT_EQ(256, CoveredPixels(world, [] { glRotatef(30.0f, 0.0f, 0.0f, 1.0f); }));
    // Turned round: the square would show its back, which is culled.
    EXPECT_EQ(256, CoveredPixels(world, [] {
                  glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
                  glTranslatef(0.0f, 0.0f, 10.0f);
              }));
}

TEST(ItemDraw, TransparentTexelsLeaveTheBackgroundShowing) {
    EnsureGLContext();
    World world;
    world.BuildBillboardList();
    // Left half see-through white, right half opaque white, over the black background.
    const unsigned char texels[2 * 4] = {255, 255, 255, 0, 255, 255, 255, 255};
    glGenTextures(1, &world._billboardTextures[0]._textureId);
    glBindTexture(GL_TEXTURE_2D, world._billboardTextures[0]._textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    EXPECT_EQ(128, CoveredPixels(world, [] {}));
}

TEST(ItemDraw, StartUpLoadsTheImagesBuildsTheSquareAndPlacesTheItems) {
    EnsureGLContext();
    TempDir folder;
    for (int i = 0; i < kItemImages; ++i) {
        folder.Write("terrain_data/bb" + std::to_string(i) + ".raw",
                     std::string(kRawImageBytes, static_cast<char>(40 * i)));
    }
    folder.Enter();
    World world;
    ResetRandom();
    {
        ConsoleCapture quiet;
        world.InitBillboards();
    }

    for (int i = 0; i < kItemImages; ++i) {
        const GLuint id = world._billboardTextures[i].GetId();
        ASSERT_NE(0u, id) << "image " << i;
        glBindTexture(GL_TEXTURE_2D, id);
        GLint wrap = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
        EXPECT_EQ(GL_CLAMP_TO_EDGE, wrap) << "image " << i;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
        EXPECT_EQ(GL_CLAMP_TO_EDGE, wrap) << "image " << i;
    }
    EXPECT_TRUE(glIsList(world._billboardList));
    ExpectStartUpPlaces(world);
    EXPECT_EQ(3, world._pickupRadius);
}

