// kestrun-settings: the launcher's reader of what a player sets, by the game's own rules, so
// that the launcher and the game never disagree about a value.
//   kestrun-settings --volume VALUE   prints the volume VALUE stands for (status 0), or
//                                     nothing when the game would not take it (status 1)
//   kestrun-settings --show           prints where the settings file is and the settings in
//                                     force, worked out as the game works them out, written as
//                                     a settings file with where each comes from: the file,
//                                     the environment or the default (kestrun --settings); the
//                                     problem lines go to standard error as the game writes them
//   kestrun-settings --last-played    prints the level the game kept as the one played last
//                                     (nothing when there is none)
#include <cstring>
#include <filesystem>
#include <iostream>

#include "base/LastPlayed.h"
#include "base/SettingsFile.h"

namespace {
const char* const kUsage = "usage: kestrun-settings --volume VALUE | --show | --last-played";

void ShowSettings() {
    const std::string path = SettingsFilePath();
    PlayerSettings settings;
    const SettingSources sources = LoadSettings(path, &settings, std::cerr);
    std::error_code ignored;
    std::cout << "# settings file: "
              << (path.empty() ? "none (neither XDG_CONFIG_HOME nor HOME is set)" : path)
              << (path.empty() || std::filesystem::exists(path, ignored) ? "" : " (none there yet)")
              << std::endl;
    WriteSettings(settings, sources, std::cout);
}

// The volume a value stands for, read by the volume setting's own rule.
bool ReadVolume(const char* value, int* volume) {
    PlayerSettings settings;
    for (const SettingRow& row : SettingRows()) {
        if (row.name == "volume" && row.read(value, &settings).empty()) {
            *volume = settings.volume;
            return true;
        }
    }
    return false;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--volume") == 0) {
        int volume = 0;
        if (!ReadVolume(argv[2], &volume)) {
            return 1;
        }
        std::cout << volume << std::endl;
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--show") == 0) {
        ShowSettings();
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--last-played") == 0) {
        const std::string level = RememberedLevel();
        if (!level.empty()) {
            std::cout << level << std::endl;
        }
        return 0;
    }
    std::cerr << kUsage << std::endl;
    return 2;
}
