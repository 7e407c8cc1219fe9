#include "geometry/face_ordering.h"

#include <algorithm>
#include <utility>

#include "geometry/vector_math.h"

namespace maglorin {

namespace {

bool HasVertex(const MeshObject& mesh, std::int32_t index) {
    return index >= 0 && index <= mesh.VertexUBound && static_cast<std::size_t>(index) < mesh.Vertices.size();
}

std::size_t FaceCount(const MeshObject& mesh) {
    const std::size_t bound = mesh.FaceUBound < 0 ? 0 : static_cast<std::size_t>(mesh.FaceUBound) + 1;
    return bound < mesh.Faces.size() ? bound : mesh.Faces.size();
}

// front: keep faces with n.z > 0; otherwise those with n.z < 0.
std::int32_t BuildList(Scene& scene, bool front) {
    std::vector<SortEntry>& list = scene.SortList;
    list.clear();
    std::size_t total = 0;
    const std::size_t meshCount =
        scene.MeshUBound < 0 ? 0 : std::min(static_cast<std::size_t>(scene.MeshUBound) + 1, scene.Meshes.size());
    for (std::size_t m = 0; m < meshCount; ++m) total += FaceCount(scene.Meshes[m]);
    list.reserve(total);

    for (std::size_t m = 0; m < meshCount; ++m) {
        MeshObject& mesh = scene.Meshes[m];
        const std::size_t faces = FaceCount(mesh);
        for (std::size_t j = 0; j < faces; ++j) {
            Face& face = mesh.Faces[j];
            if (!HasVertex(mesh, face.A) || !HasVertex(mesh, face.B) || !HasVertex(mesh, face.C)) continue;
            const Vec4& a = mesh.Vertices[static_cast<std::size_t>(face.A)].ViewPosition;
            const Vec4& b = mesh.Vertices[static_cast<std::size_t>(face.B)].ViewPosition;
            const Vec4& c = mesh.Vertices[static_cast<std::size_t>(face.C)].ViewPosition;
            face.ScreenNormal = FaceNormal(a, b, c);
            const float z = face.ScreenNormal.z;
            if (front ? z > 0.0f : z < 0.0f) {
                list.push_back(SortEntry{static_cast<std::int16_t>(m), static_cast<std::int32_t>(j), a.z + b.z + c.z});
            }
        }
    }
    const std::int32_t last = static_cast<std::int32_t>(list.size()) - 1;
    if (last >= 0) SortByDepth(list, 0, last);
    return last;
}

// round((lo + hi) * 0.5) with halves to even, for a non-negative sum.
std::int32_t MiddleIndex(std::int32_t lo, std::int32_t hi) {
    const std::int64_t sum = static_cast<std::int64_t>(lo) + hi;
    std::int64_t half = sum / 2;
    if (sum % 2 != 0 && half % 2 != 0) ++half;  // x.5 goes to the even neighbour
    return static_cast<std::int32_t>(half);
}

}  // namespace

std::int32_t BuildFrontList(Scene& scene) { return BuildList(scene, true); }

std::int32_t BuildBackList(Scene& scene) { return BuildList(scene, false); }

void SortByDepth(std::vector<SortEntry>& list, std::int32_t lo, std::int32_t hi) {
    if (lo < 0) lo = 0;
    if (hi >= static_cast<std::int32_t>(list.size())) hi = static_cast<std::int32_t>(list.size()) - 1;
    // The two parts of a partition are disjoint, so sorting them in either order gives the same
    // list; the larger one is taken by the loop so that the stack stays logarithmic.
    while (lo < hi) {
        const std::int32_t mid = MiddleIndex(lo, hi);
        const float pivot = list[static_cast<std::size_t>(mid)].Depth;
        std::int32_t i = lo;
        std::int32_t j = hi;
        for (;;) {
            while (list[static_cast<std::size_t>(i)].Depth < pivot) ++i;
            while (list[static_cast<std::size_t>(j)].Depth > pivot) --j;
            if (j < i) break;
            std::swap(list[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(j)]);
            ++i;
            --j;
            if (j < i) break;
        }
        if (j - lo < hi - i) {
            SortByDepth(list, lo, j);
            lo = i;
        } else {
            SortByDepth(list, i, hi);
            hi = j;
        }
    }
}

}  // namespace maglorin
