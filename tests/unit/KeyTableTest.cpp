#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "app/Game.h"
#include "app/GameCallbacks.h"

TEST(KeyTable, PressAndReleaseThroughTheCallbacks) {
    Game game;
    keyboardCallback('w', 10, 20);
    keyboardCallback('l', 0, 0);
    EXPECT_EQ(1, game._keys['w']);
    EXPECT_EQ(1, game._keys['l']);
    EXPECT_EQ(0, game._keys['W']); // upper case is a key of its own
    keyboardUpCallback('w', 0, 0);
    EXPECT_EQ(0, game._keys['w']);
    EXPECT_EQ(1, game._keys['l']);
    keyboardCallback('W', 0, 0);
    EXPECT_EQ(1, game._keys['W']);
    EXPECT_EQ(0, game._keys['w']);
    keyboardCallback(255, 0, 0);
    EXPECT_EQ(1, game._keys[255]);
}

TEST(KeyTable, SnapshotKeyAndMenuEntryPrintTheTwoLinesOnly) {
    Game game;
    ConsoleCapture capture;
    keyboardCallback('c', 0, 0);
    menuCallback('c');
    EXPECT_EQ("Saving screen snapshot to: snapshot.jpg\n"
              "Game::_CaptureImage() needs 'libvornel'\n"
              "Saving screen snapshot to: snapshot.jpg\n"
              "Game::_CaptureImage() needs 'libvornel'\n",
              capture.Text());
    EXPECT_EQ(0, game._keys['c']);
    keyboardCallback('C', 0, 0); // upper case is no snapshot
    EXPECT_EQ(1, game._keys['C']);
}

TEST(KeyTable, ReleasingTheSpecialKeysClearsTheirEntries) {
    Game game;
    game._keys['c'] = game._keys['q'] = game._keys[27] = 1;
    for (int key : {int('c'), int('q'), 27}) {
        keyboardUpCallback(static_cast<unsigned char>(key), 0, 0);
        EXPECT_EQ(0, game._keys[key]);
    }
}

TEST(KeyTable, InformationalMenuEntriesOnlySetEntryZero) {
    Game game;
    menuCallback(0);
    EXPECT_EQ(1, game._keys[0]);
    menuCallback('w');
    EXPECT_EQ(1, game._keys['w']);
}

TEST(KeyTable, EscapeQAndMenuQuitEndTheProcessWithStatusZero) {
    Game game;
    EXPECT_EXIT(keyboardCallback('q', 0, 0), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(keyboardCallback(27, 0, 0), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(menuCallback('q'), ::testing::ExitedWithCode(0), "");
    keyboardCallback('Q', 0, 0); // upper case does not quit
    EXPECT_EQ(1, game._keys['Q']);
}

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
