// The race course: a grid of one-character cells laid over the 256 x 256 terrain, with the
// height field, the terrain pass, the posts, ropes and race poles, and the marker quadtree.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include <GL/gl.h>

#include "base/Vec3.h"
#include "base/WorldUnits.h"
#include "course/Fence.h"
#include "course/Frustum.h"
#include "course/QuadNode.h"
#include "texture/Texture.h"

// Three corners and the unit normal of one triangle of a vertex's fan.
struct FanTriangle {
    Vec3 a;
    Vec3 b;
    Vec3 c;
    Vec3 normal;
};

constexpr int kStartTableSize = 10;

// Start cells in scan order, filled by the marker build.
extern int32_t g_startX[kStartTableSize];
extern int32_t g_startY[kStartTableSize];
extern int32_t g_startCount;

// Reads a course file's width and length as the game does: unsigned 16-bit numbers in the
// stream's default syntax (decimal, 0x hexadecimal, 0 octal), no minus sign, and something
// after the width. False when they cannot be read.
bool ReadCourseDimensions(std::istream& in, uint16_t& width, uint16_t& length);

class Course {
public:
    // Made and taken down in terrain/TerrainSetup.cpp, beside the shader state it frees.
    Course();
    virtual ~Course();
    Course(const Course&) = delete;
    Course& operator=(const Course&) = delete;

    // --- grid and course file ---
    bool Init(const char* fileName);
    // Reads the course text (dimensions, then cells) from an open stream, with the console lines.
    bool Read(std::istream& in);
    char GetCell(int32_t x, int32_t y) const;
    void SetCell(int32_t x, int32_t y, char code);
    bool Print(std::ostream& out) const;
    // True when (x, y) is a cell of the grid; outside the grid counts as blocked ground.
    bool Contains(int32_t x, int32_t y) const;

    // --- height field (reads no other member) ---
    static bool ReadRaw(unsigned char* buffer, const char* fileName, int32_t width, int32_t length);
    static int32_t GetHeight(const unsigned char* field, int32_t x, int32_t z);
    // The terraced ground height in world units: GetHeight / divisor in integers (the raw
    // height for a divisor of 0). The one rule for racers, items, the mesh and the tools.
    static int32_t GroundHeight(const unsigned char* field, int32_t divisor, int32_t x, int32_t z);
    static void FaceNormal(const Vec3 corners[3], Vec3& normal);
    static void Normalize(Vec3& vector);
    static Vec3 VertexNormal(const unsigned char* field, int32_t x, int32_t z);

    // --- terrain set-up and pass ---
    bool InitTerrain(const char* fileName, int32_t width, int32_t length);
    // One terrain and water pass, then the markers. Each pass moves the water on (the wave
    // phase grows by 0.01) and turns the strip's direction; the markers are culled with the
    // frustum as its last Update left it.
    bool Draw();
    void DrawTerrain(const unsigned char* field);
    void SetTerrainTexCoord(float x, float z);

    // --- markers ---
    void BuildMarkers();
    void ComputeCellSize();
    GLuint BuildPostList();
    GLuint BuildRopeList();
    void BuildPoleList();
    void DrawMarkers();

    // --- quadtree ---
    void BuildQuadTree(QuadNode& node, float x, float z, float sizeX, float sizeZ, int32_t depth);
    void CollectVisible(QuadNode& node, float x, float z, float sizeX, float sizeZ, int32_t depth);
    void VisitNode(QuadNode& node, float x, float z, float sizeX, float sizeZ, int32_t depth);

    unsigned char* _heights;      // 256 x 256 raw heights, byte z * 256 + x; null when none
    GLuint _poleList;
    GLuint _postList;
    GLuint _ropeList;
    float _start1X, _start1Z;     // racer 1's start, world units
    float _start2X, _start2Z;     // racer 2's start
    int32_t _heightDivisor;       // raw height / this = world height
    Texture _courseQuadTexture;   // loaded and kept; nothing binds it
    Texture _postTexture;
    Texture _ropeTexture;
    Texture _poleTexture;
    float _cellSize;              // world units per cell, 256 / width in integers
    float _cellsPerUnit;          // cells per world unit, width / 256
    QuadNode _quadTree;
    int32_t* _visibleX;
    int32_t _visibleCountX;
    int32_t _markerCount;
    int32_t* _visibleY;
    int32_t _visibleCountY;       // always equal to _visibleCountX: the two lists fill in step
    Frustum _frustum;
    char* _courseMap;             // cell (x, y) at x + y * width
    uint16_t _courseWidth;
    uint16_t _courseLength;
    Texture _baseTexture;
    Texture _detailTexture;
    std::vector<FenceRope> _fence;  // the ropes as segments on the ground: the course's wall
};
