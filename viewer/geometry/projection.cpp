#include "geometry/projection.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geometry/vector_math.h"

namespace maglorin {

std::int32_t RoundPixel(float value) {
    if (std::isnan(value)) return 0;
    const double v = value;
    if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    // floor by truncation and one comparison, then the exact fraction decides (no library
    // rounding mode involved); every float of this range is exact in a double.
    std::int64_t below = static_cast<std::int64_t>(v);
    if (static_cast<double>(below) > v) --below;
    const double fraction = v - static_cast<double>(below);
    if (fraction > 0.5 || (fraction == 0.5 && (below & 1) != 0)) ++below;
    if (below > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(below);
}

void ProjectVertexTable(const Matrix4& viewWorld, float focalFactor, std::int32_t centreX, std::int32_t centreY,
                        Vertex* vertices, std::size_t count, ScreenPoint* points) {
    const float cx = static_cast<float>(centreX);
    const float cy = static_cast<float>(centreY);
    for (std::size_t i = 0; i < count; ++i) {
        Vertex& vertex = vertices[i];
        const Vec4 p = MatVecMul(viewWorld, vertex.Position);
        vertex.ViewPositionRaw = p;
        vertex.ViewPosition = p;
        if (p.z != 0.0f) {
            vertex.ViewPosition.x = p.x / p.z;
            vertex.ViewPosition.y = p.y / p.z;
        }
        points[i].x = RoundPixel(focalFactor * vertex.ViewPosition.x + cx);
        points[i].y = RoundPixel(focalFactor * vertex.ViewPosition.y + cy);
    }
}

void ProjectVertices(Scene& scene) {
    scene.Camera.ViewMatrix = BuildViewMatrix(scene.Camera);
    scene.WorldMatrix = BuildWorldMatrix(scene);
    const Matrix4 viewWorld = MatMulAffine(scene.WorldMatrix, scene.Camera.ViewMatrix);
    const float k = scene.Camera.FocalLength * 1000.0f;
    const bool box = scene.CurrentStyle == kStyleBox;

    const std::size_t meshCount =
        scene.MeshUBound < 0 ? 0 : std::min(static_cast<std::size_t>(scene.MeshUBound) + 1, scene.Meshes.size());
    for (std::size_t m = 0; m < meshCount; ++m) {
        MeshObject& mesh = scene.Meshes[m];
        if (mesh.VertexUBound <= 0) continue;  // at least two vertices
        if (box) {
            ProjectVertexTable(viewWorld, k, scene.CentreX, scene.CentreY, mesh.BoxVertices.data(),
                               mesh.BoxVertices.size(), mesh.BoxScreenPoints.data());
            continue;
        }
        const std::size_t count = std::min(static_cast<std::size_t>(mesh.VertexUBound) + 1, mesh.Vertices.size());
        if (mesh.ScreenPoints.size() < count) mesh.ScreenPoints.resize(count);
        ProjectVertexTable(viewWorld, k, scene.CentreX, scene.CentreY, mesh.Vertices.data(), count,
                           mesh.ScreenPoints.data());
    }
}

}  // namespace maglorin
