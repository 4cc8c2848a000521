// The player's settings: what each good file gives, the one line each kind of bad line gets
// with the value in force, what kestrun --settings shows, and the environment over the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ScopedEnv.h"
#include "TempDir.h"
#include "base/SettingsFile.h"

// Racer 1's and racer 2's keys, the volume, fullscreen and the frame cap: "wsad ikjl 80 no 60",
// and " course" for items on the course.
static std::string Summary(const PlayerSettings& s) {
    std::string keys;
    for (const RacerKeys& k : {s.racer1, s.racer2}) {
        keys += {char(k.accelerate), char(k.hold), char(k.left), char(k.right), ' '};
    }
    return keys + std::to_string(s.volume) + (s.fullscreen ? " yes " : " no ") +
           std::to_string(s.frameCap) + (s.itemsOnCourse ? " course" : "");
}

TEST(SettingsFile, GoodFilesAndEachKindOfBadLine) {
    const char* const kDefaults = "wsad ikjl 80 no 60";
    const struct {
        std::string file;
        std::string settings;
        std::string problems;  // "F:" stands for "kestrun: <the file's name>:"
    } kFiles[] = {
        {"", kDefaults, ""},
        {"\xef\xbb\xbf# mine\r\n\r\n  racer1.accelerate\t=  z \r\n\t\n  # volume = 5\n", "zsad ikjl 80 no 60", ""},
        {"racer1.accelerate = e\nracer1.hold = d\nracer1.left = s\nracer1.right = f\n"
         "racer2.accelerate = o\nracer2.hold = l\nracer2.left = k\nracer2.right = m\n"
         "volume = 007\nfullscreen = yes\nmax_fps = 0\nitems = course\n",
         "edsf olkm 7 yes 0 course", ""},
        {"racer1.accelerate=i\nracer1.hold=k\nracer1.left=j\nracer1.right=l\n"
         "racer2.accelerate=w\nracer2.hold=s\nracer2.left=a\nracer2.right=d\nfullscreen=no",
         "ikjl wsad 80 no 60", ""},
        {"racer1.accelerate = W\nracer1.hold = Q\nracer1.left = \xc3\xa9\nvolume = 5\nvolume = 6\n",
         "WQ\xe9" "d ikjl 6 no 60", "F:5: volume is given again, after line 4; it is 6\n"},
        // A comment may follow a value; '#' alone is a key.
        {"volume = 60 # quieter\nracer1.left = #\nracer2.left = #  # too\nracer1.hold = # s\n"
         "max_fps = 30#\nvolume = 101\nvolume = 5\n",
         "ws#d ikjl 5 no 60",
         "F:3: racer2.left cannot be '#': it is racer1.left's key (line 2); it stays j\n"
         "F:4: racer1.hold must be one printable character, not '# s'; it stays s\n"
         "F:5: max_fps must be a whole number from 0 (no cap) to 1000, not '30#'; it stays 60\n"
         "F:6: volume must be a whole number from 0 to 100, not '101'; it is 5, from line 7\n"
         "F:7: volume is given again, after line 1; it is 5\n"},
        // Bytes that are no text: escaped, and a few lines only.
        {"\x1b[2J\n\xff\xfe=1\nvolume = \x01\nx\nx\nx\nx\n", kDefaults,
         "F:1: not a setting: '\\x1b[2J' (a line reads name = value)\n"
         "F:2: not UTF-8 text: '\\xff\\xfe=1' (the settings file must be UTF-8 text); the line is "
         "ignored\n"
         "F:3: volume must be a whole number from 0 to 100, not '\\x01'; it stays 80\n"
         "F:4: not a setting: 'x' (a line reads name = value)\n"
         "F:5: not a setting: 'x' (a line reads name = value)\n"
         "F: 2 more problems not shown\n"},
        {"volume = 50\nrace1.accelerate = z\n", "wsad ikjl 50 no 60",
         "F:2: unknown setting 'race1.accelerate' (kestrun --settings lists them); the line is "
         "ignored\n"},
        {"fullscreen yes\n", kDefaults,
         "F:1: not a setting: 'fullscreen yes' (a line reads name = value)\n"},
        {"racer1.accelerate = zz\nracer2.hold =\nracer1.left = \xe9\n", kDefaults,
         "F:1: racer1.accelerate must be one printable character, not 'zz'; it stays w\n"
         "F:2: racer2.hold must be one printable character, not ''; it stays k\n"
         "F:3: racer1.left must be UTF-8 text, not '\\xe9' (the settings file must be UTF-8 "
         "text); it stays a\n"},
        {"racer1.left = q\nracer2.right = c\n", kDefaults,
         "F:1: racer1.left cannot be 'q': q, c and Esc are the game's own keys; it stays a\n"
         "F:2: racer2.right cannot be 'c': q, c and Esc are the game's own keys; it stays l\n"},
        {"racer1.accelerate = z\nracer1.hold = z\n", "zsad ikjl 80 no 60",
         "F:2: racer1.hold cannot be 'z': it is racer1.accelerate's key (line 1); it stays s\n"},
        {"racer1.accelerate = i\n", kDefaults,
         "F:1: racer1.accelerate cannot be 'i': it is racer2.accelerate's key; it stays w\n"},
        {"racer1.accelerate = i\nracer2.accelerate = i\n", kDefaults,
         "F:1: racer1.accelerate cannot be 'i': it is racer2.accelerate's key (line 2); it stays "
         "w\n"},
        {"racer1.hold = i\nracer1.hold =\n", kDefaults,
         "F:1: racer1.hold cannot be 'i': it is racer2.accelerate's key; it stays s\n"
         "F:2: racer1.hold must be one printable character, not ''; it stays s\n"},
        // A key refused goes back to the one the line before gave.
        {"racer1.hold = z\nracer1.hold = w\n", "wzad ikjl 80 no 60",
         "F:2: racer1.hold is given again, after line 1; it stays z\n"
         "F:2: racer1.hold cannot be 'w': it is racer1.accelerate's key; it stays z\n"},
        // The hold key refused gets back its s, which line 1 gave away: that goes back too.
        {"racer1.left = s\nracer1.accelerate = z\nracer1.hold = z\n", "zsad ikjl 80 no 60",
         "F:1: racer1.left cannot be 's': it is racer1.hold's key; it stays a\n"
         "F:3: racer1.hold cannot be 'z': it is racer1.accelerate's key (line 2); it stays s\n"},
        {"volume = 101\nfullscreen = true\nmax_fps = -1\nitems = Course\nvolume = " +
             std::string(50, '9'),
         kDefaults,
         "F:1: volume must be a whole number from 0 to 100, not '101'; it stays 80\n"
         "F:2: fullscreen must be yes or no, not 'true'; it stays no\n"
         "F:3: max_fps must be a whole number from 0 (no cap) to 1000, not '-1'; it stays 60\n"
         "F:4: items must be course or anywhere, not 'Course'; it stays anywhere\n"
         "F:5: volume must be a whole number from 0 to 100, not '" + std::string(40, '9') +
             "...'; it stays 80\n"},
    };
    for (const auto& f : kFiles) {
        std::istringstream in(f.file);
        std::ostringstream problems, none;
        PlayerSettings settings;
        const SettingSources sources = ReadSettings(in, "F", &settings, problems);
        EXPECT_EQ(f.settings, Summary(settings)) << f.file;
        // kestrun --settings: the same settings read back, the comments in a column of
        // characters unless a value is longer than four.
        std::stringstream shown;
        WriteSettings(settings, sources, shown);
        PlayerSettings again;
        ReadSettings(shown, "F", &again, none);
        EXPECT_EQ(f.settings, Summary(again)) << shown.str();
        EXPECT_EQ("", none.str()) << shown.str();
        std::istringstream lines(shown.str());
        for (std::string line, setting; std::getline(lines, line);) {
            setting = line.substr(0, line.find("  # "));
            const auto width = std::count_if(setting.begin(), setting.end(),
                                             [](char c) { return (c & 0xc0) != 0x80; });
            EXPECT_TRUE(width == 24 || (width > 24 && setting.back() != ' ')) << line;
        }
        std::string expected = f.problems;
        for (size_t at = 0; (at = expected.find("F:", at)) != std::string::npos; at += 11) {
            expected.replace(at, 2, "kestrun: F:");
        }
        EXPECT_EQ(expected, problems.str()) << f.file;
    }
}

// The file's place (XDG_CONFIG_HOME only when absolute), and a file that is not there or is a
// folder.
TEST(SettingsFile, FoundInTheConfigFolderAndSilentWhenMissing) {
    TempDir home;
    ScopedEnv homeSet("HOME", home.Path().c_str());
    for (const char* config : {"relative/folder", "", static_cast<const char*>(nullptr)}) {
        ScopedEnv configSet("XDG_CONFIG_HOME", config);
        EXPECT_EQ(home.Path() + "/.config/kestrun/settings", SettingsFilePath())
            << (config ? config : "unset");
    }
    ScopedEnv configSet("XDG_CONFIG_HOME", home.File("config").c_str());
    const std::string path = SettingsFilePath();
    EXPECT_EQ(home.File("config/kestrun/settings"), path);
    PlayerSettings settings;
    std::ostringstream problems;
    LoadSettings(path, &settings, problems);
    home.Write("config/kestrun/settings/inside", "");
    LoadSettings(path, &settings, problems);
    EXPECT_EQ("kestrun: cannot read the settings file " + path +
                  " (it is not a file); no setting is taken from it\n",
              problems.str());
}

// The environment over the file: a value taken wins, named as the source; a refused one gets a
// line and leaves the file's value or the default. "V": taken as V, "V>T" as T, "V>" refused.
TEST(SettingsFile, TheEnvironmentWinsAndARefusedVariableCostsOnlyItself) {
    ScopedEnv volume("KESTRUN_VOLUME", nullptr), cap("KESTRUN_MAX_FPS", nullptr),
        fullscreen("KESTRUN_FULLSCREEN", nullptr);
    const std::map<std::string, std::vector<std::string>> kValues = {
        {"KESTRUN_MAX_FPS", {"max_fps 30 60", "", "0", "1", "30", "61", "144", "1000", "0120>120",
                             "1001>", "-1>", "+30>", "2x>", "60 >"}},
        {"KESTRUN_VOLUME", {"volume 30 80", "", "0", "1", "35", "99", "100", "007>7", "0100>100",
                            "000000000000000000000042>42", "101>", "-1>", "-0>", "+5>", " 5>",
                            "5 >", "50abc>", "5.0>", "1e2>", "0x10>", "loud>",
                            "9999999999999999999>"}},
        {"KESTRUN_FULLSCREEN", {"fullscreen yes no", "", "yes", "no", "YES>"}}};
    for (const auto& [variable, values] : kValues) {
        std::string name, fileValue, byDefault;  // the setting, as line 2 of a file sets it
        std::istringstream(values[0]) >> name >> fileValue >> byDefault;
        for (size_t i = 1; i < values.size(); ++i) {
            const std::string value = values[i].substr(0, values[i].find('>'));
            const std::string taken = values[i].substr(values[i].find('>') + 1);
            ScopedEnv set(variable.c_str(), value.c_str());
            for (const bool inFile : {false, true}) {
                std::istringstream in(inFile ? "# mine\n" + name + " = " + fileValue : "");
                PlayerSettings settings;
                std::ostringstream problems, shown;
                WriteSettings(settings, ReadSettings(in, "F", &settings, problems), shown);
                std::string line = shown.str().substr(shown.str().find('\n' + name + ' ') + 1);
                std::string inForce;
                std::istringstream(line.substr(line.find('=') + 1)) >> inForce;
                EXPECT_EQ(!value.empty() && !taken.empty() ? taken + " # " + variable
                          : inFile ? fileValue + " # the file, line 2"
                                   : byDefault + " # default",
                          inForce + " " + line.substr(line.find('#'), line.find('\n') - line.find('#')))
                    << variable << "=" << value;
                EXPECT_EQ(!value.empty() && taken.empty(), !problems.str().empty())
                    << variable << "=" << value << problems.str();
            }
        }
    }
    // A refused variable's line, and a file's line with the variable's value in force.
    ScopedEnv fast("KESTRUN_MAX_FPS", "fast"), loud("KESTRUN_VOLUME", "35");
    std::istringstream in("max_fps = 30\nvolume = 101\n");
    PlayerSettings settings;
    std::ostringstream problems;
    ReadSettings(in, "F", &settings, problems);
    EXPECT_EQ("kestrun: F:2: volume must be a whole number from 0 to 100, not '101'; it is 35, "
              "from KESTRUN_VOLUME\nkestrun: KESTRUN_MAX_FPS must be a whole number from 0 (no "
              "cap) to 1000, not 'fast'; max_fps stays 30\n",
              problems.str());
}
