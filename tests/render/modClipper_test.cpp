#include "render/modClipper.h"

#include <vector>

#include <gtest/gtest.h>

#include "scene/scene.h"

namespace maglorin {
namespace {

constexpr ClipRect kClip{0, 99, 0, 79};

std::vector<ScreenPoint> Points(std::initializer_list<ScreenPoint> points) { return points; }

void ExpectList(const ClipPointList& actual, const std::vector<ScreenPoint>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].x, expected[i].x) << "entry " << i;
        EXPECT_EQ(actual[i].y, expected[i].y) << "entry " << i;
    }
}

TEST(ClipTriangleTest, WhollyInsideListsTheCornersAfterTheDummy) {
    ClipPointList list;
    EXPECT_EQ(ClipTriangle({10, 10}, {50, 10}, {10, 50}, true, true, true, false, kClip, list), kWhollyInside);
    ExpectList(list, Points({{0, 0}, {10, 10}, {50, 10}, {10, 50}}));
    // A corner on the right edge still counts as inside.
    EXPECT_EQ(ClipTriangle({99, 10}, {50, 10}, {10, 79}, true, true, true, true, kClip, list), kWhollyInside);
    ExpectList(list, Points({{0, 0}, {99, 10}, {50, 10}, {10, 79}}));
}

TEST(ClipTriangleTest, FarAwayTriangleIsNothing) {
    ClipPointList list;
    EXPECT_EQ(ClipTriangle({-100, 10}, {-50, 10}, {-100, 50}, true, true, true, false, kClip, list), kNothingVisible);
    ExpectList(list, Points({{0, 0}}));
}

TEST(ClipTriangleTest, TriangleCoveringTheRectangle) {
    ClipPointList list;
    const ScreenPoint p{-1000, -1000}, q{3000, -1000}, r{-1000, 3000};
    EXPECT_EQ(ClipTriangle(p, q, r, true, true, true, false, kClip, list), kPartlyVisible);
    ExpectList(list, Points({{0, 0}, {0, 79}, {0, 0}, {99, 0}, {99, 79}}));
    EXPECT_EQ(ClipTriangle(p, q, r, true, true, true, true, kClip, list), kPartlyVisible);
    ExpectList(list, Points({{0, 0}}));
}

TEST(ClipTriangleTest, OneCornerOutsideInPolygonMode) {
    ClipPointList list;
    EXPECT_EQ(ClipTriangle({50, 40}, {150, 40}, {50, 70}, true, true, true, false, kClip, list), kPartlyVisible);
    // Inside corners and the two crossings with the right edge, each once.
    ExpectList(list, Points({{0, 0}, {50, 40}, {99, 40}, {99, 55}, {50, 70}}));
}

TEST(ClipTriangleTest, OneCornerOutsideInLineModeHonoursEdgeFlags) {
    ClipPointList list;
    EXPECT_EQ(ClipTriangle({50, 40}, {150, 40}, {50, 70}, true, true, true, true, kClip, list), kPartlyVisible);
    ExpectList(list, Points({{0, 0}, {50, 40}, {99, 40}, {99, 55}, {50, 70}, {50, 70}, {50, 40}}));
    EXPECT_EQ(ClipTriangle({50, 40}, {150, 40}, {50, 70}, false, true, false, true, kClip, list), kPartlyVisible);
    ExpectList(list, Points({{0, 0}, {99, 55}, {50, 70}}));
}

TEST(ClipTriangleTest, ClippedEndPointAtTheOriginIsNotAppended) {
    ClipPointList list;
    EXPECT_EQ(ClipTriangle({-10, -10}, {20, 20}, {-10, 20}, true, true, true, false, kClip, list), kPartlyVisible);
    ExpectList(list, Points({{0, 0}, {20, 20}, {0, 20}}));
}

TEST(ClipSegmentTest, LiangBarskyCases) {
    struct Case {
        ScreenPoint a, b, expectA, expectB;
    };
    const Case cases[] = {
        {{50, 40}, {150, 40}, {50, 40}, {99, 40}},    // leaves on the right
        {{150, 40}, {50, 70}, {99, 55}, {50, 70}},    // enters from the right: 55.3 -> 55
        {{-10, -10}, {20, 20}, {0, 0}, {20, 20}},     // through the corner
        {{-10, 5}, {-1, 50}, {0, 0}, {0, 0}},         // wholly left: rejected
        {{10, 10}, {10, 10}, {10, 10}, {10, 10}},     // a point inside
        {{-50, 40}, {150, 40}, {0, 40}, {99, 40}},    // both ends outside
        {{0, 0}, {1, 1}, {0, 0}, {1, 1}},
    };
    for (const Case& c : cases) {
        const ClippedSegment s = ClipSegment(c.a, c.b, kClip);
        EXPECT_EQ(s.a.x, c.expectA.x) << c.a.x << "," << c.a.y;
        EXPECT_EQ(s.a.y, c.expectA.y) << c.a.x << "," << c.a.y;
        EXPECT_EQ(s.b.x, c.expectB.x) << c.a.x << "," << c.a.y;
        EXPECT_EQ(s.b.y, c.expectB.y) << c.a.x << "," << c.a.y;
    }
}

TEST(ClipperPredicatesTest, InsideTestIsStrictInBothWindings) {
    const ScreenPoint p{0, 0}, q{10, 0}, r{0, 10};
    EXPECT_TRUE(IsPointInTriangle(p, q, r, {2, 2}));
    EXPECT_TRUE(IsPointInTriangle(p, r, q, {2, 2}));
    EXPECT_FALSE(IsPointInTriangle(p, q, r, {5, 5}));   // on the long edge
    EXPECT_FALSE(IsPointInTriangle(p, q, r, {0, 0}));   // a corner
    EXPECT_FALSE(IsPointInTriangle(p, q, r, {5, 0}));   // on an edge
    EXPECT_FALSE(IsPointInTriangle(p, q, r, {8, 8}));
    EXPECT_TRUE(IsSegmentOutside({0, 0}, {100, 0}, kClip));
    EXPECT_TRUE(IsSegmentOutside({0, -1}, {5, 5}, kClip));
    EXPECT_FALSE(IsSegmentOutside({0, 0}, {99, 79}, kClip));
}

TEST(ClipperPredicatesTest, AddClipPointSkipsDuplicatesAndTheOrigin) {
    ClipPointList list{{0, 0}};
    AddClipPoint({0, 0}, list);
    AddClipPoint({3, 4}, list);
    AddClipPoint({3, 4}, list);
    AddClipSegment({3, 4}, {3, 4}, list);
    ExpectList(list, Points({{0, 0}, {3, 4}, {3, 4}, {3, 4}}));
}

Face MakeFace(std::int32_t a, std::int32_t b, std::int32_t c) {
    Face face;
    face.A = a;
    face.B = b;
    face.C = c;
    return face;
}

MeshObject TwoFaceMesh() {
    MeshObject mesh;
    mesh.ScreenPoints = {{10, 10}, {150, 40}, {50, 70}, {20, 20}};
    mesh.VertexUBound = 3;
    Face inside = MakeFace(0, 2, 3);
    Face crossing = MakeFace(3, 1, 2);
    crossing.EdgeAB = kTrue16;
    mesh.Faces = {inside, crossing};
    mesh.FaceUBound = 1;
    mesh.HasFaces = kTrue16;
    return mesh;
}

TEST(ClassifyFaceTest, ReadsScreenPointsAndEdgeFlags) {
    MeshObject mesh = TwoFaceMesh();
    ClipPointList list;
    EXPECT_EQ(ClassifyFace(mesh, 0, false, false, kClip, list), kWhollyInside);
    EXPECT_EQ(ClassifyFace(mesh, 1, false, true, kClip, list), kPartlyVisible);
    ExpectList(list, Points({{0, 0}, {20, 20}, {99, 32}}));  // only edge AB is flagged: 32.15 -> 32
    mesh.HasFaces = kFalse16;  // every edge counts as flagged
    EXPECT_EQ(ClassifyFace(mesh, 1, false, true, kClip, list), kPartlyVisible);
    EXPECT_EQ(list.size(), 7u);
}

TEST(ClassifyFaceTest, UsesTheBoundingBoxWhenAsked) {
    MeshObject mesh;
    mesh.BoxScreenPoints = {{{10, 10}, {20, 10}, {20, 20}, {10, 20}, {10, 10}, {20, 10}, {20, 20}, {10, 20}}};
    mesh.BoxFaces[0] = MakeFace(0, 1, 2);
    ClipPointList list;
    EXPECT_EQ(ClassifyFace(mesh, 0, true, true, kClip, list), kWhollyInside);
    ExpectList(list, Points({{0, 0}, {10, 10}, {20, 10}, {20, 20}}));
}

TEST(ClassifyFaceTest, IndicesOutsideTheirTablesAreNothing) {
    MeshObject mesh = TwoFaceMesh();
    ClipPointList list;
    EXPECT_EQ(ClassifyFace(mesh, 2, false, false, kClip, list), kNothingVisible);
    EXPECT_EQ(ClassifyFace(mesh, -1, false, false, kClip, list), kNothingVisible);
    EXPECT_EQ(ClassifyFace(mesh, 12, true, false, kClip, list), kNothingVisible);
    mesh.Faces[0].C = 4;  // one past the last vertex
    EXPECT_EQ(ClassifyFace(mesh, 0, false, false, kClip, list), kNothingVisible);
    mesh.Faces[0].C = -7;
    EXPECT_EQ(ClassifyFace(mesh, 0, false, false, kClip, list), kNothingVisible);
    ExpectList(list, Points({{0, 0}}));
}

}  // namespace
}  // namespace maglorin

namespace maglorin {
namespace {

// The shortcut for triangles wholly inside must answer what the general steps answer, also for
// corners at the origin (an edge (0, 0)-(0, 0) counts as empty: partly visible).
TEST(ClipTriangleTest, InsideShortcutAgreesWithTheGeneralRule) {
    ClipPointList list;
    EXPECT_EQ(ClipTriangle({0, 0}, {0, 0}, {5, 5}, true, true, true, false, kClip, list), kPartlyVisible);
    ExpectList(list, Points({{0, 0}, {5, 5}}));
    EXPECT_EQ(ClipTriangle({0, 0}, {7, 0}, {5, 5}, true, true, true, false, kClip, list), kWhollyInside);
    ExpectList(list, Points({{0, 0}, {0, 0}, {7, 0}, {5, 5}}));
    EXPECT_EQ(ClipTriangle({0, 0}, {0, 0}, {0, 0}, true, true, true, true, kClip, list), kPartlyVisible);
    EXPECT_EQ(list.size(), 7u);  // three empty but inside edges, listed as segments in line mode
    EXPECT_EQ(ClipTriangle({99, 79}, {0, 79}, {99, 0}, true, true, true, false, kClip, list), kWhollyInside);
}

}  // namespace
}  // namespace maglorin
