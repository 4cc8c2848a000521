// kestrun-settings: the launcher's reader of what a player sets, by the game's own rules, so
// that the launcher and the game never disagree about a value.
//   kestrun-settings --volume VALUE   prints the volume VALUE stands for (status 0), or
//                                     nothing when the game would not take it (status 1)
//   kestrun-settings --show           prints where the settings file is and every setting the
//                                     game would use, with where it comes from: the file, the
//                                     environment or the default (kestrun --settings); the
//                                     file's problems go to standard error as the game writes them
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "base/Settings.h"
#include "base/SettingsFile.h"

namespace {
const char* const kUsage = "usage: kestrun-settings --volume VALUE | --show";

// The settings in force, written as the settings file writes them, each with where it comes
// from. An environment variable that is set wins over the file; one the game refuses gives the
// default (the game says why when it starts).
void ShowSettings() {
    const std::string path = SettingsFilePath();
    PlayerSettings settings;
    const SettingLines lines = LoadSettings(path, &settings, std::cerr);
    std::error_code ignored;
    std::cout << "# settings file: "
              << (path.empty() ? "none (neither XDG_CONFIG_HOME nor HOME is set)" : path)
              << (path.empty() || std::filesystem::exists(path, ignored) ? "" : " (none there yet)")
              << std::endl;
    for (const SettingRow& row : SettingRows()) {
        const auto line = lines.find(row.name);
        std::string from =
            line == lines.end() ? "default" : "the file, line " + std::to_string(line->second);
        const char* chosen = row.environment ? EnvironmentSetting(row.environment) : nullptr;
        if (chosen) {
            from = row.environment;
            if (!row.read(chosen, &settings).empty()) {
                row.read(row.show(PlayerSettings()), &settings);
                from = "default: the game refuses " + from + "='" + chosen + "'";
            }
        }
        std::ostringstream setting;
        setting << std::left << std::setw(17) << row.name << " = " << row.show(settings);
        std::cout << std::left << std::setw(24) << setting.str() << "  # " << from << std::endl;
    }
}
}  // namespace

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
    std::cerr << kUsage << std::endl;
    return 2;
}
