// Terrain start-up up to the shader programs, without an OpenGL context: the heights load,
// and the missing GLSL support stops it with one message box.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ConsoleCapture.h"
#include "RecordedBoxes.h"
#include "TempDir.h"
#include "terrain/Course.h"
#include "platform/MessageBox.h"
#include "terrain/Shaders.h"

namespace {
class TerrainSetup : public ::testing::Test {
protected:
    void SetUp() override {
        g_boxes.clear();
        SetMessageBoxForTesting(RecordBox);
        dir.Enter();
    }
    void TearDown() override { SetMessageBoxForTesting(nullptr); }

    TempDir dir;
};
}  // namespace

TEST_F(TerrainSetup, MissingHeightFileStopsBeforeAnythingElse) {
    Course course;
    ConsoleCapture console;
    EXPECT_FALSE(course.InitTerrain("terrain_data/terrain1.raw", 256, 256));
    EXPECT_EQ("", console.Text());
    EXPECT_EQ(nullptr, course._heights);
    EXPECT_EQ(nullptr, g_shaderContext);
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(TerrainSetup, EmptyHeightFileCountsAsMissing) {
    dir.Write("terrain_data/terrain1.raw", "");
    Course course;
    ConsoleCapture console;
    EXPECT_FALSE(course.InitTerrain("terrain_data/terrain1.raw", 256, 256));
    EXPECT_EQ("", console.Text());
    EXPECT_EQ(nullptr, course._heights);
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(TerrainSetup, ShortFileLeavesTheRestOfTheFieldLevelAtZero) {
    dir.Write("terrain_data/terrain1.raw", std::string(300, '\x50'));
    Course course;
    ConsoleCapture console;
    EXPECT_FALSE(course.InitTerrain("terrain_data/terrain1.raw", 256, 256));
    EXPECT_EQ("Loaded terrain: terrain_data/terrain1.raw\n", WithoutAssetLines(console.Text()));
    ASSERT_NE(nullptr, course._heights);
    EXPECT_EQ(0x50, Course::GetHeight(course._heights, 43, 1));   // byte 299
    EXPECT_EQ(0, Course::GetHeight(course._heights, 44, 1));      // byte 300
    EXPECT_EQ(0, Course::GetHeight(course._heights, 255, 255));
    // No context here, so no GLSL profile: one box, and the field stays loaded.
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Invalid profile type", g_boxes[0].first);
    EXPECT_EQ("Error", g_boxes[0].second);
    EXPECT_NE(nullptr, g_shaderContext);
    EXPECT_EQ(CG_PROFILE_UNKNOWN, g_vertexProfile);
    EXPECT_EQ(nullptr, g_waveProgram);
}

// The lookups and the pass always read 256 x 256 samples, whatever size the caller names.
TEST_F(TerrainSetup, SmallerSizeStillGivesAWholeField) {
    dir.Write("terrain_data/small.raw", std::string(16 * 16, '\x20'));
    Course course;
    ConsoleCapture console;
    course.InitTerrain("terrain_data/small.raw", 16, 16);
    ASSERT_NE(nullptr, course._heights);
    EXPECT_EQ(0x20, Course::GetHeight(course._heights, 255, 0));   // the field's stride stays 256
    EXPECT_EQ(0, Course::GetHeight(course._heights, 0, 1));
    EXPECT_EQ(0, Course::GetHeight(course._heights, 255, 255));
    EXPECT_FALSE(course.InitTerrain("terrain_data/small.raw", -16, 16));
    EXPECT_EQ(nullptr, course._heights);
}
