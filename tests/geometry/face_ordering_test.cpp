// The painter's order: which faces make the front and back lists, and the exact order the depth
// quicksort gives to equal and unequal depths.
#include "geometry/face_ordering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace maglorin {
namespace {

std::vector<SortEntry> Entries(const std::vector<float>& depths) {
    std::vector<SortEntry> list;
    for (std::size_t i = 0; i < depths.size(); ++i) {
        list.push_back(SortEntry{0, static_cast<std::int32_t>(i), depths[i]});
    }
    return list;
}

std::vector<std::int32_t> FaceOrder(const std::vector<SortEntry>& list) {
    std::vector<std::int32_t> order;
    for (const SortEntry& e : list) order.push_back(e.FaceIndex);
    return order;
}

// Worked by hand from the partition rules (pivot = depth at round((lo + hi) / 2), halves to
// even; Hoare scans; recursion on both parts): the order of faces with equal depths is this
// procedure's, not the input order.
struct SortCase {
    std::string name;
    std::vector<float> depths;
    std::vector<std::int32_t> order;  // face indices after sorting
};

TEST(SortByDepth, GivesTheQuicksortOrderForEqualAndUnequalDepths) {
    const std::vector<SortCase> cases = {
        {"two unequal", {-100.0f, -300.0f}, {1, 0}},
        {"already ascending", {-300.0f, -200.0f, -100.0f}, {0, 1, 2}},
        {"two equal swap once", {-5.0f, -5.0f}, {1, 0}},
        {"three equal", {-5.0f, -5.0f, -5.0f}, {2, 1, 0}},
        {"four equal", {-7.0f, -7.0f, -7.0f, -7.0f}, {2, 3, 0, 1}},
        {"equal pair among others", {-1.0f, -9.0f, -1.0f, -4.0f}, {1, 3, 2, 0}},
        {"five with ties", {-2.0f, -3.0f, -2.0f, -3.0f, -1.0f}, {1, 3, 2, 0, 4}},
        {"seven with ties", {-3.0f, -1.0f, -3.0f, -1.0f, -3.0f, -1.0f, -2.0f}, {2, 4, 0, 6, 5, 1, 3}},
    };
    for (const SortCase& c : cases) {
        std::vector<SortEntry> list = Entries(c.depths);
        SortByDepth(list, 0, static_cast<std::int32_t>(list.size()) - 1);
        EXPECT_EQ(FaceOrder(list), c.order) << c.name;
        EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                                   [](const SortEntry& a, const SortEntry& b) { return a.Depth < b.Depth; }))
            << c.name;
    }
}

TEST(SortByDepth, SortsLargeListsAndLeavesRangesOutsideAlone) {
    std::vector<float> depths;
    for (int i = 0; i < 5000; ++i) depths.push_back(static_cast<float>((i * 7919) % 613) * -1.0f);
    std::vector<SortEntry> list = Entries(depths);
    SortByDepth(list, 10, 4989);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(list[static_cast<std::size_t>(i)].FaceIndex, i);
    for (int i = 4990; i < 5000; ++i) EXPECT_EQ(list[static_cast<std::size_t>(i)].FaceIndex, i);
    for (int i = 11; i < 4990; ++i) {
        ASSERT_LE(list[static_cast<std::size_t>(i - 1)].Depth, list[static_cast<std::size_t>(i)].Depth) << i;
    }
    // A bound past the end is cut to the list, an empty range does nothing.
    SortByDepth(list, 0, 100000);
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                               [](const SortEntry& a, const SortEntry& b) { return a.Depth < b.Depth; }));
    std::vector<SortEntry> empty;
    SortByDepth(empty, 0, -1);
    EXPECT_TRUE(empty.empty());
}

// A mesh of triangles whose projected positions are given directly.
Vertex At(float x, float y, float z) {
    Vertex v;
    v.ViewPosition = Vec4{x, y, z, 1.0f};
    return v;
}

Scene SceneWith(std::vector<Vertex> vertices, const std::vector<std::array<std::int32_t, 3>>& corners) {
    std::vector<Face> faces;
    for (const auto& c : corners) {
        Face face;
        face.A = c[0];
        face.B = c[1];
        face.C = c[2];
        faces.push_back(face);
    }
    Scene scene;
    MeshObject mesh;
    mesh.VertexUBound = static_cast<std::int32_t>(vertices.size()) - 1;
    mesh.FaceUBound = static_cast<std::int16_t>(faces.size() - 1);
    mesh.Vertices = std::move(vertices);
    mesh.Faces = std::move(faces);
    mesh.ScreenPoints.resize(mesh.Vertices.size());
    scene.Meshes.push_back(std::move(mesh));
    scene.MeshUBound = 0;
    return scene;
}

TEST(BuildLists, SplitFacesBySideAndLeaveEdgeOnFacesOut) {
    // (a - b) x (c - b): face 0 has normal z > 0, face 1 (the same corners reversed) z < 0, face 2 is
    // a line seen edge-on.
    Scene scene = SceneWith({At(0, 0, -10), At(1, 0, -20), At(0, 1, -30), At(2, 2, -40)},
                            {{0, 2, 1}, {0, 1, 2}, {0, 1, 1}, {2, 1, 3}});
    const std::int32_t front = BuildFrontList(scene);
    std::vector<std::int32_t> frontFaces = FaceOrder(scene.SortList);
    const std::int32_t back = BuildBackList(scene);
    std::vector<std::int32_t> backFaces = FaceOrder(scene.SortList);

    const Vec4 n0 = scene.Meshes[0].Faces[0].ScreenNormal;
    EXPECT_GT(n0.z, 0.0f);
    EXPECT_EQ(scene.Meshes[0].Faces[2].ScreenNormal.z, 0.0f);
    // Which of face 0 / face 3 is in front depends on their normals; the edge-on face 2 is in neither.
    std::vector<std::int32_t> all = frontFaces;
    all.insert(all.end(), backFaces.begin(), backFaces.end());
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (std::vector<std::int32_t>{0, 1, 3}));
    EXPECT_EQ(front + back + 2, 3);
    EXPECT_NE(std::find(frontFaces.begin(), frontFaces.end(), 0), frontFaces.end());
    EXPECT_NE(std::find(backFaces.begin(), backFaces.end(), 1), backFaces.end());
}

TEST(BuildLists, SortFarthestFirstWithTheDepthSum) {
    Scene scene = SceneWith({At(0, 0, -100), At(1, 0, -100), At(0, 1, -100), At(0, 0, -300), At(1, 0, -300),
                             At(0, 1, -300)},
                            {{0, 2, 1}, {3, 5, 4}});
    ASSERT_EQ(BuildFrontList(scene), 1);
    EXPECT_EQ(scene.SortList[0].FaceIndex, 1);
    EXPECT_FLOAT_EQ(scene.SortList[0].Depth, -900.0f);
    EXPECT_EQ(scene.SortList[1].FaceIndex, 0);
    EXPECT_FLOAT_EQ(scene.SortList[1].Depth, -300.0f);
}

TEST(BuildLists, EmptyModelsAndBadIndicesGiveNoEntries) {
    Scene none;
    EXPECT_EQ(BuildFrontList(none), -1);
    EXPECT_TRUE(none.SortList.empty());
    // A face naming a vertex that does not exist is left out instead of read past the table.
    Scene bad = SceneWith({At(0, 0, -1), At(1, 0, -1), At(0, 1, -1)}, {{0, 2, 7}, {0, 2, 1}, {-1, 0, 1}});
    EXPECT_EQ(BuildFrontList(bad), 0);
    EXPECT_EQ(bad.SortList[0].FaceIndex, 1);
    // A list rebuilt from a previous frame starts empty.
    EXPECT_EQ(BuildBackList(bad), -1);
    EXPECT_TRUE(bad.SortList.empty());
}

}  // namespace
}  // namespace maglorin
