#pragma once
// Colour arithmetic shared by every renderer: triples of 16-bit signed channels, so that sums and
// differences may leave 0..255 before they are clamped, and the conversions between colour
// triples, surface pixels (0x00RRGGBB) and the colour values of the drawing services (0x00BBGGRR).
// "round" is to the nearest integer with halves to even; products are single precision. A 16-bit
// channel result beyond the 16-bit range saturates (it cannot happen with channels in 0..255).

#include <cstdint>

#include "raster/rounding.h"
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
// TripleToPixel (AddToTriple (PixelToTriple (pixel), k)) in one step on the three bytes.
std::uint32_t AddToPixelBytes(std::uint32_t pixel, std::int16_t k);
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
// One channel of ClampColour.
std::int16_t ClampedChannel(float value);

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

// Definitions: inline, the fillers call these for every pixel.
namespace colour_detail {

inline std::int16_t ClampChannel(std::int16_t value) {
    if (value >= 256) return 255;
    if (value < 0) return 0;
    return value;
}

// Packs three channels as low + middle * 256 + high * 65536 in 32-bit arithmetic (wrapping, as the
// word it becomes).
inline std::uint32_t Pack(std::int16_t low, std::int16_t middle, std::int16_t high) {
    const std::int64_t value = static_cast<std::int64_t>(low) + static_cast<std::int64_t>(middle) * 256 +
                               static_cast<std::int64_t>(high) * 65536;
    return static_cast<std::uint32_t>(value);
}

}  // namespace colour_detail

inline ColourRGB MakeColour(std::int16_t red, std::int16_t green, std::int16_t blue) { return {red, green, blue}; }

inline ColourRGB ScaleColour(const ColourRGB& c, float factor) {
    return {RoundToInt16(static_cast<float>(c.red) * factor), RoundToInt16(static_cast<float>(c.green) * factor),
            RoundToInt16(static_cast<float>(c.blue) * factor)};
}

inline ColourRGB AddColours(const ColourRGB& a, const ColourRGB& b) {
    return {Channel16(a.red + b.red), Channel16(a.green + b.green), Channel16(a.blue + b.blue)};
}

inline ColourRGB AddToColour(const ColourRGB& c, std::int16_t k) {
    return ClampChannels(ColourRGB{Channel16(c.red + k), Channel16(c.green + k), Channel16(c.blue + k)});
}

inline PixelTriple AddToTriple(const PixelTriple& c, std::int16_t k) {
    return ClampChannels(PixelTriple{Channel16(c.c0 + k), Channel16(c.c1 + k), Channel16(c.c2 + k)});
}

inline std::uint32_t AddToPixelBytes(std::uint32_t pixel, std::int16_t k) {
    const auto add = [k](std::uint32_t byte) -> std::uint32_t {
        const std::int32_t value = static_cast<std::int32_t>(byte) + k;
        return value > 255 ? 255u : (value < 0 ? 0u : static_cast<std::uint32_t>(value));
    };
    return add(pixel & 0xFFu) | (add((pixel >> 8) & 0xFFu) << 8) | (add((pixel >> 16) & 0xFFu) << 16);
}

inline std::int16_t BlendChannel(std::int16_t s, std::int16_t d, float t) {
    const float difference = static_cast<float>(Channel16(d - s));
    const float value = difference * t + static_cast<float>(s);
    return RoundToInt16(value);
}

inline ColourRGB Blend(const ColourRGB& s, const ColourRGB& d, float t) {
    return {BlendChannel(s.red, d.red, t), BlendChannel(s.green, d.green, t), BlendChannel(s.blue, d.blue, t)};
}

inline PixelTriple Blend(const PixelTriple& s, const PixelTriple& d, float t) {
    return {BlendChannel(s.c0, d.c0, t), BlendChannel(s.c1, d.c1, t), BlendChannel(s.c2, d.c2, t)};
}

inline ColourRGB ClampChannels(const ColourRGB& c) {
    return {colour_detail::ClampChannel(c.red), colour_detail::ClampChannel(c.green), colour_detail::ClampChannel(c.blue)};
}

inline PixelTriple ClampChannels(const PixelTriple& c) {
    return {colour_detail::ClampChannel(c.c0), colour_detail::ClampChannel(c.c1), colour_detail::ClampChannel(c.c2)};
}

inline ColourRGB AverageColour(const ColourRGB& a, const ColourRGB& b, const ColourRGB& c) {
    const auto third = [](std::int32_t sum) {
        return RoundToInt16(static_cast<float>(Channel16(sum)) * kOneThird);
    };
    return ClampChannels(ColourRGB{third(a.red + b.red + c.red), third(a.green + b.green + c.green),
                                   third(a.blue + b.blue + c.blue)});
}

inline std::int16_t GreyLevel(const ColourRGB& c) {
    const std::int16_t sum = Channel16(c.red + c.green + c.blue);
    const std::int16_t grey = RoundToInt16(static_cast<float>(sum) * kOneThird);
    return grey >= 256 ? std::int16_t{255} : grey;
}

inline std::int16_t ClampedChannel(float value) {
    if (value > 255.0f) value = 255.0f;
    if (!(value >= 0.0f)) value = 0.0f;
    // 1.5 * 2^23: for a value in 0..255 the float addition rounds to the whole number (halves to
    // even) and the subtraction is exact.
    constexpr float kShift = 12582912.0f;
    return static_cast<std::int16_t>((value + kShift) - kShift);
}

inline ColourRGB ClampColour(float red, float green, float blue) {
    return {ClampedChannel(red), ClampedChannel(green), ClampedChannel(blue)};
}

inline ColourVector ColourToVector(const ColourRGB& c) {
    return {static_cast<float>(c.red), static_cast<float>(c.green), static_cast<float>(c.blue)};
}

inline PixelTriple PixelToTriple(std::uint32_t pixel) {
    return {static_cast<std::int16_t>(pixel & 0xFFu), static_cast<std::int16_t>((pixel & 0xFF00u) / 256u),
            static_cast<std::int16_t>((pixel & 0xFF0000u) / 65536u)};
}

inline std::uint32_t TripleToPixel(const PixelTriple& c) { return colour_detail::Pack(c.c0, c.c1, c.c2); }

inline std::uint32_t ColourToSystem(const ColourRGB& c) { return colour_detail::Pack(c.red, c.green, c.blue); }

inline std::uint32_t ColourToPixel(const ColourRGB& c) { return colour_detail::Pack(c.blue, c.green, c.red); }

inline ColourRGB PixelToColour(std::uint32_t pixel) {
    return {static_cast<std::int16_t>((pixel & 0xFF0000u) / 65536u), static_cast<std::int16_t>((pixel & 0xFF00u) / 256u),
            static_cast<std::int16_t>(pixel & 0xFFu)};
}

inline std::uint32_t SystemToPixel(std::uint32_t systemColour) {
    return ((systemColour & 0xFFu) << 16) | (systemColour & 0xFF00u) | ((systemColour >> 16) & 0xFFu);
}

}  // namespace maglorin
