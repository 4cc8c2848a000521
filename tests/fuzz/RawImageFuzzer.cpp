// Feeds arbitrary bytes, as a file, to the raw image reader: the file's first 65,536 bytes
// land at the front of the shared buffer, the rest of the buffer keeps the previous image,
// and bytes beyond the image are ignored.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include <unistd.h>

#include "texture/Texture.h"

namespace {
std::string g_path;
unsigned char g_previous[kRawImageBytes];

bool WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* tmp = std::getenv("TMPDIR");
    g_path = std::string(tmp && tmp[0] ? tmp : "/tmp") + "/kestrun-fuzz-raw-" +
             std::to_string(getpid()) + ".raw";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::cout.setstate(std::ios::badbit);
    if (!WriteFile(g_path, data, size)) {
        std::abort();
    }
    std::memcpy(g_previous, g_rawImageBuffer, sizeof g_previous);
    Texture texture;
    if (!texture.ReadRawImage(g_path.c_str())) {
        std::abort();  // the file is there
    }
    std::remove(g_path.c_str());
    const size_t used = size < sizeof g_previous ? size : sizeof g_previous;
    if (std::memcmp(g_rawImageBuffer, data, used) != 0 ||
        std::memcmp(g_rawImageBuffer + used, g_previous + used, sizeof g_previous - used) != 0) {
        std::abort();
    }
    if (texture._pixels != nullptr || texture._imageWidth != 0 || texture.GetId() != 0) {
        std::abort();  // a raw image never changes the texture itself
    }
    return 0;
}
