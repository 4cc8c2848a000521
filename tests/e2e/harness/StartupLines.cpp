#include "StartupLines.h"

#include <tiffio.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace {
const char* const kSkyFaces[] = {"front.tif", "back.tif", "right.tif",
                                 "left.tif",  "up.tif",   "down.tif"};
const char* const kTerrainImages[] = {"terrain_data/Terrain_Base.tif",
                                      "terrain_data/Terrain_Detail.tif", "terrain_data/Post.tif",
                                      "terrain_data/Rope.tif", "terrain_data/RacePole.tif"};

// Width and height of a TIFF image; false when it cannot be opened.
bool TiffSize(const std::string& path, uint32_t* width, uint32_t* height) {
    TIFFSetWarningHandler(nullptr);
    TIFFSetErrorHandler(nullptr);
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (!tiff) {
        return false;
    }
    const bool known = TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, width) == 1 &&
                       TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, height) == 1;
    TIFFClose(tiff);
    return known;
}
} // namespace

LevelWords ReadLevelWords(const std::string& path) {
    std::ifstream in(path);
    LevelWords words;
    in >> words.skybox >> words.course;
    return words;
}

std::string LevelLines(const std::string& levelArgument, const LevelWords& words) {
    return "Reading level description file '" + levelArgument + "'...\n" +
           "  skybox path: " + words.skybox + "\n" + "  course filename: " + words.course + "\n";
}

std::string TiffLines(const std::string& dataDir, const std::string& name) {
    std::string lines = "loading TIFF texture: " + name + "\n";
    uint32_t width = 0;
    uint32_t height = 0;
    if (!TiffSize(dataDir + "/" + name, &width, &height)) {
        return lines + "Error opening: " + name + "\n";
    }
    return lines + "Texture map (" + std::to_string(width) + " x " + std::to_string(height) +
           ") successfully loaded.\n";
}

std::string SkyboxLines(const std::string& dataDir, const std::string& folder) {
    std::string lines;
    for (const char* face : kSkyFaces) {
        lines += TiffLines(dataDir, folder + "/" + face);
    }
    return lines + "Generating Skybox...done!\n";
}

std::string CourseLines(const std::string& coursePath, const std::string& courseArgument) {
    std::ifstream in(coursePath);
    int width = 0;
    int length = 0;
    in >> width >> length;
    std::string cells;
    char cell;
    while (in >> cell) {
        cells += cell;
    }
    std::ostringstream lines;
    lines << "Reading course file '" << courseArgument << "'...\n"
          << "  dimensions: ( " << width << " x " << length << " )\n"
          << "  map: \n"
          << width << " " << length << "\n";
    for (int x = 0; x < width; ++x) {
        lines << cells.substr(static_cast<size_t>(x) * length, length) << "\n";
    }
    lines << "SUCCESS!\n";
    return lines.str();
}

std::string TerrainLines(const std::string& dataDir) {
    std::string lines = "Loaded terrain: terrain_data/terrain1.raw\n";
    for (const char* image : kTerrainImages) {
        lines += TiffLines(dataDir, image);
    }
    return lines;
}

namespace {
std::vector<std::string> SplitKeepingEnds(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const size_t next = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, next - start));
        start = next;
    }
    return lines;
}

std::string Shown(const std::vector<std::string>& lines, size_t index) {
    if (index >= lines.size()) {
        return "(nothing)";
    }
    std::string line = lines[index];
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
        return "\"" + line + "\"";
    }
    return "\"" + line + "\" (no line end)";
}
} // namespace

::testing::AssertionResult SameLines(const std::string& expected, const std::string& actual) {
    if (expected == actual) {
        return ::testing::AssertionSuccess();
    }
    const std::vector<std::string> want = SplitKeepingEnds(expected);
    const std::vector<std::string> got = SplitKeepingEnds(actual);
    size_t line = 0;
    while (line < want.size() && line < got.size() && want[line] == got[line]) {
        ++line;
    }
    auto failure = ::testing::AssertionFailure();
    failure << "the transcripts differ at line " << line + 1 << " (expected " << want.size()
            << " lines, got " << got.size() << ")\n";
    for (size_t before = line >= 3 ? line - 3 : 0; before < line; ++before) {
        failure << "  same:     " << Shown(want, before) << "\n";
    }
    failure << "  expected: " << Shown(want, line) << "\n  actual:   " << Shown(got, line);
    return failure;
}
