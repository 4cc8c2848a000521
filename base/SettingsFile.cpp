#include "base/SettingsFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <utility>

namespace {
// One racer's control, by the name the file gives it.
struct KeyControl {
    const char* name;
    RacerKeys PlayerSettings::*racer;
    unsigned char RacerKeys::*control;
};

const KeyControl kKeyControls[] = {
    {"racer1.accelerate", &PlayerSettings::racer1, &RacerKeys::accelerate},
    {"racer1.hold", &PlayerSettings::racer1, &RacerKeys::hold},
    {"racer1.left", &PlayerSettings::racer1, &RacerKeys::left},
    {"racer1.right", &PlayerSettings::racer1, &RacerKeys::right},
    {"racer2.accelerate", &PlayerSettings::racer2, &RacerKeys::accelerate},
    {"racer2.hold", &PlayerSettings::racer2, &RacerKeys::hold},
    {"racer2.left", &PlayerSettings::racer2, &RacerKeys::left},
    {"racer2.right", &PlayerSettings::racer2, &RacerKeys::right},
};

unsigned char& KeyOf(PlayerSettings& settings, const KeyControl& control) {
    return (settings.*control.racer).*control.control;
}
unsigned char KeyOf(const PlayerSettings& settings, const KeyControl& control) {
    return (settings.*control.racer).*control.control;
}

// A text as the problem lines quote it, cut short when long.
std::string Quoted(const std::string& text) {
    constexpr size_t kLongest = 40;
    return "'" + (text.size() > kLongest ? text.substr(0, kLongest) + "..." : text) + "'";
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

SettingRow KeyRow(const KeyControl& control) {
    auto read = [control](const std::string& value, PlayerSettings* settings) -> std::string {
        unsigned char key = 0;
        if (!ReadKey(value, &key)) {
            return "must be one printable character, not " + Quoted(value);
        }
        if (IsGameKey(key)) {
            return "cannot be " + Quoted(value) + ": q, c and Esc are the game's own keys";
        }
        KeyOf(*settings, control) = key;
        return "";
    };
    auto show = [control](const PlayerSettings& settings) {
        return KeyText(KeyOf(settings, control));
    };
    return {control.name, nullptr, read, show};
}

// A whole number read by its rule from base/Settings.h; `takes` says what the rule takes.
SettingRow NumberRow(const char* name, const char* environment, int PlayerSettings::*member,
                     bool (*rule)(const char*, int*), const std::string& takes) {
    auto read = [=](const std::string& value, PlayerSettings* settings) -> std::string {
        return rule(value.c_str(), &(settings->*member)) ? "" : takes + ", not " + Quoted(value);
    };
    auto show = [member](const PlayerSettings& settings) {
        return std::to_string(settings.*member);
    };
    return {name, environment, read, show};
}

SettingRow FullscreenRow() {
    auto read = [](const std::string& value, PlayerSettings* settings) -> std::string {
        return ReadYesNo(value.c_str(), &settings->fullscreen)
                   ? ""
                   : "must be yes or no, not " + Quoted(value);
    };
    auto show = [](const PlayerSettings& settings) {
        return std::string(settings.fullscreen ? "yes" : "no");
    };
    return {"fullscreen", kFullscreenVariable, read, show};
}

// Where the items stand: "anywhere" on the terrain, as the game has always placed them, or
// only on the "course", inside the fence.
SettingRow ItemsRow() {
    auto read = [](const std::string& value, PlayerSettings* settings) -> std::string {
        if (value != "course" && value != "anywhere") {
            return "must be course or anywhere, not " + Quoted(value);
        }
        settings->itemsOnCourse = value == "course";
        return "";
    };
    auto show = [](const PlayerSettings& settings) {
        return std::string(settings.itemsOnCourse ? "course" : "anywhere");
    };
    return {"items", nullptr, read, show};
}

const SettingRow* FindRow(const std::string& name) {
    for (const SettingRow& row : SettingRows()) {
        if (row.name == name) {
            return &row;
        }
    }
    return nullptr;
}

using Problem = std::pair<int, std::string>;  // the line, what is wrong with it

// Where two controls share a key, the one set on the later line goes back to its default, and
// so on until every control has a key of its own (the defaults share none).
void RefuseSharedKeys(PlayerSettings* settings, SettingLines* lines, std::vector<Problem>* found) {
    for (;;) {
        const KeyControl* latest = nullptr;
        const KeyControl* owner = nullptr;
        for (const KeyControl& control : kKeyControls) {
            const auto given = lines->find(control.name);
            for (const KeyControl& other : kKeyControls) {
                if (given != lines->end() && &other != &control &&
                    KeyOf(*settings, other) == KeyOf(*settings, control) &&
                    (!latest || given->second > lines->at(latest->name))) {
                    latest = &control;
                    owner = &other;
                }
            }
        }
        if (!latest) {
            return;
        }
        const auto ownerLine = lines->find(owner->name);
        const std::string ownersLine =
            ownerLine == lines->end() ? "" : " (line " + std::to_string(ownerLine->second) + ")";
        unsigned char& key = KeyOf(*settings, *latest);
        const PlayerSettings defaults;
        found->push_back({lines->at(latest->name),
                          std::string(latest->name) + " cannot be " + Quoted(KeyText(key)) +
                              ": it is " + owner->name + "'s key" + ownersLine + "; it stays " +
                              KeyText(KeyOf(defaults, *latest))});
        key = KeyOf(defaults, *latest);
        lines->erase(latest->name);
    }
}
}  // namespace

const std::vector<SettingRow>& SettingRows() {
    static const std::vector<SettingRow> rows = [] {
        std::vector<SettingRow> table;
        for (const KeyControl& control : kKeyControls) {
            table.push_back(KeyRow(control));
        }
        table.push_back(NumberRow("volume", kVolumeVariable, &PlayerSettings::volume, ReadVolume,
                                  "must be a whole number from 0 to " +
                                      std::to_string(kLoudestVolume)));
        table.push_back(FullscreenRow());
        table.push_back(NumberRow("max_fps", kFrameCapVariable, &PlayerSettings::frameCap,
                                  ReadFrameCap,
                                  "must be a whole number from 0 (no cap) to " +
                                      std::to_string(kHighestFrameCap)));
        table.push_back(ItemsRow());
        return table;
    }();
    return rows;
}

SettingLines ReadSettings(std::istream& in, const std::string& fileName, PlayerSettings* settings,
                          std::ostream& problems) {
    SettingLines lines;
    std::vector<Problem> found;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (number == 1 && text.compare(0, 3, "\xef\xbb\xbf") == 0) {
            text.erase(0, 3);  // the byte order mark some editors write
        }
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        const std::string line = Trimmed(text);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos) {
            found.push_back(
                {number, "not a setting: " + Quoted(line) + " (a line reads name = value)"});
            continue;
        }
        const std::string name = Trimmed(line.substr(0, equals));
        const SettingRow* row = FindRow(name);
        if (!row) {
            found.push_back({number, "unknown setting " + Quoted(name) +
                                         " (kestrun --settings lists them); the line is ignored"});
            continue;
        }
        const std::string was = row->show(*settings);
        const std::string wrong = row->read(Trimmed(line.substr(equals + 1)), settings);
        if (!wrong.empty()) {
            found.push_back({number, name + " " + wrong + "; it stays " + was});
            continue;
        }
        lines[name] = number;
    }
    RefuseSharedKeys(settings, &lines, &found);
    std::stable_sort(found.begin(), found.end(),
                     [](const Problem& a, const Problem& b) { return a.first < b.first; });
    for (const Problem& problem : found) {
        problems << "kestrun: " << fileName << ":" << problem.first << ": " << problem.second
                 << std::endl;
    }
    return lines;
}

std::string SettingsFilePath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') {
        return std::string(config) + "/kestrun/settings";
    }
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') {
        return std::string(home) + "/.config/kestrun/settings";
    }
    return "";
}

SettingLines LoadSettings(const std::string& path, PlayerSettings* settings,
                          std::ostream& problems) {
    namespace fs = std::filesystem;
    if (path.empty()) {
        return {};
    }
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return {};
    }
    std::string reason = error ? error.message() : "it is not a file";
    std::ifstream in;
    if (!error && status.type() == fs::file_type::regular) {
        in.open(path);
        if (!in.is_open()) {
            reason = std::strerror(errno);
        }
    }
    if (!in.is_open()) {
        problems << "kestrun: cannot read the settings file " << path << " (" << reason
                 << "); every setting keeps its default" << std::endl;
        return {};
    }
    return ReadSettings(in, path, settings, problems);
}
