// Starting the game from a console: the command line, the level file and the display.
#include <gtest/gtest.h>

#include "GameRun.h"

namespace {
std::string Usage() {
    return "\n  USAGE: " + GameBinary() + " <level>\n" +
           "   (please provide a level description file to load)\n\n";
}

// Runs the game to its end with the arguments and returns how it ended.
ExitStatus RunToEnd(GameRun& game, const std::vector<std::string>& args) {
    EXPECT_TRUE(game.Launch(args));
    return game.WaitForExit();
}
} // namespace

TEST(Startup, WithoutALevelPrintsTheUsageAndFails) {
    GameRun game;
    ASSERT_TRUE(game.StartX());
    const ExitStatus status = RunToEnd(game, {});
    EXPECT_TRUE(status.ExitedWith(1)) << game.Transcript();
    EXPECT_EQ(Usage(), game.Out());
    EXPECT_EQ("", game.Err());
}

TEST(Startup, WithTwoArgumentsPrintsTheUsageAndFails) {
    GameRun game;
    ASSERT_TRUE(game.StartX());
    const std::string level = WriteSmallLevel(game);
    const ExitStatus status = RunToEnd(game, {level, level});
    EXPECT_TRUE(status.ExitedWith(1)) << game.Transcript();
    EXPECT_EQ(Usage(), game.Out());
}

TEST(Startup, GlutOptionsAreNotCountedAsTheLevel) {
    GameRun game;
    ASSERT_TRUE(game.StartX());
    // "-iconic" is taken by GLUT, so one argument is left and the level is read.
    ASSERT_TRUE(game.Launch({"-iconic", "levels/missing.txt"}));
    EXPECT_TRUE(game.WaitForExit().ExitedWith(1)) << game.Transcript();
    EXPECT_EQ(0u, game.Out().find("Reading level description file 'levels/missing.txt'..."))
        << game.Transcript();
}

TEST(Startup, AMissingLevelFileEndsBeforeAnyWindow) {
    GameRun game;
    ASSERT_TRUE(game.StartX());
    const ExitStatus status = RunToEnd(game, {"levels/missing.txt"});
    EXPECT_TRUE(status.ExitedWith(1)) << game.Transcript();
    EXPECT_EQ("Reading level description file 'levels/missing.txt'...\n"
              "Game::ReadLevel() - ERROR opening file.\n"
              "Game::Init() - ERROR loading level description.\n"
              "Error Initializing game.\n",
              game.Out());
}

TEST(Startup, ALevelWithOneTokenIsRefused) {
    GameRun game;
    ASSERT_TRUE(game.StartX());
    const std::string level = game.WriteData("levels/short.txt", "skyboxes/day\n");
    EXPECT_TRUE(RunToEnd(game, {level}).ExitedWith(1)) << game.Transcript();
    EXPECT_EQ("Reading level description file 'levels/short.txt'...\n"
              "  skybox path: skyboxes/day\n"
              "  course filename: ERROR\n"
              "Game::Init() - ERROR loading level description.\n"
              "Error Initializing game.\n",
              game.Out());
}

// The display check must not be the server's last client to leave: a server that resets
// then (xvfb-run's does) would refuse the game's own connection a moment later.
TEST(Startup, OpensItsWindowOnAServerThatResetsWhenIdle) {
    GameRun game;
    ASSERT_TRUE(game.StartX("1280x1024x24", true));
    const std::string level = WriteSmallLevel(game);
    ASSERT_TRUE(game.Launch({level}));
    EXPECT_TRUE(game.FindWindow()) << game.Transcript();
    EXPECT_TRUE(game.GameRunning()) << game.Transcript();
}

TEST(Startup, WithoutADisplayItSaysHowToGetOne) {
    GameRun game; // no X server on purpose
    const std::string level = WriteSmallLevel(game);
    ASSERT_TRUE(game.Launch({level}, {{"DISPLAY", std::nullopt}}));
    EXPECT_TRUE(game.WaitForExit().ExitedWith(1)) << game.Transcript();
    const std::string err = game.Err();
    EXPECT_EQ("kestrun: no X display (DISPLAY is not set); without a screen, run it under Xvfb, "
              "e.g. xvfb-run -a ./run\n",
              err);
    EXPECT_EQ("", game.Out());
}

TEST(Startup, AnUnreachableDisplayIsNamed) {
    GameRun game;
    const std::string level = WriteSmallLevel(game);
    ASSERT_TRUE(game.Launch({level}, {{"DISPLAY", ":9999"}}));
    EXPECT_TRUE(game.WaitForExit().ExitedWith(1)) << game.Transcript();
    EXPECT_NE(std::string::npos, game.Err().find("cannot open the X display ':9999'"))
        << game.Transcript();
    EXPECT_NE(std::string::npos, game.Err().find("xvfb-run -a ./run"));
}
