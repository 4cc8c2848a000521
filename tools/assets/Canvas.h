// An RGBA picture in the order the game's textures use: row 0 is the bottom of the picture
// (texture t = 0), column 0 its left edge (s = 0). The writers turn it into the files the
// game reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ArtMath.h"

struct Canvas {
    Canvas(int32_t width, int32_t height);

    // Stores a colour with components in [0, 1] (clamped) and an opacity in [0, 1].
    void Set(int32_t s, int32_t t, Rgb colour, double alpha = 1.0);
    const uint8_t* Pixel(int32_t s, int32_t t) const;

    int32_t width;
    int32_t height;
    std::vector<uint8_t> rgba;  // 4 bytes per pixel, row t at offset t * width * 4
};

// One colour component in [0, 1] as a byte, rounded to nearest.
uint8_t ToByte(double v);

// Writes an uncompressed 8-bit TIFF (RGB, or RGBA when `alpha` is true), top row first as
// TIFF stores it, so that the game's decoder hands row 0 back as the bottom row.
bool WriteTiff(const Canvas& canvas, const std::string& path, bool alpha);

// Writes an 8-bit RGBA PNG, top row first.
bool WritePng(const Canvas& canvas, const std::string& path);

// Writes the headerless raw RGBA format: row 0 (t = 0) first, nothing else.
bool WriteRaw(const Canvas& canvas, const std::string& path);
