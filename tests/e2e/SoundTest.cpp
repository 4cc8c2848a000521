// The race heard, through SDL's disk driver: what the game plays is recorded in real time
// and measured on its own (loudness, the strongest frequency, bursts of high sound), never
// through the game's mixing code.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <thread>

#include "GameRun.h"
#include "StartupLines.h"

namespace {
constexpr int kRate = 48000;
constexpr size_t kWindow = 4096;  // 85 ms
constexpr size_t kHop = 1024;

// A course of open ground with one start cell: both racers start at world (40, 48), facing
// -z. Racer 1, driving straight on, passes the first item (at 41, 35 at every start) and
// stops at the blocked ground of column 0.
std::string WriteStraightLevel(const GameRun& game) {
    std::string course = "64 64\n" + std::string(64, '1') + "\n";
    for (int line = 1; line < 63; ++line) {
        std::string cells = "1" + std::string(62, '.') + "1";
        if (line == 10) {
            cells[12] = '2';
        }
        course += cells + "\n";
    }
    course += std::string(64, '1') + "\n";
    game.WriteData("courses/straight.txt", course);
    return game.WriteData("levels/straight.txt", "skyboxes/day\ncourses/straight.txt\n");
}

// Racer 1's engine alone: racer 2's voice (the strongest frequency on the right while both
// stand) is taken out of the two channels in the proportion it has in each.
std::vector<float> Racer1Voice(const StereoTrack& track, size_t idleFrom) {
    const double voice2 = PeakFrequency(track.right, idleFrom, kWindow, kRate, 50, 400);
    const double inLeft = ToneAmplitude(track.left, idleFrom, kWindow, voice2, kRate);
    const double inRight = ToneAmplitude(track.right, idleFrom, kWindow, voice2, kRate);
    std::vector<float> voice(track.left.size());
    for (size_t i = 0; i < voice.size(); ++i) {
        voice[i] = static_cast<float>(inRight * track.left[i] - inLeft * track.right[i]);
    }
    return voice;
}

// Loudness of the sound above 1.5 kHz (a second difference lets little of the engines
// through) over each window.
std::vector<double> HighSound(const std::vector<float>& samples) {
    std::vector<double> level;
    for (size_t from = 2; from + kWindow <= samples.size(); from += kHop) {
        double sum = 0.0;
        for (size_t i = from; i < from + kWindow; ++i) {
            const double second = samples[i] - 2.0 * samples[i - 1] + samples[i - 2];
            sum += second * second;
        }
        level.push_back(std::sqrt(sum / kWindow));
    }
    return level;
}

// The windows where the high sound rises over `threshold` from below.
std::vector<size_t> Onsets(const std::vector<double>& level, double threshold) {
    std::vector<size_t> onsets;
    for (size_t w = 1; w < level.size(); ++w) {
        if (level[w] > threshold && level[w - 1] <= threshold) {
            onsets.push_back(w);
        }
    }
    return onsets;
}

double Seconds(size_t window) {
    return static_cast<double>(window * kHop) / kRate;
}
}  // namespace

TEST(Sound, EngineRisesWithSpeedChimeAtThePickUpKnockAtTheWall) {
    GameRun game;
    ASSERT_TRUE(game.StartX());
    ASSERT_TRUE(game.UseBuiltData());
    const std::string level = WriteStraightLevel(game);
    ASSERT_TRUE(game.Launch({level}, game.RecordSound()));
    ASSERT_TRUE(game.OpenWindow()) << game.Transcript();
    // Half a second of both racers standing.
    std::this_thread::sleep_for(Millis(1500));
    const size_t pressed = game.Recording().left.size();
    ASSERT_GT(pressed, kRate / 2) << "nothing recorded\n" << game.Transcript();
    const size_t idleFrom = pressed - kRate / 2;

    // Racer 1 drives straight on until the wall has stopped it and a second has passed.
    ASSERT_TRUE(game.KeyDown("w"));
    StereoTrack track;
    std::vector<float> voice;
    std::vector<double> pitch;  // racer 1's, per window
    size_t stopped = 0;         // the window where the pitch falls back
    double idle = 0.0;
    double top = 0.0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (stopped == 0 && std::chrono::steady_clock::now() < deadline && game.GameRunning()) {
        std::this_thread::sleep_for(Millis(1000));
        track = game.Recording();
        voice = Racer1Voice(track, idleFrom);
        idle = PeakFrequency(voice, idleFrom, kWindow, kRate, 50, 400);
        for (size_t w = pitch.size(); (w * kHop) + kWindow <= voice.size(); ++w) {
            pitch.push_back(PeakFrequency(voice, w * kHop, kWindow, kRate, 50, 400));
            top = std::max(top, pitch.back());
            if (top > 1.5 * idle && pitch.back() < idle * 1.1 && (w + 12) * kHop < voice.size()) {
                stopped = w;
                break;
            }
        }
    }
    EXPECT_TRUE(game.KeyUp("w"));
    ASSERT_NE(0u, stopped) << "racer 1's pitch never rose and fell back (idle " << idle
                           << " Hz, highest " << top << " Hz)\n" << game.Transcript();
    const double voice2 = PeakFrequency(track.right, idleFrom, kWindow, kRate, 50, 400);
    EXPECT_GT(std::abs(voice2 - idle), 10.0) << "the two engines sound alike";
    // The faster, the louder: racer 1 on the left, just before the wall, against standing.
    const size_t beforeWall = (stopped - 8) * kHop;
    EXPECT_GT(Rms(track.left, beforeWall, kWindow), 1.2 * Rms(track.left, idleFrom, kWindow));

    // The high bursts: the chime while racer 1 drives, the knock as the wall stops it: a
    // burst's first window starts up to 4 windows before it, and the pitch takes about a tenth
    // of a second to glide down, measured over windows of 85 ms: "stopped" comes up to 16
    // windows (a third of a second) after the knock.
    const std::vector<double> high = HighSound(track.left);
    const double quiet = *std::max_element(high.begin() + idleFrom / kHop,
                                           high.begin() + pressed / kHop - 4);
    const std::vector<size_t> onsets = Onsets(high, std::max(4.0 * quiet, 0.01));
    const size_t start = pressed / kHop;
    std::vector<size_t> chimes;
    size_t knock = 0;
    for (size_t onset : onsets) {
        const size_t at = onset * kHop;
        // A chime is a tone: one high frequency stands far above the rest of the high band.
        const double peak = PeakFrequency(track.left, at, kWindow, kRate, 1500, 6000);
        const double tone = ToneAmplitude(track.left, at, kWindow, peak, kRate);
        const double noise = ToneAmplitude(track.left, at, kWindow, 8000, kRate);
        if (tone > 10.0 * noise && onset > start && onset < stopped) {
            chimes.push_back(onset);
        } else if (tone <= 10.0 * noise && onset + 16 >= stopped && onset <= stopped + 2) {
            knock = onset;
        }
    }
    std::ostringstream heard;
    heard << "racer 1 " << idle << " Hz standing, up to " << top << " Hz, back at " << Seconds(stopped)
          << " s; bursts at";
    for (size_t onset : onsets) {
        heard << " " << Seconds(onset) << " s";
    }
    heard << "; the key went down at " << Seconds(start) << " s";
    EXPECT_FALSE(chimes.empty()) << "no chime while racer 1 drove over the item: " << heard.str();
    for (size_t onset : onsets) {
        EXPECT_GT(onset, start) << "a burst at " << Seconds(onset) << " s, before the key";
    }
    ASSERT_NE(0u, knock) << "no knock when the wall stopped racer 1: " << heard.str();
    // The knock on racer 1's side, and as the engine falls back (within a window or so).
    EXPECT_GT(Rms(track.left, knock * kHop, kWindow), Rms(track.right, knock * kHop, kWindow));
    EXPECT_TRUE(game.Quit());
}

namespace {
// A start whose sound is off or broken: what changes, and the game runs on all the same.
struct QuietStart {
    const char* name;
    EnvChanges env;
    const char* badFile;   // a sound file replaced by text, or null
    const char* errLine;   // the one line on standard error, or "" for none
    bool heard;            // the recording holds sound
};

std::ostream& operator<<(std::ostream& out, const QuietStart& start) {
    return out << start.name;
}

class SoundOff : public ::testing::TestWithParam<QuietStart> {};
}  // namespace

TEST_P(SoundOff, TheRaceGoesOnWithTheSameConsoleLines) {
    const QuietStart& start = GetParam();
    GameRun game;
    ASSERT_TRUE(game.StartX());
    ASSERT_TRUE(game.UseBuiltData());
    if (start.badFile) {
        game.WriteData(start.badFile, "not a sound\n");
    }
    EnvChanges env = game.RecordSound();
    for (const auto& [name, value] : start.env) {
        env[name] = value;
    }
    ASSERT_TRUE(game.Launch({"levels/default.txt"}, env));
    Image shot;
    ASSERT_TRUE(game.OpenWindow()) << game.Transcript();
    ASSERT_TRUE(game.WaitForFrames(&shot));
    ASSERT_TRUE(game.Key("w"));
    std::this_thread::sleep_for(Millis(1000));
    ASSERT_TRUE(game.Quit());
    const LevelWords words = ReadLevelWords(ShippedDataDir() + "/levels/default.txt");
    EXPECT_TRUE(SameLines(LevelLines("levels/default.txt", words) +
                              SkyboxLines(BuiltDataDir(), words.skybox) +
                              CourseLines(ShippedDataDir() + "/" + words.course, words.course) +
                              TerrainLines(BuiltDataDir()),
                          game.Out()));
    std::string ownLines;  // the game's own, without SDL's note on its disk driver
    std::istringstream err(game.Err());
    for (std::string line; std::getline(err, line);) {
        if (line.rfind("kestrun", 0) == 0) {
            ownLines += line + "\n";
        }
    }
    if (start.errLine[0] == '\0') {
        EXPECT_EQ("", ownLines);
    } else {
        EXPECT_EQ(1, std::count(ownLines.begin(), ownLines.end(), '\n')) << ownLines;
        EXPECT_EQ(0u, ownLines.find(start.errLine)) << ownLines;
    }
    // SDL's disk driver makes its file when the device opens.
    const StereoTrack track = game.Recording();
    EXPECT_EQ(start.heard, std::filesystem::exists(game.SoundFile()));
    if (start.heard) {
        EXPECT_GT(Rms(track.left, 0, track.left.size()), 0.01);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SoundOff,
    ::testing::Values(
        QuietStart{"Volume0OpensNoDevice", {{"KESTRUN_VOLUME", "0"}}, nullptr, "", false},
        QuietStart{"NoSuchDriver", {{"SDL_AUDIODRIVER", "none-here"}}, nullptr,
                   "kestrun: no sound (SDL: ", false},
        QuietStart{"BadVolumeGivesTheDefault", {{"KESTRUN_VOLUME", "loud"}}, nullptr,
                   "kestrun: KESTRUN_VOLUME must be a whole number from 0 to 100, not 'loud'", true},
        QuietStart{"BadEngineFileLeavesTheOtherSounds", {}, "sounds/engine1.wav",
                   "kestrun: no sound from sounds/engine1.wav (", true}),
    [](const ::testing::TestParamInfo<QuietStart>& info) { return std::string(info.param.name); });
