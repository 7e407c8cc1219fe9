// The photo filler's fast forms against the plain rules they replace: the SSE2 shade steps over
// every value they can meet, the edge walk that skips inner rows against the plain gradient walk
// (span by span, bit for bit), and whole faces against a reference filler written the plain way.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "raster/edge_walk.h"
#include "raster/modColor.h"
#include "raster/photo_edge_walk.h"
#include "raster/photo_shading.h"
#include "raster/photo_triangle.h"
#include "raster/texture_wrap.h"
#include "raster_test_support.h"

namespace maglorin {
namespace {

using test_support::TestSurface;

std::int32_t PlainShade(float red, float green, float blue, std::int16_t grey) {
    const std::int32_t sum = ClampedChannel(red) + ClampedChannel(green) + ClampedChannel(blue);
    return static_cast<std::int16_t>(HalfToEven(GreyOfSum(sum) - grey));
}

// Channel values around every whole number and every half of 0..255 (a few ulps either side),
// beyond both ends, and the values that are not numbers at all.
std::vector<float> ChannelValues() {
    std::vector<float> values = {-0.0f, 0.0f, -1.0f, -0.5f, 255.0f, 255.5f, 256.0f, 1.0e9f, -1.0e9f,
                                 std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                                 std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::denorm_min()};
    for (int whole = -3; whole <= 260; ++whole) {
        for (float centre : {static_cast<float>(whole), whole + 0.5f}) {
            float below = centre, above = centre;
            for (int ulp = 0; ulp < 4; ++ulp) {
                values.push_back(below);
                values.push_back(above);
                below = std::nextafter(below, -1.0e9f);
                above = std::nextafter(above, 1.0e9f);
            }
        }
    }
    for (float v = -4.0f; v <= 300.0f; v += 1.0f / 64.0f) values.push_back(v);
    return values;
}

TEST(PhotoShadingTest, ShadeOffsetMatchesTheScalarRuleInEveryChannel) {
    const std::vector<float> values = ChannelValues();
    for (float v : values) {
        for (std::int16_t grey : {std::int16_t{0}, std::int16_t{85}, std::int16_t{155}, std::int16_t{255}}) {
            ASSERT_EQ(ShadeOffset(MakeColourLanes(v, 0.0f, 0.0f), grey), PlainShade(v, 0.0f, 0.0f, grey)) << v;
            ASSERT_EQ(ShadeOffset(MakeColourLanes(40.0f, v, 200.0f), grey), PlainShade(40.0f, v, 200.0f, grey)) << v;
            ASSERT_EQ(ShadeOffset(MakeColourLanes(255.0f, 255.0f, v), grey), PlainShade(255.0f, 255.0f, v, grey)) << v;
        }
    }
}

TEST(PhotoShadingTest, ShadeOffsetMatchesTheRealValuedRuleForEverySumAndGrey) {
    // Every channel sum 0..765, split three ways, against every grey a 16-bit material can give.
    for (std::int32_t sum = 0; sum <= 765; ++sum) {
        const std::int16_t red = static_cast<std::int16_t>(std::min(sum, 255));
        const std::int16_t green = static_cast<std::int16_t>(std::min(sum - red, 255));
        const std::int16_t blue = static_cast<std::int16_t>(sum - red - green);
        const ColourLanes lanes = MakeColourLanes(blue, red, green);
        for (std::int32_t grey = -10923; grey <= 10923; grey += (grey > -300 && grey < 1100) ? 1 : 97) {
            const std::int16_t g16 = static_cast<std::int16_t>(grey);
            ASSERT_EQ(ShadeOffset(lanes, g16), PhotoShade(ColourRGB{red, green, blue}, g16)) << sum << " " << grey;
        }
    }
}

TEST(PhotoShadingTest, AddShadeToTexelMatchesAddToPixelBytesForEveryByteAndOffset) {
    for (std::uint32_t byte = 0; byte <= 255; ++byte) {
        const std::uint32_t texels[] = {byte | ((255u - byte) << 8) | (((byte * 7u) & 255u) << 16),
                                        0xFF000000u | (byte << 16) | (byte << 8) | byte,
                                        0x5A000000u | (((byte * 13u) & 255u) << 8) | (255u - byte)};
        for (std::uint32_t texel : texels) {
            for (std::int32_t k = -17000; k <= 17000; k += (k > -600 && k < 600) ? 1 : 37) {
                ASSERT_EQ(AddShadeToTexel(texel, k), AddToPixelBytes(texel, static_cast<std::int16_t>(k)))
                    << std::hex << texel << std::dec << " " << k;
            }
        }
    }
}

// Spans compared bit for bit (-0 and NaN included).
void ExpectSameSpans(const PhotoSpans& expected, const PhotoSpans& actual) {
    ASSERT_EQ(expected.First(), actual.First());
    ASSERT_EQ(expected.Last(), actual.Last());
    if (expected.Empty()) return;
    const auto bits = [](float f) { return std::bit_cast<std::uint32_t>(f); };
    for (std::int64_t x = expected.First(); x <= expected.Last(); ++x) {
        const ColumnSpan<5>& e = expected.At(x);
        const ColumnSpan<5>& a = actual.At(x);
        ASSERT_EQ(e.Set, a.Set) << x;
        ASSERT_EQ(bits(e.TopY), bits(a.TopY)) << x;
        ASSERT_EQ(bits(e.BottomY), bits(a.BottomY)) << x;
        for (std::size_t k = 0; k < 5; ++k) {
            ASSERT_EQ(bits(e.Top[k]), bits(a.Top[k])) << x << " " << k;
            ASSERT_EQ(bits(e.Bottom[k]), bits(a.Bottom[k])) << x << " " << k;
        }
    }
}

EdgeEnd<5> RandomEnd(std::mt19937& random, std::int32_t reach) {
    std::uniform_int_distribution<std::int32_t> coordinate(-reach, reach);
    std::uniform_real_distribution<float> texel(-600.0f, 600.0f);
    std::uniform_int_distribution<int> channel(0, 255);
    return {{coordinate(random), coordinate(random)},
            {texel(random), texel(random), static_cast<float>(channel(random)), static_cast<float>(channel(random)),
             static_cast<float>(channel(random))}};
}

TEST(PhotoEdgeWalkTest, RecordsTheSameSpansAsThePlainGradientWalk) {
    std::mt19937 random(20261208);
    // Small faces (many rows per column and many edges sharing columns), large ones, and faces
    // far off the table on either side.
    const std::int32_t reaches[] = {3, 12, 60, 400, 5000};
    for (std::int32_t reach : reaches) {
        for (int face = 0; face < 3000; ++face) {
            const EdgeEnd<5> ends[3] = {RandomEnd(random, reach), RandomEnd(random, reach), RandomEnd(random, reach)};
            std::uniform_int_distribution<std::int32_t> window(-reach, reach);
            std::int64_t first = window(random), last = window(random);
            if (face % 4 == 0) first = std::min(first, last);
            PhotoSpans plain, fast;
            plain.Reset(first, last);
            fast.Reset(first, last);
            for (int e = 0; e < 3; ++e) {
                WalkGradientEdge(ends[e], ends[(e + 1) % 3], plain);
                WalkPhotoEdge(ends[e], ends[(e + 1) % 3], fast);
            }
            ExpectSameSpans(plain, fast);
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
}

TEST(PhotoEdgeWalkTest, EdgeCasesRecordTheSameSpans) {
    const std::array<float, 5> v1{1.5f, -2.0f, 0.0f, 128.0f, 255.0f}, v2{300.0f, 700.0f, 255.0f, 3.0f, 77.0f};
    struct Edge {
        ScreenPoint a, b;
    };
    const Edge edges[] = {
        {{5, 5}, {5, 5}},                      // a single point
        {{5, 0}, {5, 40}},                     // vertical
        {{5, 40}, {5, 0}},                     // vertical, drawn upwards
        {{0, 7}, {30, 7}},                     // horizontal
        {{0, 0}, {20, 20}},                    // diagonal: steep by the rule
        {{3, 0}, {4, 50}},                     // two columns, many rows
        {{9, 50}, {2, 1}},                     // steep, from the right
        {{0, 16777200}, {3, 16777230}},        // rows crossing 2^24
        {{0, -16777300}, {2, -16777190}},      // and below -2^24
        {{-100, 3}, {100, -400}},              // starting left of the table
    };
    for (const Edge& edge : edges) {
        PhotoSpans plain, fast;
        plain.Reset(0, 10);
        fast.Reset(0, 10);
        WalkGradientEdge(EdgeEnd<5>{edge.a, v1}, EdgeEnd<5>{edge.b, v2}, plain);
        WalkPhotoEdge(EdgeEnd<5>{edge.a, v1}, EdgeEnd<5>{edge.b, v2}, fast);
        ExpectSameSpans(plain, fast);
    }
}

// The photo filler written the plain way: every channel on its own, every rule through the
// scalar helpers, the plain gradient walk.
void ReferencePhotoTriangle(const RasterTarget& target, const PhotoFace& face, const PixelView& texture, float t,
                            std::int16_t grey) {
    const std::int64_t first = std::max<std::int64_t>({std::min({face.a.x, face.b.x, face.c.x}), target.clip.Left, 0});
    const std::int64_t last = std::min<std::int64_t>(
        {std::max({face.a.x, face.b.x, face.c.x}), target.clip.Right, target.frame.width - 1});
    PhotoSpans spans;
    spans.Reset(first, last);
    if (spans.Empty()) return;
    const auto end = [](const ScreenPoint& p, const TexCoord& tex, const ColourRGB& c) {
        return EdgeEnd<5>{p, {tex.u, tex.v, static_cast<float>(c.red), static_cast<float>(c.green),
                              static_cast<float>(c.blue)}};
    };
    const EdgeEnd<5> a = end(face.a, face.texA, face.colourA), b = end(face.b, face.texB, face.colourB),
                     c = end(face.c, face.texC, face.colourC);
    WalkGradientEdge(a, b, spans);
    WalkGradientEdge(b, c, spans);
    WalkGradientEdge(c, a, spans);
    for (std::int64_t x = first; x <= last; ++x) {
        const ColumnSpan<5>& span = spans.At(x);
        const float h = span.BottomY - span.TopY;
        std::array<float, 5> step{}, value = span.Top;
        for (std::size_t k = 0; k < 5; ++k) step[k] = SafeDivide(span.Bottom[k] - span.Top[k], h);
        float y = span.TopY;
        const float clipTop = static_cast<float>(target.clip.Top);
        if (!(span.TopY >= clipTop)) {
            value[0] += step[0] * std::fabs(clipTop - span.TopY);
            value[1] += step[1] * std::fabs(clipTop - span.TopY);
            y = clipTop;
        }
        const float y1 = span.BottomY > static_cast<float>(target.clip.Bottom) ? static_cast<float>(target.clip.Bottom)
                                                                               : span.BottomY;
        for (; y <= y1; y += 1.0f) {
            WrapTexCoord(texture, value[0], value[1]);
            const std::int32_t row = RoundToInt32(y);
            if (row >= 0 && row < target.frame.height) {
                const std::int32_t k = PlainShade(value[2], value[3], value[4], grey);
                const PixelTriple s = AddToTriple(PixelToTriple(SampleTexel(texture, value[0], value[1])),
                                                  static_cast<std::int16_t>(k));
                std::uint32_t& pixel = target.frame(static_cast<int>(x), row);
                pixel = t == 0.0f ? TripleToPixel(s) : TripleToPixel(Blend(s, PixelToTriple(pixel), t));
            }
            for (std::size_t k = 0; k < 5; ++k) value[k] += step[k];
        }
    }
}

TEST(PhotoTriangleEquivalenceTest, FacesMatchTheReferenceFillerPixelForPixel) {
    std::mt19937 random(7);
    TestSurface texture(37, 23);
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 37; ++x) texture.View()(x, y) = static_cast<std::uint32_t>(random());
    }
    std::uniform_int_distribution<std::int32_t> coordinate(-30, 90);
    std::uniform_real_distribution<float> texel(-100.0f, 140.0f);
    std::uniform_int_distribution<int> channel(0, 255);
    const auto colour = [&] {
        return ColourRGB{static_cast<std::int16_t>(channel(random)), static_cast<std::int16_t>(channel(random)),
                         static_cast<std::int16_t>(channel(random))};
    };
    const float ts[] = {0.0f, 0.0f, 0.25f, 0.5f, 0.8f};
    const ClipRect clips[] = {{0, 63, 0, 47}, {5, 50, 9, 30}, {-4, 80, -6, 60}};
    PhotoSpans spans;
    for (int face = 0; face < 1500; ++face) {
        const PhotoFace f{{coordinate(random), coordinate(random)}, {coordinate(random), coordinate(random)},
                          {coordinate(random), coordinate(random)}, {texel(random), texel(random)},
                          {texel(random), texel(random)}, {texel(random), texel(random)},
                          colour(), colour(), colour()};
        const float t = ts[face % 5];
        const std::int16_t grey = static_cast<std::int16_t>(channel(random));
        const ClipRect clip = clips[face % 3];
        TestSurface expected(64, 48, 0x00336699u), actual(64, 48, 0x00336699u);
        ReferencePhotoTriangle({expected.View(), clip}, f, texture.View(), t, grey);
        PhotoTriangle({actual.View(), clip}, f, texture.View(), t, grey, spans);
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) ASSERT_EQ(expected.At(x, y), actual.At(x, y)) << face << " " << x << "," << y;
        }
        ASSERT_TRUE(actual.GuardsIntact());
    }
}

}  // namespace
}  // namespace maglorin
