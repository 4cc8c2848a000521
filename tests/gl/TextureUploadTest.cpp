#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <GL/gl.h>

#include "ConsoleCapture.h"
#include "GLContext.h"
#include "TempDir.h"
#include "TiffLayouts.h"
#include "texture/Texture.h"

namespace {
GLint BoundLevelParameter(GLint level, GLenum name) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

GLint BoundParameter(GLenum name) {
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

// The texels of the bound texture's level 0, as RGBA bytes, first row (t = 0) first.
std::string BoundTexels(GLint width, GLint height) {
    std::string texels(static_cast<size_t>(width) * height * 4, '\0');
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}
}  // namespace

TEST(TextureUpload, TiffBecomesATextureOfItsSizeAndPixels) {
    EnsureGLContext();
    TempDir dir;
    for (const char* name : {"rgb_8bit", "ycbcr_8bit_jpeg_tiles"}) {
        SCOPED_TRACE(name);
        Texture texture;
        ConsoleCapture quiet;
        ASSERT_TRUE(
            texture.LoadTiff(WriteTiffLayoutFile(dir.Path(), TiffLayoutNamed(name)).c_str()));
        ASSERT_TRUE(texture.Upload(false));
        EXPECT_NE(0u, texture.GetId());
        EXPECT_EQ(texture.GetId(), BoundTexture());
        const GLint width = BoundLevelParameter(0, GL_TEXTURE_WIDTH);
        const GLint height = BoundLevelParameter(0, GL_TEXTURE_HEIGHT);
        EXPECT_EQ(static_cast<GLint>(texture._imageWidth), width);
        EXPECT_EQ(static_cast<GLint>(texture._imageHeight), height);
        EXPECT_EQ(GL_LINEAR, BoundParameter(GL_TEXTURE_MAG_FILTER));
        EXPECT_EQ(GL_LINEAR, BoundParameter(GL_TEXTURE_MIN_FILTER));
        // The pixels stay in memory and are the texture's rows from t = 0 up.
        ASSERT_NE(nullptr, texture._pixels);
        EXPECT_TRUE(BoundTexels(width, height) ==
                    std::string(reinterpret_cast<char*>(texture._pixels),
                                static_cast<size_t>(width) * height * 4));
        EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
    }
}

TEST(TextureUpload, MipmapsWhenAsked) {
    EnsureGLContext();
    TempDir dir;
    Texture texture;
    ConsoleCapture quiet;
    ASSERT_TRUE(texture.LoadTiff(
        WriteTiffLayoutFile(dir.Path(), TiffLayoutNamed("palette_8bit_lzw")).c_str()));
    ASSERT_TRUE(texture.Upload(true));
    EXPECT_EQ(GL_LINEAR_MIPMAP_NEAREST, BoundParameter(GL_TEXTURE_MIN_FILTER));
    EXPECT_GT(BoundLevelParameter(1, GL_TEXTURE_WIDTH), 0);
}

TEST(TextureUpload, RawImageIs128SquareFromTheSharedBuffer) {
    EnsureGLContext();
    TempDir dir;
    std::string full(kRawImageBytes, '\0');
    for (size_t i = 0; i < full.size(); ++i) {
        full[i] = static_cast<char>(i % 251);
    }
    const std::string shortFile(100, '\x7F');
    Texture first;
    Texture second;
    ConsoleCapture capture;
    ASSERT_TRUE(first.ReadRawImage(dir.Write("bb0.raw", full + "bytes past the image").c_str()));
    ASSERT_TRUE(first.UploadRawImage());
    ASSERT_TRUE(second.ReadRawImage(dir.Write("bb1.raw", shortFile).c_str()));
    ASSERT_TRUE(second.UploadRawImage());

    EXPECT_NE(0u, second.GetId());
    EXPECT_NE(first.GetId(), second.GetId());
    EXPECT_EQ(second.GetId(), BoundTexture());
    EXPECT_EQ(128, BoundLevelParameter(0, GL_TEXTURE_WIDTH));
    EXPECT_EQ(128, BoundLevelParameter(0, GL_TEXTURE_HEIGHT));
    EXPECT_EQ(GL_LINEAR, BoundParameter(GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_LINEAR, BoundParameter(GL_TEXTURE_MAG_FILTER));
    // The short file's 100 bytes, then the first file's remaining 65,436 bytes.
    EXPECT_TRUE(BoundTexels(128, 128) == shortFile + full.substr(100));
    glBindTexture(GL_TEXTURE_2D, first.GetId());
    EXPECT_TRUE(BoundTexels(128, 128) == full);
    EXPECT_EQ("", capture.Text());
    EXPECT_EQ(nullptr, second._pixels);
    EXPECT_EQ(0u, second._imageWidth);
}
