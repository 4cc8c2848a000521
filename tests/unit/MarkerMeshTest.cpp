// The post, rope and race-pole tables: their sizes, the rows other code and images depend on,
// their extents, and that every triangle faces the way its normals say.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "course/MarkerMeshes.h"

namespace {
struct Extent {
    float low[3] = {1e9f, 1e9f, 1e9f};
    float high[3] = {-1e9f, -1e9f, -1e9f};
};

Extent VertexExtent(const MarkerMesh& mesh) {
    Extent extent;
    for (int32_t v = 0; v < mesh.vertexCount; ++v) {
        for (int axis = 0; axis < 3; ++axis) {
            extent.low[axis] = std::min(extent.low[axis], mesh.vertices[v][axis]);
            extent.high[axis] = std::max(extent.high[axis], mesh.vertices[v][axis]);
        }
    }
    return extent;
}

float Largest(const Extent& extent, int axis) {
    return std::max(-extent.low[axis], extent.high[axis]);
}

void ExpectRow(const float* row, std::initializer_list<float> values) {
    int i = 0;
    for (float value : values) {
        EXPECT_NEAR(value, row[i], 1e-6) << "column " << i;
        ++i;
    }
}

// Indices in range, unit normals, every normal and coordinate used, and each triangle wound
// counter-clockwise seen from the side its corner normals point to.
void ExpectSoundMesh(const MarkerMesh& mesh) {
    std::vector<bool> usedNormal(mesh.normalCount), usedTexCoord(mesh.texCoordCount);
    for (int32_t f = 0; f < mesh.faceCount; ++f) {
        const uint8_t* face = mesh.faces[f];
        for (int c = 0; c < 3; ++c) {
            ASSERT_LT(face[c], mesh.vertexCount);
            ASSERT_LT(face[3 + c], mesh.normalCount);
            ASSERT_LT(face[6 + c], mesh.texCoordCount);
            usedNormal[face[3 + c]] = true;
            usedTexCoord[face[6 + c]] = true;
        }
        const float* a = mesh.vertices[face[0]];
        const float* b = mesh.vertices[face[1]];
        const float* c = mesh.vertices[face[2]];
        const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const float w[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                            u[0] * w[1] - u[1] * w[0]};
        float facing = 0;
        for (int corner = 0; corner < 3; ++corner) {
            const float* normal = mesh.normals[face[3 + corner]];
            facing += n[0] * normal[0] + n[1] * normal[1] + n[2] * normal[2];
        }
        EXPECT_GT(facing, 0.0f) << "face " << f << " winds against its normals";
    }
    for (int32_t i = 0; i < mesh.normalCount; ++i) {
        const float* n = mesh.normals[i];
        EXPECT_NEAR(1.0, std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1e-5) << i;
        EXPECT_TRUE(usedNormal[i]) << "normal " << i;
    }
    for (int32_t i = 0; i < mesh.texCoordCount; ++i) {
        EXPECT_TRUE(usedTexCoord[i]) << "texture coordinate " << i;
    }
}

void ExpectTexCoordsWithin(const MarkerMesh& mesh, float lowS, float highS, float lowT,
                           float highT) {
    for (int32_t i = 0; i < mesh.texCoordCount; ++i) {
        EXPECT_GE(mesh.texCoords[i][0], lowS - 1e-6f) << i;
        EXPECT_LE(mesh.texCoords[i][0], highS + 1e-6f) << i;
        EXPECT_GE(mesh.texCoords[i][1], lowT - 1e-6f) << i;
        EXPECT_LE(mesh.texCoords[i][1], highT + 1e-6f) << i;
    }
}
}  // namespace

TEST(MarkerMesh, PostIsAFiveSidedPrismWithASlantedTop) {
    const MarkerMesh& post = kPostMesh;
    ExpectRow(post.vertices[0], {0.117495f, -0.000995083f, -0.5f});
    ExpectRow(post.vertices[5], {0.131477f, -0.000995083f, 0.5f});
    ExpectRow(post.normals[0], {0.972656f, 0.231809f, -0.0143083f});
    ExpectRow(post.texCoords[0], {0.03f, 0.172304f});
    ExpectRow(post.texCoords[1], {0.461039f, 0.03f});

    const Extent extent = VertexExtent(post);
    EXPECT_NEAR(0.131477f, Largest(extent, 0), 1e-6);
    EXPECT_NEAR(0.139238f, Largest(extent, 1), 1e-6);
    EXPECT_FLOAT_EQ(-0.5f, extent.low[2]);
    EXPECT_FLOAT_EQ(0.5f, extent.high[2]);
    // Five vertices at each end; the upper ring slanted from 0.43498 to 0.5.
    float topLow = 1, topHigh = 0;
    for (int v = 0; v < 5; ++v) {
        EXPECT_FLOAT_EQ(-0.5f, post.vertices[v][2]) << v;
        topLow = std::min(topLow, post.vertices[5 + v][2]);
        topHigh = std::max(topHigh, post.vertices[5 + v][2]);
    }
    EXPECT_NEAR(0.43498f, topLow, 1e-6);
    EXPECT_FLOAT_EQ(0.5f, topHigh);
    ExpectTexCoordsWithin(post, 0.03f, 0.97f, 0.03f, 0.97f);
}

TEST(MarkerMesh, RopeIsEightRingsOfNineAlongX) {
    const MarkerMesh& rope = kRopeMesh;
    ExpectRow(rope.vertices[64], {-0.5f, 0.0331247f, 0.0576352f});

    const Extent extent = VertexExtent(rope);
    EXPECT_FLOAT_EQ(-0.5f, extent.low[0]);
    EXPECT_FLOAT_EQ(0.5f, extent.high[0]);
    EXPECT_NEAR(0.0832801f, Largest(extent, 1), 1e-6);
    EXPECT_NEAR(0.206026f, Largest(extent, 2), 1e-6);
    for (int ring = 0; ring < 8; ++ring) {
        for (int k = 1; k < 9; ++k) {
            EXPECT_FLOAT_EQ(rope.vertices[9 * ring][0], rope.vertices[9 * ring + k][0]);
        }
        if (ring > 0) {
            EXPECT_LT(rope.vertices[9 * ring][0], rope.vertices[9 * (ring - 1)][0]);
        }
    }
    ExpectTexCoordsWithin(rope, 0.03f, 0.97f, 0.03f, 0.97f);
}

TEST(MarkerMesh, RacePoleIsASixSidedColumnOfThreeRings) {
    const MarkerMesh& pole = kPoleMesh;
    ExpectRow(pole.vertices[6], {0.182563f, 0.0f, 0.198017f});
    ExpectRow(pole.texCoords[0], {0.75f, 0.000499427f});

    const float radius[3] = {0.132549f, 0.182563f, 0.143794f};
    const float height[3] = {-0.5f, 0.198017f, 0.5f};
    for (int ring = 0; ring < 3; ++ring) {
        for (int k = 0; k < 6; ++k) {
            const float* v = pole.vertices[6 * ring + k];
            EXPECT_NEAR(radius[ring], std::hypot(v[0], v[1]), 1e-6) << ring << "," << k;
            EXPECT_FLOAT_EQ(height[ring], v[2]);
        }
    }
    float lowS = 1, highS = 0;
    for (int32_t i = 0; i < pole.texCoordCount; ++i) {
        lowS = std::min(lowS, pole.texCoords[i][0]);
        highS = std::max(highS, pole.texCoords[i][0]);
    }
    EXPECT_NEAR(-0.406417f, lowS, 1e-6);
    EXPECT_NEAR(1.75f, highS, 1e-6);
}

// Each table's sizes and first face, and its triangles sound.
struct MeshRow {
    const char* name;
    const MarkerMesh* mesh;
    int32_t faces, vertices, normals, texCoords;
    int firstFace[9];
};

const MeshRow kMeshes[] = {
    {"Post", &kPostMesh, 16, 10, 16, 28, {0, 6, 5, 0, 1, 2, 0, 1, 2}},
    {"Rope", &kRopeMesh, 133, 72, 72, 217, {64, 65, 63, 0, 1, 2, 0, 1, 2}},
    {"RacePole", &kPoleMesh, 32, 18, 20, 29, {0, 7, 6, 0, 1, 2, 0, 1, 2}},
};

class MarkerMeshTable : public ::testing::TestWithParam<MeshRow> {};

TEST_P(MarkerMeshTable, SizesFirstFaceAndSoundTriangles) {
    const MarkerMesh& mesh = *GetParam().mesh;
    EXPECT_EQ(GetParam().faces, mesh.faceCount);
    EXPECT_EQ(GetParam().vertices, mesh.vertexCount);
    EXPECT_EQ(GetParam().normals, mesh.normalCount);
    EXPECT_EQ(GetParam().texCoords, mesh.texCoordCount);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(GetParam().firstFace[i], mesh.faces[0][i]) << "column " << i;
    }
    ExpectSoundMesh(mesh);
}

INSTANTIATE_TEST_SUITE_P(EachMarker, MarkerMeshTable, ::testing::ValuesIn(kMeshes),
                         [](const ::testing::TestParamInfo<MeshRow>& info) {
                             return std::string(info.param.name);
                         });
