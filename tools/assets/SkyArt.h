// Sky box faces painted from the view direction: every texel gets the colour of the sky in
// the direction of the point of the cube it covers, placed by the game's face table, so that
// the six faces meet without a seam. Edge texels lie exactly on the cube's edges, where
// neighbouring faces compute the same direction and so the same colour.
#pragma once

#include <cstdint>

#include "ArtMath.h"
#include "Canvas.h"

constexpr int32_t kSkyFaces = 6;
constexpr int32_t kSkyFaceSize = 256;

// The face images in the order of the game's table: front, back, right, left, up, down.
extern const char* const kSkyFaceFiles[kSkyFaces];

struct SkyStyle {
    Rgb zenith;
    Rgb upper;        // the sky a third of the way up
    Rgb horizon;      // blends toward the game's fog colour (1.0, 0.8, 0.5)
    Rgb below;        // under the horizon, where the far terrain fades into the fog
    Dir sun;          // unit vector toward the sun
    Rgb sunColour;
    Rgb glowColour;   // the halo around the sun
    double glow;      // strength of the halo
    Rgb cloudLit;     // clouds toward the sun
    Rgb cloudShade;   // clouds away from it
    double cloudCover;  // 0 clear, 1 overcast
};

SkyStyle DaySky();
SkyStyle SunsetSky();

// The direction (not normalised) of texel (s, t) of a face, s and t counted in texels from the
// face's corner at texture coordinate (0, 0), with `size` texels along each side.
Dir FaceTexelDirection(int32_t face, int32_t s, int32_t t, int32_t size);

Rgb SkyColour(const SkyStyle& style, Dir direction);

Canvas SkyFace(const SkyStyle& style, int32_t face);
