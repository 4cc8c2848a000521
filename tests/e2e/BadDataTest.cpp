// Start-up with a file of the built data missing or broken: the exact lines the game prints,
// whether it goes on, and, for the shader programs, the "Error" box a player has to dismiss.
#include <gtest/gtest.h>

#include "GameRun.h"
#include "StartupLines.h"
#include "View.h"

namespace {
const char* const kNoStartCells = "Course::BuildMarkers() - no start cells: both racers start at "
                                  "(128, 128), no race pole is drawn.\n";
const char* const kTerrainFailed = "World::Init - ERROR initializing terrain data\n";

class BadData : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(game.StartX());
        ASSERT_TRUE(game.UseBuiltData());
    }
    void TearDown() override { EndTestGame(game); }

    // The data folder's own file, as the test left it.
    std::string Data(const std::string& relative) const {
        return game.DataDir() + "/" + relative;
    }

    // Writes a level of the two words and returns its name.
    std::string Level(const std::string& skybox, const std::string& course) {
        return game.WriteData("levels/test.txt", skybox + "\n" + course + "\n");
    }

    // Everything the default level prints up to the terrain.
    std::string DefaultLinesUpToTerrain(const std::string& level) const {
        const LevelWords words = ReadLevelWords(Data(level));
        return LevelLines(level, words) + SkyboxLines(game.DataDir(), words.skybox) +
               CourseLines(Data(words.course), words.course);
    }

    GameRun game;
};
} // namespace

TEST_F(BadData, AMissingCourseEndsTheGameWithStatusOne) {
    const std::string level = Level("skyboxes/day", "courses/missing.txt");
    ASSERT_TRUE(game.Launch({level}));
    EXPECT_TRUE(game.WaitForExit().ExitedWith(1)) << game.Transcript();
    // The rest of the world is still set up (and prints its lines) before the game gives up.
    EXPECT_TRUE(SameLines(LevelLines(level, {"skyboxes/day", "courses/missing.txt"}) +
                              SkyboxLines(game.DataDir(), "skyboxes/day") +
                              "Reading course file 'courses/missing.txt'...\n"
                              "Course::Init() - ERROR opening file.\n"
                              "World: ERROR initializing course\n" +
                              TerrainLines(game.DataDir()) + kNoStartCells +
                              "Game: ERROR initializing world\n"
                              "Error Initializing game.\n",
                          game.Out()));
}

TEST_F(BadData, AMissingSkyBoxFolderLeavesTheSkyBlankAndTheGameRuns) {
    const std::string level = Level("skyboxes/none", "courses/default.txt");
    ASSERT_TRUE(game.Launch({level}));
    ASSERT_TRUE(game.OpenWindow()) << game.Transcript();
    Image shot;
    ASSERT_TRUE(game.WaitForFrames(&shot));
    std::string faces;
    for (const char* face : {"front", "back", "right", "left", "up", "down"}) {
        const std::string name = std::string("skyboxes/none/") + face + ".tif";
        faces += "loading TIFF texture: " + name + "\nError opening: " + name + "\n";
        // libtiff says why, on standard error.
        EXPECT_NE(std::string::npos, game.Err().find("TIFFOpen: " + name)) << game.Err();
    }
    EXPECT_TRUE(SameLines(LevelLines(level, {"skyboxes/none", "courses/default.txt"}) + faces +
                              "Generating Skybox...done!\n" +
                              CourseLines(Data("courses/default.txt"), "courses/default.txt") +
                              TerrainLines(game.DataDir()),
                          game.Out()));
    for (const ViewMeasure& view : {MeasureTop(shot), MeasureBottom(shot)}) {
        EXPECT_LT(view.sky, view.BandPixels(SkyBand(view.width, view.height)) / 20)
            << view.Describe();
        EXPECT_GT(view.ground, view.BandPixels(LowBand(view.width, view.height)) / 2)
            << view.Describe();
        EXPECT_GT(view.posts, 0) << view.Describe();
    }
}

TEST_F(BadData, AMissingHeightFileLeavesOutTerrainAndMarkersAndTheGameRuns) {
    game.RemoveData("terrain_data/terrain1.raw");
    ASSERT_TRUE(game.Launch({"levels/default.txt"}));
    ASSERT_TRUE(game.OpenWindow()) << game.Transcript();
    Image shot;
    ASSERT_TRUE(game.WaitForFrames(&shot));
    // No terrain means no terrain textures, markers or shader programs either.
    EXPECT_TRUE(
        SameLines(DefaultLinesUpToTerrain("levels/default.txt") + kTerrainFailed, game.Out()));
    for (const ViewMeasure& view : {MeasureTop(shot), MeasureBottom(shot)}) {
        EXPECT_GT(view.sky, view.BandPixels(SkyBand(view.width, view.height)) / 3)
            << view.Describe();
        // Below the horizon only the sky box's floor: no grass, no road, no post.
        EXPECT_EQ(0, view.ground) << view.Describe();
        EXPECT_EQ(0, view.posts) << view.Describe();
    }
}

namespace {
struct ShaderFault {
    const char* name;
    const char* file;
    const char* contents; // nullptr: the file is missing
    const char* line;     // printed, without a line end, before the box shows
};

std::ostream& operator<<(std::ostream& out, const ShaderFault& fault) {
    return out << fault.name;
}

class BadShader : public BadData, public ::testing::WithParamInterface<ShaderFault> {};
} // namespace

TEST_P(BadShader, ShowsAnErrorBoxAndTheGameGoesOnWhenItIsDismissed) {
    const ShaderFault fault = GetParam();
    if (fault.contents) {
        game.WriteData(fault.file, fault.contents);
    } else {
        game.RemoveData(fault.file);
    }
    ASSERT_TRUE(game.Launch({"levels/default.txt"}));
    std::string box;
    ASSERT_TRUE(game.FindDialog("Error", &box)) << game.Transcript();
    const std::string upToShaders =
        DefaultLinesUpToTerrain("levels/default.txt") + TerrainLines(game.DataDir());
    // The line is on the console while the box waits for the player.
    EXPECT_TRUE(SameLines(upToShaders + fault.line, game.Out()));
    ASSERT_TRUE(game.DismissDialog(box));
    ASSERT_TRUE(game.OpenWindow()) << game.Transcript();
    Image shot;
    ASSERT_TRUE(game.WaitForFrames(&shot));
    EXPECT_TRUE(SameLines(upToShaders + fault.line + kTerrainFailed, game.Out()));
    EXPECT_NE(std::string::npos, game.Err().find(fault.file)) << game.Err();
    // The markers are still drawn after the terrain.
    EXPECT_GT(MeasureTop(shot).posts, 0) << MeasureTop(shot).Describe();
}

INSTANTIATE_TEST_SUITE_P(
    Programs, BadShader,
    ::testing::Values(
        ShaderFault{"MissingVertexProgram", "Cg/Wave.cg", nullptr, "VERTEX SHADER ERROR"},
        ShaderFault{"BrokenVertexProgram", "Cg/Wave.cg", "void main() { not a program }\n",
                    "VERTEX SHADER ERROR"},
        ShaderFault{"MissingFragmentProgram", "Cg/Frag.cg", nullptr, "PIXEL SHADER ERROR"},
        ShaderFault{"BrokenFragmentProgram", "Cg/Frag.cg", "void main() { gl_FragColor = 1 }\n",
                    "PIXEL SHADER ERROR"}),
    [](const ::testing::TestParamInfo<ShaderFault>& info) { return info.param.name; });
