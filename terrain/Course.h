// The race course as the game draws it: the course's data (course/CourseData.h) with the
// terrain and water pass, the shader state it sets up, the posts, ropes and race poles as
// textures and display lists, and the view being drawn: its frustum and the markers in it.
#pragma once

#include <GL/gl.h>

#include "course/CourseData.h"
#include "course/Frustum.h"
#include "texture/Texture.h"

// The three display lists the markers are drawn with.
struct MarkerLists {
    GLuint pole;
    GLuint post;
    GLuint rope;
};

class Course : public CourseData {
public:
    Course() = default;
    // Frees the shader context and the visible lists; the data goes with CourseData.
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
    // Empties the visible lists and fills them with the markers of the quadtree's leaves that
    // pass the frustum (course/QuadTree.h).
    void CollectVisible();
    // How many posts and ropes the view drawn last held.
    int32_t MarkersInView() const { return _visibleCountX; }
    // For the benchmark: swaps the markers' display lists for the empty list 0, which glCallList
    // skips, so that a frame makes the same calls but draws no post, rope or race pole; returns
    // the lists it took out, which PutBackMarkers puts back.
    MarkerLists LeaveOutMarkers();
    void PutBackMarkers(const MarkerLists& lists);

    GLuint _poleList = 0;
    GLuint _postList = 0;
    GLuint _ropeList = 0;
    Texture _courseQuadTexture;   // loaded and kept; nothing binds it
    Texture _postTexture;
    Texture _ropeTexture;
    Texture _poleTexture;
    Texture _baseTexture;
    Texture _detailTexture;

    // The view being drawn, culled anew for each: the lists have room for every marker of the
    // quadtree, allocated by BuildMarkers.
    int32_t* _visibleX = nullptr;  // grid x of each marker in view
    int32_t _visibleCountX = 0;
    int32_t* _visibleY = nullptr;  // grid y, parallel to _visibleX
    int32_t _visibleCountY = 0;    // always equal to _visibleCountX: the two lists fill in step
    Frustum _frustum;              // the six clip planes of the view
};
