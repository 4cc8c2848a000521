#include "Canvas.h"

#include <fstream>
#include <iostream>

#include <png.h>
#include <tiffio.h>

Canvas::Canvas(int32_t width_, int32_t height_)
    : width(width_), height(height_), rgba(static_cast<size_t>(width_) * height_ * 4, 0) {}

uint8_t ToByte(double v) { return static_cast<uint8_t>(Clamp(v, 0.0, 1.0) * 255.0 + 0.5); }

void Canvas::Set(int32_t s, int32_t t, Rgb colour, double alpha) {
    uint8_t* pixel = &rgba[(static_cast<size_t>(t) * width + s) * 4];
    pixel[0] = ToByte(colour.r);
    pixel[1] = ToByte(colour.g);
    pixel[2] = ToByte(colour.b);
    pixel[3] = ToByte(alpha);
}

const uint8_t* Canvas::Pixel(int32_t s, int32_t t) const {
    return &rgba[(static_cast<size_t>(t) * width + s) * 4];
}

bool WriteTiff(const Canvas& canvas, const std::string& path, bool alpha) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (!tiff) {
        std::cout << "kestrun-assets: cannot write " << path << std::endl;
        return false;
    }
    const uint16_t samples = alpha ? 4 : 3;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(canvas.width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(canvas.height));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(canvas.height));
    if (alpha) {
        const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    std::vector<uint8_t> row(static_cast<size_t>(canvas.width) * samples);
    bool ok = true;
    for (int32_t line = 0; line < canvas.height && ok; ++line) {
        const int32_t t = canvas.height - 1 - line;  // the file's first row is the top
        for (int32_t s = 0; s < canvas.width; ++s) {
            for (uint16_t c = 0; c < samples; ++c) {
                row[static_cast<size_t>(s) * samples + c] = canvas.Pixel(s, t)[c];
            }
        }
        ok = TIFFWriteScanline(tiff, row.data(), static_cast<uint32_t>(line), 0) == 1;
    }
    TIFFClose(tiff);
    if (!ok) {
        std::cout << "kestrun-assets: cannot write " << path << std::endl;
    }
    return ok;
}

bool WriteRaw(const Canvas& canvas, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(canvas.rgba.data()),
              static_cast<std::streamsize>(canvas.rgba.size()));
    out.close();
    if (!out) {
        std::cout << "kestrun-assets: cannot write " << path << std::endl;
        return false;
    }
    return true;
}

bool WritePng(const Canvas& canvas, const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(canvas.width);
    image.height = static_cast<png_uint_32>(canvas.height);
    image.format = PNG_FORMAT_RGBA;
    // A negative stride hands libpng the rows bottom row first, as the canvas keeps them.
    const png_int_32 stride = -static_cast<png_int_32>(PNG_IMAGE_ROW_STRIDE(image));
    const bool ok =
        png_image_write_to_file(&image, path.c_str(), 0, canvas.rgba.data(), stride, nullptr) != 0;
    if (!ok) {
        std::cout << "kestrun-assets: cannot write " << path << ": " << image.message << std::endl;
    }
    return ok;
}
