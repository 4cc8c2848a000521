#include "Png.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include <png.h>

namespace {
std::string LibpngReason(const png_image& image) {
    return "libpng: " +
           (image.message[0] != '\0' ? std::string(image.message) : std::string("unknown error"));
}

// The kind of picture a file holds by its first bytes, for a file that is no PNG: "a JPEG
// picture" and the like, or empty when it looks like no picture the tool knows.
std::string OtherPictureKind(const std::string& path) {
    char head[12] = {};
    std::ifstream in(path, std::ios::binary);
    in.read(head, sizeof head);
    const auto starts = [&head](const char* magic, size_t length, size_t at = 0) {
        return std::memcmp(head + at, magic, length) == 0;
    };
    if (starts("\xff\xd8\xff", 3)) return "a JPEG picture";
    if (starts("GIF87a", 6) || starts("GIF89a", 6)) return "a GIF picture";
    if (starts("BM", 2)) return "a BMP picture";
    if (starts("II*\0", 4) || starts("MM\0*", 4)) return "a TIFF picture";
    if (starts("RIFF", 4) && starts("WEBP", 4, 8)) return "a WebP picture";
    return "";
}
}  // namespace

bool ReadPng(const std::string& path, Picture& picture, std::string& error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        std::error_code sizeError;
        const bool empty = std::filesystem::file_size(path, sizeError) == 0 && !sizeError;
        const std::string kind = empty ? "" : OtherPictureKind(path);
        error = "not a PNG picture that can be read (" +
                (empty ? std::string("an empty file")
                 : kind.empty() ? LibpngReason(image)
                                : "it is " + kind + "; save it as PNG, for example with an image "
                                  "editor's Save As or Export, and give the tool the .png") +
                ")";
        png_image_free(&image);
        return false;
    }
    if (image.width > kMostPixelsASide || image.height > kMostPixelsASide ||
        uint64_t{image.width} * image.height > kMostPixels) {
        error = "the picture is " + std::to_string(image.width) + " x " +
                std::to_string(image.height) + " pixels; the tool takes at most " +
                std::to_string(kMostPixelsASide) + " a side and " +
                std::to_string(kMostPixels / 1000000) + " million in all";
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    Picture read(image.width, image.height);
    if (!png_image_finish_read(&image, nullptr, read.rgba.data(), 0, nullptr)) {
        error = "the PNG picture cannot be decoded (" + LibpngReason(image) + ")";
        png_image_free(&image);
        return false;
    }
    picture = std::move(read);
    return true;
}

bool WritePng(const std::string& path, const Picture& picture, std::string& error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = picture.width;
    image.height = picture.height;
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, picture.rgba.data(), 0, nullptr)) {
        error = LibpngReason(image);
        png_image_free(&image);
        return false;
    }
    return true;
}
