#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "TempDir.h"
#include "TiffTestFiles.h"
#include "texture/Texture.h"
#include "texture/TiffDecode.h"

// Test parameters print as their names.
void PrintTo(const TiffLayout& layout, std::ostream* out) {
    *out << layout.name;
}

namespace {
std::string Pixels(const Texture& texture) {
    return std::string(reinterpret_cast<const char*>(texture._pixels),
                       static_cast<size_t>(texture._imageWidth) * texture._imageHeight * 4);
}

std::string LoadedLines(const std::string& path, uint32_t width, uint32_t height) {
    return "loading TIFF texture: " + path + "\nTexture map (" + std::to_string(width) + " x " +
           std::to_string(height) + ") successfully loaded.\n";
}

// An RGB image whose every pixel differs from its neighbours, top row first.
std::vector<uint8_t> Gradient(uint32_t width, uint32_t height) {
    std::vector<uint8_t> rgb;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            rgb.insert(rgb.end(), {static_cast<uint8_t>(x * 16), static_cast<uint8_t>(y * 16),
                                   static_cast<uint8_t>(200 - x - y)});
        }
    }
    return rgb;
}

// The layout's picture as the loader should give it: bottom row first.
std::string BottomRowFirst(const TiffLayout& layout) {
    const std::vector<uint8_t> picture = TiffLayoutPicture(layout);
    const size_t rowBytes = static_cast<size_t>(layout.width) * 4;
    std::string rows;
    for (size_t y = layout.height; y-- > 0;) {
        rows.append(reinterpret_cast<const char*>(&picture[y * rowBytes]), rowBytes);
    }
    return rows;
}

// The first pixel of `decoded` with a channel further than `tolerance` from `expected`, or "".
std::string FirstDifference(const std::string& expected, const std::string& decoded, uint32_t width,
                            int tolerance) {
    for (size_t i = 0; i < expected.size() && i < decoded.size(); ++i) {
        if (std::abs(static_cast<uint8_t>(expected[i]) - static_cast<uint8_t>(decoded[i])) >
            tolerance) {
            return "pixel (" + std::to_string(i / 4 % width) + ", " +
                   std::to_string(i / 4 / width) + ") channel " + std::to_string(i % 4) +
                   ": expected " + std::to_string(static_cast<uint8_t>(expected[i])) +
                   ", decoded " + std::to_string(static_cast<uint8_t>(decoded[i]));
        }
    }
    return expected.size() == decoded.size() ? "" : "sizes differ";
}

// Each layout written to a scratch folder of its own.
class TiffLayoutLoad : public ::testing::TestWithParam<TiffLayout> {
protected:
    void SetUp() override {
        _path = WriteTiffLayoutFile(_dir.Path(), GetParam());
        ASSERT_NE("", _path);
    }

    TempDir _dir;
    std::string _path;
};
}  // namespace

// Every layout loads at its size, upright, with the pixels written: alpha 255 where the file has
// no alpha, and the file's own alpha (0 in places) where it has.
TEST_P(TiffLayoutLoad, LoadsAtItsSizeUprightWithItsPixels) {
    const TiffLayout& layout = GetParam();
    Texture texture;
    ConsoleCapture capture;
    ASSERT_TRUE(texture.LoadTiff(_path.c_str()));
    EXPECT_EQ(LoadedLines(_path, layout.width, layout.height), capture.Text());
    ASSERT_EQ(layout.width, texture._imageWidth);
    ASSERT_EQ(layout.height, texture._imageHeight);
    EXPECT_EQ("", FirstDifference(BottomRowFirst(layout), Pixels(texture), layout.width,
                                  layout.tolerance));
}

TEST_P(TiffLayoutLoad, MemoryGivesTheSamePixelsAsTheFile) {
    Texture texture;
    ConsoleCapture quiet;
    ASSERT_TRUE(texture.LoadTiff(_path.c_str()));
    const std::string bytes = ReadFileBytes(_path);
    uint32_t width = 0;
    uint32_t height = 0;
    unsigned char* pixels = DecodeTiffMemory(reinterpret_cast<const unsigned char*>(bytes.data()),
                                             bytes.size(), _path.c_str(), width, height);
    ASSERT_NE(nullptr, pixels);
    EXPECT_EQ(texture._imageWidth, width);
    EXPECT_EQ(texture._imageHeight, height);
    EXPECT_EQ(Pixels(texture), std::string(reinterpret_cast<char*>(pixels),
                                           static_cast<size_t>(width) * height * 4));
    delete[] pixels;
}

// Cut-off files either fail or decode within their own bounds (the sanitizers watch).
TEST_P(TiffLayoutLoad, TruncatedBytesAreHandledSafely) {
    const std::string bytes = ReadFileBytes(_path);
    ASSERT_FALSE(bytes.empty());
    for (size_t length : {size_t{0}, size_t{4}, size_t{8}, size_t{16}, size_t{200},
                          bytes.size() / 2, bytes.size() - 1}) {
        SCOPED_TRACE("cut at " + std::to_string(length));
        std::vector<unsigned char> cut(bytes.begin(),
                                       bytes.begin() + std::min(length, bytes.size()));
        uint32_t width = 0;
        uint32_t height = 0;
        unsigned char* pixels = DecodeTiffMemory(cut.data(), cut.size(), "cut", width, height);
        if (pixels) {
            EXPECT_GT(RgbaBufferSize(width, height), 0u);
        }
        delete[] pixels;
    }
}

INSTANTIATE_TEST_SUITE_P(Generated, TiffLayoutLoad, ::testing::ValuesIn(kTiffLayouts),
                         [](const ::testing::TestParamInfo<TiffLayout>& info) {
                             return std::string(info.param.name);
                         });

// The same picture stored top-down and bottom-up gives the same pixels: bottom row first.
TEST(Texture, BottomUpFileGivesTheSamePixelsAsTopDown) {
    TempDir dir;
    const uint32_t width = 5;
    const uint32_t height = 3;
    const std::vector<uint8_t> rgb = Gradient(width, height);
    const std::string topDown = dir.File("top-down.tif");
    const std::string bottomUp = dir.File("bottom-up.tif");
    ASSERT_TRUE(WriteTiff(topDown, width, height, 3, rgb, ORIENTATION_TOPLEFT));
    ASSERT_TRUE(WriteTiff(bottomUp, width, height, 3, rgb, ORIENTATION_BOTLEFT));
    ASSERT_NE(ReadFileBytes(topDown), ReadFileBytes(bottomUp));

    Texture fromTopDown;
    Texture fromBottomUp;
    ConsoleCapture quiet;
    ASSERT_TRUE(fromTopDown.LoadTiff(topDown.c_str()));
    ASSERT_TRUE(fromBottomUp.LoadTiff(bottomUp.c_str()));
    EXPECT_EQ(Pixels(fromTopDown), Pixels(fromBottomUp));
    // First in memory: the picture's bottom row, left to right.
    for (uint32_t x = 0; x < width; ++x) {
        const uint8_t* source = &rgb[((height - 1) * width + x) * 3];
        EXPECT_EQ(source[0], fromBottomUp._pixels[x * 4 + 0]);
        EXPECT_EQ(source[1], fromBottomUp._pixels[x * 4 + 1]);
        EXPECT_EQ(source[2], fromBottomUp._pixels[x * 4 + 2]);
    }
}

TEST(Texture, WideImageKeepsItsSize) {
    TempDir dir;
    const std::string path = dir.File("wide.tif");
    ASSERT_TRUE(WriteSolidTiff(path, 256, 128, 10, 20, 30));
    Texture texture;
    ConsoleCapture capture;
    ASSERT_TRUE(texture.LoadTiff(path.c_str()));
    EXPECT_EQ(LoadedLines(path, 256, 128), capture.Text());
    EXPECT_EQ(256u, texture._imageWidth);
    EXPECT_EQ(128u, texture._imageHeight);
    EXPECT_EQ(std::string("\x0A\x14\x1E\xFF", 4), Pixels(texture).substr(0, 4));
}

// A second load into a texture that holds an image: what it prints after the loading line,
// and whether the first image stays.
enum class Outcome { NotOpened, NotDecoded, Loaded };

struct SecondLoad {
    const char* name;
    std::string (*write)(const TempDir& dir); // returns the path of the file to load
    Outcome outcome;
    uint32_t claimedWidth; // the width in the file's tags, when libtiff can open it
};

void PrintTo(const SecondLoad& load, std::ostream* out) {
    *out << load.name;
}

std::string GeneratedFile(const TempDir& dir, const char* layout) {
    return WriteTiffLayoutFile(dir.Path(), TiffLayoutNamed(layout));
}

// Loads a first image, so that a failed second load can be seen to keep it.
class TextureFailure : public ::testing::TestWithParam<SecondLoad> {
protected:
    void SetUp() override {
        ConsoleCapture quiet;
        ASSERT_TRUE(_texture.LoadTiff(GeneratedFile(_dir, _first.name).c_str()));
        _before = Pixels(_texture);
        _beforePointer = _texture._pixels;
    }

    void ExpectFirstImageKept() {
        EXPECT_EQ(_beforePointer, _texture._pixels);
        EXPECT_EQ(_first.width, _texture._imageWidth);
        EXPECT_EQ(_first.height, _texture._imageHeight);
        EXPECT_EQ(_before, Pixels(_texture));
        EXPECT_EQ(0u, _texture.GetId());
    }

    const TiffLayout& _first = TiffLayoutNamed("palette_8bit_lzw");
    Texture _texture;
    std::string _before;
    unsigned char* _beforePointer = nullptr;
    TempDir _dir;
};

TEST_P(TextureFailure, SecondLoadReplacesTheImageOnlyWhenItDecodes) {
    const std::string path = GetParam().write(_dir);
    TiffTags tags;
    if (GetParam().claimedWidth != 0) {
        tags = ReadTiffTags(path);
        ASSERT_TRUE(tags.ok);
        ASSERT_EQ(GetParam().claimedWidth, tags.width);
    }
    ConsoleCapture capture;
    const bool loaded = _texture.LoadTiff(path.c_str());
    const std::string loading = "loading TIFF texture: " + path + "\n";
    switch (GetParam().outcome) {
    case Outcome::NotOpened:
        EXPECT_EQ(loading + "Error opening: " + path + "\n", capture.Text());
        break;
    case Outcome::NotDecoded:
        EXPECT_EQ(loading + "ERROR - unable to load texture.\n", capture.Text());
        break;
    case Outcome::Loaded:
        ASSERT_TRUE(loaded);
        EXPECT_EQ(LoadedLines(path, tags.width, tags.height), capture.Text());
        EXPECT_EQ(tags.width, _texture._imageWidth);
        EXPECT_EQ(tags.height, _texture._imageHeight);
        return;
    }
    EXPECT_FALSE(loaded);
    ExpectFirstImageKept();
}

INSTANTIATE_TEST_SUITE_P(
    , TextureFailure,
    ::testing::Values(
        SecondLoad{"MissingFile", [](const TempDir& dir) { return dir.File("missing.tif"); },
                   Outcome::NotOpened, 0},
        SecondLoad{"FileThatIsNoTiff",
                   [](const TempDir& dir) {
                       return dir.Write("text.tif", "this is a text file, not an image\n");
                   },
                   Outcome::NotOpened, 0},
        // libtiff writes the directory after the pixels: the first half has none.
        SecondLoad{"FirstHalfOfAFile",
                   [](const TempDir& dir) {
                       const std::string whole = ReadFileBytes(GeneratedFile(dir, "rgb_8bit"));
                       return dir.Write("half.tif", whole.substr(0, whole.size() / 2));
                   },
                   Outcome::NotOpened, 0},
        SecondLoad{"PixelsCutShort",
                   [](const TempDir& dir) {
                       const std::string whole = GreyTiffBytes(8, 8, 8, 64);
                       return dir.Write("short.tif", whole.substr(0, whole.size() - 32));
                   },
                   Outcome::NotDecoded, 8},
        SecondLoad{"LayoutTheDecoderRefuses",
                   [](const TempDir& dir) {
                       return dir.Write("five-bit.tif", GreyTiffBytes(4, 4, 5, 10));
                   },
                   Outcome::NotDecoded, 4},
        SecondLoad{"Cmyk16Bit", [](const TempDir& dir) { return GeneratedFile(dir, "cmyk_16bit"); },
                   Outcome::NotDecoded, 37},
        SecondLoad{"Float32Bit",
                   [](const TempDir& dir) { return GeneratedFile(dir, "grey_32bit_float"); },
                   Outcome::NotDecoded, 37},
        // 65536 x 65536 pixels would need 16 GiB and more pixels than the decoder can address.
        SecondLoad{"ImageTooLargeToHold",
                   [](const TempDir& dir) {
                       return dir.Write("huge.tif", GreyTiffBytes(65536, 65536, 8, 64));
                   },
                   Outcome::NotDecoded, 65536},
        SecondLoad{"ASecondGoodFileReplacesThePixels",
                   [](const TempDir& dir) { return GeneratedFile(dir, "rgb_5000x2_lzw"); },
                   Outcome::Loaded, 5000}),
    [](const ::testing::TestParamInfo<SecondLoad>& info) { return std::string(info.param.name); });

TEST(TiffDecode, BufferSizeRefusesOverflowAndEmptyImages) {
    EXPECT_EQ(4u, RgbaBufferSize(1, 1));
    EXPECT_EQ(157u * 151u * 4u, RgbaBufferSize(157, 151));
    EXPECT_EQ(0u, RgbaBufferSize(0, 5));
    EXPECT_EQ(0u, RgbaBufferSize(5, 0));
    EXPECT_EQ(static_cast<size_t>(UINT32_MAX) * 4, RgbaBufferSize(UINT32_MAX, 1));
    EXPECT_EQ(static_cast<size_t>(65535) * 65537 * 4, RgbaBufferSize(65535, 65537));
    EXPECT_EQ(0u, RgbaBufferSize(65536, 65536));
    EXPECT_EQ(0u, RgbaBufferSize(UINT32_MAX, UINT32_MAX));
    EXPECT_EQ(0u, RgbaBufferSize(UINT32_MAX, 2));
}

class RawImage : public ::testing::Test {
protected:
    void SetUp() override { std::memset(g_rawImageBuffer, 0, sizeof g_rawImageBuffer); }
    TempDir _dir;
};

TEST_F(RawImage, ShortFileKeepsThePreviousTail) {
    const std::string first(kRawImageBytes, '\x11');
    const std::string second(100, '\x22');
    Texture a;
    Texture b;
    ASSERT_TRUE(a.ReadRawImage(_dir.Write("bb0.raw", first).c_str()));
    ASSERT_TRUE(b.ReadRawImage(_dir.Write("bb1.raw", second).c_str()));
    EXPECT_EQ(second + std::string(kRawImageBytes - 100, '\x11'),
              std::string(reinterpret_cast<char*>(g_rawImageBuffer), kRawImageBytes));
}

TEST_F(RawImage, MissingFileIsReportedWithoutALineEnd) {
    g_rawImageBuffer[0] = 42;
    Texture texture;
    ConsoleCapture capture;
    EXPECT_FALSE(texture.ReadRawImage("terrain_data/none.raw"));
    std::cout << "next";
    EXPECT_EQ("Texture file not found: terrain_data/none.raw...Quitting.next", capture.Text());
    EXPECT_EQ(42, g_rawImageBuffer[0]);
}
