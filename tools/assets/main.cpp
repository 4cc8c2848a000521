// kestrun-assets: writes every binary file the game reads (heights, terrain, marker and item
// images, two sky boxes) into a data folder. The first course named is painted on the ground
// as the road; every course named gets flat ground at the height the markers need.
// The output depends on nothing but the course files: the same bytes on every run.
// With --icons it writes the game's icon instead: the item gem, as PNGs in the sizes of the
// desktop's icon theme, laid out as the theme's folders (256x256/apps/kestrun.png...).
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Canvas.h"
#include "GemArt.h"
#include "HeightDesign.h"
#include "MarkerArt.h"
#include "SkyArt.h"
#include "TerrainArt.h"
#include "course/Course.h"

namespace fs = std::filesystem;

namespace {
// Reads a course with the game's reader, keeping its echo of the grid off the console
// unless the file is bad.
bool ReadCourse(const std::string& path, Course& course) {
    std::ifstream in(path);
    if (!in.good()) {
        std::cout << "kestrun-assets: cannot open course " << path << std::endl;
        return false;
    }
    std::ostringstream echo;
    std::streambuf* console = std::cout.rdbuf(echo.rdbuf());
    const bool ok = course.Read(in);
    std::cout.rdbuf(console);
    if (!ok) {
        std::cout << echo.str() << "kestrun-assets: cannot read course " << path << std::endl;
    }
    return ok;
}

bool WriteHeights(const HeightField& field, const fs::path& path) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(field.raw.data()),
              static_cast<std::streamsize>(field.raw.size()));
    out.close();
    if (!out) {
        std::cout << "kestrun-assets: cannot write " << path.string() << std::endl;
    }
    return static_cast<bool>(out);
}

bool WriteTerrain(const std::vector<std::unique_ptr<Course>>& courses, const fs::path& dir) {
    std::vector<uint8_t> freeGround(static_cast<size_t>(kTerrainSize) * kTerrainSize, 0);
    std::vector<uint8_t> trails = freeGround;
    // Flat ground under every cell that is not blocked; the road and the trails end at the
    // rope line, where a racer is stopped.
    const std::vector<char> painted = RoadUnderSamples(*courses[0]);
    for (size_t c = 0; c < courses.size(); ++c) {
        const std::vector<uint8_t> free = FreeSamples(CellsUnderSamples(*courses[c]));
        const std::vector<uint8_t> road = FreeSamples(RoadUnderSamples(*courses[c]));
        for (size_t i = 0; i < free.size(); ++i) {
            freeGround[i] |= free[i];
            trails[i] |= c > 0 ? road[i] : 0;
        }
    }
    const HeightField field = DesignHeights(DistanceField(freeGround, 64), InfieldSamples(*courses[0]));
    return WriteHeights(field, dir / "terrain1.raw") &&
           WriteTiff(TerrainBase(field, painted, trails), (dir / "Terrain_Base.tif").string(),
                     false) &&
           WriteTiff(TerrainDetail(), (dir / "Terrain_Detail.tif").string(), false);
}

bool WriteMarkersAndItems(const fs::path& dir) {
    bool ok = WriteTiff(PostWood(), (dir / "Post.tif").string(), false) &&
              WriteTiff(RopeStrands(), (dir / "Rope.tif").string(), false) &&
              WriteTiff(PoleStripes(), (dir / "RacePole.tif").string(), false) &&
              WriteRaw(CourseQuad(), (dir / "CourseQuad.raw").string());
    for (int32_t frame = 0; frame < kGemFrames && ok; ++frame) {
        ok = WriteRaw(GemFrame(frame), (dir / ("bb" + std::to_string(frame) + ".raw")).string());
    }
    return ok;
}

bool WriteSky(const SkyStyle& style, const fs::path& dir) {
    bool ok = true;
    for (int32_t face = 0; face < kSkyFaces && ok; ++face) {
        ok = WriteTiff(SkyFace(style, face), (dir / kSkyFaceFiles[face]).string(), false);
    }
    return ok;
}

bool MakeFolders(const std::vector<fs::path>& folders) {
    for (const fs::path& folder : folders) {
        std::error_code error;
        fs::create_directories(folder, error);
        if (error) {
            std::cout << "kestrun-assets: cannot create " << folder.string() << ": "
                      << error.message() << std::endl;
            return false;
        }
    }
    return true;
}

bool WriteIcons(const fs::path& out) {
    bool ok = true;
    for (int32_t size : {256, 128, 64, 48, 32, 16}) {
        const std::string square = std::to_string(size) + "x" + std::to_string(size);
        const fs::path folder = out / square / "apps";
        ok = ok && MakeFolders({folder}) &&
             WritePng(GemFrame(0, size), (folder / "kestrun.png").string());
    }
    return ok;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icons") {
        return WriteIcons(argv[2]) ? 0 : 1;
    }
    if (argc < 3) {
        std::cout << "usage: kestrun-assets OUTPUT_DIR PAINTED_COURSE [MORE_COURSES...]\n"
                     "       kestrun-assets --icons OUTPUT_DIR"
                  << std::endl;
        return 1;
    }
    std::vector<std::unique_ptr<Course>> courses;
    for (int i = 2; i < argc; ++i) {
        courses.push_back(std::make_unique<Course>());
        if (!ReadCourse(argv[i], *courses.back())) {
            return 1;
        }
    }
    const fs::path out = argv[1];
    const fs::path terrain = out / "terrain_data";
    const fs::path day = out / "skyboxes" / "day";
    const fs::path sunset = out / "skyboxes" / "sunset";
    const bool ok = MakeFolders({terrain, day, sunset}) && WriteTerrain(courses, terrain) &&
                    WriteMarkersAndItems(terrain) && WriteSky(DaySky(), day) &&
                    WriteSky(SunsetSky(), sunset);
    return ok ? 0 : 1;
}
