#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "TempDir.h"
#include "TiffTestFiles.h"
#include "scene/Texture.h"
#include "scene/TiffDecode.h"

namespace fs = std::filesystem;

namespace {
std::vector<std::string> CorpusFiles() {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(KESTRUN_TIFF_CORPUS)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".tiff" || ext == ".tif") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

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

const std::string kCorpus = KESTRUN_TIFF_CORPUS;
}  // namespace

// Every layout of the corpus loads at the size its tags give, with full alpha when the file
// carries no alpha channel.
TEST(Texture, CorpusFilesLoadAtTheirTrueSize) {
    const std::vector<std::string> files = CorpusFiles();
    ASSERT_GE(files.size(), 12u);
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        const TiffTags tags = ReadTiffTags(path);
        ASSERT_TRUE(tags.ok);
        Texture texture;
        ConsoleCapture capture;
        ASSERT_TRUE(texture.LoadTiff(path.c_str()));
        EXPECT_EQ(LoadedLines(path, tags.width, tags.height), capture.Text());
        EXPECT_EQ(tags.width, texture._imageWidth);
        EXPECT_EQ(tags.height, texture._imageHeight);
        if (tags.extraSamples == 0) {
            const std::string pixels = Pixels(texture);
            for (size_t i = 3; i < pixels.size(); i += 4) {
                ASSERT_EQ('\xFF', pixels[i]) << "pixel " << i / 4;
            }
        }
    }
}

TEST(Texture, AlphaOfTheFileIsKept) {
    Texture texture;
    ConsoleCapture quiet;
    ASSERT_TRUE(texture.LoadTiff((kCorpus + "/minisblack-2c-8b-alpha.tiff").c_str()));
    const std::string pixels = Pixels(texture);
    bool someTransparency = false;
    for (size_t i = 3; i < pixels.size(); i += 4) {
        someTransparency = someTransparency || pixels[i] != '\xFF';
    }
    EXPECT_TRUE(someTransparency);
}

// The file's first stored row is the top of the picture; in memory it comes last.
TEST(Texture, CorpusImageIsUpright) {
    const std::string path = kCorpus + "/rgb-3c-8b.tiff";
    Texture texture;
    ConsoleCapture quiet;
    ASSERT_TRUE(texture.LoadTiff(path.c_str()));
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(nullptr, tiff);
    const uint32_t width = texture._imageWidth;
    const uint32_t height = texture._imageHeight;
    std::vector<uint8_t> line(TIFFScanlineSize(tiff));
    ASSERT_EQ(width * 3, line.size());
    for (uint32_t row : {0u, 1u, height / 2, height - 1}) {
        ASSERT_EQ(1, TIFFReadScanline(tiff, line.data(), row, 0));
        const unsigned char* decoded = texture._pixels + (height - 1 - row) * width * 4;
        for (uint32_t x = 0; x < width; ++x) {
            ASSERT_EQ(line[x * 3 + 0], decoded[x * 4 + 0]) << "row " << row << " x " << x;
            ASSERT_EQ(line[x * 3 + 1], decoded[x * 4 + 1]);
            ASSERT_EQ(line[x * 3 + 2], decoded[x * 4 + 2]);
            ASSERT_EQ(255, decoded[x * 4 + 3]);
        }
    }
    TIFFClose(tiff);
}

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

class TextureFailure : public ::testing::Test {
protected:
    // Loads a first image, so that a failed second load can be seen to keep it.
    void SetUp() override {
        ConsoleCapture quiet;
        ASSERT_TRUE(_texture.LoadTiff((kCorpus + "/palette-1c-8b.tiff").c_str()));
        _before = Pixels(_texture);
        _beforePointer = _texture._pixels;
    }

    void ExpectFirstImageKept() {
        EXPECT_EQ(_beforePointer, _texture._pixels);
        EXPECT_EQ(157u, _texture._imageWidth);
        EXPECT_EQ(151u, _texture._imageHeight);
        EXPECT_EQ(_before, Pixels(_texture));
        EXPECT_EQ(0u, _texture.GetId());
    }

    Texture _texture;
    std::string _before;
    unsigned char* _beforePointer = nullptr;
    TempDir _dir;
};

TEST_F(TextureFailure, MissingFile) {
    const std::string path = _dir.File("missing.tif");
    ConsoleCapture capture;
    EXPECT_FALSE(_texture.LoadTiff(path.c_str()));
    EXPECT_EQ("loading TIFF texture: " + path + "\nError opening: " + path + "\n", capture.Text());
    ExpectFirstImageKept();
}

TEST_F(TextureFailure, FileThatIsNoTiff) {
    const std::string path = _dir.Write("text.tif", "this is a text file, not an image\n");
    ConsoleCapture capture;
    EXPECT_FALSE(_texture.LoadTiff(path.c_str()));
    EXPECT_EQ("loading TIFF texture: " + path + "\nError opening: " + path + "\n", capture.Text());
    ExpectFirstImageKept();
}

TEST_F(TextureFailure, LayoutTheDecoderRefuses) {
    const std::string path = _dir.Write("five-bit.tif", GreyTiffBytes(4, 4, 5, 10));
    ConsoleCapture capture;
    EXPECT_FALSE(_texture.LoadTiff(path.c_str()));
    EXPECT_EQ("loading TIFF texture: " + path + "\nERROR - unable to load texture.\n",
              capture.Text());
    ExpectFirstImageKept();
}

// 65536 x 65536 pixels would need 16 GiB and more pixels than the decoder can address.
TEST_F(TextureFailure, ImageTooLargeToHold) {
    const std::string path = _dir.Write("huge.tif", GreyTiffBytes(65536, 65536, 8, 64));
    const TiffTags tags = ReadTiffTags(path);
    ASSERT_TRUE(tags.ok);
    ASSERT_EQ(65536u, tags.width);
    ConsoleCapture capture;
    EXPECT_FALSE(_texture.LoadTiff(path.c_str()));
    EXPECT_EQ("loading TIFF texture: " + path + "\nERROR - unable to load texture.\n",
              capture.Text());
    ExpectFirstImageKept();
}

TEST_F(TextureFailure, ASecondGoodFileReplacesThePixels) {
    const std::string path = kCorpus + "/quad-lzw-compat.tiff";
    ConsoleCapture quiet;
    ASSERT_TRUE(_texture.LoadTiff(path.c_str()));
    EXPECT_EQ(512u, _texture._imageWidth);
    EXPECT_EQ(384u, _texture._imageHeight);
}

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

TEST(TiffDecode, MemoryGivesTheSamePixelsAsTheFile) {
    for (const char* name : {"/quad-tile.jpg.tiff", "/palette-1c-4b.tiff", "/rgb-3c-16b.tiff"}) {
        SCOPED_TRACE(name);
        const std::string path = kCorpus + name;
        Texture texture;
        ConsoleCapture quiet;
        ASSERT_TRUE(texture.LoadTiff(path.c_str()));
        const std::string bytes = ReadFileBytes(path);
        uint32_t width = 0;
        uint32_t height = 0;
        unsigned char* pixels =
            DecodeTiffMemory(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                             name, width, height);
        ASSERT_NE(nullptr, pixels);
        EXPECT_EQ(texture._imageWidth, width);
        EXPECT_EQ(texture._imageHeight, height);
        EXPECT_EQ(Pixels(texture), std::string(reinterpret_cast<char*>(pixels),
                                               static_cast<size_t>(width) * height * 4));
        delete[] pixels;
    }
}

// Cut-off files either fail or decode within their own bounds (the sanitizers watch).
TEST(TiffDecode, TruncatedBytesAreHandledSafely) {
    for (const char* name : {"/minisblack-2c-8b-alpha.tiff", "/quad-tile.jpg.tiff"}) {
        const std::string bytes = ReadFileBytes(kCorpus + name);
        ASSERT_FALSE(bytes.empty());
        for (size_t length : {size_t{0}, size_t{4}, size_t{8}, size_t{16}, size_t{200},
                              bytes.size() / 2, bytes.size() - 1}) {
            SCOPED_TRACE(std::string(name) + " cut at " + std::to_string(length));
            std::vector<unsigned char> cut(bytes.begin(), bytes.begin() + length);
            uint32_t width = 0;
            uint32_t height = 0;
            unsigned char* pixels = DecodeTiffMemory(cut.data(), cut.size(), name, width, height);
            if (pixels) {
                EXPECT_GT(RgbaBufferSize(width, height), 0u);
            }
            delete[] pixels;
        }
    }
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
