#include "raster/modColor.h"

#include "raster/rounding.h"

namespace maglorin {

namespace {

std::int16_t ClampChannel(std::int16_t value) {
    if (value >= 256) return 255;
    if (value < 0) return 0;
    return value;
}

// Packs three channels as low + middle * 256 + high * 65536 in 32-bit arithmetic (wrapping, as the
// word it becomes).
std::uint32_t Pack(std::int16_t low, std::int16_t middle, std::int16_t high) {
    const std::int64_t value = static_cast<std::int64_t>(low) + static_cast<std::int64_t>(middle) * 256 +
                               static_cast<std::int64_t>(high) * 65536;
    return static_cast<std::uint32_t>(value);
}

}  // namespace

ColourRGB MakeColour(std::int16_t red, std::int16_t green, std::int16_t blue) { return {red, green, blue}; }

ColourRGB ScaleColour(const ColourRGB& c, float factor) {
    return {RoundToInt16(static_cast<float>(c.red) * factor), RoundToInt16(static_cast<float>(c.green) * factor),
            RoundToInt16(static_cast<float>(c.blue) * factor)};
}

ColourRGB AddColours(const ColourRGB& a, const ColourRGB& b) {
    return {Channel16(a.red + b.red), Channel16(a.green + b.green), Channel16(a.blue + b.blue)};
}

ColourRGB AddToColour(const ColourRGB& c, std::int16_t k) {
    return ClampChannels(ColourRGB{Channel16(c.red + k), Channel16(c.green + k), Channel16(c.blue + k)});
}

PixelTriple AddToTriple(const PixelTriple& c, std::int16_t k) {
    return ClampChannels(PixelTriple{Channel16(c.c0 + k), Channel16(c.c1 + k), Channel16(c.c2 + k)});
}

std::int16_t BlendChannel(std::int16_t s, std::int16_t d, float t) {
    const float difference = static_cast<float>(Channel16(d - s));
    const float value = difference * t + static_cast<float>(s);
    return RoundToInt16(value);
}

ColourRGB Blend(const ColourRGB& s, const ColourRGB& d, float t) {
    return {BlendChannel(s.red, d.red, t), BlendChannel(s.green, d.green, t), BlendChannel(s.blue, d.blue, t)};
}

PixelTriple Blend(const PixelTriple& s, const PixelTriple& d, float t) {
    return {BlendChannel(s.c0, d.c0, t), BlendChannel(s.c1, d.c1, t), BlendChannel(s.c2, d.c2, t)};
}

ColourRGB ClampChannels(const ColourRGB& c) {
    return {ClampChannel(c.red), ClampChannel(c.green), ClampChannel(c.blue)};
}

PixelTriple ClampChannels(const PixelTriple& c) {
    return {ClampChannel(c.c0), ClampChannel(c.c1), ClampChannel(c.c2)};
}

ColourRGB AverageColour(const ColourRGB& a, const ColourRGB& b, const ColourRGB& c) {
    const auto third = [](std::int32_t sum) {
        return RoundToInt16(static_cast<float>(Channel16(sum)) * kOneThird);
    };
    return ClampChannels(ColourRGB{third(a.red + b.red + c.red), third(a.green + b.green + c.green),
                                   third(a.blue + b.blue + c.blue)});
}

std::int16_t GreyLevel(const ColourRGB& c) {
    const std::int16_t sum = Channel16(c.red + c.green + c.blue);
    const std::int16_t grey = RoundToInt16(static_cast<float>(sum) * kOneThird);
    return grey >= 256 ? std::int16_t{255} : grey;
}

ColourRGB ClampColour(float red, float green, float blue) {
    const auto limit = [](float value) {
        if (value > 255.0f) value = 255.0f;
        if (!(value >= 0.0f)) value = 0.0f;
        return RoundToInt16(value);
    };
    return {limit(red), limit(green), limit(blue)};
}

ColourVector ColourToVector(const ColourRGB& c) {
    return {static_cast<float>(c.red), static_cast<float>(c.green), static_cast<float>(c.blue)};
}

PixelTriple PixelToTriple(std::uint32_t pixel) {
    return {static_cast<std::int16_t>(pixel & 0xFFu), static_cast<std::int16_t>((pixel & 0xFF00u) / 256u),
            static_cast<std::int16_t>((pixel & 0xFF0000u) / 65536u)};
}

std::uint32_t TripleToPixel(const PixelTriple& c) { return Pack(c.c0, c.c1, c.c2); }

std::uint32_t ColourToSystem(const ColourRGB& c) { return Pack(c.red, c.green, c.blue); }

std::uint32_t ColourToPixel(const ColourRGB& c) { return Pack(c.blue, c.green, c.red); }

ColourRGB PixelToColour(std::uint32_t pixel) {
    return {static_cast<std::int16_t>((pixel & 0xFF0000u) / 65536u), static_cast<std::int16_t>((pixel & 0xFF00u) / 256u),
            static_cast<std::int16_t>(pixel & 0xFFu)};
}

std::uint32_t SystemToPixel(std::uint32_t systemColour) {
    return ((systemColour & 0xFFu) << 16) | (systemColour & 0xFF00u) | ((systemColour >> 16) & 0xFFu);
}

}  // namespace maglorin
