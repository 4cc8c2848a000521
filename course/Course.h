// The race course: a grid of one-character cells laid over the 256 x 256 terrain, with the
// height field, the terrain pass, the posts, ropes and race poles, and the marker quadtree.
#pragma once

#include <cstdint>
#include <iosfwd>

#include <GL/gl.h>

#include "base/Vec3.h"
#include "course/Frustum.h"
#include "course/QuadNode.h"
#include "scene/Texture.h"

// Three corners and the unit normal of one triangle of a vertex's fan.
struct FanTriangle {
    Vec3 a;
    Vec3 b;
    Vec3 c;
    Vec3 normal;
};

constexpr int kTerrainSize = 256;   // samples along x and z
constexpr int32_t kHeightDivisor = 10;   // raw height / this = world height
constexpr int kStartTableSize = 10;

// Start cells in scan order, filled by the marker build.
extern int32_t g_startX[kStartTableSize];
extern int32_t g_startY[kStartTableSize];
extern int32_t g_startCount;

class Course {
public:
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
    static void FaceNormal(const Vec3 corners[3], Vec3& normal);
    static void Normalize(Vec3& vector);
    static Vec3 VertexNormal(const unsigned char* field, int32_t x, int32_t z);

    // --- terrain set-up and pass ---
    bool InitTerrain(const char* fileName, int32_t width, int32_t length);
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
    Texture _courseQuadTexture;
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
};
