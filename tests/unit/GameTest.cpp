// The game object: its values after construction and the window sizes it refuses.
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
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
