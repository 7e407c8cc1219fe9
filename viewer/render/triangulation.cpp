#include "render/triangulation.h"

#include <algorithm>
#include <cmath>

#include "raster/rounding.h"

namespace maglorin {

namespace {

constexpr float kEpsilon = 0.000001f;

// Midpoint of two integer coordinates: the integer sum times 0.5, in single precision.
float Mid(std::int32_t a, std::int32_t b) {
    return static_cast<float>(static_cast<std::int64_t>(a) + b) * 0.5f;
}

struct EdgePair {
    std::int32_t a = 0;
    std::int32_t b = 0;
};

bool SameEdge(const EdgePair& e, const EdgePair& f) {
    return (e.a == f.b && e.b == f.a) || (e.a == f.a && e.b == f.b);
}

void AppendTriangle(std::vector<ClipTriangleIndices>& triangles, std::int32_t& ntri, ClipTriangleIndices t) {
    ++ntri;
    if (static_cast<std::size_t>(ntri) >= triangles.size()) triangles.resize(static_cast<std::size_t>(ntri) + 1);
    triangles[static_cast<std::size_t>(ntri)] = t;
}

// Moves the last triangle into slot j and shrinks the list.
void RemoveTriangle(std::vector<ClipTriangleIndices>& triangles, std::int32_t& ntri, std::int32_t j) {
    triangles[static_cast<std::size_t>(j)] = triangles[static_cast<std::size_t>(ntri)];
    --ntri;
}

void DeleteDuplicateEdges(std::vector<EdgePair>& edges) {
    for (std::size_t j = 0; j + 1 < edges.size(); ++j) {
        for (std::size_t k = j + 1; k < edges.size(); ++k) {
            if (SameEdge(edges[j], edges[k])) {
                edges[j] = EdgePair{};
                edges[k] = EdgePair{};
            }
        }
    }
}

void InsertPoint(const std::vector<ScreenPoint>& points, std::int32_t i, std::vector<ClipTriangleIndices>& triangles,
                 std::int32_t& ntri, std::vector<EdgePair>& edges) {
    edges.clear();
    const auto at = [&](std::int32_t index) { return points[static_cast<std::size_t>(index)]; };
    std::int32_t j = 1;
    while (j <= ntri) {
        const ClipTriangleIndices t = triangles[static_cast<std::size_t>(j)];
        if (InCircle(at(i), at(t.A), at(t.B), at(t.C)).inside) {
            edges.push_back({t.A, t.B});
            edges.push_back({t.B, t.C});
            edges.push_back({t.C, t.A});
            RemoveTriangle(triangles, ntri, j);
            continue;  // examine slot j again
        }
        ++j;
    }
    DeleteDuplicateEdges(edges);
    for (const EdgePair& e : edges) {
        if (e.a != 0 && e.b != 0) AppendTriangle(triangles, ntri, {e.a, e.b, i});
    }
}

}  // namespace

CircleTest InCircle(const ScreenPoint& p, const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c) {
    const float x1 = static_cast<float>(a.x), y1 = static_cast<float>(a.y);
    const float x2 = static_cast<float>(b.x), y2 = static_cast<float>(b.y);
    const float x3 = static_cast<float>(c.x), y3 = static_cast<float>(c.y);
    CircleTest result;
    if (std::fabs(y1 - y2) < kEpsilon && std::fabs(y2 - y3) < kEpsilon) return result;

    float xc = 0.0f;
    float yc = 0.0f;
    if (std::fabs(y2 - y1) < kEpsilon) {
        const float m2 = -(x3 - x2) / (y3 - y2);
        const float mx2 = Mid(b.x, c.x), my2 = Mid(b.y, c.y);
        xc = Mid(b.x, a.x);
        yc = m2 * (xc - mx2) + my2;
    } else if (std::fabs(y3 - y2) < kEpsilon) {
        const float m1 = -(x2 - x1) / (y2 - y1);
        const float mx1 = Mid(a.x, b.x), my1 = Mid(a.y, b.y);
        xc = Mid(c.x, b.x);
        yc = m1 * (xc - mx1) + my1;
    } else {
        const float m1 = -(x2 - x1) / (y2 - y1);
        const float m2 = -(x3 - x2) / (y3 - y2);
        // Equal slopes: the corners are collinear and have no circle.
        if (m1 == m2) return result;
        const float mx1 = Mid(a.x, b.x), my1 = Mid(a.y, b.y);
        const float mx2 = Mid(b.x, c.x), my2 = Mid(b.y, c.y);
        xc = (m1 * mx1 - m2 * mx2 + my2 - my1) / (m1 - m2);
        yc = m1 * (xc - mx1) + my1;
    }
    const float dx = x2 - xc, dy = y2 - yc;
    const float radiusSquared = dx * dx + dy * dy;
    const float px = static_cast<float>(p.x) - xc, py = static_cast<float>(p.y) - yc;
    result.inside = px * px + py * py < radiusSquared;
    result.centreX = xc;
    result.centreY = yc;
    return result;
}

std::int32_t Triangulate(const ClipPointList& clipPoints, std::vector<ClipTriangleIndices>& triangles) {
    const std::int32_t n = static_cast<std::int32_t>(clipPoints.size()) - 1;
    triangles.assign(static_cast<std::size_t>(2 * std::max(n, 0) + 2), ClipTriangleIndices{});
    if (n < 1) return 0;

    std::int32_t xmin = clipPoints[1].x, xmax = xmin, ymin = clipPoints[1].y, ymax = ymin;
    for (std::int32_t i = 2; i <= n; ++i) {
        xmin = std::min(xmin, clipPoints[static_cast<std::size_t>(i)].x);
        xmax = std::max(xmax, clipPoints[static_cast<std::size_t>(i)].x);
        ymin = std::min(ymin, clipPoints[static_cast<std::size_t>(i)].y);
        ymax = std::max(ymax, clipPoints[static_cast<std::size_t>(i)].y);
    }
    const float dx = static_cast<float>(static_cast<std::int64_t>(xmax) - xmin);
    const float dy = static_cast<float>(static_cast<std::int64_t>(ymax) - ymin);
    const float dmax = dx > dy ? dx : dy;
    const float d2 = dmax * 2.0f;
    const std::int32_t xmid = RoundToInt32(Mid(xmin, xmax));
    const std::int32_t ymid = RoundToInt32(Mid(ymin, ymax));
    const float fxmid = static_cast<float>(xmid), fymid = static_cast<float>(ymid);

    std::vector<ScreenPoint> points(clipPoints.begin(), clipPoints.end());
    points.push_back({RoundToInt32(fxmid - d2), RoundToInt32(fymid - dmax)});
    points.push_back({xmid, RoundToInt32(fymid + d2)});
    points.push_back({RoundToInt32(fxmid + d2), RoundToInt32(fymid - dmax)});

    std::int32_t ntri = 0;
    AppendTriangle(triangles, ntri, {n + 1, n + 2, n + 3});
    std::vector<EdgePair> edges;
    for (std::int32_t i = 1; i <= n; ++i) InsertPoint(points, i, triangles, ntri, edges);

    std::int32_t j = 1;
    while (j <= ntri) {
        const ClipTriangleIndices t = triangles[static_cast<std::size_t>(j)];
        if (t.A > n || t.B > n || t.C > n) {
            RemoveTriangle(triangles, ntri, j);
            continue;
        }
        ++j;
    }
    return ntri;
}

}  // namespace maglorin
