// The player's records on a course: the best lap and the best race time for each lap count,
// in race time (ticks, a 60th of a second). Kept in the data folder's records/, one plain text
// file a course, named by the course's key (course/CourseKey.h). What is wrong is never fatal
// and never printed here: a bad or foreign file counts as no records (it is replaced at the
// next write), and the reader and writer hand back one line saying why, for the caller to
// print (once a run for the same problem) while the race goes on.
#pragma once

#include <array>
#include <iosfwd>
#include <string>

constexpr int kMostLapsRecorded = 20;  // races of 1 to 20 laps have records
constexpr const char* kNewBestLapText = "new best lap";
constexpr float kNewBestLapTicks = 180.0f;  // how long the heads-up shows it: 3 seconds

// 0 stands for no time yet.
struct CourseRecords {
    float bestLap = 0.0f;
    std::array<float, kMostLapsRecorded> bestRace{};  // [laps - 1]

    // The best race of `laps` laps, 0 when none (or no such lap count).
    float BestRace(int laps) const;
};

// A finished lap: true, and kept, when it beats the best lap (or is the first).
bool TakeLap(CourseRecords* records, float ticks);
// A finished race of `laps` laps: true, and kept, when it beats that lap count's best. A lap
// count outside 1..kMostLapsRecorded, or a time that is no time, is never a record.
bool TakeRace(CourseRecords* records, int laps, float ticks);

// Reads a records file into *records. False, with what is wrong in *wrong and no records,
// for anything but a file this game writes.
bool ReadRecords(std::istream& in, CourseRecords* records, std::string* wrong);
// The file's text: the first line "kestrun-records 1", then "lap TICKS" and "race LAPS TICKS"
// for each time there is.
std::string RecordsText(const CourseRecords& records);

// The folder of the records: records/ in the data folder; empty when there is none.
std::string RecordsFolder();

// Reads the records of the course `key` in `folder` into *records. False, with one line in
// *problem and no records, for a file that cannot be read or is not a records file; no file
// yet is no records and nothing to say.
bool LoadRecords(const std::string& folder, const std::string& key, CourseRecords* records,
                 std::string* problem);
// Writes them back whole (base/PlayerFolders.h), over a bad or foreign file too, but never over
// one that cannot be read. False with one line in *problem when they are not written.
bool SaveRecords(const std::string& folder, const std::string& key, const CourseRecords& records,
                 std::string* problem);
