// Errors here never stop the game: a TIFF that cannot be decoded yields no pixels, and libtiff's
// default handlers have already written the reason to standard error.
#include "texture/TiffDecode.h"

#include <algorithm>
#include <cstring>
#include <new>

size_t RgbaBufferSize(uint32_t width, uint32_t height) {
    const uint64_t pixels = static_cast<uint64_t>(width) * height; // cannot overflow 64 bits
    if (pixels == 0 || pixels > kMaxTiffPixels || pixels > SIZE_MAX / 4) {
        return 0;
    }
    return static_cast<size_t>(pixels) * 4;
}

unsigned char* DecodeTiff(TIFF* tiff, const char* module, uint32_t& width, uint32_t& height) {
    TIFFRGBAImage image;
    char message[1024] = {};
    if (!TIFFRGBAImageBegin(&image, tiff, 0, message)) {
        TIFFError(module, "%s", message);
        return nullptr;
    }
    const size_t bytes = RgbaBufferSize(image.width, image.height);
    unsigned char* pixels = bytes ? new (std::nothrow) unsigned char[bytes] : nullptr;
    if (!pixels) {
        TIFFError(module, "image of %u x %u pixels is too large to load", image.width,
                  image.height);
    } else if (!TIFFRGBAImageGet(&image, reinterpret_cast<uint32_t*>(pixels), image.width,
                                 image.height)) {
        TIFFError(module, "%s", "cannot decode the image data");
        delete[] pixels;
        pixels = nullptr;
    }
    width = image.width;
    height = image.height;
    TIFFRGBAImageEnd(&image);
    return pixels;
}

namespace {
// A TIFF held in memory, read through libtiff's client interface.
struct MemoryFile {
    const unsigned char* data;
    toff_t size;
    toff_t position;
};

tmsize_t ReadMemory(thandle_t handle, void* buffer, tmsize_t count) {
    MemoryFile& file = *static_cast<MemoryFile*>(handle);
    if (count <= 0 || file.position >= file.size) {
        return 0;
    }
    const toff_t available = file.size - file.position;
    const toff_t n = std::min<toff_t>(available, static_cast<toff_t>(count));
    std::memcpy(buffer, file.data + file.position, n);
    file.position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t WriteMemory(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t SeekMemory(thandle_t handle, toff_t offset, int whence) {
    MemoryFile& file = *static_cast<MemoryFile*>(handle);
    // As with lseek, the offset is signed; offsets come from the file and may be anything,
    // so a position before the start or past 2^63 is refused instead of taken.
    const int64_t delta = static_cast<int64_t>(offset);
    int64_t base = 0;
    if (whence == SEEK_CUR) {
        base = static_cast<int64_t>(file.position);
    } else if (whence == SEEK_END) {
        base = static_cast<int64_t>(file.size);
    }
    if ((delta < 0 && base + delta < 0) || (delta > 0 && delta > INT64_MAX - base)) {
        return static_cast<toff_t>(-1);
    }
    file.position = static_cast<toff_t>(base + delta);
    return file.position;
}

int CloseMemory(thandle_t handle) {
    delete static_cast<MemoryFile*>(handle);
    return 0;
}

toff_t SizeMemory(thandle_t handle) {
    return static_cast<MemoryFile*>(handle)->size;
}

// The bytes are handed over as they are, the way the system maps a file the game opens: libtiff
// then takes the same reading paths for memory as for the game's files, and checks every bound
// against the size itself. (Unmapped, libtiff 4.5 refuses uncompressed tiles whose size is not
// a multiple of 1024 bytes, which it reads from a mapped file.)
int MapMemory(thandle_t handle, void** base, toff_t* size) {
    MemoryFile& file = *static_cast<MemoryFile*>(handle);
    *base = const_cast<unsigned char*>(file.data);
    *size = file.size;
    return 1;
}

void UnmapMemory(thandle_t, void*, toff_t) {}
}  // namespace

TIFF* OpenTiffMemory(const unsigned char* data, size_t size, const char* name) {
    MemoryFile* file = new (std::nothrow) MemoryFile{data, size, 0};
    if (!file) {
        return nullptr;
    }
    TIFF* tiff = TIFFClientOpen(name, "r", file, ReadMemory, WriteMemory, SeekMemory, CloseMemory,
                                SizeMemory, MapMemory, UnmapMemory);
    if (!tiff) {
        delete file; // libtiff closes the client handle only once the open has succeeded
    }
    return tiff;
}

unsigned char* DecodeTiffMemory(const unsigned char* data, size_t size, const char* name,
                                uint32_t& width, uint32_t& height) {
    TIFF* tiff = OpenTiffMemory(data, size, name);
    if (!tiff) {
        return nullptr;
    }
    unsigned char* pixels = DecodeTiff(tiff, name, width, height);
    TIFFClose(tiff);
    return pixels;
}
