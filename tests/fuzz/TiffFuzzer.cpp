// Feeds arbitrary bytes to the TIFF decoding of the texture loader, through the same
// libtiff RGBA interface the game uses on its files, read from memory.
//
// A header of a few bytes can declare an image of billions of pixels; the loader then asks for
// the whole raster (and libtiff for a whole strip) before it finds the data missing. That is
// memory, not a fault, so such images are skipped here before decoding, as libtiff's own
// fuzzing does: the budget is far above any texture the game ships.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <tiffio.h>

#include "texture/TiffDecode.h"

namespace {
constexpr uint64_t kPixelBudget = 16u << 20;     // 16 M pixels: a 64 MB raster
constexpr uint64_t kStripBudget = 64u << 20;     // bytes libtiff may read as one strip or tile

// True when decoding the handle's image stays within the budgets above.
bool WithinBudget(TIFF* tiff) {
    uint32_t width = 0;
    uint32_t height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    const uint64_t work = TIFFIsTiled(tiff) ? TIFFTileSize64(tiff) : TIFFStripSize64(tiff);
    return static_cast<uint64_t>(width) * height <= kPixelBudget && work <= kStripBudget;
}

// libtiff's reports about broken files are expected by the thousand; keep them off the log.
void Quiet(const char*, const char*, va_list) {}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    TIFFSetErrorHandler(Quiet);
    TIFFSetWarningHandler(Quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TIFF* tiff = OpenTiffMemory(data, size, "fuzz");
    if (tiff == nullptr) {
        return 0;
    }
    if (!WithinBudget(tiff)) {
        TIFFClose(tiff);
        return 0;
    }
    uint32_t width = 0;
    uint32_t height = 0;
    unsigned char* pixels = DecodeTiff(tiff, "fuzz", width, height);
    TIFFClose(tiff);
    if (pixels != nullptr) {
        const size_t bytes = RgbaBufferSize(width, height);
        if (bytes == 0) {
            std::abort();  // pixels of an image that has no size
        }
        // Touch the first and the last pixel: the buffer holds the whole image.
        volatile unsigned char first = pixels[0];
        volatile unsigned char last = pixels[bytes - 1];
        (void)first;
        (void)last;
    }
    delete[] pixels;
    return 0;
}
