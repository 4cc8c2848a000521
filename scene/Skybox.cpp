// A face that cannot be loaded keeps texture 0 and is drawn with OpenGL's default texture;
// the sky box itself is always built.
#include "scene/Skybox.h"

#include <cstdio>
#include <iostream>

namespace {
const char* const kFaceFiles[6] = {"front.tif", "back.tif", "right.tif",
                                   "left.tif",  "up.tif",   "down.tif"};

// One face of the cube: which image, its inward normal, and four (s, t, x, y, z) corners
// wound counter-clockwise as seen from the centre.
struct SkyFace {
    int image;
    float normal[3];
    float corners[4][5];
};

const SkyFace kSkyFaces[6] = {
    {0, {0, 0, 1}, {{0, 0, -1, -1, -1}, {1, 0, 1, -1, -1}, {1, 1, 1, 1, -1}, {0, 1, -1, 1, -1}}},
    {1, {0, 0, -1}, {{1, 0, -1, -1, 1}, {1, 1, -1, 1, 1}, {0, 1, 1, 1, 1}, {0, 0, 1, -1, 1}}},
    {4, {0, -1, 0}, {{1, 1, 1, 1, 1}, {0, 1, -1, 1, 1}, {0, 0, -1, 1, -1}, {1, 0, 1, 1, -1}}},
    {2, {1, 0, 0}, {{1, 0, -1, -1, -1}, {1, 1, -1, 1, -1}, {0, 1, -1, 1, 1}, {0, 0, -1, -1, 1}}},
    {3, {-1, 0, 0}, {{0, 0, 1, -1, -1}, {1, 0, 1, -1, 1}, {1, 1, 1, 1, 1}, {0, 1, 1, 1, -1}}},
    {5, {0, 1, 0}, {{1, 0, 1, -1, 1}, {1, 1, 1, -1, -1}, {0, 1, -1, -1, -1}, {0, 0, -1, -1, 1}}},
};

void LoadFace(Texture& face, const char* skyboxPath, const char* fileName) {
    char path[1024];
    std::snprintf(path, sizeof path, "%s/%s", skyboxPath, fileName);
    LoadTexture(face, ImageFile::Tiff, path);
}

void DrawFace(const SkyFace& face, GLuint textureId) {
    glBindTexture(GL_TEXTURE_2D, textureId);
    glBegin(GL_QUADS);
    glNormal3f(face.normal[0], face.normal[1], face.normal[2]);
    for (const float* c : face.corners) {
        glTexCoord2f(c[0], c[1]);
        glVertex3f(c[2], c[3], c[4]);
    }
    glEnd();
}
}  // namespace

Skybox::Skybox() = default;
Skybox::~Skybox() = default;

bool Skybox::Generate(const char* skyboxPath) {
    for (int i = 0; i < 6; ++i) {
        LoadFace(_faces[i], skyboxPath, kFaceFiles[i]);
    }
    std::cout << "Generating Skybox..." << std::flush;
    _displayList = glGenLists(1);
    glNewList(_displayList, GL_COMPILE);
    for (const SkyFace& face : kSkyFaces) {
        DrawFace(face, _faces[face.image].GetId());
    }
    glEndList();
    std::cout << "done!" << std::endl;
    return true;
}
