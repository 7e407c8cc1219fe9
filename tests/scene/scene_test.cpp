// Scene state: initial values, the resets, material records, bounding boxes and the fit.
#include "scene/scene.h"

#include <gtest/gtest.h>

namespace maglorin {
namespace {

MeshObject& AddMeshWithVertices(Scene& scene, std::initializer_list<Vec4> points) {
    MeshObject* mesh = AppendMesh(scene);
    mesh->VertexUBound = static_cast<std::int32_t>(points.size()) - 1;
    for (const Vec4& p : points) {
        mesh->Vertices.push_back(Vertex{Vec4{p.x, p.y, p.z, 1.0f}, {}, {}, {}, kFalse16});
    }
    mesh->ScreenPoints.resize(points.size());
    if (!mesh->Vertices.empty()) {
        BuildBoundingBox(scene, scene.MeshUBound);
    }
    return *mesh;
}

void ExpectVec(const Vec4& v, float x, float y, float z, float w) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
    EXPECT_FLOAT_EQ(v.w, w);
}

TEST(SceneState, StartsEmptyWithTheStartUpSwitches) {
    Scene scene;
    EXPECT_EQ(scene.MeshUBound, -1);
    EXPECT_EQ(scene.MaterialUBound, -1);
    EXPECT_EQ(scene.UseBackground, 5);
    EXPECT_EQ(scene.DoubleSided, kFalse16);
    EXPECT_EQ(scene.LightOn, kFalse16);
    EXPECT_EQ(scene.ModelLoaded, kFalse16);
    EXPECT_FALSE(scene.FrameSurface.Live());
    EXPECT_FALSE(scene.FramePixels.Attached());
}

TEST(SceneState, ResetCameraAndLightGiveTheDefaults) {
    Scene scene;
    scene.Camera.Position = Vec4{1, 2, 3, 1};
    scene.Camera.Roll = 45;
    scene.Camera.FocalLength = 3;
    scene.Light.Colour = ColourRGB{1, 2, 3};
    scene.Light.Enabled = kFalse16;
    scene.Light.ViewPosition = Vec4{7, 7, 7, 1};
    ResetCamera(scene);
    ResetLight(scene);
    ExpectVec(scene.Camera.Position, 0, 0, 120, 1);
    ExpectVec(scene.Camera.Target, 0, 0, 0, 1);
    ExpectVec(scene.Camera.Up, 0, 1, 0, 1);
    EXPECT_EQ(scene.Camera.FocalLength, 1.0f);
    EXPECT_EQ(scene.Camera.Roll, 0.0f);
    EXPECT_EQ(scene.Camera.NearZ, 0.0f);
    EXPECT_EQ(scene.Camera.FarZ, -1000.0f);
    ExpectVec(scene.Light.Position, 0, 0, 120, 1);
    ExpectVec(scene.Light.Direction, 0, 0, 0, 1);
    EXPECT_EQ(scene.Light.Colour.red, 130);
    EXPECT_EQ(scene.Light.Colour.blue, 130);
    EXPECT_EQ(scene.Light.Hotspot, 5.0f);
    EXPECT_EQ(scene.Light.Falloff, 0.5f);
    EXPECT_EQ(scene.Light.RangeEnd, 100.0f);
    EXPECT_EQ(scene.Light.DiffuseFactor, 2.0f);
    EXPECT_EQ(scene.Light.SpecularFactor, 2.0f);
    EXPECT_EQ(scene.Light.Attenuate, kFalse16);
    EXPECT_EQ(scene.Light.Enabled, kTrue16);
    // The working values of the light model are not part of the reset.
    ExpectVec(scene.Light.ViewPosition, 7, 7, 7, 1);
}

TEST(SceneState, ResetViewRestoresTheFitEvenAfterTurningAndZooming) {
    Scene scene;
    scene.FitTranslation = Vec4{-1, -2, -3, 1};
    scene.FitScale = Vec4{4, 4, 4, 1};
    scene.ModelRotation = Vec4{30, 60, 90, 1};
    scene.ModelScale = Vec4{9, 9, 9, 1};
    scene.ModelTranslation = Vec4{5, 5, 5, 1};
    ResetView(scene);
    ExpectVec(scene.ModelRotation, 0, 0, 0, 1);
    ExpectVec(scene.ModelTranslation, -1, -2, -3, 1);
    ExpectVec(scene.ModelScale, 4, 4, 4, 1);
}

TEST(SceneMaterials, InitMaterialKeepsColourTextureFlagAndTransparency) {
    Scene scene;
    Material* material = AppendMaterial(scene);
    material->Name = "Shirt";
    material->Diffuse = ColourRGB{10, 20, 30};
    material->HasTexture = kTrue16;
    material->Transparency = 0.25f;
    material->TextureFile = "kit.jpg";
    material->UScale = 2;
    material->VOffset = 0.5f;
    material->Rotation = 30;
    material->Mirror = kMirrorBoth;
    material->Flip = kFlipLeftRight;
    material->Texture.Create(4, 4, material->TexturePixels, true);
    material->TextureWork.Create(4, 4, material->TextureWorkPixels, true);
    InitMaterial(scene, 0);
    EXPECT_EQ(material->Name, "Default");
    EXPECT_EQ(material->TextureFile, "");
    EXPECT_EQ(material->UScale, 1.0f);
    EXPECT_EQ(material->VOffset, 0.0f);
    EXPECT_EQ(material->Rotation, 0.0f);
    EXPECT_EQ(material->Mirror, kMirrorNone);
    EXPECT_EQ(material->Flip, kFlipNone);
    EXPECT_FALSE(material->Texture.Live());
    EXPECT_FALSE(material->TexturePixels.Attached());
    EXPECT_FALSE(material->TextureWorkPixels.Attached());
    EXPECT_EQ(material->Diffuse.green, 20);
    EXPECT_EQ(material->HasTexture, kTrue16);
    EXPECT_EQ(material->Transparency, 0.25f);
}

TEST(SceneMaterials, AppendReusesAnEarlierRecordAtTheSameIndex) {
    Scene scene;
    AppendMaterial(scene);
    AppendMaterial(scene)->Transparency = 0.75f;
    scene.MaterialUBound = -1;  // a new load
    AppendMaterial(scene);
    Material* second = AppendMaterial(scene);
    EXPECT_EQ(scene.MaterialUBound, 1);
    EXPECT_EQ(second->Transparency, 0.75f);
    EXPECT_EQ(second->Name, "Default");
}

TEST(SceneMeshes, AppendStartsAFreshMeshSoNoEarlierFacesOutliveItsVertices) {
    Scene scene;
    MeshObject& first = AddMeshWithVertices(scene, {{0, 0, 0, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}});
    Face face;
    face.A = 0;
    face.B = 1;
    face.C = 2;
    first.Faces.push_back(face);
    first.FaceUBound = 0;
    first.HasFaces = kTrue16;
    first.HasTexCoords = kTrue16;
    scene.MeshUBound = -1;
    MeshObject* again = AppendMesh(scene);
    EXPECT_EQ(again->HasFaces, kFalse16);
    EXPECT_EQ(again->HasTexCoords, kFalse16);
    EXPECT_EQ(again->FaceUBound, -1);
    EXPECT_EQ(again->VertexUBound, -1);
    EXPECT_TRUE(again->Faces.empty());
}

TEST(SceneBoundingBox, CornersFollowTheFixedOrderAndFacesHideTheDiagonals) {
    Scene scene;
    AddMeshWithVertices(scene, {{1, 5, -2, 1}, {-3, 2, 4, 1}, {0, 7, 0, 1}});
    const MeshObject& mesh = scene.Meshes[0];
    const float expected[8][3] = {{-3, 2, -2}, {1, 2, -2}, {1, 7, -2}, {-3, 7, -2},
                                  {-3, 2, 4},  {1, 2, 4},  {1, 7, 4},  {-3, 7, 4}};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        ExpectVec(mesh.BoxVertices[i].Position, expected[i][0], expected[i][1], expected[i][2],
                  1);
    }
    const int faces[12][3] = {{0, 1, 2}, {2, 3, 0}, {4, 5, 6}, {6, 7, 4}, {1, 2, 6}, {6, 5, 1},
                              {0, 3, 7}, {7, 4, 0}, {2, 3, 7}, {7, 6, 2}, {4, 5, 1}, {1, 0, 4}};
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        const Face& face = mesh.BoxFaces[i];
        EXPECT_EQ(face.A, faces[i][0]);
        EXPECT_EQ(face.B, faces[i][1]);
        EXPECT_EQ(face.C, faces[i][2]);
        EXPECT_EQ(face.EdgeAB, kTrue16);
        EXPECT_EQ(face.EdgeBC, kTrue16);
        EXPECT_EQ(face.EdgeCA, kFalse16);
        EXPECT_EQ(face.Material, 0);
    }
}

TEST(SceneBoundingBox, ASingleVertexGivesADegenerateBox) {
    Scene scene;
    AddMeshWithVertices(scene, {{2, 3, 4, 1}});
    for (const Vertex& corner : scene.Meshes[0].BoxVertices) {
        ExpectVec(corner.Position, 2, 3, 4, 1);
    }
}

struct FitCase {
    const char* name;
    std::vector<std::vector<Vec4>> meshes;  // an empty list is a mesh without vertices
    std::int32_t clipBottom;
    Vec4 translation;
    float scale;
};

class SceneFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(SceneFit, CentresAndScalesByTheLargerOfXAndY) {
    const FitCase& c = GetParam();
    Scene scene;
    scene.ClipBottom = c.clipBottom;
    for (const auto& points : c.meshes) {
        MeshObject* mesh = AppendMesh(scene);
        mesh->VertexUBound = static_cast<std::int32_t>(points.size()) - 1;
        for (const Vec4& p : points) {
            mesh->Vertices.push_back(Vertex{p, {}, {}, {}, kFalse16});
        }
        if (!points.empty()) {
            BuildBoundingBox(scene, scene.MeshUBound);
        }
    }
    scene.ModelRotation = Vec4{10, 20, 30, 1};
    FitModelToView(scene);
    ExpectVec(scene.FitTranslation, c.translation.x, c.translation.y, c.translation.z, 1);
    ExpectVec(scene.FitScale, c.scale, c.scale, c.scale, 1);
    ExpectVec(scene.ModelScale, c.scale, c.scale, c.scale, 1);
    ExpectVec(scene.ModelTranslation, c.translation.x, c.translation.y, c.translation.z, 1);
    ExpectVec(scene.ModelRotation, 0, 0, 0, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Models, SceneFit,
    ::testing::Values(
        // Flat in z = 5: fitted by its x extent 40 (y extent 10).
        FitCase{"flat", {{{-10, 0, 5, 1}, {30, 10, 5, 1}}}, 399, {-10, -5, -5, 1},
                (399.0f / 40.0f) * 0.05f},
        // Tall in z only: both x and y extents are 0, so the guarded division steps in.
        FitCase{"z_only", {{{1, 2, -50, 1}, {1, 2, 50, 1}}}, 99, {-1, -2, 0, 1},
                (99.0f / 0.000001f) * 0.05f},
        // Two meshes widen one scene box; y is the larger extent here.
        FitCase{"two_meshes", {{{0, 0, 0, 1}, {2, 2, 2, 1}}, {{-2, -8, 0, 1}}}, 199,
                {0, 3, -1, 1}, (199.0f / 10.0f) * 0.05f},
        // A mesh without vertices keeps its zero corners, and they count.
        FitCase{"empty_mesh_counts", {{{10, 10, 10, 1}, {20, 20, 20, 1}}, {}}, 99,
                {-10, -10, -10, 1}, (99.0f / 20.0f) * 0.05f}),
    [](const ::testing::TestParamInfo<FitCase>& info) { return std::string(info.param.name); });

TEST(SceneFit, WithoutMeshesNothingChanges) {
    Scene scene;
    scene.FitScale = Vec4{3, 3, 3, 1};
    FitModelToView(scene);
    EXPECT_EQ(scene.FitScale.x, 3.0f);
}

}  // namespace
}  // namespace maglorin
