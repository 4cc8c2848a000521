#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "ItemPlaces.h"
#include "TempDir.h"
#include "TestCourses.h"
#include "app/FrameSteps.h"
#include "course/Fence.h"
#include "course/MarkerPlacement.h"
#include "scene/Random.h"
#include "scene/World.h"

namespace {
// A world with its items placed as at start-up.
void PlaceAsAtStartUp(World& world) {
    ResetRandom();
    world.PlaceItems();
    world._pickupRadius = 3;
}
}  // namespace

// ---- Items: placement, pick-up and animation ----

TEST(Items, EveryRunStartsWithTheSamePlaces) {
    World world;
    PlaceAsAtStartUp(world);
    ExpectStartUpPlaces(world);
}

TEST(Items, RacerWithinThreeWholeUnitsMovesTheItemToTheNextRandomPlace) {
    World world;
    PlaceAsAtStartUp(world);
    World before;
    std::memcpy(before._billboardX, world._billboardX, sizeof world._billboardX);
    std::memcpy(before._billboardZ, world._billboardZ, sizeof world._billboardZ);

    // (44.0, 33.0): x distance 3 to item 0 at (41, 35) is not less than 3.
    world.CollectPickups(44.0f, 33.0f);
    EXPECT_EQ(0, std::memcmp(before._billboardX, world._billboardX, sizeof world._billboardX));
    EXPECT_EQ(0, std::memcmp(before._billboardZ, world._billboardZ, sizeof world._billboardZ));

    // (43.9, 33.0) truncates to (43, 33): distances 2 and 2. Draws 41 and 42 of the
    // generator, 28703 and 23811, give the new place.
    world.CollectPickups(43.9f, 33.0f);
    EXPECT_EQ(31, world._billboardX[0]);
    EXPECT_EQ(3, world._billboardZ[0]);
    for (int i = 1; i < kItemCount; ++i) {
        EXPECT_EQ(before._billboardX[i], world._billboardX[i]) << "item " << i;
        EXPECT_EQ(before._billboardZ[i], world._billboardZ[i]) << "item " << i;
    }

    // The item has gone: the same place now finds nothing.
    const uint32_t state = g_randomState;
    world.CollectPickups(43.9f, 33.0f);
    EXPECT_EQ(state, g_randomState);
}

TEST(Items, ItemsInReachMoveInIndexOrderAndPositionsTruncateTowardZero) {
    World world;
    PlaceAsAtStartUp(world);
    world._billboardX[3] = 2;
    world._billboardZ[3] = 0;
    world._billboardX[7] = 0;
    world._billboardZ[7] = 2;
    // -0.9 truncates to 0, so both items are 2 units away.
    world.CollectPickups(-0.9f, -0.9f);
    EXPECT_EQ(31, world._billboardX[3]);
    EXPECT_EQ(3, world._billboardZ[3]);
    EXPECT_EQ(90, world._billboardX[7]);
    EXPECT_EQ(125, world._billboardZ[7]);
}

// With the items on the course, each place is the generator's next place inside the fence, at
// start and at every pick-up, replayed here from the generator; a course with no ground inside
// gives up after 256 draws an item and keeps the last.
TEST(Items, OnTheCourseEveryPlaceIsTheNextDrawnInsideTheFence) {
    std::vector<std::pair<std::string, std::string>> courses = {
        {"ring", RingCourse()}, {"all blocked", CourseText(8, 8, '1', {})}};
    AddShippedCourses(courses);
    for (const auto& [name, text] : courses) {
        SCOPED_TRACE(name);
        World world;
        ReadGoodCourse(world._course, text);
        LayOutMarkers(world._course);
        world._itemsOnCourse = true;
        const bool anyInside = name != "all blocked";
        ResetRandom();
        std::vector<std::pair<int32_t, int32_t>> replay;
        const auto nextPlace = [&] {
            int32_t x = 0, z = 0;
            for (int draw = 0; draw < 256; ++draw) {
                x = NextRandom() % 256;
                z = NextRandom() % 256;
                if (IsInsideFence(world._course, float(x), float(z))) {
                    break;
                }
            }
            return std::make_pair(x, z);
        };
        for (int i = 0; i < kItemCount; ++i) {
            replay.push_back(nextPlace());
        }
        const uint32_t generatorAfterStart = g_randomState;
        PlaceAsAtStartUp(world);
        EXPECT_EQ(generatorAfterStart, g_randomState);
        for (int pickup = 0; pickup < (anyInside ? 60 : 1); ++pickup) {
            for (int i = 0; i < kItemCount; ++i) {
                ASSERT_EQ(replay[i], std::make_pair(world._billboardX[i], world._billboardZ[i]))
                    << "item " << i << " after " << pickup << " pick-ups";
                EXPECT_EQ(anyInside, IsInsideFence(world._course, float(world._billboardX[i]),
                                                   float(world._billboardZ[i])));
            }
            // Racer 1 reaches item `pickup % 20` (with any other within reach, as the game does).
            const int item = pickup % kItemCount;
            const float x = world._billboardX[item] + 0.5f, z = world._billboardZ[item] + 0.5f;
            const uint32_t generator = g_randomState;
            for (int i = 0; i < kItemCount; ++i) {
                if (std::abs(int32_t(x) - replay[i].first) < 3 && std::abs(int32_t(z) - replay[i].second) < 3) {
                    replay[i] = nextPlace();
                }
            }
            const uint32_t generatorAfter = g_randomState;
            g_randomState = generator;
            world.CollectPickups(x, z);
            EXPECT_EQ(generatorAfter, g_randomState);
        }
    }
}

TEST(Items, AnimationRunsThroughFortyOneFramesAStepAWholeTick) {
    g_itemFrame = 0;
    float carried = 0.0f;
    for (int frame = 1; frame <= 40; ++frame) {
        AnimateItems(kOneTick, carried);
        ASSERT_EQ(frame, g_itemFrame);
    }
    AnimateItems(kOneTick, carried);
    EXPECT_EQ(0, g_itemFrame);
    AnimateItems(kOneTick, carried);
    EXPECT_EQ(1, g_itemFrame);
    EXPECT_EQ(0.0f, carried);
    // Frames shorter or longer than a tick: a step for each whole tick they make up together.
    const struct {
        std::vector<float> ticks;
        int32_t frame;
        float carried;
    } kRuns[] = {{{0.5f, 0.5f}, 1, 0.0f},        {{0.25f, 0.25f, 0.25f}, 0, 0.75f},
                 {{2.5f}, 2, 0.5f},              {{0.75f, 0.75f}, 1, 0.5f},
                 {{4.0f, 0.75f, 0.25f}, 5, 0.0f}, {{39.0f, 1.5f, 0.5f}, 0, 0.0f}};
    for (const auto& run : kRuns) {
        g_itemFrame = 0;
        carried = 0.0f;
        for (const float ticks : run.ticks) {
            AnimateItems(ticks, carried);
        }
        EXPECT_EQ(run.frame, g_itemFrame) << run.ticks.size() << " frames";
        EXPECT_FLOAT_EQ(run.carried, carried) << run.ticks.size() << " frames";
    }
}

// ---- Heads-up text: refresh and line ----

// The line is the game's one buffer: each test starts with it empty, as the game does, and
// leaves it so.
class HudText : public ::testing::Test {
protected:
    void SetUp() override { g_hudText[0] = '\0'; }
    void TearDown() override { g_hudText[0] = '\0'; }
};

TEST_F(HudText, RefreshesOnlyAfterMoreThanASecond) {
    World world;
    world.CountHudDraw(1000);
    EXPECT_STREQ("", g_hudText);
    EXPECT_EQ(1, world._hudFrames);
    EXPECT_EQ(0, world._hudLastUpdate);
    EXPECT_EQ(1000, world._hudNow);

    world.CountHudDraw(1001);
    EXPECT_STREQ("FPS:2.00 Time:1.00", g_hudText);  // 2 draws in 1.001 s
    EXPECT_EQ(0, world._hudFrames);
    EXPECT_EQ(1001, world._hudLastUpdate);
}

TEST_F(HudText, RateCountsTheDrawsSinceTheLastRefresh) {
    World world;
    world._hudLastUpdate = 1000;
    for (int draw = 0; draw < 119; ++draw) {
        world.CountHudDraw(1500);
    }
    EXPECT_STREQ("", g_hudText);
    world.CountHudDraw(3000);
    EXPECT_STREQ("FPS:60.00 Time:3.00", g_hudText);  // 120 draws over 2000 ms
}

TEST_F(HudText, SecondsShowWithTwoDecimals) {
    World world;
    world.CountHudDraw(65432);
    EXPECT_STREQ("FPS:0.02 Time:65.43", g_hudText);
}
