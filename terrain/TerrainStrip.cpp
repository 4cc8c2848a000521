// The vertex sequence of the terrain pass, kept apart from OpenGL so it can be checked alone.
#include "terrain/TerrainStrip.h"

#include "course/CourseData.h"
#include "terrain/Shaders.h"

namespace {
TerrainVertex MakeVertex(const unsigned char* field, int32_t heightDivisor, int32_t x, int32_t z) {
    TerrainVertex vertex;
    vertex.x = x;
    vertex.z = z;
    vertex.normal = CourseData::VertexNormal(field, x, z);
    vertex.height = static_cast<float>(CourseData::GroundHeight(field, heightDivisor, x, z));
    return vertex;
}
}  // namespace

void WalkTerrainStrip(const unsigned char* field, int32_t heightDivisor,
                      const std::function<void(const TerrainVertex&)>& visit) {
    for (int32_t x = 0; x < kTerrainSize; x += kTerrainStep) {
        for (int32_t row = 0; row <= kTerrainSize; row += kTerrainStep) {
            if (!g_stripReversed) {
                visit(MakeVertex(field, heightDivisor, x + kTerrainStep, row));
                visit(MakeVertex(field, heightDivisor, x, row));
            } else {
                const int32_t z = kTerrainSize - row;
                visit(MakeVertex(field, heightDivisor, x, z));
                visit(MakeVertex(field, heightDivisor, x + kTerrainStep, z));
            }
        }
        g_stripReversed = !g_stripReversed;
    }
}
