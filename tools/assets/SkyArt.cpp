#include "SkyArt.h"

#include <cmath>

#include "Noise.h"

const char* const kSkyFaceFiles[kSkyFaces] = {"front.tif", "back.tif", "right.tif",
                                              "left.tif",  "up.tif",   "down.tif"};

namespace {
constexpr uint32_t kCloudSeed = 0x534b59u;

struct FaceCorners {
    Dir at00, at10, at11, at01;  // cube corners at texture coordinates (0,0), (1,0), (1,1), (0,1)
};

// The game's sky-box table, by face image in the order of kSkyFaceFiles.
const FaceCorners kFaceCorners[kSkyFaces] = {
    {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}},  // front, z = -1
    {{1, -1, 1}, {-1, -1, 1}, {-1, 1, 1}, {1, 1, 1}},      // back, z = 1
    {{-1, -1, 1}, {-1, -1, -1}, {-1, 1, -1}, {-1, 1, 1}},  // right, x = -1
    {{1, -1, -1}, {1, -1, 1}, {1, 1, 1}, {1, 1, -1}},      // left, x = 1
    {{-1, 1, -1}, {1, 1, -1}, {1, 1, 1}, {-1, 1, 1}},      // up, y = 1
    {{-1, -1, 1}, {1, -1, 1}, {1, -1, -1}, {-1, -1, -1}},  // down, y = -1
};

double CloudDensity(const SkyStyle& style, Dir d) {
    if (d.y <= 0.0 || style.cloudCover <= 0.0) {
        return 0.0;
    }
    // Clouds lie on a flat layer above the eye; far ones crowd toward the horizon.
    const double reach = 1.0 / (d.y + 0.12);
    const double x = d.x * reach * 3.0;
    const double z = d.z * reach * 3.0;
    const double n = 0.5 + 0.5 * TileFbm(x / 4096.0, z / 4096.0, 4096, 5, kCloudSeed);
    const double threshold = 1.0 - style.cloudCover;
    return Smoothstep(threshold, threshold + 0.22, n) * Smoothstep(0.06, 0.3, d.y);
}
}  // namespace

SkyStyle DaySky() {
    return {Rgb{0.18, 0.36, 0.74},  Rgb{0.42, 0.60, 0.88},  Rgb{0.97, 0.86, 0.66},
            Rgb{0.95, 0.79, 0.52},  Normalized({-0.5, 1.1, 0.6}),
            Rgb{1.0, 0.98, 0.9},    Rgb{1.0, 0.93, 0.75},   0.35,
            Rgb{1.0, 1.0, 0.98},    Rgb{0.74, 0.77, 0.84},  0.42};
}

SkyStyle SunsetSky() {
    return {Rgb{0.10, 0.10, 0.27},  Rgb{0.40, 0.28, 0.48},  Rgb{1.0, 0.66, 0.38},
            Rgb{0.96, 0.72, 0.45},  Normalized({0.35, 0.05, -1.0}),
            Rgb{1.0, 0.9, 0.62},    Rgb{1.0, 0.50, 0.18},   0.9,
            Rgb{1.0, 0.62, 0.36},   Rgb{0.36, 0.25, 0.40},  0.38};
}

Dir FaceTexelDirection(int32_t face, int32_t s, int32_t t, int32_t size) {
    // Whole-number weights keep the arithmetic exact up to the final division, so a texel on
    // an edge gets bit-for-bit the direction its neighbour face computes there.
    const FaceCorners& c = kFaceCorners[face];
    const double n = size - 1;
    const double w00 = (n - s) * (n - t);
    const double w10 = s * (n - t);
    const double w11 = static_cast<double>(s) * t;
    const double w01 = (n - s) * t;
    const double scale = n * n;
    return {(c.at00.x * w00 + c.at10.x * w10 + c.at11.x * w11 + c.at01.x * w01) / scale,
            (c.at00.y * w00 + c.at10.y * w10 + c.at11.y * w11 + c.at01.y * w01) / scale,
            (c.at00.z * w00 + c.at10.z * w10 + c.at11.z * w11 + c.at01.z * w01) / scale};
}

Rgb SkyColour(const SkyStyle& style, Dir direction) {
    const Dir d = Normalized(direction);
    const double towardSun = Dot(d, style.sun);
    Rgb colour;
    if (d.y >= 0.0) {
        colour = Mix(style.horizon, style.upper, Smoothstep(0.0, 0.35, d.y));
        colour = Mix(colour, style.zenith, Smoothstep(0.25, 1.0, d.y));
    } else {
        colour = Mix(style.horizon, style.below, Smoothstep(0.0, 0.12, -d.y));
    }
    const double near = std::fmax(0.0, towardSun);
    colour = colour + style.glowColour * (style.glow * (0.25 * Power(near, 8) + 0.6 * Power(near, 96)));
    const double cloud = CloudDensity(style, d);
    const Rgb cloudColour = Mix(style.cloudShade, style.cloudLit, 0.5 + 0.5 * towardSun);
    colour = Mix(colour, cloudColour, cloud);
    const double disk = Smoothstep(0.9993, 0.9997, towardSun) * (d.y > -0.01 ? 1.0 : 0.0);
    return Mix(colour, style.sunColour, disk);
}

Canvas SkyFace(const SkyStyle& style, int32_t face) {
    Canvas canvas(kSkyFaceSize, kSkyFaceSize);
    for (int32_t t = 0; t < kSkyFaceSize; ++t) {
        for (int32_t s = 0; s < kSkyFaceSize; ++s) {
            canvas.Set(s, t, SkyColour(style, FaceTexelDirection(face, s, t, kSkyFaceSize)));
        }
    }
    return canvas;
}
