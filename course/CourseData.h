// The race course's data: the grid of one-character cells and its file, the height field, the
// marker layout with the start places and the fence, and the marker quadtree: what the course
// file and its rules give, nothing of a view. No OpenGL: the checker, the course tool and the
// asset kit read courses with it, and the Course the game draws (terrain/Course.h) builds on it.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "base/Vec3.h"
#include "base/WorldUnits.h"
#include "course/Fence.h"
#include "course/QuadNode.h"

// Three corners and the unit normal of one triangle of a vertex's fan.
struct FanTriangle {
    Vec3 a;
    Vec3 b;
    Vec3 c;
    Vec3 normal;
};

constexpr int kStartTableSize = 10;
constexpr float kNoStartPosition = 128.0f;  // a racer's start on a course without start cells

// Start cells in scan order, filled by the marker layout.
extern int32_t g_startX[kStartTableSize];
extern int32_t g_startY[kStartTableSize];
extern int32_t g_startCount;

// Reads a course file's width and length as the game does: unsigned 16-bit numbers in the
// stream's default syntax (decimal, 0x hexadecimal, 0 octal), no minus sign, and something
// after the width. False when they cannot be read.
bool ReadCourseDimensions(std::istream& in, uint16_t& width, uint16_t& length);

// World units per cell: 256 / width in integers, and 0 for a width of 0.
float CellSizeForWidth(int32_t width);

class CourseData {
public:
    CourseData();
    ~CourseData();
    CourseData(const CourseData&) = delete;
    CourseData& operator=(const CourseData&) = delete;

    // --- grid and course file ---
    // Init and Read write the game's progress and error lines to `console` (standard output
    // when none is given); a tool that reads quietly passes a stream of its own.
    bool Init(const char* fileName);
    bool Init(const char* fileName, std::ostream& console);
    // Reads the course text (dimensions, then cells) from an open stream.
    bool Read(std::istream& in);
    bool Read(std::istream& in, std::ostream& console);
    char GetCell(int32_t x, int32_t y) const;
    void SetCell(int32_t x, int32_t y, char code);
    // The grid's size in cells: lines of the file (grid x) and cells a line (grid y).
    int32_t GetWidth() const { return _courseWidth; }
    int32_t GetLength() const { return _courseLength; }
    bool Print(std::ostream& out) const;
    // True when (x, y) is a cell of the grid; outside the grid counts as blocked ground.
    bool Contains(int32_t x, int32_t y) const;

    // --- height field (the static ones read no member) ---
    // Reads the height file into _heights, zero-filled to at least 256 x 256 so that a short
    // file leaves the rest level at 0. False, with no field, when it cannot be read.
    bool LoadHeights(const char* fileName, int32_t width, int32_t length);
    static bool ReadRaw(unsigned char* buffer, const char* fileName, int32_t width, int32_t length);
    static int32_t GetHeight(const unsigned char* field, int32_t x, int32_t z);
    // The terraced ground height in world units: GetHeight / divisor in integers (the raw
    // height for a divisor of 0). The one rule for racers, items, the mesh and the tools.
    static int32_t GroundHeight(const unsigned char* field, int32_t divisor, int32_t x, int32_t z);
    static void FaceNormal(const Vec3 corners[3], Vec3& normal);
    static void Normalize(Vec3& vector);
    static Vec3 VertexNormal(const unsigned char* field, int32_t x, int32_t z);

    // --- marker layout (course/MarkerPlacement.h: LayOutMarkers) ---
    // Sets _cellSize for the width (CellSizeForWidth).
    void ComputeCellSize();

    // --- quadtree (a view's walk: course/QuadTree.h) ---
    void BuildQuadTree(QuadNode& node, float x, float z, float sizeX, float sizeZ, int32_t depth);

    unsigned char* _heights;      // 256 x 256 raw heights, byte z * 256 + x; null when none
    float _start1X, _start1Z;     // racer 1's start, world units
    float _start2X, _start2Z;     // racer 2's start
    int32_t _heightDivisor;       // raw height / this = world height
    float _cellSize;              // world units per cell, 256 / width in integers
    float _cellsPerUnit;          // cells per world unit, width / 256
    QuadNode _quadTree;
    int32_t _markerCount;
    char* _courseMap;             // cell (x, y) at x + y * width
    uint16_t _courseWidth;
    uint16_t _courseLength;
    Fence _fence;                 // the ropes as segments on the ground: the course's wall
};
