// TIFF files of many layouts, written through libtiff's own writing interface, for the texture
// tests and the seeds of the TIFF fuzzer. Each layout stores a known picture, so a test can
// compare what the texture loader decodes with what was written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <tiffio.h>

// How a layout stores its samples, beyond the photometric, depth and compression.
enum TiffStorage : unsigned {
    kContigStrips = 0, // samples of a pixel together, strips of 16 rows
    kAlpha = 1,        // one more sample: unassociated alpha
    kPlanes = 2,       // planar configuration separate: one plane per sample
    kTiles = 4,        // tiles of 16 x 16 pixels (depths of 8 bits and more)
    kBottomUp = 8,     // orientation bottom-left: the first stored row is the picture's bottom
    kBigEndian = 16,   // big-endian ("MM") byte order
    kBigTiff = 32,     // BigTIFF: 64-bit offsets
    kPredictor = 64,   // horizontal differencing before the compression
    kFloat = 128,      // IEEE floating-point samples
};

struct TiffLayout {
    const char* name; // file name without ".tif"; also the name of its test
    uint16_t photometric;
    uint16_t bitsPerSample;
    uint16_t compression;
    unsigned storage = kContigStrips;
    uint32_t width = 37; // not a multiple of the strip, tile or JPEG block size
    uint32_t height = 21;
    int tolerance = 0; // largest difference per channel the compression may make (JPEG)
};

// Layouts that the texture loader decodes, and layouts that it refuses (16-bit CMYK, 32-bit
// floating point).
extern const std::vector<TiffLayout> kTiffLayouts;
extern const std::vector<TiffLayout> kRefusedTiffLayouts;

// The layout of either list with this name; fails the calling test when there is none.
const TiffLayout& TiffLayoutNamed(const std::string& name);

// The picture a layout stores, as RGBA bytes, top row first: exactly what decoding the file
// gives (within the layout's tolerance) once its rows are put bottom row first. Grey and LogLuv
// layouts have red = green = blue; pixels with alpha 0 are black.
std::vector<uint8_t> TiffLayoutPicture(const TiffLayout& layout);

// Writes `rgba` (top row first; the layout's size) in the layout. Grey layouts store the red
// channel; palette layouts need colours of the layout's palette (as in its picture).
bool WriteTiffLayout(const std::string& path, const TiffLayout& layout,
                     const std::vector<uint8_t>& rgba);

// Writes the layout's own picture to FOLDER/NAME.tif and returns the path ("" on failure).
std::string WriteTiffLayoutFile(const std::string& folder, const TiffLayout& layout);
