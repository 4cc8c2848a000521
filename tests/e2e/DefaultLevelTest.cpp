// The default level as it ships: what the game prints on its way up, and what the two halves
// of its window show.
#include <gtest/gtest.h>

#include <algorithm>

#include "GameRun.h"
#include "StartupLines.h"
#include "View.h"

namespace {
const char* const kLevel = "levels/default.txt";

using DefaultLevel = RunningGame<>;

// The transcript of a clean start of the level, worked out from the shipped files.
std::string CleanStartLines(const std::string& level) {
    const LevelWords words = ReadLevelWords(ShippedDataDir() + "/" + level);
    return LevelLines(level, words) + SkyboxLines(BuiltDataDir(), words.skybox) +
           CourseLines(ShippedDataDir() + "/" + words.course, words.course) +
           TerrainLines(BuiltDataDir());
}
} // namespace

TEST_F(DefaultLevel, PrintsLevelSkyCourseTexturesAndTerrainInOrder) {
    const std::string expected = CleanStartLines(kLevel);
    // The shader set-up and the items print nothing when all goes well.
    EXPECT_TRUE(SameLines(expected, game.Out()));
    EXPECT_EQ("", game.Err());
    // The echo really is the shipped course: 64 lines of 64 cells, four of them start cells.
    EXPECT_NE(std::string::npos, expected.find("  dimensions: ( 64 x 64 )\n"));
    const size_t map = expected.find("  map: \n");
    const size_t end = expected.find("SUCCESS!\n");
    ASSERT_LT(map, end);
    // "  map: ", the dimensions, and one line per grid line.
    EXPECT_EQ(66, std::count(expected.begin() + map, expected.begin() + end, '\n'));
    EXPECT_EQ(4, std::count(expected.begin() + map, expected.begin() + end, '2'));
}

TEST_F(DefaultLevel, BothHalvesShowSkyGroundPostsRopesItemsAndTheHeadsUpLine) {
    ExpectSceneInBothHalves(start);
    for (const ViewMeasure& view : {MeasureTop(start), MeasureBottom(start)}) {
        const int half = view.width * view.height;
        EXPECT_GT(view.posts, half / 50) << view.Describe();
        EXPECT_GT(view.ropes, half / 100) << view.Describe();
        EXPECT_GE(view.items, 4) << view.Describe(); // an item on the straight, 50 units ahead
        EXPECT_GE(view.hudText, 60) << view.Describe();
        EXPECT_EQ(0, view.water) << view.Describe(); // the lakes lie below the course's level
    }
    // The racers stand side by side, so the halves differ.
    EXPECT_GT(Image::MeanDifference(start.Crop(start.TopHalf()), start.Crop(start.BottomHalf())),
              3.0);
}

TEST_F(DefaultLevel, FromTheStartARacePoleStandsBesideTheRacer) {
    // The poles stand on the first and the last start cell, level with the racers: turning
    // on the spot brings racer 1's left one into sight.
    EXPECT_LT(MeasureTop(start).poleRed, 20) << MeasureTop(start).Describe();
    Image shot;
    ASSERT_TRUE(game.HoldKeyUntil(
        "a", &shot, [](const Image& image) { return MeasureTop(image).poleRed >= 300; },
        "a race pole in the top half"));
    const ViewMeasure top = MeasureTop(shot);
    const int halfPixels = top.width * top.height;
    // The fence along the infield stays in sight beside the pole; how many of its posts stand
    // in the picture depends on how far the turn went.
    EXPECT_GT(top.posts + top.ropes, halfPixels / 100) << top.Describe();
    EXPECT_GT(top.ropes, halfPixels / 200) << top.Describe();
    // White stripes between the red ones, in the columns of the red.
    const Image half = shot.Crop(shot.TopHalf());
    const Rect sky = SkyBand(half.Width(), half.Height());
    const std::vector<bool> redColumns = half.FilledColumns(sky, IsPoleRed, 10);
    int white = 0;
    for (int x = 0; x < half.Width(); ++x) {
        if (redColumns[x]) {
            white += half.Count({x, sky.y, 1, sky.height}, [](const Rgb& p) {
                return p.r >= 200 && p.g >= 200 && p.b >= 200;
            });
        }
    }
    EXPECT_GT(white, 100);
    EXPECT_LT(MeasureBottom(shot).poleRed, 20) << MeasureBottom(shot).Describe();
}
