// The filled styles in the painter's order: "Flat", "Gouraud", "Mapped" and "Photo Realistic".
// Opaque faces go to the drawing services (whole faces directly, clipped ones triangulated
// first); transparent and textured faces go to the program's own column fillers.
#include <vector>

#include "geometry/face_ordering.h"
#include "raster/flat_triangle.h"
#include "raster/gradient_triangle.h"
#include "raster/modColor.h"
#include "raster/photo_triangle.h"
#include "raster/rounding.h"
#include "raster/system_drawing.h"
#include "raster/texture_triangle.h"
#include "render/face_access.h"
#include "render/lighting_pass.h"
#include "render/style_drawing.h"
#include "render/triangulation.h"
#include "scene/material_textures.h"

namespace maglorin {

namespace {

// One sorted face with what every filled style needs about it.
struct FaceJob {
    std::size_t meshIndex = 0;
    std::int32_t faceIndex = 0;
    const MeshObject* mesh = nullptr;
    const Face* face = nullptr;
    const Material* material = nullptr;  // nullptr: the index names no material
    ClassifyResult r = kNothingVisible;
    float t = 0.0f;

    const ScreenPoint& Point(std::int32_t i) const { return PointAt(*mesh, i); }
    const ColourRGB& Colour(std::int32_t i) const { return VertexAt(*mesh, i).Colour; }
};

void FillTriangleSystem(const FrameContext& frame, const FaceJob& job) {
    const Face& f = *job.face;
    const ColourRGB colour = AverageColour(job.Colour(f.A), job.Colour(f.B), job.Colour(f.C));
    const ScreenPoint corners[3] = {job.Point(f.A), job.Point(f.B), job.Point(f.C)};
    FillSystemPolygon(frame.target.frame, corners, 3, ColourToSystem(colour));
}

void FillClipPolygonSystem(FrameContext& frame, const FaceJob& job) {
    const Face& f = *job.face;
    const ColourRGB colour = AverageColour(job.Colour(f.A), job.Colour(f.B), job.Colour(f.C));
    const ClipPointList& points = frame.work.clipPoints;
    const std::int32_t count = Triangulate(points, frame.work.triangles);
    for (std::int32_t n = 1; n <= count; ++n) {
        const ClipTriangleIndices& tri = frame.work.triangles[static_cast<std::size_t>(n)];
        const ScreenPoint corners[3] = {points[static_cast<std::size_t>(tri.A)], points[static_cast<std::size_t>(tri.B)],
                                        points[static_cast<std::size_t>(tri.C)]};
        FillSystemPolygon(frame.target.frame, corners, 3, ColourToSystem(colour));
    }
}

void GradientTriangleSystem(const FrameContext& frame, const FaceJob& job) {
    const Face& f = *job.face;
    GradientFillTriangle(frame.target.frame, MakeGradientCorner(job.Point(f.A), job.Colour(f.A)),
                         MakeGradientCorner(job.Point(f.B), job.Colour(f.B)),
                         MakeGradientCorner(job.Point(f.C), job.Colour(f.C)));
}

void GradientClipPolygonSystem(FrameContext& frame, const FaceJob& job) {
    const Face& f = *job.face;
    const ClipPointList& points = frame.work.clipPoints;
    const std::int32_t count = Triangulate(points, frame.work.triangles);
    if (count < 1) return;
    std::vector<ColourRGB>& colours = frame.work.clipColours;
    colours.assign(points.size(), ColourRGB{});
    for (std::size_t i = 1; i < points.size(); ++i) {
        colours[i] = ClipPointColour(job.Point(f.A), job.Point(f.B), job.Point(f.C), job.Colour(f.A), job.Colour(f.B),
                                     job.Colour(f.C), points[i]);
    }
    for (std::int32_t n = 1; n <= count; ++n) {
        const ClipTriangleIndices& tri = frame.work.triangles[static_cast<std::size_t>(n)];
        const auto corner = [&](std::int32_t i) {
            return MakeGradientCorner(points[static_cast<std::size_t>(i)], colours[static_cast<std::size_t>(i)]);
        };
        GradientFillTriangle(frame.target.frame, corner(tri.A), corner(tri.B), corner(tri.C));
    }
}

void DrawFlatFace(FrameContext& frame, const FaceJob& job) {
    const Face& f = *job.face;
    if (job.t != 0.0f) {
        const bool light = frame.scene.LightOn != kFalse16;
        const FlatFace face{job.Point(f.A), job.Point(f.B), job.Point(f.C),
                            FlatFaceColour(light, job.Colour(f.A), job.Colour(f.B), job.Colour(f.C),
                                           DiffuseOf(job.material))};
        FlatTriangle(frame.target, frame.scene.BackgroundPixels, face, job.t, frame.work.flatSpans);
        return;
    }
    if (job.r == kPartlyVisible) FillClipPolygonSystem(frame, job);
    if (job.r == kWhollyInside) FillTriangleSystem(frame, job);
}

void DrawGouraudFace(FrameContext& frame, const FaceJob& job) {
    const Face& f = *job.face;
    if (job.t != 0.0f) {
        const GradientFace face{job.Point(f.A),  job.Point(f.B),  job.Point(f.C),
                                job.Colour(f.A), job.Colour(f.B), job.Colour(f.C)};
        GradientTriangle(frame.target, face, job.t, frame.work.gradientSpans);
        return;
    }
    if (job.r == kPartlyVisible) GradientClipPolygonSystem(frame, job);
    if (job.r == kWhollyInside) GradientTriangleSystem(frame, job);
}

void DrawMappedFace(FrameContext& frame, const FaceJob& job) {
    if (job.mesh->HasTexCoords == kFalse16 || !HasUsableTexture(job.material)) {
        DrawFlatFace(frame, job);
        return;
    }
    const Face& f = *job.face;
    const ColourRGB average = AverageColour(job.Colour(f.A), job.Colour(f.B), job.Colour(f.C));
    const std::int16_t shade = Channel16(std::int32_t{average.red} - job.material->Diffuse.red);
    MapFaceTexCoords(frame.scene, static_cast<std::int32_t>(job.meshIndex), job.faceIndex);
    const TextureFace face{job.Point(f.A),         job.Point(f.B),         job.Point(f.C),
                           MappedAt(*job.mesh, f.A), MappedAt(*job.mesh, f.B), MappedAt(*job.mesh, f.C)};
    TextureTriangle(frame.target, face, job.material->TextureWorkPixels, job.t, frame.scene.LightOn != kFalse16, shade,
                    frame.work.textureSpans);
}

void DrawPhotoFace(FrameContext& frame, const FaceJob& job) {
    // The style does not ask whether the material has a texture, only whether the mesh is
    // mapped; a material without any picture to sample is drawn untextured, as in "Gouraud".
    if (job.mesh->HasTexCoords == kFalse16 || !HasSampleablePixels(job.material)) {
        DrawGouraudFace(frame, job);
        return;
    }
    const Face& f = *job.face;
    const ColourRGB& diffuse = job.material->Diffuse;
    const std::int32_t sum = std::int32_t{diffuse.red} + diffuse.green + diffuse.blue;
    const std::int16_t grey = RoundToInt16(static_cast<float>(Channel16(sum)) * kOneThird);
    MapFaceTexCoords(frame.scene, static_cast<std::int32_t>(job.meshIndex), job.faceIndex);
    const PhotoFace face{job.Point(f.A),          job.Point(f.B),          job.Point(f.C),
                         MappedAt(*job.mesh, f.A), MappedAt(*job.mesh, f.B), MappedAt(*job.mesh, f.C),
                         job.Colour(f.A),          job.Colour(f.B),          job.Colour(f.C)};
    PhotoTriangle(frame.target, face, job.material->TextureWorkPixels, job.t, grey, frame.work.photoSpans);
}

void DrawSortedFace(FrameContext& frame, const FaceJob& job, std::int32_t style) {
    switch (style) {
        case kStyleFlat: DrawFlatFace(frame, job); break;
        case kStyleGouraud: DrawGouraudFace(frame, job); break;
        case kStyleMapped: DrawMappedFace(frame, job); break;
        default: DrawPhotoFace(frame, job); break;
    }
}

// Lights and draws the faces now in SortList.
void DrawSortList(FrameContext& frame, std::int32_t style) {
    Scene& scene = frame.scene;
    const bool alwaysLit = style == kStyleGouraud || style == kStylePhotoRealistic;
    LightSortedFaces(scene, alwaysLit || scene.LightOn != kFalse16);
    for (const SortEntry& entry : scene.SortList) {
        FaceJob job;
        job.meshIndex = static_cast<std::size_t>(entry.MeshIndex);
        job.faceIndex = entry.FaceIndex;
        job.mesh = &scene.Meshes[job.meshIndex];
        job.face = &job.mesh->Faces[static_cast<std::size_t>(entry.FaceIndex)];
        if (!IsFaceDrawable(*job.mesh, *job.face) || !IsFaceDepthInside(scene.Camera, *job.mesh, *job.face)) continue;
        job.r = ClassifyFaceIn(frame, *job.mesh, job.faceIndex, false, false);
        if (job.r == kNothingVisible) continue;
        job.material = FindMaterial(scene, job.face->Material);
        job.t = TransparencyOf(job.material);
        DrawSortedFace(frame, job, style);
    }
}

}  // namespace

void DrawFilledStyle(FrameContext& frame, std::int32_t style) {
    Scene& scene = frame.scene;
    if (scene.DoubleSided != kFalse16 && BuildBackList(scene) >= 0) DrawSortList(frame, style);
    if (BuildFrontList(scene) >= 0) DrawSortList(frame, style);
}

}  // namespace maglorin
