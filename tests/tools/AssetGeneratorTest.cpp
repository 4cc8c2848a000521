// The asset generator: deterministic output, and every file the game opens in the size and
// format the game's loaders expect.
#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <cstdlib>
#include <map>

#include <SDL.h>

#include "SoundMeasure.h"
#include "TempDir.h"
#include "TestCourses.h"
#include "ToolRun.h"
#include "course/CourseRules.h"
#include "course/Fence.h"
#include "platform/Sound.h"

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
        const ToolResult& run = GeneratedAssets().result;
        ASSERT_EQ(0, run.exitStatus) << run.output;
    }
    std::string Read(const std::string& file) const { return ReadFileBytes(_out.File(file)); }

    const TempDir& _out = GeneratedAssets().out;
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
    // The sounds, read with SDL's reader: mono 16-bit at 44.1 kHz, and what the game's loader
    // takes; the race's sounds below full scale and ending in silence (no clip, no click); an
    // engine loop's end runs on into its start bending no more sharply than anywhere inside it
    // (no click at each turn), and as loud over the last 25 ms as over the first (no pulse).
    for (const char* name :
         {"engine1", "engine2", "pickup", "wall", "countdown", "go", "lap", "finish"}) {
        SDL_AudioSpec wav;
        uint8_t* buffer = nullptr;
        uint32_t bytes = 0;
        const std::string file = _out.File(std::string("sounds/") + name + ".wav");
        ASSERT_TRUE(SDL_LoadWAV(file.c_str(), &wav, &buffer, &bytes)) << SDL_GetError();
        EXPECT_TRUE(wav.freq == 44100 && wav.channels == 1 && wav.format == AUDIO_S16LSB) << file;
        const std::vector<int16_t> x(reinterpret_cast<int16_t*>(buffer),
                                     reinterpret_cast<int16_t*>(buffer) + bytes / 2);
        SDL_FreeWAV(buffer);
        int bend = 0;
        for (size_t i = 2; i < x.size(); ++i)
            bend = std::max(bend, std::abs(x[i] - 2 * x[i - 1] + x[i - 2]));
        EXPECT_GT(*std::max_element(x.begin(), x.end()), 8000) << file << " is hardly heard";
        std::vector<float> loaded;
        std::string error;
        EXPECT_TRUE(LoadSound(file, 48000, &loaded, &error)) << file << ": " << error;
        if (std::string("countdown go lap finish").find(name) != std::string::npos) {
            const auto [low, high] = std::minmax_element(x.begin(), x.end());
            EXPECT_TRUE(*high < 30000 && *low > -30000 && std::abs(x.back()) < 100) << file;
        }
        if (name[0] == 'e') {
            const std::vector<float> f(x.begin(), x.end());
            EXPECT_LE(std::abs(x[1] - 2 * x[0] + x.back()), bend) << file;
            EXPECT_NEAR(1.0, Rms(f, 0, 1102) / Rms(f, f.size() - 1102, 1102), 0.03) << file;
        }
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

// The base texture's bottom row is world z = 0: the chequered start line of the default
// course (cells x 8 to 10 at y 36, 4 units each) must show at world x 32..43, z 144..147,
// and nowhere along the mirrored row z 140..143, nor on cell x 11, which lies beyond the rope.
TEST_F(AssetGenerator, BaseTexturePaintsTheStartLineWhereTheStartCellsLie) {
    const DecodedTiff base = DecodeTiff(_out.File("terrain_data/Terrain_Base.tif"));
    ASSERT_EQ(256u, base.height);
    int black = 0;
    int white = 0;
    for (uint32_t z = 144; z < 148; ++z) {
        for (uint32_t x = 32; x < 48; ++x) {
            const uint8_t r = Red(base.At(x, z));
            black += r < 40 && Green(base.At(x, z)) < 40 ? 1 : 0;
            white += r > 220 && Green(base.At(x, z)) > 220 ? 1 : 0;
        }
    }
    EXPECT_EQ(24, black);
    EXPECT_EQ(24, white);
    for (uint32_t x = 32; x < 48; ++x) {
        EXPECT_GT(Red(base.At(x, 142)), 40) << "no start line below the start cells, x " << x;
    }
}

// The road's colours: asphalt grey with its grain, and the plain colours of the kerb (red and
// white) and of the start line (white and black).
bool IsRoadColour(uint32_t pixel) {
    const int r = Red(pixel), g = Green(pixel), b = Blue(pixel);
    const auto near = [&](int red, int green, int blue) {
        return std::abs(r - red) <= 2 && std::abs(g - green) <= 2 && std::abs(b - blue) <= 2;
    };
    return (r >= 66 && r <= 87 && r >= g && g >= b && r - b <= 8) || near(199, 31, 26) ||
           near(235, 235, 230) || near(237, 237, 237) || near(20, 20, 23);
}

// Each shipped course's own ground shows the road exactly where the game's wall step lets a
// racer drive: on every texel whose centre lies inside the fence, and nowhere else.
TEST(AssetGeneratorRun, EachCoursesRoadEndsWhereTheWallStepStopsARacer) {
    for (const std::string& path : ShippedCourses()) {
        TempDir out;
        const ToolResult run = RunTool(KESTRUN_ASSETS_TOOL, {"--ground", out.Path(), path});
        ASSERT_EQ(0, run.exitStatus) << run.output;
        const DecodedTiff base = DecodeTiff(out.File("terrain_data/Terrain_Base.tif"));
        ASSERT_EQ(256u, base.width);
        CourseData course;
        ReadGoodCourse(course, ReadFileBytes(path));
        const Fence fence = BuildFence(course);
        int wrong = 0;
        for (uint32_t z = 0; z < 256; ++z) {
            for (uint32_t x = 0; x < 256; ++x) {
                const bool free = IsInsideFence(course, fence, x + 0.5f, z + 0.5f);
                if (free != IsRoadColour(base.At(x, z)) && ++wrong <= 5) {
                    ADD_FAILURE() << path << ": texel " << x << ", " << z << " is "
                                  << (free ? "free ground but not road" : "painted as road but blocked")
                                  << std::hex << " (colour " << (base.At(x, z) & 0xffffff) << ")";
                }
            }
        }
        EXPECT_EQ(0, wrong) << path;
    }
}

// For the whole data and for one course's ground alone: a course it cannot read, or a folder
// it cannot make (below a file, which even root cannot write into), fails with one line.
TEST(AssetGeneratorRun, ReportsAnUnreadableCourseOrFolderAndFails) {
    TempDir out;
    const std::string bad = out.Write("bad.txt", "64 64\n0000\n");
    const std::string file = out.Write("file", "");
    const std::string good = ShippedCourses()[1];
    const struct {
        std::vector<std::string> args;
        std::string line;
    } kCases[] = {
        {{out.File("data"), bad}, "Course::Init() - ERROR reading map data: 0,4"},
        {{"--ground", out.File("ground"), bad}, "kestrun-assets: cannot read course " + bad},
        {{"--ground", file + "/ground", good}, "kestrun-assets: cannot create " + file},
        {{"--grund", out.File("data"), good}, "usage: kestrun-assets"},  // not a folder named --grund
        {{"--ground", out.File("taken"), good},  // a file's name taken by a folder, half way
         "kestrun-assets: cannot write " + out.File("taken/terrain_data/Terrain_Base.tif")},
    };
    std::filesystem::create_directories(out.File("taken/terrain_data/Terrain_Base.tif"));
    for (const auto& c : kCases) {
        const ToolResult run = RunTool(KESTRUN_ASSETS_TOOL, c.args);
        EXPECT_EQ(1, run.exitStatus) << run.output;
        EXPECT_NE(std::string::npos, run.output.find(c.line)) << run.output;
    }
    // Killed half way through a file (by going past a file size limit of 32 KB): the cut file
    // never stands under the name the game reads.
    TempDir killed;
    const ToolResult cut = RunTool("/bin/sh", {"-c", "ulimit -f 64; exec \"$@\"", "sh",
                                               KESTRUN_ASSETS_TOOL, "--ground", killed.Path(), good});
    EXPECT_NE(0, cut.exitStatus) << cut.output;
    EXPECT_FALSE(std::filesystem::exists(killed.File("terrain_data/terrain1.raw"))) << cut.output;
    // No file is left under a temporary name.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(out.Path())) {
        EXPECT_NE('.', entry.path().filename().string()[0]) << entry.path();
    }
}

TEST(AssetGeneratorRun, NeedsAnOutputFolderAndACourse) {
    const ToolResult run = RunTool(KESTRUN_ASSETS_TOOL, {"only-a-folder"});
    EXPECT_EQ(1, run.exitStatus);
    EXPECT_NE(std::string::npos, run.output.find("usage: kestrun-assets")) << run.output;
}
