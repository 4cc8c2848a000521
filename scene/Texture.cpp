#include "scene/Texture.h"

unsigned char g_rawImageBuffer[kRawImageBytes];

Texture::Texture() : _pixels(nullptr), _imageWidth(0), _imageHeight(0), _textureId(0) {}
Texture::~Texture() { delete[] _pixels; }
bool Texture::LoadTiff(const char*) { return false; }
bool Texture::Upload(bool) { return true; }
bool Texture::ReadRawImage(const char*) { return false; }
bool Texture::UploadRawImage() { return true; }
