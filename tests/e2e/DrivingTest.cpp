// Driving as the two players do: each racer's keys change only its own half of the window,
// and the water moves by itself.
//
// Both views bob up and down by themselves (the racers' eyes swing a little every frame), so
// "changed" is measured in ways a vertical shift leaves alone: which columns hold a near post
// (one at least a sixth of the half tall), and how far the columns' mean colours have slid
// sideways.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "GameRun.h"
#include "View.h"

namespace {
constexpr int kMovedColumns = 24; // near-post columns that change when a racer drives on
constexpr int kStillColumns = 6;  // what bobbing may change (it changes hardly any)
constexpr int kTurnShift = 20;    // pixels the picture slides when a racer turns
constexpr int kMaxShift = 320;

Image Top(const Image& window) {
    return window.Crop(window.TopHalf());
}
Image Bottom(const Image& window) {
    return window.Crop(window.BottomHalf());
}

// The keys of one racer and the halves they should and should not change.
struct Racer {
    const char* forward;
    const char* left;
    const char* right;
    Image (*own)(const Image&);
    Image (*other)(const Image&);
};

std::ostream& operator<<(std::ostream& out, const Racer& racer) {
    return out << "keys " << racer.forward << racer.left << racer.right;
}

class Driving : public RunningGame<::testing::TestWithParam<Racer>> {
protected:
    // Holds key until the racer's own half satisfies moved (against before) and checks that
    // the other half stood still meanwhile; *after is the last shot.
    void Drive(const char* key, const Image& before, Image* after,
               const std::function<bool(const Image& ownBefore, const Image& ownNow)>& moved,
               const std::string& what) {
        const Racer racer = GetParam();
        const std::vector<bool> otherPosts = NearPostColumns(racer.other(before));
        int worstOther = 0;
        auto ready = [&](const Image& shot) {
            worstOther = std::max(worstOther,
                                  ColumnsChanged(otherPosts, NearPostColumns(racer.other(shot))));
            return moved(racer.own(before), racer.own(shot));
        };
        ASSERT_TRUE(game.HoldKeyUntil(key, after, ready, what));
        EXPECT_LE(worstOther, kStillColumns) << "\"" << key << "\" changed the other half";
        EXPECT_LE(std::abs(BestShift(SceneProfile(racer.other(before)),
                                     SceneProfile(racer.other(*after)), kMaxShift)),
                  2)
            << "\"" << key << "\" turned the other half";
    }
};

bool DroveOn(const Image& before, const Image& now) {
    return ColumnsChanged(NearPostColumns(before), NearPostColumns(now)) >= kMovedColumns;
}
bool TurnedLeft(const Image& before, const Image& now) {
    return BestShift(SceneProfile(before), SceneProfile(now), kMaxShift) >= kTurnShift;
}
bool TurnedRight(const Image& before, const Image& now) {
    return BestShift(SceneProfile(before), SceneProfile(now), kMaxShift) <= -kTurnShift;
}
} // namespace

TEST_P(Driving, EachKeyMovesOnlyItsRacersHalf) {
    const Racer racer = GetParam();
    Image afterForward;
    Drive(racer.forward, start, &afterForward, DroveOn, "the racer's own half driving on");
    // Turning left slides the picture to the right, turning right to the left.
    Image afterLeft;
    Drive(racer.left, afterForward, &afterLeft, TurnedLeft, "the racer's own half turning left");
    Image afterRight;
    Drive(racer.right, afterLeft, &afterRight, TurnedRight, "the racer's own half turning right");
}

INSTANTIATE_TEST_SUITE_P(Racers, Driving,
                         ::testing::Values(Racer{"w", "a", "d", Top, Bottom},
                                           Racer{"i", "j", "l", Bottom, Top}),
                         [](const ::testing::TestParamInfo<Racer>& info) {
                             return info.index == 0 ? "RacerOneTopHalf" : "RacerTwoBottomHalf";
                         });

// A level of the test's own on the real terrain: the racers start in the lake inside the
// default course, where the low ground is water, and look across it.
TEST(Water, MovesWhileNothingIsPressed) {
    GameRun game;
    std::string course = "64 64\n";
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y) {
            const bool edge = x == 0 || x == 63 || y == 0 || y == 63;
            course += edge ? '1' : (y == 32 && x >= 19 && x <= 22) ? '2' : '0';
        }
        course += '\n';
    }
    game.WriteData("courses/lake.txt", course);
    game.WriteData("levels/lake.txt", "skyboxes/day\ncourses/lake.txt\n");
    Image first;
    ASSERT_TRUE(StartGame(game, "levels/lake.txt", &first)) << game.Transcript();
    for (const ViewMeasure& view : {MeasureTop(first), MeasureBottom(first)}) {
        EXPECT_GT(view.water, view.BandPixels(LowBand(view.width, view.height)) / 2)
            << view.Describe();
        EXPECT_GT(view.sky, 0) << view.Describe();
    }
    // The waves slide the water's colours sideways; the bobbing only shifts the picture up
    // and down, which leaves the mean colours of the columns nearly alone, as it does above
    // the water.
    Image later;
    auto wavesMoved = [&](const Image& shot) {
        for (auto half : {&Image::TopHalf, &Image::BottomHalf}) {
            const Image before = first.Crop((first.*half)());
            const Image now = shot.Crop((shot.*half)());
            const Rect low = LowBand(now.Width(), now.Height());
            const Rect sky = SkyBand(now.Width(), now.Height());
            const double water = ProfileDifference(before.Profile(low), now.Profile(low));
            const double above = ProfileDifference(before.Profile(sky), now.Profile(sky));
            if (water < 5.0 || water < 3 * above) {
                return false;
            }
        }
        return true;
    };
    ASSERT_TRUE(game.WaitForShot(&later, wavesMoved, "the water moving in both halves"));
    EXPECT_TRUE(game.Quit());
}

// Racer 1 on a key of the player's own, from a settings file whose second line names no
// setting: that line gets one line on standard error and the game runs. "w", held while "i"
// drives racer 2 on, leaves racer 1 where it was; "z" drives racer 1 on.
TEST(OwnKeys, ZDrivesRacerOneAndWDoesNot) {
    GameRun game;
    const std::string settings = game.WriteSettings(
        "# racer 1 on z\nracer1.acelerate = z\nracer1.accelerate = z\n");
    Image start;
    ASSERT_TRUE(StartGame(game, "levels/default.txt", &start)) << game.Transcript();
    EXPECT_EQ("kestrun: " + settings + ":2: unknown setting 'racer1.acelerate' (kestrun "
              "--settings lists them); the line is ignored\n", game.Err());
    const std::vector<bool> topPosts = NearPostColumns(Top(start));
    int topChanged = 0;
    auto racer2DroveOn = [&](const Image& now) {
        topChanged = std::max(topChanged, ColumnsChanged(topPosts, NearPostColumns(Top(now))));
        return DroveOn(Bottom(start), Bottom(now));
    };
    Image shot;
    ASSERT_TRUE(game.KeyDown("w"));
    ASSERT_TRUE(game.HoldKeyUntil("i", &shot, racer2DroveOn, "racer 2 driving on"));
    ASSERT_TRUE(game.KeyUp("w"));
    EXPECT_LE(topChanged, kStillColumns) << "\"w\" drove racer 1";
    auto racer1DroveOn = [&](const Image& now) { return DroveOn(Top(start), Top(now)); };
    ASSERT_TRUE(game.HoldKeyUntil("z", &shot, racer1DroveOn, "racer 1 driving on"));
    EXPECT_TRUE(game.Quit());
}
