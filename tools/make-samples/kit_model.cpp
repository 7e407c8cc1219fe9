#include "kit_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace maglorin::samples {

namespace {

// Shirt measures in model units; y up, the front faces +z.
constexpr float kHemY = -36.0f;
constexpr float kNeckY = 34.0f;         // neck base at the shoulder seam
constexpr float kNeckHalfWidth = 7.0f;
constexpr float kFrontNeckDip = 6.0f;   // the front neckline drops below the seam
constexpr float kBackNeckDip = 1.5f;
constexpr float kFrontNeckDepth = 6.0f; // half-depth of the neck opening in front of the axis
constexpr float kBackNeckDepth = 5.0f;
constexpr float kShoulderSlope = 0.30f;
constexpr float kShoulderRound = 0.78f;  // height fraction where the panels start to round over
constexpr int kPanelColumns = 24;
constexpr int kPanelRows = 32;
constexpr int kSleeveSegments = 24;
constexpr int kSleeveRings = 8;
constexpr int kCollarSegments = 48;
constexpr float kPi = std::numbers::pi_v<float>;

float Lerp(float a, float b, float t) { return a + (b - a) * t; }

// Half width of the torso at height fraction t (hem 0 .. shoulder 1).
float HalfWidth(float t) {
    if (t < 0.45f) {
        return Lerp(19.0f, 17.5f, t / 0.45f);             // hem in to the waist
    }
    if (t < 0.75f) {
        return Lerp(17.5f, 19.5f, (t - 0.45f) / 0.30f);   // waist out to the chest
    }
    return Lerp(19.5f, 21.0f, (t - 0.75f) / 0.25f);       // chest out to the shoulder point
}

// Half depth of the body at height fraction t (the chest is fuller than the waist).
float HalfDepth(float t) {
    if (t < 0.45f) {
        return Lerp(9.0f, 8.5f, t / 0.45f);
    }
    return Lerp(8.5f, 10.0f, std::min(1.0f, (t - 0.45f) / 0.30f));
}

// The shoulder seam and neckline seen from the front: height at x of the panel's top edge.
float TopEdgeY(float x, float neckDip) {
    const float ax = std::fabs(x);
    if (ax < kNeckHalfWidth) {
        const float q = ax / kNeckHalfWidth;
        return kNeckY - neckDip * std::sqrt(1.0f - q * q);
    }
    return kNeckY - (ax - kNeckHalfWidth) * kShoulderSlope;
}

// Depth of the panel's top edge: the neck opening's ellipse inside the neck, 0 on the seam.
float TopEdgeDepth(float x, float neckDepth) {
    const float q = std::fabs(x) / kNeckHalfWidth;
    return q < 1.0f ? neckDepth * std::sqrt(1.0f - q * q) : 0.0f;
}

struct PanelShape {
    float side;          // +1 front, -1 back
    float neckDip;
    float neckDepth;
    TextureRegion region;
};

Vec4 PanelPoint(const PanelShape& shape, float s, float t) {
    const float x = s * HalfWidth(t);
    const float y = Lerp(kHemY + 1.2f * s * s, TopEdgeY(x, shape.neckDip), t);
    // Rounded across the body (a superellipse, so the sides are full), 0 where front meets back.
    const float across = std::pow(std::max(0.0f, 1.0f - std::pow(std::fabs(s), 2.5f)), 0.4f);
    float depth = HalfDepth(t) * across;
    if (t > kShoulderRound) {
        const float u = (t - kShoulderRound) / (1.0f - kShoulderRound);
        const float top = TopEdgeDepth(x, shape.neckDepth);
        depth = top + (depth - top) * std::sqrt(std::max(0.0f, 1.0f - u * u));
    }
    return Vec4{x, y, shape.side * depth, 1.0f};
}

TexCoord RegionCoord(const TextureRegion& r, float fu, float fv) {
    return TexCoord{Lerp(r.u0, r.u1, fu), Lerp(r.v0, r.v1, fv)};
}

// Two triangles over the quad a-b-c-d, counter-clockwise seen from the outside.
void AddQuad(ModelMesh& mesh, int a, int b, int c, int d) {
    const auto index = [](int i) { return static_cast<std::uint16_t>(i); };
    mesh.faces.push_back(ModelFace{index(a), index(b), index(c), 6});  // AB and BC visible
    mesh.faces.push_back(ModelFace{index(c), index(d), index(a), 6});
}

// A grid of (columns + 1) x (rows + 1) vertices already in the mesh, starting at `first`.
void AddGridFaces(ModelMesh& mesh, int first, int columns, int rows, bool reversed) {
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            const int p00 = first + j * (columns + 1) + i;
            const int p10 = p00 + 1;
            const int p01 = p00 + columns + 1;
            const int p11 = p01 + 1;
            if (reversed) {
                AddQuad(mesh, p10, p00, p01, p11);
            } else {
                AddQuad(mesh, p00, p10, p11, p01);
            }
        }
    }
}

ModelMesh Panel(const std::string& name, const PanelShape& shape, int material) {
    ModelMesh mesh;
    mesh.name = name;
    const float widest = HalfWidth(1.0f);
    for (int j = 0; j <= kPanelRows; ++j) {
        const float t = static_cast<float>(j) / kPanelRows;
        for (int i = 0; i <= kPanelColumns; ++i) {
            const float s = Lerp(-1.0f, 1.0f, static_cast<float>(i) / kPanelColumns);
            const Vec4 p = PanelPoint(shape, s, t);
            mesh.vertices.push_back(p);
            // Seen from its own side the panel's left is -x in front and +x at the back, so a
            // picture painted upright in the region reads the right way round on the shirt.
            const float across = 0.5f + shape.side * p.x / (2.0f * widest);
            const float up = (p.y - kHemY) / (kNeckY - kHemY);
            mesh.texCoords.push_back(RegionCoord(shape.region, across, up));
        }
    }
    // Columns run along +x: counter-clockwise from +z for the front, reversed for the back.
    AddGridFaces(mesh, 0, kPanelColumns, kPanelRows, shape.side < 0.0f);
    std::vector<std::uint16_t> all(mesh.faces.size());
    for (std::size_t f = 0; f < all.size(); ++f) {
        all[f] = static_cast<std::uint16_t>(f);
    }
    mesh.faceMaterials.push_back(ModelFaceMaterial{material == kFrontMaterial ? "Front" : "Back",
                                                   all});
    return mesh;
}

Vec4 Add(const Vec4& a, const Vec4& b, float scale) {
    return Vec4{a.x + b.x * scale, a.y + b.y * scale, a.z + b.z * scale, 1.0f};
}

Vec4 CrossOf(const Vec4& a, const Vec4& b) {
    return Vec4{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x, 0.0f};
}

// A short sleeve: a tapering tube from the armhole outwards and down, seam underneath.
void AddSleeve(ModelMesh& mesh, float side, const TextureRegion& region) {
    const float angle = -32.0f * kPi / 180.0f;
    const Vec4 axis{side * std::cos(angle), std::sin(angle), 0.0f, 0.0f};
    const Vec4 start{side * 17.0f, 25.0f, 0.0f, 1.0f};
    const Vec4 e2{0.0f, 0.0f, 1.0f, 0.0f};
    const Vec4 e1 = CrossOf(e2, axis);  // e1 x e2 = axis, so the rings run counter-clockwise
    const float length = 17.0f;
    const int first = static_cast<int>(mesh.vertices.size());
    for (int j = 0; j <= kSleeveRings; ++j) {
        const float t = static_cast<float>(j) / kSleeveRings;
        const float radius = Lerp(8.2f, 6.3f, t);
        const Vec4 centre = Add(start, axis, length * t);
        for (int i = 0; i <= kSleeveSegments; ++i) {
            const float fu = static_cast<float>(i) / kSleeveSegments;
            const float phi = kPi + 2.0f * kPi * fu;  // from underneath, round and back
            const Vec4 radial = Add(Add(Vec4{}, e1, std::cos(phi)), e2, std::sin(phi));
            // Flatter front to back, like cloth hanging from the shoulder.
            const Vec4 offset{radial.x * radius, radial.y * radius, radial.z * radius * 0.85f, 0};
            mesh.vertices.push_back(Add(centre, offset, 1.0f));
            mesh.texCoords.push_back(RegionCoord(region, side > 0 ? fu : 1.0f - fu, 1.0f - t));
        }
    }
    // Around the ring runs "columns", along the axis "rows"; counter-clockwise from outside
    // either way, since each sleeve has its own right-handed frame.
    AddGridFaces(mesh, first, kSleeveSegments, kSleeveRings, false);
}

ModelMesh Sleeves() {
    ModelMesh mesh;
    mesh.name = "Sleeves";
    AddSleeve(mesh, -1.0f, kLeftSleeveRegion);
    AddSleeve(mesh, 1.0f, kRightSleeveRegion);
    std::vector<std::uint16_t> all(mesh.faces.size());
    for (std::size_t f = 0; f < all.size(); ++f) {
        all[f] = static_cast<std::uint16_t>(f);
    }
    mesh.faceMaterials.push_back(ModelFaceMaterial{"Sleeves", all});
    return mesh;
}

// The neckline as one loop: front half dipping lower, back half higher, phi = 0 at +x.
Vec4 NecklinePoint(float phi, float lift, float inset) {
    const float c = std::cos(phi);
    const float s = std::sin(phi);
    const bool front = s >= 0.0f;
    const float depth = front ? kFrontNeckDepth : kBackNeckDepth;
    const float dip = front ? kFrontNeckDip : kBackNeckDip;
    const float x = kNeckHalfWidth * c * inset;
    const float z = depth * s * inset;
    const float y = kNeckY - dip * std::fabs(s) + lift;
    return Vec4{x, y, z, 1.0f};
}

// A ribbed band standing on the neckline, textured from the collar strip of the template; its
// faces use the front material so the kit picture colours it too.
ModelMesh Collar() {
    ModelMesh mesh;
    mesh.name = "Collar";
    const float lifts[3] = {-0.3f, 1.2f, 2.6f};
    const float insets[3] = {1.04f, 1.0f, 0.93f};
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i <= kCollarSegments; ++i) {
            const float fu = static_cast<float>(i) / kCollarSegments;
            // Clockwise seen from above: with the rows going up, the band faces outwards.
            const float phi = -2.0f * kPi * fu;
            mesh.vertices.push_back(NecklinePoint(phi, lifts[j], insets[j]));
            mesh.texCoords.push_back(RegionCoord(kCollarRegion, fu, j / 2.0f));
        }
    }
    AddGridFaces(mesh, 0, kCollarSegments, 2, false);
    std::vector<std::uint16_t> all(mesh.faces.size());
    for (std::size_t f = 0; f < all.size(); ++f) {
        all[f] = static_cast<std::uint16_t>(f);
    }
    mesh.faceMaterials.push_back(ModelFaceMaterial{"Front", all});
    return mesh;
}

ModelMaterial KitMaterial(const std::string& name, const std::string& textureFile) {
    ModelMaterial material;
    material.name = name;
    material.red = 230;
    material.green = 230;
    material.blue = 230;
    material.textureFile = textureFile;
    return material;
}

}  // namespace

ModelDescription BuildKitModel(const std::string& textureFile) {
    ModelDescription model;
    model.materials = {KitMaterial("Front", textureFile), KitMaterial("Back", textureFile),
                       KitMaterial("Sleeves", textureFile)};
    model.meshes.push_back(
        Panel("Front", PanelShape{1.0f, kFrontNeckDip, kFrontNeckDepth, kFrontRegion},
              kFrontMaterial));
    model.meshes.push_back(
        Panel("Back", PanelShape{-1.0f, kBackNeckDip, kBackNeckDepth, kBackRegion},
              kBackMaterial));
    model.meshes.push_back(Sleeves());
    model.meshes.push_back(Collar());
    return model;
}

}  // namespace maglorin::samples
