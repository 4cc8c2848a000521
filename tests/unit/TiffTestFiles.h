// Small TIFF files for the texture tests, written through libtiff itself or byte by byte,
// and the tags of files read back through libtiff.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <tiffio.h>

#include "TiffLayouts.h"

struct TiffTags {
    uint32_t width = 0;
    uint32_t height = 0;
    bool ok = false;
};

inline TiffTags ReadTiffTags(const std::string& path) {
    TiffTags tags;
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (!tiff) {
        return tags;
    }
    tags.ok = TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &tags.width) == 1 &&
              TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &tags.height) == 1;
    TIFFClose(tiff);
    return tags;
}

// Writes an 8-bit RGB (3 samples) or RGBA (4 samples) image, given top row first, without
// compression. With ORIENTATION_BOTLEFT the rows are stored bottom row first.
inline bool WriteTiff(const std::string& path, uint32_t width, uint32_t height, int samples,
                      const std::vector<uint8_t>& topRowFirst,
                      uint16_t orientation = ORIENTATION_TOPLEFT) {
    std::vector<uint8_t> rgba;
    for (size_t i = 0; i + samples <= topRowFirst.size(); i += samples) {
        rgba.insert(rgba.end(), {topRowFirst[i], topRowFirst[i + 1], topRowFirst[i + 2],
                                 samples == 4 ? topRowFirst[i + 3] : uint8_t{255}});
    }
    const unsigned storage =
        (samples == 4 ? kAlpha : 0u) | (orientation == ORIENTATION_BOTLEFT ? kBottomUp : 0u);
    return WriteTiffLayout(path, {"", PHOTOMETRIC_RGB, 8, COMPRESSION_NONE, storage, width, height},
                           rgba);
}

// A solid RGB image of one colour.
inline bool WriteSolidTiff(const std::string& path, uint32_t width, uint32_t height, uint8_t r,
                           uint8_t g, uint8_t b) {
    std::vector<uint8_t> rgb;
    for (uint32_t i = 0; i < width * height; ++i) {
        rgb.insert(rgb.end(), {r, g, b});
    }
    return WriteTiff(path, width, height, 3, rgb);
}

// The bytes of a little-endian grey TIFF with the given tags and `dataBytes` bytes of pixel
// data, as one strip. Lets a test claim any size or sample depth, whatever the data holds.
inline std::string GreyTiffBytes(uint32_t width, uint32_t height, uint16_t bitsPerSample,
                                 uint32_t dataBytes) {
    std::string bytes("II*\0\x08\0\0\0", 8);
    auto put16 = [&bytes](uint16_t v) {
        bytes += static_cast<char>(v & 0xFF);
        bytes += static_cast<char>(v >> 8);
    };
    auto put32 = [&bytes, &put16](uint32_t v) {
        put16(static_cast<uint16_t>(v & 0xFFFF));
        put16(static_cast<uint16_t>(v >> 16));
    };
    const uint16_t entries = 9;
    const uint32_t dataOffset = 8 + 2 + entries * 12 + 4;
    auto entry = [&](uint16_t tag, uint16_t type, uint32_t value) {
        put16(tag);
        put16(type);
        put32(1);
        if (type == 3) {
            put16(static_cast<uint16_t>(value));
            put16(0);
        } else {
            put32(value);
        }
    };
    put16(entries);
    entry(256, 4, width);         // ImageWidth, LONG
    entry(257, 4, height);        // ImageLength
    entry(258, 3, bitsPerSample); // BitsPerSample, SHORT
    entry(259, 3, 1);             // Compression: none
    entry(262, 3, 1);             // Photometric: min-is-black
    entry(273, 4, dataOffset);    // StripOffsets
    entry(277, 3, 1);             // SamplesPerPixel
    entry(278, 4, height);        // RowsPerStrip
    entry(279, 4, dataBytes);     // StripByteCounts
    put32(0);                     // no further directory
    bytes.append(dataBytes, '\x80');
    return bytes;
}
