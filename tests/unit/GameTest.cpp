// The game object: its values after construction, the window sizes it refuses, and the frame
// it runs, row by row.
#include <gtest/gtest.h>

#include <iterator>

#include "ConsoleCapture.h"
#include "FrameOrder.h"
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

TEST(FrameTable, RunsTheStepsOfEachHalfInTheOrderOfTheRules) {
    ASSERT_EQ(std::size(kRulesFrameOrder), std::size(kFrame));
    for (size_t row = 0; row < std::size(kFrame); ++row) {
        EXPECT_EQ(kRulesFrameOrder[row].racer, kFrame[row].racer) << "row " << row;
        EXPECT_EQ(static_cast<int>(kRulesFrameOrder[row].step), static_cast<int>(kFrame[row].step))
            << "row " << row << " of racer " << kFrame[row].racer;
    }
}
