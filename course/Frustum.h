// The six clip planes of the view being drawn, in world coordinates.
#pragma once

class Frustum {
public:
    // Takes the planes from a projection and a modelview matrix (column-major, as GL gives
    // them); the drawn course passes the current ones (Course::UpdateFrustum).
    void Update(const float projection[16], const float modelview[16]);
    // True when the point lies less than 20 units outside every plane. The game culls whole
    // blocks with BoxInside; the tests check the planes with single points through this.
    bool PointInside(float x, float y, float z) const;
    // True unless, for some plane, the box's corner farthest along the plane's normal lies 20
    // or more units outside it. Box corners low and high are (x, y, z).
    bool BoxInside(const float low[3], const float high[3]) const;

    float _planes[6][4] = {};  // right, left, bottom, top, far, near; (a, b, c, d)
};

void NormalizePlane(float planes[6][4], int index);
