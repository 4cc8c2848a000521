// kestrun-bench-cpu: the game's CPU-side work per frame and at start-up, without a window:
// the terrain pass's vertex sequence with its normals, the marker layout and quadtree build
// with the fence's part of it, the quadtree collection of a view, the ropes of a view's
// markers as the drawing looks them up, and the per-frame rules of both racers.
// Reads the generated data of the build (heights and the default course).
#include <cmath>
#include <fstream>
#include <iterator>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/FrameSteps.h"
#include "app/Game.h"
#include "base/Matrix.h"
#include "course/CourseData.h"
#include "course/CourseRules.h"
#include "course/Fence.h"
#include "course/MarkerPlacement.h"
#include "course/QuadTree.h"
#include "course/RopeTable.h"
#include "scene/World.h"
#include "terrain/TerrainStrip.h"

namespace {
const std::string kData = KESTRUN_DATA_DIR;

// The generated heights of the build, read once.
const unsigned char* Heights() {
    static std::vector<unsigned char> heights = [] {
        std::vector<unsigned char> field(static_cast<size_t>(kTerrainSize) * kTerrainSize);
        if (!CourseData::ReadRaw(field.data(), (kData + "/terrain_data/terrain1.raw").c_str(),
                             kTerrainSize, kTerrainSize)) {
            std::cerr << "kestrun-bench-cpu: build the game's data first" << std::endl;
        }
        return field;
    }();
    return heights.data();
}

// The default course's text.
const std::string& DefaultCourseText() {
    static const std::string text = [] {
        std::ifstream in(kData + "/courses/default.txt");
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return text;
}

// The default course, read with the game's reader, its console lines kept quiet.
bool ReadDefaultCourse(CourseData& course) {
    std::istringstream in(DefaultCourseText());
    std::ostringstream quiet;
    return course.Read(in, quiet);
}

// A laid-out course with its heights, as the game has it after start-up.
CourseData& LaidOutCourse() {
    static CourseData* course = [] {
        CourseData* laidOut = new CourseData;
        ReadDefaultCourse(*laidOut);
        std::ostringstream quiet;
        LayOutMarkers(*laidOut, quiet);
        laidOut->LoadHeights((kData + "/terrain_data/terrain1.raw").c_str(), kTerrainSize,
                             kTerrainSize);
        return laidOut;
    }();
    return *course;
}

void BM_TerrainStripWithNormals(benchmark::State& state) {
    const unsigned char* field = Heights();
    for (auto _ : state) {
        float sum = 0.0f;
        WalkTerrainStrip(field, 10, [&sum](const TerrainVertex& vertex) {
            sum += vertex.normal.y + vertex.height;
        });
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kTerrainVerticesPerPass);
}
BENCHMARK(BM_TerrainStripWithNormals);

void BM_VertexNormal(benchmark::State& state) {
    const unsigned char* field = Heights();
    int32_t x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CourseData::VertexNormal(field, x, 128));
        x = (x + 8) & 255;
    }
}
BENCHMARK(BM_VertexNormal);

void BM_MarkerLayout(benchmark::State& state) {
    CourseData course;
    std::ostringstream quiet;
    for (auto _ : state) {
        state.PauseTiming();
        ReadDefaultCourse(course);  // the grid as the file has it, before the layout's ';' cells
        state.ResumeTiming();
        LayOutMarkers(course, quiet);
    }
    state.counters["markers"] = course._markerCount;
}
BENCHMARK(BM_MarkerLayout)->Unit(benchmark::kMicrosecond);

void BM_QuadTreeCollect(benchmark::State& state) {
    CourseData& course = LaidOutCourse();
    float projection[16];
    float view[16];
    PerspectiveMatrix(60.0f, 640.0f / 240.0f, 0.1f, 512.0f, projection);
    float heading = 0.0f;
    int64_t collected = 0;
    Frustum frustum;
    std::vector<int32_t> visibleX(course._quadTree.markerCount);
    std::vector<int32_t> visibleY(course._quadTree.markerCount);
    for (auto _ : state) {
        LookAlongMatrix(course._start1X, 17.0f, course._start1Z, heading, view);
        frustum.Update(projection, view);
        collected += CollectVisibleMarkers(course._quadTree, frustum, visibleX.data(), visibleY.data());
        heading += 0.1f;
    }
    state.counters["visible"] =
        benchmark::Counter(static_cast<double>(collected), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_QuadTreeCollect);

// The fence's part of the layout, once at start-up: every marker's rope placed and laid on the
// ground, and the ground inside the fence worked out.
void BM_FenceLayout(benchmark::State& state) {
    const CourseData& course = LaidOutCourse();
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildFence(course));
    }
}
BENCHMARK(BM_FenceLayout)->Unit(benchmark::kMicrosecond);

// What the drawing does for the ropes in each view of every frame: the rope the layout placed
// for each marker in view, looked up by its cell. The views turn on the spot at racer 1's
// start, as in BM_QuadTreeCollect, collected beforehand.
void BM_ViewRopes(benchmark::State& state) {
    const CourseData& course = LaidOutCourse();
    float projection[16];
    float view[16];
    PerspectiveMatrix(60.0f, 640.0f / 240.0f, 0.1f, 512.0f, projection);
    Frustum frustum;
    std::vector<std::vector<int32_t>> xs(63), ys(63);
    for (size_t i = 0; i < xs.size(); ++i) {
        LookAlongMatrix(course._start1X, 17.0f, course._start1Z, 0.1f * i, view);
        frustum.Update(projection, view);
        xs[i].resize(course._quadTree.markerCount);
        ys[i].resize(course._quadTree.markerCount);
        const int32_t visible =
            CollectVisibleMarkers(course._quadTree, frustum, xs[i].data(), ys[i].data());
        xs[i].resize(visible);
        ys[i].resize(visible);
    }
    size_t turn = 0;
    int64_t ropes = 0;
    for (auto _ : state) {
        const std::vector<int32_t>& x = xs[turn];
        const std::vector<int32_t>& y = ys[turn];
        for (size_t i = 0; i < x.size(); ++i) {
            const FenceRope* rope = RopeOfMarker(course._fence, x[i], y[i]);
            benchmark::DoNotOptimize(rope ? rope->placement : FirstRopePlacement());
        }
        ropes += static_cast<int64_t>(x.size());
        turn = (turn + 1) % xs.size();
    }
    state.counters["ropes"] =
        benchmark::Counter(static_cast<double>(ropes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ViewRopes);

// The rules of one frame that need no OpenGL: both racers' key update, pick-ups, wall and
// ground lookups.
void BM_PerFrameRules(benchmark::State& state) {
    CourseData& course = LaidOutCourse();
    static World world;  // items only; nothing of it is drawn
    world.PlaceItems();
    Racer racers[kRacerCount] = {{1, &kRacer1Keys, 0, 0}, {2, &kRacer2Keys, 1, 1}};
    unsigned char keys[256] = {};
    keys['w'] = keys['i'] = keys['d'] = 1;
    float now = 0.0f;
    for (auto _ : state) {
        now += 16.0f;
        for (Racer& racer : racers) {
            UpdateRacer(racer, keys, now, kOneTick);
        }
        for (const Racer& racer : racers) {
            const Vec3& eye = racer.camera._eye;
            world.CollectPickups(eye.x, eye.z);
            benchmark::DoNotOptimize(IsBlockedGround(course, eye.x, eye.z));
            benchmark::DoNotOptimize(GroundHeight(course, static_cast<int32_t>(eye.x),
                                                  static_cast<int32_t>(eye.z)));
        }
    }
}
BENCHMARK(BM_PerFrameRules);
}  // namespace

BENCHMARK_MAIN();
