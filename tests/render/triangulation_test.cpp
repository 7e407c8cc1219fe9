#include "render/triangulation.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <vector>

#include <gtest/gtest.h>

namespace maglorin {
namespace {

ClipPointList WithDummy(std::initializer_list<ScreenPoint> points) {
    ClipPointList list{{0, 0}};
    list.insert(list.end(), points);
    return list;
}

// Twice the area, summed over the triangles 1..ntri.
std::int64_t DoubledArea(const ClipPointList& points, const std::vector<ClipTriangleIndices>& triangles,
                         std::int32_t ntri) {
    std::int64_t sum = 0;
    for (std::int32_t i = 1; i <= ntri; ++i) {
        const ScreenPoint& a = points[static_cast<std::size_t>(triangles[i].A)];
        const ScreenPoint& b = points[static_cast<std::size_t>(triangles[i].B)];
        const ScreenPoint& c = points[static_cast<std::size_t>(triangles[i].C)];
        sum += std::llabs(static_cast<std::int64_t>(b.x - a.x) * (c.y - a.y) - static_cast<std::int64_t>(b.y - a.y) * (c.x - a.x));
    }
    return sum;
}

TEST(TriangulateTest, ThreePointsGiveTheirOneTriangle) {
    const ClipPointList points = WithDummy({{10, 10}, {50, 10}, {10, 50}});
    std::vector<ClipTriangleIndices> triangles;
    ASSERT_EQ(Triangulate(points, triangles), 1);
    const std::set<std::int32_t> corners{triangles[1].A, triangles[1].B, triangles[1].C};
    EXPECT_EQ(corners, (std::set<std::int32_t>{1, 2, 3}));
}

TEST(TriangulateTest, ConvexPolygonsGiveNMinusTwoTrianglesCoveringThem) {
    struct Case {
        ClipPointList points;
        std::int32_t triangles;
        std::int64_t doubledArea;
    };
    const Case cases[] = {
        {WithDummy({{0, 79}, {0, 0}, {99, 0}, {99, 79}}), 2, 2 * 99 * 79},
        {WithDummy({{50, 40}, {99, 40}, {99, 55}, {50, 70}}), 2, 49 * 15 + 49 * 30},
        // A hexagon: the rectangle 0..40 x 0..20 with two corners cut.
        {WithDummy({{10, 0}, {40, 0}, {40, 15}, {30, 20}, {0, 20}, {0, 5}}), 4, 2 * (800 - 25 - 25)},
        // Seven points, the most a clipped triangle gives.
        {WithDummy({{20, 0}, {60, 0}, {80, 20}, {80, 50}, {50, 79}, {0, 79}, {0, 20}}), 5, 0},
    };
    for (const Case& c : cases) {
        std::vector<ClipTriangleIndices> triangles;
        const std::int32_t ntri = Triangulate(c.points, triangles);
        EXPECT_EQ(ntri, c.triangles) << c.points.size() - 1 << " points";
        EXPECT_GE(triangles.size(), 2 * (c.points.size() - 1) + 1);
        if (c.doubledArea != 0) {
            EXPECT_EQ(DoubledArea(c.points, triangles, ntri), c.doubledArea);
        }
        for (std::int32_t i = 1; i <= ntri; ++i) {
            for (std::int32_t index : {triangles[i].A, triangles[i].B, triangles[i].C}) {
                EXPECT_GE(index, 1);
                EXPECT_LE(index, static_cast<std::int32_t>(c.points.size()) - 1);
            }
        }
    }
}

TEST(TriangulateTest, TooFewDistinctPointsGiveNothing) {
    const ClipPointList cases[] = {
        WithDummy({}),
        WithDummy({{5, 5}}),
        WithDummy({{5, 5}, {9, 9}}),
        WithDummy({{5, 5}, {9, 9}, {5, 5}}),
        WithDummy({{0, 0}, {5, 5}, {10, 10}}),     // collinear, slanted
        WithDummy({{0, 7}, {5, 7}, {10, 7}}),      // collinear in y
        WithDummy({{3, 0}, {3, 5}, {3, 10}, {3, 20}}),  // collinear in x
    };
    for (const ClipPointList& points : cases) {
        std::vector<ClipTriangleIndices> triangles;
        EXPECT_EQ(Triangulate(points, triangles), 0) << points.size() - 1 << " points";
    }
}

TEST(InCircleTest, CircumcircleThroughThreeCorners) {
    const ScreenPoint a{0, 0}, b{10, 0}, c{0, 10};  // centre (5, 5), first two corners level in y
    CircleTest t = InCircle({5, 5}, a, b, c);
    EXPECT_TRUE(t.inside);
    EXPECT_EQ(t.centreX, 5.0f);
    EXPECT_EQ(t.centreY, 5.0f);
    EXPECT_FALSE(InCircle({10, 10}, a, b, c).inside);  // on the circle
    EXPECT_FALSE(InCircle({11, 11}, a, b, c).inside);
    EXPECT_TRUE(InCircle({5, 5}, c, a, b).inside);  // last two corners level in y
    EXPECT_TRUE(InCircle({5, 5}, {0, 10}, {10, 0}, {10, 10}).inside);  // general case
    EXPECT_FALSE(InCircle({1, 1}, {0, 3}, {1, 3}, {2, 3}).inside);  // collinear in y
}

}  // namespace
}  // namespace maglorin
