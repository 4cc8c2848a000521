// The asset generator: deterministic output, and every file the game opens in the size and
// format the game's loaders expect.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "TempDir.h"
#include "TestCourses.h"
#include "ToolRun.h"
#include "course/MarkerRules.h"

namespace {
struct ExpectedTiff {
    const char* file;
    uint32_t size;  // width and height
};

const ExpectedTiff kTiffs[] = {
    {"terrain_data/Terrain_Base.tif", 256},   {"terrain_data/Terrain_Detail.tif", 128},
    {"terrain_data/Post.tif", 64},            {"terrain_data/Rope.tif", 64},
    {"terrain_data/RacePole.tif", 64},        {"skyboxes/day/front.tif", 256},
    {"skyboxes/day/back.tif", 256},           {"skyboxes/day/right.tif", 256},
    {"skyboxes/day/left.tif", 256},           {"skyboxes/day/up.tif", 256},
    {"skyboxes/day/down.tif", 256},           {"skyboxes/sunset/front.tif", 256},
    {"skyboxes/sunset/back.tif", 256},        {"skyboxes/sunset/right.tif", 256},
    {"skyboxes/sunset/left.tif", 256},        {"skyboxes/sunset/up.tif", 256},
    {"skyboxes/sunset/down.tif", 256},
};

const char* const kRawFiles[] = {"terrain_data/terrain1.raw", "terrain_data/CourseQuad.raw",
                                 "terrain_data/bb0.raw",      "terrain_data/bb1.raw",
                                 "terrain_data/bb2.raw",      "terrain_data/bb3.raw",
                                 "terrain_data/bb4.raw"};

class AssetGenerator : public ::testing::Test {
protected:
    void SetUp() override {
        const ToolResult run = GenerateAssets(_out.Path());
        ASSERT_EQ(0, run.exitStatus) << run.output;
    }
    std::string Read(const std::string& file) const { return ReadFileBytes(_out.File(file)); }

    TempDir _out;
};

// The 128 x 128 RGBA raw image pixel (s, t), the file's first row being t = 0.
uint8_t RawAlpha(const std::string& bytes, int s, int t) {
    return static_cast<uint8_t>(bytes[static_cast<size_t>(t * 128 + s) * 4 + 3]);
}
}  // namespace

TEST_F(AssetGenerator, WritesTheSameBytesOnEveryRun) {
    TempDir second;
    const ToolResult run = GenerateAssets(second.Path());
    ASSERT_EQ(0, run.exitStatus) << run.output;
    for (const std::string& file : GeneratedFiles()) {
        const std::string first = Read(file);
        EXPECT_FALSE(first.empty()) << file;
        EXPECT_TRUE(first == ReadFileBytes(second.File(file))) << file << " differs between runs";
    }
}

TEST_F(AssetGenerator, WritesEveryFileTheGameOpens) {
    size_t checked = 0;
    for (const ExpectedTiff& tiff : kTiffs) {
        const DecodedTiff image = DecodeTiff(_out.File(tiff.file));
        EXPECT_EQ(tiff.size, image.width) << tiff.file;
        EXPECT_EQ(tiff.size, image.height) << tiff.file;
        ++checked;
    }
    for (const char* raw : kRawFiles) {
        EXPECT_EQ(65536u, Read(raw).size()) << raw;
        ++checked;
    }
    EXPECT_EQ(GeneratedFiles().size(), checked);
}

TEST_F(AssetGenerator, OpaqueTexturesAndTransparentItemBackgrounds) {
    for (const ExpectedTiff& tiff : kTiffs) {
        const DecodedTiff image = DecodeTiff(_out.File(tiff.file));
        ASSERT_FALSE(image.pixels.empty()) << tiff.file;
        EXPECT_EQ(255, Alpha(image.At(0, 0))) << tiff.file;
        EXPECT_EQ(255, Alpha(image.At(image.width / 2, image.height / 2))) << tiff.file;
    }
    for (int frame = 0; frame < 5; ++frame) {
        const std::string item = Read("terrain_data/bb" + std::to_string(frame) + ".raw");
        ASSERT_EQ(65536u, item.size());
        for (const auto& [s, t] : std::map<int, int>{{0, 0}, {127, 0}, {0, 127}, {127, 127}}) {
            EXPECT_EQ(0, RawAlpha(item, s, t)) << "item frame " << frame << " corner " << s;
        }
        EXPECT_EQ(255, RawAlpha(item, 64, 64)) << "item frame " << frame;
    }
    EXPECT_NE(Read("terrain_data/bb0.raw"), Read("terrain_data/bb1.raw"));
}

TEST_F(AssetGenerator, DetailTextureIsMidGreyOnAverage) {
    const DecodedTiff detail = DecodeTiff(_out.File("terrain_data/Terrain_Detail.tif"));
    ASSERT_FALSE(detail.pixels.empty());
    double sum = 0.0;
    for (uint32_t pixel : detail.pixels) {
        EXPECT_EQ(Red(pixel), Green(pixel));
        EXPECT_EQ(Red(pixel), Blue(pixel));
        sum += Red(pixel);
    }
    EXPECT_NEAR(127.5, sum / detail.pixels.size(), 1.5);
}

// The base texture's bottom row is world z = 0, one texel per world unit. The default course
// is painted as the road up to its rope lines: every texel of a cell a racer can reach is road
// (grey, kerb red or white, start chequer), every texel of a wall cell beside it is grass; the
// chequered start line covers the start cells a racer can reach.
TEST_F(AssetGenerator, BaseTexturePaintsTheRoadUpToTheRopeLines) {
    const DecodedTiff base = DecodeTiff(_out.File("terrain_data/Terrain_Base.tif"));
    ASSERT_EQ(256u, base.height);
    Course course;
    ReadGoodCourse(course, ReadFileBytes(KESTRUN_SOURCE_DIR "/data/courses/default.txt"));
    int chequer = 0;
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y) {
            const bool wall = IsWallCell(course, x, y);
            if (wall && !(!IsWallCell(course, x + 1, y) || !IsWallCell(course, x - 1, y) ||
                          !IsWallCell(course, x, y + 1) || !IsWallCell(course, x, y - 1))) {
                continue;  // far from the road: hills and lakes
            }
            for (uint32_t texel = 0; texel < 16; ++texel) {
                const uint32_t pixel = base.At(4 * x + texel % 4, 4 * y + texel / 4);
                const int r = Red(pixel);
                const int g = Green(pixel);
                const int b = Blue(pixel);
                const bool grey = std::max({r, g, b}) - std::min({r, g, b}) < 25;
                const bool road = grey || (r > 150 && g < 80);
                EXPECT_NE(wall, road) << "cell " << x << "," << y << " rgb " << r << " " << g
                                      << " " << b;
                chequer += course.GetCell(x, y) == '2' && grey && (r < 40 || r > 220);
            }
        }
    }
    EXPECT_EQ(3 * 16, chequer);  // the fourth start cell lies beyond the rope
}

TEST(AssetGeneratorRun, ReportsAnUnreadableCourseAndFails) {
    TempDir out;
    const std::string bad = out.Write("bad.txt", "64 64\n0000\n");
    const ToolResult run = RunTool(KESTRUN_ASSETS_TOOL, {out.File("data"), bad});
    EXPECT_EQ(1, run.exitStatus);
    EXPECT_NE(std::string::npos, run.output.find("Course::Init() - ERROR reading map data: 0,4"))
        << run.output;
    EXPECT_NE(std::string::npos, run.output.find("cannot read course")) << run.output;
}

TEST(AssetGeneratorRun, NeedsAnOutputFolderAndACourse) {
    const ToolResult run = RunTool(KESTRUN_ASSETS_TOOL, {"only-a-folder"});
    EXPECT_EQ(1, run.exitStatus);
    EXPECT_NE(std::string::npos, run.output.find("usage: kestrun-assets")) << run.output;
}
