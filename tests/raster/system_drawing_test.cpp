#include "raster/system_drawing.h"

#include <gtest/gtest.h>

#include "raster_test_support.h"

namespace maglorin {
namespace {

using test_support::RightTrianglePixels;
using test_support::TestSurface;
using Pixels = std::set<std::pair<int, int>>;

constexpr std::uint32_t kSystemRed = 0x000000FFu;  // 0x00BBGGRR

TEST(SystemLineTest, LeavesOutTheEndPoint) {
    TestSurface surface(8, 8);
    DrawSystemLine(surface.View(), {0, 0}, {4, 0}, kSystemRed);
    EXPECT_EQ(surface.Changed(0), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(surface.At(0, 0), 0x00FF0000u);  // drawn as a surface pixel 0x00RRGGBB
}

TEST(SystemLineTest, MinorCoordinateRoundsToNearest) {
    TestSurface surface(8, 8);
    DrawSystemLine(surface.View(), {0, 0}, {4, 2}, kSystemRed);
    EXPECT_EQ(surface.Changed(0), (Pixels{{0, 0}, {1, 1}, {2, 1}, {3, 2}}));
    TestSurface steep(8, 8);
    DrawSystemLine(steep.View(), {5, 6}, {4, 1}, kSystemRed);  // y-major, upwards
    EXPECT_EQ(steep.Changed(0), (Pixels{{5, 6}, {5, 5}, {5, 4}, {4, 3}, {4, 2}}));
}

TEST(SystemLineTest, SamePointDrawsNothingAndTheSurfaceClips) {
    TestSurface surface(8, 8);
    DrawSystemLine(surface.View(), {3, 3}, {3, 3}, kSystemRed);
    EXPECT_TRUE(surface.Changed(0).empty());
    DrawSystemLine(surface.View(), {-5, 2}, {3, 2}, kSystemRed);
    EXPECT_EQ(surface.Changed(0), (Pixels{{0, 2}, {1, 2}, {2, 2}}));
    DrawSystemLine(surface.View(), {-2000000000, -5}, {2000000000, 30}, kSystemRed);
    DrawSystemLine(surface.View(), {4, -100}, {4, 100}, kSystemRed);
    EXPECT_TRUE(surface.GuardsIntact());
}

TEST(SystemPolygonTest, FillsInteriorAndOutlineInOneColour) {
    TestSurface surface(8, 8);
    const ScreenPoint triangle[] = {{1, 1}, {5, 1}, {1, 5}};
    FillSystemPolygon(surface.View(), triangle, 3, 0x00302010u);
    EXPECT_EQ(surface.Changed(0), RightTrianglePixels(1, 1, 4));
    EXPECT_EQ(surface.At(3, 2), 0x00102030u);
}

TEST(SystemPolygonTest, RectangleAndDegenerateShapes) {
    TestSurface surface(8, 8);
    const ScreenPoint square[] = {{1, 1}, {4, 1}, {4, 3}, {1, 3}};
    FillSystemPolygon(surface.View(), square, 4, kSystemRed);
    EXPECT_EQ(surface.Changed(0).size(), 12u);  // 4 x 3 pixels, outline included
    TestSurface point(8, 8);
    const ScreenPoint same[] = {{2, 2}, {2, 2}, {2, 2}};
    FillSystemPolygon(point.View(), same, 3, kSystemRed);
    EXPECT_EQ(point.Changed(0), (Pixels{{2, 2}}));
    TestSurface flat(8, 8);
    const ScreenPoint line[] = {{1, 6}, {6, 6}, {3, 6}};
    FillSystemPolygon(flat.View(), line, 3, kSystemRed);
    EXPECT_EQ(flat.Changed(0).size(), 6u);  // the outline alone: columns 1..6 of row 6
}

TEST(GradientFillTest, InterpolatesTheCornerColoursLinearly) {
    TestSurface surface(8, 8);
    GradientFillTriangle(surface.View(), {0, 0, 0xFF00, 0, 0, 0}, {4, 0, 0, 0xFF00, 0, 0}, {0, 4, 0, 0, 0xFF00, 0});
    EXPECT_EQ(surface.Changed(0), RightTrianglePixels(0, 0, 4));
    EXPECT_EQ(surface.At(0, 0), 0x00FF0000u);
    EXPECT_EQ(surface.At(4, 0), 0x0000FF00u);
    EXPECT_EQ(surface.At(0, 4), 0x000000FFu);
    EXPECT_EQ(surface.At(2, 2), 0x00007F7Fu);  // half green, half blue: 32640 >> 8
    EXPECT_EQ(surface.At(1, 1), 0x007F3F3Fu);
}

TEST(GradientFillTest, WindingDoesNotMatterAndFlatTrianglesDrawNothing) {
    TestSurface a(8, 8), b(8, 8);
    const GradientCorner p{1, 1, 0x1000, 0x2000, 0x3000, 0}, q{6, 2, 0x8000, 0x0000, 0xFF00, 0},
        r{2, 6, 0xFF00, 0xFF00, 0x0000, 0};
    GradientFillTriangle(a.View(), p, q, r);
    GradientFillTriangle(b.View(), p, r, q);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) EXPECT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
    }
    TestSurface flat(8, 8);
    GradientFillTriangle(flat.View(), {0, 0, 0xFF00, 0, 0, 0}, {3, 3, 0xFF00, 0, 0, 0}, {6, 6, 0xFF00, 0, 0, 0});
    EXPECT_TRUE(flat.Changed(0).empty());
}

TEST(GradientFillTest, ChannelsOutsideTheByteAreClampedNotWrapped) {
    EXPECT_EQ(ChannelToColour16(0), 0);
    EXPECT_EQ(ChannelToColour16(128), 0x8000);
    EXPECT_EQ(ChannelToColour16(255), 0xFF00);
    EXPECT_EQ(ChannelToColour16(256), 0xFF00);
    EXPECT_EQ(ChannelToColour16(-1), 0);
    const GradientCorner corner = MakeGradientCorner({3, 4}, {10, 20, 30});
    EXPECT_EQ(corner.x, 3);
    EXPECT_EQ(corner.red, 10 * 256);
    EXPECT_EQ(corner.blue, 30 * 256);
    EXPECT_EQ(corner.alpha, 0);
}

}  // namespace
}  // namespace maglorin

namespace maglorin {
namespace {

// Every pixel of a gradient triangle against the exact integer formula, on a triangle large enough
// for the quotient to come close to whole numbers often.
TEST(GradientFillTest, ChannelsAreTheFloorOfTheExactWeightedMean) {
    TestSurface surface(300, 200);
    const GradientCorner c0{-7, 3, 0xFF00, 0x0100, 0x8000, 0}, c1{293, 40, 0x0000, 0xFEFF, 0x7FFF, 0},
        c2{120, 199, 0x1234, 0xABCD, 0xFFFF, 0};
    GradientFillTriangle(surface.View(), c0, c1, c2);
    const std::int64_t area = (std::int64_t{c1.x} - c0.x) * (c2.y - c0.y) - (std::int64_t{c1.y} - c0.y) * (c2.x - c0.x);
    std::size_t checked = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            const std::int64_t w0 = (std::int64_t{c2.x} - c1.x) * (y - c1.y) - (std::int64_t{c2.y} - c1.y) * (x - c1.x);
            const std::int64_t w1 = (std::int64_t{c0.x} - c2.x) * (y - c2.y) - (std::int64_t{c0.y} - c2.y) * (x - c2.x);
            const std::int64_t w2 = (std::int64_t{c1.x} - c0.x) * (y - c0.y) - (std::int64_t{c1.y} - c0.y) * (x - c0.x);
            if (w0 < 0 || w1 < 0 || w2 < 0) {
                ASSERT_EQ(surface.At(x, y), 0u) << x << "," << y;
                continue;
            }
            const auto channel = [&](std::uint16_t a, std::uint16_t b, std::uint16_t c) {
                return static_cast<std::uint32_t>(((w0 * a + w1 * b + w2 * c) / area) >> 8);
            };
            const std::uint32_t expected = (channel(c0.red, c1.red, c2.red) << 16) |
                                           (channel(c0.green, c1.green, c2.green) << 8) |
                                           channel(c0.blue, c1.blue, c2.blue);
            ASSERT_EQ(surface.At(x, y), expected) << x << "," << y;
            ++checked;
        }
    }
    EXPECT_GT(checked, 20000u);
}

}  // namespace
}  // namespace maglorin
