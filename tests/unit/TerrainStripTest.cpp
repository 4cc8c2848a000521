#include <gtest/gtest.h>

#include <vector>

#include "base/FramePacer.h"
#include "terrain/Course.h"
#include "terrain/Shaders.h"
#include "terrain/TerrainStrip.h"

namespace {
std::vector<TerrainVertex> Strip(const unsigned char* field) {
    std::vector<TerrainVertex> vertices;
    WalkTerrainStrip(field, 10, [&](const TerrainVertex& v) { vertices.push_back(v); });
    return vertices;
}

std::vector<unsigned char> Distinct() {
    std::vector<unsigned char> field(kTerrainSize * kTerrainSize);
    for (int i = 0; i < kTerrainSize * kTerrainSize; ++i) field[i] = static_cast<unsigned char>(i * 31 % 251);
    return field;
}

void ExpectAt(int x, int z, const TerrainVertex& v) {
    EXPECT_EQ(x, v.x);
    EXPECT_EQ(z, v.z);
}
}  // namespace

TEST(TerrainStrip, SendsThirtyTwoBandsThatTurnAtTheEdges) {
    const std::vector<unsigned char> field = Distinct();
    const std::vector<TerrainVertex> v = Strip(field.data());
    ASSERT_EQ(2112u, v.size());
    EXPECT_FALSE(g_stripReversed);

    ExpectAt(8, 0, v[0]);
    ExpectAt(0, 0, v[1]);
    ExpectAt(8, 8, v[2]);
    ExpectAt(0, 8, v[3]);
    ExpectAt(8, 256, v[64]);
    ExpectAt(0, 256, v[65]);
    // Second band, downward.
    ExpectAt(8, 256, v[66]);
    ExpectAt(16, 256, v[67]);
    ExpectAt(8, 248, v[68]);
    ExpectAt(16, 248, v[69]);
    ExpectAt(8, 0, v[130]);
    ExpectAt(16, 0, v[131]);
    // Third band, upward again.
    ExpectAt(24, 0, v[132]);
    ExpectAt(16, 0, v[133]);
    ExpectAt(24, 8, v[134]);
    // The last band runs down and ends at the far corner.
    ExpectAt(248, 0, v[2110]);
    ExpectAt(256, 0, v[2111]);

    EXPECT_EQ(Course::GetHeight(field.data(), 8, 0) / 10, v.front().height);
    EXPECT_EQ(Course::GetHeight(field.data(), 0, 0) / 10, v.back().height);
}

TEST(TerrainStrip, EveryPassIsTheSameSequence) {
    const std::vector<unsigned char> field = Distinct();
    const std::vector<TerrainVertex> first = Strip(field.data());
    const std::vector<TerrainVertex> second = Strip(field.data());
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].x, second[i].x);
        EXPECT_EQ(first[i].z, second[i].z);
    }
}

// Strip triangle i is (i, i+1, i+2), with every odd one flipped so all keep one winding.
TEST(TerrainStrip, BandTrianglesFaceUpAndOnlyTheTurnsStandOnEdge) {
    const std::vector<unsigned char> field = Distinct();
    const std::vector<TerrainVertex> v = Strip(field.data());
    int facingUp = 0;
    int flat = 0;
    for (size_t i = 0; i + 2 < v.size(); ++i) {
        const TerrainVertex& a = v[i];
        const TerrainVertex& b = i % 2 == 0 ? v[i + 1] : v[i + 2];
        const TerrainVertex& c = i % 2 == 0 ? v[i + 2] : v[i + 1];
        // y of (b - a) x (c - a): positive when counter-clockwise seen from above.
        const int up = (b.z - a.z) * (c.x - a.x) - (b.x - a.x) * (c.z - a.z);
        EXPECT_GE(up, 0) << "triangle " << i;
        (up > 0 ? facingUp : flat) += 1;
    }
    EXPECT_EQ(2110, facingUp + flat);
    EXPECT_EQ(31 * 2, flat);   // at each turn one triangle with two equal corners, one upright
}

TEST(TerrainStrip, VerticesCarryWorldHeight) {
    std::vector<unsigned char> field(kTerrainSize * kTerrainSize, 100);
    field[8] = 9;                  // (8, 0)
    field[8 * 256 + 16] = 255;     // (16, 8)
    const std::vector<TerrainVertex> v = Strip(field.data());
    EXPECT_EQ(0.0f, v[0].height);
    for (const TerrainVertex& vertex : v) {
        const int x = vertex.x % 256;   // the far edges take the heights of the near ones
        const int z = vertex.z % 256;
        const float expected = x == 16 && z == 8 ? 25.0f : x == 8 && z == 0 ? 0.0f : 10.0f;
        EXPECT_EQ(expected, vertex.height) << vertex.x << ", " << vertex.z;
    }
    ExpectAt(256, 0, v.back());
    ExpectAt(0, 0, v[1]);
    ExpectAt(0, 8, v[3]);
}

TEST(TerrainStrip, LevelGroundIsFlatWithNormalsDown) {
    const std::vector<unsigned char> field(kTerrainSize * kTerrainSize, 100);
    for (const TerrainVertex& vertex : Strip(field.data())) {
        EXPECT_EQ(10.0f, vertex.height);
        EXPECT_EQ(0.0f, vertex.normal.x);
        EXPECT_EQ(-1.0f, vertex.normal.y);
        EXPECT_EQ(0.0f, vertex.normal.z);
    }
}

TEST(TerrainPass, WithoutAFieldOnlyTheDivisorIsSet) {
    Course course;
    course._heightDivisor = 3;
    g_wavePhase = 0.5f;
    course.DrawTerrain(nullptr, kOneTick);
    EXPECT_EQ(10, course._heightDivisor);
    EXPECT_EQ(0.5f, g_wavePhase);
    course._heightDivisor = 7;
    EXPECT_TRUE(course.Draw(kOneTick));
    EXPECT_EQ(10, course._heightDivisor);
    EXPECT_EQ(0.5f, g_wavePhase);
    EXPECT_FALSE(g_stripReversed);
}
