// The marker quadtree: a fixed tree over the 256 x 256 world whose leaves list the marker cells
// inside them, and the walk that collects the markers of the leaves in view.
#include "course/QuadTree.h"

#include "base/WorldUnits.h"
#include "course/CourseData.h"
#include "course/CourseGrid.h"

QuadNode::QuadNode() = default;

QuadNode::~QuadNode() {
    delete[] markerX;
    delete[] markerY;
    for (QuadNode* child : children) {
        delete child;
    }
}

namespace {
// Drops what an earlier build left in the node, so that the tree can be built again.
void ClearNode(QuadNode& node) {
    delete[] node.markerX;
    delete[] node.markerY;
    node.markerX = nullptr;
    node.markerY = nullptr;
    node.markerCount = 0;
    for (QuadNode*& child : node.children) {
        delete child;
        child = nullptr;
    }
}

// Open on the low sides, closed on the high sides: a marker at world 0 lies in no node.
bool InNode(const QuadNode& node, float worldX, float worldZ) {
    return node.minX < worldX && worldX <= node.minX + node.sizeX && node.minZ < worldZ &&
           worldZ <= node.minZ + node.sizeZ;
}

// Calls visit(x, y) for every marker cell in the node's area, in grid scan order.
template <typename Visit>
void ForEachMarkerIn(const CourseData& course, const QuadNode& node, Visit visit) {
    if (course._courseMap == nullptr) {
        return;
    }
    for (int32_t x = 0; x < course._courseWidth; ++x) {
        for (int32_t y = 0; y < course._courseLength; ++y) {
            if (course.GetCell(x, y) == kMarkerCell &&
                InNode(node, static_cast<float>(x) * course._cellSize,
                       static_cast<float>(y) * course._cellSize)) {
                visit(x, y);
            }
        }
    }
}

// Calls visit(i, x, z, halfX, halfZ) for the four quarters of an area in child order: low x
// low z, high x low z, low x high z, high x high z.
template <typename Visit>
void ForEachQuarter(float x, float z, float sizeX, float sizeZ, Visit visit) {
    const float halfX = sizeX / 2;
    const float halfZ = sizeZ / 2;
    const float cornerX[4] = {x, x + halfX, x, x + halfX};
    const float cornerZ[4] = {z, z, z + halfZ, z + halfZ};
    for (int i = 0; i < 4; ++i) {
        visit(i, cornerX[i], cornerZ[i], halfX, halfZ);
    }
}

// The output of one view's walk.
struct VisibleLists {
    int32_t* x;
    int32_t* y;
    int32_t count;
};

void AppendMarkers(const QuadNode& node, VisibleLists& visible) {
    for (int32_t i = 0; i < node.markerCount; ++i) {
        visible.x[visible.count] = node.markerX[i];
        visible.y[visible.count] = node.markerY[i];
        ++visible.count;
    }
}

void VisitNode(const QuadNode& node, const Frustum& frustum, VisibleLists& visible);

// A leaf's markers, or the children's that pass.
void CollectBelow(const QuadNode& node, const Frustum& frustum, VisibleLists& visible) {
    if (node.children[0] == nullptr) {
        AppendMarkers(node, visible);
        return;
    }
    for (const QuadNode* child : node.children) {
        if (child) {
            VisitNode(*child, frustum, visible);
        }
    }
}

// Skips the area with everything below it when its box, from the ground area up through the
// height of the posts, lies wholly outside the view. Testing only the ground corners would lose
// the posts of an area that the view crosses between its corners.
void VisitNode(const QuadNode& node, const Frustum& frustum, VisibleLists& visible) {
    const float low[3] = {node.minX, kMarkerHeight - kPostHeight / 2, node.minZ};
    const float high[3] = {node.minX + node.sizeX, kMarkerHeight + kPostHeight / 2,
                           node.minZ + node.sizeZ};
    if (frustum.BoxInside(low, high)) {
        CollectBelow(node, frustum, visible);
    }
}
}  // namespace

void CourseData::BuildQuadTree(QuadNode& node, float x, float z, float sizeX, float sizeZ,
                           int32_t depth) {
    if (depth == 0) {
        return;
    }
    ClearNode(node);
    node.minX = x;
    node.minZ = z;
    node.sizeX = sizeX;
    node.sizeZ = sizeZ;

    // Each node gets room for exactly the markers of its area, counted first.
    int32_t inside = 0;
    ForEachMarkerIn(*this, node, [&inside](int32_t, int32_t) { ++inside; });
    node.markerX = new int32_t[inside];
    node.markerY = new int32_t[inside];
    ForEachMarkerIn(*this, node, [&node](int32_t cellX, int32_t cellY) {
        node.markerX[node.markerCount] = cellX;
        node.markerY[node.markerCount] = cellY;
        ++node.markerCount;
    });

    if (depth == 1) {
        return;  // a leaf has no children
    }
    ForEachQuarter(x, z, sizeX, sizeZ, [&](int i, float cornerX, float cornerZ, float halfX,
                                           float halfZ) {
        node.children[i] = new QuadNode;
        BuildQuadTree(*node.children[i], cornerX, cornerZ, halfX, halfZ, depth - 1);
    });
}

int32_t CollectVisibleMarkers(const QuadNode& root, const Frustum& frustum, int32_t* visibleX,
                              int32_t* visibleY) {
    VisibleLists visible{visibleX, visibleY, 0};
    CollectBelow(root, frustum, visible);
    return visible.count;
}
