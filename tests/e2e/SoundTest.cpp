// The race heard, through SDL's disk driver: what the game plays is recorded in real time
// and measured on its own (loudness, the strongest frequency, bursts of high sound).
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <thread>

#include "GameRun.h"
#include "StartupLines.h"

namespace {
constexpr int kRate = 48000;
constexpr size_t kWindow = 4096; // 85 ms
constexpr size_t kHop = 1024;

// Open ground with one start cell: both racers start at world (40, 48), facing -z. Racer 1,
// driving straight on, passes the first item (at 41, 35 at every start), then stops at the
// blocked ground of column 0.
std::string WriteStraightLevel(const GameRun& game) {
    std::string course = "64 64\n" + std::string(64, '1') + "\n";
    for (int line = 1; line < 63; ++line) {
        course += "1" + std::string(62, '.') + "1\n";
    }
    course[6 + 65 * 10 + 12] = '2';
    game.WriteData("courses/straight.txt", course + std::string(64, '1') + "\n");
    return game.WriteData("levels/straight.txt", "skyboxes/day\ncourses/straight.txt\n");
}

// Racer 1's engine alone: racer 2's voice (the strongest frequency on the right while both
// stand) taken out of the two channels in the proportion it has in each.
std::vector<float> Racer1Voice(const StereoTrack& track, size_t idle) {
    const double voice2 = PeakFrequency(track.right, idle, kWindow, kRate, 50, 400);
    const double inLeft = ToneAmplitude(track.left, idle, kWindow, voice2, kRate);
    const double inRight = ToneAmplitude(track.right, idle, kWindow, voice2, kRate);
    std::vector<float> voice(track.left.size());
    for (size_t i = 0; i < voice.size(); ++i) {
        voice[i] = static_cast<float>(inRight * track.left[i] - inLeft * track.right[i]);
    }
    return voice;
}

// The loudness of the sound's second difference (little of the engines, most of anything
// above 1.5 kHz) in each window.
std::vector<double> HighSound(const std::vector<float>& x) {
    std::vector<double> level;
    for (size_t from = 2; from + kWindow <= x.size(); from += kHop) {
        double sum = 0.0;
        for (size_t i = from; i < from + kWindow; ++i) {
            sum += std::pow(x[i] - 2.0 * x[i - 1] + x[i - 2], 2);
        }
        level.push_back(std::sqrt(sum / kWindow));
    }
    return level;
}

// The recording ends in silence, reached without a step larger than the engines' own over the
// half second from `idle`, where they stood: the sound faded out and was played to its end.
::testing::AssertionResult EndsInSilence(const StereoTrack& track, size_t idle) {
    const std::vector<float>& x = track.left;
    float idleStep = 0.0f, endStep = 0.0f;
    for (size_t i = idle + 1; i < idle + kRate / 2 && i < x.size(); ++i)
        idleStep = std::max(idleStep, std::fabs(x[i] - x[i - 1]));
    for (size_t i = std::max(x.size(), size_t{kRate}) - kRate / 10; i < x.size(); ++i)
        endStep = std::max(endStep, std::fabs(x[i] - x[i - 1]));
    if (x.size() > idle + kRate && x.back() == 0.0f && track.right.back() == 0.0f &&
        endStep <= 1.5f * idleStep)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << x.size() << " samples ending in " << x.back()
                                         << "; a step of " << endStep << " against " << idleStep;
}
} // namespace

TEST(Sound, EngineRisesWithSpeedChimeAtThePickUpKnockAtTheWall) {
    GameRun game;
    ASSERT_TRUE(game.StartX());
    ASSERT_TRUE(game.UseBuiltData());
    ASSERT_TRUE(game.Launch({WriteStraightLevel(game)}, game.RecordSound()));
    ASSERT_TRUE(game.OpenWindow()) << game.Transcript();
    std::this_thread::sleep_for(Millis(1500));
    const size_t pressed = game.RecordingOf(kRate).left.size();
    ASSERT_GT(pressed, kRate / 2) << "nothing recorded\n" << game.Transcript();
    const size_t idle = pressed - kRate / 2; // half a second of both racers standing

    // Racer 1 drives straight on until its pitch has risen and fallen back at the wall.
    ASSERT_TRUE(game.KeyDown("w"));
    StereoTrack track;
    std::vector<double> pitch; // racer 1's, per window
    size_t stopped = 0;
    double standing = 0.0, top = 0.0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!stopped && std::chrono::steady_clock::now() < deadline && game.GameRunning()) {
        std::this_thread::sleep_for(Millis(1000));
        track = game.Recording();
        const std::vector<float> voice = Racer1Voice(track, idle);
        standing = PeakFrequency(voice, idle, kWindow, kRate, 50, 400);
        for (size_t w = pitch.size(); !stopped && (w + 12) * kHop + kWindow <= voice.size(); ++w) {
            pitch.push_back(PeakFrequency(voice, w * kHop, kWindow, kRate, 50, 400));
            top = std::max(top, pitch.back());
            stopped = top > 1.5 * standing && pitch.back() < 1.1 * standing ? w : 0;
        }
    }
    EXPECT_TRUE(game.KeyUp("w"));
    ASSERT_NE(0u, stopped) << "racer 1's pitch never rose and fell back (standing " << standing
                           << " Hz, highest " << top << " Hz)\n"
                           << game.Transcript();
    EXPECT_GT(std::abs(PeakFrequency(track.right, idle, kWindow, kRate, 50, 400) - standing), 10)
        << "the two engines sound alike";
    EXPECT_GT(Rms(track.left, (stopped - 8) * kHop, kWindow), 1.2 * Rms(track.left, idle, kWindow))
        << "no louder when fast";

    // Bursts of high sound: a chime (one high tone far above the rest) while racer 1 drives,
    // and a knock (noise) as the wall stops it. A burst's first window starts up to 4 windows
    // early, and the pitch glides down for about a tenth of a second measured over 85 ms
    // windows: the knock comes up to 16 windows before "stopped".
    const std::vector<double> high = HighSound(track.left);
    const double quiet = *std::max_element(&high[idle / kHop], &high[pressed / kHop - 4]);
    std::string bursts; // for the failure messages
    size_t chimes = 0, knock = 0;
    for (size_t w = 1; w < high.size(); ++w) {
        if (high[w] <= std::max(4.0 * quiet, 0.01) || high[w - 1] > std::max(4.0 * quiet, 0.01)) {
            continue;
        }
        const double peak = PeakFrequency(track.left, w * kHop, kWindow, kRate, 1500, 6000);
        const bool tone = ToneAmplitude(track.left, w * kHop, kWindow, peak, kRate) >
                          10 * ToneAmplitude(track.left, w * kHop, kWindow, 8000, kRate);
        chimes += tone && w > pressed / kHop && w < stopped;
        knock = !tone && w + 16 >= stopped && w <= stopped + 2 ? w : knock;
        EXPECT_GT(w, pressed / kHop) << "a burst before the key";
        bursts += std::to_string(w) + (tone ? " tone, " : " noise, ");
    }
    const std::string heard = "windows " + bursts + "key " + std::to_string(pressed / kHop) +
                              ", idle again " + std::to_string(stopped);
    EXPECT_GT(chimes, 0u) << "no chime while racer 1 drove over the item: " << heard;
    ASSERT_NE(0u, knock) << "no knock when the wall stopped racer 1: " << heard;
    EXPECT_GT(Rms(track.left, knock * kHop, kWindow), Rms(track.right, knock * kHop, kWindow));
    ASSERT_TRUE(game.Quit());

    // At quit the engines fade out and the device plays the fade to its end.
    EXPECT_TRUE(EndsInSilence(game.Recording(), idle));
}

// A start whose sound is off or broken (and racer 1's engine file is bad in each): the game's
// one line on standard error, if any, and the race goes on with the same console lines. Ended
// by q or a signal, its sound ends in silence, and a signal then ends the game itself.
TEST(Sound, OffOrBrokenTheRaceGoesOnAndEveryEndFadesOut) {
    const std::string engine1 = "kestrun: no sound from sounds/engine1.wav (";
    const struct {
        EnvChanges env;
        std::string errLine; // how the one line starts; SDL's reason follows
        bool heard;          // a device opened (its file made), racer 2's engine in it
        int signal = 0;      // how the game is ended: a signal, or 0 for q
    } rows[] = {{{}, engine1, true},
                {{{"KESTRUN_VOLUME", "0"}}, "", false},
                {{{"SDL_AUDIODRIVER", "none-here"}}, "kestrun: no sound (SDL: ", false},
                {{}, engine1, true, SIGINT},
                {{}, engine1, true, SIGTERM},
                {{}, engine1, true, SIGHUP}};
    for (const auto& row : rows) {
        GameRun game;
        ASSERT_TRUE(game.StartX() && game.UseBuiltData());
        game.WriteData("sounds/engine1.wav", "not a sound\n");
        EnvChanges env = game.RecordSound();
        for (const auto& [name, value] : row.env)
            env[name] = value;
        ASSERT_TRUE(game.Launch({"levels/default.txt"}, env) && game.OpenWindow());
        ASSERT_TRUE(game.WaitForOutput("RacePole.tif"));
        std::this_thread::sleep_for(Millis(1500));
        for (int i = 0; i < 200 && row.heard && game.Recording().left.size() < 2 * kRate; ++i)
            std::this_thread::sleep_for(Millis(100)); // two seconds of sound, also on a slow start
        if (row.signal == 0) {
            ASSERT_TRUE(game.Quit());
        } else {
            ASSERT_EQ(0, kill(game.GamePid(), row.signal));
            EXPECT_EQ(row.signal, game.WaitForExit().signal) << game.Transcript();
        }
        const LevelWords words = ReadLevelWords(ShippedDataDir() + "/levels/default.txt");
        EXPECT_TRUE(SameLines(LevelLines("levels/default.txt", words) +
                                  SkyboxLines(BuiltDataDir(), words.skybox) +
                                  CourseLines(ShippedDataDir() + "/" + words.course, words.course) +
                                  TerrainLines(BuiltDataDir()),
                              game.Out()));
        std::string own; // without SDL's note on its disk driver
        std::istringstream err(game.Err());
        for (std::string line; std::getline(err, line);)
            own += line.rfind("kestrun", 0) ? "" : line + "\n";
        EXPECT_EQ(0u, own.rfind(row.errLine, 0)) << own;
        EXPECT_EQ(row.errLine.empty() ? 0 : 1, std::count(own.begin(), own.end(), '\n')) << own;
        EXPECT_EQ(row.heard, std::filesystem::exists(game.SoundFile()));
        EXPECT_EQ(row.heard, Rms(game.Recording().left, 0, kRate) > 0.01);
        if (row.heard) {
            EXPECT_TRUE(EndsInSilence(game.Recording(), kRate / 2))
                << "ended by " << (row.signal ? strsignal(row.signal) : "q");
        }
    }
}

// The settings file's volume and fullscreen reach the running game: at volume 20 the standing
// racers' engines are a quarter as loud as at the default 80, and the window covers the screen.
TEST(Sound, TheSettingsFilesVolumeAndFullscreenReachTheGame) {
    double loudness[2] = {};
    for (const bool own : {false, true}) {
        GameRun game;
        ASSERT_TRUE(game.StartX() && game.UseBuiltData());
        game.WriteSettings(own ? "volume = 20  # quieter\nfullscreen = yes\n" : "");
        ASSERT_TRUE(game.Launch({"levels/default.txt"}, game.RecordSound()) && game.FindWindow());
        Image shot;
        EXPECT_TRUE(!own || game.WaitForShot(&shot, [](const Image& window) {
            return window.Width() == 1280 && window.Height() == 1024;
        }, "the window covering the screen")) << game.Transcript();
        std::this_thread::sleep_for(Millis(2500));
        const StereoTrack track = game.RecordingOf(2 * kRate);
        ASSERT_GT(track.left.size(), size_t(kRate)) << game.Transcript();
        loudness[own] = Rms(track.left, track.left.size() - kRate / 2, kRate / 2);
        ASSERT_TRUE(game.Focus() && game.Quit());
    }
    EXPECT_NEAR(0.25, loudness[1] / loudness[0], 0.03) << loudness[0] << " at the default";
}
