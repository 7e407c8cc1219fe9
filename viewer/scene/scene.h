#pragma once
// The viewer's scene: the meshes and materials read from the model file, the model transform, one
// camera, one light, the viewport of the canvas, the two surfaces and the display switches. The
// program owns exactly one Scene for its lifetime; every part of the viewer reads or changes it
// through a reference. Tests build their own.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image/clsDIB.h"
#include "scene/scene_records.h"

namespace maglorin {

struct MeshObject {
    std::string Name;                 // name of the named-object chunk holding the mesh
    std::int32_t VertexUBound = -1;   // -1: empty vertex list
    std::int16_t FaceUBound = -1;     // -1: empty face list
    std::int16_t TexCoordUBound = -1;
    std::vector<Vertex> Vertices;          // 0..VertexUBound
    std::vector<Face> Faces;               // 0..FaceUBound
    std::vector<ScreenPoint> ScreenPoints; // same bounds as Vertices; pixels of this frame
    Bool16 HasFaces = kFalse16;
    Bool16 HasTexCoords = kFalse16;
    std::vector<TexCoord> TexCoords;        // as read from the file
    std::vector<TexCoord> MappedTexCoords;  // same bounds; texture-pixel coordinates
    std::array<Vertex, 8> BoxVertices{};          // corners of the bounding box
    std::array<ScreenPoint, 8> BoxScreenPoints{};  // projected corners ("Box" style)
    std::array<Face, 12> BoxFaces{};               // 12 triangles over the corners
};

// Mirror values of a material.
inline constexpr std::uint8_t kMirrorNone = 0;
inline constexpr std::uint8_t kMirrorLeftRight = 1;
inline constexpr std::uint8_t kMirrorTopBottom = 10;
inline constexpr std::uint8_t kMirrorBoth = 11;
// Flip values of a material.
// UseBackground: each frame starts from the background picture when it is not 0; the program
// sets this value.
inline constexpr std::int32_t kBackgroundShown = 5;

inline constexpr std::uint8_t kFlipNone = 0;
inline constexpr std::uint8_t kFlipUpsideDown = 1;
inline constexpr std::uint8_t kFlipLeftRight = 2;

struct Material {
    std::string Name = "Default";
    ColourRGB Diffuse;
    Bool16 HasTexture = kFalse16;
    std::string TextureFile;      // as named by the model file
    float UOffset = 0.0f;
    float VOffset = 0.0f;
    float UScale = 1.0f;          // tiling factors
    float VScale = 1.0f;
    float Rotation = 0.0f;        // degrees
    float Transparency = 0.0f;    // 0..1 from the model file
    std::uint8_t Mirror = kMirrorNone;
    std::uint8_t Flip = kFlipNone;
    // The picture as loaded and as the renderer samples it (after mirroring); both bottom row
    // first. Each material owns its two surfaces; the views are attached by their Create.
    clsDIB Texture;
    PixelView TexturePixels;
    clsDIB TextureWork;
    PixelView TextureWorkPixels;
};

struct Camera {
    Vec4 Position{0.0f, 0.0f, 120.0f, 1.0f};  // the eye
    Vec4 Target{0.0f, 0.0f, 0.0f, 1.0f};
    Vec4 Up{0.0f, 1.0f, 0.0f, 1.0f};
    float FocalLength = 1.0f;   // pixels = view x/z, y/z times FocalLength * 1000
    float Roll = 0.0f;          // degrees, whole number in -359..359
    float NearZ = 0.0f;         // inside the view volume: FarZ < z < NearZ (view looks down -z)
    float FarZ = -1000.0f;
    Matrix4 ViewMatrix;         // rebuilt every frame
};

struct Light {
    Vec4 Position{0.0f, 0.0f, 120.0f, 1.0f};
    Vec4 ViewPosition;          // working value of the light model
    Vec4 Direction{0.0f, 0.0f, 0.0f, 1.0f};
    Vec4 ViewDirection;         // working value of the light model
    ColourRGB Colour{130, 130, 130};
    float Hotspot = 5.0f;
    float Falloff = 0.5f;
    float RangeStart = 0.0f;
    float RangeEnd = 100.0f;
    ColourRGB Ambient{0, 0, 0};
    float DiffuseFactor = 2.0f;
    float SpecularFactor = 2.0f;
    Bool16 Attenuate = kFalse16;
    Bool16 Enabled = kTrue16;
};

// The process-wide state of the viewer, with the values it has after start-up.
struct Scene {
    // Tables indexed 0..UBound. Records beyond the bound may hold an earlier load's values:
    // a reload reuses records (see AppendMesh / AppendMaterial), it does not empty the tables.
    std::vector<MeshObject> Meshes;
    std::int16_t MeshUBound = -1;
    std::vector<Material> Materials;
    std::int16_t MaterialUBound = -1;
    std::vector<SortEntry> SortList;  // faces in drawing order

    Vec4 ModelRotation{0.0f, 0.0f, 0.0f, 1.0f};     // degrees about x, y, z
    Vec4 ModelTranslation{0.0f, 0.0f, 0.0f, 1.0f};
    Vec4 ModelScale{1.0f, 1.0f, 1.0f, 1.0f};        // x, y, z kept equal
    Matrix4 WorldMatrix;                            // rebuilt every frame
    Vec4 FitTranslation{0.0f, 0.0f, 0.0f, 1.0f};    // what ResetView restores
    Vec4 FitScale{1.0f, 1.0f, 1.0f, 1.0f};

    maglorin::Camera Camera;
    maglorin::Light Light;

    // Viewport: drawable pixels ClipLeft..ClipRight x ClipTop..ClipBottom, ends included.
    std::int32_t ClipLeft = 0;
    std::int32_t ClipRight = 0;
    std::int32_t ClipTop = 0;
    std::int32_t ClipBottom = 0;
    std::int32_t CanvasWidth = 0;
    std::int32_t CanvasHeight = 0;
    std::int32_t CentreX = 0;   // pixel where view x/z = y/z = 0 lands
    std::int32_t CentreY = 0;

    clsDIB FrameSurface;        // the frame being drawn, top row first
    PixelView FramePixels;
    clsDIB BackgroundSurface;   // the background picture at canvas size, top row first
    PixelView BackgroundPixels;

    Bool16 ModelLoaded = kFalse16;
    std::int32_t CurrentStyle = kStyleDot;
    std::string ModelFolder;    // folder of the model file, ending in a path separator
    Bool16 DoubleSided = kFalse16;  // "Show Backface"
    Bool16 LightOn = kFalse16;      // "Light"
    std::string BackgroundFile;     // program folder + "\BG.jpg"
    Bool16 WheelMouse = kFalse16;
    float KeyStep = 5.0f;
    std::int32_t UseBackground = kBackgroundShown;  // 0 or kBackgroundShown
};

// Camera and light to their defaults (the values the record types start with).
void ResetCamera(Scene& scene);
void ResetLight(Scene& scene);
// Model rotation to 0 and translation and scale to the fit values.
void ResetView(Scene& scene);
// Fresh values on material `index`; Diffuse, HasTexture and Transparency are kept, both texture
// surfaces are released and their views detached.
void InitMaterial(Scene& scene, std::int32_t index);
// Bounding box corners and faces of mesh `index`, which needs at least one vertex.
void BuildBoundingBox(Scene& scene, std::int32_t index);
// Centre the model and scale it so its larger x/y extent spans about 42 % of the canvas height
// with the default camera. Needs at least one mesh.
void FitModelToView(Scene& scene);

// Raise the upper bound by one and return the record there, or nullptr when the 16-bit bound is
// exhausted. The table grows to cover the new bound and is never shrunk. A material record
// already at that index keeps Diffuse, HasTexture and Transparency (InitMaterial sets the rest);
// a mesh record starts fresh, so no face or mapping list of an earlier load outlives its vertices.
MeshObject* AppendMesh(Scene& scene);
Material* AppendMaterial(Scene& scene);

}  // namespace maglorin
