// The height field: the raw file, the wrapped lookup, the ground height and the vectors of
// the vertex normals. Plain data: the terrain pass above draws what these give.
#include "course/CourseData.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

bool CourseData::ReadRaw(unsigned char* buffer, const char* fileName, int32_t width, int32_t length) {
    if (!buffer || !fileName || width <= 0 || length <= 0) {
        return false;
    }
    FILE* file = std::fopen(fileName, "rb");
    if (!file) {
        return false;
    }
    const size_t wanted = static_cast<size_t>(width) * static_cast<size_t>(length);
    const size_t read = std::fread(buffer, 1, wanted, file);
    std::fclose(file);
    return read > 0;
}

bool CourseData::LoadHeights(const char* fileName, int32_t width, int32_t length) {
    delete[] _heights;
    _heights = nullptr;
    if (width <= 0 || length <= 0) {
        return false;
    }
    const size_t size = std::max(static_cast<size_t>(width) * static_cast<size_t>(length),
                                 static_cast<size_t>(kTerrainSize) * kTerrainSize);
    _heights = new (std::nothrow) unsigned char[size]();
    if (_heights && !ReadRaw(_heights, fileName, width, length)) {
        delete[] _heights;
        _heights = nullptr;
    }
    return _heights != nullptr;
}

int32_t CourseData::GroundHeight(const unsigned char* field, int32_t divisor, int32_t x, int32_t z) {
    const int32_t raw = GetHeight(field, x, z);
    return divisor > 0 ? raw / divisor : raw;
}

int32_t CourseData::GetHeight(const unsigned char* field, int32_t x, int32_t z) {
    if (!field) {
        return 0;
    }
    // x & 255 is x mod 256 without a sign, for negative x too.
    const int32_t wrappedX = x & (kTerrainSize - 1);
    const int32_t wrappedZ = z & (kTerrainSize - 1);
    return field[wrappedZ * kTerrainSize + wrappedX];
}

void CourseData::FaceNormal(const Vec3 corners[3], Vec3& normal) {
    const Vec3& a = corners[0];
    const Vec3& b = corners[1];
    const Vec3& c = corners[2];
    const Vec3 u{b.x - a.x, b.y - a.y, b.z - a.z};
    const Vec3 v{c.x - a.x, c.y - a.y, c.z - a.z};
    normal = Vec3{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    Normalize(normal);
}

void CourseData::Normalize(Vec3& vector) {
    float length = std::sqrt(vector.x * vector.x + vector.y * vector.y + vector.z * vector.z);
    if (length == 0.0f) {
        length = 1.0f;
    }
    vector.x /= length;
    vector.y /= length;
    vector.z /= length;
}

namespace {
Vec3 StencilPoint(const unsigned char* field, int32_t x, int32_t z) {
    return Vec3{static_cast<float>(x), static_cast<float>(CourseData::GetHeight(field, x, z)),
                static_cast<float>(z)};
}
}  // namespace

// The normal of the mesh vertex at (x, z): the six triangles around it, from raw heights.
Vec3 CourseData::VertexNormal(const unsigned char* field, int32_t x, int32_t z) {
    const Vec3 ring[7] = {
        StencilPoint(field, x, z),
        StencilPoint(field, x + kTerrainStep, z),
        StencilPoint(field, x + kTerrainStep, z + kTerrainStep),
        StencilPoint(field, x, z + kTerrainStep),
        StencilPoint(field, x - kTerrainStep, z),
        StencilPoint(field, x - kTerrainStep, z - kTerrainStep),
        StencilPoint(field, x, z - kTerrainStep),
    };
    Vec3 sum;
    for (int i = 1; i <= 6; ++i) {
        FanTriangle triangle{ring[0], ring[i], ring[i % 6 + 1], Vec3{}};
        const Vec3 corners[3] = {triangle.a, triangle.b, triangle.c};
        FaceNormal(corners, triangle.normal);
        sum.x += triangle.normal.x;
        sum.y += triangle.normal.y;
        sum.z += triangle.normal.z;
    }
    Normalize(sum);
    return sum;
}
