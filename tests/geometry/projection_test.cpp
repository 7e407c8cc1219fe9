// Projection of model vertices into canvas pixels.
#include "geometry/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace maglorin {
namespace {

Scene CanvasScene(std::vector<Vec4> positions) {
    Scene scene;
    scene.CanvasWidth = 200;
    scene.CanvasHeight = 100;
    scene.CentreX = 100;
    scene.CentreY = 50;
    MeshObject mesh;
    for (const Vec4& p : positions) {
        Vertex v;
        v.Position = p;
        mesh.Vertices.push_back(v);
    }
    mesh.VertexUBound = static_cast<std::int32_t>(positions.size()) - 1;
    mesh.ScreenPoints.resize(positions.size());
    scene.Meshes.push_back(std::move(mesh));
    scene.MeshUBound = 0;
    return scene;
}

TEST(ProjectVertices, DividesByDepthAndKeepsTheRawPosition) {
    // Default camera: eye at z = 120 looking at the origin; view x is world -x.
    Scene scene = CanvasScene({{0, 0, 0, 1}, {12, 6, 0, 1}, {0, 0, 120, 1}});
    ProjectVertices(scene);
    const MeshObject& mesh = scene.Meshes[0];
    EXPECT_FLOAT_EQ(mesh.Vertices[0].ViewPosition.z, -120.0f);
    EXPECT_FLOAT_EQ(mesh.Vertices[1].ViewPositionRaw.x, -12.0f);
    EXPECT_FLOAT_EQ(mesh.Vertices[1].ViewPosition.x, 0.1f);
    EXPECT_FLOAT_EQ(mesh.Vertices[1].ViewPosition.y, -0.05f);
    EXPECT_EQ(mesh.ScreenPoints[0].x, 100);
    EXPECT_EQ(mesh.ScreenPoints[0].y, 50);
    // 1000 * 0.1 + 100 and 1000 * -0.05 + 50: world +x to the right, world +y upwards.
    EXPECT_EQ(mesh.ScreenPoints[1].x, 200);
    EXPECT_EQ(mesh.ScreenPoints[1].y, 0);
    // A vertex at the eye (z = 0) keeps its undivided x and y.
    EXPECT_FLOAT_EQ(mesh.Vertices[2].ViewPosition.z, 0.0f);
    EXPECT_EQ(mesh.ScreenPoints[2].x, 100);
}

TEST(ProjectVertices, UsesFocalLengthAndTheBoxInTheBoxStyle) {
    Scene scene = CanvasScene({{12, 0, 0, 1}, {0, 0, 0, 1}});
    scene.Camera.FocalLength = 0.5f;
    BuildBoundingBox(scene, 0);
    ProjectVertices(scene);
    EXPECT_EQ(scene.Meshes[0].ScreenPoints[0].x, 150);
    scene.CurrentStyle = kStyleBox;
    scene.Meshes[0].ScreenPoints[0] = ScreenPoint{-1, -1};
    ProjectVertices(scene);
    EXPECT_EQ(scene.Meshes[0].ScreenPoints[0].x, -1) << "the box style projects only the box";
    EXPECT_EQ(scene.Meshes[0].BoxScreenPoints[1].x, 150);  // corner 1 = (max x, min y, min z)
}

TEST(ProjectVertices, SkipsSingleVertexMeshesAndGrowsShortPointTables) {
    Scene scene = CanvasScene({{12, 0, 0, 1}});
    ProjectVertices(scene);
    EXPECT_EQ(scene.Meshes[0].ScreenPoints[0].x, 0) << "a mesh needs two vertices to be projected";
    Scene grown = CanvasScene({{0, 0, 0, 1}, {12, 0, 0, 1}});
    grown.Meshes[0].ScreenPoints.clear();
    ProjectVertices(grown);
    ASSERT_EQ(grown.Meshes[0].ScreenPoints.size(), 2u);
    EXPECT_EQ(grown.Meshes[0].ScreenPoints[1].x, 200);
}

TEST(RoundPixel, RoundsHalvesToEvenAndSaturates) {
    EXPECT_EQ(RoundPixel(2.5f), 2);
    EXPECT_EQ(RoundPixel(3.5f), 4);
    EXPECT_EQ(RoundPixel(-2.5f), -2);
    EXPECT_EQ(RoundPixel(-0.5f), 0);
    EXPECT_EQ(RoundPixel(10.49f), 10);
    EXPECT_EQ(RoundPixel(1.0e12f), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundPixel(-1.0e12f), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(RoundPixel(std::numeric_limits<float>::infinity()), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundPixel(std::nanf("")), 0);
}

TEST(ProjectVertices, VerticesNearTheEyeLandFarOffTheCanvasWithoutOverflow) {
    Scene scene = CanvasScene({{0, 0, 0, 1}, {50, 50, 119.9999f, 1}});
    ProjectVertices(scene);
    const ScreenPoint p = scene.Meshes[0].ScreenPoints[1];
    EXPECT_TRUE(p.x < -100000 || p.x > 100000);
}

}  // namespace
}  // namespace maglorin
