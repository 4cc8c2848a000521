// The game object: its values after construction, the window sizes it refuses, and the frame
// it runs, row by row.
#include <gtest/gtest.h>

#include <iterator>

#include "ConsoleCapture.h"
#include "app/FrameSteps.h"
#include "app/Game.h"

TEST(GameObject, ConstructionValues) {
    Game game;
    EXPECT_EQ(&game, g_game);
    EXPECT_EQ(640, game._windowWidth);
    EXPECT_EQ(480, game._windowHeight);
    EXPECT_EQ(5, game._minWindowSize);
    EXPECT_EQ(-1, game._windowId);
    EXPECT_EQ(0, game._width);
    EXPECT_EQ(0, game._height);
    EXPECT_EQ(0, game._halfHeight);
    for (unsigned char entry : game._keys) {
        ASSERT_EQ(0, entry);
    }
}

TEST(GameObject, TooSmallWindowIsRefusedWithTheSizes) {
    Game game;
    ConsoleCapture capture;
    game.Reshape(5, 400);
    game.Reshape(400, 5);
    game.Reshape(-3, 0);
    EXPECT_EQ("Game::Reshape - bad window size: 5, 400\n"
              "Game::Reshape - bad window size: 400, 5\n"
              "Game::Reshape - bad window size: -3, 0\n",
              capture.Text());
    EXPECT_EQ(0, game._width);
    EXPECT_EQ(0, game._halfHeight);
}

// The order of the rules, written out apart from the game's table: clear and update; racer 1's
// half; racer 2's half, its course after the heads-up line, the wall and the ground; fog, swap.
TEST(FrameTable, RunsTheStepsOfEachHalfInTheOrderOfTheRules) {
    using S = FrameStep;
    const FrameRow rules[] = {
        {0, S::Clear}, {0, S::UpdateRacers}, {1, S::Viewport}, {1, S::MoveRacer},
        {1, S::TakeFrustum}, {1, S::DrawSky}, {1, S::DrawTerrainAndMarkers}, {1, S::DrawHud},
        {1, S::AnimateItems}, {1, S::CollectPickups}, {1, S::StopAtWall}, {1, S::FollowGround},
        {1, S::DrawItems}, {2, S::Viewport}, {2, S::MoveRacer}, {2, S::TakeFrustum},
        {2, S::DrawSky}, {2, S::DrawHud}, {2, S::CollectPickups}, {2, S::StopAtWall},
        {2, S::FollowGround}, {2, S::DrawTerrainAndMarkers}, {2, S::DrawItems},
        {0, S::ApplyFog}, {0, S::SwapBuffers}};
    ASSERT_EQ(std::size(rules), std::size(kFrame));
    for (size_t row = 0; row < std::size(kFrame); ++row) {
        EXPECT_EQ(rules[row].racer, kFrame[row].racer) << "row " << row;
        EXPECT_EQ(static_cast<int>(rules[row].step), static_cast<int>(kFrame[row].step))
            << "row " << row << " of racer " << kFrame[row].racer;
    }
}
