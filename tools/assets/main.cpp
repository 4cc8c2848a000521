// kestrun-assets: writes every binary file the game reads (heights, terrain, marker and item
// images, two sky boxes, the sounds) into a data folder. The first course named is painted on the ground
// as the road; every course named gets flat ground at the height the markers need.
// The output depends on nothing but the course files: the same bytes on every run.
// With --icons it writes the game's icon instead: the item gem, as PNGs in the sizes of the
// desktop's icon theme, laid out as the theme's folders (256x256/apps/kestrun.png...).
// With --ground it writes only the ground of one course (terrain_data/terrain1.raw,
// Terrain_Base.tif, Terrain_Detail.tif): that course painted as the road. The launcher gives a
// player's course its own ground this way, and the build every shipped course but the default.
#include <filesystem>
#include <functional>
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
#include "SoundArt.h"
#include "TerrainArt.h"
#include "course/CourseData.h"

namespace fs = std::filesystem;

namespace {
// Reads a course with the game's reader, keeping its echo of the grid off the console
// unless the file is bad.
bool ReadCourse(const std::string& path, CourseData& course) {
    std::ifstream in(path);
    if (!in.good()) {
        std::cout << "kestrun-assets: cannot open course " << path << std::endl;
        return false;
    }
    std::ostringstream echo;
    const bool ok = course.Read(in, echo);
    if (!ok) {
        std::cout << echo.str() << "kestrun-assets: cannot read course " << path << std::endl;
    }
    return ok;
}

bool WriteHeights(const HeightField& field, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(field.raw.data()),
              static_cast<std::streamsize>(field.raw.size()));
    out.close();
    if (!out) {
        std::cout << "kestrun-assets: cannot write " << path << std::endl;
    }
    return static_cast<bool>(out);
}

// Writes a file under a temporary name beside `path` and renames it into place only when it
// is whole, so that a failed or killed run never leaves a cut file under the name the game reads.
bool WriteWhole(const fs::path& path, const std::function<bool(const std::string&)>& write) {
    const fs::path partial = path.parent_path() / ("." + path.filename().string() + ".partial");
    std::error_code error;
    if (write(partial.string())) {
        fs::rename(partial, path, error);
        if (!error) {
            return true;
        }
        std::cout << "kestrun-assets: cannot write " << path.string() << ": " << error.message()
                  << std::endl;
    }
    fs::remove(partial, error);
    return false;
}

bool WriteTerrain(const std::vector<std::unique_ptr<CourseData>>& courses, const fs::path& dir) {
    std::vector<uint8_t> freeGround(static_cast<size_t>(kTerrainSize) * kTerrainSize, 0);
    std::vector<uint8_t> trails = freeGround;
    // Flat ground under every cell that is not blocked and everywhere inside the fence; the
    // road and the trails end at the rope line, where a racer is stopped.
    const std::vector<char> painted = RoadUnderSamples(*courses[0]);
    for (size_t c = 0; c < courses.size(); ++c) {
        const std::vector<uint8_t> free = FreeSamples(CellsUnderSamples(*courses[c]));
        const std::vector<uint8_t> road = FreeSamples(RoadUnderSamples(*courses[c]));
        for (size_t i = 0; i < free.size(); ++i) {
            freeGround[i] |= free[i] | road[i];
            trails[i] |= c > 0 ? road[i] : 0;
        }
    }
    const HeightField field = DesignHeights(DistanceField(freeGround, 64), InfieldSamples(*courses[0]));
    return WriteWhole(dir / "terrain1.raw",
                      [&](const std::string& path) { return WriteHeights(field, path); }) &&
           WriteWhole(dir / "Terrain_Base.tif",
                      [&](const std::string& path) {
                          return WriteTiff(TerrainBase(field, painted, trails), path, false);
                      }) &&
           WriteWhole(dir / "Terrain_Detail.tif", [](const std::string& path) {
               return WriteTiff(TerrainDetail(), path, false);
           });
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

bool WriteSounds(const fs::path& dir) {
    bool ok = true;
    for (const SoundFile& sound : kSoundFiles) {
        ok = ok && WriteWav(sound.make(), (dir / sound.name).string());
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
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc == 3 && mode == "--icons") {
        return WriteIcons(argv[2]) ? 0 : 1;
    }
    const bool groundOnly = argc == 4 && mode == "--ground";
    if ((argc < 3 || mode.rfind("--", 0) == 0) && !groundOnly) {
        std::cout << "usage: kestrun-assets OUTPUT_DIR PAINTED_COURSE [MORE_COURSES...]\n"
                     "       kestrun-assets --ground OUTPUT_DIR COURSE\n"
                     "       kestrun-assets --icons OUTPUT_DIR"
                  << std::endl;
        return 1;
    }
    const int firstCourse = groundOnly ? 3 : 2;
    std::vector<std::unique_ptr<CourseData>> courses;
    for (int i = firstCourse; i < argc; ++i) {
        courses.push_back(std::make_unique<CourseData>());
        if (!ReadCourse(argv[i], *courses.back())) {
            return 1;
        }
    }
    const fs::path out = argv[firstCourse - 1];
    const fs::path terrain = out / "terrain_data";
    if (groundOnly) {
        return MakeFolders({terrain}) && WriteTerrain(courses, terrain) ? 0 : 1;
    }
    const fs::path day = out / "skyboxes" / "day";
    const fs::path sunset = out / "skyboxes" / "sunset";
    const fs::path sounds = out / "sounds";
    const bool ok = MakeFolders({terrain, day, sunset, sounds}) && WriteTerrain(courses, terrain) &&
                    WriteMarkersAndItems(terrain) && WriteSky(DaySky(), day) &&
                    WriteSky(SunsetSky(), sunset) && WriteSounds(sounds);
    return ok ? 0 : 1;
}
