#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "ConsoleCapture.h"
#include "TempDir.h"
#include "app/Game.h"
#include "app/LevelFile.h"

namespace {
struct LevelRun {
    bool ok;
    std::string console;
};

// Reads a level file with the given contents through Game::ReadLevel.
LevelRun ReadLevelText(Game& game, const std::string& contents) {
    TempDir dir;
    dir.Enter();
    dir.Write("level.txt", contents);
    ConsoleCapture capture;
    const bool ok = game.ReadLevel("level.txt");
    return {ok, capture.Text()};
}

const char* const kHeader = "Reading level description file 'level.txt'...\n";
const char* const kBothRead = "Reading level description file 'level.txt'...\n"
                              "  skybox path: skyboxes/day\n"
                              "  course filename: courses/default.txt\n";
} // namespace

TEST(LevelFile, TwoLinesOrOneLineOrAThirdTokenReadTheSame) {
    for (const char* text :
         {"skyboxes/day\ncourses/default.txt\n", "  skyboxes/day   courses/default.txt\n",
          "\tskyboxes/day\r\n\r\ncourses/default.txt\r\n",
          "skyboxes/day\ncourses/default.txt\nsomething else\n"}) {
        Game game;
        const LevelRun run = ReadLevelText(game, text);
        EXPECT_TRUE(run.ok) << text;
        EXPECT_EQ(kBothRead, run.console) << text;
        EXPECT_STREQ("skyboxes/day", game._skyboxPath);
        EXPECT_STREQ("courses/default.txt", game._courseFile);
    }
}

TEST(LevelFile, LastTokenEndingTheFileIsRead) {
    Game game;
    const LevelRun run = ReadLevelText(game, "skyboxes/day\ncourses/default.txt");
    EXPECT_TRUE(run.ok);
    EXPECT_EQ(kBothRead, run.console);
    EXPECT_STREQ("courses/default.txt", game._courseFile);
}

TEST(LevelFile, EmptyOrBlankFileFailsAtTheSkyBox) {
    for (const char* text : {"", " \n\t\n"}) {
        Game game;
        const LevelRun run = ReadLevelText(game, text);
        EXPECT_FALSE(run.ok);
        EXPECT_EQ(std::string(kHeader) + "  skybox path: ERROR\n", run.console);
    }
}

TEST(LevelFile, OneTokenFailsAtTheCourse) {
    for (const char* text : {"skyboxes/day\n", "skyboxes/day"}) {
        Game game;
        const LevelRun run = ReadLevelText(game, text);
        EXPECT_FALSE(run.ok) << text;
        EXPECT_EQ(std::string(kHeader) + "  skybox path: skyboxes/day\n  course filename: ERROR\n",
                  run.console);
    }
}

TEST(LevelFile, MissingOrUnreadableFileFailsWhenOpened) {
    Game game;
    TempDir dir;
    dir.Enter();
    ConsoleCapture capture;
    EXPECT_FALSE(game.ReadLevel("no-such-level.txt"));
    EXPECT_EQ("Reading level description file 'no-such-level.txt'...\n"
              "Game::ReadLevel() - ERROR opening file.\n",
              capture.Text());
    capture.Clear();
    EXPECT_FALSE(game.ReadLevel(".")); // a folder reads as nothing
    EXPECT_EQ(0u, capture.Text().find("Reading level description file '.'...\n"));
}

TEST(LevelFile, LongestTokenFitsAndOneMoreIsRefused) {
    const std::string fits(255, 'a');
    const std::string tooLong(256, 'b');
    {
        Game game;
        const LevelRun run = ReadLevelText(game, fits + "\n" + fits + "\n");
        EXPECT_TRUE(run.ok);
        EXPECT_EQ(fits, game._skyboxPath);
        EXPECT_EQ(fits, game._courseFile);
    }
    {
        Game game;
        const LevelRun run = ReadLevelText(game, tooLong + "\ncourses/default.txt\n");
        EXPECT_FALSE(run.ok);
        EXPECT_EQ(std::string(kHeader) + "  skybox path: ERROR\n", run.console);
        EXPECT_STREQ("", game._courseFile); // nothing spilled into the next field
    }
    {
        Game game;
        const LevelRun run = ReadLevelText(game, "skyboxes/day\n" + tooLong);
        EXPECT_FALSE(run.ok);
        EXPECT_EQ(std::string(kHeader) + "  skybox path: skyboxes/day\n  course filename: ERROR\n",
                  run.console);
    }
}

// The field is followed by a guard that must stay untouched whatever the token length.
TEST(LevelFile, TokenReaderNeverWritesPastItsField) {
    struct {
        char field[kLevelFieldSize];
        char guard[16];
    } memory;
    std::memset(memory.guard, 'G', sizeof memory.guard);
    for (size_t length : {254u, 255u, 256u, 300u, 5000u}) {
        std::istringstream in(std::string(length, 'x') + " next");
        const bool ok = ReadLevelToken(in, memory.field);
        EXPECT_EQ(length <= 255, ok) << length;
        EXPECT_LT(std::strlen(memory.field), kLevelFieldSize);
        EXPECT_EQ(std::string(16, 'G'), std::string(memory.guard, 16)) << length;
    }
}

TEST(LevelFile, TokensFromAStreamStopAtWhitespace) {
    char first[kLevelFieldSize];
    char second[kLevelFieldSize];
    std::istringstream in("\v\f a\tb");
    EXPECT_TRUE(ReadLevelToken(in, first));
    EXPECT_TRUE(ReadLevelToken(in, second));
    EXPECT_STREQ("a", first);
    EXPECT_STREQ("b", second);
    EXPECT_FALSE(ReadLevelToken(in, second));
    EXPECT_STREQ("", second);
}
