// The installed game: this build installed into a temporary prefix, and its launcher run from
// there as a player runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "GameRun.h"
#include "ScopedEnv.h"
#include "ToolRun.h"

namespace fs = std::filesystem;

namespace {
class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prefix = std::make_unique<TempDir>();
        install =
            RunTool(KESTRUN_CMAKE, {"--install", KESTRUN_BUILD_DIR, "--prefix", prefix->Path()});
        // The launcher and the game read the settings file of the test's own, not the player's.
        config = std::make_unique<ScopedEnv>("XDG_CONFIG_HOME", prefix->File("config").c_str());
    }
    static void TearDownTestSuite() {
        config.reset();
        prefix.reset();
    }
    void SetUp() override { ASSERT_EQ(0, install.exitStatus) << install.output; }
    static std::string Launcher() { return prefix->File("games/kestrun"); }
    // A course of the player's: the README's example drawing, made a course by the installed
    // course tool.
    static std::string PlayersCourse() {
        const std::string course = prefix->File("mine.txt");
        const ToolResult run = RunTool(prefix->File("games/kestrun-course"),
                                       {"from-image", KESTRUN_SOURCE_DIR "/docs/courses/example-track.png", course});
        EXPECT_EQ(0, run.exitStatus) << run.output;
        // games/ is not on the PATH here: the launcher is named by its path.
        EXPECT_TRUE(Contains(run.output, "(play it with: " +
                                             fs::canonical(prefix->File("games/kestrun")).string() +
                                             " " + prefix->File("mine-level.txt") + ")"))
            << run.output;
        return ReadFileBytes(course);
    }

    static inline std::unique_ptr<TempDir> prefix;
    static inline std::unique_ptr<ScopedEnv> config;
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

// Each test binary also runs whole, among the tests that `./test --quick` runs too, so that a
// test that passes only alone or only after another fails every run of the suite.
TEST(TestSuite, EveryTestBinaryRunsWholeUnderTheQuickLabels) {
    const ToolResult listed = RunTool(
        KESTRUN_CTEST, {"--test-dir", KESTRUN_BUILD_DIR, "-N", "-L", "^(unit|gl|tools|e2e)$"});
    ASSERT_EQ(0, listed.exitStatus) << listed.output;
    for (const char* binary : {"unit", "gl", "platform", "tools", "e2e"}) {
        EXPECT_TRUE(Contains(listed.output, std::string(" ") + binary + ".WholeBinary\n"))
            << binary << "\n" << listed.output;
    }
}

// The shared libraries a program asks for, as readelf lists them.
std::vector<std::string> NeededLibraries(const std::string& program) {
    const ToolResult dump = RunTool("readelf", {"-d", "-W", program});
    EXPECT_EQ(0, dump.exitStatus) << dump.output;
    std::vector<std::string> needed;
    std::istringstream lines(dump.output);
    for (std::string line; std::getline(lines, line);) {
        const size_t open = line.find("(NEEDED)");
        const size_t from = line.find('[', open);
        if (open != std::string::npos && from != std::string::npos) {
            needed.push_back(line.substr(from + 1, line.find(']', from) - from - 1));
        }
    }
    return needed;
}

// The window, GL and sound libraries: the game needs them, its tools do not, so that a course
// can be checked, drawn or given its ground on a machine without a display or sound.
bool IsWindowOrSoundLibrary(const std::string& library) {
    for (const char* prefix : {"libGL.", "libGLU.", "libGLX.", "libOpenGL.", "libEGL.", "libglut.",
                               "libX11.", "libxcb.", "libSDL2"}) {
        if (library.rfind(prefix, 0) == 0) {
            return true;
        }
    }
    return false;
}

TEST_F(Installed, ToolsNeedNoWindowGLOrSoundLibrary) {
    const std::vector<std::string> game = NeededLibraries(prefix->File("lib/games/kestrun/kestrun"));
    EXPECT_GE(std::count_if(game.begin(), game.end(), IsWindowOrSoundLibrary), 5)
        << "the game itself, read the same way, needs GL, GLU, GLUT, X11 and SDL";
    for (const char* tool : {"games/kestrun-check-course", "games/kestrun-course",
                             "lib/games/kestrun/kestrun-assets",
                             "lib/games/kestrun/kestrun-settings"}) {
        const std::vector<std::string> needed = NeededLibraries(prefix->File(tool));
        EXPECT_FALSE(needed.empty()) << tool;
        for (const std::string& library : needed) {
            EXPECT_FALSE(IsWindowOrSoundLibrary(library)) << tool << " needs " << library;
        }
    }
}

TEST_F(Installed, LauncherAnswersWithoutStartingTheGame) {
    const std::string kUsage = "Usage: kestrun [--volume N | --mute] [--fullscreen] [LEVEL]\n"
                               "       kestrun --settings\n";
    const std::string settings = prefix->Write("config/kestrun/settings", "racer1.accelerate = z\n"
                                               "# quieter\nvolume = 50\nmax_fps = 30\n");
    const std::string wrong = prefix->Write("wrong.txt", "skyboxes/day\ncourses/nosuch.txt\n");
    const std::string crlf = prefix->Write("crlf.txt", "skyboxes/day\r\ncourses/nosuch.txt\r\n");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string output;
    } kCases[] = {
        {{"--help"}, 0, kUsage},
        {{"--version"}, 0, "kestrun " KESTRUN_VERSION "\n"},
        {{"no-such-level"}, 1, "kestrun: no level file 'no-such-level'"},
        {{"sunset", "default"}, 1,
         "kestrun: one level at a time: 'sunset' and 'default' were both given\n" + kUsage},
        {{"--volume", "101", "sunset"}, 1, "kestrun: --volume takes a whole number from 0 to 100, not '101'"},
        {{"--volume"}, 1, "kestrun: --volume takes a whole number from 0 to 100, not ''"},
        {{"--volume=+5"}, 1, "kestrun: --volume takes a whole number from 0 to 100, not '+5'"},
        {{"-x"}, 1, "kestrun: unknown option '-x'\n" + kUsage},
        // The game starts and stops on the missing course; the launcher has said where it looked.
        {{wrong}, 1, "kestrun: the level " + wrong + " names the course courses/nosuch.txt, which is "
                     "not in the data folder " + fs::canonical(prefix->File("share/games/kestrun")).string()},
        {{crlf}, 1, "names the course courses/nosuch.txt, which is not in the data folder"},
        // What the game will use: the file's, the launcher's options (through the environment)
        // over the file's, and the defaults.
        {{"--settings"}, 0, "# settings file: " + settings + "\n"
                             "racer1.accelerate = z     # the file, line 1\n"
                             "racer1.hold       = s     # default\n"},
        {{"--fullscreen", "--volume", "35", "--settings"}, 0,
         "volume            = 35    # KESTRUN_VOLUME\n"
         "fullscreen        = yes   # KESTRUN_FULLSCREEN\n"
         "max_fps           = 30    # the file, line 4\n"},
    };
    for (const auto& c : kCases) {
        const ToolResult run = RunTool(Launcher(), c.args);
        EXPECT_EQ(c.status, run.exitStatus) << c.args[0];
        EXPECT_NE(std::string::npos, run.output.find(c.output)) << run.output;
    }
    // What --settings shows, saved as the settings file, reads back without a problem.
    prefix->Write("config/kestrun/settings", RunTool(Launcher(), {"--settings"}).output);
    const std::string again = RunTool(Launcher(), {"--settings"}).output;
    EXPECT_TRUE(!Contains(again, "kestrun:") &&
                Contains(again, "max_fps           = 30    # the file, line 12\n")) << again;
}

// The launcher starts the game in the installed data on a level by name, by its file in the
// data, or by a path of the player's own from the player's folder; "q" ends it with status 0.
// A shipped course runs on its own ground folder, any other on a folder in the player's cache,
// made once for each content of the course and never left half made.
TEST_F(Installed, LauncherStartsTheGameOnTheLevelNamed) {
    TempDir cache;
    const std::string notAFolder = cache.Write("file", ""), mine = PlayersCourse();
    const std::string killed = "kestrun: cannot make the ground for ";
    const struct {
        std::vector<std::string> args;
        std::string levelRead; // as the game reports it; "~" stands for the player's folder
        std::string folder = "";  // where the game runs, in the data folder or "~" the cache
        std::string course = "";  // mine/course.txt, the player's course
        long grounds = 0;         // folders in the cache after the run
        std::string line = "";    // the launcher's, on the generator killed or the cache a file
        std::string volume = "";  // KESTRUN_VOLUME as the game has it ("" not set)
        std::string fullscreen = "";  // KESTRUN_FULLSCREEN: "yes" covers the screen
        std::string kept = "";        // the level played last before the run; "@" the data folder
    } kCases[] = {
        {{}, "levels/default.txt"},
        {{"sunset"}, "levels/sunset.txt"},
        {{"--volume", "35", "sunset"}, "levels/sunset.txt", "", "", 0, "", "35"},
        {{"sunset", "--mute"}, "levels/sunset.txt", "", "", 0, "", "0"},
        {{"--volume=007"}, "levels/default.txt", "", "", 0, "", "7"},  // as the game reads it
        {{"--fullscreen", "sunset"}, "levels/sunset.txt", "", "", 0, "", "", "yes"},
        {{"levels/figure-eight.txt"}, "levels/figure-eight.txt", "grounds/figure-eight"},
        {{"mine/level.txt"}, "~/mine/level.txt", "grounds/figure-eight"},
        {{"mine/own.txt"}, "~/mine/own.txt", "~", mine, 1},
        {{"mine/own.txt"}, "~/mine/own.txt", "~", mine, 1},
        {{"mine/own.txt"}, "~/mine/own.txt", "~", mine + "\n", 2},
        {{"mine/own.txt"}, "~/mine/own.txt", "", mine + " ", 2, killed},
        {{"mine/own.txt"}, "~/mine/own.txt", "", mine, 2,
         "kestrun: cannot write the cache folder " + notAFolder + "/kestrun;"},
        {{}, "levels/sunset.txt", "", "", 2, "", "", "", "@/levels/sunset.txt"},
        {{}, "~/mine/level.txt", "grounds/figure-eight", "", 2, "", "", "", "~/mine/level.txt"},
        {{}, "levels/default.txt", "", "", 2, "kestrun: the level played last, /gone.txt, cannot "
         "be played now (it or its course is gone); the default level starts", "", "", "/gone.txt"},
    };
    const fs::path data = fs::canonical(prefix->File("share/games/kestrun"));
    const std::string generator = prefix->File("lib/games/kestrun/kestrun-assets");
    fs::create_directories(cache.File("kestrun"));
    std::map<std::string, fs::file_time_type> made;
    for (const auto& c : kCases) {
        GameRun game;
        game.WriteData("mine/level.txt", "skyboxes/sunset\ncourses/figure-eight.txt\n");
        const std::string course = game.DataDir() + "/mine/course.txt";
        game.WriteData("mine/own.txt", "skyboxes/day\n" + course + "\n");
        game.WriteData("mine/course.txt", c.course);
        std::string level = c.levelRead;
        if (level[0] == '~') {
            level = game.DataDir() + level.substr(1);
        }
        if (!c.kept.empty()) {
            const std::string kept = c.kept[0] == '~' ? game.DataDir() + c.kept.substr(1)
                                     : c.kept[0] == '@' ? data.string() + c.kept.substr(1) : c.kept;
            fs::create_directories(game.PlayerFile("state/kestrun"));
            std::ofstream(game.PlayerFile("state/kestrun/last-level")) << kept << "\n";
        }
        if (c.line == killed) {  // a generator that writes part of a file and is killed
            fs::rename(generator, generator + ".real");
            prefix->Write("lib/games/kestrun/kestrun-assets",
                          "#!/bin/sh\nhead -c 99 \"$3\" >\"$2/terrain1.raw\"; kill -KILL $$\n");
            fs::permissions(generator, fs::perms::owner_exec, fs::perm_options::add);
        }
        ASSERT_TRUE(game.StartX());
        const std::string home = c.line.empty() || c.line == killed ? cache.Path() : notAFolder;
        const bool started =
            game.LaunchProgram(Launcher(), c.args, {{"XDG_CACHE_HOME", home}}) && game.FindWindow();
        if (c.line == killed) {
            fs::rename(generator + ".real", generator);
        }
        ASSERT_TRUE(started) << game.Transcript();
        EXPECT_TRUE(game.WaitForOutput("Reading level description file '" + level + "'"));
        const fs::path folder = fs::read_symlink("/proc/" + std::to_string(game.GamePid()) + "/cwd");
        EXPECT_EQ(c.folder == "~" ? fs::canonical(cache.File("kestrun")) / folder.filename()
                                  : c.folder.empty() ? data : data / c.folder, folder);
        if (c.folder == "~") {
            const auto time = fs::last_write_time(folder / "terrain_data/terrain1.raw");
            EXPECT_EQ(time, made.emplace(folder.string(), time).first->second) << "made again";
            const ToolResult check = RunTool(KESTRUN_CHECK_TOOL, {"--data", folder, course});
            EXPECT_EQ(0, check.exitStatus) << check.output;
        }
        const fs::directory_iterator grounds(cache.File("kestrun"));
        EXPECT_EQ(c.grounds, std::distance(grounds, fs::directory_iterator()));
        EXPECT_NE(std::string::npos, game.Err().find(c.line)) << game.Transcript();
        const std::string environ =
            '\0' + ReadFileBytes("/proc/" + std::to_string(game.GamePid()) + "/environ");
        auto variable = [&environ](const std::string& name) -> std::string {
            const size_t set = environ.find('\0' + name + '=');
            const size_t from = set + name.size() + 2;
            return set == std::string::npos ? ""
                                            : environ.substr(from, environ.find('\0', from) - from);
        };
        EXPECT_EQ(c.volume, variable("KESTRUN_VOLUME"));
        EXPECT_EQ(c.fullscreen, variable("KESTRUN_FULLSCREEN"));
        if (!c.fullscreen.empty()) {
            Image shot;
            EXPECT_TRUE(game.WaitForShot(&shot, [](const Image& window) {
                return window.Width() == 1280 && window.Height() == 1024;
            }, "the window covering the screen"));
        }
        EXPECT_EQ(fs::canonical(Launcher()).string(), variable("KESTRUN_LAUNCHER"));
        ASSERT_TRUE(game.Focus());
        ASSERT_TRUE(game.Quit());
        EXPECT_EQ(fs::canonical(folder / level).string() + "\n",
                  ReadFileBytes(game.PlayerFile("state/kestrun/last-level")));
    }
}

// A course chosen in the menu of a game the launcher started runs on its ground through it.
TEST_F(Installed, ACourseChosenInTheMenuStartsThroughTheLauncher) {
    GameRun game;
    Image shot;
    ASSERT_TRUE(game.StartX() && game.LaunchProgram(Launcher(), {"sunset"}) && game.OpenWindow() &&
                game.WaitForFrames(&shot)) << game.Transcript();
    ASSERT_TRUE(game.ChooseMenuEntry(8, 8, 2, 3));
    ASSERT_TRUE(game.WaitForOutput("Reading level description file 'levels/figure-eight.txt'"));
    EXPECT_EQ(fs::canonical(prefix->File("share/games/kestrun/grounds/figure-eight")),
              fs::read_symlink("/proc/" + std::to_string(game.GamePid()) + "/cwd"));
    ASSERT_TRUE(game.FindWindow() && game.Focus() && game.Quit());
}

// The installed launcher and checker beside a stand-in game that prints the folder it runs in:
// the player's course keeps its ground while neither it nor the generator changes, gets a new
// one when the generator does, and keeps using the one made when the cache cannot be written.
// A course of the player's named like a shipped one gets a ground of its own too.
// As root, a cache the player cannot write is another user's: the launcher runs as user 65534.
TEST_F(Installed, LauncherKeepsAGroundForEachGeneratorAndUsesItFromACacheItCannotWrite) {
    TempDir stand, cache;
    fs::create_directories(stand.File("games"));
    fs::create_directories(stand.File("share/games"));
    fs::copy_file(Launcher(), stand.File("games/kestrun"));
    fs::copy_file(prefix->File("games/kestrun-check-course"),
                  stand.File("games/kestrun-check-course"));
    fs::create_directory_symlink(prefix->File("share/games/kestrun"),
                                 stand.File("share/games/kestrun"));
    fs::permissions(stand.Write("lib/games/kestrun/kestrun", "#!/bin/sh\npwd -P\n"),
                    fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add);
    const std::string generator = stand.File("lib/games/kestrun/kestrun-assets");
    fs::copy_file(prefix->File("lib/games/kestrun/kestrun-assets"), generator);
    const std::string course = stand.Write("course.txt", PlayersCourse());
    const std::string level = stand.Write("level.txt", "skyboxes/day\n" + course + "\n");
    // The folder the game ran in on a level, the last line of the output.
    const auto folderOf = [&](std::vector<std::string> runAs, const std::string& played) {
        runAs.insert(runAs.end(), {"env", "XDG_CACHE_HOME=" + cache.Path(),
                                   stand.File("games/kestrun"), played});
        const ToolResult run = RunTool(runAs[0], {runAs.begin() + 1, runAs.end()});
        EXPECT_EQ(0, run.exitStatus) << run.output;
        const size_t end = run.output.find_last_not_of('\n');
        return run.output.substr(run.output.rfind('\n', end) + 1, end - run.output.rfind('\n', end));
    };
    const std::string first = folderOf({}, level);
    EXPECT_EQ(fs::canonical(cache.File("kestrun")), fs::path(first).parent_path());
    EXPECT_EQ(first, folderOf({}, level));
    const std::string namesake = stand.Write("x/figure-eight.txt", ReadFileBytes(course));
    const fs::path own =
        folderOf({}, stand.Write("x/level.txt", "skyboxes/day\n" + namesake + "\n"));
    EXPECT_EQ(fs::canonical(cache.File("kestrun")), own.parent_path());
    EXPECT_EQ(0u, own.filename().string().rfind("figure-eight-", 0)) << own;
    std::ofstream(generator, std::ios::app) << '\n';  // another build of the generator
    const std::string second = folderOf({}, level);
    EXPECT_NE(first, second);
    EXPECT_TRUE(fs::exists(fs::path(second) / "terrain_data/terrain1.raw")) << second;

    std::vector<std::string> player;
    if (geteuid() == 0) {
        player = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
        for (const fs::path& folder : {fs::path(stand.Path()), fs::path(cache.Path()),
                                       fs::path(prefix->Path()), fs::path(second)}) {
            fs::permissions(folder, fs::perms::others_read | fs::perms::others_exec,
                            fs::perm_options::add);
        }
        const ToolResult probe = RunTool(player[0], {player[1], player[2], player[3], "test",
                                                     "-r", level, "-a", "-x", second});
        if (probe.exitStatus != 0) {
            GTEST_SKIP() << "running as root, and user 65534 (through setpriv) cannot reach the "
                            "test's folders here: no cache this test can make unwritable ("
                         << probe.output << ")";
        }
    }
    const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(cache.File("kestrun"), write, fs::perm_options::remove);
    EXPECT_EQ(second, folderOf(player, level));
    fs::permissions(cache.File("kestrun"), fs::perms::owner_write, fs::perm_options::add);
}
