// Starting the game from a console: the command line, the level file and the display.
#include <gtest/gtest.h>

#include "GameRun.h"

namespace {
std::string Usage() {
    return "\n  USAGE: " + GameBinary() + " <level>\n" +
           "   (please provide a level description file to load)\n\n";
}

// A start the game refuses: its arguments, and all it prints before it ends with status 1.
struct Refusal {
    const char* name;
    std::vector<std::string> args; // with levels/small.txt written, levels/short.txt too
    std::string out;               // empty: the usage text
};

class StartupRefusal : public ::testing::TestWithParam<Refusal> {};
} // namespace

TEST_P(StartupRefusal, PrintsWhyAndFails) {
    const Refusal& refusal = GetParam();
    GameRun game;
    ASSERT_TRUE(game.StartX());
    WriteSmallLevel(game);
    game.WriteData("levels/short.txt", "skyboxes/day\n");
    ASSERT_TRUE(game.Launch(refusal.args));
    EXPECT_TRUE(game.WaitForExit().ExitedWith(1)) << game.Transcript();
    EXPECT_EQ(refusal.out.empty() ? Usage() : refusal.out, game.Out());
    EXPECT_EQ("", game.Err());
}

const char* const kMissingLevel = "Reading level description file 'levels/missing.txt'...\n"
                                  "Game::ReadLevel() - ERROR opening file.\n"
                                  "Game::Init() - ERROR loading level description.\n"
                                  "Error Initializing game.\n";

INSTANTIATE_TEST_SUITE_P(
    Table, StartupRefusal,
    ::testing::Values(
        Refusal{"WithoutALevel", {}, ""},
        Refusal{"WithTwoArguments", {"levels/small.txt", "levels/small.txt"}, ""},
        // "-iconic" is taken by GLUT, so one argument is left and the level is read.
        Refusal{"GlutOptionsAreNotCountedAsTheLevel", {"-iconic", "levels/missing.txt"},
                kMissingLevel},
        Refusal{"AMissingLevelFileEndsBeforeAnyWindow", {"levels/missing.txt"}, kMissingLevel},
        Refusal{"ALevelWithOneToken", {"levels/short.txt"},
                "Reading level description file 'levels/short.txt'...\n"
                "  skybox path: skyboxes/day\n"
                "  course filename: ERROR\n"
                "Game::Init() - ERROR loading level description.\n"
                "Error Initializing game.\n"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.name; });

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
    EXPECT_EQ("kestrun: no X display (DISPLAY is not set); without a screen, run it under Xvfb: "
              "xvfb-run -a kestrun (installed game) or xvfb-run -a ./run (source tree)\n",
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
