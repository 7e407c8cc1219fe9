#include "render/lighting_pass.h"

#include "geometry/vector_math.h"
#include "raster/modShade.h"
#include "render/face_access.h"

namespace maglorin {

namespace {

void ClearFaceMarks(MeshObject& mesh, const Face& face) {
    if (!IsFaceDrawable(mesh, face)) return;
    VertexAt(mesh, face.A).Transformed = kFalse16;
    VertexAt(mesh, face.B).Transformed = kFalse16;
    VertexAt(mesh, face.C).Transformed = kFalse16;
}

void ColourFace(Scene& scene, std::size_t meshIndex, std::size_t faceIndex, bool light) {
    if (light) {
        LightFaceVertices(scene, static_cast<std::int32_t>(meshIndex), static_cast<std::int32_t>(faceIndex));
    } else {
        ColourFaceVerticesUnlit(scene, static_cast<std::int32_t>(meshIndex), static_cast<std::int32_t>(faceIndex));
    }
}

// The face at (meshIndex, faceIndex) when both exist and its corners are drawable.
const Face* DrawableFace(const Scene& scene, std::int32_t meshIndex, std::int32_t faceIndex) {
    if (meshIndex < 0 || static_cast<std::size_t>(meshIndex) >= MeshCount(scene)) return nullptr;
    const MeshObject& mesh = scene.Meshes[static_cast<std::size_t>(meshIndex)];
    if (faceIndex < 0 || static_cast<std::size_t>(faceIndex) >= FaceCount(mesh)) return nullptr;
    const Face& face = mesh.Faces[static_cast<std::size_t>(faceIndex)];
    return IsFaceDrawable(mesh, face) ? &face : nullptr;
}

}  // namespace

void LightFaceVertices(Scene& scene, std::int32_t meshIndex, std::int32_t faceIndex) {
    const Face* face = DrawableFace(scene, meshIndex, faceIndex);
    if (face == nullptr) return;
    MeshObject& mesh = scene.Meshes[static_cast<std::size_t>(meshIndex)];
    const Vec4 normal = FaceNormal(VertexAt(mesh, face->A).ViewPositionRaw, VertexAt(mesh, face->B).ViewPositionRaw,
                                   VertexAt(mesh, face->C).ViewPositionRaw);
    const ColourRGB diffuse = DiffuseOf(FindMaterial(scene, face->Material));
    for (const std::int32_t index : {face->A, face->B, face->C}) {
        Vertex& vertex = VertexAt(mesh, index);
        if (vertex.Transformed != kFalse16) continue;
        vertex.Colour = ShadeVertex(vertex.ViewPosition, diffuse, normal, scene.Light, scene.Camera);
        vertex.Transformed = kTrue16;
    }
}

void ColourFaceVerticesUnlit(Scene& scene, std::int32_t meshIndex, std::int32_t faceIndex) {
    const Face* face = DrawableFace(scene, meshIndex, faceIndex);
    if (face == nullptr) return;
    MeshObject& mesh = scene.Meshes[static_cast<std::size_t>(meshIndex)];
    const ColourRGB diffuse = DiffuseOf(FindMaterial(scene, face->Material));
    for (const std::int32_t index : {face->A, face->B, face->C}) {
        Vertex& vertex = VertexAt(mesh, index);
        if (vertex.Transformed != kFalse16) continue;
        vertex.Colour = diffuse;
        vertex.Transformed = kTrue16;
    }
}

void LightAllMeshes(Scene& scene, bool light) {
    const std::size_t meshes = MeshCount(scene);
    for (std::size_t m = 0; m < meshes; ++m) {
        MeshObject& mesh = scene.Meshes[m];
        const std::size_t faces = FaceCount(mesh);
        for (std::size_t j = 0; j < faces; ++j) ClearFaceMarks(mesh, mesh.Faces[j]);
        for (std::size_t j = 0; j < faces; ++j) ColourFace(scene, m, j, light);
    }
}

void LightSortedFaces(Scene& scene, bool light) {
    for (const SortEntry& entry : scene.SortList) {
        const Face* face = DrawableFace(scene, entry.MeshIndex, entry.FaceIndex);
        if (face != nullptr) ClearFaceMarks(scene.Meshes[static_cast<std::size_t>(entry.MeshIndex)], *face);
    }
    for (const SortEntry& entry : scene.SortList) {
        ColourFace(scene, static_cast<std::size_t>(entry.MeshIndex), static_cast<std::size_t>(entry.FaceIndex), light);
    }
}

}  // namespace maglorin
