// The game window as a player meets it: title, quitting, snapshot, resizing and the menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "GameRun.h"
#include "View.h"

namespace {
// The game on the default level, its window focused for keys and drawing frames.
class GameWindow : public RunningGame<> {
protected:
    // Resizes the window and waits until both halves are drawn at the new size.
    void ResizeAndWait(int width, int height, Image* shot) {
        ASSERT_TRUE(game.Resize(width, height));
        WaitForSize(width, height, shot);
    }
    void WaitForSize(int width, int height, Image* shot) {
        ASSERT_TRUE(game.WaitForShot(
            shot,
            [&](const Image& image) {
                return image.Width() == width && image.Height() == height &&
                       ShowsHudInBothHalves(image);
            },
            "both halves at " + std::to_string(width) + " x " + std::to_string(height)));
    }
};

// Every file and folder under dir, with its size, in order.
std::vector<std::string> FilesUnder(const std::string& dir) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        std::error_code ignored;
        files.push_back(
            entry.path().string() + " " +
            std::to_string(entry.is_regular_file(ignored) ? entry.file_size(ignored) : 0));
    }
    std::sort(files.begin(), files.end());
    return files;
}

const char* const kStartLines = "Reading level description file 'levels/default.txt'...\n"
                                "  skybox path: skyboxes/day\n"
                                "  course filename: courses/default.txt\n";
} // namespace

TEST_F(GameWindow, OpensWithItsTitleAfterReadingTheLevel) {
    EXPECT_EQ(0u, game.Out().find(kStartLines)) << game.Transcript();
    Rect rect;
    ASSERT_TRUE(game.Geometry(&rect));
    EXPECT_EQ(640, rect.width);
    EXPECT_EQ(480, rect.height);
    EXPECT_EQ(640, start.Width());
    EXPECT_EQ(480, start.Height());
    ExpectSceneInBothHalves(start);
}

// The q key, the Escape key and the menu's quit entry.
class GameWindowQuit : public GameWindow, public ::testing::WithParamInterface<std::string> {};

TEST_P(GameWindowQuit, EndsWithStatusZero) {
    ASSERT_TRUE(GetParam() == "Menu" ? game.ChooseMenuEntry(7, 8) : game.Key(GetParam()));
    EXPECT_TRUE(game.WaitForExit().ExitedWith(0)) << game.Transcript();
}

INSTANTIATE_TEST_SUITE_P(Ways, GameWindowQuit, ::testing::Values("q", "Escape", "Menu"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

TEST_F(GameWindow, UpperCaseQDoesNotQuit) {
    ASSERT_TRUE(game.Key("shift+q"));
    ASSERT_TRUE(game.Key("c")); // a key that answers, to know the Q has been handled
    ASSERT_TRUE(game.WaitForOutput("Saving screen snapshot to: snapshot.jpg"));
    EXPECT_TRUE(game.GameRunning()) << game.Transcript();
}

TEST_F(GameWindow, CKeyReportsTheSnapshotAndWritesNothing) {
    const std::string before = game.Out();
    const std::vector<std::string> filesBefore = FilesUnder(game.DataDir());
    ASSERT_TRUE(game.Key("c"));
    ASSERT_TRUE(game.WaitForOutput("Game::_CaptureImage() needs 'libvornel'"));
    // The two snapshot lines come once, after what was there.
    EXPECT_EQ(before + "Saving screen snapshot to: snapshot.jpg\n"
                       "Game::_CaptureImage() needs 'libvornel'\n",
              game.Out());
    EXPECT_TRUE(game.GameRunning());
    // Nothing is written in the working folder.
    EXPECT_EQ(filesBefore, FilesUnder(game.DataDir()));
    EXPECT_FALSE(std::filesystem::exists(game.DataDir() + "/snapshot.jpg"));
}

TEST_F(GameWindow, ResizesToAnOddHeightLeavingTheTopRowToNeitherHalf) {
    Image shot;
    ResizeAndWait(800, 601, &shot);
    ExpectSceneInBothHalves(shot);
    // Each half is 300 rows; the top row stays as the clear left it, right of the heads-up
    // line's glyphs (which may reach above their half).
    const Rect topRow = {320, 0, 480, 1};
    EXPECT_EQ(480, shot.Count(topRow, [](const Rgb& p) { return p == Rgb{0, 0, 0}; }));
    EXPECT_GT(shot.Stats({320, 1, 480, 1}).Brightness(), 20.0);
    EXPECT_EQ(std::string::npos, game.Out().find("bad window size")) << game.Transcript();
}

TEST_F(GameWindow, ResizesToAWideWindow) {
    Image shot;
    ResizeAndWait(1280, 720, &shot);
    ExpectSceneInBothHalves(shot);
    EXPECT_EQ(std::string::npos, game.Out().find("bad window size")) << game.Transcript();
}

TEST_F(GameWindow, RefusesAWindowTooNarrowAndKeepsGoing) {
    ASSERT_TRUE(game.Resize(5, 400));
    ASSERT_TRUE(game.WaitForOutput("Game::Reshape - bad window size: 5, 400\n"));
    EXPECT_TRUE(game.GameRunning());
    Image shot;
    ResizeAndWait(640, 480, &shot);
    ExpectSceneInBothHalves(shot);
}

TEST_F(GameWindow, MenuSnapshotEntryActsLikeTheCKey) {
    ASSERT_TRUE(game.ChooseMenuEntry(5, 8));
    ASSERT_TRUE(game.WaitForOutput("Game::_CaptureImage() needs 'libvornel'"));
    EXPECT_TRUE(game.GameRunning());
}

// F11 covers the screen, both halves following; F11 again gives the window back its size and
// place.
TEST_F(GameWindow, F11CoversTheScreenAndGivesTheWindowBack) {
    ASSERT_TRUE(game.PlaceWindow(100, 50));
    Image shot;
    ASSERT_TRUE(game.Key("F11"));
    WaitForSize(1280, 1024, &shot);
    ExpectSceneInBothHalves(shot);
    Rect r;
    auto place = [&r] { return std::vector<int>{r.x, r.y, r.width, r.height}; };
    ASSERT_TRUE(game.Geometry(&r));
    EXPECT_EQ((std::vector<int>{0, 0, 1280, 1024}), place());
    ASSERT_TRUE(game.Key("F11"));
    WaitForSize(640, 480, &shot);
    ASSERT_TRUE(game.Geometry(&r));
    EXPECT_EQ((std::vector<int>{100, 50, 640, 480}), place());
    EXPECT_EQ(std::string::npos, game.Out().find("bad window size")) << game.Transcript();
}

// A course chosen in the Course submenu (default, figure-eight, sunset: the run has no own levels)
// starts again in the window it left, or covering the screen, F11 then giving that window back.
TEST_F(GameWindow, ACourseFromTheMenuComesBackInTheWindowItLeft) {
    ASSERT_TRUE(game.PlaceWindow(100, 50));
    Image shot;
    ResizeAndWait(800, 600, &shot);
    const auto standsAt = [&](Rect window) {
        WaitForSize(window.width, window.height, &shot);
        Rect r;
        ASSERT_TRUE(game.Geometry(&r) && game.Focus());
        EXPECT_EQ((std::vector<int>{window.x, window.y}), (std::vector<int>{r.x, r.y}));
    };
    const auto comesBack = [&](int entry, const std::string& level, Rect window) {
        ASSERT_TRUE(game.ChooseMenuEntry(8, 8, entry, 3));
        ASSERT_TRUE(game.WaitForOutput("Reading level description file '" + level + "'"));
        ASSERT_TRUE(game.FindWindow());
        standsAt(window);
        const std::string shown =
            game.RunX({"xdotool", "search", "--name", std::string("^") + kGameTitle + "$"}).out;
        EXPECT_EQ(1, std::count(shown.begin(), shown.end(), '\n'));  // the old one went
    };
    comesBack(3, "levels/sunset.txt", {100, 50, 800, 600});
    ASSERT_TRUE(game.Key("F11"));
    WaitForSize(1280, 1024, &shot);
    comesBack(2, "levels/figure-eight.txt", {0, 0, 1280, 1024});
    ASSERT_TRUE(game.Key("F11"));
    standsAt({100, 50, 800, 600});
    const auto played = std::filesystem::canonical(game.DataDir() + "/levels/figure-eight.txt");
    EXPECT_EQ(played.string() + "\n", ReadFileBytes(game.PlayerFile("state/kestrun/last-level")));
}
