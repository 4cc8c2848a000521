// Runs the game's command-line tools from tests and reads back what they wrote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TempDir.h"

struct ToolResult {
    int exitStatus;      // -1 when the tool did not exit normally
    std::string output;  // standard output and standard error together
};

// Runs the program with the arguments (each quoted for the shell) and waits for it, in the
// folder `workDir` when one is given.
ToolResult RunTool(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& workDir = "");

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Runs the asset generator into `outputDir` with the shipped courses, as the build does.
ToolResult GenerateAssets(const std::string& outputDir);

// One such run for the whole test binary, made at the first call: its folder and its result.
struct AssetRun {
    AssetRun() : result(GenerateAssets(out.Path())) {}
    TempDir out;
    ToolResult result;
};
const AssetRun& GeneratedAssets();

// The shipped course files, by full path: the default course first.
std::vector<std::string> ShippedCourses();

// Every file the game opens below its data folder, apart from the text data.
std::vector<std::string> GeneratedFiles();

// A TIFF decoded as the game decodes it: RGBA pixels, bottom row first. Empty when the file
// cannot be read.
struct DecodedTiff {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels;  // red in the lowest byte, row 0 at the bottom

    uint32_t At(uint32_t s, uint32_t t) const { return pixels[t * width + s]; }
};
DecodedTiff DecodeTiff(const std::string& path);

inline uint8_t Red(uint32_t pixel) { return pixel & 0xff; }
inline uint8_t Green(uint32_t pixel) { return (pixel >> 8) & 0xff; }
inline uint8_t Blue(uint32_t pixel) { return (pixel >> 16) & 0xff; }
inline uint8_t Alpha(uint32_t pixel) { return pixel >> 24; }
