// The game window as a player meets it: title, quitting, snapshot, resizing and the menu.
#include <gtest/gtest.h>

#include <filesystem>

#include "GameSession.h"

namespace {
// Starts the game on the small level and waits for its window, focused for keys.
class GameWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session.StartX());
        ASSERT_TRUE(session.Launch({WriteSmallLevel(session)}));
        ASSERT_TRUE(session.OpenWindow()) << session.Transcript();
    }

    GameSession session;
};

const char* const kStartLines = "Reading level description file 'levels/small.txt'...\n"
                                "  skybox path: skyboxes/none\n"
                                "  course filename: courses/small.txt\n";
} // namespace

TEST_F(GameWindow, OpensWithItsTitleAfterReadingTheLevel) {
    EXPECT_EQ(0u, session.Out().find(kStartLines)) << session.Transcript();
    Rect rect;
    ASSERT_TRUE(session.Geometry(&rect));
    EXPECT_EQ(640, rect.width);
    EXPECT_EQ(480, rect.height);
    Image shot;
    ASSERT_TRUE(session.WindowShot(&shot));
    EXPECT_EQ(640, shot.Width());
    EXPECT_EQ(480, shot.Height());
    EXPECT_TRUE(session.GameRunning());
}

TEST_F(GameWindow, QKeyQuitsWithStatusZero) {
    ASSERT_TRUE(session.Key("q"));
    EXPECT_TRUE(session.WaitForExit().ExitedWith(0)) << session.Transcript();
}

TEST_F(GameWindow, EscapeQuitsWithStatusZero) {
    ASSERT_TRUE(session.Key("Escape"));
    EXPECT_TRUE(session.WaitForExit().ExitedWith(0)) << session.Transcript();
}

TEST_F(GameWindow, UpperCaseQDoesNotQuit) {
    ASSERT_TRUE(session.Key("shift+q"));
    ASSERT_TRUE(session.Key("c")); // a key that answers, to know the Q has been handled
    ASSERT_TRUE(session.WaitForOutput("Saving screen snapshot to: snapshot.jpg"));
    EXPECT_TRUE(session.GameRunning()) << session.Transcript();
}

TEST_F(GameWindow, CKeyReportsTheSnapshotAndWritesNothing) {
    ASSERT_TRUE(session.Key("c"));
    ASSERT_TRUE(session.WaitForOutput("Game::_CaptureImage() needs 'libvornel'"));
    // The two snapshot lines are the last output, and come once.
    const std::string out = session.Out();
    const std::string snapshotLines =
        "Saving screen snapshot to: snapshot.jpg\nGame::_CaptureImage() needs 'libvornel'\n";
    ASSERT_GE(out.size(), snapshotLines.size());
    EXPECT_EQ(snapshotLines, out.substr(out.size() - snapshotLines.size()));
    EXPECT_EQ(out.find("Saving screen snapshot"), out.rfind("Saving screen snapshot"));
    EXPECT_TRUE(session.GameRunning());
    EXPECT_FALSE(std::filesystem::exists(session.DataDir() + "/snapshot.jpg"));
}

TEST_F(GameWindow, ResizesToAnOddHeight) {
    ASSERT_TRUE(session.Resize(800, 601));
    Rect rect;
    ASSERT_TRUE(session.Geometry(&rect));
    EXPECT_EQ(800, rect.width);
    EXPECT_EQ(601, rect.height);
    ASSERT_TRUE(session.Key("c")); // the game has handled the resize before this key
    ASSERT_TRUE(session.WaitForOutput("needs 'libvornel'"));
    EXPECT_EQ(std::string::npos, session.Out().find("bad window size")) << session.Transcript();
    EXPECT_TRUE(session.GameRunning());
}

TEST_F(GameWindow, RefusesAWindowTooNarrow) {
    ASSERT_TRUE(session.Resize(5, 400));
    ASSERT_TRUE(session.WaitForOutput("Game::Reshape - bad window size: 5, 400\n"));
    EXPECT_TRUE(session.GameRunning());
    ASSERT_TRUE(session.Resize(640, 480));
    ASSERT_TRUE(session.Key("q"));
    EXPECT_TRUE(session.WaitForExit().ExitedWith(0)) << session.Transcript();
}

TEST_F(GameWindow, MenuSnapshotEntryActsLikeTheCKey) {
    ASSERT_TRUE(session.ChooseMenuEntry(5, 7));
    ASSERT_TRUE(session.WaitForOutput("Game::_CaptureImage() needs 'libvornel'"));
    EXPECT_TRUE(session.GameRunning());
}

TEST_F(GameWindow, MenuQuitEndsWithStatusZero) {
    ASSERT_TRUE(session.ChooseMenuEntry(7, 7));
    EXPECT_TRUE(session.WaitForExit().ExitedWith(0)) << session.Transcript();
}
