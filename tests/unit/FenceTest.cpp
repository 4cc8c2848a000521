// The fence is the wall: every course of the sweep against a reference worked out here from
// the grid and the ropes' places alone (posts at their cells' low corners, and the ground a
// racer can reach as a flood that no rope lets through), with racers driven by the game's
// own frame steps.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "Racers.h"
#include "TempDir.h"
#include "TestCourses.h"
#include "app/FrameSteps.h"
#include "course/Course.h"
#include "course/CourseRules.h"
#include "course/Fence.h"
#include "course/MarkerPlacement.h"

namespace {
// A 32 x 32 ring six cells wide round a blocked middle, with four start cells in one column;
// `first` is the line of the first, `column` their column.
std::string StartRowCourse(int first, int column, bool alongX) {
    std::vector<CourseCell> cells;
    for (int x = 0; x < 32; ++x) {
        for (int y = 0; y < 32; ++y) {
            const bool border = x == 0 || y == 0 || x == 31 || y == 31;
            const bool middle = x >= 7 && x <= 24 && y >= 7 && y <= 24;
            cells.push_back({x, y, border || middle ? '1' : '0'});
        }
    }
    for (int i = 0; i < 4; ++i) {
        cells.push_back({alongX ? first + i : first, alongX ? column : column + i, '2'});
    }
    return CourseText(32, 32, '0', cells);
}

// The ring of StartRowCourse seven cells wide, with a blocked cell sticking into the track and
// a free cell cut into the blocked ground on every side, outside and round the middle.
std::string NotchedCourse() {
    std::vector<CourseCell> cells;
    for (int x = 0; x < 32; ++x) {
        for (int y = 0; y < 32; ++y) {
            const bool border = x < 2 || y < 2 || x > 29 || y > 29;
            const bool middle = x >= 9 && x <= 22 && y >= 9 && y <= 22;
            cells.push_back({x, y, border || middle ? '1' : '0'});
        }
    }
    for (const CourseCell& notch :
         std::vector<CourseCell>{{2, 12, '1'}, {29, 12, '1'}, {12, 2, '1'}, {12, 29, '1'},
                                 {1, 20, '0'}, {30, 20, '0'}, {20, 1, '0'}, {20, 30, '0'},
                                 {8, 16, '1'}, {23, 16, '1'}, {16, 8, '1'}, {16, 23, '1'},
                                 {9, 12, '0'}, {22, 12, '0'}, {12, 9, '0'}, {12, 22, '0'},
                                 {3, 20, '2'}, {4, 20, '2'}, {5, 20, '2'}, {6, 20, '2'}}) {
        cells.push_back(notch);
    }
    return CourseText(32, 32, '0', cells);
}

// A track as the course tool draws one from a picture: an elliptic ring of '0' cells on a 64 x
// 64 grid, its start row across the ring from its outer edge to its inner one.
std::string DrawnCourse() {
    std::vector<CourseCell> cells;
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y) {
            const double a = (x + 0.5 - 32.0) / 27.0;
            const double b = (y + 0.5 - 32.0) / 21.0;
            const double r = a * a + b * b;
            const bool track = r <= 1.0 && r >= 0.42;
            cells.push_back({x, y, track ? (y == 32 && x < 32 ? '2' : '0') : '1'});
        }
    }
    return CourseText(64, 64, '1', cells);
}

std::vector<std::pair<std::string, std::string>> SweepCourses() {
    std::vector<std::pair<std::string, std::string>> courses = {
        {"ring", RingCourse()},
        {"notched", NotchedCourse()},
        {"drawn", DrawnCourse()},
        {"start row against -x", StartRowCourse(1, 16, true)},
        {"start row against +x", StartRowCourse(3, 16, true)},
        {"start row against -z", StartRowCourse(12, 1, true)},
        {"start row against +z", StartRowCourse(12, 6, true)},
    };
    for (const auto& file : std::filesystem::directory_iterator(KESTRUN_SOURCE_DIR "/data/courses")) {
        courses.emplace_back(file.path().filename().string(), ReadFileBytes(file.path().string()));
    }
    return courses;
}

float DistanceToRope(const FenceRope& rope, float x, float z) {
    const float dx = rope.x1 - rope.x0;
    const float dz = rope.z1 - rope.z0;
    const float t = std::fmax(0.0f, std::fmin(1.0f, ((x - rope.x0) * dx + (z - rope.z0) * dz) /
                                                        (dx * dx + dz * dz)));
    return std::hypot(rope.x0 + t * dx - x, rope.z0 + t * dz - z);
}

float NearestRope(const Course& course, float x, float z) {
    float nearest = 1e9f;
    for (const FenceRope& rope : course._fence) {
        nearest = std::fmin(nearest, DistanceToRope(rope, x, z));
    }
    return nearest;
}

// The ground a racer can reach: a flood over a raster of a quarter unit, from the middles of
// cells with no blocked ground in the 3 x 3 cells round them, that never comes within 0.3 units
// of a rope as drawn.
class Reachable {
public:
    explicit Reachable(const Course& course) : _in(kSide * kSide, 0) {
        std::vector<uint8_t> rope(kSide * kSide, 0);
        for (const FenceRope& r : course._fence) {
            for (int i = Pixel(std::fmin(r.x0, r.x1) - 1); i <= Pixel(std::fmax(r.x0, r.x1) + 1); ++i) {
                for (int j = Pixel(std::fmin(r.z0, r.z1) - 1); j <= Pixel(std::fmax(r.z0, r.z1) + 1); ++j) {
                    if (Inside(i, j) && DistanceToRope(r, i * kStep, j * kStep) <= 0.3f) {
                        rope[j * kSide + i] = 1;
                    }
                }
            }
        }
        std::vector<int> pending;
        const float size = CellSizeForWidth(course._courseWidth);
        for (int x = 0; x < course._courseWidth; ++x) {
            for (int y = 0; y < course._courseLength; ++y) {
                bool open = true;
                for (int dx = -1; dx <= 1; ++dx) {
                    for (int dy = -1; dy <= 1; ++dy) {
                        open = open && CellOrBlocked(course, x + dx, y + dy) != '1';
                    }
                }
                if (open) {
                    pending.push_back(Pixel((y + 0.5f) * size) * kSide + Pixel((x + 0.5f) * size));
                }
            }
        }
        while (!pending.empty()) {
            const int at = pending.back();
            pending.pop_back();
            if (_in[at] || rope[at]) {
                continue;
            }
            _in[at] = 1;
            const int i = at % kSide;
            const int j = at / kSide;
            for (const auto& [di, dj] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                if (Inside(i + di, j + dj)) {
                    pending.push_back((j + dj) * kSide + i + di);
                } else {
                    _leaksOffTheTerrain = true;
                }
            }
        }
    }
    bool Contains(float x, float z) const {
        const int i = Pixel(x);
        const int j = Pixel(z);
        return Inside(i, j) && _in[j * kSide + i];
    }
    bool LeaksOffTheTerrain() const { return _leaksOffTheTerrain; }

private:
    static constexpr int kSide = 1024;
    static constexpr float kStep = 0.25f;
    static int Pixel(float world) { return static_cast<int>(std::lround(world / kStep)); }
    static bool Inside(int i, int j) { return i >= 0 && j >= 0 && i < kSide && j < kSide; }
    std::vector<uint8_t> _in;
    bool _leaksOffTheTerrain = false;
};

// Drives a racer from (x, z) along `heading` at full speed, frame by frame through the game's
// own steps, until the wall step stops it or `frames` have passed. Each frame's end goes to
// `check`; returns whether it was stopped.
template <typename Check>
bool Drive(const Course& course, float x, float z, float heading, int frames, Check check) {
    Camera racer;
    StartRacerAt(racer, x, z);
    racer._heading = heading;
    racer._speed = 0.5f;
    for (int frame = 0; frame < frames; ++frame) {
        MoveRacer(racer);
        StopAtWall(course, racer);
        check(racer._eye.x, racer._eye.z);
        if (racer._speed == 0.0f) {
            return true;
        }
    }
    return false;
}

// The rope's side that points to the reachable ground, as a unit normal; zero when neither
// or both sides are reachable half a unit from its middle.
std::pair<float, float> TrackSide(const FenceRope& rope, const Reachable& reach) {
    const float length = std::hypot(rope.x1 - rope.x0, rope.z1 - rope.z0);
    const float nx = -(rope.z1 - rope.z0) / length;
    const float nz = (rope.x1 - rope.x0) / length;
    const float mx = (rope.x0 + rope.x1) / 2.0f;
    const float mz = (rope.z0 + rope.z1) / 2.0f;
    const bool plus = reach.Contains(mx + 0.6f * nx, mz + 0.6f * nz);
    const bool minus = reach.Contains(mx - 0.6f * nx, mz - 0.6f * nz);
    if (plus == minus) {
        return {0.0f, 0.0f};
    }
    return plus ? std::pair{nx, nz} : std::pair{-nx, -nz};
}
}  // namespace

TEST(Fence, RopesJoinTheirPostsCloseRoundTheTrackAndStopRacersAtTheRopeLine) {
    for (const auto& [name, text] : SweepCourses()) {
        SCOPED_TRACE(name);
        Course course;
        ReadGoodCourse(course, text);
        LayOutMarkers(course);
        ASSERT_FALSE(course._fence.empty());
        const float size = course._cellSize;

        // Every rope passes within 0.6 units of two posts (markers' and race poles' corners).
        std::vector<std::pair<float, float>> posts;
        for (int x = 0; x < course._courseWidth; ++x) {
            for (int y = 0; y < course._courseLength; ++y) {
                const char code = course.GetCell(x, y);
                if (code == ';' || (code == '2' && HasBlockedSide(course, x, y))) {
                    posts.emplace_back(x * size, y * size);
                }
            }
        }
        for (const FenceRope& rope : course._fence) {
            int joined = 0;
            for (const auto& [px, pz] : posts) {
                joined += DistanceToRope(rope, px, pz) <= 0.6f ? 1 : 0;
            }
            EXPECT_GE(joined, 2) << "rope " << rope.x0 << "," << rope.z0 << " - " << rope.x1 << ","
                                 << rope.z1;
        }

        // The fence is closed: the reachable ground stays on the terrain and never goes deeper
        // than a cell into blocked ground.
        const Reachable reach(course);
        EXPECT_FALSE(reach.LeaksOffTheTerrain());
        int leaks = 0;
        for (float x = 0.5f; x < kTerrainSize; x += 1.0f) {
            for (float z = 0.5f; z < kTerrainSize; z += 1.0f) {
                const GridCell cell = WorldToCell(course, x, z);
                leaks += reach.Contains(x, z) && CellOrBlocked(course, cell.x, cell.y) == '1' &&
                                 NearestRope(course, x, z) > size
                             ? 1
                             : 0;
            }
        }
        EXPECT_EQ(0, leaks);

        // Driven at every rope from the track side, at right angles and slanting both ways:
        // never past it, stopped within a unit of a rope's side (the rope is 0.4 thick).
        int driven = 0;
        for (const FenceRope& rope : course._fence) {
            const auto [tx, tz] = TrackSide(rope, reach);
            ASSERT_TRUE(tx != 0.0f || tz != 0.0f) << rope.x0 << "," << rope.z0;
            const float length = std::hypot(rope.x1 - rope.x0, rope.z1 - rope.z0);
            const float ux = (rope.x1 - rope.x0) / length;
            const float uz = (rope.z1 - rope.z0) / length;
            const float mx = (rope.x0 + rope.x1) / 2.0f;
            const float mz = (rope.z0 + rope.z1) / 2.0f;
            for (const float slant : {0.0f, 0.5f, -0.5f, 1.0f, -1.0f}) {
                const float ax = -tx * std::cos(slant) + ux * std::sin(slant);
                const float az = -tz * std::cos(slant) + uz * std::sin(slant);
                const float sx = mx - 3.0f * ax;
                const float sz = mz - 3.0f * az;
                if (!reach.Contains(sx, sz) || NearestRope(course, sx, sz) < 0.5f) {
                    continue;
                }
                ++driven;
                float endX = sx;
                float endZ = sz;
                const bool stopped = Drive(course, sx, sz, std::atan2(ax, -az), 40, [&](float x, float z) {
                    const float along = (x - rope.x0) * ux + (z - rope.z0) * uz;
                    const bool past = along >= 0.0f && along <= length &&
                                      (x - mx) * tx + (z - mz) * tz < 0.0f;
                    EXPECT_FALSE(past) << "from " << sx << "," << sz << " at " << x << "," << z;
                    endX = x;
                    endZ = z;
                });
                EXPECT_TRUE(stopped) << "from " << sx << "," << sz;
                EXPECT_LE(NearestRope(course, endX, endZ), 1.2f) << "from " << sx << "," << sz;
            }
        }
        EXPECT_GT(driven, static_cast<int>(course._fence.size()));

        // Driven every way from the track: never off the reachable ground, and wherever the
        // wall step stops it, a rope is within a unit.
        for (int x = 0; x < course._courseWidth; ++x) {
            for (int y = (x % 2); y < course._courseLength; y += 2) {
                const float sx = (x + 0.5f) * size;
                const float sz = (y + 0.5f) * size;
                if (!reach.Contains(sx, sz) || NearestRope(course, sx, sz) < 0.5f) {
                    continue;
                }
                for (const float heading : {0.3f, 2.4f, 4.5f}) {
                    float endX = sx;
                    float endZ = sz;
                    const bool stopped = Drive(course, sx, sz, heading + 0.1f * y, 160, [&](float px, float pz) {
                        EXPECT_TRUE(reach.Contains(px, pz) || NearestRope(course, px, pz) < 0.5f)
                            << "from " << sx << "," << sz << " at " << px << "," << pz;
                        endX = px;
                        endZ = pz;
                    });
                    EXPECT_TRUE(!stopped || NearestRope(course, endX, endZ) <= 1.2f)
                        << "from " << sx << "," << sz << " stopped at " << endX << "," << endZ;
                }
            }
        }

        // A racer standing on any start cell stays put.
        for (int x = 0; x < course._courseWidth; ++x) {
            for (int y = 0; y < course._courseLength; ++y) {
                if (course.GetCell(x, y) != '2') {
                    continue;
                }
                Camera racer;
                StartRacerAt(racer, x * size, y * size);
                for (int frame = 0; frame < 3; ++frame) {
                    MoveRacer(racer);
                    StopAtWall(course, racer);
                }
                EXPECT_EQ(x * size, racer._eye.x);
                EXPECT_EQ(y * size, racer._eye.z);
            }
        }
    }
}
