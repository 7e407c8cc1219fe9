#include <gtest/gtest.h>

#include "raster/flat_triangle.h"
#include "raster/gradient_triangle.h"
#include "raster/modColor.h"
#include "raster_test_support.h"

namespace maglorin {
namespace {

using test_support::RightTrianglePixels;
using test_support::TestSurface;
using test_support::WholeSurface;

constexpr std::uint32_t kBlack = 0;

TEST(FlatTriangleTest, FillsEveryColumnFromTopToBottomRow) {
    TestSurface frame(8, 8), background(8, 8);
    FlatSpans spans;
    FlatTriangle(WholeSurface(frame), background.View(), {{1, 1}, {5, 1}, {1, 5}, {200, 100, 50}}, 0.0f, spans);
    EXPECT_EQ(frame.Changed(kBlack), RightTrianglePixels(1, 1, 4));
    EXPECT_EQ(frame.At(1, 5), 0x00C86432u);
    EXPECT_EQ(frame.At(5, 1), 0x00C86432u);
    EXPECT_TRUE(frame.GuardsIntact());
}

TEST(FlatTriangleTest, TruncatesTheEdgeRows) {
    // Edge (0,0)-(3,2) steps 2/3 of a row per column: rows 0, 0.67, 1.33, 2 truncate to 0, 0, 1, 2.
    TestSurface frame(6, 6), background(6, 6);
    FlatSpans spans;
    FlatTriangle(WholeSurface(frame), background.View(), {{0, 0}, {3, 2}, {3, 0}, {9, 9, 9}}, 0.0f, spans);
    const std::set<std::pair<int, int>> expected{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {3, 0}, {3, 1}, {3, 2}};
    EXPECT_EQ(frame.Changed(kBlack), expected);
}

TEST(FlatTriangleTest, TransparencyOneCopiesTheBackgroundExactly) {
    TestSurface frame(8, 8, 0x00123456u), background(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) background.View()(x, y) = 0xAB000000u + static_cast<std::uint32_t>(y * 8 + x);
    }
    FlatSpans spans;
    FlatTriangle(WholeSurface(frame), background.View(), {{1, 1}, {5, 1}, {1, 5}, {200, 0, 0}}, 1.0f, spans);
    const auto inside = RightTrianglePixels(1, 1, 4);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const std::uint32_t expected = inside.count({x, y}) ? background.At(x, y) : 0x00123456u;
            EXPECT_EQ(frame.At(x, y), expected) << x << "," << y;  // the raw word, top byte included
        }
    }
    // 0.99 blends and never copies.
    TestSurface blended(8, 8);
    FlatTriangle(WholeSurface(blended), background.View(), {{1, 1}, {5, 1}, {1, 5}, {200, 0, 0}}, 0.99f, spans);
    EXPECT_EQ(blended.At(1, 1), 0x00020000u);  // round(200 * 0.01) = 2
}

TEST(FlatTriangleTest, HalfTransparentFaceBlendsOverTheFrame) {
    TestSurface frame(8, 8), background(8, 8);
    frame.View()(3, 2) = 0x000000FFu;
    FlatSpans spans;
    FlatTriangle(WholeSurface(frame), background.View(), {{1, 1}, {5, 1}, {1, 5}, {200, 0, 0}}, 0.5f, spans);
    EXPECT_EQ(frame.At(1, 1), 0x00640000u);  // (100, 0, 0)
    EXPECT_EQ(frame.At(3, 2), 0x00640080u);  // (100, 0, 128): 127.5 rounds to even
}

TEST(FlatTriangleTest, OneColumnFaceAndClipRectangle) {
    TestSurface frame(8, 8), background(8, 8);
    FlatSpans spans;
    FlatTriangle(WholeSurface(frame), background.View(), {{3, 1}, {3, 6}, {3, 4}, {1, 1, 1}}, 0.0f, spans);
    std::set<std::pair<int, int>> column;
    for (int y = 1; y <= 6; ++y) column.insert({3, y});
    EXPECT_EQ(frame.Changed(kBlack), column);

    TestSurface clipped(8, 8);
    const RasterTarget target{clipped.View(), ClipRect{2, 7, 2, 7}};
    FlatTriangle(target, background.View(), {{1, 1}, {5, 1}, {1, 5}, {1, 1, 1}}, 0.0f, spans);
    const std::set<std::pair<int, int>> expected{{2, 2}, {2, 3}, {2, 4}, {3, 2}, {3, 3}, {4, 2}};
    EXPECT_EQ(clipped.Changed(kBlack), expected);
}

TEST(FlatTriangleTest, ColourIsTheAverageWhenLit) {
    const ColourRGB lit = FlatFaceColour(true, {10, 20, 30}, {20, 20, 30}, {30, 20, 30}, {1, 2, 3});
    EXPECT_EQ(lit.red, 20);
    EXPECT_EQ(lit.green, 20);
    const ColourRGB unlit = FlatFaceColour(false, {10, 20, 30}, {20, 20, 30}, {30, 20, 30}, {1, 2, 3});
    EXPECT_EQ(unlit.red, 1);
    EXPECT_EQ(unlit.blue, 3);
}

GradientFace UniformGradient(ScreenPoint a, ScreenPoint b, ScreenPoint c, ColourRGB colour) {
    return {a, b, c, colour, colour, colour};
}

TEST(GradientTriangleTest, SkipsTheTopRowOfEveryColumn) {
    TestSurface frame(8, 8);
    GradientSpans spans;
    GradientTriangle(WholeSurface(frame), UniformGradient({1, 1}, {5, 1}, {1, 5}, {90, 60, 30}), 0.0f, spans);
    // Columns 1..4 from row 2 down to the edge; column 5 has only its top row.
    std::set<std::pair<int, int>> expected = RightTrianglePixels(1, 1, 4);
    for (int x = 1; x <= 5; ++x) expected.erase({x, 1});
    EXPECT_EQ(frame.Changed(kBlack), expected);
    EXPECT_EQ(frame.At(1, 5), 0x005A3C1Eu);
}

TEST(GradientTriangleTest, ColourStepsDownTheColumnStartingFromTheTopColour) {
    TestSurface frame(8, 8);
    GradientSpans spans;
    const GradientFace face{{1, 1}, {5, 1}, {1, 5}, {0, 0, 0}, {0, 0, 0}, {200, 0, 0}};
    GradientTriangle(WholeSurface(frame), face, 0.0f, spans);
    // Column 1 runs from (row 1, red 0) to (row 5, red 200): 50 a row, and row 2 gets the top
    // colour, so rows 2..5 show 0, 50, 100, 150.
    EXPECT_EQ(frame.At(1, 2), 0x00000000u);
    EXPECT_EQ(frame.At(1, 3), 0x00320000u);
    EXPECT_EQ(frame.At(1, 4), 0x00640000u);
    EXPECT_EQ(frame.At(1, 5), 0x00960000u);
}

TEST(GradientTriangleTest, TransparencyOneLeavesThePixels) {
    TestSurface frame(8, 8, 0x00010203u);
    GradientSpans spans;
    GradientTriangle(WholeSurface(frame), UniformGradient({1, 1}, {5, 1}, {1, 5}, {90, 60, 30}), 1.0f, spans);
    EXPECT_TRUE(frame.Changed(0x00010203u).empty());
}

TEST(GradientTriangleTest, IgnoresTheClipRectangleButNotTheSurface) {
    TestSurface frame(8, 8);
    GradientSpans spans;
    const RasterTarget target{frame.View(), ClipRect{4, 7, 4, 7}};
    GradientTriangle(target, UniformGradient({-3, -3}, {20, -3}, {-3, 20}, {1, 1, 1}), 0.0f, spans);
    EXPECT_EQ(frame.At(0, 0), 0x00010101u);  // outside the clip rectangle, still drawn
    EXPECT_EQ(frame.At(7, 7), 0x00010101u);
    EXPECT_TRUE(frame.GuardsIntact());
}

}  // namespace
}  // namespace maglorin
