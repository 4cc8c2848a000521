// Loading never stops the game: a file that cannot be opened or decoded prints its line and
// leaves the texture as it was (a texture never uploaded binds OpenGL's default texture).
#include "texture/Texture.h"

#include <cstdio>
#include <iostream>

#include <GL/glu.h>
#include <tiffio.h>

#include "texture/TiffDecode.h"

unsigned char g_rawImageBuffer[kRawImageBytes];

Texture::Texture() : _pixels(nullptr), _imageWidth(0), _imageHeight(0), _textureId(0) {}

Texture::~Texture() {
    delete[] _pixels;
}

bool Texture::LoadTiff(const char* fileName) {
    std::cout << "loading TIFF texture: " << fileName << std::endl;
    TIFF* tiff = TIFFOpen(fileName, "r");
    if (!tiff) {
        std::cout << "Error opening: " << fileName << std::endl;
        return false;
    }
    uint32_t width = 0;
    uint32_t height = 0;
    unsigned char* pixels = DecodeTiff(tiff, fileName, width, height);
    TIFFClose(tiff);
    if (!pixels) {
        std::cout << "ERROR - unable to load texture." << std::endl;
        return false;
    }
    delete[] _pixels;
    _pixels = pixels;
    _imageWidth = width;
    _imageHeight = height;
    std::cout << "Texture map (" << width << " x " << height << ") successfully loaded."
              << std::endl;
    return true;
}

bool Texture::Upload(bool mipmaps) {
    glGenTextures(1, &_textureId);
    glBindTexture(GL_TEXTURE_2D, _textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    const GLsizei width = static_cast<GLsizei>(_imageWidth);
    const GLsizei height = static_cast<GLsizei>(_imageHeight);
    if (mipmaps) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, GL_RGBA, GL_UNSIGNED_BYTE, _pixels);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, _pixels);
    }
    return true;
}

bool Texture::ReadRawImage(const char* fileName) {
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file) {
        // No line end: the next console text continues this line.
        std::cout << "Texture file not found: " << fileName << "...Quitting." << std::flush;
        return false;
    }
    // A short file fills only the front; the rest keeps the previous image's bytes.
    const size_t read = std::fread(g_rawImageBuffer, 1, sizeof g_rawImageBuffer, file);
    (void)read;
    std::fclose(file);
    return true;
}

bool Texture::UploadRawImage() {
    glGenTextures(1, &_textureId);
    glBindTexture(GL_TEXTURE_2D, _textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, kRawImageSize, kRawImageSize, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 g_rawImageBuffer);
    return true;
}

bool LoadTexture(Texture& texture, ImageFile kind, const char* fileName, GLint wrap) {
    if (kind == ImageFile::Tiff) {
        if (!texture.LoadTiff(fileName)) {
            return false;
        }
        texture.Upload(false);
    } else {
        if (!texture.ReadRawImage(fileName)) {
            return false;
        }
        texture.UploadRawImage();
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    return true;
}
