// Starting the game from a console: the command line, the level file and the display.
#include <gtest/gtest.h>

#include "GameSession.h"

namespace {
std::string Usage() {
    return "\n  USAGE: " + GameBinary() + " <level>\n" +
           "   (please provide a level description file to load)\n\n";
}

// Runs the game to its end with the arguments and returns how it ended.
ExitStatus RunToEnd(GameSession& session, const std::vector<std::string>& args) {
    EXPECT_TRUE(session.Launch(args));
    return session.WaitForExit();
}
} // namespace

TEST(Startup, WithoutALevelPrintsTheUsageAndFails) {
    GameSession session;
    ASSERT_TRUE(session.StartX());
    const ExitStatus status = RunToEnd(session, {});
    EXPECT_TRUE(status.ExitedWith(1)) << session.Transcript();
    EXPECT_EQ(Usage(), session.Out());
    EXPECT_EQ("", session.Err());
}

TEST(Startup, WithTwoArgumentsPrintsTheUsageAndFails) {
    GameSession session;
    ASSERT_TRUE(session.StartX());
    const std::string level = WriteSmallLevel(session);
    const ExitStatus status = RunToEnd(session, {level, level});
    EXPECT_TRUE(status.ExitedWith(1)) << session.Transcript();
    EXPECT_EQ(Usage(), session.Out());
}

TEST(Startup, GlutOptionsAreNotCountedAsTheLevel) {
    GameSession session;
    ASSERT_TRUE(session.StartX());
    // "-iconic" is taken by GLUT, so one argument is left and the level is read.
    ASSERT_TRUE(session.Launch({"-iconic", "levels/missing.txt"}));
    EXPECT_TRUE(session.WaitForExit().ExitedWith(1)) << session.Transcript();
    EXPECT_EQ(0u, session.Out().find("Reading level description file 'levels/missing.txt'..."))
        << session.Transcript();
}

TEST(Startup, AMissingLevelFileEndsBeforeAnyWindow) {
    GameSession session;
    ASSERT_TRUE(session.StartX());
    const ExitStatus status = RunToEnd(session, {"levels/missing.txt"});
    EXPECT_TRUE(status.ExitedWith(1)) << session.Transcript();
    EXPECT_EQ("Reading level description file 'levels/missing.txt'...\n"
              "Game::ReadLevel() - ERROR opening file.\n"
              "Game::Init() - ERROR loading level description.\n"
              "Error Initializing game.\n",
              session.Out());
}

TEST(Startup, ALevelWithOneTokenIsRefused) {
    GameSession session;
    ASSERT_TRUE(session.StartX());
    const std::string level = session.WriteData("levels/short.txt", "skyboxes/day\n");
    EXPECT_TRUE(RunToEnd(session, {level}).ExitedWith(1)) << session.Transcript();
    EXPECT_EQ("Reading level description file 'levels/short.txt'...\n"
              "  skybox path: skyboxes/day\n"
              "  course filename: ERROR\n"
              "Game::Init() - ERROR loading level description.\n"
              "Error Initializing game.\n",
              session.Out());
}

TEST(Startup, WithoutADisplayItSaysHowToGetOne) {
    GameSession session; // no X server on purpose
    const std::string level = WriteSmallLevel(session);
    ASSERT_TRUE(session.Launch({level}, {{"DISPLAY", std::nullopt}}));
    EXPECT_TRUE(session.WaitForExit().ExitedWith(1)) << session.Transcript();
    const std::string err = session.Err();
    EXPECT_EQ("kestrun: no X display (DISPLAY is not set); without a screen, run it under Xvfb, "
              "e.g. xvfb-run -a ./run\n",
              err);
    EXPECT_EQ("", session.Out());
}

TEST(Startup, AnUnreachableDisplayIsNamed) {
    GameSession session;
    const std::string level = WriteSmallLevel(session);
    ASSERT_TRUE(session.Launch({level}, {{"DISPLAY", ":9999"}}));
    EXPECT_TRUE(session.WaitForExit().ExitedWith(1)) << session.Transcript();
    EXPECT_NE(std::string::npos, session.Err().find("cannot open the X display ':9999'"))
        << session.Transcript();
    EXPECT_NE(std::string::npos, session.Err().find("xvfb-run -a ./run"));
}
