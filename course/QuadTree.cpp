#include "course/Course.h"

QuadNode::QuadNode() = default;
QuadNode::~QuadNode() {}
void Course::BuildQuadTree(QuadNode&, float, float, float, float, int32_t) {}
void Course::CollectVisible(QuadNode&, float, float, float, float, int32_t) {}
void Course::VisitNode(QuadNode&, float, float, float, float, int32_t) {}
