// The installed game: this build installed into a temporary prefix, and its launcher run from
// there as a player runs it.
#include <gtest/gtest.h>

#include <memory>

#include "GameRun.h"
#include "ToolRun.h"

namespace {
class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prefix = std::make_unique<TempDir>();
        install =
            RunTool(KESTRUN_CMAKE, {"--install", KESTRUN_BUILD_DIR, "--prefix", prefix->Path()});
    }
    static void TearDownTestSuite() { prefix.reset(); }
    void SetUp() override { ASSERT_EQ(0, install.exitStatus) << install.output; }
    static std::string Launcher() { return prefix->File("games/kestrun"); }

    static inline std::unique_ptr<TempDir> prefix;
    static inline ToolResult install;
};

// The width in a PNG's header, big-endian at byte 16.
uint32_t PngWidth(const std::string& bytes) {
    uint32_t width = 0;
    for (size_t i = 16; i < 20 && i < bytes.size(); ++i) {
        width = width << 8 | static_cast<uint8_t>(bytes[i]);
    }
    return width;
}
} // namespace

TEST_F(Installed, EveryFileWhereTheDesktopLooksForIt) {
    for (const char* file :
         {"games/kestrun-check-course", "games/kestrun-course", "lib/games/kestrun/kestrun",
          "share/games/kestrun/levels/default.txt", "share/applications/kestrun.desktop",
          "share/metainfo/org.kestrun.Kestrun.metainfo.xml", "share/man/man6/kestrun.6.gz",
          "share/man/man6/kestrun-check-course.6.gz", "share/man/man6/kestrun-course.6.gz"}) {
        EXPECT_FALSE(ReadFileBytes(prefix->File(file)).empty()) << file;
    }
    for (const std::string& file : GeneratedFiles()) {
        EXPECT_FALSE(ReadFileBytes(prefix->File("share/games/kestrun/" + file)).empty()) << file;
    }
    for (uint32_t size : {256, 128, 64, 48, 32, 16}) {
        const std::string square = std::to_string(size) + "x" + std::to_string(size);
        EXPECT_EQ(size, PngWidth(ReadFileBytes(
                            prefix->File("share/icons/hicolor/" + square + "/apps/kestrun.png"))));
    }
}

TEST_F(Installed, LauncherAnswersWithoutStartingTheGame) {
    const struct {
        std::vector<std::string> args;
        int status;
        std::string output;
    } kCases[] = {
        {{"--help"}, 0, "Usage: kestrun [LEVEL]"},
        {{"--version"}, 0, "kestrun " KESTRUN_VERSION "\n"},
        {{"no-such-level"}, 1, "kestrun: no level file 'no-such-level'"},
        {{"sunset", "default"}, 1, "Usage: kestrun [LEVEL]"},
    };
    for (const auto& c : kCases) {
        const ToolResult run = RunTool(Launcher(), c.args);
        EXPECT_EQ(c.status, run.exitStatus) << c.args[0];
        EXPECT_NE(std::string::npos, run.output.find(c.output)) << run.output;
    }
}

// The launcher starts the game in the installed data on a level by name, by its file in the
// data, or by a path of the player's own from the player's folder; "q" ends it with status 0.
TEST_F(Installed, LauncherStartsTheGameOnTheLevelNamed) {
    const struct {
        std::vector<std::string> args;
        std::string levelRead; // as the game reports it; "~" stands for the player's folder
    } kCases[] = {
        {{}, "levels/default.txt"},
        {{"sunset"}, "levels/sunset.txt"},
        {{"levels/figure-eight.txt"}, "levels/figure-eight.txt"},
        {{"mine/level.txt"}, "~/mine/level.txt"},
    };
    for (const auto& c : kCases) {
        GameRun game;
        game.WriteData("mine/level.txt", "skyboxes/sunset\ncourses/figure-eight.txt\n");
        std::string level = c.levelRead;
        if (level[0] == '~') {
            level = game.DataDir() + level.substr(1);
        }
        ASSERT_TRUE(game.StartX());
        ASSERT_TRUE(game.LaunchProgram(Launcher(), c.args));
        ASSERT_TRUE(game.FindWindow());
        EXPECT_TRUE(game.WaitForOutput("Reading level description file '" + level + "'"));
        ASSERT_TRUE(game.Focus());
        ASSERT_TRUE(game.Quit());
    }
}
