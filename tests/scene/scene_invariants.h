#pragma once
// What every successfully loaded scene must satisfy for the renderer to index it safely.

#include <gtest/gtest.h>

#include "scene/scene.h"

namespace maglorin::test_support {

inline ::testing::AssertionResult SceneIsSafeToDraw(const Scene& scene) {
    if (scene.MeshUBound < 0 || static_cast<std::size_t>(scene.MeshUBound) >= scene.Meshes.size()) {
        return ::testing::AssertionFailure() << "mesh bound " << scene.MeshUBound;
    }
    if (static_cast<std::size_t>(scene.MaterialUBound + 1) > scene.Materials.size()) {
        return ::testing::AssertionFailure() << "material bound " << scene.MaterialUBound;
    }
    for (std::int32_t m = 0; m <= scene.MeshUBound; ++m) {
        const MeshObject& mesh = scene.Meshes[static_cast<std::size_t>(m)];
        const auto vertices = static_cast<std::size_t>(mesh.VertexUBound + 1);
        if (mesh.Vertices.size() < vertices || mesh.ScreenPoints.size() < vertices) {
            return ::testing::AssertionFailure() << "mesh " << m << " vertex tables too short";
        }
        if (mesh.FaceUBound >= 0 && mesh.Faces.size() < static_cast<std::size_t>(mesh.FaceUBound + 1)) {
            return ::testing::AssertionFailure() << "mesh " << m << " face table too short";
        }
        for (std::int32_t f = 0; f <= mesh.FaceUBound; ++f) {
            const Face& face = mesh.Faces[static_cast<std::size_t>(f)];
            for (std::int32_t index : {face.A, face.B, face.C}) {
                if (index < 0 || index > mesh.VertexUBound) {
                    return ::testing::AssertionFailure()
                           << "mesh " << m << " face " << f << " vertex " << index;
                }
            }
            if (face.Material < 0 || (face.Material != 0 && face.Material > scene.MaterialUBound)) {
                return ::testing::AssertionFailure() << "face material " << face.Material;
            }
        }
        if (mesh.HasTexCoords != kFalse16 &&
            (mesh.TexCoordUBound < mesh.VertexUBound ||
             mesh.TexCoords.size() < static_cast<std::size_t>(mesh.TexCoordUBound + 1) ||
             mesh.MappedTexCoords.size() < mesh.TexCoords.size())) {
            return ::testing::AssertionFailure() << "mesh " << m << " mapping too short";
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace maglorin::test_support
