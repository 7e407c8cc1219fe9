// The point and line styles: "Dot", "Box", "Wireframe", "Wireframe Map" and "Wireframe BFC".
#include <array>

#include "geometry/face_ordering.h"
#include "raster/flat_triangle.h"
#include "raster/modColor.h"
#include "raster/textured_line.h"
#include "render/face_access.h"
#include "render/lighting_pass.h"
#include "render/style_drawing.h"
#include "scene/material_textures.h"

namespace maglorin {

namespace {

// EdgeAB, EdgeBC, EdgeCA; all set when the mesh was read without a face list.
std::array<bool, 3> EdgeFlags(const MeshObject& mesh, const Face& face) {
    if (mesh.HasFaces == kFalse16) return {true, true, true};
    return {face.EdgeAB != kFalse16, face.EdgeBC != kFalse16, face.EdgeCA != kFalse16};
}

// The flagged edges of a face wholly inside, each in the colour of its first vertex.
void DrawFlaggedEdges(const FrameContext& frame, const MeshObject& mesh, const Face& face) {
    const std::array<bool, 3> flags = EdgeFlags(mesh, face);
    const std::array<std::int32_t, 4> corners{face.A, face.B, face.C, face.A};
    for (std::size_t e = 0; e < 3; ++e) {
        if (!flags[e]) continue;
        DrawLine(frame, PointAt(mesh, corners[e]), PointAt(mesh, corners[e + 1]), VertexAt(mesh, corners[e]).Colour);
    }
}

// "Wireframe" for one face. partColour: the colour of the visible segments of a clipped face.
void DrawWireFace(const FrameContext& frame, const MeshObject& mesh, const Face& face, ClassifyResult r,
                  const ColourRGB& partColour) {
    if (r == kPartlyVisible) DrawClipSegments(frame, partColour);
    if (r == kWhollyInside) DrawFlaggedEdges(frame, mesh, face);
}

ColourRGB WireframePartColour(const Scene& scene, const MeshObject& mesh, const Face& face) {
    if (mesh.HasFaces == kFalse16) return VertexAt(mesh, face.A).Colour;
    return DiffuseOf(FindMaterial(scene, face.Material));
}

// The common prelude of the face styles: drawable, inside the depth range, then classified.
ClassifyResult PrepareFace(FrameContext& frame, const MeshObject& mesh, std::int32_t faceIndex, bool lineMode) {
    const Face& face = mesh.Faces[static_cast<std::size_t>(faceIndex)];
    if (!IsFaceDrawable(mesh, face) || !IsFaceDepthInside(frame.scene.Camera, mesh, face)) return kNothingVisible;
    return ClassifyFaceIn(frame, mesh, faceIndex, false, lineMode);
}

void DrawTexturedEdges(FrameContext& frame, std::size_t meshIndex, std::int32_t faceIndex, const Material& material) {
    MapFaceTexCoords(frame.scene, static_cast<std::int32_t>(meshIndex), faceIndex);
    const MeshObject& mesh = frame.scene.Meshes[meshIndex];
    const Face& face = mesh.Faces[static_cast<std::size_t>(faceIndex)];
    const std::array<bool, 3> flags = EdgeFlags(mesh, face);
    const std::array<std::int32_t, 4> corners{face.A, face.B, face.C, face.A};
    for (std::size_t e = 0; e < 3; ++e) {
        if (!flags[e]) continue;
        TexturedLine(frame.target, PointAt(mesh, corners[e]), MappedAt(mesh, corners[e]), PointAt(mesh, corners[e + 1]),
                     MappedAt(mesh, corners[e + 1]), material.TextureWorkPixels);
    }
}

}  // namespace

void DrawDots(FrameContext& frame) {
    Scene& scene = frame.scene;
    LightAllMeshes(scene, scene.LightOn != kFalse16);
    const PixelView& pixels = frame.target.frame;
    const std::size_t meshes = MeshCount(scene);
    for (std::size_t m = 0; m < meshes; ++m) {
        const MeshObject& mesh = scene.Meshes[m];
        const std::size_t count = std::min(VertexCount(mesh), mesh.ScreenPoints.size());
        for (std::size_t i = 0; i < count; ++i) {
            const ScreenPoint& p = mesh.ScreenPoints[i];
            if (!IsPointOnScreen(scene, p) || !IsDepthInside(scene.Camera, mesh.Vertices[i].ViewPosition.z)) continue;
            const std::uint32_t pixel = ColourToPixel(mesh.Vertices[i].Colour);
            for (const auto& [dx, dy] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{1, 1}, std::pair{0, 1}}) {
                if (pixels.Contains(p.x + dx, p.y + dy)) pixels(p.x + dx, p.y + dy) = pixel;
            }
        }
    }
}

void DrawBoxes(FrameContext& frame) {
    const Scene& scene = frame.scene;
    const std::size_t meshes = MeshCount(scene);
    for (std::size_t m = 0; m < meshes; ++m) {
        const MeshObject& mesh = scene.Meshes[m];
        ColourRGB colour = kMissingMaterialColour;
        if (scene.MaterialUBound != -1 && FaceCount(mesh) > 0) {
            colour = DiffuseOf(FindMaterial(scene, mesh.Faces[0].Material));
        }
        for (std::int32_t k = 0; k < 12; ++k) {
            const ClassifyResult r = ClassifyFaceIn(frame, mesh, k, true, true);
            if (r == kPartlyVisible) DrawClipSegments(frame, colour);
            if (r != kWhollyInside) continue;
            const Face& face = mesh.BoxFaces[static_cast<std::size_t>(k)];
            const auto corner = [&](std::int32_t i) { return mesh.BoxScreenPoints[static_cast<std::size_t>(i & 7)]; };
            DrawLine(frame, corner(face.A), corner(face.B), colour);
            DrawLine(frame, corner(face.B), corner(face.C), colour);
        }
    }
}

void DrawWireframe(FrameContext& frame) {
    Scene& scene = frame.scene;
    LightAllMeshes(scene, scene.LightOn != kFalse16);
    const std::size_t meshes = MeshCount(scene);
    for (std::size_t m = 0; m < meshes; ++m) {
        const MeshObject& mesh = scene.Meshes[m];
        const std::size_t faces = FaceCount(mesh);
        for (std::size_t j = 0; j < faces; ++j) {
            const ClassifyResult r = PrepareFace(frame, mesh, static_cast<std::int32_t>(j), true);
            if (r == kNothingVisible) continue;
            const Face& face = mesh.Faces[j];
            DrawWireFace(frame, mesh, face, r, WireframePartColour(scene, mesh, face));
        }
    }
}

void DrawWireframeMap(FrameContext& frame) {
    Scene& scene = frame.scene;
    LightAllMeshes(scene, false);
    const std::size_t meshes = MeshCount(scene);
    for (std::size_t m = 0; m < meshes; ++m) {
        const std::size_t faces = FaceCount(scene.Meshes[m]);
        for (std::size_t j = 0; j < faces; ++j) {
            const MeshObject& mesh = scene.Meshes[m];
            const ClassifyResult r = PrepareFace(frame, mesh, static_cast<std::int32_t>(j), true);
            if (r == kNothingVisible) continue;
            const Face& face = mesh.Faces[j];
            if (mesh.HasTexCoords == kFalse16) {
                DrawWireFace(frame, mesh, face, r, WireframePartColour(scene, mesh, face));
                continue;
            }
            const Material* material = FindMaterial(scene, face.Material);
            if (HasUsableTexture(material)) {
                DrawTexturedEdges(frame, m, static_cast<std::int32_t>(j), *material);
            } else {
                DrawWireFace(frame, mesh, face, r, VertexAt(mesh, face.A).Colour);
            }
        }
    }
}

void DrawWireframeBFC(FrameContext& frame) {
    Scene& scene = frame.scene;
    if (BuildFrontList(scene) < 0) return;
    LightSortedFaces(scene, scene.LightOn != kFalse16);
    for (const SortEntry& entry : scene.SortList) {
        const MeshObject& mesh = scene.Meshes[static_cast<std::size_t>(entry.MeshIndex)];
        const ClassifyResult r = PrepareFace(frame, mesh, entry.FaceIndex, true);
        if (r == kNothingVisible) continue;
        const Face& face = mesh.Faces[static_cast<std::size_t>(entry.FaceIndex)];
        // Hide what lies behind the face by painting it with the background picture.
        const FlatFace hidden{PointAt(mesh, face.A), PointAt(mesh, face.B), PointAt(mesh, face.C),
                              DiffuseOf(FindMaterial(scene, face.Material))};
        FlatTriangle(frame.target, scene.BackgroundPixels, hidden, 1.0f, frame.work.flatSpans);
        DrawWireFace(frame, mesh, face, r, VertexAt(mesh, face.A).Colour);
    }
}

}  // namespace maglorin
