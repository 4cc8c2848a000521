#include "TiffLayouts.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

const std::vector<TiffLayout> kTiffLayouts = {
    {"grey_1bit_miniswhite", PHOTOMETRIC_MINISWHITE, 1, COMPRESSION_NONE},
    {"grey_1bit_ccitt_g4", PHOTOMETRIC_MINISWHITE, 1, COMPRESSION_CCITTFAX4},
    {"grey_8bit", PHOTOMETRIC_MINISBLACK, 8, COMPRESSION_NONE},
    {"grey_8bit_jpeg", PHOTOMETRIC_MINISBLACK, 8, COMPRESSION_JPEG, kContigStrips, 37, 21, 4},
    {"grey_16bit_lzw", PHOTOMETRIC_MINISBLACK, 16, COMPRESSION_LZW},
    {"grey_16bit_big_endian", PHOTOMETRIC_MINISBLACK, 16, COMPRESSION_NONE, kBigEndian},
    {"grey_alpha_8bit_deflate", PHOTOMETRIC_MINISBLACK, 8, COMPRESSION_ADOBE_DEFLATE, kAlpha},
    {"palette_1bit", PHOTOMETRIC_PALETTE, 1, COMPRESSION_NONE},
    {"palette_4bit_packbits", PHOTOMETRIC_PALETTE, 4, COMPRESSION_PACKBITS},
    {"palette_8bit_lzw", PHOTOMETRIC_PALETTE, 8, COMPRESSION_LZW},
    {"rgb_8bit", PHOTOMETRIC_RGB, 8, COMPRESSION_NONE},
    {"rgb_8bit_lzw_predictor", PHOTOMETRIC_RGB, 8, COMPRESSION_LZW, kPredictor},
    {"rgb_8bit_planes_lzw", PHOTOMETRIC_RGB, 8, COMPRESSION_LZW, kPlanes},
    {"rgb_8bit_tiles", PHOTOMETRIC_RGB, 8, COMPRESSION_NONE, kTiles},
    {"rgb_8bit_bottom_up", PHOTOMETRIC_RGB, 8, COMPRESSION_NONE, kBottomUp},
    {"rgb_8bit_bigtiff_deflate", PHOTOMETRIC_RGB, 8, COMPRESSION_ADOBE_DEFLATE, kBigTiff},
    {"rgb_8bit_jpeg", PHOTOMETRIC_RGB, 8, COMPRESSION_JPEG, kContigStrips, 37, 21, 4},
    {"ycbcr_8bit_jpeg", PHOTOMETRIC_YCBCR, 8, COMPRESSION_JPEG, kContigStrips, 37, 21, 20},
    {"ycbcr_8bit_jpeg_tiles", PHOTOMETRIC_YCBCR, 8, COMPRESSION_JPEG, kTiles, 37, 21, 20},
    {"rgb_16bit_deflate", PHOTOMETRIC_RGB, 16, COMPRESSION_ADOBE_DEFLATE},
    {"rgba_8bit_packbits", PHOTOMETRIC_RGB, 8, COMPRESSION_PACKBITS, kAlpha},
    {"rgba_16bit_big_endian", PHOTOMETRIC_RGB, 16, COMPRESSION_NONE, kAlpha | kBigEndian},
    {"cmyk_8bit", PHOTOMETRIC_SEPARATED, 8, COMPRESSION_NONE},
    {"rgb_1x1", PHOTOMETRIC_RGB, 8, COMPRESSION_NONE, kContigStrips, 1, 1},
    {"rgb_5000x2_lzw", PHOTOMETRIC_RGB, 8, COMPRESSION_LZW, kContigStrips, 5000, 2},
    {"logluv_grey", PHOTOMETRIC_LOGLUV, 32, COMPRESSION_SGILOG, kFloat, 37, 21, 3},
};

const std::vector<TiffLayout> kRefusedTiffLayouts = {
    {"cmyk_16bit", PHOTOMETRIC_SEPARATED, 16, COMPRESSION_NONE},
    {"grey_32bit_float", PHOTOMETRIC_MINISBLACK, 32, COMPRESSION_NONE, kFloat},
};

namespace {
constexpr uint32_t kBlock = 16; // rows per strip and tile side; a multiple of JPEG's blocks

bool IsGrey(const TiffLayout& layout) {
    return layout.photometric == PHOTOMETRIC_MINISBLACK ||
           layout.photometric == PHOTOMETRIC_MINISWHITE;
}

// The CIE XYZ sample (as float bits) of a LogLuv grey that libtiff decodes to `grey`: its
// colour matrix keeps X = Y = Z grey, and its gamma is 2 with truncation to 256 levels.
uint32_t LogLuvSample(uint8_t grey) {
    const float level = (grey + 0.5f) / 256.0f;
    const float linear = level * level;
    uint32_t bits = 0;
    std::memcpy(&bits, &linear, sizeof bits);
    return bits;
}

uint16_t Samples(const TiffLayout& layout) {
    const uint16_t colours = IsGrey(layout) || layout.photometric == PHOTOMETRIC_PALETTE ? 1
                             : layout.photometric == PHOTOMETRIC_SEPARATED               ? 4
                                                                                         : 3;
    return colours + ((layout.storage & kAlpha) ? 1 : 0);
}

// Palette entries are spread evenly over red, so the index of a colour is its red / step.
uint32_t PaletteStep(const TiffLayout& layout) {
    return 255 / ((1u << layout.bitsPerSample) - 1);
}

void PaletteColour(const TiffLayout& layout, uint32_t index, uint8_t* rgb) {
    const uint32_t red = index * PaletteStep(layout);
    rgb[0] = static_cast<uint8_t>(red);
    rgb[1] = static_cast<uint8_t>(255 - red);
    rgb[2] = static_cast<uint8_t>(red * 5 + 40);
}

// One sample of value 0..255 at the layout's depth; 1- and 4-bit samples keep the top bits.
uint32_t Scaled(const TiffLayout& layout, uint32_t value) {
    switch (layout.bitsPerSample) {
    case 1:
    case 4:
        return value >> (8 - layout.bitsPerSample);
    case 16:
        return value * 257;
    case 32:
        if (layout.storage & kFloat) {
            const float real = static_cast<float>(value) / 255.0f;
            uint32_t bits = 0;
            std::memcpy(&bits, &real, sizeof bits);
            return bits;
        }
        return value * 0x01010101u;
    default:
        return value;
    }
}

// The samples one RGBA pixel is stored as, in file order.
std::vector<uint32_t> StoredSamples(const TiffLayout& layout, const uint8_t* rgba) {
    std::vector<uint32_t> samples;
    switch (layout.photometric) {
    case PHOTOMETRIC_MINISBLACK:
        samples = {Scaled(layout, rgba[0])};
        break;
    case PHOTOMETRIC_MINISWHITE:
        samples = {Scaled(layout, 255u - rgba[0])};
        break;
    case PHOTOMETRIC_PALETTE:
        samples = {rgba[0] / PaletteStep(layout)};
        break;
    case PHOTOMETRIC_LOGLUV:
        samples = {LogLuvSample(rgba[0]), LogLuvSample(rgba[0]), LogLuvSample(rgba[0])};
        break;
    case PHOTOMETRIC_SEPARATED: // cyan, magenta, yellow, no black
        samples = {Scaled(layout, 255u - rgba[0]), Scaled(layout, 255u - rgba[1]),
                   Scaled(layout, 255u - rgba[2]), 0};
        break;
    default: // RGB, and YCbCr that the JPEG codec converts from RGB
        samples = {Scaled(layout, rgba[0]), Scaled(layout, rgba[1]), Scaled(layout, rgba[2])};
    }
    if (layout.storage & kAlpha) {
        samples.push_back(Scaled(layout, rgba[3]));
    }
    return samples;
}

// Appends one sample at `bit` of a row: below 8 bits packed from the high bit down, wider
// samples in the machine's byte order (libtiff swaps them for big-endian files).
void PutSample(std::vector<uint8_t>& row, size_t& bit, uint32_t sample, uint16_t bits) {
    uint8_t* at = row.data() + bit / 8;
    if (bits < 8) {
        *at |= static_cast<uint8_t>(sample << (8 - bits - bit % 8));
    } else if (bits == 8) {
        *at = static_cast<uint8_t>(sample);
    } else if (bits == 16) {
        const uint16_t wide = static_cast<uint16_t>(sample);
        std::memcpy(at, &wide, sizeof wide);
    } else {
        std::memcpy(at, &sample, sizeof sample);
    }
    bit += bits;
}

// The stored rows of each plane (one plane unless the samples are stored apart), in file
// row order.
std::vector<std::vector<std::vector<uint8_t>>> StoredPlanes(const TiffLayout& layout,
                                                            const std::vector<uint8_t>& rgba) {
    const uint16_t samples = Samples(layout);
    const uint16_t planes = (layout.storage & kPlanes) ? samples : 1;
    const size_t rowBytes =
        (static_cast<size_t>(layout.width) * layout.bitsPerSample * (samples / planes) + 7) / 8;
    std::vector<std::vector<std::vector<uint8_t>>> stored(
        planes, std::vector<std::vector<uint8_t>>(layout.height, std::vector<uint8_t>(rowBytes)));
    for (uint32_t row = 0; row < layout.height; ++row) {
        const uint32_t y = (layout.storage & kBottomUp) ? layout.height - 1 - row : row;
        std::vector<size_t> bits(planes, 0);
        for (uint32_t x = 0; x < layout.width; ++x) {
            const std::vector<uint32_t> pixel =
                StoredSamples(layout, &rgba[(static_cast<size_t>(y) * layout.width + x) * 4]);
            for (uint16_t s = 0; s < samples; ++s) {
                const uint16_t plane = planes == 1 ? 0 : s;
                PutSample(stored[plane][row], bits[plane], pixel[s], layout.bitsPerSample);
            }
        }
    }
    return stored;
}

void SetTags(TIFF* tiff, const TiffLayout& layout) {
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, layout.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, layout.height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, layout.bitsPerSample);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, Samples(layout));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, layout.photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG,
                 (layout.storage & kPlanes) ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, layout.compression);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION,
                 (layout.storage & kBottomUp) ? ORIENTATION_BOTLEFT : ORIENTATION_TOPLEFT);
    if (layout.storage & kTiles) {
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, kBlock);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, kBlock);
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, kBlock);
    }
    if (layout.storage & kAlpha) {
        const uint16_t kind = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &kind);
    }
    if (layout.storage & kPredictor) {
        TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    }
    if (layout.storage & kFloat) {
        TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP);
    }
    if (layout.photometric == PHOTOMETRIC_SEPARATED) {
        TIFFSetField(tiff, TIFFTAG_INKSET, INKSET_CMYK);
    }
    if (layout.photometric == PHOTOMETRIC_PALETTE) {
        std::vector<uint16_t> map[3];
        for (uint32_t index = 0; index < (1u << layout.bitsPerSample); ++index) {
            uint8_t rgb[3];
            PaletteColour(layout, index, rgb);
            for (int c = 0; c < 3; ++c) {
                map[c].push_back(static_cast<uint16_t>(rgb[c] * 257)); // 16-bit entries
            }
        }
        TIFFSetField(tiff, TIFFTAG_COLORMAP, map[0].data(), map[1].data(), map[2].data());
    }
    if (layout.compression == COMPRESSION_SGILOG) {
        TIFFSetField(tiff, TIFFTAG_SGILOGDATAFMT, SGILOGDATAFMT_FLOAT); // we hand it XYZ
    }
    if (layout.compression == COMPRESSION_JPEG) {
        TIFFSetField(tiff, TIFFTAG_JPEGQUALITY, 90);
        if (layout.photometric == PHOTOMETRIC_YCBCR) {
            TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB); // we hand it RGB
        }
    }
}

// Writes the stored rows as strips of kBlock rows, or as kBlock x kBlock tiles.
bool WriteBlocks(TIFF* tiff, const TiffLayout& layout,
                 const std::vector<std::vector<std::vector<uint8_t>>>& planes) {
    for (uint16_t plane = 0; plane < planes.size(); ++plane) {
        const std::vector<std::vector<uint8_t>>& rows = planes[plane];
        const size_t rowBytes = rows[0].size();
        for (uint32_t y = 0; y < layout.height; y += kBlock) {
            const uint32_t count = std::min(kBlock, layout.height - y);
            if (!(layout.storage & kTiles)) {
                std::vector<uint8_t> strip;
                for (uint32_t r = 0; r < count; ++r) {
                    strip.insert(strip.end(), rows[y + r].begin(), rows[y + r].end());
                }
                if (TIFFWriteEncodedStrip(tiff, TIFFComputeStrip(tiff, y, plane), strip.data(),
                                          static_cast<tmsize_t>(strip.size())) < 0) {
                    return false;
                }
                continue;
            }
            // Tiles hold whole bytes per pixel. Past the picture's edge they repeat its last
            // column and row, as encoders do, so that JPEG blocks stay smooth.
            const size_t pixelBytes = rowBytes / layout.width;
            for (uint32_t x = 0; x < layout.width; x += kBlock) {
                std::vector<uint8_t> tile;
                for (uint32_t r = 0; r < kBlock; ++r) {
                    const std::vector<uint8_t>& row = rows[std::min(y + r, layout.height - 1)];
                    for (uint32_t c = 0; c < kBlock; ++c) {
                        const size_t at = std::min(x + c, layout.width - 1) * pixelBytes;
                        tile.insert(tile.end(), &row[at], &row[at] + pixelBytes);
                    }
                }
                if (TIFFWriteEncodedTile(tiff, TIFFComputeTile(tiff, x, y, 0, plane), tile.data(),
                                         static_cast<tmsize_t>(tile.size())) < 0) {
                    return false;
                }
            }
        }
    }
    return true;
}
}  // namespace

const TiffLayout& TiffLayoutNamed(const std::string& name) {
    for (const std::vector<TiffLayout>* list : {&kTiffLayouts, &kRefusedTiffLayouts}) {
        for (const TiffLayout& layout : *list) {
            if (name == layout.name) {
                return layout;
            }
        }
    }
    throw std::invalid_argument("no TIFF layout named " + name);
}

std::vector<uint8_t> TiffLayoutPicture(const TiffLayout& layout) {
    const uint32_t w = layout.width;
    const uint32_t h = layout.height;
    std::vector<uint8_t> rgba;
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            // Smooth ramps (kind to JPEG) that tell left from right and top from bottom.
            const uint32_t across = x * 255 / std::max(w - 1, 1u);
            const uint32_t down = y * 255 / std::max(h - 1, 1u);
            uint8_t pixel[4] = {static_cast<uint8_t>(across), static_cast<uint8_t>(down),
                                static_cast<uint8_t>(255 - (across + down) / 2), 255};
            if (IsGrey(layout) || layout.photometric == PHOTOMETRIC_LOGLUV) {
                const bool bilevel = layout.bitsPerSample == 1;
                const uint32_t grey =
                    bilevel ? ((x * 7 + y * y * 3) % 11 < 5 ? 255 : 0) : (2 * across + down) / 3;
                std::fill(pixel, pixel + 3, static_cast<uint8_t>(grey));
            } else if (layout.photometric == PHOTOMETRIC_PALETTE) {
                PaletteColour(layout, (x + 3 * y) % (1u << layout.bitsPerSample), pixel);
            }
            if ((layout.storage & kAlpha) && (x + 2 * y) % 5 == 0) {
                std::fill(pixel, pixel + 4, 0); // see-through, and black as libtiff premultiplies
            }
            rgba.insert(rgba.end(), pixel, pixel + 4);
        }
    }
    return rgba;
}

bool WriteTiffLayout(const std::string& path, const TiffLayout& layout,
                     const std::vector<uint8_t>& rgba) {
    const char* mode = (layout.storage & kBigTiff)     ? "w8"
                       : (layout.storage & kBigEndian) ? "wb"
                                                       : "w";
    TIFF* tiff = TIFFOpen(path.c_str(), mode);
    if (!tiff) {
        return false;
    }
    SetTags(tiff, layout);
    const bool ok =
        WriteBlocks(tiff, layout, StoredPlanes(layout, rgba)) && TIFFWriteDirectory(tiff) == 1;
    TIFFClose(tiff);
    return ok;
}

std::string WriteTiffLayoutFile(const std::string& folder, const TiffLayout& layout) {
    const std::string path = folder + "/" + layout.name + ".tif";
    return WriteTiffLayout(path, layout, TiffLayoutPicture(layout)) ? path : "";
}
