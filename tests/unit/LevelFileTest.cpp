#include <gtest/gtest.h>

#include <string>

#include "ConsoleCapture.h"
#include "TempDir.h"
#include "app/Game.h"

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

const std::string kHeader = "Reading level description file 'level.txt'...\n";
const std::string kBothRead = kHeader + "  skybox path: skyboxes/day\n"
                                        "  course filename: courses/default.txt\n";
const std::string kNoSkyBox = kHeader + "  skybox path: ERROR\n";
const std::string kNoCourse = kHeader + "  skybox path: skyboxes/day\n  course filename: ERROR\n";
} // namespace

// Two tokens on any lines, the last one possibly ending the file; a third is never read.
TEST(LevelFile, TwoTokensWhateverTheLayoutAndFailsWithoutThem) {
    const struct {
        const char* text;
        bool ok;
        const std::string& console;
    } cases[] = {
        {"skyboxes/day\ncourses/default.txt\n", true, kBothRead},
        {"  skyboxes/day   courses/default.txt\n", true, kBothRead},
        {"\tskyboxes/day\r\n\r\ncourses/default.txt\r\n", true, kBothRead},
        {"skyboxes/day\ncourses/default.txt\nsomething else\n", true, kBothRead},
        {"skyboxes/day\ncourses/default.txt", true, kBothRead},
        {"", false, kNoSkyBox},
        {" \n\t\n", false, kNoSkyBox},
        {"skyboxes/day\n", false, kNoCourse},
        {"skyboxes/day", false, kNoCourse},
    };
    for (const auto& c : cases) {
        Game game;
        const LevelRun run = ReadLevelText(game, c.text);
        EXPECT_EQ(c.ok, run.ok) << c.text;
        EXPECT_EQ(c.console, run.console) << c.text;
        if (c.ok) {
            EXPECT_STREQ("skyboxes/day", game._skyboxPath) << c.text;
            EXPECT_STREQ("courses/default.txt", game._courseFile) << c.text;
        }
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
        EXPECT_EQ(kNoSkyBox, run.console);
        EXPECT_STREQ("", game._courseFile); // nothing spilled into the next field
    }
    {
        Game game;
        const LevelRun run = ReadLevelText(game, "skyboxes/day\n" + tooLong);
        EXPECT_FALSE(run.ok);
        EXPECT_EQ(kNoCourse, run.console);
    }
}
