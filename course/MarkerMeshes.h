// The three marker shapes as static triangle tables: the post, the rope segment and the race pole.
#pragma once

#include <cstdint>

// One shape: triangles whose corners pick a vertex, a normal and a texture coordinate each.
struct MarkerMesh {
    const uint8_t (*faces)[9];  // vertex indices of corners 0..2, then normal, then texture indices
    int32_t faceCount;
    const float (*vertices)[3];
    int32_t vertexCount;
    const float (*normals)[3];  // unit length, one per face corner (smooth shading)
    int32_t normalCount;
    const float (*texCoords)[2];
    int32_t texCoordCount;
};

// A five-sided prism along z from -0.5 to 0.5, its upper end cut slightly slanted.
extern const MarkerMesh kPostMesh;
// A twisted strand along x from -0.5 to 0.5: eight rings of nine vertices, closed at x = -0.5.
extern const MarkerMesh kRopeMesh;
// A six-sided column along z from -0.5 to 0.5, widest a little above its middle.
extern const MarkerMesh kPoleMesh;
