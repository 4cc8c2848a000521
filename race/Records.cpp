#include "race/Records.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <sstream>
#include <vector>

#include "base/FramePacer.h"
#include "base/PlayerFolders.h"

namespace {
constexpr const char* kFirstLine = "kestrun-records 1";
constexpr size_t kLongestFile = 4096;  // far more than the longest file the game writes
// No time of a hundred hours or more is taken, nor read back.
constexpr float kLongestTime = 100.0f * 3600.0f * kTicksPerSecond;

bool IsTime(float ticks) {
    return ticks > 0.0f && ticks < kLongestTime;
}

bool Beats(float ticks, float best) {
    return IsTime(ticks) && (best == 0.0f || ticks < best);
}

// The whole word as a number of type T; false when any of it is not.
template <typename T> bool ReadNumber(const std::string& word, T* value) {
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, *value);
    return error == std::errc() && stop == end;
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

// Takes one line after the first into *records; what is wrong with it otherwise.
std::string ReadLine(const std::vector<std::string>& words, CourseRecords* records) {
    float ticks = 0.0f;
    if (words.size() == 2 && words[0] == "lap" && ReadNumber(words[1], &ticks) && IsTime(ticks)) {
        if (records->bestLap != 0.0f) {
            return "a second best lap";
        }
        records->bestLap = ticks;
        return "";
    }
    int laps = 0;
    if (words.size() == 3 && words[0] == "race" && ReadNumber(words[1], &laps) && laps >= 1 &&
        laps <= kMostLapsRecorded && ReadNumber(words[2], &ticks) && IsTime(ticks)) {
        float& best = records->bestRace[static_cast<size_t>(laps - 1)];
        if (best != 0.0f) {
            return "a second best race of " + std::to_string(laps) + " laps";
        }
        best = ticks;
        return "";
    }
    return "not a record";
}

std::string TimeText(float ticks) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, ticks);
    return std::string(text, result.ptr);
}

std::string RecordsPath(const std::string& folder, const std::string& key) {
    return folder + "/" + key;
}

// A key as CourseKey writes it, so that the file's name stays inside the folder.
bool IsCourseKey(const std::string& key) {
    return key.size() == 16 && key.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// Why the records cannot be kept in the folder at all, or empty.
std::string NoPlace(const std::string& folder, const std::string& key) {
    if (folder.empty()) {
        return "kestrun: no folder for the records (neither XDG_DATA_HOME nor HOME is a full "
               "path); the race goes on without them";
    }
    if (!IsCourseKey(key)) {
        return "kestrun: the course has no key for its records; the race goes on without them";
    }
    return "";
}
}  // namespace

float CourseRecords::BestRace(int laps) const {
    return laps >= 1 && laps <= kMostLapsRecorded ? bestRace[static_cast<size_t>(laps - 1)] : 0.0f;
}

bool TakeLap(CourseRecords* records, float ticks) {
    if (!Beats(ticks, records->bestLap)) {
        return false;
    }
    records->bestLap = ticks;
    return true;
}

bool TakeRace(CourseRecords* records, int laps, float ticks) {
    if (laps < 1 || laps > kMostLapsRecorded) {
        return false;
    }
    float& best = records->bestRace[static_cast<size_t>(laps - 1)];
    if (!Beats(ticks, best)) {
        return false;
    }
    best = ticks;
    return true;
}

bool ReadRecords(std::istream& in, CourseRecords* records, std::string* wrong) {
    *records = CourseRecords();
    std::string text(kLongestFile + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    if (text.size() > kLongestFile) {
        *wrong = "longer than a records file";
        return false;
    }
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (line != kFirstLine) {
        *wrong = std::string("it does not start with '") + kFirstLine + "'";
        return false;
    }
    for (int number = 2; std::getline(lines, line); ++number) {
        const std::vector<std::string> words = Words(line);
        const std::string problem = words.empty() ? "" : ReadLine(words, records);
        if (!problem.empty()) {
            *records = CourseRecords();
            *wrong = "line " + std::to_string(number) + ": " + problem;
            return false;
        }
    }
    return true;
}

std::string RecordsText(const CourseRecords& records) {
    std::string text = std::string(kFirstLine) + "\n";
    if (IsTime(records.bestLap)) {
        text += "lap " + TimeText(records.bestLap) + "\n";
    }
    for (int laps = 1; laps <= kMostLapsRecorded; ++laps) {
        if (IsTime(records.BestRace(laps))) {
            text += "race " + std::to_string(laps) + " " + TimeText(records.BestRace(laps)) + "\n";
        }
    }
    return text;
}

std::string RecordsFolder() {
    const std::string data = DataFolder();
    return data.empty() ? "" : data + "/records";
}

bool LoadRecords(const std::string& folder, const std::string& key, CourseRecords* records,
                 std::string* problem) {
    namespace fs = std::filesystem;
    *records = CourseRecords();
    *problem = NoPlace(folder, key);
    if (!problem->empty()) {
        return false;
    }
    const std::string path = RecordsPath(folder, key);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return true;
    }
    std::string reason = error ? error.message() : "it is not a file";
    std::ifstream in;
    if (!error && status.type() == fs::file_type::regular) {
        in.open(path, std::ios::binary);
        reason = std::strerror(errno);
    }
    if (!in.is_open()) {
        *problem = "kestrun: cannot read the records " + path + " (" + reason +
                   "); the race goes on without them";
        return false;
    }
    std::string wrong;
    if (!ReadRecords(in, records, &wrong)) {
        *problem = "kestrun: " + path + " holds no records this game can read (" + wrong +
                   "); the course's records start afresh";
        return false;
    }
    return true;
}

bool SaveRecords(const std::string& folder, const std::string& key, const CourseRecords& records,
                 std::string* problem) {
    namespace fs = std::filesystem;
    *problem = NoPlace(folder, key);
    if (!problem->empty()) {
        return false;
    }
    const std::string path = RecordsPath(folder, key);
    std::error_code error;
    if (fs::exists(fs::symlink_status(path, error)) && !std::ifstream(path).is_open()) {
        *problem = "kestrun: cannot read the records " + path + " (" + std::strerror(errno) +
                   "); they are left as they are";
        return false;
    }
    std::string reason;
    if (!WriteFileWhole(path, RecordsText(records), &reason)) {
        *problem = "kestrun: cannot keep the records (" + reason + "); the race goes on";
        return false;
    }
    return true;
}
