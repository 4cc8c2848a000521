// The player's settings file: what each good file gives, and the one line each kind of bad
// line gets, with its setting left at its default.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

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
         "WQ\xe9" "d ikjl 6 no 60", ""},
        {"volume = 50\nrace1.accelerate = z\n", "wsad ikjl 50 no 60",
         "F:2: unknown setting 'race1.accelerate' (kestrun --settings lists them); the line is "
         "ignored\n"},
        {"fullscreen yes\n", kDefaults,
         "F:1: not a setting: 'fullscreen yes' (a line reads name = value)\n"},
        {"racer1.accelerate = zz\nracer2.hold =\nracer1.left = \xe9\n", kDefaults,
         "F:1: racer1.accelerate must be one printable character, not 'zz'; it stays w\n"
         "F:2: racer2.hold must be one printable character, not ''; it stays k\n"
         "F:3: racer1.left must be one printable character, not '\xe9'; it stays a\n"},
        {"racer1.left = q\nracer2.right = c\n", kDefaults,
         "F:1: racer1.left cannot be 'q': q, c and Esc are the game's own keys; it stays a\n"
         "F:2: racer2.right cannot be 'c': q, c and Esc are the game's own keys; it stays l\n"},
        {"racer1.accelerate = z\nracer1.hold = z\n", "zsad ikjl 80 no 60",
         "F:2: racer1.hold cannot be 'z': it is racer1.accelerate's key (line 1); it stays s\n"},
        {"racer1.accelerate = i\n", kDefaults,
         "F:1: racer1.accelerate cannot be 'i': it is racer2.accelerate's key; it stays w\n"},
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
        std::ostringstream problems;
        PlayerSettings settings;
        ReadSettings(in, "F", &settings, problems);
        EXPECT_EQ(f.settings, Summary(settings)) << f.file;
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
                  " (it is not a file); every setting keeps its default\n",
              problems.str());
}
