#include "ToolRun.h"

#include <cstdio>
#include <filesystem>

#include <sys/wait.h>
#include <tiffio.h>

namespace {
std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}
}  // namespace

ToolResult RunTool(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& workDir) {
    std::string command = workDir.empty() ? "" : "cd " + Quoted(workDir) + " && ";
    command += Quoted(program);
    for (const std::string& argument : arguments) {
        command += " " + Quoted(argument);
    }
    command += " 2>&1";
    ToolResult result{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return result;
    }
    char buffer[4096];
    size_t read = 0;
    while ((read = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.output.append(buffer, read);
    }
    const int status = pclose(pipe);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::vector<std::string> ShippedCourses() {
    const std::string dir = std::string(KESTRUN_SOURCE_DIR) + "/data/courses";
    return {dir + "/default.txt", dir + "/figure-eight.txt"};
}

ToolResult GenerateAssets(const std::string& outputDir) {
    std::vector<std::string> arguments{outputDir};
    for (const std::string& course : ShippedCourses()) {
        arguments.push_back(course);
    }
    return RunTool(KESTRUN_ASSETS_TOOL, arguments);
}

const AssetRun& GeneratedAssets() {
    static const AssetRun run;
    return run;
}

std::vector<std::string> GeneratedFiles() {
    std::vector<std::string> files = {
        "terrain_data/terrain1.raw",     "terrain_data/Terrain_Base.tif",
        "terrain_data/Terrain_Detail.tif", "terrain_data/Post.tif",
        "terrain_data/Rope.tif",         "terrain_data/RacePole.tif",
        "terrain_data/CourseQuad.raw"};
    for (int frame = 0; frame < 5; ++frame) {
        files.push_back("terrain_data/bb" + std::to_string(frame) + ".raw");
    }
    for (const char* sky : {"day", "sunset"}) {
        for (const char* face : {"front", "back", "right", "left", "up", "down"}) {
            files.push_back(std::string("skyboxes/") + sky + "/" + face + ".tif");
        }
    }
    for (const char* sound : {"engine1", "engine2", "pickup", "wall", "countdown", "go", "lap", "finish"}) {
        files.push_back(std::string("sounds/") + sound + ".wav");
    }
    return files;
}

DecodedTiff DecodeTiff(const std::string& path) {
    DecodedTiff image;
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (!tiff) {
        return image;
    }
    uint32_t width = 0;
    uint32_t height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    // The same RGBA interface the game uses: rows come back bottom row first.
    if (TIFFReadRGBAImageOriented(tiff, width, height, pixels.data(), ORIENTATION_BOTLEFT, 0)) {
        image.width = width;
        image.height = height;
        image.pixels = std::move(pixels);
    }
    TIFFClose(tiff);
    return image;
}
