// The screenshot reader and the region statistics the window tests compare.
#include <gtest/gtest.h>

#include "Image.h"

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
