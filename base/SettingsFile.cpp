#include "base/SettingsFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <sstream>
#include <utility>

namespace {
constexpr size_t kProblemsShown = 5; // a file's problem lines before the count of the rest

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

unsigned char KeyOf(const PlayerSettings& settings, const KeyControl& control) {
    return (settings.*control.racer).*control.control;
}

// The length of the UTF-8 sequence at text[at], its code point in *code; 0 where none starts
// (a stray byte, a cut or overlong sequence, a surrogate, beyond U+10FFFF).
size_t Utf8Sequence(const std::string& text, size_t at, uint32_t* code) {
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const size_t length = lead < 0x80    ? 1
                          : lead >= 0xf0 ? 4
                          : lead >= 0xe0 ? 3
                          : lead >= 0xc0 ? 2
                                         : 0;
    if (length == 0 || lead > 0xf4 || at + length > text.size()) {
        return 0;
    }
    uint32_t value = length == 1 ? lead : lead & (0x7f >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xc0) != 0x80) {
            return 0;
        }
        value = value << 6 | (byte(at + i) & 0x3f);
    }
    constexpr uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kLeast[length] || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff)) {
        return 0;
    }
    *code = value;
    return length;
}

bool IsUtf8(const std::string& text) {
    uint32_t code = 0;
    for (size_t at = 0, length = 0; at < text.size(); at += length) {
        if ((length = Utf8Sequence(text, at, &code)) == 0) {
            return false;
        }
    }
    return true;
}

// A text as the problem lines quote it: cut short after 40 characters, and each control
// character or byte that is not UTF-8 written as \xNN, so that none reaches the terminal.
std::string Quoted(const std::string& text) {
    constexpr size_t kLongest = 40;
    std::string shown = "'";
    size_t characters = 0;
    for (size_t at = 0; at < text.size(); ++characters) {
        if (characters == kLongest) {
            shown += "...";
            break;
        }
        uint32_t code = 0;
        const size_t length = Utf8Sequence(text, at, &code);
        if (length > 0 && code >= 0x20 && code != 0x7f && (code < 0x80 || code >= 0xa0)) {
            shown += text.substr(at, length);
        } else {
            for (size_t i = at; i < at + std::max<size_t>(length, 1); ++i) {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\x%02x",
                              static_cast<unsigned char>(text[i]));
                shown += escaped;
            }
        }
        at += std::max<size_t>(length, 1);
    }
    return shown + "'";
}

// The text followed by spaces up to `width` characters (of UTF-8 text).
std::string Padded(const std::string& text, size_t width) {
    const size_t characters =
        static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
        }));
    return text + std::string(width > characters ? width - characters : 0, ' ');
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The value after a line's "=": its first word when nothing but a comment ("#" and what
// follows) comes after it, else all of it (which no setting takes). "racer1.left = #" is the
// key '#'; "volume = 60 # quieter" is 60.
std::string ValueOf(const std::string& rest) {
    const std::string value = Trimmed(rest);
    const size_t end = value.find_first_of(" \t");
    if (end != std::string::npos && value[value.find_first_not_of(" \t", end)] == '#') {
        return value.substr(0, end);
    }
    return value;
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
        (settings->*control.racer).*control.control = key;
        return "";
    };
    auto show = [control](const PlayerSettings& settings) {
        return KeyText(KeyOf(settings, control));
    };
    return {control.name, nullptr, read, show};
}

// A whole number from lowest to highest; `lowestMeans` says what the lowest stands for.
SettingRow NumberRow(const char* name, const char* environment, int PlayerSettings::*member,
                     int lowest, int highest, const std::string& lowestMeans = "") {
    const std::string takes = "must be a whole number from " + std::to_string(lowest) +
                              lowestMeans + " to " + std::to_string(highest);
    auto read = [=](const std::string& value, PlayerSettings* settings) -> std::string {
        return ReadWholeNumber(value.c_str(), lowest, highest, &(settings->*member))
                   ? ""
                   : takes + ", not " + Quoted(value);
    };
    auto show = [member](const PlayerSettings& settings) {
        return std::to_string(settings.*member);
    };
    return {name, environment, read, show};
}

SettingRow YesNoRow(const char* name, const char* environment, bool PlayerSettings::*member) {
    auto read = [member](const std::string& value, PlayerSettings* settings) -> std::string {
        return ReadYesNo(value.c_str(), &(settings->*member))
                   ? ""
                   : "must be yes or no, not " + Quoted(value);
    };
    auto show = [member](const PlayerSettings& settings) {
        return std::string(settings.*member ? "yes" : "no");
    };
    return {name, environment, read, show};
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

// What is wrong with a line of the file. A line that would set a setting names it, and its
// message ends with that setting's value in force; a line that is ignored names none.
struct Problem {
    int line;
    std::string what;
    std::string setting;
};

// The values the file gave each setting, in the order of its lines, on its default (line 0).
using Given = std::map<std::string, std::vector<std::pair<int, std::string>>>;

// Where two controls share a key, the one given it on the later line gives way: it goes back
// to the key it had before that line. A control on its default key counts as given it before
// the file. Until every control has a key of its own (the defaults share none).
void RefuseSharedKeys(PlayerSettings* settings, Given* given, std::vector<Problem>* found) {
    const PlayerSettings defaults;
    const auto lineOf = [&](const KeyControl& control) {
        const auto values = given->find(control.name);
        return values == given->end() || KeyOf(*settings, control) == KeyOf(defaults, control)
                   ? 0
                   : values->second.back().first;
    };
    for (;;) {
        const KeyControl* later = nullptr;
        const KeyControl* owner = nullptr;
        for (const KeyControl& control : kKeyControls) {
            for (const KeyControl& other : kKeyControls) {
                if (KeyOf(*settings, other) == KeyOf(*settings, control) &&
                    lineOf(control) > lineOf(other) &&
                    (!later || lineOf(control) > lineOf(*later))) {
                    later = &control;
                    owner = &other;
                }
            }
        }
        if (!later) {
            return;
        }
        const auto ownerValues = given->find(owner->name);
        const int ownerLine = ownerValues == given->end() ? 0 : ownerValues->second.back().first;
        auto& values = (*given)[later->name];
        found->push_back({values.back().first,
                          std::string(later->name) + " cannot be " +
                              Quoted(KeyText(KeyOf(*settings, *later))) + ": it is " + owner->name +
                              "'s key" +
                              (ownerLine ? " (line " + std::to_string(ownerLine) + ")" : ""),
                          later->name});
        values.pop_back();
        FindRow(later->name)->read(values.back().second, settings);
    }
}

// The end of a problem line: the setting's value in force and, when it is not the one the
// line found, where it comes from.
std::string InForce(const Problem& problem, const PlayerSettings& settings,
                    const SettingSources& sources) {
    const std::string value = FindRow(problem.setting)->show(settings);
    const auto source = sources.find(problem.setting);
    if (source != sources.end() && source->second.variable) {
        return "it is " + value + ", from " + source->second.variable;
    }
    if (source == sources.end() || source->second.line < problem.line) {
        return "it stays " + value;
    }
    if (source->second.line > problem.line) {
        return "it is " + value + ", from line " + std::to_string(source->second.line);
    }
    return "it is " + value;
}

// Reads one line of the file (trimmed, not empty, no comment line) into the settings.
void ReadLine(const std::string& line, int number, PlayerSettings* settings, Given* given,
              std::vector<Problem>* found) {
    const std::string notUtf8 = " (the settings file must be UTF-8 text)";
    const size_t equals = line.find('=');
    const std::string name = Trimmed(line.substr(0, equals));
    const SettingRow* row = equals == std::string::npos ? nullptr : FindRow(name);
    if (!row && !IsUtf8(line)) {
        found->push_back(
            {number, "not UTF-8 text: " + Quoted(line) + notUtf8 + "; the line is ignored", ""});
    } else if (equals == std::string::npos) {
        found->push_back(
            {number, "not a setting: " + Quoted(line) + " (a line reads name = value)", ""});
    } else if (!row) {
        found->push_back({number,
                          "unknown setting " + Quoted(name) +
                              " (kestrun --settings lists them); the line is ignored",
                          ""});
    } else {
        const std::string value = ValueOf(line.substr(equals + 1));
        const std::string wrong = IsUtf8(value)
                                      ? row->read(value, settings)
                                      : "must be UTF-8 text, not " + Quoted(value) + notUtf8;
        auto& values = (*given)[name];
        if (values.empty()) {
            values.push_back({0, row->show(PlayerSettings())});
        }
        if (!wrong.empty()) {
            found->push_back({number, name + " " + wrong, name});
            return;
        }
        if (values.back().first > 0) {
            found->push_back(
                {number,
                 name + " is given again, after line " + std::to_string(values.back().first),
                 name});
        }
        values.push_back({number, row->show(*settings)});
    }
}
} // namespace

const std::vector<SettingRow>& SettingRows() {
    static const std::vector<SettingRow> rows = [] {
        std::vector<SettingRow> table;
        for (const KeyControl& control : kKeyControls) {
            table.push_back(KeyRow(control));
        }
        table.push_back(
            NumberRow("volume", "KESTRUN_VOLUME", &PlayerSettings::volume, 0, kLoudestVolume));
        table.push_back(YesNoRow("fullscreen", "KESTRUN_FULLSCREEN", &PlayerSettings::fullscreen));
        table.push_back(NumberRow("max_fps", "KESTRUN_MAX_FPS", &PlayerSettings::frameCap, 0,
                                  kHighestFrameCap, " (no cap)"));
        table.push_back(ItemsRow());
        return table;
    }();
    return rows;
}

SettingSources ReadSettings(std::istream& in, const std::string& fileName, PlayerSettings* settings,
                            std::ostream& problems) {
    Given given;
    std::vector<Problem> found;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (number == 1 && text.compare(0, 3, "\xef\xbb\xbf") == 0) {
            text.erase(0, 3); // the byte order mark some editors write
        }
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        const std::string line = Trimmed(text);
        if (!line.empty() && line[0] != '#') {
            ReadLine(line, number, settings, &given, &found);
        }
    }
    RefuseSharedKeys(settings, &given, &found);
    SettingSources sources;
    for (const auto& [name, values] : given) {
        if (values.back().first > 0) {
            sources[name].line = values.back().first;
        }
    }
    std::vector<std::string> refused; // the environment's problem lines
    for (const SettingRow& row : SettingRows()) {
        const char* chosen = row.environment ? EnvironmentSetting(row.environment) : nullptr;
        if (!chosen) {
            continue;
        }
        const std::string wrong = row.read(chosen, settings);
        if (wrong.empty()) {
            sources[row.name] = {0, row.environment};
        } else {
            refused.push_back("kestrun: " + std::string(row.environment) + " " + wrong + "; " +
                              row.name + " stays " + row.show(*settings));
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    for (size_t i = 0; i < found.size() && i < kProblemsShown; ++i) {
        const Problem& problem = found[i];
        problems << "kestrun: " << fileName << ":" << problem.line << ": " << problem.what
                 << (problem.setting.empty() ? "" : "; " + InForce(problem, *settings, sources))
                 << std::endl;
    }
    if (found.size() > kProblemsShown) {
        problems << "kestrun: " << fileName << ": " << found.size() - kProblemsShown
                 << " more problems not shown" << std::endl;
    }
    for (const std::string& line : refused) {
        problems << line << std::endl;
    }
    return sources;
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

SettingSources LoadSettings(const std::string& path, PlayerSettings* settings,
                            std::ostream& problems) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status =
        path.empty() ? fs::file_status(fs::file_type::not_found) : fs::status(path, error);
    std::ifstream in;
    if (status.type() != fs::file_type::not_found) {
        std::string reason = error ? error.message() : "it is not a file";
        if (!error && status.type() == fs::file_type::regular) {
            in.open(path);
            reason = std::strerror(errno);
        }
        if (!in.is_open()) {
            problems << "kestrun: cannot read the settings file " << path << " (" << reason
                     << "); no setting is taken from it" << std::endl;
        }
    }
    if (in.is_open()) {
        return ReadSettings(in, path, settings, problems);
    }
    std::istringstream none;
    return ReadSettings(none, path, settings, problems);
}

void WriteSettings(const PlayerSettings& settings, const SettingSources& sources,
                   std::ostream& out) {
    size_t nameWidth = 0;
    for (const SettingRow& row : SettingRows()) {
        nameWidth = std::max(nameWidth, row.name.size());
    }
    for (const SettingRow& row : SettingRows()) {
        const auto source = sources.find(row.name);
        std::string from = "default";
        if (source != sources.end()) {
            from = source->second.variable
                       ? source->second.variable
                       : "the file, line " + std::to_string(source->second.line);
        }
        // A value of up to four characters keeps the comments in one column.
        out << Padded(Padded(row.name, nameWidth) + " = " + row.show(settings), nameWidth + 7)
            << "  # " << from << std::endl;
    }
}
