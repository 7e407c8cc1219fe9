#include "render/modClipper.h"

#include "raster/rounding.h"
#include "scene/scene.h"

namespace maglorin {

namespace {

bool IsPointOutside(const ScreenPoint& p, const ClipRect& clip) {
    return p.x < clip.Left || p.x > clip.Right || p.y < clip.Top || p.y > clip.Bottom;
}

bool IsOrigin(const ScreenPoint& p) { return p.x == 0 && p.y == 0; }

bool IsEmpty(const ClippedSegment& s) { return s.a.x == 0 && s.a.y == 0 && s.b.x == 0 && s.b.y == 0; }

// One boundary of the Liang-Barsky walk; false when the segment is rejected.
bool ClipBoundary(float p, float q, float& t0, float& t1) {
    if (p == 0.0f) return !(q < 0.0f);
    const float r = q / p;
    if (p < 0.0f) {
        if (r > t1) return false;
        if (r > t0) t0 = r;
    } else {
        if (r < t0) return false;
        if (r < t1) t1 = r;
    }
    return true;
}

ScreenPoint RoundPoint(float x, float y) { return {RoundToInt32(x), RoundToInt32(y)}; }

struct EdgeState {
    ScreenPoint first;
    ScreenPoint second;
    ClippedSegment clipped;
    bool flag;
    bool out;
    bool empty;
};

EdgeState MakeEdge(const ScreenPoint& a, const ScreenPoint& b, bool flag, const ClipRect& clip) {
    EdgeState edge{a, b, ClipSegment(a, b, clip), flag, IsSegmentOutside(a, b, clip), false};
    edge.empty = IsEmpty(edge.clipped);
    return edge;
}

void AppendVisiblePart(const EdgeState& edge, bool lineMode, ClipPointList& clipPoints) {
    if (lineMode) {
        if (!edge.flag) return;
        if (!edge.out) {
            AddClipSegment(edge.first, edge.second, clipPoints);
        } else if (!edge.empty) {
            AddClipSegment(edge.clipped.a, edge.clipped.b, clipPoints);
        }
        return;
    }
    if (!edge.out) {
        AddClipPoint(edge.first, clipPoints);
        AddClipPoint(edge.second, clipPoints);
    } else if (!edge.empty) {
        AddClipPoint(edge.clipped.a, clipPoints);
        AddClipPoint(edge.clipped.b, clipPoints);
    }
}

}  // namespace

ClassifyResult ClipTriangle(const ScreenPoint& p, const ScreenPoint& q, const ScreenPoint& r, bool flagPQ,
                            bool flagQR, bool flagRP, bool lineMode, const ClipRect& clip,
                            ClipPointList& clipPoints) {
    clipPoints.assign(1, ScreenPoint{0, 0});

    // All three corners inside: no rectangle corner can lie strictly inside the triangle and every
    // edge clips to itself, so the answer is 2 unless an edge is the segment (0, 0)-(0, 0), which
    // counts as empty. The common case for a model on screen skips the general work.
    if (!IsPointOutside(p, clip) && !IsPointOutside(q, clip) && !IsPointOutside(r, clip) && !IsOrigin(p) &&
        !IsOrigin(q) && !IsOrigin(r)) {
        clipPoints.assign({ScreenPoint{0, 0}, p, q, r});
        return kWhollyInside;
    }

    const ScreenPoint corners[4] = {
        {clip.Left, clip.Bottom}, {clip.Left, clip.Top}, {clip.Right, clip.Top}, {clip.Right, clip.Bottom}};
    int cornersInside = 0;
    for (const ScreenPoint& corner : corners) {
        const bool inside = lineMode ? IsPointInTriangle(p, q, r, corner)
                                     : AddCornerIfInside(p, q, r, corner, clipPoints);
        if (inside) ++cornersInside;
    }
    if (cornersInside == 4) return kPartlyVisible;

    const EdgeState edges[3] = {MakeEdge(p, q, flagPQ, clip), MakeEdge(q, r, flagQR, clip),
                                MakeEdge(r, p, flagRP, clip)};
    bool allOutAndEmpty = true;
    bool noneOutOrEmpty = true;
    for (const EdgeState& edge : edges) {
        allOutAndEmpty = allOutAndEmpty && edge.out && edge.empty;
        noneOutOrEmpty = noneOutOrEmpty && !edge.out && !edge.empty;
    }
    if (allOutAndEmpty) return kNothingVisible;
    if (noneOutOrEmpty) {
        clipPoints.assign({ScreenPoint{0, 0}, p, q, r});
        return kWhollyInside;
    }
    for (const EdgeState& edge : edges) AppendVisiblePart(edge, lineMode, clipPoints);
    return kPartlyVisible;
}

ClippedSegment ClipSegment(const ScreenPoint& a, const ScreenPoint& b, const ClipRect& clip) {
    const float x0 = static_cast<float>(a.x);
    const float y0 = static_cast<float>(a.y);
    const float dx = static_cast<float>(b.x) - x0;
    const float dy = static_cast<float>(b.y) - y0;
    float t0 = 0.0f;
    float t1 = 1.0f;
    const float boundaries[4][2] = {{-dx, x0 - static_cast<float>(clip.Left)},
                                    {dx, static_cast<float>(clip.Right) - x0},
                                    {-dy, y0 - static_cast<float>(clip.Top)},
                                    {dy, static_cast<float>(clip.Bottom) - y0}};
    for (const auto& boundary : boundaries) {
        if (!ClipBoundary(boundary[0], boundary[1], t0, t1)) return ClippedSegment{};
    }
    ClippedSegment result{a, b};
    if (t1 < 1.0f) result.b = RoundPoint(x0 + t1 * dx, y0 + t1 * dy);
    if (t0 > 0.0f) result.a = RoundPoint(x0 + t0 * dx, y0 + t0 * dy);
    return result;
}

bool IsSegmentOutside(const ScreenPoint& a, const ScreenPoint& b, const ClipRect& clip) {
    return IsPointOutside(a, clip) || IsPointOutside(b, clip);
}

bool IsPointInTriangle(const ScreenPoint& p, const ScreenPoint& q, const ScreenPoint& r, const ScreenPoint& c) {
    const double px = static_cast<double>(p.x) - c.x, py = static_cast<double>(p.y) - c.y;
    const double qx = static_cast<double>(q.x) - c.x, qy = static_cast<double>(q.y) - c.y;
    const double rx = static_cast<double>(r.x) - c.x, ry = static_cast<double>(r.y) - c.y;
    const double e1 = qy * px - py * qx;
    const double e2 = qx * ry - qy * rx;
    const double e3 = py * rx - px * ry;
    return (e1 < 0.0 && e2 < 0.0 && e3 < 0.0) || (e1 > 0.0 && e2 > 0.0 && e3 > 0.0);
}

bool AddCornerIfInside(const ScreenPoint& p, const ScreenPoint& q, const ScreenPoint& r, const ScreenPoint& corner,
                       ClipPointList& clipPoints) {
    if (!IsPointInTriangle(p, q, r, corner)) return false;
    clipPoints.push_back(corner);
    return true;
}

void AddClipPoint(const ScreenPoint& point, ClipPointList& clipPoints) {
    for (const ScreenPoint& existing : clipPoints) {
        if (existing.x == point.x && existing.y == point.y) return;
    }
    clipPoints.push_back(point);
}

void AddClipSegment(const ScreenPoint& a, const ScreenPoint& b, ClipPointList& clipPoints) {
    clipPoints.push_back(a);
    clipPoints.push_back(b);
}

namespace {

bool IsVertexIndex(const std::vector<ScreenPoint>& points, std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < points.size();
}

}  // namespace

ClassifyResult ClassifyFace(const MeshObject& mesh, std::int32_t faceIndex, bool useBox, bool lineMode,
                            const ClipRect& clip, ClipPointList& clipPoints) {
    clipPoints.assign(1, ScreenPoint{0, 0});
    if (useBox) {
        if (faceIndex < 0 || static_cast<std::size_t>(faceIndex) >= mesh.BoxFaces.size()) return kNothingVisible;
        const Face& face = mesh.BoxFaces[static_cast<std::size_t>(faceIndex)];
        const auto corner = [&](std::int32_t i) { return mesh.BoxScreenPoints[static_cast<std::size_t>(i) & 7u]; };
        if (face.A < 0 || face.A > 7 || face.B < 0 || face.B > 7 || face.C < 0 || face.C > 7) return kNothingVisible;
        return ClipTriangle(corner(face.A), corner(face.B), corner(face.C), face.EdgeAB != kFalse16,
                            face.EdgeBC != kFalse16, face.EdgeCA != kFalse16, lineMode, clip, clipPoints);
    }
    if (faceIndex < 0 || static_cast<std::size_t>(faceIndex) >= mesh.Faces.size()) return kNothingVisible;
    const Face& face = mesh.Faces[static_cast<std::size_t>(faceIndex)];
    const std::vector<ScreenPoint>& points = mesh.ScreenPoints;
    if (!IsVertexIndex(points, face.A) || !IsVertexIndex(points, face.B) || !IsVertexIndex(points, face.C)) {
        return kNothingVisible;
    }
    const bool allEdges = mesh.HasFaces == kFalse16;
    return ClipTriangle(points[static_cast<std::size_t>(face.A)], points[static_cast<std::size_t>(face.B)],
                        points[static_cast<std::size_t>(face.C)], allEdges || face.EdgeAB != kFalse16,
                        allEdges || face.EdgeBC != kFalse16, allEdges || face.EdgeCA != kFalse16, lineMode, clip,
                        clipPoints);
}

}  // namespace maglorin
