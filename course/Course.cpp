#include "course/Course.h"

#include <istream>
#include <ostream>

Course::Course()
    : _heights(nullptr), _poleList(0), _postList(0), _ropeList(0), _start1X(0), _start1Z(0),
      _start2X(0), _start2Z(0), _heightDivisor(10), _cellSize(0), _cellsPerUnit(0),
      _visibleX(nullptr), _visibleCountX(0), _markerCount(0), _visibleY(nullptr),
      _visibleCountY(0), _courseMap(nullptr), _courseWidth(0), _courseLength(0) {}
Course::~Course() {}
bool Course::Init(const char*) { return false; }
bool Course::Read(std::istream&) { return false; }
char Course::GetCell(int32_t, int32_t) const { return '1'; }
void Course::SetCell(int32_t, int32_t, char) {}
bool Course::Print(std::ostream&) const { return false; }
bool Course::Contains(int32_t x, int32_t y) const {
    return x >= 0 && x < _courseWidth && y >= 0 && y < _courseLength;
}
