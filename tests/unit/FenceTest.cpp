// The fence is the wall: blocked ground outside it, and every course of the sweep against a
// reference worked out here from the grid and the ropes' places alone (posts at their cells'
// low corners, and the ground a racer can reach as a flood that no rope lets through), with
// racers driven by the game's own frame steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "Racers.h"
#include "TempDir.h"
#include "TestCourses.h"
#include "app/FrameSteps.h"
#include "course/CourseData.h"
#include "course/CourseGrid.h"
#include "course/CourseRules.h"
#include "course/Fence.h"
#include "course/MarkerPlacement.h"

namespace {
// A 32 x 32 ring: blocked ground to `edge` cells from the border and in the middle from `lo` to
// `hi`, free ground between, then the given cells.
std::string Ring(int edge, int lo, int hi, const std::vector<CourseCell>& extra) {
    std::vector<CourseCell> cells;
    for (int x = 0; x < 32; ++x) {
        for (int y = 0; y < 32; ++y) {
            const bool border = std::min({x, y, 31 - x, 31 - y}) < edge;
            cells.push_back({x, y, border || (x >= lo && x <= hi && y >= lo && y <= hi) ? '1' : '0'});
        }
    }
    cells.insert(cells.end(), extra.begin(), extra.end());
    return CourseText(32, 32, '0', cells);
}

// `count` start cells down a column from line `first`, column `column`.
std::string StartRowCourse(int first, int column, int count = 4) {
    std::vector<CourseCell> starts;
    for (int i = 0; i < count; ++i) {
        starts.push_back({first + i, column, '2'});
    }
    return Ring(1, 7, 24, starts);
}

// A blocked cell sticking into the track and a free one cut into the blocked ground on every
// side, outside and round the middle.
std::string NotchedCourse() {
    return Ring(2, 9, 22, {{2, 12, '1'}, {29, 12, '1'}, {12, 2, '1'}, {12, 29, '1'}, {1, 20, '0'},
                           {30, 20, '0'}, {20, 1, '0'}, {20, 30, '0'}, {8, 16, '1'}, {23, 16, '1'},
                           {16, 8, '1'}, {16, 23, '1'}, {9, 12, '0'}, {22, 12, '0'}, {12, 9, '0'},
                           {12, 22, '0'}, {3, 20, '2'}, {4, 20, '2'}, {5, 20, '2'}, {6, 20, '2'}});
}

// A track as the course tool draws one from a picture: an elliptic ring of '0' cells, its start
// row across it from the outer edge to the inner one.
std::string DrawnCourse() {
    std::vector<CourseCell> cells;
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y) {
            const double r = std::pow((x - 31.5) / 27.0, 2) + std::pow((y - 31.5) / 21.0, 2);
            cells.push_back({x, y, r > 1.0 || r < 0.42 ? '1' : y == 32 && x < 32 ? '2' : '0'});
        }
    }
    return CourseText(64, 64, '1', cells);
}

std::vector<std::pair<std::string, std::string>> SweepCourses() {
    std::vector<std::pair<std::string, std::string>> courses = {
        {"ring", RingCourse()},
        {"notched", NotchedCourse()},
        {"drawn", DrawnCourse()},
        {"start row against -x", StartRowCourse(1, 16)},
        {"start row against +x", StartRowCourse(3, 16)},
        {"start row against -z", StartRowCourse(12, 1)},
        {"start row against +z", StartRowCourse(12, 6)},
        {"racer 2 on the -x rope line", StartRowCourse(1, 16, 2)},
        {"racer 1 on the +x rope line", StartRowCourse(5, 16, 2)},
        {"start cell in a notch of the edge", Ring(2, 9, 22, {{2, 1, '2'}, {20, 3, '2'}, {21, 3, '2'}})}};
    AddShippedCourses(courses);
    // The default course with three start cells: racer 2 starts on the first, on the fence line.
    std::string threeStarts = ReadFileBytes(KESTRUN_SOURCE_DIR "/data/courses/default.txt");
    size_t fourth = threeStarts.find('\n');
    for (int i = 0; i < 4; ++i) {
        fourth = threeStarts.find('2', fourth + 1);
    }
    threeStarts[fourth] = '0';
    courses.emplace_back("racer 2 on the fence line", threeStarts);
    return courses;
}

float DistanceToRope(const FenceRope& r, float x, float z) {
    const float dx = r.x1 - r.x0, dz = r.z1 - r.z0;
    const float t = std::clamp(((x - r.x0) * dx + (z - r.z0) * dz) / (dx * dx + dz * dz), 0.0f, 1.0f);
    return std::hypot(r.x0 + t * dx - x, r.z0 + t * dz - z);
}

float NearestRope(const CourseData& course, float x, float z) {
    float nearest = 1e9f;
    for (const FenceRope& rope : course._fence.ropes) {
        nearest = std::fmin(nearest, DistanceToRope(rope, x, z));
    }
    return nearest;
}

// The ground a racer can reach: a flood over a quarter-unit raster from the middles of cells
// with no blocked ground round them, never within 0.3 units of a rope as drawn. A flood that
// runs off the terrain marks the pixel at the edge.
struct Reachable {
    static constexpr int kSide = 1024;
    std::vector<uint8_t> in = std::vector<uint8_t>(kSide * kSide, 0);
    bool offTerrain = false;

    static int Pixel(float world) { return static_cast<int>(std::lround(world * 4.0f)); }
    bool Contains(float x, float z) const {
        const int i = Pixel(x), j = Pixel(z);
        return i >= 0 && j >= 0 && i < kSide && j < kSide && in[j * kSide + i];
    }
    explicit Reachable(const CourseData& course) {
        std::vector<uint8_t> rope(in.size(), 0);
        for (const FenceRope& r : course._fence.ropes) {
            for (int i = Pixel(std::fmin(r.x0, r.x1) - 1); i <= Pixel(std::fmax(r.x0, r.x1) + 1); ++i) {
                for (int j = Pixel(std::fmin(r.z0, r.z1) - 1); j <= Pixel(std::fmax(r.z0, r.z1) + 1); ++j) {
                    if (i >= 0 && j >= 0 && i < kSide && j < kSide && DistanceToRope(r, i / 4.0f, j / 4.0f) <= 0.3f) {
                        rope[j * kSide + i] = 1;
                    }
                }
            }
        }
        std::vector<int> pending;
        const float size = course._cellSize;
        for (int x = 0; x < course._courseWidth; ++x) {
            for (int y = 0; y < course._courseLength; ++y) {
                bool open = true;
                for (int d = 0; d < 9; ++d) {
                    open = open && CellOrBlocked(course, x + d % 3 - 1, y + d / 3 - 1) != '1';
                }
                if (open) {
                    pending.push_back(Pixel((y + 0.5f) * size) * kSide + Pixel((x + 0.5f) * size));
                }
            }
        }
        while (!pending.empty()) {
            const int at = pending.back();
            pending.pop_back();
            if (in[at] || rope[at]) {
                continue;
            }
            in[at] = 1;
            const int i = at % kSide, j = at / kSide;
            offTerrain = offTerrain || i == 0 || j == 0 || i == kSide - 1 || j == kSide - 1;
            for (const int next : {at - 1, at + 1, at - kSide, at + kSide}) {
                if (next >= 0 && next < kSide * kSide && std::abs(next % kSide - i) <= 1) {
                    pending.push_back(next);
                }
            }
        }
    }
};

// Drives a racer from (x, z) along `heading` at full speed through the game's own frame steps
// until the wall step stops it (true) or `frames` have passed; each frame's end goes to `check`.
template <typename Check>
bool Drive(const CourseData& course, float x, float z, float heading, int frames, Check check) {
    Camera racer;
    StartRacerAt(racer, x, z);
    racer._heading = heading;
    racer._speed = 0.5f;
    for (int frame = 0; frame < frames && racer._speed != 0.0f; ++frame) {
        MoveRacer(racer, kOneTick);
        StopAtWall(course, racer, kOneTick);
        check(racer._eye.x, racer._eye.z);
    }
    return racer._speed == 0.0f;
}
}  // namespace

TEST(BlockedGround, WallCellsAndEverythingOffTheGridAreBlocked) {
    CourseData course;
    // 4 x 4 cells of 64 units; the file lists x outermost: cell (1, 2) is the wall, and the
    // cells round it never carry a post.
    ReadGoodCourse(course, "4 4  .... ..1. .... ....");
    ASSERT_EQ('1', course.GetCell(1, 2));
    EXPECT_TRUE(IsBlockedGround(course, 64.0f, 128.0f));
    EXPECT_TRUE(IsBlockedGround(course, 127.9f, 191.9f));
    EXPECT_FALSE(IsBlockedGround(course, 63.9f, 128.0f));
    EXPECT_FALSE(IsBlockedGround(course, 128.0f, 128.0f));
    EXPECT_FALSE(IsBlockedGround(course, 0.0f, 0.0f));
    EXPECT_FALSE(IsBlockedGround(course, 255.9f, 255.9f));

    EXPECT_TRUE(IsBlockedGround(course, -0.5f, 10.0f));
    EXPECT_TRUE(IsBlockedGround(course, 10.0f, -0.01f));
    EXPECT_TRUE(IsBlockedGround(course, 256.0f, 10.0f));
    EXPECT_TRUE(IsBlockedGround(course, 10.0f, 256.0f));
    EXPECT_TRUE(IsBlockedGround(course, 1e30f, -1e30f));
}

TEST(BlockedGround, PastTheLastRowOfAShortGridIsBlocked) {
    CourseData course;
    // 4 wide, 2 long: both axes scale by 4 / 256, so the rows end at z = 128.
    ReadGoodCourse(course, "4 2  .. .. .. ..");
    EXPECT_FALSE(IsBlockedGround(course, 200.0f, 127.9f));
    EXPECT_TRUE(IsBlockedGround(course, 200.0f, 128.0f));
    EXPECT_TRUE(IsBlockedGround(course, 10.0f, 250.0f));
}

TEST(Fence, RopesJoinTheirPostsCloseRoundTheTrackAndStopRacersAtTheRopeLine) {
    int ropeLineStarts[2] = {0, 0};  // racers starting on a rope line with its out side at -x, +x
    for (const auto& [name, text] : SweepCourses()) {
        SCOPED_TRACE(name);
        CourseData course;
        ReadGoodCourse(course, text);
        LayOutMarkers(course);
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
        ASSERT_FALSE(course._fence.ropes.empty());
        for (const FenceRope& rope : course._fence.ropes) {
            const long joined = std::count_if(posts.begin(), posts.end(), [&](const auto& post) {
                return DistanceToRope(rope, post.first, post.second) <= 0.6f;
            });
            EXPECT_GE(joined, 2) << rope.x0 << "," << rope.z0 << " - " << rope.x1 << "," << rope.z1;
        }

        // The fence is closed: the reachable ground stays on the terrain and goes no deeper than
        // a cell into blocked ground. And the inside test says inside just where the flood goes,
        // half a unit or more from the ropes: so also not at (62.5, 75.5) on the default course,
        // a '0' cell 4.2 units past a diagonal rope.
        const Reachable reach(course);
        EXPECT_FALSE(reach.offTerrain);
        int leaks = 0;
        int misjudged = 0;
        for (float x = 0.5f; x < kTerrainSize; x += 1.0f) {
            for (float z = 0.5f; z < kTerrainSize; z += 1.0f) {
                const GridCell cell = WorldToCell(course, x, z);
                leaks += reach.Contains(x, z) && CellOrBlocked(course, cell.x, cell.y) == '1' &&
                         NearestRope(course, x, z) > size;
                if (reach.Contains(x, z) != IsInsideFence(course, x, z) &&
                    NearestRope(course, x, z) >= 0.5f && ++misjudged <= 5) {
                    ADD_FAILURE() << "inside test at " << x << "," << z << ": "
                                  << IsInsideFence(course, x, z);
                }
            }
        }
        EXPECT_EQ(0, leaks);
        EXPECT_EQ(0, misjudged);

        // Driven at every rope from its track side, square on and slanting both ways: never past
        // it, and stopped within a unit of a rope's side (the rope is 0.4 thick).
        for (const FenceRope& rope : course._fence.ropes) {
            const float length = std::hypot(rope.x1 - rope.x0, rope.z1 - rope.z0);
            const float ux = (rope.x1 - rope.x0) / length, uz = (rope.z1 - rope.z0) / length;
            const float mx = (rope.x0 + rope.x1) / 2.0f, mz = (rope.z0 + rope.z1) / 2.0f;
            const bool left = reach.Contains(mx - 0.6f * uz, mz + 0.6f * ux);
            ASSERT_NE(left, reach.Contains(mx + 0.6f * uz, mz - 0.6f * ux)) << mx << "," << mz;
            const float tx = left ? -uz : uz, tz = left ? ux : -ux;  // toward the track
            EXPECT_LT(rope.outX * tx + rope.outZ * tz, -0.99f) << mx << "," << mz;  // its out side
            if (ux == 0.0f || uz == 0.0f) {  // driving along it inside its band is free
                EXPECT_FALSE(Drive(course, mx + 0.1f * tx, mz + 0.1f * tz, std::atan2(ux, -uz), 1,
                                   [](float, float) {})) << mx << "," << mz;
            }
            for (const float slant : {0.0f, 0.5f, -0.5f, 1.0f, -1.0f}) {
                const float ax = -tx * std::cos(slant) + ux * std::sin(slant);
                const float az = -tz * std::cos(slant) + uz * std::sin(slant);
                const float sx = mx - 3.0f * ax, sz = mz - 3.0f * az;
                if (!reach.Contains(sx, sz) || NearestRope(course, sx, sz) < 0.5f) {
                    continue;
                }
                float endX = sx, endZ = sz;
                EXPECT_TRUE(Drive(course, sx, sz, std::atan2(ax, -az), 40, [&](float x, float z) {
                    const float along = (x - rope.x0) * ux + (z - rope.z0) * uz;
                    EXPECT_FALSE(along >= 0.0f && along <= length && (x - mx) * tx + (z - mz) * tz < 0.0f)
                        << "from " << sx << "," << sz << " at " << x << "," << z;
                    endX = x;
                    endZ = z;
                })) << "from " << sx << "," << sz;
                EXPECT_LE(NearestRope(course, endX, endZ), 1.2f) << "from " << sx << "," << sz;
            }
        }

        // No way along a rope: driven from each post along its rope's line, and from both
        // racers' starts ahead and back, a racer never runs through a post (no rope stops a move
        // along its own line).
        std::vector<std::pair<float, float>> markerPosts;
        for (int x = 0; x < course._courseWidth; ++x) {
            for (int y = 0; y < course._courseLength; ++y) {
                if (course.GetCell(x, y) == ';') {
                    markerPosts.emplace_back(x * size, y * size);
                }
            }
        }
        const auto driveThroughNoPost = [&](float sx, float sz, float heading) {
            Drive(course, sx, sz, heading, 60, [&](float x, float z) {
                for (const auto& [px, pz] : markerPosts) {
                    EXPECT_TRUE((px == sx && pz == sz) || std::hypot(x - px, z - pz) >= 0.1f)
                        << "from " << sx << "," << sz << " at " << x << "," << z << " through "
                        << px << "," << pz;
                }
            });
        };
        for (const FenceRope& rope : course._fence.ropes) {
            driveThroughNoPost(rope.postX0, rope.postZ0,
                               std::atan2(rope.x1 - rope.x0, -(rope.z1 - rope.z0)));
        }
        for (const float heading : {0.0f, 3.14159265f}) {
            driveThroughNoPost(course._start1X, course._start1Z, heading);
            driveThroughNoPost(course._start2X, course._start2Z, heading);
        }
        // A racer whose start stands on a rope's line, with the rope running on ahead of it,
        // drives forward at the start's heading along the line, whichever side is out.
        for (const auto& [sx, sz] : {std::make_pair(course._start1X, course._start1Z),
                                     std::make_pair(course._start2X, course._start2Z)}) {
            for (const FenceRope& rope : course._fence.ropes) {
                if (rope.x0 == sx && rope.x1 == sx && std::fmin(rope.z0, rope.z1) < sz - 1.0f &&
                    std::fmax(rope.z0, rope.z1) >= sz) {
                    ++ropeLineStarts[rope.outX > 0.0f];
                    float endZ = sz;
                    EXPECT_FALSE(Drive(course, sx, sz, 0.0f, 2, [&](float, float z) { endZ = z; }))
                        << "from " << sx << "," << sz << ", out " << rope.outX;
                    EXPECT_LT(endZ, sz - 0.9f) << "from " << sx << "," << sz;
                }
            }
        }

        // Driven every way from the track: never off the reachable ground, and wherever the wall
        // step stops it a rope is within a unit. A racer standing on a start cell stays put, and
        // drives off toward the track.
        for (int x = 0; x < course._courseWidth; ++x) {
            for (int y = 0; y < course._courseLength; ++y) {
                const float sx = (x + 0.5f) * size, sz = (y + 0.5f) * size;
                if (course.GetCell(x, y) == '2') {
                    Camera racer;
                    StartRacerAt(racer, x * size, y * size);
                    MoveRacer(racer, kOneTick);
                    StopAtWall(course, racer, kOneTick);
                    EXPECT_EQ(x * size, racer._eye.x);
                    EXPECT_EQ(y * size, racer._eye.z);
                    for (float heading = 0.0f; heading < 6.2f; heading += 0.785f) {  // and drives off
                        if (reach.Contains(x * size + 1.5f * std::sin(heading), y * size - 1.5f * std::cos(heading))) {
                            EXPECT_FALSE(Drive(course, x * size, y * size, heading, 2, [](float, float) {}));
                        }
                    }
                }
                if ((x + y) % 2 || !reach.Contains(sx, sz) || NearestRope(course, sx, sz) < 0.5f) {
                    continue;
                }
                for (const float heading : {0.3f, 2.4f, 4.5f}) {
                    float endX = sx, endZ = sz;
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
    }
    EXPECT_GT(ropeLineStarts[0], 0);
    EXPECT_GT(ropeLineStarts[1], 0);

    // An open fence, three posts in a row in the open: its first post, which no rope leads to,
    // stops a racer driving along the line as the others do.
    CourseData line;
    ReadGoodCourse(line, CourseText(32, 32, '3', {{10, 16, ';'}, {11, 16, ';'}, {12, 16, ';'}}));
    LayOutMarkers(line);
    float endX = 0.0f;
    EXPECT_TRUE(Drive(line, 88.0f, 128.0f, -1.5707963f, 20, [&](float x, float) { endX = x; }));
    EXPECT_GT(endX, 80.0f);
}
