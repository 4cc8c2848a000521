// Decodes a TIFF image into RGBA pixels, bottom row first, through libtiff's RGBA image
// interface. Works on a handle that is already open, so the same code reads files and memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include <tiffio.h>

// The most pixels one image may have: the decoder addresses the raster with 32-bit offsets.
constexpr uint64_t kMaxTiffPixels = UINT32_MAX;

// Bytes of an RGBA buffer for a width x height image, or 0 when it is empty or larger than
// kMaxTiffPixels (too large to hold).
size_t RgbaBufferSize(uint32_t width, uint32_t height);

// Decodes the current image of an open handle. Returns a buffer of width x height x 4 bytes
// (red, green, blue, alpha; bottom row first), allocated with new[], or null on failure, which
// libtiff's error handler has reported under `module`. Does not close the handle.
unsigned char* DecodeTiff(TIFF* tiff, const char* module, uint32_t& width, uint32_t& height);

// Opens a TIFF held in memory (the bytes must outlive the handle); null when it is not one.
TIFF* OpenTiffMemory(const unsigned char* data, size_t size, const char* name);

// DecodeTiff on a TIFF held in memory.
unsigned char* DecodeTiffMemory(const unsigned char* data, size_t size, const char* name,
                                uint32_t& width, uint32_t& height);
