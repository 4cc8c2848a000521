// The marker quadtree's walk for one view: the markers of the leaves whose block passes the
// view's frustum. The tree is the course's (CourseData::BuildQuadTree); the frustum and the
// lists belong to whoever draws or weighs the view (the drawn Course, the checker's cost).
#pragma once

#include <cstdint>

#include "course/Frustum.h"
#include "course/QuadNode.h"

// Fills visibleX and visibleY, each with room for the root's markerCount entries, with the
// grid cells of the markers of the leaves in view: leaf by leaf in depth-first child order,
// each leaf's markers in grid scan order. The root itself is never tested. Returns how many.
int32_t CollectVisibleMarkers(const QuadNode& root, const Frustum& frustum, int32_t* visibleX,
                              int32_t* visibleY);
