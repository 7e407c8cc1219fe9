#pragma once
// Colour arithmetic shared by every renderer: triples of 16-bit signed channels, so that sums and
// differences may leave 0..255 before they are clamped, and the conversions between colour
// triples, surface pixels (0x00RRGGBB) and the colour values of the drawing services (0x00BBGGRR).
// "round" is to the nearest integer with halves to even; products are single precision. A 16-bit
// channel result beyond the 16-bit range saturates (it cannot happen with channels in 0..255).

#include <cstdint>

#include "scene/scene_records.h"

namespace maglorin {

// The low, middle and high byte of a surface pixel, in that order. For 0x00RRGGBB that is
// (blue, green, red): texture and photo fillers work on these so bytes go back where they came from.
struct PixelTriple {
    std::int16_t c0 = 0;
    std::int16_t c1 = 0;
    std::int16_t c2 = 0;
};

// Not an exact third: three channels of 255 still give 255.
inline constexpr float kOneThird = 0.3333333f;
// What SafeDivide divides by instead of 0 (the single-precision value nearest 1e-6).
inline constexpr float kSafeDivisor = 0.000001f;

// a / b in single precision, b = 0 replaced by 0.000001.
inline float SafeDivide(float a, float b) { return a / (b == 0.0f ? kSafeDivisor : b); }

ColourRGB MakeColour(std::int16_t red, std::int16_t green, std::int16_t blue);
ColourRGB ScaleColour(const ColourRGB& c, float factor);
ColourRGB AddColours(const ColourRGB& a, const ColourRGB& b);
// Adds k to each channel, then clamps to 0..255.
ColourRGB AddToColour(const ColourRGB& c, std::int16_t k);
PixelTriple AddToTriple(const PixelTriple& c, std::int16_t k);
// Each channel round((d - s) * t + s): t = 0 gives s, t = 1 gives d.
ColourRGB Blend(const ColourRGB& s, const ColourRGB& d, float t);
PixelTriple Blend(const PixelTriple& s, const PixelTriple& d, float t);
std::int16_t BlendChannel(std::int16_t s, std::int16_t d, float t);
// Each channel >= 256 becomes 255, < 0 becomes 0.
ColourRGB ClampChannels(const ColourRGB& c);
PixelTriple ClampChannels(const PixelTriple& c);
// Each channel round((a + b + c) * 0.3333333), then clamped.
ColourRGB AverageColour(const ColourRGB& a, const ColourRGB& b, const ColourRGB& c);
// round((red + green + blue) * 0.3333333), at most 255 (no lower bound).
std::int16_t GreyLevel(const ColourRGB& c);
// Each value > 255 becomes 255, a value not >= 0 (NaN included) becomes 0, then rounded.
ColourRGB ClampColour(float red, float green, float blue);

struct ColourVector {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
};
ColourVector ColourToVector(const ColourRGB& c);

PixelTriple PixelToTriple(std::uint32_t pixel);
std::uint32_t TripleToPixel(const PixelTriple& c);
// red + green * 256 + blue * 65536: the drawing services' 0x00BBGGRR.
std::uint32_t ColourToSystem(const ColourRGB& c);
// blue + green * 256 + red * 65536: a surface pixel.
std::uint32_t ColourToPixel(const ColourRGB& c);
ColourRGB PixelToColour(std::uint32_t pixel);
// 0x00BBGGRR to the surface's 0x00RRGGBB (the services draw on the surface with it).
std::uint32_t SystemToPixel(std::uint32_t systemColour);

}  // namespace maglorin
