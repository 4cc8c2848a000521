
// kestrun-bench-frames: starts the real game on a level in a window of a given size, lets both
// racers drive a lap of the course through the key table, and measures frames per second, the
// markers in view, the time of each part of a frame, the time to the first frame and the peak
// resident memory. The runs share one lap between them (unless --frames sets their length).
// Prints one "key value" line per result (scripts/bench turns them into a table).
//
//   kestrun-bench-frames [--size WxH] [--warmup N] [--frames N] [--runs N] [--timed-frames N]
//                        [--first-frame] [--no-reference] [--as-played] [--drop sky|markers|items]
//                        [--data DIR] [--level FILE]
// --as-played draws the game's frames back to back as the game does, with no reference scene
// and no wait for the renderer to finish between turns, so that it keeps as many frames in
// flight as in a race: the peak memory over the lap (lap_peak_rss_mb) is the game's as played.
// A fixed reference scene (ReferenceScene.h) takes turns with the game's frames, so that the
// game's rate can also be given as a ratio to it, which holds on a machine whose speed drifts.
// --drop empties the display lists of one part for the whole run: the frame rate without it
// shows what that part costs in free-running frames.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <GL/freeglut.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#define CALLGRIND_ZERO_STATS
#endif

#include "Autopilot.h"
#include "ReferenceScene.h"
#include "TimedFrame.h"
#include "app/Game.h"

namespace {
using Clock = std::chrono::steady_clock;

double ProcessCpuSeconds();
long PeakResidentKilobytes();
void DropPart(Game& game, const std::string& part);

// Frames the game and the reference scene draw in each turn of a run.
constexpr int kTurnFrames = 10;
// A run that has not driven its share of the lap in this many frames ends all the same.
constexpr int kMostFramesPerRun = 5000;

// Markers drawn in the bottom half's view at every frame of the runs.
std::vector<double> g_markersPerView;

struct Options {
    int width = 640;
    int height = 480;
    int warmup = 60;
    int frames = 0;     // frames per run; 0: each run drives its share of one lap
    int runs = 5;
    int parts = 40;
    bool firstFrame = false;
    bool reference = true;   // draw the reference scene between the game's frames
    bool asPlayed = false;   // no reference scene, no glFinish between turns
    std::string drop;   // a part whose display lists are emptied for the whole run
    std::string data = KESTRUN_DATA_DIR;
    std::string level = "levels/default.txt";
};

bool ParseSize(const char* text, int& width, int& height) {
    return std::sscanf(text, "%dx%d", &width, &height) == 2 && width > 5 && height > 5;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--first-frame") {
            options.firstFrame = true;
        } else if (option == "--no-reference") {
            options.reference = false;
        } else if (option == "--as-played") {
            options.asPlayed = true;
            options.reference = false;
        } else if (option == "--size" && hasValue) {
            if (!ParseSize(argv[++i], options.width, options.height)) return false;
        } else if (option == "--warmup" && hasValue) {
            options.warmup = std::atoi(argv[++i]);
        } else if (option == "--frames" && hasValue) {
            options.frames = std::max(0, std::atoi(argv[++i]));
        } else if (option == "--runs" && hasValue) {
            options.runs = std::max(1, std::atoi(argv[++i]));
        } else if (option == "--timed-frames" && hasValue) {
            options.parts = std::atoi(argv[++i]);
        } else if (option == "--drop" && hasValue) {
            options.drop = argv[++i];
            if (options.drop != "sky" && options.drop != "markers" && options.drop != "items") {
                return false;
            }
        } else if (option == "--data" && hasValue) {
            options.data = argv[++i];
        } else if (option == "--level" && hasValue) {
            options.level = argv[++i];
        } else {
            return false;
        }
    }
    return true;
}

// Seconds since this process was started, from the kernel's record of its start (10 ms steps).
double SecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    const size_t close = line.rfind(')');
    if (close == std::string::npos) return -1.0;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    for (int index = 3; index <= 22 && fields >> field; ++index) {
        if (index == 22) {
            timespec now{};
            clock_gettime(CLOCK_BOOTTIME, &now);
            const double started = std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
            return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9 - started;
        }
    }
    return -1.0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// Starts the game as main does, with its start-up lines kept off the result lines.
bool StartGame(Game& game, const Options& options) {
    game.SetWindowSize(options.width, options.height);
    std::ostringstream startup;
    std::streambuf* console = std::cout.rdbuf(startup.rdbuf());
    const bool ok = game.Init(options.level.c_str());
    std::cout.rdbuf(console);
    if (!ok) {
        std::cout << startup.str() << "kestrun-bench-frames: the game did not start" << std::endl;
        return false;
    }
    // Before the frames drawn while the window is mapped, so that the peak memory leaves the
    // part out too.
    DropPart(game, options.drop);
    // Let GLUT map the window and deliver its size, as the main loop would before a frame.
    for (int tries = 0; tries < 200 && !game.WindowHasSize(options.width, options.height);
         ++tries) {
        glutMainLoopEvent();
        if (!game.WindowHasSize(options.width, options.height)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    if (!game.WindowHasSize(options.width, options.height)) {
        game.Reshape(options.width, options.height);
    }
    return true;
}

// The frames whose instructions callgrind counts; kept out of line so profiles name it.
__attribute__((noinline)) double RunFrames(Game& game, int frames, bool finish = true) {
    CALLGRIND_START_INSTRUMENTATION;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < frames; ++i) {
        DriveBoth(game);
        game.Display();
        g_markersPerView.push_back(game.GetWorld().GetCourse().MarkersInView());
        AdvanceFrameClock();
    }
    if (finish) {
        glFinish();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    CALLGRIND_STOP_INSTRUMENTATION;
    return seconds;
}

// The reference scene shares the game's process and so its heap setting. Switching the setting
// back and forth between turns would make each turn hand the other's memory back to the kernel
// and fault it in again, which neither would do on its own.
double RunReference(ReferenceScene& reference, const Options& options, int frames) {
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < frames; ++i) {
        reference.Draw(options.width, options.height);
    }
    glFinish();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void PrintSeries(const std::string& name, const std::vector<double>& values) {
    std::cout << name << "_median " << Median(values) << std::endl;
    std::cout << name << "_runs";
    for (double value : values) std::cout << " " << value;
    std::cout << std::endl;
}

void MeasureParts(Game& game, int frames) {
    double full[kPartCount] = {};
    double terrainOnly[kPartCount] = {};
    for (int i = 0; i < frames; ++i) {
        DriveBoth(game);
        DrawTimedFrame(game, (i % 2) == 1, (i % 2) == 1 ? terrainOnly : full);
        AdvanceFrameClock();
    }
    const double perFrame = 1.0 / (frames / 2);
    double total = 0.0;
    for (int part = 0; part < kPartCount; ++part) {
        total += full[part] * perFrame;
        if (part == kPartCourse) {
            const double terrain = terrainOnly[part] * perFrame;
            std::cout << "part_terrain_ms " << terrain << std::endl;
            std::cout << "part_markers_ms " << std::max(0.0, full[part] * perFrame - terrain)
                      << std::endl;
        } else {
            std::cout << "part_" << kFramePartNames[part] << "_ms " << full[part] * perFrame
                      << std::endl;
        }
    }
    std::cout << "part_total_ms " << total << std::endl;
}

// Swaps a part's display lists for the empty list 0, which glCallList skips.
void DropPart(Game& game, const std::string& part) {
    World& world = game.GetWorld();
    if (part == "sky") {
        world.LeaveOutSky();
    } else if (part == "markers") {
        world.GetCourse().LeaveOutMarkers();
    } else if (part == "items") {
        world.LeaveOutItems();
    }
}

// Processor time of every thread of the process (the game's and the rasteriser's), seconds.
// Less sensitive than the wall clock to other programs on a busy machine.
double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
}  // namespace

int main(int argc, char** argv) {
    const Clock::time_point mainStart = Clock::now();
    glutInit(&argc, argv);
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::cout << "usage: kestrun-bench-frames [--size WxH] [--warmup N] [--frames N] "
                     "[--runs N] [--timed-frames N] [--first-frame] [--no-reference] "
                     "[--drop sky|markers|items] [--data DIR] [--level FILE]"
                  << std::endl;
        return 2;
    }
    if (chdir(options.data.c_str()) != 0) {
        std::cout << "kestrun-bench-frames: no data folder " << options.data << std::endl;
        return 1;
    }
    std::cout << std::fixed;
    std::cout.precision(3);

    // The engines are mixed all along, as in a race, on SDL's dummy driver unless another is
    // chosen: the same work on every machine, heard nowhere.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    Game game;
    if (!StartGame(game, options)) {
        return 1;
    }
    if (options.firstFrame) {
        game.Display();
        glFinish();
        std::cout << "first_frame_s " << SecondsSinceProcessStart() << std::endl;
        std::cout << "first_frame_after_main_s "
                  << std::chrono::duration<double>(Clock::now() - mainStart).count() << std::endl;
        std::cout << "peak_rss_mb " << PeakResidentKilobytes() / 1024.0 << std::endl;
        std::fflush(stdout);
        std::_Exit(0);
    }

    std::cout << "renderer " << glGetString(GL_RENDERER) << std::endl;
    std::cout << "size " << options.width << "x" << options.height << std::endl;
    UseFrameClock(1);
    RunFrames(game, options.warmup);
    CALLGRIND_ZERO_STATS;   // a profile counts the measured frames, not the warm-up
    // The game's own peak: every program variant has been made during the warm-up.
    std::cout << "peak_rss_mb " << PeakResidentKilobytes() / 1024.0 << std::endl;

    ReferenceScene reference;
    if (options.reference) {
        reference.Init();
        RunReference(reference, options, std::max(1, options.warmup / 4));
    }
    // Game and reference frames take turns, so that both see the same load of the machine.
    std::vector<double> rates;
    std::vector<double> referenceRates;
    std::vector<double> ratios;
    std::vector<double> cpuMillis;
    std::vector<double> referenceCpuMillis;
    g_markersPerView.clear();
    const double lapStart = LapsDriven();
    const Clock::time_point runsStart = Clock::now();
    const double audioStart = game.GetSound().CallbackSeconds();
    for (int run = 0; run < options.runs; ++run) {
        double gameSeconds = 0.0;
        double referenceSeconds = 0.0;
        double gameCpu = 0.0;
        double referenceCpu = 0.0;
        const double lapShare = lapStart + (run + 1.0) / options.runs;
        const auto more = [&](int done) {
            return options.frames > 0 ? done < options.frames
                                      : LapsDriven() < lapShare && done < kMostFramesPerRun;
        };
        int done = 0;
        for (; more(done); done += kTurnFrames) {
            const int frames =
                options.frames > 0 ? std::min(kTurnFrames, options.frames - done) : kTurnFrames;
            const double cpuBefore = ProcessCpuSeconds();
            gameSeconds += RunFrames(game, frames, !options.asPlayed);
            const double cpuBetween = ProcessCpuSeconds();
            gameCpu += cpuBetween - cpuBefore;
            if (options.reference) {
                referenceSeconds += RunReference(reference, options, frames);
                referenceCpu += ProcessCpuSeconds() - cpuBetween;
            }
        }
        rates.push_back(done / gameSeconds);
        cpuMillis.push_back(gameCpu * 1000.0 / done);
        if (options.reference) {
            referenceRates.push_back(done / referenceSeconds);
            ratios.push_back(rates.back() / referenceRates.back());
            referenceCpuMillis.push_back(referenceCpu * 1000.0 / done);
        }
    }
    // The audio thread's mixing, as a share of one processor over the runs' wall time.
    const double runsSeconds = std::chrono::duration<double>(Clock::now() - runsStart).count();
    if (game.GetSound().Playing()) {
        std::cout << "audio_cpu_percent "
                  << 100.0 * (game.GetSound().CallbackSeconds() - audioStart) / runsSeconds
                  << std::endl;
    }
    std::cout << "lap_peak_rss_mb " << PeakResidentKilobytes() / 1024.0 << std::endl;
    std::cout << "laps_driven " << LapsDriven() - lapStart << std::endl;
    std::cout << "frames_measured " << g_markersPerView.size() << std::endl;
    std::cout << "markers_per_view_median " << Median(g_markersPerView) << std::endl;
    std::cout << "markers_per_view_max "
              << *std::max_element(g_markersPerView.begin(), g_markersPerView.end()) << std::endl;
    PrintSeries("fps", rates);
    PrintSeries("cpu_ms_per_frame", cpuMillis);
    if (options.reference) {
        PrintSeries("reference_fps", referenceRates);
        PrintSeries("ratio", ratios);
        PrintSeries("reference_cpu_ms_per_frame", referenceCpuMillis);
    }
    if (options.parts > 1) {
        MeasureParts(game, options.parts);
    }
    for (int racer = 1; racer <= 2; ++racer) {
        const RacerView view = game.ViewOfRacer(racer);
        std::cout << "racer" << racer << "_at " << view.x << "," << view.z << std::endl;
    }
    std::fflush(stdout);
    std::_Exit(0);
}
