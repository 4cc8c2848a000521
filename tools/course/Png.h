// Pictures for the course tool: 8-bit RGBA, top row first, read and written through libpng's
// simplified interface, which takes every PNG layout (palette, grey, 16-bit, interlaced).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;  // 4 bytes a pixel, row 0 at the top, not premultiplied

    Picture() = default;
    Picture(uint32_t w, uint32_t h) : width(w), height(h), rgba(size_t{w} * h * 4, 0) {}
    uint8_t* At(uint32_t column, uint32_t row) { return &rgba[(size_t{row} * width + column) * 4]; }
    const uint8_t* At(uint32_t column, uint32_t row) const {
        return &rgba[(size_t{row} * width + column) * 4];
    }
};

// The largest picture read: so many pixels a side and in all (4096 x 4096, 64 MB of RGBA).
constexpr uint32_t kMostPixelsASide = 16384;
constexpr uint64_t kMostPixels = 4096ull * 4096ull;

// Reads a PNG. On failure returns false and says why in `error` (one line, without the path):
// not a PNG, cut short, too large.
bool ReadPng(const std::string& path, Picture& picture, std::string& error);

// Writes a PNG; a file that cannot be written completely is removed. Says why in `error`.
bool WritePng(const std::string& path, const Picture& picture, std::string& error);
