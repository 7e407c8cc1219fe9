#pragma once
// Turns the corner points of a clipped face's visible polygon into triangles so the system fills
// can draw it: Delaunay triangulation by incremental insertion (Bowyer-Watson) inside an
// enclosing super-triangle. The points of a clipped triangle are the corners of a convex polygon,
// so the triangles exactly cover it.

#include <cstdint>
#include <vector>

#include "render/modClipper.h"

namespace maglorin {

// Three indices into the ClipPointList (1..n).
struct ClipTriangleIndices {
    std::int32_t A = 0;
    std::int32_t B = 0;
    std::int32_t C = 0;
};

// Triangles in `triangles` at 1..ntri (index 0 unused); the list is resized as the working
// triangulation needs (2n + 1 slots for n points, grown further should rounding ever need it).
// Returns ntri; 0 means nothing to draw (fewer than three distinct points, or all collinear).
std::int32_t Triangulate(const ClipPointList& clipPoints, std::vector<ClipTriangleIndices>& triangles);

struct CircleTest {
    bool inside = false;
    float centreX = 0.0f;
    float centreY = 0.0f;
};

// Circumcircle test of point (px, py) against the circle through three corners, single precision;
// corners collinear (in y, or with equal slopes) answer not inside, and so does a point exactly on
// the circle.
CircleTest InCircle(const ScreenPoint& p, const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c);

}  // namespace maglorin
