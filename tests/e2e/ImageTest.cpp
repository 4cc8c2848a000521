// The screenshot reader, the region statistics and column measures the window tests compare,
// and the colour classes of the scene.
#include <gtest/gtest.h>

#include <algorithm>

#include "Image.h"
#include "View.h"

namespace {
std::string Ppm(const std::string& header, const std::string& samples) {
    return header + samples;
}
} // namespace

TEST(ScreenshotImage, ReadsAPpmWithCommentsInItsHeader) {
    Image image;
    std::string error;
    ASSERT_TRUE(image.ParsePpm(
        Ppm("P6\n# made by import\n2 1\n255\n", std::string("\x0a\x14\x1e\xff\x00\x80", 6)),
        &error))
        << error;
    EXPECT_EQ(2, image.Width());
    EXPECT_EQ(1, image.Height());
    EXPECT_EQ((Rgb{10, 20, 30}), image.At(0, 0));
    EXPECT_EQ((Rgb{255, 0, 128}), image.At(1, 0));
}

TEST(ScreenshotImage, ScalesSixteenBitSamples) {
    Image image;
    std::string error;
    ASSERT_TRUE(
        image.ParsePpm(Ppm("P6 1 1 65535\n", std::string("\xff\xff\x00\x00\x80\x00", 6)), &error))
        << error;
    EXPECT_EQ((Rgb{255, 0, 127}), image.At(0, 0));
}

TEST(ScreenshotImage, RefusesWhatIsNotACompletePpm) {
    Image image;
    std::string error;
    EXPECT_FALSE(image.ParsePpm("P3 1 1 255\n0 0 0\n", &error));
    EXPECT_FALSE(image.ParsePpm("P6 2 2 255\n" + std::string(11, '\0'), &error));
    EXPECT_EQ("PPM data is cut short", error);
    EXPECT_FALSE(image.ParsePpm("P6 0 2 255\n", &error));
    EXPECT_FALSE(image.ParsePpm("P6 1 1", &error));
    EXPECT_TRUE(image.Empty());
}

TEST(ScreenshotImage, HalvesFollowTheGameSplitWithAnOddHeight) {
    Image image(4, 5); // rows 0..4; row 0 belongs to neither half
    for (int x = 0; x < 4; ++x) {
        image.Set(x, 0, {255, 255, 255});
        image.Set(x, 1, {200, 0, 0});
        image.Set(x, 2, {200, 0, 0});
        image.Set(x, 3, {0, 0, 100});
        image.Set(x, 4, {0, 0, 100});
    }
    const RegionStats top = image.Stats(image.TopHalf());
    const RegionStats bottom = image.Stats(image.BottomHalf());
    EXPECT_EQ(8, top.pixels);
    EXPECT_DOUBLE_EQ(200.0, top.meanR);
    EXPECT_EQ(1, top.distinctColors);
    EXPECT_DOUBLE_EQ(100.0, bottom.meanB);
    EXPECT_DOUBLE_EQ(0.0, bottom.spread);
}

TEST(ScreenshotImage, StatsAndDifferencesOfRegions) {
    Image a(2, 2);
    a.Set(0, 0, {0, 0, 0});
    a.Set(1, 0, {90, 90, 90});
    a.Set(0, 1, {0, 0, 0});
    a.Set(1, 1, {90, 90, 90});
    const RegionStats stats = a.Stats();
    EXPECT_DOUBLE_EQ(45.0, stats.Brightness());
    EXPECT_DOUBLE_EQ(45.0, stats.spread);
    EXPECT_EQ(2, stats.distinctColors);
    EXPECT_EQ(1, a.Crop({1, 0, 5, 5}).Width()); // clipped to the image
    Image b(2, 2);
    EXPECT_DOUBLE_EQ(45.0, Image::MeanDifference(a, b));
    EXPECT_DOUBLE_EQ(-1.0, Image::MeanDifference(a, Image(1, 2)));
}

namespace {
// A picture of dark vertical bars on a light ground, the bars' tops and bottoms at rows that
// depend on the column, shifted by dx columns and dy rows.
Image Bars(int dx, int dy) {
    Image image(60, 40);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            const int sx = x - dx;
            const bool bar = (sx >= 10 && sx < 14) || (sx >= 30 && sx < 37);
            const int top = 5 + sx % 3 + dy;
            const bool inBar = bar && y >= top && y < top + 25;
            image.Set(x, y,
                      inBar ? Rgb{120, 80, 40} : Rgb{static_cast<uint8_t>(100 + y), 150, 200});
        }
    }
    return image;
}

bool Dark(const Rgb& p) {
    return p.r == 120;
}
} // namespace

TEST(ScreenshotImage, FilledColumnsIgnoreAVerticalShiftButNotASidewaysOne) {
    const Rect all = {0, 0, 60, 40};
    const std::vector<bool> start = Bars(0, 0).FilledColumns(all, Dark, 20);
    EXPECT_EQ(11, std::count(start.begin(), start.end(), true));
    EXPECT_EQ(0, ColumnsChanged(start, Bars(0, 6).FilledColumns(all, Dark, 20)));
    // Four columns leave each bar on one side and four come in on the other.
    EXPECT_EQ(16, ColumnsChanged(start, Bars(4, 0).FilledColumns(all, Dark, 20)));
    EXPECT_EQ(60, ColumnsChanged({}, start));
}

TEST(ScreenshotImage, BestShiftFindsHowFarThePictureSlid) {
    const ColumnProfile start = Bars(0, 0).Profile({0, 0, 60, 40});
    EXPECT_EQ(7, BestShift(start, Bars(7, 0).Profile({0, 0, 60, 40}), 20));
    EXPECT_EQ(-5, BestShift(start, Bars(-5, 0).Profile({0, 0, 60, 40}), 20));
    EXPECT_EQ(0, BestShift(start, Bars(0, 3).Profile({0, 0, 60, 40}), 20));
    EXPECT_DOUBLE_EQ(0.0, ProfileDifference(start, Bars(7, 0).Profile({0, 0, 60, 40}), 7));
    EXPECT_GT(ProfileDifference(start, Bars(7, 0).Profile({0, 0, 60, 40})), 5.0);
}

// Colours picked from screenshots of the default level and the lake, and colours that must
// stay apart from them.
TEST(SceneColours, ClassesOfTheDefaultData) {
    EXPECT_TRUE(IsBlue({124, 161, 221}));    // sky
    EXPECT_TRUE(IsBlue({35, 81, 125}));      // deep water
    EXPECT_FALSE(IsBlue({230, 235, 245}));   // cloud
    EXPECT_TRUE(IsGround({67, 101, 37}));    // grass
    EXPECT_TRUE(IsGround({58, 56, 59}));     // road
    EXPECT_FALSE(IsGround({200, 200, 196})); // curb white
    EXPECT_TRUE(IsPost({130, 87, 48}));
    EXPECT_TRUE(IsPost({100, 65, 36}));
    EXPECT_FALSE(IsPost({204, 173, 114})); // rope
    EXPECT_TRUE(IsRope({204, 173, 114}));
    EXPECT_TRUE(IsRope({238, 215, 172}));
    EXPECT_FALSE(IsRope({130, 87, 48}));
    EXPECT_TRUE(IsItem({24, 188, 101}));
    EXPECT_TRUE(IsItem({96, 193, 109})); // an item far off in the fog
    EXPECT_FALSE(IsItem({67, 101, 37}));
    EXPECT_TRUE(IsPoleRed({210, 40, 40}));
    EXPECT_FALSE(IsPoleRed({130, 87, 48}));
    EXPECT_TRUE(IsHudText({255, 255, 255}));
    EXPECT_FALSE(IsHudText({254, 255, 255}));
}

TEST(SceneColours, BandsOfAHalf) {
    // The heads-up line's baseline is 6 rows down in a half of 240 rows.
    EXPECT_EQ(11, HudBand(640, 240).height);
    const Rect sky = SkyBand(640, 240);
    EXPECT_EQ(11, sky.y);
    EXPECT_LT(sky.y + sky.height, 120); // above the horizon
    EXPECT_EQ(160, LowBand(640, 240).y);
    EXPECT_EQ(80, LowBand(640, 240).height);
    EXPECT_EQ(240, SceneBand(640, 240).y + SceneBand(640, 240).height);
}
