// One square area of the marker quadtree, with the marker cells that lie inside it.
#pragma once

#include <cstdint>

struct QuadNode {
    QuadNode();
    ~QuadNode();
    QuadNode(const QuadNode&) = delete;
    QuadNode& operator=(const QuadNode&) = delete;

    float minX = 0.0f;
    float minZ = 0.0f;
    float sizeX = 0.0f;
    float sizeZ = 0.0f;
    int32_t* markerX = nullptr;  // grid x of each marker in the area
    int32_t* markerY = nullptr;  // grid y, parallel to markerX
    int32_t markerCount = 0;
    QuadNode* children[4] = {nullptr, nullptr, nullptr, nullptr};  // lowX lowZ, highX lowZ, lowX highZ, highX highZ
};
