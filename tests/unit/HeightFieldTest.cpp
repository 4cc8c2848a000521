#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "TempDir.h"
#include "course/CourseData.h"

namespace {
std::vector<unsigned char> Field(unsigned char (*height)(int x, int z)) {
    std::vector<unsigned char> field(kTerrainSize * kTerrainSize);
    for (int z = 0; z < kTerrainSize; ++z) {
        for (int x = 0; x < kTerrainSize; ++x) field[z * kTerrainSize + x] = height(x, z);
    }
    return field;
}

// A different byte at every sample, so that every wrapped read names its sample.
unsigned char Distinct(int x, int z) {
    return static_cast<unsigned char>(x * 7 + z * 13);
}

void ExpectVector(float x, float y, float z, const Vec3& v, float tolerance = 1e-4f) {
    EXPECT_NEAR(x, v.x, tolerance);
    EXPECT_NEAR(y, v.y, tolerance);
    EXPECT_NEAR(z, v.z, tolerance);
}
}  // namespace

TEST(HeightField, LookupWrapsAroundEveryEdge) {
    const std::vector<unsigned char> field = Field(Distinct);
    const unsigned char* f = field.data();
    struct Case { int x, z, sameX, sameZ; };
    const Case cases[] = {
        {256, 17, 0, 17}, {17, 264, 17, 8}, {-8, 40, 248, 40}, {40, -8, 40, 248},
        {-1, -1, 255, 255}, {-256, 512, 0, 0}, {255, 255, 255, 255},
        {INT_MIN, INT_MAX, 0, 255}, {INT_MAX, INT_MIN, 255, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Distinct(c.sameX, c.sameZ), CourseData::GetHeight(f, c.x, c.z)) << c.x << ", " << c.z;
    }
}

TEST(HeightField, NullFieldIsLevelAtZero) {
    for (int v : {0, 8, 256, -8, INT_MIN}) {
        EXPECT_EQ(0, CourseData::GetHeight(nullptr, v, v));
    }
}

TEST(HeightField, FileBytesAreRowsOfIncreasingX) {
    TempDir dir;
    std::string bytes(kTerrainSize * kTerrainSize, '\0');
    bytes[1] = 11;
    bytes[256] = 22;
    bytes[65535] = static_cast<char>(255);
    const std::string path = dir.Write("terrain1.raw", bytes + "trailing bytes are not read");
    std::vector<unsigned char> field(kTerrainSize * kTerrainSize, 9);
    ASSERT_TRUE(CourseData::ReadRaw(field.data(), path.c_str(), 256, 256));
    EXPECT_EQ(11, CourseData::GetHeight(field.data(), 1, 0));
    EXPECT_EQ(22, CourseData::GetHeight(field.data(), 0, 1));
    EXPECT_EQ(255, CourseData::GetHeight(field.data(), 255, 255));
    EXPECT_EQ(0, CourseData::GetHeight(field.data(), 0, 0));
}

TEST(HeightField, ShortFileIsReadAsFarAsItGoes) {
    TempDir dir;
    const std::string path = dir.Write("short.raw", "\x05\x06\x07");
    std::vector<unsigned char> buffer(16, 99);
    EXPECT_TRUE(CourseData::ReadRaw(buffer.data(), path.c_str(), 4, 4));
    EXPECT_EQ(5, buffer[0]);
    EXPECT_EQ(7, buffer[2]);
    EXPECT_EQ(99, buffer[3]);   // the reader leaves the rest alone; InitTerrain zeroes it first
}

TEST(HeightField, EmptyMissingAndSizelessReadsFail) {
    TempDir dir;
    const std::string empty = dir.Write("empty.raw", "");
    const std::string one = dir.Write("one.raw", "x");
    unsigned char buffer[4] = {};
    EXPECT_FALSE(CourseData::ReadRaw(buffer, empty.c_str(), 2, 2));
    EXPECT_FALSE(CourseData::ReadRaw(buffer, dir.File("missing.raw").c_str(), 2, 2));
    EXPECT_FALSE(CourseData::ReadRaw(buffer, dir.Path().c_str(), 2, 2));   // a folder
    // Sizes that describe no buffer read nothing (a negative product must not become huge).
    EXPECT_FALSE(CourseData::ReadRaw(buffer, one.c_str(), 0, 2));
    EXPECT_FALSE(CourseData::ReadRaw(buffer, one.c_str(), -2, 2));
    EXPECT_FALSE(CourseData::ReadRaw(buffer, one.c_str(), -2, -2));
    EXPECT_FALSE(CourseData::ReadRaw(nullptr, one.c_str(), 2, 2));
}

TEST(HeightField, RawHeightsBecomeWholeWorldHeights) {
    struct Case { unsigned char raw; int world; };
    for (const Case c : {Case{9, 0}, Case{10, 1}, Case{255, 25}, Case{0, 0}, Case{99, 9}}) {
        std::vector<unsigned char> field(kTerrainSize * kTerrainSize, c.raw);
        EXPECT_EQ(c.world, CourseData::GetHeight(field.data(), 3, 4) / 10);
    }
}

TEST(VectorMaths, NormalizeScalesToUnitLengthAndKeepsZero) {
    Vec3 zero;
    CourseData::Normalize(zero);
    ExpectVector(0, 0, 0, zero, 0);
    Vec3 v{3, 0, 4};
    CourseData::Normalize(v);
    ExpectVector(0.6f, 0, 0.8f, v, 1e-6f);
    Vec3 down{0, -5, 0};
    CourseData::Normalize(down);
    ExpectVector(0, -1, 0, down, 0);
}

TEST(VectorMaths, FaceNormalFollowsTheCornerOrder) {
    const Vec3 level[3] = {{0, 0, 0}, {8, 0, 0}, {8, 0, 8}};
    Vec3 normal{9, 9, 9};
    CourseData::FaceNormal(level, normal);
    ExpectVector(0, -1, 0, normal, 0);

    const Vec3 reversed[3] = {{0, 0, 0}, {8, 0, 8}, {8, 0, 0}};
    CourseData::FaceNormal(reversed, normal);
    ExpectVector(0, 1, 0, normal, 0);

    const Vec3 degenerate[3] = {{1, 2, 3}, {1, 2, 3}, {5, 6, 7}};
    CourseData::FaceNormal(degenerate, normal);
    ExpectVector(0, 0, 0, normal, 0);

    // A wall facing -x: a = (0, 8, 0), b = (0, 0, 8), a x b = (64, 0, 0).
    const Vec3 wall[3] = {{4, 0, 0}, {4, 8, 0}, {4, 0, 8}};
    CourseData::FaceNormal(wall, normal);
    ExpectVector(1, 0, 0, normal, 0);
}

TEST(VertexNormal, LevelGroundPointsToNegativeYEverywhere) {
    const std::vector<unsigned char> field(kTerrainSize * kTerrainSize, 100);
    for (int x = 0; x <= 256; x += 8) {
        for (int z = 0; z <= 256; z += 64) {
            ExpectVector(0, -1, 0, CourseData::VertexNormal(field.data(), x, z), 0);
        }
    }
    ExpectVector(0, -1, 0, CourseData::VertexNormal(nullptr, 8, 8), 0);
}

TEST(VertexNormal, RampInsideAndAtTheWrappedEdges) {
    const std::vector<unsigned char> ramp =
        Field([](int x, int) { return static_cast<unsigned char>(x); });
    for (int x = 8; x <= 240; x += 8) {
        for (int z : {0, 64, 256}) {
            ExpectVector(0.7071f, -0.7071f, 0, CourseData::VertexNormal(ramp.data(), x, z));
        }
    }
    for (int x : {0, 248, 256}) {
        ExpectVector(-0.3677f, -0.9299f, 0, CourseData::VertexNormal(ramp.data(), x, 128));
    }
}
