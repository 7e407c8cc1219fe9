// The render pipeline's guarantees: every style draws the sample kit without touching anything
// outside the canvas or its tables (run under ASan/UBSan in the sanitizer tree), back faces stay
// hidden unless asked for, the depth and screen tests, the lighting passes, and the sound handling
// of scenes that name missing materials or vertices, or that reach depth 0.
#include "render/modVisualisation.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "geometry/face_ordering.h"
#include "geometry/projection.h"
#include "raster/modColor.h"
#include "render/lighting_pass.h"
#include "render/style_drawing.h"
#include "raster_test_support.h"
#include "render_test_kit.h"

namespace maglorin {
namespace {

using test_support::KitOptions;
using test_support::PrepareKit;

constexpr int kFilledStyles[] = {kStyleFlat, kStyleGouraud, kStyleMapped, kStylePhotoRealistic};

// Whether the frame holds exactly the background picture.
bool FrameIsBackground(const Scene& scene) {
    const PixelView& f = scene.FramePixels;
    const PixelView& b = scene.BackgroundPixels;
    for (int y = 0; y < f.height; ++y) {
        for (int x = 0; x < f.width; ++x) {
            if (f(x, y) != b(x, y)) return false;
        }
    }
    return true;
}

// A canvas with a background whose every pixel differs, and no model yet.
Scene SmallScene(int width, int height) {
    Scene scene;
    std::string error;
    EXPECT_TRUE(render_tool::SizeCanvas(scene, width, height, "", error)) << error;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) scene.BackgroundPixels(x, y) = static_cast<std::uint32_t>(0x010000 + x * 3 + y * 512);
    }
    scene.ModelLoaded = kTrue16;
    return scene;
}

// One mesh in world units (with the default camera one unit at z = 0 is 1000 / 120 pixels).
void AddMesh(Scene& scene, const std::vector<Vec4>& positions, const std::vector<std::array<int, 4>>& faces) {
    MeshObject* mesh = AppendMesh(scene);
    ASSERT_NE(mesh, nullptr);
    for (const Vec4& p : positions) {
        Vertex v;
        v.Position = Vec4{p.x, p.y, p.z, 1.0f};
        mesh->Vertices.push_back(v);
    }
    mesh->VertexUBound = static_cast<std::int32_t>(positions.size()) - 1;
    mesh->ScreenPoints.resize(positions.size());
    for (const auto& f : faces) {
        Face face;
        face.A = f[0];
        face.B = f[1];
        face.C = f[2];
        face.Material = static_cast<std::int16_t>(f[3]);
        face.EdgeAB = face.EdgeBC = face.EdgeCA = kTrue16;
        mesh->Faces.push_back(face);
    }
    mesh->FaceUBound = static_cast<std::int16_t>(faces.size() - 1);
    mesh->HasFaces = kTrue16;
    BuildBoundingBox(scene, scene.MeshUBound);
}

void AddMaterial(Scene& scene, ColourRGB diffuse, float transparency = 0.0f) {
    Material* m = AppendMaterial(scene);
    ASSERT_NE(m, nullptr);
    m->Diffuse = diffuse;
    m->Transparency = transparency;
}

void Render(Scene& scene) {
    ProjectVertices(scene);
    RenderFrame(scene);
}

// A front-facing triangle around the canvas centre (world x to the right, y up).
const std::vector<Vec4> kCentreTriangle = {{-2, -2, 0, 1}, {2, -2, 0, 1}, {0, 2, 0, 1}};

// Views of the kit that reach every path: whole, turned round, clipped on every side, close to
// the eye, lit and double-sided.
struct KitView {
    std::string name;
    render_tool::Triple rotate;
    float scale;
    render_tool::Triple translate;
    bool light;
    bool backfaces;
};
const std::vector<KitView> kKitViews = {
    {"front", {0, 0, 0}, 1.0f, {0, 0, 0}, false, false},
    {"turned and lit", {15, 160, 5}, 1.0f, {0, 0, 0}, true, true},
    {"clipped large", {0, 30, 0}, 6.0f, {0, 0, 0}, true, false},
    {"off the top left", {0, 0, 0}, 2.0f, {30, -20, 0}, false, true},
    {"off the bottom right", {0, -40, 0}, 2.0f, {-30, 20, 0}, true, false},
    {"through the eye plane", {70, 20, 0}, 4.0f, {0, 0, 112}, true, true},
};

// The kit is read and its pictures decoded once per test; each view only changes the scene's
// transform and switches, as the window's keys and menus do.
void ApplyKitView(Scene& scene, const KitView& view, int style) {
    scene.ModelRotation = Vec4{view.rotate.x, view.rotate.y, view.rotate.z, 1.0f};
    scene.ModelScale = Vec4{scene.FitScale.x * view.scale, scene.FitScale.y * view.scale,
                            scene.FitScale.z * view.scale, 1.0f};
    scene.ModelTranslation = Vec4{scene.FitTranslation.x + view.translate.x, scene.FitTranslation.y + view.translate.y,
                                  scene.FitTranslation.z + view.translate.z, 1.0f};
    scene.LightOn = ToBool16(view.light);
    scene.DoubleSided = ToBool16(view.backfaces);
    scene.CurrentStyle = style;
}

TEST(RenderFrame, EveryStyleDrawsTheSampleKitInsideTheCanvas) {
    Scene scene;
    std::string error;
    ASSERT_TRUE(PrepareKit(scene, KitOptions(96, 72), error)) << error;
    for (int style = 0; style < kVisualStyleCount; ++style) {
        for (const KitView& view : kKitViews) {
            ApplyKitView(scene, view, style);
            Render(scene);
            EXPECT_EQ(scene.FramePixels.width, 96);
            EXPECT_EQ(scene.FramePixels.height, 72);
            if (view.name == "front") {
                EXPECT_FALSE(FrameIsBackground(scene)) << "style " << style << " drew nothing";
            }
        }
    }
}

// Turns every face that faces the viewer edge-on, so that only back faces remain.
void KeepOnlyBackFaces(Scene& scene) {
    ProjectVertices(scene);
    BuildFrontList(scene);
    for (const SortEntry& e : scene.SortList) {
        Face& face = scene.Meshes[static_cast<std::size_t>(e.MeshIndex)].Faces[static_cast<std::size_t>(e.FaceIndex)];
        face.B = face.A;
        face.C = face.A;
    }
}

TEST(RenderFrame, BackFacesAreDrawnOnlyWhenAskedFor) {
    Scene scene;
    std::string error;
    ASSERT_TRUE(PrepareKit(scene, KitOptions(96, 72), error)) << error;
    const KitView turned{"turned", {10, 35, 0}, 1.0f, {0, 0, 0}, false, false};
    ApplyKitView(scene, turned, kStyleFlat);
    KeepOnlyBackFaces(scene);
    ASSERT_GE(BuildBackList(scene), 0) << "the kit has faces turned away";
    for (const int style : kFilledStyles) {
        for (const bool light : {false, true}) {
            scene.CurrentStyle = style;
            scene.LightOn = ToBool16(light);
            scene.DoubleSided = kFalse16;
            Render(scene);
            EXPECT_TRUE(FrameIsBackground(scene)) << "style " << style << ": a back face was drawn";
            scene.DoubleSided = kTrue16;
            Render(scene);
            EXPECT_FALSE(FrameIsBackground(scene)) << "style " << style << ": back faces asked for but not drawn";
        }
    }
}

TEST(RenderFrame, BackFacesArePaintedBeforeEveryFrontFace) {
    // A small front face far away and a large back face close by, over the same pixels.
    Scene scene = SmallScene(64, 48);
    AddMaterial(scene, {200, 0, 0});
    AddMaterial(scene, {0, 0, 200});
    AddMesh(scene, {{-1, -1, -50, 1}, {1, -1, -50, 1}, {0, 1, -50, 1}, {-3, -3, 10, 1}, {0, 3, 10, 1}, {3, -3, 10, 1}},
            {{0, 1, 2, 0}, {3, 4, 5, 1}});
    scene.CurrentStyle = kStyleFlat;
    scene.DoubleSided = kTrue16;
    Render(scene);
    EXPECT_EQ(scene.FramePixels(32, 24), 0x00C80000u) << "the far front face lies over the near back face";
    EXPECT_EQ(scene.FramePixels(32, 8), 0x000000C8u) << "the back face shows around the front face";
}

TEST(RenderFrame, FacesTouchingTheNearOrFarPlaneAreSkipped) {
    for (const int style : {kStyleWireframe, kStyleWireframeMap, kStyleWireframeBFC, kStyleFlat, kStyleGouraud,
                            kStyleMapped, kStylePhotoRealistic}) {
        for (const float z : {120.0f, -880.0f}) {  // view depth exactly NearZ (0) and FarZ (-1000)
            Scene scene = SmallScene(64, 48);
            AddMaterial(scene, {200, 100, 50});
            std::vector<Vec4> corners = kCentreTriangle;
            corners[2].z = z;
            AddMesh(scene, corners, {{0, 1, 2, 0}});
            scene.CurrentStyle = style;
            Render(scene);
            EXPECT_TRUE(FrameIsBackground(scene)) << "style " << style << " depth " << z;
        }
    }
}

TEST(RenderFrame, DotsKeepStrictlyInsideTheClipRectangle) {
    Scene scene = SmallScene(64, 48);
    AddMaterial(scene, {255, 255, 255});
    AddMesh(scene, {{0, 0, 0, 1}, {1, 0, 0, 1}}, {{0, 1, 1, 0}});
    scene.CurrentStyle = kStyleDot;
    ProjectVertices(scene);
    LightAllMeshes(scene, false);
    // Put the projected points where the edge rules bite, then draw without projecting again.
    MeshObject& mesh = scene.Meshes[0];
    mesh.ScreenPoints[0] = ScreenPoint{0, 10};          // on ClipLeft: not drawn
    mesh.ScreenPoints[1] = ScreenPoint{62, 46};         // ClipRight - 1, ClipBottom - 1: drawn
    RenderWork work;
    StartFrame(scene);
    DrawStyle(scene, work);
    EXPECT_EQ(scene.FramePixels(0, 10), scene.BackgroundPixels(0, 10));
    EXPECT_EQ(scene.FramePixels(1, 10), scene.BackgroundPixels(1, 10));
    EXPECT_EQ(scene.FramePixels(62, 46), 0x00FFFFFFu);
    EXPECT_EQ(scene.FramePixels(63, 46), 0x00FFFFFFu) << "the second column lands on ClipRight";
    EXPECT_EQ(scene.FramePixels(63, 47), 0x00FFFFFFu);
}

TEST(RenderFrame, FacesWithoutMaterialAreDrawnMidGrey) {
    for (const int materials : {0, 1}) {
        Scene scene = SmallScene(64, 48);
        if (materials == 1) AddMaterial(scene, {10, 20, 30});
        AddMesh(scene, kCentreTriangle, {{0, 1, 2, 5}});
        scene.CurrentStyle = kStyleFlat;
        Render(scene);
        EXPECT_EQ(scene.FramePixels(32, 24), 0x00808080u) << materials;
        for (int style = 0; style < kVisualStyleCount; ++style) {
            scene.CurrentStyle = style;
            scene.LightOn = kTrue16;
            Render(scene);  // every style copes with the missing material
        }
    }
}

TEST(RenderFrame, FacesNamingMissingVerticesAreLeftOut) {
    Scene scene = SmallScene(64, 48);
    AddMaterial(scene, {200, 0, 0});
    AddMesh(scene, kCentreTriangle, {{0, 1, 7, 0}, {-3, 1, 2, 0}, {0, 1, 2, 0}});
    for (int style = 0; style < kVisualStyleCount; ++style) {
        scene.CurrentStyle = style;
        Render(scene);
    }
    scene.CurrentStyle = kStyleFlat;
    Render(scene);
    EXPECT_EQ(scene.FramePixels(32, 24), 0x00C80000u) << "the good face is still drawn";
    // Projected points that do not reach every vertex: nothing is read past them.
    scene.Meshes[0].ScreenPoints.resize(2);
    RenderWork work;
    StartFrame(scene);
    DrawStyle(scene, work);
    EXPECT_TRUE(FrameIsBackground(scene));
}

// A small opaque triangle in the lower left (material 1), and, when asked, two meshes whose corners
// lie a hair in front of the eye, on its plane or behind it (material 0, transparency t), so they
// project millions of pixels away or saturate the pixel positions.
Scene NearEyeScene(int style, float t, bool nearMeshes) {
    Scene scene = SmallScene(64, 48);
    AddMaterial(scene, {90, 180, 45}, t);
    AddMaterial(scene, {200, 20, 220});
    AddMesh(scene, {{-3, -2.5f, 0, 1}, {-1, -2.5f, 0, 1}, {-2, -1, 0, 1}}, {{0, 1, 2, 1}});
    if (nearMeshes) {
        AddMesh(scene, {{-30, -20, 119.999f, 1}, {30, -20, 119.99f, 1}, {0, 25, 0, 1}, {5, 5, 119.9999f, 1}},
                {{0, 1, 2, 0}, {1, 3, 2, 0}, {0, 2, 3, 0}});
        AddMesh(scene, {{-3, -2, 120.0001f, 1}, {3, -2, 120.0f, 1}, {1.0e7f, -1.0e7f, 119.99f, 1}, {0, 2, 0, 1}},
                {{0, 1, 3, 0}, {1, 2, 3, 0}, {2, 0, 3, 0}});
    }
    scene.CurrentStyle = style;
    scene.DoubleSided = kTrue16;
    scene.LightOn = kTrue16;
    return scene;
}

TEST(RenderFrame, VerticesNearTheEyeDoNotBreakAFrame) {
    for (int style = 0; style < kVisualStyleCount; ++style) {
        for (const float t : {0.0f, 0.5f}) {
            const std::string name = "style " + std::to_string(style) + ", transparency " + std::to_string(t);
            Scene alone = NearEyeScene(style, t, false);
            Render(alone);
            Scene scene = NearEyeScene(style, t, true);
            test_support::TestSurface frame(64, 48);  // guard words before and after the frame
            scene.FramePixels = frame.View();
            Render(scene);
            EXPECT_TRUE(frame.GuardsIntact()) << name;

            // The box style draws the near meshes' box across the triangle, and an opaque face
            // reaching the eye covers the canvas through the system's polygon fill; everywhere
            // else the triangle comes out exactly as it does without the near meshes.
            const bool filled = style >= kStyleFlat;
            if (style == kStyleBox || (filled && t == 0.0f)) continue;
            int drawn = 0;
            for (int y = 0; y < 48; ++y) {
                for (int x = 0; x < 64; ++x) {
                    if (alone.FramePixels(x, y) == alone.BackgroundPixels(x, y)) continue;
                    ++drawn;
                    ASSERT_EQ(frame.At(x, y), alone.FramePixels(x, y)) << name << " at " << x << "," << y;
                }
            }
            EXPECT_GT(drawn, 10) << name;
            // Faces the own fillers leave out leave no trace at all.
            if (filled) {
                for (int y = 0; y < 48; ++y) {
                    for (int x = 0; x < 64; ++x) ASSERT_EQ(frame.At(x, y), alone.FramePixels(x, y)) << name;
                }
            }
        }
    }
}

TEST(RenderFrame, TinyTexturesAreSampledSafely) {
    for (const auto& size : {std::array<int, 2>{1, 1}, std::array<int, 2>{1, 9}, std::array<int, 2>{9, 1},
                             std::array<int, 2>{2, 2}}) {
        Scene scene = SmallScene(64, 48);
        AddMaterial(scene, {90, 180, 45});
        Material& m = scene.Materials[0];
        m.TextureWork.Create(size[0], size[1], m.TextureWorkPixels, true);
        m.HasTexture = kTrue16;
        AddMesh(scene, kCentreTriangle, {{0, 1, 2, 0}});
        MeshObject& mesh = scene.Meshes[0];
        mesh.HasTexCoords = kTrue16;
        mesh.TexCoords = {{-1.5f, 0.0f}, {3.0f, 0.0f}, {0.5f, 7.0f}};
        mesh.MappedTexCoords.resize(3);
        mesh.TexCoordUBound = 2;
        for (const int style : {kStyleWireframeMap, kStyleMapped, kStylePhotoRealistic}) {
            for (const float t : {0.0f, 0.25f}) {
                m.Transparency = t;
                scene.CurrentStyle = style;
                Render(scene);
            }
        }
        EXPECT_NE(scene.FramePixels(32, 24), scene.BackgroundPixels(32, 24)) << size[0] << "x" << size[1];
    }
}

TEST(RenderFrame, PhotoStyleWithoutPictureFallsBackToGouraud) {
    Scene photo = SmallScene(64, 48);
    AddMaterial(photo, {90, 180, 45});
    AddMesh(photo, kCentreTriangle, {{0, 1, 2, 0}});
    photo.Meshes[0].HasTexCoords = kTrue16;
    photo.Meshes[0].TexCoords.assign(3, TexCoord{});
    photo.Meshes[0].MappedTexCoords.assign(3, TexCoord{});
    photo.CurrentStyle = kStylePhotoRealistic;
    Render(photo);
    const std::uint64_t photoHash = test_support::FrameHash(photo.FramePixels);
    photo.CurrentStyle = kStyleGouraud;
    Render(photo);
    EXPECT_EQ(photoHash, test_support::FrameHash(photo.FramePixels));
    EXPECT_FALSE(FrameIsBackground(photo));
    // With pixels to sample the style draws the texture; it does not ask HasTexture.
    Material& m = photo.Materials[0];
    m.TextureWork.Create(4, 4, m.TextureWorkPixels, true);
    for (int i = 0; i < 16; ++i) m.TextureWorkPixels.data[i] = 0x00FF00FFu;
    m.HasTexture = kFalse16;
    photo.CurrentStyle = kStylePhotoRealistic;
    Render(photo);
    EXPECT_NE(photoHash, test_support::FrameHash(photo.FramePixels));
}

TEST(RenderFrame, OtherStylesAndNoBackgroundDrawNothing) {
    Scene scene = SmallScene(64, 48);
    AddMaterial(scene, {200, 0, 0});
    AddMesh(scene, kCentreTriangle, {{0, 1, 2, 0}});
    scene.CurrentStyle = 42;
    Render(scene);
    EXPECT_TRUE(FrameIsBackground(scene));
    scene.UseBackground = 0;
    scene.CurrentStyle = -1;
    Render(scene);
    EXPECT_EQ(scene.FramePixels(0, 0), 0u);
    EXPECT_EQ(scene.FramePixels(63, 47), 0u);
    // A frame without pixels is left alone.
    Scene empty;
    RenderFrame(empty);
    EXPECT_FALSE(empty.FramePixels.Attached());
}

TEST(Lighting, SharedVerticesTakeTheColourOfTheFirstFaceThatReachesThem) {
    Scene scene = SmallScene(64, 48);
    AddMaterial(scene, {10, 20, 30});
    AddMaterial(scene, {200, 100, 50});
    AddMesh(scene, {{-2, -2, 0, 1}, {2, -2, 0, 1}, {0, 2, 0, 1}, {3, 3, 0, 1}}, {{0, 1, 2, 1}, {1, 3, 2, 0}});
    ProjectVertices(scene);
    LightAllMeshes(scene, false);
    const MeshObject& mesh = scene.Meshes[0];
    EXPECT_EQ(mesh.Vertices[1].Colour.red, 200) << "face 0 reached the shared vertex first";
    EXPECT_EQ(mesh.Vertices[3].Colour.red, 10);
    for (const Vertex& v : mesh.Vertices) EXPECT_EQ(v.Transformed, kTrue16);
    // Gouraud and "Photo Realistic" light the vertices even with the light menu off.
    scene.LightOn = kFalse16;
    scene.CurrentStyle = kStyleGouraud;
    Render(scene);
    EXPECT_NE(scene.Meshes[0].Vertices[3].Colour.red, 10);
    scene.CurrentStyle = kStyleFlat;
    Render(scene);
    EXPECT_EQ(scene.Meshes[0].Vertices[3].Colour.red, 10);
}

TEST(Classification, TheWhollyInsideShortcutAgreesWithTheClipper) {
    Scene scene = SmallScene(40, 30);
    AddMesh(scene, {{0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}}, {{0, 1, 2, 0}});
    MeshObject& mesh = scene.Meshes[0];
    RenderWork work;
    FrameContext frame = MakeFrameContext(scene, work);
    ClipPointList expected;
    std::uint32_t lcg = 12345;
    const auto next = [&](int range) {
        lcg = lcg * 1103515245u + 12345u;
        return static_cast<std::int32_t>((lcg >> 8) % static_cast<std::uint32_t>(range));
    };
    int inside = 0;
    for (int i = 0; i < 20000; ++i) {
        for (ScreenPoint& p : mesh.ScreenPoints) {
            // Mostly on the canvas, often on its edges or at (0, 0), sometimes off it.
            p = next(4) == 0 ? ScreenPoint{0, 0} : ScreenPoint{next(50) - 5, next(40) - 5};
        }
        for (const bool lineMode : {false, true}) {
            const ClassifyResult want = ClassifyFace(mesh, 0, false, lineMode, frame.target.clip, expected);
            const ClassifyResult got = ClassifyFaceIn(frame, mesh, 0, false, lineMode);
            ASSERT_EQ(got, want) << i;
            ASSERT_EQ(work.clipPoints.size(), expected.size()) << i;
            for (std::size_t k = 0; k < expected.size(); ++k) {
                ASSERT_EQ(work.clipPoints[k].x, expected[k].x) << i;
                ASSERT_EQ(work.clipPoints[k].y, expected[k].y) << i;
            }
            inside += got == kWhollyInside;
        }
    }
    EXPECT_GT(inside, 1000);
}

TEST(ClipPointColour, InterpolatesTheCornerColours) {
    const ScreenPoint a{0, 0}, b{30, 0}, c{0, 30};
    const ColourRGB ca{255, 0, 0}, cb{0, 255, 0}, cc{0, 0, 255};
    const ColourRGB atA = ClipPointColour(a, b, c, ca, cb, cc, a);
    EXPECT_EQ(atA.red, 255);
    EXPECT_EQ(atA.green, 0);
    const ColourRGB atB = ClipPointColour(a, b, c, ca, cb, cc, b);
    EXPECT_EQ(atB.green, 255);
    EXPECT_EQ(atB.red, 0);
    const ColourRGB mid = ClipPointColour(a, b, c, ca, cb, cc, ScreenPoint{15, 0});
    EXPECT_EQ(mid.red, 128);  // 127.5 -> 128 (even)
    EXPECT_EQ(mid.green, 128);
    EXPECT_EQ(mid.blue, 0);
    // A triangle without area divides by 0.000001 instead of failing.
    const ColourRGB flat = ClipPointColour(a, a, a, ca, cb, cc, ScreenPoint{5, 5});
    (void)flat;
}

}  // namespace
}  // namespace maglorin
