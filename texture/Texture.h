// One OpenGL 2-D texture and the image it was made from: a TIFF decoded to RGBA, or a
// raw 128 x 128 RGBA file read through the shared raw-image buffer.
#pragma once

#include <cstdint>

#include <GL/gl.h>

constexpr int kRawImageSize = 128;
constexpr int kRawImageBytes = kRawImageSize * kRawImageSize * 4;

// Shared by every raw image: read one, upload it, then read the next.
extern unsigned char g_rawImageBuffer[kRawImageBytes];

class Texture {
public:
    Texture();
    virtual ~Texture();

    bool LoadTiff(const char* fileName);
    bool Upload(bool mipmaps);
    bool ReadRawImage(const char* fileName);
    bool UploadRawImage();
    unsigned GetId() const { return _textureId; }

    unsigned char* _pixels;   // RGBA rows, bottom row first
    uint32_t _imageWidth;
    uint32_t _imageHeight;
    GLuint _textureId;
};

enum class ImageFile { Tiff, Raw };

// Loads the image, uploads it without mipmaps and, with it still bound, sets the wrap of T and
// then of S. A load that fails makes no OpenGL call and leaves the texture at name 0.
bool LoadTexture(Texture& texture, ImageFile kind, const char* fileName,
                 GLint wrap = GL_CLAMP_TO_EDGE);
