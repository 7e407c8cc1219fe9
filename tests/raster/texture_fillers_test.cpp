#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "raster/modColor.h"
#include "raster/photo_triangle.h"
#include "raster/rounding.h"
#include "raster/texture_triangle.h"
#include "raster/texture_wrap.h"
#include "raster/textured_line.h"
#include "raster_test_support.h"

namespace maglorin {
namespace {

using test_support::FillTexelNames;
using test_support::RightTrianglePixels;
using test_support::TestSurface;
using test_support::WholeSurface;

// The wrap as a plain loop of subtractions and additions, for coordinates where it terminates.
float WrapByRepetition(float u, float w) {
    if (u > w) {
        do {
            u -= w;
        } while (!(u < w));
    }
    if (u < 0.0f) {
        do {
            u += w;
        } while (!(u > 0.0f));
    }
    return u;
}

TEST(WrapTexCoordTest, PeriodIsWidthMinusOne) {
    struct Case {
        float value;
        std::int32_t period;
        float wrapped;
    };
    const Case cases[] = {{-1.0f, 255, 254.0f}, {255.0f, 255, 255.0f}, {255.5f, 255, 0.5f}, {0.0f, 255, 0.0f},
                          {-255.0f, 255, 255.0f}, {510.0f, 255, 0.0f}, {600.25f, 255, 90.25f}, {-0.5f, 3, 2.5f},
                          {7.0f, 0, 0.0f}, {-7.0f, 0, 0.0f}, {std::nanf(""), 255, 0.0f}, {INFINITY, 255, 0.0f}};
    for (const Case& c : cases) EXPECT_EQ(WrapCoordinate(c.value, c.period), c.wrapped) << c.value << " / " << c.period;
}

TEST(WrapTexCoordTest, SameAsRepeatedSubtractionAndAlwaysInRange) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> values(-5000.0f, 5000.0f);
    for (std::int32_t period : {1, 2, 3, 63, 255, 1023}) {
        for (int i = 0; i < 20000; ++i) {
            const float u = values(random);
            const float wrapped = WrapCoordinate(u, period);
            const float expected = (u >= 0.0f && u <= static_cast<float>(period)) ? u : WrapByRepetition(u, static_cast<float>(period));
            ASSERT_EQ(wrapped, expected) << u << " / " << period;
        }
    }
    for (float huge : {1e9f, -1e9f, 3e38f, -3e38f}) {
        const float wrapped = WrapCoordinate(huge, 255);
        EXPECT_GE(wrapped, 0.0f);
        EXPECT_LE(wrapped, 255.0f);
    }
}

TEST(WrapTexCoordTest, WrapsBothCoordinatesByTheirOwnPeriod) {
    TestSurface texture(256, 17);
    float u = -1.0f, v = 17.5f;
    WrapTexCoord(texture.View(), u, v);
    EXPECT_EQ(u, 254.0f);
    EXPECT_EQ(v, 1.5f);
}

TextureFace IdentityMapped(ScreenPoint a, ScreenPoint b, ScreenPoint c, float scale = 1.0f) {
    const auto tex = [scale](ScreenPoint p) { return TexCoord{p.x * scale, p.y * scale}; };
    return {a, b, c, tex(a), tex(b), tex(c)};
}

TEST(TextureTriangleTest, OpaqueUnlitCopiesTheTexels) {
    TestSurface frame(8, 8), texture(4, 4);
    FillTexelNames(texture.View());
    TextureSpans spans;
    TextureTriangle(WholeSurface(frame), IdentityMapped({0, 0}, {3, 0}, {0, 3}), texture.View(), 0.0f, false, 40, spans);
    const auto inside = RightTrianglePixels(0, 0, 3);
    EXPECT_EQ(frame.Changed(0), inside);
    for (const auto& [x, y] : inside) EXPECT_EQ(frame.At(x, y), texture.At(x, y)) << x << "," << y;
}

TEST(TextureTriangleTest, ShadeBrightensOrDarkensEveryByte) {
    TestSurface frame(8, 8), texture(4, 4, 0x00F01020u);
    TextureSpans spans;
    const TextureFace face = IdentityMapped({0, 0}, {3, 0}, {0, 3});
    TextureTriangle(WholeSurface(frame), face, texture.View(), 0.0f, true, 40, spans);
    EXPECT_EQ(frame.At(1, 1), 0x00FF3848u);  // 0xF0 + 40 saturates
    TextureTriangle(WholeSurface(frame), face, texture.View(), 0.0f, true, -300, spans);
    EXPECT_EQ(frame.At(1, 1), 0x00000000u);
    TextureTriangle(WholeSurface(frame), face, texture.View(), 0.0f, false, -300, spans);
    EXPECT_EQ(frame.At(1, 1), 0x00F01020u);  // no light: the shade has no effect
}

TEST(TextureTriangleTest, TransparentFaceBlendsTheShadedTexel) {
    TestSurface frame(8, 8), texture(4, 4, 0x00F01020u);
    TextureSpans spans;
    const TextureFace face = IdentityMapped({0, 0}, {3, 0}, {0, 3});
    TextureTriangle(WholeSurface(frame), face, texture.View(), 0.5f, false, 40, spans);
    EXPECT_EQ(frame.At(1, 1), 0x00780810u);  // halves of 0xF0, 0x10, 0x20 over black
    TestSurface lit(8, 8);
    TextureTriangle(WholeSurface(lit), face, texture.View(), 0.5f, true, 40, spans);
    EXPECT_EQ(lit.At(1, 1), 0x00801C24u);  // halves of 255, 56, 72: 127.5 -> 128, 28, 36
}

TEST(TextureTriangleTest, CoordinatesBeyondTheTextureTile) {
    TestSurface frame(8, 8), texture(4, 4);
    FillTexelNames(texture.View());
    TextureSpans spans;
    // u runs -3..0 along the top row: -3, -2, -1 wrap (period 3) to 3, 1, 2; -3 + 3 is 0, which
    // is not above 0, so one more period is added.
    const TextureFace face{{0, 0}, {3, 0}, {0, 3}, {-3.0f, 0.0f}, {0.0f, 0.0f}, {-3.0f, 3.0f}};
    TextureTriangle(WholeSurface(frame), face, texture.View(), 0.0f, false, 0, spans);
    EXPECT_EQ(frame.At(0, 0), texture.At(3, 0));
    EXPECT_EQ(frame.At(1, 0), texture.At(1, 0));
    EXPECT_EQ(frame.At(2, 0), texture.At(2, 0));
    EXPECT_EQ(frame.At(3, 0), texture.At(0, 0));
}

// Visible rows of a face partly above ClipTop show the texels they show when the whole face is on
// screen.
TEST(TextureTriangleTest, FaceAboveClipTopKeepsItsTexelsInTheVisibleRows) {
    TestSurface whole(40, 40), clipped(40, 40), texture(64, 64);
    FillTexelNames(texture.View());
    TextureSpans spans;
    const TextureFace face = IdentityMapped({2, 1}, {34, 1}, {2, 33}, 2.0f);
    TextureTriangle(WholeSurface(whole), face, texture.View(), 0.0f, false, 0, spans);
    const int clipTop = 9;
    TextureTriangle(RasterTarget{clipped.View(), ClipRect{0, 39, clipTop, 39}}, face, texture.View(), 0.0f, false, 0,
                    spans);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const std::uint32_t expected = y < clipTop ? 0u : whole.At(x, y);
            ASSERT_EQ(clipped.At(x, y), expected) << x << "," << y;
        }
    }
    EXPECT_EQ(whole.At(2, 1), texture.At(4, 2));
}

TEST(PhotoShadeTest, HalfTheGreyDifferenceRoundedToEven) {
    struct Case {
        std::int16_t level;
        std::int16_t grey;
        std::int16_t k;
    };
    const Case cases[] = {{255, 155, 50}, {0, 200, -100}, {101, 100, 0}, {103, 100, 2},
                          {99, 100, 0},   {97, 100, -2},  {100, 100, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(PhotoShade({c.level, c.level, c.level}, c.grey), c.k) << c.level << " - " << c.grey;
    }
}

PhotoFace UniformPhoto(ColourRGB colour) {
    return {{0, 0}, {3, 0}, {0, 3}, {0.0f, 0.0f}, {3.0f, 0.0f}, {0.0f, 3.0f}, colour, colour, colour};
}

TEST(PhotoTriangleTest, ShadeFollowsTheGreyLevelOfTheLitColour) {
    TestSurface texture(4, 4);
    FillTexelNames(texture.View());
    PhotoSpans spans;
    TestSurface same(8, 8);
    PhotoTriangle(WholeSurface(same), UniformPhoto({100, 100, 100}), texture.View(), 0.0f, 100, spans);
    const auto inside = RightTrianglePixels(0, 0, 3);
    EXPECT_EQ(same.Changed(0), inside);
    for (const auto& [x, y] : inside) EXPECT_EQ(same.At(x, y), texture.At(x, y)) << x << "," << y;

    TestSurface white(8, 8);
    PhotoTriangle(WholeSurface(white), UniformPhoto({255, 255, 255}), texture.View(), 0.0f, 155, spans);
    EXPECT_EQ(white.At(2, 1), 0x00343342u);  // texel 0x00020110, every byte + 50

    TestSurface dark(8, 8, 0x00FFFFFFu);
    TestSurface brightTexture(4, 4, 0x00C8FF64u);
    PhotoTriangle(WholeSurface(dark), UniformPhoto({0, 0, 0}), brightTexture.View(), 0.0f, 200, spans);
    EXPECT_EQ(dark.At(1, 1), 0x00649B00u);  // every byte - 100
}

TEST(PhotoTriangleTest, ClippedFaceStartsItsShadingFromTheTopColour) {
    TestSurface texture(4, 4);  // black texels: the pixel is the shade itself
    PhotoSpans spans;
    // Column 0 runs from black (row 0) to (240, 240, 240) (row 3): 80 a row, k = 0, 40, 80, 120.
    const PhotoFace face{{0, 0}, {3, 0}, {0, 3}, {0, 0}, {3, 0}, {0, 3}, {0, 0, 0}, {0, 0, 0}, {240, 240, 240}};
    TestSurface whole(8, 8);
    PhotoTriangle(WholeSurface(whole), face, texture.View(), 0.0f, 0, spans);
    EXPECT_EQ(whole.At(0, 0), 0x00000000u);
    EXPECT_EQ(whole.At(0, 1), 0x00282828u);
    EXPECT_EQ(whole.At(0, 2), 0x00505050u);
    EXPECT_EQ(whole.At(0, 3), 0x00787878u);
    TestSurface clipped(8, 8);
    PhotoTriangle(RasterTarget{clipped.View(), ClipRect{0, 7, 2, 7}}, face, texture.View(), 0.0f, 0, spans);
    EXPECT_EQ(clipped.At(0, 1), 0x00000000u);
    EXPECT_EQ(clipped.At(0, 2), 0x00000000u);
    EXPECT_EQ(clipped.At(0, 3), 0x00282828u);
}

TEST(PhotoTriangleTest, TransparentFaceBlendsTheSameShading) {
    TestSurface texture(4, 4, 0x00646464u);
    PhotoSpans spans;
    TestSurface frame(8, 8);
    PhotoTriangle(WholeSurface(frame), UniformPhoto({255, 255, 255}), texture.View(), 0.5f, 155, spans);
    EXPECT_EQ(frame.At(1, 1), 0x004B4B4Bu);  // (100 + 50) / 2
}

TEST(TexturedLineTest, HorizontalLineOfLengthTenPlotsElevenTexels) {
    TestSurface frame(16, 16), texture(16, 4);
    FillTexelNames(texture.View());
    TexturedLine(WholeSurface(frame), {1, 5}, {0.0f, 1.0f}, {11, 5}, {10.0f, 1.0f}, texture.View());
    EXPECT_EQ(frame.Changed(0).size(), 11u);
    for (int x = 1; x <= 11; ++x) EXPECT_EQ(frame.At(x, 5), texture.At(x - 1, 1)) << x;
    // Drawn from the other end, the same pixels.
    TestSurface reversed(16, 16);
    TexturedLine(WholeSurface(reversed), {11, 5}, {10.0f, 1.0f}, {1, 5}, {0.0f, 1.0f}, texture.View());
    for (int x = 1; x <= 11; ++x) EXPECT_EQ(reversed.At(x, 5), frame.At(x, 5)) << x;
}

TEST(TexturedLineTest, StrictClipAndSinglePoint) {
    TestSurface frame(16, 16), texture(4, 4);
    FillTexelNames(texture.View());
    TexturedLine(WholeSurface(frame), {1, 0}, {0, 0}, {5, 0}, {3, 0}, texture.View());  // on ClipTop
    TexturedLine(WholeSurface(frame), {0, 3}, {0, 0}, {0, 9}, {3, 0}, texture.View());  // on ClipLeft
    EXPECT_TRUE(frame.Changed(0).empty());
    TexturedLine(WholeSurface(frame), {3, 3}, {2.0f, 1.0f}, {3, 3}, {2.0f, 1.0f}, texture.View());
    EXPECT_EQ(frame.Changed(0).size(), 1u);
    EXPECT_EQ(frame.At(3, 3), texture.At(2, 1));
}

TEST(TexturedLineTest, SteepLineStepsByRows) {
    TestSurface frame(16, 16), texture(4, 8);
    FillTexelNames(texture.View());
    TexturedLine(WholeSurface(frame), {2, 1}, {0.0f, 0.0f}, {4, 7}, {0.0f, 6.0f}, texture.View());
    // x steps by 1/3 a row: rows 1..7 at x 2, 2.33, 2.67, 3, 3.33, 3.67, 4.
    const int columns[] = {2, 2, 3, 3, 3, 4, 4};
    for (int row = 1; row <= 7; ++row) EXPECT_EQ(frame.At(columns[row - 1], row), texture.At(0, row - 1)) << row;
    EXPECT_EQ(frame.Changed(0).size(), 7u);
}

TEST(TexturedLineTest, RepeatsWithPeriodWidthMinusOneContinuingFromWrappedValues) {
    TestSurface frame(16, 16), texture(4, 1);
    FillTexelNames(texture.View());
    TexturedLine(WholeSurface(frame), {1, 2}, {0.0f, 0.0f}, {7, 2}, {6.0f, 0.0f}, texture.View());
    const int texels[] = {0, 1, 2, 3, 1, 2, 3};
    for (int x = 1; x <= 7; ++x) EXPECT_EQ(frame.At(x, 2), texture.At(texels[x - 1], 0)) << x;
}

}  // namespace
}  // namespace maglorin

namespace maglorin {
namespace {

// The integer forms the photo filler uses per pixel give what the real-valued rules give, for
// every value they can meet.
TEST(PhotoShadeTest, IntegerFormsMatchTheRealValuedRules) {
    for (std::int16_t sum = 0; sum <= 765; ++sum) {
        ASSERT_EQ(GreyOfSum(sum), GreyLevel(ColourRGB{sum, 0, 0})) << sum;
    }
    for (std::int32_t d = -2000; d <= 2000; ++d) {
        ASSERT_EQ(HalfToEven(d), RoundToInt32(static_cast<float>(d) * 0.5f)) << d;
    }
    for (float v = -3.0f; v <= 300.0f; v += 0.125f) {
        ASSERT_EQ(ClampedChannel(v), v > 255.0f ? 255 : (v < 0.0f ? 0 : RoundToInt16(v))) << v;
    }
}

}  // namespace
}  // namespace maglorin
