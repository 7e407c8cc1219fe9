#pragma once
// Classifies one projected triangle against the clip rectangle and, when it is only partly
// inside, leaves the visible part in a ClipPointList: pairs of segment end points in line mode
// (wireframe styles), the corners of the visible polygon in polygon mode (filled styles, which
// triangulate them).
//
// ClipPointList: index 0 always holds a dummy (0, 0) that carries no point; a result's points are
// at 1..size-1. The caller owns the list and reads it before the next face is classified.

#include <cstdint>
#include <vector>

#include "raster/clip_rect.h"
#include "scene/scene_records.h"

namespace maglorin {

struct MeshObject;

using ClipPointList = std::vector<ScreenPoint>;

enum ClassifyResult : std::int32_t {
    kNothingVisible = 0,
    kPartlyVisible = 1,   // or the triangle covers the whole rectangle; the visible part is listed
    kWhollyInside = 2,    // the list holds the three corners at 1..3
};

struct ClippedSegment {
    ScreenPoint a;
    ScreenPoint b;
};

// Gathers the face's corners and edge flags and calls ClipTriangle. useBox: `faceIndex` selects
// one of the mesh's 12 BoxFaces over BoxScreenPoints. An index outside its table (face, vertex or
// box) classifies as nothing visible and leaves only the dummy entry.
ClassifyResult ClassifyFace(const MeshObject& mesh, std::int32_t faceIndex, bool useBox, bool lineMode,
                            const ClipRect& clip, ClipPointList& clipPoints);

ClassifyResult ClipTriangle(const ScreenPoint& p, const ScreenPoint& q, const ScreenPoint& r, bool flagPQ,
                            bool flagQR, bool flagRP, bool lineMode, const ClipRect& clip,
                            ClipPointList& clipPoints);

// Liang-Barsky in single precision; end points rounded halves to even; (0, 0)-(0, 0) when nothing
// of the segment is inside.
ClippedSegment ClipSegment(const ScreenPoint& a, const ScreenPoint& b, const ClipRect& clip);

// True when either end point lies outside the rectangle.
bool IsSegmentOutside(const ScreenPoint& a, const ScreenPoint& b, const ClipRect& clip);

// Strict inside test in double precision: a point on an edge or a corner is not inside.
bool IsPointInTriangle(const ScreenPoint& p, const ScreenPoint& q, const ScreenPoint& r, const ScreenPoint& c);

// Appends `corner` and reports true when it lies inside the triangle.
bool AddCornerIfInside(const ScreenPoint& p, const ScreenPoint& q, const ScreenPoint& r, const ScreenPoint& corner,
                       ClipPointList& clipPoints);

// Appends `point` unless an entry (the dummy included) has the same x and y.
void AddClipPoint(const ScreenPoint& point, ClipPointList& clipPoints);

// Appends a and then b, without a duplicate test.
void AddClipSegment(const ScreenPoint& a, const ScreenPoint& b, ClipPointList& clipPoints);

}  // namespace maglorin
