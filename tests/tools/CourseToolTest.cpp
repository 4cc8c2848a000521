// The course tool: a drawn track becomes a course the checker calls sound, a course's picture
// shows each cell's class and reads back as the same course, bad input writes nothing, and the
// pictures in docs/ are what the tool draws now.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "Png.h"
#include "ScopedEnv.h"
#include "TempDir.h"
#include "TestCourses.h"
#include "ToolRun.h"
#include "course/CourseRules.h"

namespace {
// The red, green and blue of a pixel as 0xRRGGBB.
uint32_t Rgb(const Picture& picture, uint32_t column, uint32_t row) {
    const uint8_t* p = picture.At(column, row);
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

void Fill(Picture& picture, uint32_t c0, uint32_t r0, uint32_t c1, uint32_t r1, uint32_t rgb,
          uint8_t alpha = 255) {
    for (uint32_t r = r0; r < r1; ++r) {
        for (uint32_t c = c0; c < c1; ++c) {
            uint8_t* p = picture.At(c, r);
            p[0] = rgb >> 16, p[1] = rgb >> 8 & 0xff, p[2] = rgb & 0xff, p[3] = alpha;
        }
    }
}

// Pictures go through the tool's own libpng reader and writer.
Picture Decode(const std::string& path) {
    Picture picture;
    std::string error;
    EXPECT_TRUE(ReadPng(path, picture, error)) << path << ": " << error;
    return picture;
}

std::string Encode(const Picture& picture, const std::string& path) {
    std::string error;
    EXPECT_TRUE(WritePng(path, picture, error)) << error;
    return path;
}

// A square ring of track `track` pixels wide in a 320 x 320 picture (5 pixels a cell on the
// 64 grid), light on dark, both with noise, and a red stroke across its top stretch from
// `strokeTop` to `strokeBottom` (rows from the track's top edge; by default 5 pixels past it).
struct Ring {
    int track = 30;
    int strokeTop = -5;
    int strokeBottom = 35;
    int strokeLeft = 158;
    bool cut = false;     // a dark gap across the bottom stretch
    int strokeWidth = 9;  // on three columns of cells
    bool edge = false;    // light along the picture's top edge, which stays blocked
    bool paper = false;   // the colours swapped: a dark track on light paper
    bool notch = false;   // ground beside the middle of the stroke, on its left
    bool frame = false;   // light all round the picture's edge too: still less than half of it
    bool flicks = false;  // a red cell beyond each end of the stroke, meeting it at a corner
    bool clear = false;   // the ground transparent white instead of dark green
};

Picture DrawRing(const Ring& ring) {
    Picture picture(320, 320);
    const uint32_t ground = ring.clear ? 0xffffff : ring.paper ? 0xf0f0f0 : 0x305020;
    const uint8_t groundAlpha = ring.clear ? 0 : 255;
    const uint32_t track = ring.paper ? 0x202020 : 0xe0d0b0;
    Fill(picture, 0, 0, 320, 320, ring.frame ? track : ground, ring.frame ? 255 : groundAlpha);
    Fill(picture, 3, 3, 317, 317, ground, groundAlpha);
    Fill(picture, 40, 40, 280, 280, track);
    Fill(picture, 40 + ring.track, 40 + ring.track, 280 - ring.track, 280 - ring.track, ground,
         groundAlpha);
    if (ring.cut) {
        Fill(picture, 100, 200, 110, 320, 0x305020);
    }
    if (ring.edge) {
        Fill(picture, 0, 0, 320, 3, 0xe0d0b0);
    }
    if (ring.notch) {
        Fill(picture, ring.strokeLeft - 8, 50, ring.strokeLeft, 60, ground);
    }
    Fill(picture, ring.strokeLeft, 40 + ring.strokeTop, ring.strokeLeft + ring.strokeWidth,
                 40 + ring.strokeBottom, 0xd02020);
    if (ring.flicks) {
        const uint32_t top = 40 + ring.strokeTop, right = ring.strokeLeft + ring.strokeWidth;
        Fill(picture, ring.strokeLeft - 5, top - 5, ring.strokeLeft, top, 0xd02020);
        Fill(picture, right, 40 + ring.strokeBottom, right + 5, 45 + ring.strokeBottom, 0xd02020);
    }
    uint32_t noise = 12345;
    for (uint8_t& byte : picture.rgba) {
        noise = noise * 1103515245u + 12345u;
        byte = uint8_t(std::clamp(int(byte) + int(noise >> 16) % 61 - 30, 0, 255));
    }
    return picture;
}

// A 640 x 640 loop whose top stretch falls 140 pixels from left to right (16 degrees), its
// edges a step of one cell apart from column to column at --size 128, and a red stroke across
// it 5 pixels (a cell) wide from `left`.
Picture DrawAslant(uint32_t left) {
    Picture picture(640, 640);
    Fill(picture, 0, 0, 640, 640, 0x305020);
    const auto top = [](uint32_t column) { return 60 + (column - 80) * 140 / 480; };
    for (uint32_t c = 80; c <= 560; ++c) {
        Fill(picture, c, top(c), c + 1, 561, 0xe0d0b0);
        if (c >= 110 && c <= 530) {
            Fill(picture, c, top(c) + 30, c + 1, 531, 0x305020);
        }
    }
    Fill(picture, left, top(left) - 10, left + 5, top(left) + 43, 0xd02020);
    return picture;
}

// An oval loop `track` pixels wide, its middle line two half circles joined by straight
// stretches, and a red stroke across its top stretch a cell of the `size` grid wide.
Picture DrawOval(uint32_t width, uint32_t height, double track, uint32_t size) {
    Picture picture(width, height);
    const double radius = 0.25 * height, straight = std::max(0.0, 0.3 * width - radius);
    for (uint32_t r = 0; r < height; ++r) {
        for (uint32_t c = 0; c < width; ++c) {
            const double x = c + 0.5 - width / 2.0, y = r + 0.5 - height / 2.0;
            const double off = std::hypot(x - std::clamp(x, -straight, straight), y) - radius;
            Fill(picture, c, r, c + 1, r + 1, std::fabs(off) * 2 < track ? 0xe0d0b0 : 0x305020);
        }
    }
    const auto top = uint32_t(height / 4.0 - track / 2 - 3), bottom = uint32_t(top + track + 6);
    Fill(picture, width / 2, top, width / 2 + (width + size - 1) / size, bottom, 0xd02020);
    return picture;
}

// The picture drawn `width` x `height` pixels, each pixel taken from the one it falls on.
Picture Resize(const Picture& picture, uint32_t width, uint32_t height) {
    Picture resized(width, height);
    for (uint32_t r = 0; r < height; ++r) {
        for (uint32_t c = 0; c < width; ++c) {
            std::copy_n(picture.At(uint64_t{c} * picture.width / width,
                                   uint64_t{r} * picture.height / height),
                        4, resized.At(c, r));
        }
    }
    return resized;
}

// The picture drawn `across` times as wide and `down` times as high, each pixel repeated.
Picture Stretch(const Picture& picture, uint32_t across, uint32_t down) {
    return Resize(picture, picture.width * across, picture.height * down);
}

ToolResult RunCourseTool(const std::vector<std::string>& arguments,
                         const std::string& workDir = "") {
    return RunTool(KESTRUN_COURSE_TOOL, arguments, workDir);
}
}  // namespace

// Sound, or written with a warning (status 2) when the track reaches the picture's edge, or
// when its start row puts racer 2 on the fence line (the checker's warning too).
TEST(CourseTool, MakesASoundCourseAndItsLevelFromADrawing) {
    TempDir dir;
    const std::string ring = Encode(DrawRing({}), dir.File("ring.png"));
    Ring edged, framed;
    edged.edge = framed.frame = true;
    const std::string example = std::string(KESTRUN_SOURCE_DIR) + "/docs/courses/example-track.png";
    const struct {
        std::vector<std::string> arguments;
        std::string sky;
        std::string read;  // as the checker reports the course
        int status = 0;
        std::string line = "";  // a note or warning the tool gives
        int checked = 0;        // the checker's exit status
    } kCases[] = {
        {{"from-image", ring, dir.File("ring.txt")},
         "day",
         "64 x 64 cells of 4 units, 6 start cells"},
        {{"from-image", ring, dir.File("small.txt"), "--size", "32", "--sky", "sunset"},
         "sunset",
         "32 x 32 cells of 8 units, 3 start cells",
         2,
         "warning: course: line 6, column 17: racer 2 starts on the fence line",
         2},
        {{"from-image", example, dir.File("example.txt")}, "day", "64 x 64 cells of 4 units"},
        {{"from-image", Encode(DrawRing(edged), dir.File("edge.png")), dir.File("edge.txt")},
         "day",
         "6 start cells",
         2},
        {{"from-image", Encode(DrawRing(framed), dir.File("frame.png")), dir.File("frame.txt")},
         "day", "6 start cells", 2},
        {{"from-image", Encode(DrawAslant(330), dir.File("aslant.png")), dir.File("aslant.txt"),
          "--size", "128"},
         "day",
         "128 x 128 cells of 2 units, 7 start cells",
         0,
         "heavy: on a machine without a GPU the game runs at about 50 % of its frame rate on "
         "the default course where the most markers are in view, and needs about 231 MB of "
         "memory; bends instead of long straights keep fewer posts in view"},  // 64 refuses it
        {{"from-image", Encode(DrawRing({20, -5, 25}), dir.File("ring20.png")),
          dir.File("ring128.txt"), "--size", "128"},
         "day",
         "128 x 128 cells of 2 units",
         0,
         "of memory; a smaller --size (64) or bends instead of long straights keep fewer posts"},
        {{"from-image", KESTRUN_SOURCE_DIR "/docs/courses/example-track-narrow.png",
          dir.File("narrow.txt"), "--size", "256"},
         "day",
         "256 x 256 cells of 1 units, 9 start cells",
         0,
         "race: the route is "},
        {{"from-image", Encode(Stretch(DrawRing({}), 2, 1), dir.File("wide.png")), dir.File("wide.txt")},
         "day",
         "64 x 64 cells of 4 units, 6 start cells",
         2,
         "warning: the picture is 640 x 320 pixels, not square: it is stretched to the square "
         "grid, a cell covering 10 pixels across and 5 down, so what is drawn up-down comes out "
         "2 times as long against what is drawn across"},
    };
    for (const auto& c : kCases) {
        const ToolResult made = RunCourseTool(c.arguments);
        EXPECT_EQ(c.status, made.exitStatus) << made.output;
        EXPECT_TRUE(Contains(made.output, c.line)) << made.output;
        const std::string course = c.arguments[2];
        const ToolResult checked = RunTool(KESTRUN_CHECK_TOOL, {course});
        EXPECT_EQ(c.checked, checked.exitStatus) << checked.output;
        EXPECT_TRUE(Contains(checked.output, c.read)) << checked.output;
        // Every drawing made a course is raced round: a route, the same in both tools.
        const size_t race = checked.output.find(": race: the route is ");
        ASSERT_NE(std::string::npos, race) << checked.output;
        EXPECT_TRUE(Contains(made.output, checked.output.substr(race, checked.output.find('\n', race) - race)))
            << made.output;
        const std::string level = course.substr(0, course.size() - 4) + "-level.txt";
        EXPECT_EQ("skyboxes/" + c.sky + "\n" + course + "\n", ReadFileBytes(level));
        // The build's tool is not the installed game's: the tree's ./run plays the level.
        const bool inTree = std::filesystem::equivalent(KESTRUN_SOURCE_DIR, ".");
        const std::string run = inTree ? "./run " : KESTRUN_SOURCE_DIR "/run ";
        EXPECT_TRUE(Contains(made.output, "(play it with: " + run + level + ")")) << made.output;
    }
}

// The same track read from a picture of another shape, on a transparent background, or with a
// start stroke whose end cells meet it only at their corners: the same course.
TEST(CourseTool, ReadsTheSameCourseWhateverThePicturesShapeAndBackground) {
    TempDir dir;
    Ring clear, column, flicks;
    clear.clear = true;
    column.strokeLeft = 160, column.strokeWidth = 5;  // the stroke on one column of cells
    flicks = column;
    flicks.flicks = true;
    const struct {
        const char* name;
        Picture picture;
        Ring reference;
    } kCases[] = {
        {"twice as wide", Stretch(DrawRing({}), 2, 1), {}},
        {"three times as high", Stretch(DrawRing({}), 1, 3), {}},
        {"transparent ground", DrawRing(clear), {}},
        {"stroke with flicks", DrawRing(flicks), column},
    };
    for (const auto& c : kCases) {
        const ToolResult reference = RunCourseTool(
            {"from-image", Encode(DrawRing(c.reference), dir.File("ref.png")), dir.File("ref.txt")});
        ASSERT_EQ(0, reference.exitStatus) << c.name << "\n" << reference.output;
        const ToolResult made = RunCourseTool(
            {"from-image", Encode(c.picture, dir.File("in.png")), dir.File("in.txt")});
        // A picture that is not square is warned about (status 2), and still read.
        const int status = c.picture.width == c.picture.height ? 0 : 2;
        EXPECT_EQ(status, made.exitStatus) << c.name << "\n" << made.output;
        EXPECT_EQ(ReadFileBytes(dir.File("ref.txt")), ReadFileBytes(dir.File("in.txt"))) << c.name;
    }
}

// One cell of the ring's dark infield, drawn three times as large (15 x 15 pixels a cell, so
// that a third of them is a whole number), painted with pixels on either side of each edge of
// the reading rules: it stays blocked ground, or becomes a piece of track of its own, or a
// second start stroke.
TEST(CourseTool, ReadsPixelsAndCellsOnEachSideOfTheirThresholds) {
    TempDir dir;
    struct Pixels {
        int count;
        uint32_t rgb;
        uint8_t alpha = 255;
    };
    const char* const kDark = "sound", *const kLight = "the track is in 2 pieces",
                      *const kRed = "2 red strokes";
    const uint32_t kWhite = 0xffffff, kBlack = 0x000000, kRedPixel = 0xff0000;
    const struct {
        std::vector<Pixels> pixels;
        const char* reads;
    } kCases[] = {
        {{{225, kWhite, 127}}, kDark},  {{{225, kWhite, 128}}, kLight},    // alpha
        {{{225, kWhite, 0}}, kDark},    {{{225, 0xd02020, 127}}, kDark},
        {{{225, 0xc87900}}, kLight},    {{{225, 0xc87800}}, kRed},         // red over green
        {{{225, 0xc80079}}, kDark},     {{{225, 0xc80078}}, kRed},         // red over blue
        {{{225, 0x7f7f7f}}, kDark},     {{{225, 0x808080}}, kLight},       // luminance
        {{{225, 0x00da00}}, kDark},     {{{225, 0x00db00}}, kLight},
        {{{74, kRedPixel}, {151, kBlack}}, kDark},  {{{75, kRedPixel}, {150, kBlack}}, kRed},
        {{{74, kRedPixel}, {151, kWhite}}, kLight},                        // a third red
        {{{112, kWhite}, {113, kBlack}}, kDark},    {{{113, kWhite}, {112, kBlack}}, kLight},
        {{{112, kWhite}, {112, kBlack}, {1, kRedPixel}}, kDark},  // as many light as dark
    };
    for (const auto& c : kCases) {
        Picture picture = Stretch(DrawRing({}), 3, 3);
        int pixel = 0;
        for (const Pixels& run : c.pixels) {
            for (int i = 0; i < run.count; ++i, ++pixel) {
                const uint32_t column = 450 + pixel % 15, row = 450 + pixel / 15;
                Fill(picture, column, row, column + 1, row + 1, run.rgb, run.alpha);
            }
        }
        const ToolResult run = RunCourseTool(
            {"from-image", Encode(picture, dir.File("in.png")), dir.File("out.txt")});
        const std::string row = "row " + std::to_string(&c - kCases) + "\n" + run.output;
        EXPECT_EQ(c.reads == kDark ? 0 : 1, run.exitStatus) << row;
        EXPECT_TRUE(c.reads == kDark || Contains(run.output, c.reads)) << row;
    }
}

// Each cell's square shows its class halfway down and a quarter across (clear of posts, ropes
// and arrows), the racers' arrows stand left of their start corners, and the picture reads
// back as the course it shows.
TEST(CourseTool, DrawsEachCellsClassAndReadsItsPictureBack) {
    TempDir dir;
    std::vector<std::string> courses = ShippedCourses();
    courses.push_back(dir.Write("ring.txt", RingCourse()));
    for (const std::string& path : courses) {
        const std::string text = ReadFileBytes(path);
        CourseData course;
        ReadGoodCourse(course, text);
        const int size = course._courseWidth;
        const int s = 512 / size;
        const std::string png = dir.File("drawn.png");
        ASSERT_EQ(0, RunCourseTool({"picture", path, png}).exitStatus);
        const Picture picture = Decode(png);
        ASSERT_EQ(uint32_t(512), picture.width);
        for (int x = 0; x < size; ++x) {
            for (int y = 0; y < size; ++y) {
                const char code = course.GetCell(x, y);
                const uint32_t expected = code == '1'                ? 0x284828
                                          : code == '2'              ? 0xd62828
                                          : IsWallCell(course, x, y) ? 0xc49668
                                                                     : 0xdecca0;
                EXPECT_EQ(expected, Rgb(picture, y * s + s / 4, x * s + s / 2)) << x << "," << y;
            }
        }
        int32_t xs[kStartTableSize];
        int32_t ys[kStartTableSize];
        ASSERT_EQ(4, CollectStartCells(course, xs, ys, kStartTableSize)) << path;
        EXPECT_EQ(0x4696ffu, Rgb(picture, ys[2] * s - s / 5, xs[2] * s));  // racer 1, blue
        EXPECT_EQ(0xffdc00u, Rgb(picture, ys[1] * s - s / 5, xs[1] * s));  // racer 2, yellow

        const std::string back = dir.File("back.txt");
        const ToolResult read =
            RunCourseTool({"from-image", png, back, "--size", std::to_string(size)});
        EXPECT_EQ(0, read.exitStatus) << read.output;
        EXPECT_EQ(text, ReadFileBytes(back)) << path;
    }
}

TEST(CourseTool, RefusesBadInputWithALineAndWritesNothing) {
    TempDir dir;
    const std::string good = Encode(DrawRing({}), dir.File("good.png"));
    const auto ring = [&dir](Ring shape) {
        return [&dir, shape] { return Encode(DrawRing(shape), dir.File("in.png")); };
    };
    const auto file = [&dir](std::string bytes) {
        return [&dir, bytes] { return dir.Write("in.png", bytes); };
    };
    Picture wide(20000, 1);
    const struct {
        const char* name;
        std::function<std::string()> input;
        std::string line;
        const char* command = "from-image";
        std::string output = "out.txt";
        const char* folder = nullptr;  // run in this folder of dir, the output named from there
    } kCases[] = {
        {"text", file("not a picture\n"), "not a PNG picture that can be read"},
        {"jpeg", file(std::string("\xff\xd8\xff\xe0\0\x10JFIF\0", 11) + "rest"),
         "not a PNG picture that can be read (it is a JPEG picture; save it as PNG"},
        {"empty", file(""), "not a PNG picture that can be read"},
        {"truncated", file(ReadFileBytes(good).substr(0, 200)),
         "the PNG picture cannot be decoded"},
        {"huge", [&] { return Encode(wide, dir.File("in.png")); },
         "the picture is 20000 x 1 pixels; the tool takes at most 16384 a side"},
        {"no stroke", ring({30, 0, 0}), "no start stroke"},
        {"one cell", ring({30, 0, 5, 160, false, 5}), "crosses 1 cell of track"},
        {"twelve", ring({60, -5, 65}), "crosses 12 cells of track"},
        {"thin stroke", ring({30, -5, 35, 159, false, 2}),
         "no start stroke: the red at pixels x 159..160, y 35..74 is too thin for the 64 x 64 "
         "grid (a cell is 5 pixels across, and a third of it must be red); draw the stroke at "
         "least 4 pixels wide"},
        {"thin loop", [&] { return Encode(Resize(DrawRing({4, -5, 9}), 300, 300), dir.File("in.png")); },
         "the track is too thin for the 64 x 64 grid: it is drawn about 4 pixels wide, and a "
         "cell is 4.69 pixels across, so it comes out a cell wide at most; draw it at least 18 "
         "pixels wide (3 cells whichever way it runs)"},
        {"thin stroke, 12.5 pixels a cell",
         [&] { return Encode(Resize(DrawRing({30, -5, 35, 159, false, 1}), 800, 800),
                             dir.File("in.png")); },
         "grid (a cell is 12.5 pixels across, and a third of it must be red); draw the stroke at "
         "least 9 pixels wide"},
        {"paper", ring({30, -5, 35, 158, false, 9, false, true}),
         "the colours are the wrong way round"},
        {"short stroke", ring({30, -5, 20}), "does not cross a left-right stretch"},
        {"notch", ring({30, -5, 35, 158, false, 9, false, false, true}),
         "with track on both sides of it: there is no track left of it at pixels x 150..154, y "
         "50..54"},
        {"side stretch", ring({30, 60, 120, 50}), "does not cross a left-right stretch"},
        {"narrow", ring({10, -5, 15}), "the track is narrower than 3 cells at pixels"},
        {"open", ring({30, -5, 35, 158, true}), "the track does not come round"},
        {"unwritable", [&] { return good; }, "cannot be written", "from-image", "no/out.txt"},
        {"spaced path", [&] { return good; }, "which the game reads only without spaces and up to "
         "255 characters", "from-image", "my course.txt"},
        {"long path", [&] { return good; }, "which the game reads only without spaces and up to "
         "255 characters", "from-image", std::string(250, 'a') + ".txt"},
        {"plain name in a spaced folder", [&] { return good; }, "which the game reads only "
         "without spaces and up to 255 characters", "from-image", "out.txt", "my courses"},
        {"bad course", file("64 x\n"), "Course::Init() - ERROR reading course dimensions.",
         "picture", "out.png"},
        {"unwritable picture", [&] { return dir.Write("in.txt", RingCourse()); },
         "no/out.png: cannot be written", "picture", "no/out.png"},
    };
    for (const auto& c : kCases) {
        const std::string runIn = c.folder ? dir.File(c.folder) : "";
        const std::string output = c.folder ? c.output : dir.File(c.output);
        if (c.folder) {
            std::filesystem::create_directories(runIn);
        }
        const ToolResult run = RunCourseTool({c.command, c.input(), output}, runIn);
        EXPECT_EQ(1, run.exitStatus) << c.name << "\n" << run.output;
        EXPECT_TRUE(Contains(run.output, c.line)) << c.name << "\n" << run.output;
        EXPECT_TRUE(Contains(run.output, "nothing written")) << c.name << "\n" << run.output;
        const std::string folder = c.folder ? runIn : dir.Path();
        EXPECT_FALSE(std::filesystem::exists(folder + "/" + c.output)) << c.name;
        EXPECT_FALSE(std::filesystem::exists(folder + "/out-level.txt")) << c.name;
    }
    // The level's name taken by a folder: the course is not left behind, and the folder stays.
    std::filesystem::create_directory(dir.File("taken-level.txt"));
    const ToolResult taken = RunCourseTool({"from-image", good, dir.File("taken.txt")});
    EXPECT_EQ(1, taken.exitStatus) << taken.output;
    EXPECT_TRUE(Contains(taken.output, "taken-level.txt: cannot be written")) << taken.output;
    EXPECT_FALSE(std::filesystem::exists(dir.File("taken.txt")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("taken-level.txt")));
    // ... and a course of that name written before keeps what it held.
    dir.Write("taken.txt", "the player's old course");
    EXPECT_EQ(1, RunCourseTool({"from-image", good, dir.File("taken.txt")}).exitStatus);
    EXPECT_EQ("the player's old course", ReadFileBytes(dir.File("taken.txt")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("taken.txt.partial")));
}

// --install writes the course and its level into the player's data folder, where the game's
// menu lists the level, and nothing over a course of that name or for a name that is no file's.
TEST(CourseTool, InstallsACourseWhereTheMenuFindsItAndOverwritesNothing) {
    TempDir dir;
    ScopedEnv data("XDG_DATA_HOME", dir.Path().c_str());
    const std::string ring = Encode(DrawRing({}), dir.File("ring.png"));
    const std::string course = dir.File("kestrun/courses/ring.txt");
    for (const std::string name : {"ring", "ring.txt", "a/ring", ".ring", ""}) {
        const ToolResult run = RunCourseTool({"from-image", ring, "--install", name});
        EXPECT_EQ(name == "ring" ? 0 : 1, run.exitStatus) << run.output;
        EXPECT_TRUE(Contains(run.output, name == "ring" ? course + ": written, with its level " +
            dir.File("kestrun/levels/ring.txt") + " (play it with: " : "; nothing written"));
        EXPECT_EQ("skyboxes/day\n" + course + "\n",
                  ReadFileBytes(dir.File("kestrun/levels/ring.txt")));
    }
}

// A loop drawn as wide as the tool asks when it is too thin makes a course, at any size; a cell
// less is a narrow place, where the tool asks for the same width.
TEST(CourseTool, ATrackDrawnAsWideAsAdvisedMakesACourse) {
    TempDir dir;
    const uint32_t kSizes[][3] = {{512, 512, 64}, {300, 300, 64}, {800, 800, 32},
                                  {640, 320, 64}, {1024, 768, 128}, {700, 700, 16}};
    for (const auto& [width, height, size] : kSizes) {
        const auto run = [&, width = width, height = height, size = size](double track) {
            const Picture oval = DrawOval(width, height, track, size);
            return RunCourseTool({"from-image", Encode(oval, dir.File("o.png")), dir.File("o.txt"),
                                  "--size", std::to_string(size)});
        };
        const std::string thin = run(3).output;
        const size_t at = thin.find("draw it at least ");
        ASSERT_NE(std::string::npos, at) << thin;
        const int advised = std::atoi(thin.c_str() + at + 17);
        const ToolResult made = run(advised);
        EXPECT_NE(1, made.exitStatus) << width << " x " << height << "\n" << made.output;
        const std::string narrow = run(advised - double(std::max(width, height)) / size).output;
        EXPECT_TRUE(Contains(narrow, "narrower than 3 cells at pixels ") &&
                    Contains(narrow, thin.substr(at, thin.find('\n', at) - at)))
            << narrow;
    }
}

TEST(CourseTool, DocsPicturesAreWhatTheToolDrawsNow) {
    TempDir dir;
    for (const std::string& path : ShippedCourses()) {
        const std::string name = std::filesystem::path(path).stem().string() + ".png";
        ASSERT_EQ(0, RunCourseTool({"picture", path, dir.File(name)}).exitStatus);
        const Picture drawn = Decode(dir.File(name));
        const Picture docs = Decode(std::string(KESTRUN_SOURCE_DIR) + "/docs/courses/" + name);
        EXPECT_TRUE(drawn.width == docs.width && drawn.rgba == docs.rgba)
            << "docs/courses/" << name << " is stale: cmake --build build --target "
            << "refresh_course_pictures";
    }
}
