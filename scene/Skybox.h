// The six sky images around each racer's eye, compiled into one display list.
#pragma once

#include <GL/gl.h>

#include "texture/Texture.h"

class Skybox {
public:
    Skybox();
    virtual ~Skybox();

    bool Generate(const char* skyboxPath);

    GLuint _displayList = 0;
    Texture _faces[6];  // front, back, right, left, up, down
};
