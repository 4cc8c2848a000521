// The player's records: what each records file gives, the best times a race keeps, where they
// are kept and what a folder that cannot be written costs; race times as the player reads them.
// The level played last, kept in the state folder.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <tuple>

#include "ScopedEnv.h"
#include "TempDir.h"
#include "base/LastPlayed.h"
#include "base/PlayerFolders.h"
#include "course/CourseKey.h"
#include "race/RaceTimeText.h"
#include "race/Records.h"

namespace {
// "lap 11928 race3 36005": the times there are in tenths of a tick, "" for none.
std::string Summary(const CourseRecords& r) {
    std::string text = r.bestLap ? "lap " + std::to_string(int(r.bestLap * 10)) : "";
    for (int laps = 1; laps <= kMostLapsRecorded; ++laps)
        text += r.BestRace(laps) ? " race" + std::to_string(laps) + " " +
                                       std::to_string(int(r.BestRace(laps) * 10)) : "";
    return text;
}
} // namespace

// Each good file read whole and written back the same; any line that is not a record makes
// the whole file count as none.
TEST(RecordsFile, GoodFilesAndEachKindOfBadFile) {
    const std::string head = "kestrun-records 1\n";
    const std::string foreign = "it does not start with 'kestrun-records 1'";
    const struct {
        std::string file, records, wrong;
    } kFiles[] = {
        {head, "", ""}, {"kestrun-records 1", "", ""},
        {"kestrun-records 1\r\nlap 1192.8\r\n\n race\t3 3600.5\nrace 20 1e4\n",
         "lap 11928 race3 36005 race20 100000", ""},
        {"", "", foreign}, {"kestrun-records 2\nlap 5\n", "", foreign},
        {"64 64\n11\n", "", foreign},
        {head + "lap 5\nrace 3 9\nlap 4\n", "", "line 4: a second best lap"},
        {head + "race 3 9\nrace 3 8\n", "", "line 3: a second best race of 3 laps"},
        {head + std::string(5000, '\n'), "", "longer than a records file"},
        {head + "lap 5\nrace 99 1\n", "", "line 3: not a record"},
    };
    std::vector<std::decay_t<decltype(kFiles[0])>> files(std::begin(kFiles), std::end(kFiles));
    for (const std::string& line : std::vector<std::string>{
             "race 0 5", "race 21 5", "race 3", "race 3 5 6", "race 3.0 5", "race +3 5", "lap -5",
             "lap 0", "lap nan", "lap inf", "lap 5x", "lap 0x10", "lap +5", "lap 3e7", "lap",
             "best 5", std::string("lap 5\0", 6)})
        files.push_back({head + line + "\n", "", "line 2: not a record"});
    for (const auto& f : files) {
        std::istringstream in(f.file), again;
        CourseRecords records, read;
        std::string wrong;
        EXPECT_EQ(f.wrong.empty(), ReadRecords(in, &records, &wrong)) << f.file;
        EXPECT_EQ(f.records + "/" + f.wrong, Summary(records) + "/" + wrong) << f.file;
        again.str(RecordsText(records));
        EXPECT_TRUE(ReadRecords(again, &read, &wrong) && RecordsText(read) == again.str());
    }
}

// Each lap and race against the best so far: only a faster time is a record, and a race's
// only against races of its own lap count. Times shown to the hundredth, rounded; gaps signed,
// with minutes only from a minute on.
TEST(RecordsFile, OnlyAFasterTimeIsANewBestAndEachLapCountHasItsOwn) {
    const struct {
        int laps;  // 0: a lap
        float ticks;
        bool best;
    } kFinishes[] = {
        {0, 1200, true}, {0, 1300, false}, {0, 1200, false}, {0, 1199.5f, true}, {0, 0, false},
        {0, -5, false}, {0, NAN, false}, {0, INFINITY, false}, {3, 3600, true}, {3, 3700, false},
        {5, 3700, true}, {4, 9000, true}, {3, 3500, true}, {0, 3000, false}, {0, 1100, true},
        {-1, 10, false}, {21, 10, false}, {20, 1e5f, true}, {1, 1300, true}, {1, NAN, false},
    };
    CourseRecords records;
    for (const auto& f : kFinishes)
        EXPECT_EQ(f.best, f.laps ? TakeRace(&records, f.laps, f.ticks) : TakeLap(&records, f.ticks))
            << f.laps << " laps, " << f.ticks;
    EXPECT_EQ("lap 11000 race1 13000 race3 35000 race4 90000 race5 37000 race20 1000000",
              Summary(records));
    const struct {
        float ticks;
        const char *time, *gap;
    } kTimes[] = {
        {0, "0:00.00", "+0.00"},          {1192.8f, "0:19.88", "+19.88"},
        {3741, "1:02.35", "+1:02.35"},    {85.2f, "0:01.42", "+1.42"},
        {-85.2f, "-:--.--", "-1.42"},     {-0.29f, "-:--.--", "+0.00"},
        {3599.9f, "1:00.00", "+1:00.00"}, {270000, "75:00.00", "+75:00.00"},
        {NAN, "-:--.--", "+-:--.--"},     {21.6e6f, "-:--.--", "+-:--.--"},
    };
    for (const auto& t : kTimes)
        EXPECT_TRUE(t.time == RaceTimeText(t.ticks) && t.gap == GapText(t.ticks)) << t.ticks;
}

// The folders by the XDG rules (a variable counts only when it is a full path); the records of a
// course under its key, written whole and read back, a bad file replaced, and a folder that
// cannot be written (below a file, which holds for root too) costing one line.
TEST(RecordsFile, KeptInTheDataFolderUnderTheCoursesKey) {
    TempDir home;
    ScopedEnv homeSet("HOME", home.Path().c_str());
    for (const auto& [variable, folder, fallback] :
         {std::tuple{"XDG_CONFIG_HOME", &ConfigFolder, "/.config/kestrun"},
          std::tuple{"XDG_DATA_HOME", &DataFolder, "/.local/share/kestrun"},
          std::tuple{"XDG_STATE_HOME", &StateFolder, "/.local/state/kestrun"}}) {
        for (const char* value : {"relative", "", static_cast<const char*>(nullptr), "/x"}) {
            ScopedEnv set(variable, value);
            EXPECT_EQ(value && *value == '/' ? "/x/kestrun" : home.Path() + fallback, folder());
            ScopedEnv noHome("HOME", "home");
            EXPECT_EQ(value && *value == '/' ? "/x/kestrun" : "", folder()) << variable;
        }
    }
    // The key: 64-bit FNV-1a, as its published values; the file's bytes make it.
    EXPECT_EQ("cbf29ce484222325 af63dc4c8601ec8c 85944171f73967e8",
              CourseKey("") + " " + CourseKey("a") + " " + CourseKey("foobar"));
    const std::string course = KESTRUN_SOURCE_DIR "/data/courses/default.txt";
    const std::string key = CourseFileKey(course);
    EXPECT_EQ(CourseKey(ReadFileBytes(course)), key);
    EXPECT_EQ("", CourseFileKey(home.Path()));
    ScopedEnv dataSet("XDG_DATA_HOME", home.File("data").c_str());
    const std::string folder = RecordsFolder();
    const std::string path = folder + "/" + key;
    EXPECT_EQ(home.File("data/kestrun/records"), folder);
    CourseRecords records;
    std::string problem;
    EXPECT_TRUE(LoadRecords(folder, key, &records, &problem) && problem.empty()) << problem;
    TakeLap(&records, 1192.8f);
    TakeRace(&records, 3, 3600.5f);
    EXPECT_TRUE(SaveRecords(folder, key, records, &problem)) << problem;
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder), {}));
    CourseRecords read;
    EXPECT_TRUE(LoadRecords(folder, key, &read, &problem));
    EXPECT_EQ(RecordsText(records) + RecordsText(records), ReadFileBytes(path) + RecordsText(read));
    home.Write("data/kestrun/records/" + key, "lap 5\n");
    EXPECT_FALSE(LoadRecords(folder, key, &read, &problem));
    EXPECT_EQ("kestrun: " + path + " holds no records this game can read (it does not start "
              "with 'kestrun-records 1'); the course's records start afresh", problem);
    EXPECT_TRUE(SaveRecords(folder, key, records, &problem));
    EXPECT_EQ(RecordsText(records), ReadFileBytes(path));
    const std::string below = home.Write("file", "") + "/records";
    EXPECT_TRUE(LoadRecords(below, key, &read, &problem) && problem.empty()) << problem;
    EXPECT_FALSE(SaveRecords(below, key, records, &problem));
    EXPECT_EQ("kestrun: cannot keep the records (cannot make the folder " + below +
              ": Not a directory); the race goes on", problem);
}

// The level played last, by its full path, in the state folder; a folder that cannot be written
// costs one line.
TEST(LastPlayed, KeptInTheStateFolderByItsFullPath) {
    TempDir home;
    const std::string level = std::filesystem::canonical(home.Write("levels/a.txt", "")).string();
    ScopedEnv state("XDG_STATE_HOME", home.File("state").c_str());
    std::string problem;
    EXPECT_TRUE(RememberLevel(home.File("levels/../levels/a.txt"), &problem)) << problem;
    EXPECT_EQ(level + "\n" + level,
              ReadFileBytes(home.File("state/kestrun/last-level")) + RememberedLevel());
    const std::string file = home.Write("file", "");
    ScopedEnv notAFolder("XDG_STATE_HOME", file.c_str());
    EXPECT_FALSE(RememberLevel(level, &problem));
    EXPECT_EQ("kestrun: cannot keep the level played last (cannot make the folder " + file +
              "/kestrun: Not a directory); the game goes on", problem);
}
