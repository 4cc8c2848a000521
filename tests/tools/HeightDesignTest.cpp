// The generated height field against the game's rules: racers on every shipped course drive
// on ground at world height 15 (the markers stand at 17, the eye is 2 above the ground), the
// drawn mesh is level there too, the water has low ground to move on, and the field tiles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "ConsoleCapture.h"
#include "TempDir.h"
#include "ToolRun.h"
#include "course/CourseData.h"
#include "course/Fence.h"

namespace {
constexpr int kSize = 256;
constexpr int kMeshStep = 8;

class HeightDesign : public ::testing::Test {
protected:
    void SetUp() override {
        const ToolResult& run = GeneratedAssets().result;
        ASSERT_EQ(0, run.exitStatus) << run.output;
        _heights = ReadFileBytes(_out.File("terrain_data/terrain1.raw"));
        ASSERT_EQ(65536u, _heights.size());
    }

    int Raw(int x, int z) const {
        x = (x % kSize + kSize) % kSize;
        z = (z % kSize + kSize) % kSize;
        return static_cast<uint8_t>(_heights[static_cast<size_t>(z) * kSize + x]);
    }
    int World(int x, int z) const { return Raw(x, z) / 10; }

    static bool ReadCourse(const std::string& path, CourseData& course) {
        ConsoleCapture quiet;
        std::ifstream in(path);
        return course.Read(in);
    }

    const TempDir& _out = GeneratedAssets().out;
    std::string _heights;
};

// Only a '1' stops a racer: '0', the start cells and the edge cells without posts ('.') are
// all driven on.
bool Drivable(char code) { return code != '1'; }
}  // namespace

TEST_F(HeightDesign, GroundUnderEveryFreeAndStartCellIsAtHeightFifteen) {
    for (const std::string& path : ShippedCourses()) {
        CourseData course;
        ASSERT_TRUE(ReadCourse(path, course)) << path;
        const int cellSize = kSize / course._courseWidth;
        int cells = 0;
        for (int x = 0; x < course._courseWidth; ++x) {
            for (int y = 0; y < course._courseLength; ++y) {
                if (!Drivable(course.GetCell(x, y))) {
                    continue;
                }
                ++cells;
                for (int wz = y * cellSize; wz < (y + 1) * cellSize; ++wz) {
                    for (int wx = x * cellSize; wx < (x + 1) * cellSize; ++wx) {
                        ASSERT_EQ(15, World(wx, wz)) << path << " cell " << x << "," << y;
                    }
                }
            }
        }
        EXPECT_GT(cells, 300) << path;
        // And every sample inside the fence, blocked cells' corners too.
        const Fence fence = BuildFence(course);
        for (int z = 0; z < kSize; ++z) {
            for (int x = 0; x < kSize; ++x) {
                if (IsInsideFence(course, fence, x + 0.5f, z + 0.5f)) {
                    ASSERT_EQ(15, World(x, z)) << path << " sample " << x << "," << z;
                }
            }
        }
    }
}

// The terrain is drawn only at multiples of 8: every corner of a mesh square that holds
// course ground must be level too, or the drawn ground would tilt under the racers.
TEST_F(HeightDesign, MeshSquaresUnderTheCoursesAreLevel) {
    for (const std::string& path : ShippedCourses()) {
        CourseData course;
        ASSERT_TRUE(ReadCourse(path, course)) << path;
        const int cellSize = kSize / course._courseWidth;
        for (int x = 0; x < course._courseWidth; ++x) {
            for (int y = 0; y < course._courseLength; ++y) {
                if (!Drivable(course.GetCell(x, y))) {
                    continue;
                }
                const int mx = x * cellSize / kMeshStep * kMeshStep;
                const int mz = y * cellSize / kMeshStep * kMeshStep;
                for (int corner = 0; corner < 4; ++corner) {
                    const int cx = mx + (corner & 1) * kMeshStep;
                    const int cz = mz + (corner >> 1) * kMeshStep;
                    ASSERT_EQ(15, World(cx, cz)) << path << " mesh corner " << cx << "," << cz;
                }
            }
        }
    }
}

TEST_F(HeightDesign, HasWaterBasinsAndHills) {
    int water = 0;
    int waterVertices = 0;
    int hills = 0;
    for (int z = 0; z < kSize; ++z) {
        for (int x = 0; x < kSize; ++x) {
            water += World(x, z) <= 2 ? 1 : 0;
            waterVertices += World(x, z) <= 2 && x % kMeshStep == 0 && z % kMeshStep == 0;
            hills += World(x, z) >= 20 ? 1 : 0;
        }
    }
    EXPECT_GT(water, 500);
    EXPECT_GT(waterVertices, 8);  // the drawn mesh reaches the water too
    EXPECT_GT(hills, 2000);
}

// The field wraps at 256: across the seam the ground changes no more than between any other
// two neighbouring samples.
TEST_F(HeightDesign, TilesWithoutASeam) {
    int steepestInside = 0;
    for (int z = 0; z < kSize; ++z) {
        for (int x = 0; x + 1 < kSize; ++x) {
            steepestInside = std::max(steepestInside, std::abs(Raw(x + 1, z) - Raw(x, z)));
            steepestInside = std::max(steepestInside, std::abs(Raw(z, x + 1) - Raw(z, x)));
        }
    }
    for (int i = 0; i < kSize; ++i) {
        EXPECT_LE(std::abs(Raw(0, i) - Raw(kSize - 1, i)), steepestInside) << "x seam, z " << i;
        EXPECT_LE(std::abs(Raw(i, 0) - Raw(i, kSize - 1)), steepestInside) << "z seam, x " << i;
    }
    EXPECT_LT(steepestInside, 20);
}
