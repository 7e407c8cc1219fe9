#include "scene/scene.h"

#include <algorithm>
#include <limits>

namespace maglorin {

namespace {

// Division that never divides by zero: a zero divisor becomes the single-precision 0.000001.
float GuardedDivide(float numerator, float divisor) {
    return numerator / (divisor == 0.0f ? 0.000001f : divisor);
}

Vec4 Point(float x, float y, float z) { return Vec4{x, y, z, 1.0f}; }

// Corner order of a box: bottom face (z min) counter-clockwise from (min, min), then the top.
void SetBoxCorners(MeshObject& mesh, const Vec4& lo, const Vec4& hi) {
    const Vec4 corners[8] = {
        Point(lo.x, lo.y, lo.z), Point(hi.x, lo.y, lo.z), Point(hi.x, hi.y, lo.z),
        Point(lo.x, hi.y, lo.z), Point(lo.x, lo.y, hi.z), Point(hi.x, lo.y, hi.z),
        Point(hi.x, hi.y, hi.z), Point(lo.x, hi.y, hi.z),
    };
    for (int i = 0; i < 8; ++i) {
        mesh.BoxVertices[i].Position = corners[i];
    }
}

// Two triangles per side; the CA edge is the side's diagonal and stays hidden in wireframes.
void SetBoxFaces(MeshObject& mesh) {
    static constexpr std::int32_t kCorners[12][3] = {
        {0, 1, 2}, {2, 3, 0}, {4, 5, 6}, {6, 7, 4}, {1, 2, 6}, {6, 5, 1},
        {0, 3, 7}, {7, 4, 0}, {2, 3, 7}, {7, 6, 2}, {4, 5, 1}, {1, 0, 4},
    };
    for (int i = 0; i < 12; ++i) {
        Face& face = mesh.BoxFaces[i];
        face.A = kCorners[i][0];
        face.B = kCorners[i][1];
        face.C = kCorners[i][2];
        face.EdgeAB = kTrue16;
        face.EdgeBC = kTrue16;
        face.EdgeCA = kFalse16;
        face.Material = 0;
    }
}

void Widen(Vec4& lo, Vec4& hi, const Vec4& p) {
    lo.x = std::min(lo.x, p.x);
    lo.y = std::min(lo.y, p.y);
    lo.z = std::min(lo.z, p.z);
    hi.x = std::max(hi.x, p.x);
    hi.y = std::max(hi.y, p.y);
    hi.z = std::max(hi.z, p.z);
}

// A fresh mesh record that keeps its tables' memory for the lists about to be read.
void StartFresh(MeshObject& mesh) {
    mesh.Name.clear();
    mesh.VertexUBound = -1;
    mesh.FaceUBound = -1;
    mesh.TexCoordUBound = -1;
    mesh.Vertices.clear();
    mesh.Faces.clear();
    mesh.ScreenPoints.clear();
    mesh.HasFaces = kFalse16;
    mesh.HasTexCoords = kFalse16;
    mesh.TexCoords.clear();
    mesh.MappedTexCoords.clear();
    mesh.BoxVertices = {};
    mesh.BoxScreenPoints = {};
    mesh.BoxFaces = {};
}

}  // namespace

void ResetCamera(Scene& scene) {
    const Matrix4 view = scene.Camera.ViewMatrix;  // rebuilt every frame; not part of the reset
    scene.Camera = Camera{};
    scene.Camera.ViewMatrix = view;
}

void ResetLight(Scene& scene) {
    Light& light = scene.Light;
    const Light fresh;
    light.Position = fresh.Position;
    light.Direction = fresh.Direction;
    light.Colour = fresh.Colour;
    light.Hotspot = fresh.Hotspot;
    light.Falloff = fresh.Falloff;
    light.RangeStart = fresh.RangeStart;
    light.RangeEnd = fresh.RangeEnd;
    light.Ambient = fresh.Ambient;
    light.DiffuseFactor = fresh.DiffuseFactor;
    light.SpecularFactor = fresh.SpecularFactor;
    light.Attenuate = fresh.Attenuate;
    light.Enabled = fresh.Enabled;
}

void ResetView(Scene& scene) {
    scene.ModelRotation = Vec4{0.0f, 0.0f, 0.0f, 1.0f};
    scene.ModelTranslation = scene.FitTranslation;
    scene.ModelScale = scene.FitScale;
}

void InitMaterial(Scene& scene, std::int32_t index) {
    Material& material = scene.Materials.at(static_cast<std::size_t>(index));
    material.Name = "Default";
    material.TextureFile.clear();
    material.UOffset = 0.0f;
    material.VOffset = 0.0f;
    material.UScale = 1.0f;
    material.VScale = 1.0f;
    material.Rotation = 0.0f;
    material.Mirror = kMirrorNone;
    material.Flip = kFlipNone;
    material.Texture.Delete(material.TexturePixels);
    material.TextureWork.Delete(material.TextureWorkPixels);
}

void BuildBoundingBox(Scene& scene, std::int32_t index) {
    MeshObject& mesh = scene.Meshes.at(static_cast<std::size_t>(index));
    if (mesh.VertexUBound < 0 || mesh.Vertices.empty()) {
        return;  // no vertex 0: the mesh keeps the corners it had
    }
    Vec4 lo = mesh.Vertices[0].Position;
    Vec4 hi = lo;
    const auto last = std::min<std::size_t>(static_cast<std::size_t>(mesh.VertexUBound),
                                            mesh.Vertices.size() - 1);
    for (std::size_t i = 1; i <= last; ++i) {
        Widen(lo, hi, mesh.Vertices[i].Position);
    }
    SetBoxCorners(mesh, lo, hi);
    SetBoxFaces(mesh);
}

void FitModelToView(Scene& scene) {
    if (scene.MeshUBound < 0 || scene.Meshes.empty()) {
        return;  // nothing to fit; the loader refuses such models
    }
    Vec4 lo = scene.Meshes[0].BoxVertices[0].Position;
    Vec4 hi = lo;
    for (std::int32_t m = 0; m <= scene.MeshUBound; ++m) {
        for (const Vertex& corner : scene.Meshes[static_cast<std::size_t>(m)].BoxVertices) {
            Widen(lo, hi, corner.Position);
        }
    }
    const Vec4 centre{(lo.x + hi.x) * 0.5f, (lo.y + hi.y) * 0.5f, (lo.z + hi.z) * 0.5f, 1.0f};
    const float dx = hi.x - lo.x;
    const float dy = hi.y - lo.y;
    const float size = dx > dy ? dx : dy;  // the z extent is not considered
    const float s = GuardedDivide(static_cast<float>(scene.ClipBottom), size) * 0.05f;
    scene.FitTranslation = Vec4{-centre.x, -centre.y, -centre.z, 1.0f};
    scene.FitScale = Vec4{s, s, s, 1.0f};
    ResetView(scene);
}

MeshObject* AppendMesh(Scene& scene) {
    if (scene.MeshUBound == std::numeric_limits<std::int16_t>::max()) {
        return nullptr;
    }
    ++scene.MeshUBound;
    const auto count = static_cast<std::size_t>(scene.MeshUBound) + 1;
    if (scene.Meshes.size() < count) {
        scene.Meshes.resize(count);
    }
    MeshObject& mesh = scene.Meshes[count - 1];
    StartFresh(mesh);
    return &mesh;
}

Material* AppendMaterial(Scene& scene) {
    if (scene.MaterialUBound == std::numeric_limits<std::int16_t>::max()) {
        return nullptr;
    }
    ++scene.MaterialUBound;
    const auto count = static_cast<std::size_t>(scene.MaterialUBound) + 1;
    if (scene.Materials.size() < count) {
        scene.Materials.resize(count);
    }
    InitMaterial(scene, scene.MaterialUBound);
    return &scene.Materials[count - 1];
}

}  // namespace maglorin
