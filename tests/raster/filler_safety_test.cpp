// Degenerate input never leads a filler outside a surface or a table: run these under the
// sanitizers as well (the guard words around each surface catch stray writes without them).
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "raster/flat_triangle.h"
#include "raster/gradient_triangle.h"
#include "raster/photo_triangle.h"
#include "raster/system_drawing.h"
#include "raster/texture_triangle.h"
#include "raster/textured_line.h"
#include "raster_test_support.h"

namespace maglorin {
namespace {

using test_support::FillTexelNames;
using test_support::TestSurface;

constexpr std::int32_t kHuge = 2000000000;

// Corner sets that have broken fillers: far outside the canvas (a vertex near depth 0), one point,
// one line, corners on the surface's edge and just past it.
std::vector<std::array<ScreenPoint, 3>> AwkwardTriangles() {
    return {
        {{{-kHuge, 5}, {10, 3}, {12, 14}}},
        {{{kHuge, kHuge}, {-kHuge, -kHuge}, {5, 5}}},
        {{{3, -kHuge}, {5, kHuge}, {8, 8}}},
        {{{-150000, 4}, {10, 3}, {12, 14}}},       // far out, yet within the drawn extent
        {{{4, -150000}, {10, 3}, {12, 150000}}},
        {{{5, 5}, {5, 5}, {5, 5}}},
        {{{0, 0}, {15, 15}, {7, 7}}},
        {{{0, 0}, {15, 0}, {0, 15}}},
        {{{-1, -1}, {16, -1}, {-1, 16}}},
        {{{16, 16}, {40, 16}, {16, 40}}},
        {{{-20, 8}, {40, 7}, {9, 9}}},
    };
}

std::vector<RasterTarget> Targets(const TestSurface& frame) {
    const PixelView& view = frame.View();
    return {
        RasterTarget{view, ClipRect{0, view.width - 1, 0, view.height - 1}},
        RasterTarget{view, ClipRect{-50, 500, -50, 500}},  // larger than the surface
        RasterTarget{view, ClipRect{4, 3, 9, 2}},          // empty
        RasterTarget{PixelView{}, ClipRect{0, 15, 0, 15}},  // no surface at all
    };
}

TEST(FillerSafetyTest, ColumnFillersStayOnTheSurface) {
    TestSurface frame(16, 16), background(8, 8);  // a smaller background than the frame
    FlatSpans flat;
    GradientSpans gradient;
    for (const RasterTarget& target : Targets(frame)) {
        for (const auto& t : AwkwardTriangles()) {
            for (float transparency : {0.0f, 0.5f, 1.0f, -3.0f, 1000.0f}) {
                FlatTriangle(target, background.View(), {t[0], t[1], t[2], {255, 0, 255}}, transparency, flat);
                GradientTriangle(target, {t[0], t[1], t[2], {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, transparency,
                                 gradient);
            }
        }
    }
    EXPECT_TRUE(frame.GuardsIntact());
    EXPECT_TRUE(background.GuardsIntact());
}

TEST(FillerSafetyTest, TextureFillersStayOnSurfaceAndTexture) {
    TestSurface frame(16, 16);
    std::vector<std::unique_ptr<TestSurface>> textures;
    for (auto [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {1, 7}, {7, 1}, {2, 2}, {5, 3}}) {
        textures.push_back(std::make_unique<TestSurface>(w, h));
        FillTexelNames(textures.back()->View());
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const TexCoord coordinates[][3] = {
        {{0, 0}, {4, 0}, {0, 4}},
        {{-1e30f, 3}, {1e30f, -7}, {5, 1e9f}},
        {{nan, 0}, {1, nan}, {INFINITY, -INFINITY}},
        {{-0.5f, -0.5f}, {-1000.25f, 2.5f}, {77.75f, -3.0f}},
    };
    TextureSpans textureSpans;
    PhotoSpans photoSpans;
    for (const RasterTarget& target : Targets(frame)) {
        for (const auto& t : AwkwardTriangles()) {
            for (const auto& tex : coordinates) {
                for (const auto& texture : textures) {
                    const PixelView& view = texture->View();
                    TextureTriangle(target, {t[0], t[1], t[2], tex[0], tex[1], tex[2]}, view, 0.0f, false, 0, textureSpans);
                    TextureTriangle(target, {t[0], t[1], t[2], tex[0], tex[1], tex[2]}, view, 0.5f, true, -30,
                                    textureSpans);
                    PhotoTriangle(target, {t[0], t[1], t[2], tex[0], tex[1], tex[2], {255, 255, 255}, {0, 0, 0}, {9, 9, 9}},
                                  view, 0.0f, 128, photoSpans);
                    TexturedLine(target, t[0], tex[0], t[1], tex[1], view);
                    TexturedLine(target, t[1], tex[1], t[2], tex[2], view);
                }
                // A material whose texture has no pixels draws nothing.
                TextureTriangle(target, {t[0], t[1], t[2], tex[0], tex[1], tex[2]}, PixelView{}, 0.0f, false, 0,
                                textureSpans);
                PhotoTriangle(target, {t[0], t[1], t[2], tex[0], tex[1], tex[2], {}, {}, {}}, PixelView{}, 0.0f, 0,
                              photoSpans);
                TexturedLine(target, t[0], tex[0], t[1], tex[1], PixelView{});
            }
        }
    }
    EXPECT_TRUE(frame.GuardsIntact());
    for (const auto& texture : textures) EXPECT_TRUE(texture->GuardsIntact());
}

TEST(FillerSafetyTest, OneTexelWideTextureRepeatsItsOnlyColumn) {
    TestSurface frame(16, 16), texture(1, 4);
    FillTexelNames(texture.View());
    TextureSpans spans;
    TextureTriangle(test_support::WholeSurface(frame), {{0, 0}, {9, 0}, {0, 3}, {-7.5f, 0}, {300.0f, 0}, {-7.5f, 3}},
                    texture.View(), 0.0f, false, 0, spans);
    for (int x = 0; x <= 9; ++x) EXPECT_EQ(frame.At(x, 0), texture.At(0, 0)) << x;
    TexturedLine(test_support::WholeSurface(frame), {1, 5}, {-3, 2}, {9, 5}, {44, 2}, texture.View());
    for (int x = 1; x <= 9; ++x) EXPECT_EQ(frame.At(x, 5), texture.At(0, 2)) << x;
}

TEST(FillerSafetyTest, SystemServicesStayOnTheSurface) {
    TestSurface surface(16, 16);
    for (const auto& t : AwkwardTriangles()) {
        FillSystemPolygon(surface.View(), t.data(), t.size(), 0x00FFFFFFu);
        GradientFillTriangle(surface.View(), MakeGradientCorner(t[0], {255, 0, 0}), MakeGradientCorner(t[1], {0, 255, 0}),
                             MakeGradientCorner(t[2], {0, 0, 255}));
        DrawSystemLine(surface.View(), t[0], t[1], 0x00FFFFFFu);
        FillSystemPolygon(PixelView{}, t.data(), t.size(), 0x00FFFFFFu);
    }
    FillSystemPolygon(surface.View(), nullptr, 3, 0);
    EXPECT_TRUE(surface.GuardsIntact());
}

// The span tables cover only the columns that can change pixels; what is drawn in a column must
// not depend on how far the table reaches, even with a vertex far off the canvas.
TEST(SpanTableLimitTest, NarrowClipDrawsTheSameColumnsAsAWideOne) {
    const ScreenPoint a{-150000, 3}, b{37, 1}, c{20, 38};
    const ClipRect wide{0, 39, 0, 39}, narrow{10, 29, 0, 39};
    TestSurface texture(64, 64);
    FillTexelNames(texture.View());
    const TexCoord ta{-7000.3f, 1.7f}, tb{40.2f, 3.1f}, tc{20.9f, 60.4f};

    TestSurface flatWide(40, 40), flatNarrow(40, 40), background(40, 40, 0x00ABCDEFu);
    FlatSpans flat;
    FlatTriangle({flatWide.View(), wide}, background.View(), {a, b, c, {10, 20, 30}}, 0.25f, flat);
    FlatTriangle({flatNarrow.View(), narrow}, background.View(), {a, b, c, {10, 20, 30}}, 0.25f, flat);

    TestSurface texWide(40, 40), texNarrow(40, 40);
    TextureSpans tex;
    TextureTriangle({texWide.View(), wide}, {a, b, c, ta, tb, tc}, texture.View(), 0.0f, false, 0, tex);
    TextureTriangle({texNarrow.View(), narrow}, {a, b, c, ta, tb, tc}, texture.View(), 0.0f, false, 0, tex);

    TestSurface photoWide(40, 40), photoNarrow(40, 40);
    PhotoSpans photo;
    const PhotoFace face{a, b, c, ta, tb, tc, {250, 10, 10}, {10, 250, 10}, {10, 10, 250}};
    PhotoTriangle({photoWide.View(), wide}, face, texture.View(), 0.0f, 90, photo);
    PhotoTriangle({photoNarrow.View(), narrow}, face, texture.View(), 0.0f, 90, photo);

    std::size_t drawn = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 10; x <= 29; ++x) {
            ASSERT_EQ(flatNarrow.At(x, y), flatWide.At(x, y)) << x << "," << y;
            ASSERT_EQ(texNarrow.At(x, y), texWide.At(x, y)) << x << "," << y;
            ASSERT_EQ(photoNarrow.At(x, y), photoWide.At(x, y)) << x << "," << y;
            if (texWide.At(x, y) != 0) ++drawn;
        }
    }
    EXPECT_GT(drawn, 100u);
}

TEST(SpanTableLimitTest, GradientColumnsDoNotDependOnTheSurfaceWidth) {
    const GradientFace face{{-150000, 3}, {37, 1}, {20, 38}, {250, 10, 10}, {10, 250, 10}, {10, 10, 250}};
    TestSurface wide(40, 40), narrow(20, 40);
    GradientSpans spans;
    GradientTriangle({wide.View(), ClipRect{0, 39, 0, 39}}, face, 0.0f, spans);
    GradientTriangle({narrow.View(), ClipRect{0, 19, 0, 39}}, face, 0.0f, spans);
    std::size_t drawn = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(narrow.At(x, y), wide.At(x, y)) << x << "," << y;
            if (wide.At(x, y) != 0) ++drawn;
        }
    }
    EXPECT_GT(drawn, 100u);
}

TEST(SpanTableLimitTest, FaceBeyondTheDrawnExtentIsLeftOut) {
    TestSurface frame(16, 16), background(16, 16);
    FlatSpans spans;
    FlatTriangle(test_support::WholeSurface(frame), background.View(), {{-kHuge, 5}, {10, 3}, {12, 14}, {1, 1, 1}}, 0.0f,
                 spans);
    EXPECT_TRUE(frame.Changed(0).empty());
    FlatTriangle(test_support::WholeSurface(frame), background.View(),
                 {{static_cast<std::int32_t>(-kMaxFaceExtent) + 12, 5}, {10, 3}, {12, 14}, {1, 1, 1}}, 0.0f, spans);
    EXPECT_FALSE(frame.Changed(0).empty());
}

// Rows far off the canvas cost the column walks nothing: such a face still shows its visible part.
TEST(SpanTableLimitTest, ColumnFillersDrawFacesReachingFarAboveAndBelow) {
    TestSurface frame(16, 16), background(16, 16), texture(4, 4, 0x00123456u);
    FlatSpans flat;
    FlatTriangle(test_support::WholeSurface(frame), background.View(), {{2, -kHuge}, {12, 8}, {3, kHuge}, {1, 1, 1}}, 0.0f,
                 flat);
    EXPECT_EQ(frame.At(3, 8), 0x00010101u);
    TextureSpans tex;
    TextureTriangle(test_support::WholeSurface(frame), {{2, -kHuge}, {12, 8}, {3, kHuge}, {0, 0}, {3, 0}, {0, 3}},
                    texture.View(), 0.0f, false, 0, tex);
    EXPECT_EQ(frame.At(3, 8), 0x00123456u);
    EXPECT_TRUE(frame.GuardsIntact());
}

}  // namespace
}  // namespace maglorin
