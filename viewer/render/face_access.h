#pragma once
// Checked access from a face to its vertices and material, shared by the lighting passes and the
// styles. A face that names a vertex outside its mesh (or outside the projected points) is not
// drawn, and a face whose material index has no material is drawn as a plain mid-grey opaque
// material without texture, so no scene can make a frame read outside a table.

#include <cstddef>
#include <cstdint>

#include "scene/scene.h"

namespace maglorin {

// The colour of a face without a material (the "Box" style's colour when there are no materials).
inline constexpr ColourRGB kMissingMaterialColour{128, 128, 128};

inline std::size_t MeshCount(const Scene& scene) {
    if (scene.MeshUBound < 0) return 0;
    const std::size_t bound = static_cast<std::size_t>(scene.MeshUBound) + 1;
    return bound < scene.Meshes.size() ? bound : scene.Meshes.size();
}

inline std::size_t FaceCount(const MeshObject& mesh) {
    if (mesh.FaceUBound < 0) return 0;
    const std::size_t bound = static_cast<std::size_t>(mesh.FaceUBound) + 1;
    return bound < mesh.Faces.size() ? bound : mesh.Faces.size();
}

inline std::size_t VertexCount(const MeshObject& mesh) {
    if (mesh.VertexUBound < 0) return 0;
    const std::size_t bound = static_cast<std::size_t>(mesh.VertexUBound) + 1;
    return bound < mesh.Vertices.size() ? bound : mesh.Vertices.size();
}

inline bool HasVertexIndex(const MeshObject& mesh, std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < VertexCount(mesh) &&
           static_cast<std::size_t>(index) < mesh.ScreenPoints.size();
}

// All three corners exist with a projected point.
inline bool IsFaceDrawable(const MeshObject& mesh, const Face& face) {
    return HasVertexIndex(mesh, face.A) && HasVertexIndex(mesh, face.B) && HasVertexIndex(mesh, face.C);
}

inline const Material* FindMaterial(const Scene& scene, std::int32_t index) {
    if (index < 0 || index > scene.MaterialUBound || static_cast<std::size_t>(index) >= scene.Materials.size()) {
        return nullptr;
    }
    return &scene.Materials[static_cast<std::size_t>(index)];
}

inline ColourRGB DiffuseOf(const Material* material) {
    return material != nullptr ? material->Diffuse : kMissingMaterialColour;
}

inline float TransparencyOf(const Material* material) {
    return material != nullptr ? material->Transparency : 0.0f;
}

// The material's working texture has pixels the fillers can sample.
inline bool HasSampleablePixels(const Material* material) {
    return material != nullptr && material->TextureWorkPixels.Attached() && material->TextureWorkPixels.width >= 1 &&
           material->TextureWorkPixels.height >= 1;
}

// The material has a texture the fillers can sample.
inline bool HasUsableTexture(const Material* material) {
    return HasSampleablePixels(material) && material->HasTexture != kFalse16;
}

inline Vertex& VertexAt(MeshObject& mesh, std::int32_t index) {
    return mesh.Vertices[static_cast<std::size_t>(index)];
}
inline const Vertex& VertexAt(const MeshObject& mesh, std::int32_t index) {
    return mesh.Vertices[static_cast<std::size_t>(index)];
}
inline const ScreenPoint& PointAt(const MeshObject& mesh, std::int32_t index) {
    return mesh.ScreenPoints[static_cast<std::size_t>(index)];
}

// The mapped texture coordinate of a vertex; (0, 0) when the mapping list does not reach it.
inline TexCoord MappedAt(const MeshObject& mesh, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= mesh.MappedTexCoords.size()) return TexCoord{};
    return mesh.MappedTexCoords[static_cast<std::size_t>(index)];
}

}  // namespace maglorin
