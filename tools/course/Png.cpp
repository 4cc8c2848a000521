#include "Png.h"

#include <filesystem>

#include <png.h>

namespace {
std::string LibpngReason(const png_image& image) {
    return "libpng: " +
           (image.message[0] != '\0' ? std::string(image.message) : std::string("unknown error"));
}
}  // namespace

bool ReadPng(const std::string& path, Picture& picture, std::string& error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        std::error_code sizeError;
        const bool empty = std::filesystem::file_size(path, sizeError) == 0 && !sizeError;
        error = "not a PNG picture that can be read (" +
                (empty ? std::string("an empty file") : LibpngReason(image)) + ")";
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
