// The race course as the game draws it: the course's data (course/CourseData.h) with the
// terrain and water pass, the shader state it sets up, and the posts, ropes and race poles as
// textures and display lists.
#pragma once

#include <GL/gl.h>

#include "course/CourseData.h"
#include "texture/Texture.h"

class Course : public CourseData {
public:
    Course() = default;
    // Frees the shader context; the data goes with CourseData.
    ~Course();
    Course(const Course&) = delete;
    Course& operator=(const Course&) = delete;

    // --- terrain set-up and pass ---
    bool InitTerrain(const char* fileName, int32_t width, int32_t length);
    // One terrain and water pass, then the markers. Each pass moves the water on (the wave
    // phase grows by kWaveStep for each of the frame's ticks, base/FramePacer.h) and turns the
    // strip's direction; the markers are culled with the frustum as its last update left it.
    bool Draw(float frameTicks);
    void DrawTerrain(const unsigned char* field, float frameTicks);
    void SetTerrainTexCoord(float x, float z);

    // --- markers ---
    // Loads the marker textures, compiles their lists and lays the markers out.
    void BuildMarkers();
    GLuint BuildPostList();
    GLuint BuildRopeList();
    void BuildPoleList();
    void DrawMarkers();
    // Takes the frustum from the current projection and modelview matrices, for the culling of
    // the markers of the view being drawn.
    void UpdateFrustum();

    GLuint _poleList = 0;
    GLuint _postList = 0;
    GLuint _ropeList = 0;
    Texture _courseQuadTexture;   // loaded and kept; nothing binds it
    Texture _postTexture;
    Texture _ropeTexture;
    Texture _poleTexture;
    Texture _baseTexture;
    Texture _detailTexture;
};
