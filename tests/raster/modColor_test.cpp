#include "raster/modColor.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "raster/rounding.h"

namespace maglorin {
namespace {

TEST(RoundingTest, HalvesGoToEvenAndTruncationDropsTheFraction) {
    struct Case {
        double value;
        std::int32_t rounded;
        std::int32_t truncated;
    };
    const Case cases[] = {{0.5, 0, 0},   {1.5, 2, 1},    {2.5, 2, 2},     {-0.5, 0, 0},  {-1.5, -2, -1},
                          {-2.5, -2, -2}, {2.4999, 2, 2}, {-2.5001, -3, -2}, {257.5, 258, 257}, {7.0, 7, 7}};
    for (const Case& c : cases) {
        EXPECT_EQ(RoundToInt32(c.value), c.rounded) << c.value;
        EXPECT_EQ(TruncateToInt32(c.value), c.truncated) << c.value;
    }
}

TEST(RoundingTest, LargeValuesRoundTheSameWay) {
    EXPECT_EQ(RoundHalfEven(2251799813685248.5), 2251799813685248.0);  // 2^51 + 0.5: to even
    EXPECT_EQ(RoundHalfEven(2251799813685249.5), 2251799813685250.0);
    EXPECT_EQ(RoundHalfEven(-4503599627370497.0), -4503599627370497.0);
    EXPECT_EQ(RoundHalfEven(1e300), 1e300);
    EXPECT_EQ(RoundHalfEven(-0.25), 0.0);
    EXPECT_EQ(RoundHalfEven(8388608.5), 8388608.0);
    EXPECT_EQ(RoundHalfEven(8388609.5), 8388610.0);
}

TEST(RoundingTest, WildValuesSaturateInsteadOfOverflowing) {
    EXPECT_EQ(RoundToInt32(1e30), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundToInt32(-1e30), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(RoundToInt32(std::nan("")), 0);
    EXPECT_EQ(RoundToInt16(40000.0), 32767);
    EXPECT_EQ(Channel16(-40000), -32768);
}

TEST(ColourTest, BlendRoundsHalvesToEven) {
    EXPECT_EQ(BlendChannel(1, 2, 0.5f), 2);  // 1.5
    EXPECT_EQ(BlendChannel(2, 3, 0.5f), 2);  // 2.5
    EXPECT_EQ(BlendChannel(200, 0, 0.0f), 200);
    EXPECT_EQ(BlendChannel(200, 17, 1.0f), 17);
    // A face of (200, 0, 0) at t = 0.5 over black and over pure blue.
    const ColourRGB face{200, 0, 0};
    const ColourRGB overBlack = Blend(face, PixelToColour(0x00000000u), 0.5f);
    EXPECT_EQ(ColourToPixel(overBlack), 0x00640000u);
    const ColourRGB overBlue = Blend(face, PixelToColour(0x000000FFu), 0.5f);
    EXPECT_EQ(overBlue.red, 100);
    EXPECT_EQ(overBlue.green, 0);
    EXPECT_EQ(overBlue.blue, 128);
}

TEST(ColourTest, ConversionsKeepTheirByteOrders) {
    const ColourRGB c = PixelToColour(0x00102030u);
    EXPECT_EQ(c.red, 0x10);
    EXPECT_EQ(c.green, 0x20);
    EXPECT_EQ(c.blue, 0x30);
    EXPECT_EQ(ColourToPixel(c), 0x00102030u);
    EXPECT_EQ(ColourToSystem(c), 0x00302010u);
    EXPECT_EQ(SystemToPixel(0x00302010u), 0x00102030u);
    const PixelTriple t = PixelToTriple(0x00102030u);
    EXPECT_EQ(t.c0, 0x30);
    EXPECT_EQ(t.c1, 0x20);
    EXPECT_EQ(t.c2, 0x10);
    EXPECT_EQ(TripleToPixel(t), 0x00102030u);
    const ColourVector v = ColourToVector(c);
    EXPECT_EQ(v.red, 16.0f);
    EXPECT_EQ(v.blue, 48.0f);
}

TEST(ColourTest, AverageAndGreyUseTheSinglePrecisionThird) {
    const ColourRGB white{255, 255, 255};
    EXPECT_EQ(AverageColour(white, white, white).red, 255);  // 765 * 0.3333333 = 254.99997
    EXPECT_EQ(AverageColour({1, 2, 3}, {0, 0, 0}, {0, 0, 0}).red, 0);
    EXPECT_EQ(AverageColour({1, 2, 3}, {0, 0, 0}, {0, 0, 0}).green, 1);
    EXPECT_EQ(AverageColour({1, 2, 3}, {0, 0, 0}, {0, 0, 0}).blue, 1);  // 3 * 0.3333333 = 0.9999999
    EXPECT_EQ(GreyLevel(white), 255);
    EXPECT_EQ(GreyLevel({300, 300, 300}), 255);
    EXPECT_EQ(GreyLevel({-30, 0, 0}), -10);  // no lower bound
    EXPECT_EQ(GreyLevel({100, 101, 103}), 101);
}

TEST(ColourTest, ClampsAndOffsets) {
    const ColourRGB c = ClampColour(300.0f, -5.0f, std::nanf(""));
    EXPECT_EQ(c.red, 255);
    EXPECT_EQ(c.green, 0);
    EXPECT_EQ(c.blue, 0);
    const ColourRGB halves = ClampColour(2.5f, 3.5f, 254.5f);
    EXPECT_EQ(halves.red, 2);
    EXPECT_EQ(halves.green, 4);
    EXPECT_EQ(halves.blue, 254);
    const ColourRGB up = AddToColour({250, 10, 100}, 10);
    EXPECT_EQ(up.red, 255);
    EXPECT_EQ(up.green, 20);
    EXPECT_EQ(up.blue, 110);
    const ColourRGB down = AddToColour({250, 10, 100}, -300);
    EXPECT_EQ(down.red, 0);
    EXPECT_EQ(down.blue, 0);
    const ColourRGB clamped = ClampChannels(ColourRGB{256, -1, 255});
    EXPECT_EQ(clamped.red, 255);
    EXPECT_EQ(clamped.green, 0);
    EXPECT_EQ(clamped.blue, 255);
    EXPECT_EQ(ScaleColour({130, 130, 130}, 2.0f).red, 260);
    EXPECT_EQ(ScaleColour({3, 5, 7}, 0.5f).red, 2);  // 1.5
    EXPECT_EQ(ScaleColour({3, 5, 7}, 0.5f).green, 2);  // 2.5
    // Sums beyond 16 bits saturate rather than overflow.
    EXPECT_EQ(AddColours({32767, 0, 0}, {1, 0, 0}).red, 32767);
}

TEST(ColourTest, SafeDivideReplacesAZeroDivisor) {
    EXPECT_NEAR(SafeDivide(1.0f, 0.0f), 1000000.0f, 1.0f);
    EXPECT_EQ(SafeDivide(0.0f, 0.0f), 0.0f);
    EXPECT_EQ(SafeDivide(6.0f, 3.0f), 2.0f);
    EXPECT_EQ(SafeDivide(-4.0f, 0.0f), -4.0f / 0.000001f);
}

}  // namespace
}  // namespace maglorin

namespace maglorin {
namespace {

TEST(ColourTest, AddToPixelBytesIsTheTripleRoundTrip) {
    const std::uint32_t pixels[] = {0x00000000u, 0x00FFFFFFu, 0x00F01020u, 0xAB7F8081u, 0x00010203u};
    const std::int16_t shades[] = {-32768, -300, -128, -1, 0, 1, 40, 127, 255, 256, 32767};
    for (std::uint32_t pixel : pixels) {
        for (std::int16_t k : shades) {
            EXPECT_EQ(AddToPixelBytes(pixel, k), TripleToPixel(AddToTriple(PixelToTriple(pixel), k)))
                << std::hex << pixel << " " << std::dec << k;
        }
    }
}

}  // namespace
}  // namespace maglorin
