// The generated sky boxes meet without seams under the game's face table: wherever two
// faces share an edge of the cube, their edge texels show the same colours.
#include <gtest/gtest.h>

#include <array>
#include <map>

#include "TempDir.h"
#include "ToolRun.h"

namespace {
using Point = std::array<int, 3>;

struct Face {
    const char* file;
    Point at00, at10, at11, at01;  // cube corners at texture coordinates (0,0) (1,0) (1,1) (0,1)
};

// The sky-box table of the game, corner by corner.
const Face kFaces[] = {
    {"front.tif", {-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}},
    {"back.tif", {1, -1, 1}, {-1, -1, 1}, {-1, 1, 1}, {1, 1, 1}},
    {"up.tif", {-1, 1, -1}, {1, 1, -1}, {1, 1, 1}, {-1, 1, 1}},
    {"right.tif", {-1, -1, 1}, {-1, -1, -1}, {-1, 1, -1}, {-1, 1, 1}},
    {"left.tif", {1, -1, -1}, {1, -1, 1}, {1, 1, 1}, {1, 1, -1}},
    {"down.tif", {-1, -1, 1}, {1, -1, 1}, {1, -1, -1}, {-1, -1, -1}},
};

// The point of the cube under texel (s, t) whose centre lies on the face's edge (the first
// and last texels sit on the edges), scaled by (n * n) to stay in whole numbers.
Point EdgePoint(const Face& face, int s, int t, int n) {
    Point p{};
    for (int axis = 0; axis < 3; ++axis) {
        p[axis] = face.at00[axis] * (n - s) * (n - t) + face.at10[axis] * s * (n - t) +
                  face.at11[axis] * s * t + face.at01[axis] * (n - s) * t;
    }
    return p;
}

class SkyboxSeams : public ::testing::TestWithParam<const char*> {};
}  // namespace

TEST_P(SkyboxSeams, NeighbourFacesShowTheSameColoursAlongTheirCommonEdges) {
    const TempDir& out = GeneratedAssets().out;
    const ToolResult& run = GeneratedAssets().result;
    ASSERT_EQ(0, run.exitStatus) << run.output;
    std::map<Point, std::pair<uint32_t, std::string>> seen;
    int shared = 0;
    for (const Face& face : kFaces) {
        const std::string file = std::string("skyboxes/") + GetParam() + "/" + face.file;
        const DecodedTiff image = DecodeTiff(out.File(file));
        ASSERT_EQ(256u, image.width) << file;
        const int n = static_cast<int>(image.width) - 1;
        for (int t = 0; t <= n; ++t) {
            for (int s = 0; s <= n; ++s) {
                if (s != 0 && s != n && t != 0 && t != n) {
                    continue;
                }
                const uint32_t colour = image.At(s, t);
                const auto [entry, added] = seen.emplace(EdgePoint(face, s, t, n),
                                                         std::make_pair(colour, file));
                if (!added) {
                    ++shared;
                    ASSERT_EQ(entry->second.first, colour)
                        << file << " texel " << s << "," << t << " against " << entry->second.second;
                }
            }
        }
    }
    // Twelve edges of 256 texels are each shown by two faces; the eight corners by three.
    EXPECT_EQ(12 * 254 + 8 * 2, shared);
}

// The faces are not upside down: on every wall the upper quarter is bluer (blue less red)
// than the lower quarter, which shows the warm haze the far terrain fades into.
TEST_P(SkyboxSeams, WallsAreBluerAboveThanBelow) {
    const TempDir& out = GeneratedAssets().out;
    const ToolResult& run = GeneratedAssets().result;
    ASSERT_EQ(0, run.exitStatus) << run.output;
    for (const char* wall : {"front.tif", "back.tif", "right.tif", "left.tif"}) {
        const DecodedTiff image = DecodeTiff(out.File(std::string("skyboxes/") + GetParam() + "/" + wall));
        ASSERT_EQ(256u, image.height) << wall;
        double upper = 0.0;
        double lower = 0.0;
        for (uint32_t t = 0; t < 64; ++t) {
            for (uint32_t s = 0; s < image.width; ++s) {
                lower += Blue(image.At(s, t)) - Red(image.At(s, t));
                upper += Blue(image.At(s, 255 - t)) - Red(image.At(s, 255 - t));
            }
        }
        EXPECT_GT(upper, lower + 64.0 * 256.0 * 40.0) << GetParam() << " " << wall;
    }
}

INSTANTIATE_TEST_SUITE_P(BothSkies, SkyboxSeams, ::testing::Values("day", "sunset"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });
